#include "store/ProfileParse.h"
#include "store/Ascii.h"

#include "store/Cp932.h"

namespace talvorin {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

void TrimBlanks(const std::string& s, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(s[begin]))
    ++begin;
  while (end > begin && IsBlank(s[end - 1]))
    --end;
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
  while (pos < s.size() && IsBlank(s[pos]))
    ++pos;
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
    } else {
      out[i] = AsciiLower(out[i]);
    }
  }
  return out;
}

ParsedProfile ParseProfile(std::string_view fileBytes) {
  ParsedProfile p;
  p.utf8 = fileBytes.substr(0, kBom.size()) == kBom;
  std::size_t lineCount = 1;
  for (char c : fileBytes)
    lineCount += c == '\n';
  p.lines.reserve(lineCount);
  std::size_t pos = 0;
  while (pos < fileBytes.size()) {
    std::size_t eol = pos;
    while (eol < fileBytes.size() && fileBytes[eol] != '\r' && fileBytes[eol] != '\n')
      ++eol;
    if (eol == fileBytes.size()) eol = std::string_view::npos;
    ProfileLine line;
    if (eol == std::string_view::npos) {
      line.bytes.assign(fileBytes.substr(pos));
      pos = fileBytes.size();
    } else {
      line.bytes.assign(fileBytes.substr(pos, eol - pos));
      std::size_t endLen =
          (fileBytes[eol] == '\r' && eol + 1 < fileBytes.size() && fileBytes[eol + 1] == '\n') ? 2 : 1;
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
  for (const ProfileLine& line : profile.lines)
    size += line.bytes.size() + line.end.size();
  std::string out;
  out.reserve(size);
  for (const ProfileLine& line : profile.lines) {
    out += line.bytes;
    out += line.end;
  }
  return out;
}

namespace {

ProfileLine KeyLine(std::string_view key, std::string_view value, bool utf8) {
  ProfileLine line;
  line.bytes.reserve(key.size() + 1 + value.size());
  line.bytes.append(key).append("=").append(value);
  line.end = "\r\n";
  ClassifyLine(line, utf8, 0);
  return line;
}

// Every index at or after `from` moves by `delta` (a line inserted or removed before it).
void ShiftIndex(ParsedProfile& p, std::size_t from, int delta) {
  auto shift = [&](std::size_t& i) {
    if (i >= from) i = static_cast<std::size_t>(static_cast<long>(i) + delta);
  };
  for (auto& [name, sec] : p.sections) {
    shift(sec.line);
    shift(sec.lastKeyLine);
    for (auto& [key, line] : sec.keys)
      shift(line);
  }
}

}  // namespace

void SetProfileValue(ParsedProfile& p, std::string_view section, std::string_view key,
                     std::string_view value) {
  std::string foldedSection = FoldProfileName(section, p.utf8);
  auto sec = p.sections.find(foldedSection);
  if (sec != p.sections.end()) {
    std::string foldedKey = FoldProfileName(key, p.utf8);
    auto k = sec->second.keys.find(foldedKey);
    if (k != sec->second.keys.end()) {
      // In place, with the key as it is spelled in the file.
      ProfileLine& line = p.lines[k->second];
      line = KeyLine(line.Name(), value, p.utf8);
      return;
    }
    // After the last key line of the section, before trailing blank and comment lines.
    std::size_t after = sec->second.lastKeyLine;
    if (p.lines[after].end.empty()) p.lines[after].end = "\r\n";
    ShiftIndex(p, after + 1, 1);
    p.lines.insert(p.lines.begin() + static_cast<long>(after) + 1, KeyLine(key, value, p.utf8));
    sec->second.keys.emplace(std::move(foldedKey), after + 1);
    sec->second.lastKeyLine = after + 1;
    return;
  }
  std::string header = "[" + std::string(section) + "]";
  std::size_t sectionLine = p.lines.size();
  if (!p.lines.empty() && p.lines.back().end.empty()) {
    ProfileLine& last = p.lines.back();
    // An empty last line, or a file of nothing but the byte-order mark, takes the header.
    if (last.bytes.empty() || (p.utf8 && p.lines.size() == 1 && last.bytes == kBom)) {
      last.bytes += header;
      last.end = "\r\n";
      ClassifyLine(last, p.utf8, p.utf8 && p.lines.size() == 1 ? kBom.size() : 0);
      header.clear();
      sectionLine = p.lines.size() - 1;
    } else {
      last.end = "\r\n";
    }
  }
  if (!header.empty()) {
    ProfileLine line;
    line.bytes = std::move(header);
    line.end = "\r\n";
    ClassifyLine(line, p.utf8, 0);
    p.lines.push_back(std::move(line));
  }
  p.lines.push_back(KeyLine(key, value, p.utf8));
  ProfileSection& added = p.sections[foldedSection];
  added.line = sectionLine;
  added.lastKeyLine = p.lines.size() - 1;
  added.keys.emplace(FoldProfileName(key, p.utf8), p.lines.size() - 1);
}

bool RemoveProfileKey(ParsedProfile& p, std::string_view section, std::string_view key) {
  auto sec = p.sections.find(FoldProfileName(section, p.utf8));
  if (sec == p.sections.end()) return false;
  std::string foldedKey = FoldProfileName(key, p.utf8);
  auto k = sec->second.keys.find(foldedKey);
  if (k == sec->second.keys.end()) return false;
  const std::size_t removed = k->second;
  sec->second.keys.erase(k);
  p.lines.erase(p.lines.begin() + static_cast<long>(removed));
  ShiftIndex(p, removed + 1, -1);
  // The section's lines again, from its header to the next section line: a later key of the same name
  // now counts, and the last key line may have been the removed one.
  ProfileSection& s = sec->second;
  s.lastKeyLine = s.line;
  for (std::size_t i = s.line + 1; i < p.lines.size() && p.lines[i].kind != ProfileLineKind::Section; ++i) {
    if (p.lines[i].kind != ProfileLineKind::Key) continue;
    s.lastKeyLine = i;
    if (i >= removed && FoldProfileName(p.lines[i].Name(), p.utf8) == foldedKey)
      s.keys.try_emplace(foldedKey, i);
  }
  return true;
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
