// The profile store: every INI-format file of the system (program INI, project database, tables) is
// read and written through these four operations, with the semantics stored files rely on:
// - section and key names match without regard to ASCII letter case; the first section and the first
//   key of a name win; blanks around names and values are ignored;
// - a key whose value is empty reads exactly as an absent key;
// - a write replaces the value in place and keeps every other line byte for byte, creating the file
//   and the section as needed; it is atomic (temporary file, flush, rename).
// Files are CP932 unless they start with a UTF-8 byte-order mark. Arguments and results are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvorin {

// Reads a string value. `limit` is the field size in CP932 bytes including the terminator, as the
// system gives it: the result holds at most limit - 1 bytes and never a split double-byte character.
// A value wrapped in one pair of matching quotes (' or ") loses them. An absent key or an empty value
// gives `defaultValue` with its trailing spaces removed (and cut to the same limit). Callers treat an
// empty result as "missing".
std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       std::size_t limit, std::string_view defaultValue = "");

// Reads an integer. An absent key or an empty value gives `defaultValue`; otherwise the leading decimal
// number of the value with an optional sign, 0 when there is none ("abc" -> 0, "12abc" -> 12), wrapping
// around at 32 bits as an unsigned read cast to int.
int ReadInt(const std::string& file, std::string_view section, std::string_view key, int defaultValue);

// Writes key=value into the section. False when the file cannot be written (its folder does not
// exist, no permission), when a name or the value holds a line break or cannot be encoded in the
// file's encoding, or when the key or section name is not storable (empty, "=" in a key, "]" in a
// section name).
bool WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value);

// Removes the key's line. True when the key is gone afterwards (also when it never existed).
bool DeleteKey(const std::string& file, std::string_view section, std::string_view key);

// True when the path names an existing file or folder.
bool PathExists(const std::string& path);

// Drops every cached parse (benchmarks measure cold reads with it).
void ClearProfileCache();

}  // namespace talvorin
