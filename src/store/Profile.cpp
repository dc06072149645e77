#include "store/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "store/Cp932.h"
#include "store/Files.h"
#include "store/ProfileParse.h"

namespace talvorin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

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

enum class LoadResult { Ok, Absent, Unreadable };

// The parsed file, from the cache when the file is unchanged. An absent file is an empty profile.
LoadResult Load(const std::string& file, std::shared_ptr<const ParsedProfile>& out) {
  struct stat st;
  if (stat(file.c_str(), &st) != 0) {
    const bool absent = errno == ENOENT || errno == ENOTDIR;  // before anything else can change errno
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.erase(file);
    out = std::make_shared<ParsedProfile>();
    return absent ? LoadResult::Absent : LoadResult::Unreadable;
  }
  if (!S_ISREG(st.st_mode)) {
    out = std::make_shared<ParsedProfile>();
    return LoadResult::Unreadable;
  }
  {
    std::lock_guard<std::mutex> lock(cacheMutex);
    auto it = cache.find(file);
    if (it != cache.end() && it->second.identity == IdentityOf(st)) {
      out = it->second.profile;
      return LoadResult::Ok;
    }
  }
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const bool absent = errno == ENOENT;
    out = std::make_shared<ParsedProfile>();
    return absent ? LoadResult::Absent : LoadResult::Unreadable;
  }
  std::string bytes;
  bool ok = fstat(fd, &st) == 0;
  if (ok) bytes.reserve(static_cast<std::size_t>(st.st_size));
  ok = ok && ReadAllFrom(fd, bytes);
  close(fd);
  if (!ok) {
    out = std::make_shared<ParsedProfile>();
    return LoadResult::Unreadable;
  }
  auto parsed = std::make_shared<const ParsedProfile>(ParseProfile(bytes));
  // Cache only what was read as the identity says: a file that changed while it was read is parsed
  // again next time.
  if (static_cast<off_t>(bytes.size()) == st.st_size) {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache[file] = {IdentityOf(st), parsed};
  }
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

// The stored value of section/key in file bytes, quotes removed; empty when absent or empty.
std::string_view StoredValue(const ParsedProfile& p, const std::string& section, const std::string& key) {
  const ProfileSection* s = FindSection(p, section);
  if (!s) return {};
  std::size_t line = FindKey(*s, key, p.utf8);
  if (line == std::string::npos) return {};
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

// Replaces the file atomically; on success the cache holds the new content.
bool ReplaceFile(const std::string& file, const std::string& bytes) {
  if (!ReplaceWholeFile(file, bytes)) return false;
  struct stat st;
  std::lock_guard<std::mutex> lock(cacheMutex);
  if (stat(file.c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) == bytes.size())
    cache[file] = {IdentityOf(st), std::make_shared<const ParsedProfile>(ParseProfile(bytes))};
  else
    cache.erase(file);
  return true;
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

}  // namespace

std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       std::size_t limit, std::string_view defaultValue) {
  std::shared_ptr<const ParsedProfile> p;
  Load(file, p);
  std::string s, k;
  if (ToFileEncoding(TrimSpaces(section), p->utf8, s) && ToFileEncoding(TrimSpaces(key), p->utf8, k)) {
    std::string_view v = StoredValue(*p, s, k);
    if (!v.empty() && limit > 0) {
      if (p->utf8) return CutToLimit(v, limit);
      return Cp932ToUtf8(Cp932CutBytes(v, limit - 1));
    }
  }
  while (!defaultValue.empty() && defaultValue.back() == ' ')
    defaultValue.remove_suffix(1);
  return CutToLimit(defaultValue, limit);
}

int ReadInt(const std::string& file, std::string_view section, std::string_view key, int defaultValue) {
  std::shared_ptr<const ParsedProfile> p;
  Load(file, p);
  std::string s, k;
  if (!ToFileEncoding(TrimSpaces(section), p->utf8, s) || !ToFileEncoding(TrimSpaces(key), p->utf8, k))
    return defaultValue;
  std::string_view v = StoredValue(*p, s, k);
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

bool WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
    return false;
  if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
      key.front() == '[' || key.front() == ';' || HasEdgeTab(section) || HasEdgeTab(key))
    return false;

  std::shared_ptr<const ParsedProfile> current;
  if (Load(file, current) == LoadResult::Unreadable) return false;
  ParsedProfile p = *current;
  std::string s, k, v;
  if (!ToFileEncoding(section, p.utf8, s) || !ToFileEncoding(key, p.utf8, k) ||
      !ToFileEncoding(value, p.utf8, v))
    return false;

  const ProfileSection* sec = FindSection(p, s);
  if (sec) {
    std::size_t keyLine = FindKey(*sec, k, p.utf8);
    if (keyLine != std::string::npos) {
      // In place, with the key as it is spelled in the file.
      ProfileLine& line = p.lines[keyLine];
      line.bytes = std::string(line.Name()) + "=" + v;
      line.end = "\r\n";
    } else {
      // After the last key line of the section, before trailing blank and comment lines.
      std::size_t after = sec->lastKeyLine;
      if (p.lines[after].end.empty()) p.lines[after].end = "\r\n";
      ProfileLine line;
      line.bytes = k + "=" + v;
      line.end = "\r\n";
      p.lines.insert(p.lines.begin() + static_cast<long>(after) + 1, std::move(line));
    }
  } else {
    std::string header = "[" + s + "]";
    if (!p.lines.empty() && p.lines.back().end.empty()) {
      ProfileLine& last = p.lines.back();
      // An empty last line, or a file of nothing but the byte-order mark, takes the header.
      if (last.bytes.empty() || (p.utf8 && p.lines.size() == 1 && last.bytes == kBom)) {
        last.bytes += header;
        last.end = "\r\n";
        header.clear();
      } else {
        last.end = "\r\n";
      }
    }
    if (!header.empty()) p.lines.push_back({header, "\r\n"});
    ProfileLine line;
    line.bytes = k + "=" + v;
    line.end = "\r\n";
    p.lines.push_back(std::move(line));
  }
  return ReplaceFile(file, SerializeProfile(p));
}

bool DeleteKey(const std::string& file, std::string_view section, std::string_view key) {
  std::shared_ptr<const ParsedProfile> current;
  LoadResult r = Load(file, current);
  if (r == LoadResult::Absent) return true;
  if (r == LoadResult::Unreadable) return false;
  std::string s, k;
  if (!ToFileEncoding(TrimSpaces(section), current->utf8, s) ||
      !ToFileEncoding(TrimSpaces(key), current->utf8, k))
    return true;  // a name the file cannot hold is not in it
  const ProfileSection* sec = FindSection(*current, s);
  if (!sec) return true;
  std::size_t keyLine = FindKey(*sec, k, current->utf8);
  if (keyLine == std::string::npos) return true;
  ParsedProfile p = *current;
  p.lines.erase(p.lines.begin() + static_cast<long>(keyLine));
  return ReplaceFile(file, SerializeProfile(p));
}

bool PathExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

void ClearProfileCache() {
  std::lock_guard<std::mutex> lock(cacheMutex);
  cache.clear();
}

}  // namespace talvorin
