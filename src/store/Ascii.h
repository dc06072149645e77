// ASCII letter case, for the names the system compares without regard to case (file names in the
// program folder, kind words, tool names, controller names, arguments). Only A-Z and a-z change, so
// UTF-8 text keeps every other byte as it is.
#pragma once

#include <string>
#include <string_view>

namespace talvorin {

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with a-z in upper case.
std::string AsciiUpperCase(std::string_view text);

// Equal up to the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace talvorin
