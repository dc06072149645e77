// CP932 (Shift_JIS) text: conversion to and from the UTF-8 used in memory, and the byte-width helpers
// that every limit of the data model is counted in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvorin {

// True for the first byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD; the decode never fails.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 to CP932. False when the text is not valid UTF-8 or holds a character CP932 cannot express;
// `out` is then unspecified.
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// UTF-8 to CP932 for text that must be written whatever it holds (log lines, report files):
// characters without a CP932 form become "?".
std::string Utf8ToCp932Lossy(std::string_view utf8);

// Length of UTF-8 text counted in CP932 bytes: ASCII and half-width katakana count 1, everything else 2.
std::size_t Cp932Length(std::string_view utf8);

// UTF-8 text cut to at most `maxBytes` CP932 bytes, never inside a character.
std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes);

// Raw CP932 bytes cut to at most `maxBytes`, never between a lead byte and its trail byte.
std::string_view Cp932CutBytes(std::string_view bytes, std::size_t maxBytes);

// Padding to a CP932 byte width, as "%-15s" and "%15s" do for Shift_JIS text: a full-width character
// takes two columns. Text wider than `width` is returned unchanged.
std::string Cp932PadRight(std::string_view utf8, std::size_t width);  // text, then blanks
std::string Cp932PadLeft(std::string_view utf8, std::size_t width);   // blanks, then text

}  // namespace talvorin
