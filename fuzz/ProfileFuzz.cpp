// libFuzzer target for the profile store: the line parser, the CP932 text helpers and the four
// operations on a real file. Every property checked here is one that stored files or callers rely on;
// a violation traps so that the fuzzer records the input.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/Cp932.h"
#include "store/Profile.h"
#include "store/ProfileParse.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Strict UTF-8: shortest form only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = s[i];
    std::size_t n;
    std::uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;  // the sequence is cut off
    for (std::size_t k = 1; k <= n; ++k) {
      unsigned char t = s[i + k];
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

// (a) The line model keeps every byte, and its ranges and index point where they should.
void CheckParse(std::string_view input, const ParsedProfile& p) {
  Check(SerializeProfile(p) == input);
  Check(p.utf8 == input.starts_with("\xEF\xBB\xBF"));
  for (std::size_t i = 0; i < p.lines.size(); ++i) {
    const ProfileLine& line = p.lines[i];
    Check(line.bytes.find_first_of("\r\n") == std::string::npos);
    Check(line.end == "\r\n" || line.end == "\n" || line.end == "\r" ||
          (line.end.empty() && i + 1 == p.lines.size()));
    Check(line.nameBegin <= line.nameEnd && line.nameEnd <= line.bytes.size());
    Check(line.valueBegin <= line.valueEnd && line.valueEnd <= line.bytes.size());
    if (line.kind == ProfileLineKind::Key) {
      // Between name and value only the "=" and the blanks trimmed around it.
      Check(line.nameEnd < line.valueBegin);
      std::string_view gap =
          std::string_view(line.bytes).substr(line.nameEnd, line.valueBegin - line.nameEnd);
      Check(gap.find_first_not_of(" \t=") == std::string_view::npos &&
            std::count(gap.begin(), gap.end(), '=') == 1);
    }
    if (line.kind == ProfileLineKind::Section) Check(line.nameBegin >= 1);
  }
  for (const auto& [folded, section] : p.sections) {
    Check(section.line < p.lines.size() && p.lines[section.line].kind == ProfileLineKind::Section);
    Check(FoldProfileName(p.lines[section.line].Name(), p.utf8) == folded);
    Check(section.line <= section.lastKeyLine && section.lastKeyLine < p.lines.size());
    for (const auto& [foldedKey, keyLine] : section.keys) {
      Check(keyLine > section.line && keyLine <= section.lastKeyLine);
      Check(p.lines[keyLine].kind == ProfileLineKind::Key);
      Check(FoldProfileName(p.lines[keyLine].Name(), p.utf8) == foldedKey);
    }
  }
}

// Cut of raw CP932 bytes: a prefix of at most `limit` bytes that ends on a character boundary (walking
// from the start, a lead byte takes the next byte with it), and no shorter than it has to be.
void CheckCut(std::string_view input, std::size_t limit) {
  std::string_view cut = Cp932CutBytes(input, limit);
  Check(cut.data() == input.data() || cut.empty());
  if (input.size() <= limit) {
    Check(cut.size() == input.size());
    return;
  }
  Check(cut.size() <= limit);
  std::size_t pos = 0;
  while (pos < cut.size())
    pos += IsCp932LeadByte(input[pos]) ? 2 : 1;
  Check(pos == cut.size());  // the last character of the cut is whole
  // Only a double-byte character straddling the limit may make the cut one byte short.
  Check(cut.size() == limit || (cut.size() + 1 == limit && IsCp932LeadByte(input[cut.size()])));
}

// (b) Decoding never fails and gives valid UTF-8; encoding that output back is safe, and what
// encodes decodes to the same text again.
void CheckText(std::string_view input) {
  std::string utf8 = Cp932ToUtf8(input);
  Check(IsValidUtf8(utf8));
  std::string back;
  if (Utf8ToCp932(utf8, back)) Check(Cp932ToUtf8(back) == utf8);
  std::string lossy = Utf8ToCp932Lossy(utf8);
  Check(IsValidUtf8(Cp932ToUtf8(lossy)));
  for (std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{7}, input.size() / 2,
                            input.size() > 0 ? input.size() - 1 : 0, input.size(), input.size() + 1})
    CheckCut(input, limit);
  // The UTF-8 helpers on arbitrary bytes (the decoded text and the raw input).
  Check(Cp932Length(Cp932Cut(utf8, 9)) <= 9);
  Check(Cp932Length(Cp932Cut(input, 5)) <= 5);
  std::size_t width = std::max<std::size_t>(Cp932Length(utf8), 12);
  Check(Cp932Length(Cp932PadRight(utf8, 12)) == width && Cp932Length(Cp932PadLeft(utf8, 12)) == width);
}

// A private folder for this process, on a memory file system when there is one, removed at exit. The
// name lives as long as the process so that the exit handler can still use it.
const std::string& WorkFolder() {
  static const std::string* folder = [] {
    std::string base;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) {
      base = tmp;
    } else {
      struct stat st;
      bool shm = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && access("/dev/shm", W_OK) == 0;
      base = shm ? "/dev/shm" : "/tmp";
    }
    auto* name = new std::string(base + "/profilefuzz.XXXXXX");
    if (!mkdtemp(name->data())) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(*folder, ec);
    });
    return name;
  }();
  return *folder;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return close(fd) == 0 && ok;
}

bool ReadFileBytes(const std::string& path, std::string& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  out.clear();
  std::string chunk(4096, '\0');
  for (;;) {
    ssize_t n = read(fd, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      return n == 0;
    }
    out.append(chunk, 0, static_cast<std::size_t>(n));
  }
}

// Printable ASCII from input bytes; `avoid` characters become 'x'.
std::string AsciiFrom(std::string_view bytes, std::size_t maxLen, std::string_view avoid) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && out.size() < maxLen; ++i) {
    char c = static_cast<char>(0x20 + static_cast<unsigned char>(bytes[i]) % 0x5F);
    out += avoid.find(c) == std::string_view::npos ? c : 'x';
  }
  return out;
}

// The text of a file name as a caller would give it, when it survives the trip through UTF-8 exactly.
bool CallerName(std::string_view fileBytes, bool utf8, std::string& out) {
  if (utf8) {
    out.assign(fileBytes);
    return IsValidUtf8(out);
  }
  out = Cp932ToUtf8(fileBytes);
  std::string back;
  return Utf8ToCp932(out, back) && back == fileBytes;
}

// Old and new file differ only around one place: at most one old line changed or lost its missing end,
// at most three lines new (a section header, a key and the changed line).
void CheckOnlyOneSpotChanged(const ParsedProfile& before, const ParsedProfile& after) {
  const auto& a = before.lines;
  const auto& b = after.lines;
  auto same = [](const ProfileLine& x, const ProfileLine& y) { return x.bytes == y.bytes && x.end == y.end; };
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && same(a[head], b[head]))
    ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         same(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
    ++tail;
  Check(a.size() - head - tail <= 1);
  Check(b.size() - head - tail <= 3);
}

// (c) The operations on the input as a file.
void CheckStore(std::string_view input, const ParsedProfile& parsed) {
  const std::string file = WorkFolder() + "/p.ini";
  if (!WriteFileBytes(file, input)) std::abort();
  // The cache tells files apart by identity (inode, size, mtime); successive inputs rewrite the same
  // file within one clock tick, so each run starts from a cold cache to stay reproducible.
  ClearProfileCache();

  // Reads of one indexed key in each of up to eight sections: the stored value, quotes removed, as UTF-8.
  std::size_t checked = 0;
  for (const auto& [folded, section] : parsed.sections) {
    if (++checked > 8) break;
    std::string sectionName;
    if (!CallerName(parsed.lines[section.line].Name(), parsed.utf8, sectionName)) continue;
    for (const auto& [foldedKey, keyLine] : section.keys) {
      const ProfileLine& line = parsed.lines[keyLine];
      std::string keyName;
      if (!CallerName(line.Name(), parsed.utf8, keyName) || keyName.empty()) break;
      std::string_view v = line.Value();
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      // A key present with an empty value reads as the empty text, not as the default.
      std::string expected = parsed.utf8 ? std::string(v) : Cp932ToUtf8(v);
      // A field just large enough for the value. In a UTF-8 file a stray byte counts two CP932 bytes, so
      // the field there is twice the size.
      std::size_t room = std::max<std::size_t>(parsed.utf8 ? 2 * v.size() : v.size(), 4);
      Check(ReadString(file, sectionName, keyName, room + 1, "dflt  ") == expected);
      // A field of four bytes holds at most three CP932 bytes (nine UTF-8 bytes of half-width katakana).
      std::string shortRead = ReadString(file, sectionName, keyName, 4, "");
      Check(shortRead.size() <= 9 && (parsed.utf8 || IsValidUtf8(shortRead)));
      int n = ReadInt(file, sectionName, keyName, -7);
      if (v.empty()) Check(n == -7);
      if (!v.empty() && v.size() <= 9 && v.find_first_not_of("0123456789") == std::string_view::npos)
        Check(n == std::atoi(std::string(v).c_str()));
      break;  // one key per section keeps a run short
    }
  }

  // Reads of names made from the input bytes themselves: anything goes, nothing may crash.
  std::string rawName = Cp932ToUtf8(input.substr(0, 12));
  Check(IsValidUtf8(ReadString(file, rawName, rawName, 16, "d")));
  ReadInt(file, rawName, "x", 1);
  ReadInt(file, "x", rawName, 1);

  // A write of a value that stores as written, into an existing section (when its name can be given)
  // or a new one, then reads that must give it back, from the cache and from the disk.
  std::string section;
  if (!input.empty() && (input[0] & 1) && !parsed.sections.empty()) {
    const ProfileSection& first = parsed.sections.begin()->second;
    if (!CallerName(parsed.lines[first.line].Name(), parsed.utf8, section)) section.clear();
  }
  if (section.empty()) section = AsciiFrom(input.substr(input.size() / 3), 6, "]\t ");
  if (section.empty()) section = "S";
  std::string key = AsciiFrom(input.substr(input.size() / 2), 5, "=[;\t ");
  if (key.empty()) key = "K";
  std::string value = AsciiFrom(input.substr(input.size() * 2 / 3), 10, "\t\"'");
  if (value.empty() || value.front() == ' ') value.insert(0, "v");
  if (value.back() == ' ') value += 'v';

  if (WriteString(file, section, key, value)) {
    Check(ReadString(file, section, key, 64, "") == value);
    ClearProfileCache();
    Check(ReadString(file, section, key, 64, "") == value);
    std::string written;
    Check(ReadFileBytes(file, written));
    ParsedProfile after = ParseProfile(written);
    CheckOnlyOneSpotChanged(parsed, after);
    // The written line is where the index says, and deleting the key removes exactly that line.
    std::string s = section, k = key;
    if (!after.utf8) Check(Utf8ToCp932(section, s) && Utf8ToCp932(key, k));
    const ProfileSection* sec = FindSection(after, s);
    Check(sec != nullptr);
    std::size_t line = FindKey(*sec, k, after.utf8);
    Check(line != std::string::npos && after.lines[line].Value() == value);
    Check(DeleteKey(file, section, key));
    ParsedProfile expected = after;
    expected.lines.erase(expected.lines.begin() + static_cast<long>(line));
    std::string deleted;
    Check(ReadFileBytes(file, deleted) && deleted == SerializeProfile(expected));
    // Unless a later duplicate of the key now shows, it reads as absent.
    ParsedProfile gone = ParseProfile(deleted);
    const ProfileSection* goneSec = FindSection(gone, s);
    if (!goneSec || FindKey(*goneSec, k, gone.utf8) == std::string::npos) {
      Check(ReadString(file, section, key, 64, "gone") == "gone");
      Check(ReadInt(file, section, key, 5) == 5);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  ParsedProfile parsed = ParseProfile(input);
  CheckParse(input, parsed);
  CheckText(input);
  CheckStore(input, parsed);
  return 0;
}
