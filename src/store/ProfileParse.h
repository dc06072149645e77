// The line model of a profile (INI) file. Parsing keeps every byte of every line so that a rewrite
// leaves untouched lines exactly as they were, even bytes that are not valid CP932.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace talvorin {

enum class ProfileLineKind { Other, Blank, Comment, Section, Key };

struct ProfileLine {
  std::string bytes;  // the line as read, without its end
  std::string end;    // "\r\n", "\n", "\r" or "" for a last line without an end
  ProfileLineKind kind = ProfileLineKind::Other;
  // Section: the name inside the brackets, blanks trimmed. Key: the key before the first "=", trimmed.
  std::size_t nameBegin = 0, nameEnd = 0;
  // Key: the value after the first "=", blanks trimmed (quotes not yet removed).
  std::size_t valueBegin = 0, valueEnd = 0;

  std::string_view Name() const { return std::string_view(bytes).substr(nameBegin, nameEnd - nameBegin); }
  std::string_view Value() const { return std::string_view(bytes).substr(valueBegin, valueEnd - valueBegin); }
};

// Where the first section of a name lies and where its keys are (first key of a name only).
struct ProfileSection {
  std::size_t line = 0;                               // index of the section line
  std::size_t lastKeyLine = 0;                        // index of its last key line; == line when it has none
  std::unordered_map<std::string, std::size_t> keys;  // folded key name -> line index
};

struct ParsedProfile {
  bool utf8 = false;  // the file starts with a UTF-8 byte-order mark (kept in lines[0].bytes)
  std::vector<ProfileLine> lines;
  std::unordered_map<std::string, ProfileSection> sections;  // folded section name -> first section
};

// Splits file bytes into lines (CR LF, LF or CR), classifies them and indexes sections and keys.
// Lines before the first section belong to no section. In a CP932 file a trail byte is never taken
// for "[" or "]". The file bytes are exactly the concatenation of every line's bytes and end.
ParsedProfile ParseProfile(std::string_view fileBytes);

// The file bytes again: every line's bytes followed by its end.
std::string SerializeProfile(const ParsedProfile& profile);

// A name as it is compared: ASCII letters in lower case; in CP932 text double-byte characters stay
// as they are (a trail byte 0x41-0x5A is not a letter).
std::string FoldProfileName(std::string_view name, bool utf8);

// Lookups by name (given in the file's encoding); nullptr / npos when absent.
const ProfileSection* FindSection(const ParsedProfile& profile, std::string_view section);
std::size_t FindKey(const ProfileSection& section, std::string_view key, bool utf8);

// Edits in place, names and value in the file's encoding and already checked as storable. Each keeps
// the profile exactly as ParseProfile(SerializeProfile(profile)) would give it, index included.
// SetProfileValue replaces the value of the first key of the name in the first section of the name,
// keeping the key's spelling; a new key goes after the section's last key line (before its trailing
// blank and comment lines), a new section at the end of the file.
void SetProfileValue(ParsedProfile& profile, std::string_view section, std::string_view key,
                     std::string_view value);
// Removes that key's line (a later key of the same name in the section then counts); false when there
// was none.
bool RemoveProfileKey(ParsedProfile& profile, std::string_view section, std::string_view key);

}  // namespace talvorin
