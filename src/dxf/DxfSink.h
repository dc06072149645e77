// Where a drawing goes: the DXF writers write line by line to a sink. The file sink encodes CP932 and
// ends every line with CR LF; the string sink keeps the same text in UTF-8 for tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/Files.h"

namespace talvorin {

class TextSink {
 public:
  virtual ~TextSink() = default;
  // One line of UTF-8 text without its line end; the sink adds CR LF.
  virtual void Line(std::string_view utf8) = 0;
  // Bytes already in the file's encoding (CP932) and with their own line ends, written unchanged.
  virtual void Raw(std::string_view cp932) = 0;
};

// The file's content decoded to UTF-8: every line ends in "\r\n" exactly as in the file.
class StringSink : public TextSink {
 public:
  std::string text;

  void Line(std::string_view utf8) override;
  void Raw(std::string_view cp932) override;
};

// A drawing file written anew. The content goes to a temporary file beside the target; Commit()
// flushes it to disk and renames it over the target, so the target is either the earlier file or the
// complete new drawing, never a part of one. A DxfFile destroyed without a successful Commit()
// removes its temporary file and leaves the target as it was.
class DxfFile : public TextSink {
 public:
  DxfFile() = default;
  ~DxfFile() override;
  DxfFile(const DxfFile&) = delete;
  DxfFile& operator=(const DxfFile&) = delete;

  // Creates the temporary file for `path`. False when its folder does not exist or cannot be
  // written, or when `path` is an existing file that may not be written or a folder.
  bool Open(const std::string& path);
  // Flushes, closes and renames. False when any write failed or the rename failed (the temporary
  // file is then removed).
  bool Commit();
  // Removes the temporary file without touching the target.
  void Discard();

  void Line(std::string_view utf8) override;
  void Raw(std::string_view cp932) override;

 private:
  ReplacementFile file_;
};

}  // namespace talvorin
