#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "shell/ProgramSetup.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

// Runs the body with TZ set to JST, restoring the zone afterwards.
class InJapan : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz ? tz : "";
    hadTz_ = tz != nullptr;
    setenv("TZ", "JST-9", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_)
      setenv("TZ", saved_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  std::string saved_;
  bool hadTz_ = false;
};

// 2026-06-03 00:04:05 UTC is 09:04:05 in Japan, a Wednesday.
void SetModified(const std::string& path) {
  struct timespec times[2] = {{1780445045, 0}, {1780445045, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

using GetFileDateTest = InJapan;

TEST_F(GetFileDateTest, LocalTimeOfTheLastWrite) {
  TestFolder folder;
  folder.Write("talvorin", "exe");
  SetModified(folder.File("talvorin"));
  Timestamp t;
  ASSERT_EQ(GetFileDate(folder.File("talvorin"), t), 0);
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 6);
  EXPECT_EQ(t.day, 3);
  EXPECT_EQ(t.hour, 9);
  EXPECT_EQ(t.minute, 4);
  EXPECT_EQ(t.second, 5);
  EXPECT_EQ(t.dayOfWeek, 3);

  t.year = 1;
  EXPECT_EQ(GetFileDate(folder.File("missing"), t), -1);
  EXPECT_EQ(t.year, 0);
  EXPECT_EQ(t.hour, 0);
}

using SystemInformationTest = InJapan;

TEST_F(SystemInformationTest, WritesVersionAndFileDate) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nLogWriting=1\r\n");
  folder.Write("talvorin-cli", "exe");
  SetModified(folder.File("talvorin-cli"));
  TestContext t(folder);
  EXPECT_EQ(SystemInformation(t.ctx), 0);
  EXPECT_EQ(folder.Read("TALVORIN.ini"),
            "[TALVORIN]\r\nLogWriting=1\r\n[system]\r\nVersion=R1.00.2629\r\nFileDate=2026/06/03 09:04:05\r\n");
  std::vector<std::string> expected = {"!!! routine name : SystemInformation", "+++ システム情報の更新",
                                       "[system] Version=R1.00.2629", "[system] FileDate=2026/06/03 09:04:05"};
  EXPECT_EQ(t.reporter.Lines(), expected);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(SystemInformationTest, FailedWritesAreReportedAndTheNextStepRuns) {
  TestFolder folder;
  TestContext t(folder);
  t.inst.iniPath = folder.File("missing/TALVORIN.ini");
  t.platform.executablePath = folder.File("gone");
  EXPECT_EQ(SystemInformation(t.ctx), -1);
  std::vector<std::string> expected = {"!!! routine name : SystemInformation", "+++ システム情報の更新",
                                       "エラー：[system] Version=R1.00.2629 書き込み失敗",
                                       "エラー：[system] FileDate=0/00/00 00:00:00 書き込み失敗"};
  EXPECT_EQ(t.reporter.Lines(), expected);
  EXPECT_EQ(t.reporter.boxes.size(), 2u);
}

}  // namespace
}  // namespace talvorin
