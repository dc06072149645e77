#include "ncgen/NcSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/Cp932.h"

namespace talvorin {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

mode_t NewFileMode() {
  mode_t mask = umask(022);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void NcStringSink::Line(std::string_view utf8) {
  text += utf8;
  text += "\r\n";
}

NcFile::~NcFile() {
  Discard();
}

bool NcFile::Open(const std::string& path) {
  Discard();
  struct stat old;
  const bool exists = stat(path.c_str(), &old) == 0;
  // Refused as opening the file itself for writing would refuse it: a folder, a read-only file.
  if (exists && (S_ISDIR(old.st_mode) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0))
    return false;
  std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return false;
  std::string temp = folder + "/." + base + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  fd_ = fd;
  temp_ = temp;
  target_ = path;
  mode_ = exists ? (old.st_mode & 0777) : NewFileMode();
  failed_ = false;
  buffer_.clear();
  return true;
}

void NcFile::Flush() {
  std::string_view data = buffer_;
  while (!data.empty() && !failed_) {
    ssize_t n = write(fd_, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      break;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  buffer_.clear();
}

void NcFile::Line(std::string_view utf8) {
  if (fd_ < 0) return;
  if (IsAscii(utf8))
    buffer_ += utf8;
  else
    buffer_ += Utf8ToCp932Lossy(utf8);  // text read from CP932 files always encodes; U+FFFD becomes "?"
  buffer_ += "\r\n";
  if (buffer_.size() >= kFlushSize) Flush();
}

bool NcFile::Commit() {
  if (fd_ < 0) return false;
  Flush();
  bool ok = !failed_ && fchmod(fd_, static_cast<mode_t>(mode_)) == 0 && fsync(fd_) == 0;
  ok = close(fd_) == 0 && ok;
  fd_ = -1;
  if (!ok || rename(temp_.c_str(), target_.c_str()) != 0) {
    unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void NcFile::Discard() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    unlink(temp_.c_str());
    temp_.clear();
  }
  buffer_.clear();
}

}  // namespace talvorin
