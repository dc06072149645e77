// talvorin-cli "tools" and "condition" as black boxes on a copied program folder.
#include <gtest/gtest.h>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class ToolCli : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  test::CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path()};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  TestFolder folder;
};

TEST_F(ToolCli, ToolsListsEveryPocket) {
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "TALVORIN", "MaxToolNumber", "3"));
  folder.WriteCp932(
      "ToolMagazine.tbl",
      "[T1]\r\ntoolname=センタードリル\r\ndiameter=3\r\n[T2]\r\ntoolname=ドリル\r\ndiameter=6.8\r\n"
      "[T3]\r\ntoolname=\r\ndiameter=\r\n[T4]\r\ntoolname=リーマ\r\ndiameter=8\r\n");
  test::CliResult r = Run({"--quiet", "tools"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "T01  センタードリル    3\n"
            "T02  ドリル            6.8\n"
            "T03\n");
  EXPECT_EQ(r.err, "");

  // The shipped magazine: thirty pockets, the first a centre drill.
  test::CopyProgramFolder(folder);
  r = Run({"--quiet", "tools"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with("T01  センタードリル    3\nT02  ドリル            3.3\n")) << r.out;
  EXPECT_TRUE(r.out.ends_with("\nT30  仕上エンドミル    16\n")) << r.out;
}

TEST_F(ToolCli, ToolsCreatesAMissingMagazine) {
  ASSERT_EQ(std::remove(folder.File("ToolMagazine.tbl").c_str()), 0);
  test::CliResult r = Run({"tools"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("!!! 工具ファイル " + folder.File("ToolMagazine.tbl") + " を新規作成\n"),
            std::string::npos);
  EXPECT_TRUE(
      r.out.ends_with("\nT01\nT02\nT03\nT04\nT05\nT06\nT07\nT08\nT09\nT10\nT11\nT12\nT13\nT14\nT15\n"
                      "T16\nT17\nT18\nT19\nT20\nT21\nT22\nT23\nT24\nT25\nT26\nT27\nT28\nT29\nT30\n"))
      << r.out;
  EXPECT_TRUE(PathExists(folder.File("ToolMagazine.tbl")));
}

TEST_F(ToolCli, ConditionPrintsWhatTheTableHolds) {
  // Drill 6.8 in SS400: S = 1000 x 25 / (pi x 6.8) = 1170.3 -> 1170, F = 0.12 x 1170 = 140.4 -> 140.
  test::CliResult r = Run({"condition", "drill", "SS400", "6.8"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.ends_with("... Drill Table File " + folder.File("table/drillSS400.tbl") +
                              "\nS=1170\nF=140\nQ=6.8\n"))
      << r.out;
  EXPECT_EQ(r.err, "");

  // M10 tap: S = 1000 x 10 / (pi x 10) = 318.3 -> 320, F = 1.5 x 320.
  r = Run({"--quiet", "condition", "ntap", "SS400", "10"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "S=320\nF=480\n");

  // Centre drill: S = 1000 x 20 / (pi x 3) = 2122 -> 2120, F = 0.05 x 2120, Z = -3 / 3.
  r = Run({"--quiet", "condition", "cdrill", "SS400", "3"});
  EXPECT_EQ(r.out, "S=2120\nF=106\nZ=-1\n");

  // 10.04 reads the section of 10.0.
  EXPECT_EQ(Run({"--quiet", "condition", "reamer", "SS400", "10.04"}).out,
            Run({"--quiet", "condition", "reamer", "SS400", "10"}).out);
}

TEST_F(ToolCli, ConditionNotFoundExitsOneWithTheMessage) {
  test::CliResult r = Run({"--quiet", "condition", "drill", "SS400", "0.5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "エラー：φ0.50 の加工条件がみつかりません。\n");

  r = Run({"--quiet", "condition", "ntap", "SS400", "9"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：φ9.00 のタップ加工条件がみつかりません。\n");

  r = Run({"condition", "endmillR", "SKD11", "10"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("... endmillR Table File " + folder.File("table/endmillRSKD11.tbl") + "\n"),
            std::string::npos);

  // Keys that are there are printed even when another is missing.
  folder.WriteCp932("table/drillSS400.tbl", "[D5.0]\r\nS=1590\r\nF=191\r\n");
  r = Run({"--quiet", "condition", "drill", "SS400", "5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "S=1590\nF=191\n");
}

TEST_F(ToolCli, BadUsageExitsTwo) {
  EXPECT_EQ(Run({"tools", "extra"}).status, 2);
  EXPECT_EQ(Run({"condition", "drill", "SS400"}).status, 2);
  EXPECT_EQ(Run({"condition", "drill", "SS400", "6.8", "x"}).status, 2);
  EXPECT_EQ(Run({"condition", "drill", "SS400", "abc"}).status, 2);
  EXPECT_EQ(Run({"condition", "drill", "SS400", "6.8mm"}).status, 2);
  EXPECT_EQ(Run({"condition", "drill", "SS400", ""}).status, 2);
}

}  // namespace
}  // namespace talvorin
