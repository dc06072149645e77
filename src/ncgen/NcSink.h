// Where an NC program goes: the generator writes it line by line to a sink. The file sink encodes CP932
// and ends every line with CR LF; the string sink keeps the same text in UTF-8 for tests.
#pragma once

#include <string>
#include <string_view>

#include "store/Files.h"

namespace talvorin {

class NcSink {
 public:
  virtual ~NcSink() = default;
  // One line of UTF-8 text without its line end; the sink adds CR LF.
  virtual void Line(std::string_view utf8) = 0;
};

// The program as the file holds it, decoded to UTF-8: every line ends in "\r\n".
class NcStringSink : public NcSink {
 public:
  std::string text;
  void Line(std::string_view utf8) override;
};

// An NC file written anew. The lines go to a temporary file beside the target; Commit() flushes it to
// disk and renames it over the target, so the target is either the earlier program or the complete new
// one, never a part of one. An NcFile destroyed without a successful Commit() removes its temporary
// file and leaves the target as it was.
class NcFile : public NcSink {
 public:
  NcFile() = default;
  ~NcFile() override;
  NcFile(const NcFile&) = delete;
  NcFile& operator=(const NcFile&) = delete;

  // Creates the temporary file for `path`. False when the folder does not exist or cannot be written,
  // or when `path` is a folder or an existing file that may not be written.
  bool Open(const std::string& path);
  // Flushes, closes and renames. False when a write or the rename failed (the temporary file is then
  // removed and the target left as it was).
  bool Commit();
  // Removes the temporary file without touching the target.
  void Discard();

  void Line(std::string_view utf8) override;

 private:
  ReplacementFile file_;
};

}  // namespace talvorin
