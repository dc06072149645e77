// CP932 text: conversion both ways and the byte-width helpers every limit of the data model uses.
#include <gtest/gtest.h>

#include <string>

#include "store/Cp932.h"

namespace talvorin {
namespace {

TEST(Cp932, ConvertsBothWays) {
  struct Case {
    const char* utf8;
    const char* cp932;
  };
  const Case cases[] = {
      {"ゾ", "\x83\x5D"}, {"ソ", "\x83\x5C"},           {"～", "\x81\x60"},  // U+FF5E
      {"ｱ", "\xB1"},      {"日本", "\x93\xFA\x96\x7B"}, {"左下", "\x8D\xB6\x89\xBA"}, {"A\\~", "A\\~"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    ASSERT_TRUE(Utf8ToCp932(c.utf8, out)) << c.utf8;
    EXPECT_EQ(out, c.cp932) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(Cp932, InvalidInputDecodesWithReplacementAndFailsToEncode) {
  EXPECT_EQ(Cp932ToUtf8("a\x80z"), "a\uFFFDz");
  EXPECT_EQ(Cp932ToUtf8("\x83"), "\uFFFD");        // lead byte at the end
  EXPECT_EQ(Cp932ToUtf8("\x83\nx"), "\uFFFD\nx");  // lead byte before a line feed
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), "\uFFFD\uFFFD\uFFFD");

  std::string out;
  EXPECT_FALSE(Utf8ToCp932("😀", out));
  EXPECT_FALSE(Utf8ToCp932("ok😀", out));
  EXPECT_FALSE(Utf8ToCp932("\xFF", out));      // not UTF-8
  EXPECT_FALSE(Utf8ToCp932("\xE6\x97", out));  // a cut UTF-8 sequence
}

TEST(Cp932, LossyEncodingReplacesOnlyWhatHasNoForm) {
  EXPECT_EQ(Utf8ToCp932Lossy("工具😀A"), "\x8D\x48\x8B\xEF?A");
  EXPECT_EQ(Utf8ToCp932Lossy("😀😀"), "??");
  EXPECT_EQ(Utf8ToCp932Lossy("ゾ"), "\x83\x5D");
}

TEST(Cp932, LengthCountsCp932Bytes) {
  EXPECT_EQ(Cp932Length(""), 0u);
  EXPECT_EQ(Cp932Length("ｱA"), 2u);
  EXPECT_EQ(Cp932Length("日本"), 4u);
  EXPECT_EQ(Cp932Length("～"), 2u);
  EXPECT_EQ(Cp932Length("ｱｲｳｴｵ｡ﾟ"), 7u);
  EXPECT_EQ(Cp932Length("ＮＣ2"), 5u);
  // Every character counts what it encodes to.
  for (const char* text : {"ゾーン", "工具加工条件", "¥100", "‾", "ﾄﾞﾘﾙ", "１２３abc", "－〜"}) {
    std::string bytes;
    ASSERT_TRUE(Utf8ToCp932(text, bytes)) << text;
    EXPECT_EQ(Cp932Length(text), bytes.size()) << text;
  }
}

TEST(Cp932, CutsNeverSplitACharacter) {
  EXPECT_EQ(Cp932Cut("ABCDEFGHIJKLMNドX", 15), "ABCDEFGHIJKLMN");
  EXPECT_EQ(Cp932Cut("ABCDEFGHIJKLMNドX", 16), "ABCDEFGHIJKLMNド");
  EXPECT_EQ(Cp932Cut("日本語", 5), "日本");
  EXPECT_EQ(Cp932Cut("日本語", 1), "");
  EXPECT_EQ(Cp932Cut("ｱｲｳ", 2), "ｱｲ");
  EXPECT_EQ(Cp932Cut("日本", 0), "");
  EXPECT_EQ(Cp932Cut("日本", 100), "日本");

  EXPECT_EQ(Cp932CutBytes("ABCDEFGHIJKLMN\x83\x68X", 15), "ABCDEFGHIJKLMN");
  EXPECT_EQ(Cp932CutBytes("ABCDEFGHIJKLMN\x83\x68X", 16), "ABCDEFGHIJKLMN\x83\x68");
  EXPECT_EQ(Cp932CutBytes("\x83\x5D\x83\x5D", 3), "\x83\x5D");
  EXPECT_EQ(Cp932CutBytes("\xB1\xB2\xB3", 2), "\xB1\xB2");  // single-byte katakana
  EXPECT_EQ(Cp932CutBytes("\x83\x5D", 1), "");
  EXPECT_EQ(Cp932CutBytes("abc", 3), "abc");
}

TEST(Cp932, PaddingCountsCp932Bytes) {
  EXPECT_EQ(Cp932PadLeft("日本", 6), "  日本");
  EXPECT_EQ(Cp932PadRight("日本", 6), "日本  ");
  EXPECT_EQ(Cp932PadLeft("ｱ", 3), "  ｱ");
  EXPECT_EQ(Cp932PadRight("ﾄﾞﾘﾙ", 5), "ﾄﾞﾘﾙ ");
  EXPECT_EQ(Cp932PadLeft("ドリル", 6), "ドリル");
  EXPECT_EQ(Cp932PadRight("ドリル長い", 6), "ドリル長い");  // wider than the field: unchanged
  EXPECT_EQ(Cp932PadLeft("", 2), "  ");
}

}  // namespace
}  // namespace talvorin
