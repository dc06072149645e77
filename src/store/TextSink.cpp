#include "store/TextSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/Cp932.h"

namespace talvorin {

void StringSink::Line(std::string_view utf8) {
  text += utf8;
  text += lineEnd_;
}

void StringSink::Text(std::string_view utf8) {
  text += utf8;
}

void StringSink::Raw(std::string_view cp932) {
  text += Cp932ToUtf8(cp932);
}

TextFile::~TextFile() {
  Discard();
}

bool TextFile::Replace(const std::string& path) {
  Discard();
  return replacement_.Open(path);
}

bool TextFile::CreatePrivate(const std::string& path) {
  Discard();
  // A leftover of an earlier run (or anything put in its place) goes first; the exclusive creation
  // then fails rather than follow a link or write into a file someone else prepared.
  unlink(path.c_str());
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd_ < 0) return false;
  path_ = path;
  failed_ = false;
  buffer_.clear();
  return true;
}

bool TextFile::IsOpen() const {
  return fd_ >= 0 || replacement_.IsOpen();
}

void TextFile::Line(std::string_view utf8) {
  Text(utf8);
  Raw(format_.lineEnd);
}

void TextFile::Text(std::string_view utf8) {
  if (format_.encoding == TextEncoding::kUtf8)
    Raw(utf8);
  else
    Raw(Utf8ToCp932Lossy(utf8));
}

void TextFile::Raw(std::string_view encoded) {
  if (fd_ < 0) {
    replacement_.Write(encoded);  // ignored when not open
    return;
  }
  buffer_ += encoded;
}

bool TextFile::Commit() {
  if (fd_ < 0) return replacement_.Commit();
  std::string_view rest = buffer_;
  while (!failed_ && !rest.empty()) {
    ssize_t n = write(fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      failed_ = true;
    else
      rest.remove_prefix(static_cast<std::size_t>(n));
  }
  buffer_.clear();
  bool ok = !failed_;
  ok = close(fd_) == 0 && ok;
  fd_ = -1;
  if (!ok) unlink(path_.c_str());
  path_.clear();
  return ok;
}

void TextFile::Discard() {
  replacement_.Discard();
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
    unlink(path_.c_str());
  }
  path_.clear();
  buffer_.clear();
}

}  // namespace talvorin
