#include "store/Profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "store/Cp932.h"
#include "store/Files.h"
#include "store/ProfileParse.h"

namespace talvorin {
namespace {

// A parsed file and the identity it was parsed from. Any change of device, inode, size or
// modification time (ns) makes the next access parse the file again.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t mtimeNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size,
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct CacheEntry {
  FileIdentity identity;
  std::shared_ptr<const ParsedProfile> profile;
};

std::mutex cacheMutex;
std::unordered_map<std::string, CacheEntry> cache;

// The open operation of this thread: the files checked against the disk in it, with the identity
// they had then (absent files with none).
struct OperationState {
  int depth = 0;
  std::unordered_map<std::string, std::optional<FileIdentity>> checked;
};
thread_local OperationState operation;

enum class LoadResult { Ok, Absent, Unreadable };

// The profile of an absent or unreadable file.
std::shared_ptr<const ParsedProfile> EmptyProfile() {
  static const auto empty = std::make_shared<const ParsedProfile>();
  return empty;
}

// The cached parse of `file` when it still has `identity`.
std::shared_ptr<const ParsedProfile> Cached(const std::string& file, const FileIdentity& identity) {
  std::lock_guard<std::mutex> lock(cacheMutex);
  auto it = cache.find(file);
  if (it != cache.end() && it->second.identity == identity) return it->second.profile;
  return nullptr;
}

void Remember(const std::string& file, const FileIdentity& identity,
              std::shared_ptr<const ParsedProfile> profile) {
  {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache[file] = {identity, profile};
  }
  if (operation.depth > 0) operation.checked[file] = identity;
}

// The parsed file, from the cache when the file is unchanged. An absent file is an empty profile.
// Inside an operation a file checked once is not checked again.
LoadResult Load(const std::string& file, std::shared_ptr<const ParsedProfile>& out) {
  if (operation.depth > 0) {
    auto seen = operation.checked.find(file);
    if (seen != operation.checked.end()) {
      if (!seen->second) {
        out = EmptyProfile();
        return LoadResult::Absent;
      }
      if ((out = Cached(file, *seen->second))) return LoadResult::Ok;
    }
  }
  struct stat st;
  if (stat(file.c_str(), &st) != 0) {
    const bool absent = errno == ENOENT || errno == ENOTDIR;  // before anything else can change errno
    {
      std::lock_guard<std::mutex> lock(cacheMutex);
      cache.erase(file);
    }
    out = EmptyProfile();
    if (absent && operation.depth > 0) operation.checked[file] = std::nullopt;
    return absent ? LoadResult::Absent : LoadResult::Unreadable;
  }
  if (!S_ISREG(st.st_mode)) {
    out = EmptyProfile();
    return LoadResult::Unreadable;
  }
  if ((out = Cached(file, IdentityOf(st)))) {
    if (operation.depth > 0) operation.checked[file] = IdentityOf(st);
    return LoadResult::Ok;
  }
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const bool absent = errno == ENOENT;
    out = EmptyProfile();
    return absent ? LoadResult::Absent : LoadResult::Unreadable;
  }
  std::string bytes;
  bool ok = fstat(fd, &st) == 0;
  if (ok) bytes.reserve(static_cast<std::size_t>(st.st_size));
  ok = ok && ReadAllFrom(fd, bytes);
  close(fd);
  if (!ok) {
    out = EmptyProfile();
    return LoadResult::Unreadable;
  }
  auto parsed = std::make_shared<const ParsedProfile>(ParseProfile(bytes));
  // Cache only what was read as the identity says: a file that changed while it was read is parsed
  // again next time.
  if (static_cast<off_t>(bytes.size()) == st.st_size) Remember(file, IdentityOf(st), parsed);
  out = parsed;
  return LoadResult::Ok;
}

// Only spaces are trimmed from the names a caller gives.
std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ')
    s.remove_suffix(1);
  return s;
}

// A UTF-8 argument in the file's encoding; false when CP932 cannot express it.
bool ToFileEncoding(std::string_view utf8Text, bool utf8File, std::string& out) {
  if (utf8File) {
    out.assign(utf8Text);
    return true;
  }
  return Utf8ToCp932(utf8Text, out);
}

// The stored value of section/key in file bytes, quotes removed; nullopt when the key is absent.
std::optional<std::string_view> StoredValue(const ParsedProfile& p, const std::string& section,
                                            const std::string& key) {
  const ProfileSection* s = FindSection(p, section);
  if (!s) return std::nullopt;
  std::size_t line = FindKey(*s, key, p.utf8);
  if (line == std::string::npos) return std::nullopt;
  std::string_view v = p.lines[line].Value();
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v.remove_prefix(1);
    v.remove_suffix(1);
  }
  return v;
}

std::string CutToLimit(std::string_view utf8Text, std::size_t limit) {
  return Cp932Cut(utf8Text, limit == 0 ? 0 : limit - 1);
}

bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// A tab at either end of a name would be trimmed from the written line but not from the caller's name,
// so the key could never be found again (each write would add another line); a tab before "[" or ";"
// would even turn the key line into a section header or a comment.
bool HasEdgeTab(std::string_view s) {
  return !s.empty() && (s.front() == '\t' || s.back() == '\t');
}

// A default as a read gives it: trailing spaces removed, cut to the limit.
std::string DefaultText(std::string_view text, std::size_t limit) {
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return CutToLimit(text, limit);
}

// The names of a write, checked as storable.
bool StorableNames(std::string_view section, std::string_view key) {
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key)) return false;
  return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
         key.front() != '[' && key.front() != ';' && !HasEdgeTab(section) && !HasEdgeTab(key);
}

std::string ReadFrom(const ParsedProfile& p, std::string_view section, std::string_view key,
                     std::size_t limit, std::string_view defaultValue) {
  std::string s, k;
  if (ToFileEncoding(TrimSpaces(section), p.utf8, s) && ToFileEncoding(TrimSpaces(key), p.utf8, k)) {
    if (std::optional<std::string_view> v = StoredValue(p, s, k)) {
      if (v->empty() || limit == 0) return {};
      if (p.utf8) return CutToLimit(*v, limit);
      return Cp932ToUtf8(Cp932CutBytes(*v, limit - 1));
    }
  }
  return DefaultText(defaultValue, limit);
}

int ReadIntFrom(const ParsedProfile& p, std::string_view section, std::string_view key, int defaultValue) {
  std::string s, k;
  if (!ToFileEncoding(TrimSpaces(section), p.utf8, s) || !ToFileEncoding(TrimSpaces(key), p.utf8, k))
    return defaultValue;
  std::string_view v = StoredValue(p, s, k).value_or(std::string_view());
  if (v.empty()) return defaultValue;
  // Leading decimal number with an optional sign, accumulated as unsigned 32 bits (wrap-around).
  std::size_t i = 0;
  bool negative = false;
  if (v[0] == '-' || v[0] == '+') {
    negative = v[0] == '-';
    i = 1;
  }
  std::uint32_t n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
    n = n * 10u + static_cast<std::uint32_t>(v[i] - '0');
  if (negative) n = 0u - n;
  return static_cast<int>(n);
}

}  // namespace

std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       std::size_t limit, std::string_view defaultValue) {
  std::shared_ptr<const ParsedProfile> p;
  Load(file, p);
  return ReadFrom(*p, section, key, limit, defaultValue);
}

std::string ReadStringOr(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t limit, std::string_view fallback) {
  std::string value = ReadString(file, section, key, limit);
  return value.empty() ? DefaultText(fallback, limit) : value;
}

int ReadInt(const std::string& file, std::string_view section, std::string_view key, int defaultValue) {
  std::shared_ptr<const ParsedProfile> p;
  Load(file, p);
  return ReadIntFrom(*p, section, key, defaultValue);
}

std::vector<std::string> ReadNumberedList(const std::string& file, std::string_view section,
                                          std::string_view stem, std::size_t limit, long long maximum,
                                          int first) {
  std::shared_ptr<const ParsedProfile> p;
  Load(file, p);
  std::vector<std::string> values;
  std::string key(stem);
  for (long long i = first; i < first + maximum; ++i) {
    key.resize(stem.size());
    key += std::to_string(i);
    std::string value = ReadFrom(*p, section, key, limit, {});
    if (value.empty()) break;
    values.push_back(std::move(value));
  }
  return values;
}

bool WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value) {
  ProfileEdit edit(file);
  return edit.Write(section, key, value) && edit.Apply();
}

bool DeleteKey(const std::string& file, std::string_view section, std::string_view key) {
  ProfileEdit edit(file);
  return edit.Delete(section, key) && edit.Apply();
}

bool PathExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

void ClearProfileCache() {
  std::lock_guard<std::mutex> lock(cacheMutex);
  cache.clear();
  operation.checked.clear();
}

void ForgetCachedProfile(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.erase(path);
  }
  operation.checked.erase(path);
}

ProfileOperation::ProfileOperation() {
  ++operation.depth;
}

ProfileOperation::~ProfileOperation() {
  if (--operation.depth == 0) operation.checked.clear();
}

namespace {

// The folder locks this thread holds: descriptor and number of holders.
struct HeldLock {
  int fd = -1;
  int holders = 0;
};
thread_local std::unordered_map<std::string, HeldLock> heldLocks;

std::string FolderOf(const std::string& file) {
  std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

}  // namespace

ProfileLock::ProfileLock(const std::string& file) : folder_(FolderOf(file)) {
  HeldLock& held = heldLocks[folder_];
  if (held.holders++ == 0) {
    held.fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (held.fd >= 0 && flock(held.fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  operation.checked.erase(file);
}

ProfileLock::~ProfileLock() {
  auto it = heldLocks.find(folder_);
  if (it == heldLocks.end() || --it->second.holders > 0) return;
  if (it->second.fd >= 0) close(it->second.fd);  // closing the descriptor releases the lock
  heldLocks.erase(it);
}

ProfileOperationPause::ProfileOperationPause() : depth_(operation.depth) {
  operation.depth = 0;
  operation.checked.clear();
}

ProfileOperationPause::~ProfileOperationPause() {
  operation.depth = depth_;
  operation.checked.clear();
}

ProfileEdit::ProfileEdit(std::string file) : file_(std::move(file)) {}

ProfileEdit::~ProfileEdit() = default;

bool ProfileEdit::Load() {
  if (!loaded_) {
    std::shared_ptr<const ParsedProfile> current;
    readable_ = talvorin::Load(file_, current) != LoadResult::Unreadable;
    profile_ = std::make_unique<ParsedProfile>(*current);
    loaded_ = true;
  }
  return readable_;
}

void ProfileEdit::StartCollecting() {
  if (applied_) {
    changes_.clear();
    applied_ = false;
  }
}

void ProfileEdit::Reset(std::string_view fileBytes) {
  StartCollecting();
  changes_.clear();
  profile_ = std::make_unique<ParsedProfile>(ParseProfile(fileBytes));
  loaded_ = readable_ = changed_ = reset_ = true;
}

bool ProfileEdit::Write(std::string_view section, std::string_view key, std::string_view value) {
  StartCollecting();
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  if (!StorableNames(section, key) || HasLineBreak(value) || !Load()) return false;
  std::string s, k, v;
  if (!ToFileEncoding(section, profile_->utf8, s) || !ToFileEncoding(key, profile_->utf8, k) ||
      !ToFileEncoding(value, profile_->utf8, v))
    return false;
  SetProfileValue(*profile_, s, k, v);
  changes_.push_back({std::string(section), std::string(key), std::string(value), false});
  changed_ = true;
  return true;
}

bool ProfileEdit::Delete(std::string_view section, std::string_view key) {
  StartCollecting();
  if (!Load()) return false;
  std::string s, k;
  if (!ToFileEncoding(TrimSpaces(section), profile_->utf8, s) ||
      !ToFileEncoding(TrimSpaces(key), profile_->utf8, k))
    return true;  // a name the file cannot hold is not in it
  if (RemoveProfileKey(*profile_, s, k)) {
    changes_.push_back({std::string(TrimSpaces(section)), std::string(TrimSpaces(key)), "", true});
    changed_ = true;
  }
  return true;
}

std::string ProfileEdit::ReadString(std::string_view section, std::string_view key, std::size_t limit,
                                    std::string_view defaultValue) {
  Load();
  return ReadFrom(*profile_, section, key, limit, defaultValue);
}

int ProfileEdit::ReadInt(std::string_view section, std::string_view key, int defaultValue) {
  Load();
  return ReadIntFrom(*profile_, section, key, defaultValue);
}

bool ProfileEdit::Apply() {
  applied_ = true;
  if (!changed_) return true;
  changed_ = false;
  loaded_ = false;
  ProfileLock lock(file_);
  if (!reset_) {
    // The changes, made again to the file as it is now.
    std::shared_ptr<const ParsedProfile> current;
    if (talvorin::Load(file_, current) == LoadResult::Unreadable) {
      profile_.reset();
      return false;
    }
    auto fresh = std::make_unique<ParsedProfile>(*current);
    for (const ProfileChange& c : changes_) {
      std::string section, key, value;
      if (!ToFileEncoding(c.section, fresh->utf8, section) || !ToFileEncoding(c.key, fresh->utf8, key) ||
          !ToFileEncoding(c.value, fresh->utf8, value))
        continue;
      if (c.deletion)
        RemoveProfileKey(*fresh, section, key);
      else
        SetProfileValue(*fresh, section, key, value);
    }
    profile_ = std::move(fresh);
  }
  reset_ = false;
  std::string bytes = SerializeProfile(*profile_);
  struct stat st;
  if (!ReplaceWholeFile(file_, bytes, &st)) {
    ForgetCachedProfile(file_);
    profile_.reset();
    return false;
  }
  // The cache holds the new content under the identity of the file just written.
  ForgetCachedProfile(file_);
  if (static_cast<std::size_t>(st.st_size) == bytes.size())
    Remember(file_, IdentityOf(st), std::shared_ptr<const ParsedProfile>(std::move(profile_)));
  profile_.reset();
  return true;
}

std::size_t WriteChanges(const std::string& file, const std::vector<ProfileChange>& changes) {
  ProfileEdit edit(file);
  std::size_t n = 0;
  for (; n < changes.size(); ++n) {
    const ProfileChange& c = changes[n];
    if (!(c.deletion ? edit.Delete(c.section, c.key) : edit.Write(c.section, c.key, c.value))) break;
  }
  return edit.Apply() ? n : 0;
}

}  // namespace talvorin
