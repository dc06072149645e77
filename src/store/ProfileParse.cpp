#include "store/ProfileParse.h"

#include "store/Cp932.h"

namespace talvorin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void TrimBlanks(const std::string& s, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
}

// Position of the first `c` at or after `pos`, stepping over double-byte characters in CP932 text.
std::size_t FindByte(const std::string& s, char c, std::size_t pos, bool utf8) {
  while (pos < s.size()) {
    if (s[pos] == c) return pos;
    pos += (!utf8 && IsCp932LeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
  }
  return std::string::npos;
}

void ClassifyLine(ProfileLine& line, bool utf8, std::size_t start) {
  const std::string& s = line.bytes;
  std::size_t pos = start;
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  if (pos == s.size()) {
    line.kind = ProfileLineKind::Blank;
  } else if (s[pos] == '[') {
    line.kind = ProfileLineKind::Section;
    std::size_t close = FindByte(s, ']', pos + 1, utf8);
    line.nameBegin = pos + 1;
    line.nameEnd = close == std::string::npos ? s.size() : close;
    TrimBlanks(s, line.nameBegin, line.nameEnd);
  } else if (s[pos] == ';') {
    line.kind = ProfileLineKind::Comment;
  } else {
    std::size_t eq = FindByte(s, '=', pos, utf8);
    if (eq == std::string::npos) {
      line.kind = ProfileLineKind::Other;
      return;
    }
    line.kind = ProfileLineKind::Key;
    line.nameBegin = pos;
    line.nameEnd = eq;
    TrimBlanks(s, line.nameBegin, line.nameEnd);
    line.valueBegin = eq + 1;
    line.valueEnd = s.size();
    TrimBlanks(s, line.valueBegin, line.valueEnd);
  }
}

}  // namespace

std::string FoldProfileName(std::string_view name, bool utf8) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = out[i];
    if (!utf8 && IsCp932LeadByte(c)) {
      ++i;  // the trail byte is part of the character, not a letter
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

ParsedProfile ParseProfile(std::string_view fileBytes) {
  ParsedProfile p;
  p.utf8 = fileBytes.substr(0, kBom.size()) == kBom;
  std::size_t lineCount = 1;
  for (char c : fileBytes) lineCount += c == '\n';
  p.lines.reserve(lineCount);
  std::size_t pos = 0;
  while (pos < fileBytes.size()) {
    std::size_t eol = pos;
    while (eol < fileBytes.size() && fileBytes[eol] != '\r' && fileBytes[eol] != '\n') ++eol;
    if (eol == fileBytes.size()) eol = std::string_view::npos;
    ProfileLine line;
    if (eol == std::string_view::npos) {
      line.bytes.assign(fileBytes.substr(pos));
      pos = fileBytes.size();
    } else {
      line.bytes.assign(fileBytes.substr(pos, eol - pos));
      std::size_t endLen = (fileBytes[eol] == '\r' && eol + 1 < fileBytes.size() && fileBytes[eol + 1] == '\n') ? 2 : 1;
      line.end.assign(fileBytes.substr(eol, endLen));
      pos = eol + endLen;
    }
    ClassifyLine(line, p.utf8, (p.lines.empty() && p.utf8) ? kBom.size() : 0);
    p.lines.push_back(std::move(line));
  }

  // Index: the first section of a name, and in it the first key of a name.
  ProfileSection* current = nullptr;
  for (std::size_t i = 0; i < p.lines.size(); ++i) {
    const ProfileLine& line = p.lines[i];
    if (line.kind == ProfileLineKind::Section) {
      auto [it, inserted] = p.sections.try_emplace(FoldProfileName(line.Name(), p.utf8));
      if (inserted) {
        it->second.line = it->second.lastKeyLine = i;
        current = &it->second;
      } else {
        current = nullptr;  // a later section of the same name is never searched
      }
    } else if (line.kind == ProfileLineKind::Key && current) {
      current->keys.try_emplace(FoldProfileName(line.Name(), p.utf8), i);
      current->lastKeyLine = i;
    }
  }
  return p;
}

std::string SerializeProfile(const ParsedProfile& profile) {
  std::size_t size = 0;
  for (const ProfileLine& line : profile.lines) size += line.bytes.size() + line.end.size();
  std::string out;
  out.reserve(size);
  for (const ProfileLine& line : profile.lines) {
    out += line.bytes;
    out += line.end;
  }
  return out;
}

const ProfileSection* FindSection(const ParsedProfile& profile, std::string_view section) {
  auto it = profile.sections.find(FoldProfileName(section, profile.utf8));
  return it == profile.sections.end() ? nullptr : &it->second;
}

std::size_t FindKey(const ProfileSection& section, std::string_view key, bool utf8) {
  auto it = section.keys.find(FoldProfileName(key, utf8));
  return it == section.keys.end() ? std::string::npos : it->second;
}

}  // namespace talvorin
