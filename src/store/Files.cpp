#include "store/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <string_view>

#include "store/Profile.h"

namespace talvorin {

bool ReadAllFrom(int fd, std::string& out) {
  out.clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ReadAllFrom(fd, out);
  close(fd);
  return ok;
}

namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

mode_t NewFileMode() {
  mode_t mask = umask(022);
  umask(mask);
  return 0666 & ~mask;
}

// Gives the new file the old one's owner and group, as an in-place write would have kept them. Best
// effort: where this process may not, it keeps at least the group, or else the file belongs to the
// writer from now on (with the old permissions all the same). False when nothing could be kept.
bool KeepOwner(int fd, const struct stat& old) {
  if (old.st_uid == geteuid() && old.st_gid == getegid()) return true;
  if (fchown(fd, old.st_uid, old.st_gid) == 0) return true;
  return fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// A temporary file of a replacement: ".<name>.XXXXXX" as mkostemp completes it.
bool IsReplacementTemporary(std::string_view name) {
  if (name.size() < 9 || name[0] != '.' || name[name.size() - 7] != '.') return false;
  for (char c : name.substr(name.size() - 6))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

// Removes the temporary files that a killed run left in `folder`: those not written to for a minute
// (a replacement being written now is younger). A folder is looked through at most once a minute.
void RemoveStaleTemporaries(const std::string& folder) {
  static std::mutex mutex;
  static std::map<std::string, time_t> cleaned;
  const time_t now = time(nullptr);
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto [it, first] = cleaned.emplace(folder, now);
    if (!first && now - it->second < 60) return;
    it->second = now;
  }
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (struct dirent* e = readdir(dir)) {
    if (!IsReplacementTemporary(e->d_name)) continue;
    struct stat st;
    if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (now - st.st_mtim.tv_sec > 60) unlinkat(dirfd(dir), e->d_name, 0);
  }
  closedir(dir);
}

}  // namespace

bool ReplaceWholeFile(const std::string& file, std::string_view bytes, struct stat* written) {
  // A symbolic link is kept: its target is replaced.
  std::string target = file;
  struct stat lst;
  if (lstat(file.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    char* real = realpath(file.c_str(), nullptr);
    if (!real) return false;
    target = real;
    std::free(real);
  }
  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  // The rename would replace a file that may not be written (read-only, another user's): refuse it
  // as writing the file itself would be refused.
  if (exists && !S_ISREG(old.st_mode)) return false;
  if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();

  RemoveStaleTemporaries(folder);
  std::string temp = folder + "/." + base + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  if (exists) KeepOwner(fd, old);  // before fchmod: a change of owner clears set-id bits
  bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  if (ok && written) ok = fstat(fd, written) == 0;
  ok = (close(fd) == 0) && ok;
  ForgetCachedProfile(file);
  if (!ok || rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  // The rename itself must survive a crash too.
  int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return true;
}

ReplacementFile::~ReplacementFile() {
  Discard();
}

bool ReplacementFile::Open(const std::string& path) {
  Discard();
  struct stat old;
  // A symbolic link in the file's place is replaced itself, never written through: what it points
  // at stays as it is.
  const bool exists = lstat(path.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  // Refused as opening the file itself for writing would refuse it: a folder, a read-only file.
  if (exists && (S_ISDIR(old.st_mode) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0))
    return false;
  std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return false;
  RemoveStaleTemporaries(folder);
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

void ReplacementFile::SetMode(unsigned mode) {
  mode_ = mode & 0777;
}

void ReplacementFile::Write(std::string_view bytes) {
  if (fd_ < 0) return;
  buffer_ += bytes;
  if (buffer_.size() >= (1u << 16)) Flush();
}

void ReplacementFile::Flush() {
  if (!failed_ && !WriteAll(fd_, buffer_)) failed_ = true;
  buffer_.clear();
}

bool ReplacementFile::Commit() {
  if (fd_ < 0) return false;
  Flush();
  bool ok = !failed_ && fchmod(fd_, static_cast<mode_t>(mode_)) == 0 && fsync(fd_) == 0;
  ok = close(fd_) == 0 && ok;
  fd_ = -1;
  ForgetCachedProfile(target_);
  if (!ok || rename(temp_.c_str(), target_.c_str()) != 0) {
    unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void ReplacementFile::Discard() {
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
