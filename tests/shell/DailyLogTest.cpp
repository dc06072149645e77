#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

const std::string kRule(70, '-');

std::string Block(const std::vector<std::string>& lines) {
  std::string b = kRule + "\r\n" + "          TESTPC ・ 2026年 6月 3日  9時 5分 7秒\r\n" + kRule + "\r\n";
  for (const std::string& l : lines) b += l + "\r\n";
  return b + "\r\n";
}

TEST(DailyLog, ExactBlockInCp932) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nLogWriting=1\r\n");
  TestContext t(folder);
  t.reporter.Report("+++ 一行目\n二行目", 0);
  t.reporter.Report("エラー：ゾ", -1);
  EXPECT_EQ(WriteLogFile(t.ctx), 0);
  std::string bytes = folder.Read("Log/TALVORIN20260603.log");
  EXPECT_EQ(bytes, test::Cp932(Block({"+++ 一行目", "二行目", "エラー：ゾ"})));
}

TEST(DailyLog, TwoRunsOfOneDayAppendToOneFile) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nLogWriting=1\r\n");
  {
    TestContext t(folder);
    t.reporter.Report("first run", 0);
    ASSERT_EQ(WriteLogFile(t.ctx), 0);
  }
  {
    TestContext t(folder);
    t.platform.now.hour = 17;
    t.reporter.Report("second run", 0);
    ASSERT_EQ(WriteLogFile(t.ctx), 0);
  }
  std::string second = Block({"second run"});
  const std::string nine = " 9時";
  second.replace(second.find(nine), nine.size(), " 17時");
  EXPECT_EQ(folder.ReadCp932("Log/TALVORIN20260603.log"), Block({"first run"}) + second);

  TestContext nextDay(folder);
  nextDay.platform.now.day = 4;
  nextDay.reporter.Report("x", 0);
  ASSERT_EQ(WriteLogFile(nextDay.ctx), 0);
  EXPECT_TRUE(PathExists(folder.File("Log/TALVORIN20260604.log")));
}

TEST(DailyLog, WrittenOnlyForLogWritingOneAndSomethingToWrite) {
  for (const char* ini : {"[TALVORIN]\r\nLogWriting=2\r\n", "[TALVORIN]\r\nLogWriting=\r\n", "", "[TALVORIN]\r\nLogWriting=0\r\n"}) {
    TestFolder folder;
    folder.Write("TALVORIN.ini", ini);
    TestContext t(folder);
    t.reporter.Report("line", 0);
    EXPECT_EQ(WriteLogFile(t.ctx), 0);
    EXPECT_FALSE(PathExists(folder.File("Log"))) << ini;
  }
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nLogWriting=1\r\n");
  TestContext t(folder);
  EXPECT_EQ(WriteLogFile(t.ctx), 0);  // empty message list
  EXPECT_FALSE(PathExists(folder.File("Log")));
}

TEST(DailyLog, FailuresAreReported) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nLogWriting=1\r\n");
  {
    // The log folder cannot be made: the program folder lies under a missing folder.
    TestContext t(folder);
    t.inst.programFolder = folder.File("missing/TALVORIN/");
    t.reporter.Report("line", 0);
    EXPECT_EQ(WriteLogFile(t.ctx), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "フォルダ " + folder.File("missing/TALVORIN/Log") + " 作成失敗");
  }
  {
    // "Log" is a file: the log file cannot be opened.
    folder.Write("Log", "not a folder");
    TestContext t(folder);
    t.reporter.Report("line", 0);
    EXPECT_EQ(WriteLogFile(t.ctx), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "ログファイル " + folder.File("Log/TALVORIN20260603.log") + " 作成失敗");
    ASSERT_EQ(t.reporter.boxes.size(), 1u);
  }
}

}  // namespace
}  // namespace talvorin
