#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

TEST(StartBanner, FiveLines) {
  TestFolder folder;
  TestContext t(folder);
  WriteStartBanner(t.ctx);
  const std::string rule = "_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/";
  std::vector<std::string> expected = {rule, "ブレンホルト　二次元ＣＡＭシステム", "TALVORIN Release Version R1.00.2629",
                                       "Start 2026年 6月 3日 (水) 9時 5分 7秒", rule};
  EXPECT_EQ(t.reporter.Lines(), expected);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST(DayName, SundayFirst) {
  std::string all;
  for (int i = 0; i < 7; ++i) all += DayName(i);
  EXPECT_EQ(all, "日月火水木金土");
  EXPECT_EQ(DayName(7), "");
}

TEST(CreateFolders, CreatesMissingUpToTheFirstMissingKey) {
  TestFolder folder;
  folder.WriteCp932("TALVORIN.ini",
                    "[folder]\r\nfolder0=db\r\nfolder1=ncdata\r\nfolder2=図面\r\nfolder4=never\r\n");
  folder.Write("ncdata/keep", "x");
  TestContext t(folder);
  EXPECT_EQ(CreateFolders(t.ctx), 0);
  EXPECT_TRUE(PathExists(folder.File("db")));
  EXPECT_TRUE(PathExists(folder.File("図面")));
  EXPECT_FALSE(PathExists(folder.File("never")));
  std::vector<std::string> expected = {"--- フォルダ作成 " + folder.File("db"), "--- フォルダ作成 " + folder.File("図面")};
  EXPECT_EQ(t.reporter.Lines(), expected);

  // A second start finds them all.
  TestContext again(folder);
  EXPECT_EQ(CreateFolders(again.ctx), 0);
  EXPECT_TRUE(again.reporter.Lines().empty());
}

TEST(CreateFolders, FailureStopsWithItsMessage) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[folder]\r\nfolder0=no/such/place\r\nfolder1=db\r\n");
  TestContext t(folder);
  EXPECT_EQ(CreateFolders(t.ctx), -1);
  std::string path = folder.File("no/such/place");
  std::vector<std::string> expected = {"--- フォルダ作成 " + path, "エラー：フォルダ " + path + " 作成失敗"};
  EXPECT_EQ(t.reporter.Lines(), expected);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].second, -1);
  EXPECT_FALSE(PathExists(folder.File("db")));
}

}  // namespace
}  // namespace talvorin
