#include "dxf/DxfSink.h"

#include "store/Cp932.h"

namespace talvorin {
void StringSink::Line(std::string_view utf8) {
  text += utf8;
  text += "\r\n";
}

void StringSink::Raw(std::string_view cp932) {
  text += Cp932ToUtf8(cp932);
}

DxfFile::~DxfFile() = default;

bool DxfFile::Open(const std::string& path) {
  return file_.Open(path);
}

bool DxfFile::Commit() {
  return file_.Commit();
}

void DxfFile::Discard() {
  file_.Discard();
}

void DxfFile::Line(std::string_view utf8) {
  if (!file_.IsOpen()) return;
  // Text read from CP932 files always encodes; U+FFFD becomes "?".
  file_.Write(Utf8ToCp932Lossy(utf8));
  file_.Write("\r\n");
}

void DxfFile::Raw(std::string_view cp932) {
  file_.Write(cp932);
}

}  // namespace talvorin
