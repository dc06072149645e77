// The line model: a parse keeps every byte, so serializing it gives the file back exactly; lines,
// their ends and their kinds are recognised with double-byte awareness.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/ProfileParse.h"

namespace talvorin {
namespace {

TEST(ProfileParse, SerializeGivesBackTheFileByteForByte) {
  const std::vector<std::string> files = {
      "",
      "\r\n",
      "\r",
      "\n",
      "\n\r",
      "\r\r\n\n",
      "[s]\r\na=1\nb=2\rc=3",
      "[s]\r\nk=v\r\n\r\n",
      "\xEF\xBB\xBF",
      "\xEF\xBB\xBF[s]\r\nk=日本\r\n",
      "[\x83\x5D]\r\n\x83\x5C=\x83\x5D]\x81\x5B\r\n",  // [ゾ], ソ=ゾ]ー
      "[s]\r\nbad=\x80\xA0\xFF\r\nlead=\x83\r\nlast=\x83",
      "  \t[ a ] tail\r\n\t k \t= \t v \t\r\n; c\r\n   ;d\r\nno equals\r\n=\r\n[",
      std::string("[s]\r\nnul=a\0b\r\n", 14),
  };
  for (const std::string& f : files)
    EXPECT_EQ(SerializeProfile(ParseProfile(f)), f) << f;
}

TEST(ProfileParse, LineEndsAreKeptPerLine) {
  ParsedProfile p = ParseProfile("a\r\nb\nc\rd\r\r\n");
  ASSERT_EQ(p.lines.size(), 5u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"a", "\r\n"}, {"b", "\n"}, {"c", "\r"}, {"d", "\r"}, {"", "\r\n"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(p.lines[i].bytes, expected[i].first) << i;
    EXPECT_EQ(p.lines[i].end, expected[i].second) << i;
  }
  // Nothing after the last end: no extra empty line.
  EXPECT_EQ(ParseProfile("a\r\n").lines.size(), 1u);
  EXPECT_EQ(ParseProfile("").lines.size(), 0u);
  EXPECT_EQ(ParseProfile("\r\n").lines.size(), 1u);
  EXPECT_EQ(ParseProfile("\r\n").lines[0].kind, ProfileLineKind::Blank);
}

TEST(ProfileParse, KindsAndNames) {
  ParsedProfile p = ParseProfile(
      "[\x83\x5D]\r\n"           // [ゾ]: the trail byte 5D is no bracket
      "[\x81\x5B\x83\x5D\r\n"    // [ーゾ without "]"
      "\x83\x5C = \x83\x5D\r\n"  // ソ = ゾ
      "\t;c\r\n"
      " \t \r\n"
      "no equals\r\n"
      "  [ x ] y\r\n");
  ASSERT_EQ(p.lines.size(), 7u);
  EXPECT_EQ(p.lines[0].kind, ProfileLineKind::Section);
  EXPECT_EQ(p.lines[0].Name(), "\x83\x5D");
  EXPECT_EQ(p.lines[1].kind, ProfileLineKind::Section);
  EXPECT_EQ(p.lines[1].Name(), "\x81\x5B\x83\x5D");
  EXPECT_EQ(p.lines[2].kind, ProfileLineKind::Key);
  EXPECT_EQ(p.lines[2].Name(), "\x83\x5C");
  EXPECT_EQ(p.lines[2].Value(), "\x83\x5D");
  EXPECT_EQ(p.lines[3].kind, ProfileLineKind::Comment);
  EXPECT_EQ(p.lines[4].kind, ProfileLineKind::Blank);
  EXPECT_EQ(p.lines[5].kind, ProfileLineKind::Other);
  EXPECT_EQ(p.lines[6].kind, ProfileLineKind::Section);
  EXPECT_EQ(p.lines[6].Name(), "x");
  EXPECT_FALSE(p.utf8);

  // In a UTF-8 file the mark is kept in the first line, which is still a section header.
  ParsedProfile u = ParseProfile("\xEF\xBB\xBF[s]\r\nk=v\r\n");
  EXPECT_TRUE(u.utf8);
  EXPECT_EQ(u.lines[0].kind, ProfileLineKind::Section);
  EXPECT_EQ(u.lines[0].Name(), "s");
  ASSERT_NE(FindSection(u, "S"), nullptr);
  EXPECT_EQ(FindKey(*FindSection(u, "S"), "K", true), 1u);
}

}  // namespace
}  // namespace talvorin
