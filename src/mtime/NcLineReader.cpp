// Lines of an NC file through a fixed buffer: the estimator's memory does not depend on the file.
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mtime/MachiningTime.h"

namespace talvorin {

bool NcLineReader::Fill() {
  begin_ = end_ = 0;
  if (eof_ || failed_) return false;
  ssize_t n;
  do {
    n = read(fd_, buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    failed_ = true;
    return false;
  }
  if (n == 0) {
    eof_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(n);
  bytesRead_ += static_cast<std::uint64_t>(n);
  return true;
}

bool NcLineReader::Next(std::string_view& line) {
  line_.clear();
  bool any = false;  // a byte of this line was seen
  bool cut = false;  // the line was longer than kMaxNcLine
  bool direct = false;
  for (;;) {
    if (begin_ == end_ && !Fill()) {
      if (failed_ || !any) return false;
      break;  // the last line of a file without a final line end
    }
    any = true;
    const char* p = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const char* newline = static_cast<const char*>(std::memchr(p, '\n', available));
    const std::size_t length = newline ? static_cast<std::size_t>(newline - p) : available;
    if (newline && line_.empty() && !cut) {
      // The whole line lies in the buffer: no copy.
      direct = true;
      if (length > kMaxNcLine) cut = true;
      line = std::string_view(p, cut ? kMaxNcLine : length);
      begin_ += length + 1;
      break;
    }
    const std::size_t room = kMaxNcLine - line_.size();
    if (length > room) cut = true;
    line_.append(p, length < room ? length : room);
    begin_ += length;
    if (newline) {
      ++begin_;
      break;
    }
  }
  if (!direct) line = line_;
  if (cut) {
    ++longLines_;
  } else if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return true;
}

}  // namespace talvorin
