#include "lindrel/CurveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "store/Numbers.h"

namespace talvorin {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

CurveLine ParseCurveLine(std::string_view line) {
  std::string_view fields[7];
  std::size_t pos = 0;
  bool seventh = false;  // six fields matched and the comma after the sixth
  for (int i = 0; i < 6; ++i) {
    std::size_t comma = line.find(',', pos);
    std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    if (end == pos) break;  // an empty field does not match
    fields[i] = line.substr(pos, end - pos);
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
    seventh = i == 5;
  }
  if (seventh) {
    while (pos < line.size() && IsBlank(line[pos]))
      ++pos;
    std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
      ++pos;
    fields[6] = line.substr(start, pos - start);
  }
  CurveLine c;
  c.type = std::string(fields[0]);
  c.x = AtoF(fields[1]);
  c.y = AtoF(fields[2]);
  c.z = AtoF(fields[3]);
  c.cx = AtoF(fields[4]);
  c.cy = AtoF(fields[5]);
  c.value = AtoF(fields[6]);
  return c;
}

namespace {

// Only a regular file is a curve file: a folder opens but reads as empty (an empty drawing reported as
// made), a FIFO or a device blocks or never ends.
std::FILE* OpenRegularFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

}  // namespace

CurveReader::CurveReader(const std::string& path) : file_(OpenRegularFile(path), std::fclose) {
  buffer_.resize(1 << 16);
}

bool CurveReader::Fill() {
  pos_ = 0;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  return end_ > 0;
}

bool CurveReader::Next(std::string& line) {
  line.clear();
  if (!file_) return false;
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    any = true;
    const char* start = buffer_.data() + pos_;
    const void* nl = std::memchr(start, '\n', end_ - pos_);
    std::size_t n = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : end_ - pos_;
    if (line.size() < kCurveLineLimit + 1) line.append(start, std::min(n, kCurveLineLimit + 1 - line.size()));
    pos_ += n;
    if (nl) {
      ++pos_;
      break;
    }
  }
  if (!any) return false;
  // One byte beyond the limit was kept so that a CR that ends a line at the limit is still recognised.
  if (line.size() > kCurveLineLimit)
    line.resize(kCurveLineLimit);
  else if (!line.empty() && line.back() == '\r')
    line.pop_back();
  std::size_t nul = line.find('\0');
  if (nul != std::string::npos) line.resize(nul);
  return true;
}

}  // namespace talvorin
