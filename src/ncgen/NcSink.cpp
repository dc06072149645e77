#include "ncgen/NcSink.h"

#include "store/Cp932.h"

namespace talvorin {
void NcStringSink::Line(std::string_view utf8) {
  text += utf8;
  text += "\r\n";
}

NcFile::~NcFile() = default;

bool NcFile::Open(const std::string& path) {
  return file_.Open(path);
}

bool NcFile::Commit() {
  return file_.Commit();
}

void NcFile::Discard() {
  file_.Discard();
}

void NcFile::Line(std::string_view utf8) {
  if (!file_.IsOpen()) return;
  // Text read from CP932 files always encodes; U+FFFD becomes "?".
  file_.Write(Utf8ToCp932Lossy(utf8));
  file_.Write("\r\n");
}

}  // namespace talvorin
