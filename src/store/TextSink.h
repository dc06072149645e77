// Where generated text goes: the NC program, the drawings, the TRYCUT files, the process sheet and the
// transfer files are written line by line to a text sink. The file sink encodes the text (CP932 as
// every file the system creates) and ends each line as its format needs; the string sink keeps the
// same text in UTF-8, line ends included, for tests. Nothing else changes between the two.
#pragma once

#include <string>
#include <string_view>

#include "store/Files.h"

namespace talvorin {

class TextSink {
 public:
  virtual ~TextSink() = default;
  // One line of UTF-8 text without its line end; the sink adds its line end.
  virtual void Line(std::string_view utf8) = 0;
  // UTF-8 text without a line end (a line continued by the next Line call).
  virtual void Text(std::string_view utf8) = 0;
  // Bytes already in the file's encoding and with their own line ends, written unchanged.
  virtual void Raw(std::string_view encoded) = 0;
};

// The text as the file holds it, decoded to UTF-8, with the file's line ends.
class StringSink : public TextSink {
 public:
  explicit StringSink(std::string_view lineEnd = "\r\n") : lineEnd_(lineEnd) {}
  std::string text;

  void Line(std::string_view utf8) override;
  void Text(std::string_view utf8) override;
  // CP932 bytes, decoded.
  void Raw(std::string_view cp932) override;

 private:
  std::string lineEnd_;
};

enum class TextEncoding {
  kCp932,  // every file the system creates; a character without a CP932 form becomes "?"
  kUtf8,   // text handed on unchanged
};

struct TextFormat {
  TextEncoding encoding = TextEncoding::kCp932;
  std::string_view lineEnd = "\r\n";  // "\r\n" for NC, DXF and TRYCUT files, "\n" for the sheet
};

// A text file written anew. Replace(): the text goes to a temporary file beside the target and
// Commit() flushes it to disk and renames it over the target, so the target is always the earlier file
// or the complete new one; the replaced file's permissions are kept. CreatePrivate(): a new file that
// only its owner may read or write (mode 0600), created exclusively so that nobody can have prepared
// it or a link in its place; a file of that name left over from before is removed first. Destroyed
// without a successful Commit(), the sink removes what it created and leaves the target as it was.
class TextFile : public TextSink {
 public:
  explicit TextFile(TextFormat format = {}) : format_(format) {}
  ~TextFile() override;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // False when the folder does not exist or cannot be written, or `path` is a folder or an existing
  // file that may not be written.
  bool Replace(const std::string& path);
  // False when the file cannot be created.
  bool CreatePrivate(const std::string& path);
  bool IsOpen() const;
  // Flushes and closes (and renames). False when the file was not open, a write failed or the rename
  // failed; what was created is then removed and the target left as it was.
  bool Commit();
  // Removes what was created without touching the target.
  void Discard();

  void Line(std::string_view utf8) override;
  void Text(std::string_view utf8) override;
  void Raw(std::string_view encoded) override;

 private:
  TextFormat format_;
  ReplacementFile replacement_;
  // The private file, written directly.
  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
  std::string buffer_;
};

}  // namespace talvorin
