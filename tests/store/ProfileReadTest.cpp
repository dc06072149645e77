// Reading the profile store: how lines, names and values of a file are recognised, and what a read
// returns for them. Every file is written here byte by byte.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestFolder;

class ProfileRead : public ::testing::Test {
 protected:
  // A new file with these bytes. Each case gets its own file, so no case depends on how quickly the
  // file system's clock ticks between two rewrites of one file.
  std::string File(std::string_view bytes) {
    std::string name = "case" + std::to_string(count_++) + ".ini";
    folder_.Write(name, bytes);
    return folder_.File(name);
  }

  TestFolder folder_;
  int count_ = 0;
};

TEST_F(ProfileRead, EveryLineEndEndsALineAndALastLineWithoutAnEndCounts) {
  std::string f = File("[s]\r\ncrlf=1\r\nlf=2\ncr=3\rlast=4");
  EXPECT_EQ(ReadString(f, "s", "crlf", 16), "1");
  EXPECT_EQ(ReadString(f, "s", "lf", 16), "2");
  EXPECT_EQ(ReadString(f, "s", "cr", 16), "3");
  EXPECT_EQ(ReadString(f, "s", "last", 16), "4");

  // CR LF is one line end, LF CR two: the blank line between does not end the section.
  std::string g = File("[s]\n\rk=5\r\r\nj=6\r");
  EXPECT_EQ(ReadString(g, "s", "k", 16), "5");
  EXPECT_EQ(ReadString(g, "s", "j", 16), "6");
}

TEST_F(ProfileRead, BlanksAroundNamesAndValuesInTheFileAreTrimmed) {
  std::string f = File(Cp932("[ \tMachine \t]\r\n \tOrigin \t= \t左下  中央 \t\r\n"));
  EXPECT_EQ(ReadString(f, "Machine", "Origin", 32), "左下  中央");
  // The caller's section and key lose their spaces too, but not their tabs.
  EXPECT_EQ(ReadString(f, "  Machine ", " Origin  ", 32), "左下  中央");
  EXPECT_EQ(ReadString(f, "\tMachine", "Origin", 32), "");
  EXPECT_EQ(ReadString(f, "Machine", "Origin\t", 32), "");
}

TEST_F(ProfileRead, SectionHeaderEndsAtItsFirstBracket) {
  std::string f = File(
      "[a] text after the bracket\r\nk=1\r\n"
      "[b\r\nk=2\r\n"
      "[c]]\r\nk=3\r\n"
      "[d]x]\r\nk=4\r\n");
  EXPECT_EQ(ReadString(f, "a", "k", 16), "1");
  EXPECT_EQ(ReadString(f, "b", "k", 16), "2");  // "]" missing
  EXPECT_EQ(ReadString(f, "c", "k", 16), "3");
  EXPECT_EQ(ReadString(f, "c]", "k", 16), "");
  EXPECT_EQ(ReadString(f, "d", "k", 16), "4");
  EXPECT_EQ(ReadString(f, "d]x", "k", 16), "");
}

TEST_F(ProfileRead, CommentLinesAreNoKeys) {
  std::string f = File("[s]\r\n;a=1\r\n   ;b=2\r\n\t;c=3\r\nd=x;y\r\ne;f=5\r\n");
  EXPECT_EQ(ReadString(f, "s", ";a", 16), "");
  EXPECT_EQ(ReadString(f, "s", "a", 16), "");
  EXPECT_EQ(ReadString(f, "s", "b", 16), "");
  EXPECT_EQ(ReadString(f, "s", "c", 16), "");
  EXPECT_EQ(ReadString(f, "s", "d", 16), "x;y");  // a ";" later in the line is text
  EXPECT_EQ(ReadString(f, "s", "e;f", 16), "5");
  // A commented-out section header hides nothing: its keys stay in the section before it.
  std::string g = File("[s]\r\n;[t]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(g, "s", "k", 16), "1");
  EXPECT_EQ(ReadString(g, "t", "k", 16), "");
}

TEST_F(ProfileRead, KeyLineSplitsAtItsFirstEquals) {
  std::string f = File("[s]\r\nk=a=b\r\nempty==\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "a=b");
  EXPECT_EQ(ReadString(f, "s", "k=a", 16), "");
  EXPECT_EQ(ReadString(f, "s", "empty", 16), "=");
}

TEST_F(ProfileRead, LinesBeforeTheFirstSectionAreUnreachable) {
  std::string f = File("k=1\r\n[s]\r\nj=2\r\n");
  EXPECT_EQ(ReadString(f, "", "k", 16), "");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "");
  EXPECT_EQ(ReadInt(f, "", "k", 7), 7);
  EXPECT_EQ(ReadString(f, "s", "j", 16), "2");
}

TEST_F(ProfileRead, NamesMatchIgnoringAsciiLetterCaseOnly) {
  std::string f = File("[Machine]\r\nOrigin=1\r\n[@]\r\nx[=2\r\n");
  EXPECT_EQ(ReadString(f, "MACHINE", "origin", 16), "1");
  EXPECT_EQ(ReadString(f, "machine", "ORIGIN", 16), "1");
  // "@" and "`", "[" and "{" differ by 0x20 like letters of two cases, but are no letters.
  EXPECT_EQ(ReadString(f, "@", "x[", 16), "2");
  EXPECT_EQ(ReadString(f, "`", "x[", 16), "");
  EXPECT_EQ(ReadString(f, "@", "X{", 16), "");
}

TEST_F(ProfileRead, TrailByteOfADoubleByteCharacterIsNotCaseFolded) {
  // ア is 83 41 and ヂ is 83 61: their trail bytes are "A" and "a", yet they are different names.
  ASSERT_EQ(Cp932("ア"), "\x83\x41");
  ASSERT_EQ(Cp932("ヂ"), "\x83\x61");
  std::string f = File("[\x83\x41]\r\n\x83\x41=1\r\n");
  EXPECT_EQ(ReadString(f, "ア", "ア", 16), "1");
  EXPECT_EQ(ReadString(f, "ア", "ヂ", 16), "");
  EXPECT_EQ(ReadString(f, "ヂ", "ア", 16), "");
  std::string g = File("[s]\r\n\x83\x61=2\r\n\x83\x41=1\r\n");
  EXPECT_EQ(ReadString(g, "s", "ア", 16), "1");
  EXPECT_EQ(ReadString(g, "s", "ヂ", 16), "2");
}

TEST_F(ProfileRead, OnlyTheFirstSectionOfANameIsSearchedAndTheFirstKeyWins) {
  std::string f = File("[s]\r\nk=1\r\nK=2\r\n[t]\r\nj=0\r\n[S]\r\nk=3\r\nm=4\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  EXPECT_EQ(ReadString(f, "s", "m", 16), "");
  EXPECT_EQ(ReadInt(f, "S", "m", -5), -5);
  EXPECT_EQ(ReadString(f, "t", "j", 16), "0");
}

TEST_F(ProfileRead, OneMatchingPairOfQuotesIsRemoved) {
  std::string f = File(
      "[s]\r\n"
      "dq=\"abc\"\r\n"
      "sq='abc'\r\n"
      "mixed='abc\"\r\n"
      "inner= \"  a b  \" \r\n"
      "one=\"\r\n"
      "twice=\"\"x\"\"\r\n"
      "middle=a\"b\"\r\n");
  EXPECT_EQ(ReadString(f, "s", "dq", 16), "abc");
  EXPECT_EQ(ReadString(f, "s", "sq", 16), "abc");
  EXPECT_EQ(ReadString(f, "s", "mixed", 16), "'abc\"");
  EXPECT_EQ(ReadString(f, "s", "inner", 16), "  a b  ");
  EXPECT_EQ(ReadString(f, "s", "one", 16), "\"");
  EXPECT_EQ(ReadString(f, "s", "twice", 16), "\"x\"");
  EXPECT_EQ(ReadString(f, "s", "middle", 16), "a\"b\"");
}

TEST_F(ProfileRead, EmptyValueReadsAsEmptyTextAndAsAMissingInteger) {
  std::string f = File("[s]\r\nempty=\r\nblanks= \t \r\nquotes=\"\"\r\n");
  for (const char* key : {"empty", "blanks", "quotes"}) {
    EXPECT_EQ(ReadString(f, "s", key, 16), "") << key;
    EXPECT_EQ(ReadString(f, "s", key, 16, "dat"), "") << key;
    EXPECT_EQ(ReadInt(f, "s", key, 42), 42) << key;
  }
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "dat"), "dat");
  EXPECT_EQ(ReadInt(f, "s", "absent", 42), 42);
  EXPECT_EQ(ReadString(folder_.File("no-such-file.ini"), "s", "k", 16, "dat"), "dat");
}

TEST_F(ProfileRead, ValueIsCutToLimitLessOneByte) {
  std::string f = File("[s]\r\nk=ABCDEFGHIJKLMNOPQRST\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(ReadString(f, "s", "k", 20), "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(ReadString(f, "s", "k", 21), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(ReadString(f, "s", "k", 2), "A");
  EXPECT_EQ(ReadString(f, "s", "k", 1), "");
}

TEST_F(ProfileRead, CutNeverSplitsADoubleByteCharacter) {
  // ド (83 68) would take bytes 15 and 16 of a 16-byte field, whose last byte is the terminator.
  std::string f =
      File("[s]\r\nk=ABCDEFGHIJKLMN\x83\x68X\r\nkana=\xB1\xB2\xB3\r\nsplit=A\x83\x5D\x83\x5C\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "ABCDEFGHIJKLMN");
  EXPECT_EQ(ReadString(f, "s", "k", 17), "ABCDEFGHIJKLMNド");
  EXPECT_EQ(ReadString(f, "s", "k", 18), "ABCDEFGHIJKLMNドX");
  EXPECT_EQ(ReadString(f, "s", "kana", 3), "ｱｲ");  // half-width katakana are one byte each
  EXPECT_EQ(ReadString(f, "s", "split", 3), "A");
  EXPECT_EQ(ReadString(f, "s", "split", 4), "Aゾ");
  // The same rule in a UTF-8 file: the limit still counts CP932 bytes.
  std::string u = File("\xEF\xBB\xBF[s]\r\nk=日本語\r\n");
  EXPECT_EQ(ReadString(u, "s", "k", 6), "日本");
  EXPECT_EQ(ReadString(u, "s", "k", 7), "日本語");
}

TEST_F(ProfileRead, DefaultLosesTrailingSpacesAndIsCutToTheLimit) {
  std::string f = File("[s]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "0.5   "), "0.5");
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "  0.5"), "  0.5");
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "a\t "), "a\t");
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "   "), "");
  EXPECT_EQ(ReadString(f, "s", "absent", 4, "notepad.exe"), "not");
  EXPECT_EQ(ReadString(f, "s", "absent", 4, "日本語"), "日");
  EXPECT_EQ(ReadString(f, "s", "k", 16, "dflt"), "1");
}

TEST_F(ProfileRead, IntegerIsTheLeadingDecimalNumberWrappingAt32Bits) {
  std::string f = File(
      "[s]\r\n"
      "letters=abc\r\n"
      "tail=12abc\r\n"
      "blank= 7\r\n"
      "tab=\t7\r\n"
      "minus=-1\r\n"
      "plus=+5\r\n"
      "sign=-\r\n"
      "empty=\r\n"
      "max=4294967295\r\n"
      "wrap=4294967296\r\n"
      "wrap1=4294967297\r\n"
      "intmax=2147483647\r\n"
      "intmax1=2147483648\r\n"
      "big=-4294967297\r\n"
      "point=3.9\r\n"
      "inner=1 2\r\n");
  EXPECT_EQ(ReadInt(f, "s", "letters", 99), 0);
  EXPECT_EQ(ReadInt(f, "s", "tail", 99), 12);
  EXPECT_EQ(ReadInt(f, "s", "blank", 99), 7);
  EXPECT_EQ(ReadInt(f, "s", "tab", 99), 7);
  EXPECT_EQ(ReadInt(f, "s", "minus", 99), -1);
  EXPECT_EQ(ReadInt(f, "s", "plus", 99), 5);
  EXPECT_EQ(ReadInt(f, "s", "sign", 99), 0);
  EXPECT_EQ(ReadInt(f, "s", "empty", 99), 99);
  EXPECT_EQ(ReadInt(f, "s", "absent", 99), 99);
  EXPECT_EQ(ReadInt(f, "absent", "tail", -1), -1);
  EXPECT_EQ(ReadInt(f, "s", "max", 99), -1);
  EXPECT_EQ(ReadInt(f, "s", "wrap", 99), 0);
  EXPECT_EQ(ReadInt(f, "s", "wrap1", 99), 1);
  EXPECT_EQ(ReadInt(f, "s", "intmax", 99), INT_MAX);
  EXPECT_EQ(ReadInt(f, "s", "intmax1", 99), INT_MIN);
  EXPECT_EQ(ReadInt(f, "s", "big", 99), -1);
  EXPECT_EQ(ReadInt(f, "s", "point", 99), 3);
  EXPECT_EQ(ReadInt(f, "s", "inner", 99), 1);
  EXPECT_EQ(ReadInt(folder_.File("no-such-file.ini"), "s", "k", 1000), 1000);
}

TEST_F(ProfileRead, TrailBytesThatLookLikeBracketsOrBackslashAreCharacterHalves) {
  // ゾ is 83 5D ("]" as trail byte), ー 81 5B ("["), ソ 83 5C ("\").
  ASSERT_EQ(Cp932("ゾ"), "\x83\x5D");
  ASSERT_EQ(Cp932("ー"), "\x81\x5B");
  ASSERT_EQ(Cp932("ソ"), "\x83\x5C");
  std::string f =
      File(Cp932("[ゾ]\r\n"
                 "ソ=ゾ]ソ\r\n"
                 "[ゾーン] 注記\r\n"
                 "キー=[ゾ]\r\n"
                 "ソゾ=ソ\r\n"
                 "[ソゾ]\r\n"
                 "k=ゾ\r\n"));
  EXPECT_EQ(ReadString(f, "ゾ", "ソ", 32), "ゾ]ソ");
  EXPECT_EQ(ReadString(f, "ゾーン", "キー", 32), "[ゾ]");
  EXPECT_EQ(ReadString(f, "ゾーン", "ソゾ", 32), "ソ");
  EXPECT_EQ(ReadString(f, "ソゾ", "k", 32), "ゾ");
}

TEST_F(ProfileRead, InvalidCp932BytesDecodeAsReplacementCharacters) {
  // 80, A0 and FF are no CP932 characters; 81 followed by "!" is a lead byte with a bad trail.
  std::string f = File("[s]\r\nk=A\x80Z\xA0\xFF\x81!C\r\nend=\x83\r\nnext=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 64), "A\uFFFDZ\uFFFD\uFFFD\uFFFD!C");
  EXPECT_EQ(ReadString(f, "s", "end", 64), "\uFFFD");  // a lead byte at the end of the line
  EXPECT_EQ(ReadString(f, "s", "next", 64), "1");
}

TEST_F(ProfileRead, FileWithUtf8ByteOrderMarkIsReadAsUtf8) {
  std::string f = File("\xEF\xBB\xBF[設定]\r\nキー=値ゾ😀\r\nn=12\r\n");
  EXPECT_EQ(ReadString(f, "設定", "キー", 64), "値ゾ😀");
  EXPECT_EQ(ReadInt(f, "設定", "n", 0), 12);
  // The same bytes without the mark are CP932, in which they spell other characters.
  std::string g = File("[s]\r\nk=\xE6\x97\xA5\r\n");
  EXPECT_NE(ReadString(g, "s", "k", 16), "日");
}

TEST_F(ProfileRead, JapaneseKeysAndValues) {
  std::string f = File(Cp932("[machine]\r\n左下=1\r\n右上=表示\r\n[工具]\r\n名前=ドリル\r\n"));
  EXPECT_EQ(ReadString(f, "machine", "左下", 16), "1");
  EXPECT_EQ(ReadInt(f, "MACHINE", "左下", 0), 1);
  EXPECT_EQ(ReadString(f, "machine", "右上", 16), "表示");
  EXPECT_EQ(ReadString(f, "工具", "名前", 16), "ドリル");
  EXPECT_EQ(ReadString(f, "工具", "左下", 16), "");
}

TEST_F(ProfileRead, PathExistsForFilesAndFolders) {
  std::string f = File("");
  EXPECT_TRUE(PathExists(f));
  EXPECT_TRUE(PathExists(folder_.path()));
  EXPECT_TRUE(PathExists(folder_.path().substr(0, folder_.path().size() - 1)));
  EXPECT_FALSE(PathExists(folder_.File("absent")));
  EXPECT_FALSE(PathExists(""));
}

}  // namespace
}  // namespace talvorin
