// talvorin-cli "hole" as a black box on a copy of the shipped program folder: projects made with
// "new", one group of each kind entered as a user enters it, and the stored groups compared with the
// values worked out by hand from the shipped tables.
#include <gtest/gtest.h>

#include <map>

#include "HoleTestSupport.h"
#include "support/CliRun.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

using test::TestFolder;

class HoleCli : public ::testing::Test {
 protected:
  test::CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  // A project made with "new": 200 x 150 x `thickness`.
  void NewProject(const std::string& name, const std::string& thickness) {
    test::CliResult r = Run({"new", name, "--size", "200,150," + thickness, "--material", "SS400",
                             "--controller", "FANUC", "--coord", "G54", "--onumber", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
  }

  // A parameter default of the shipped default table, as choosing the kind fills it in.
  std::string Default(const std::string& kind, int i) const {
    std::string table = folder.File("DefaultValue.tbl");
    if (i > ReadInt(table, kind, "index", 10)) return "";
    return ReadString(table, kind, Sprintf("%s%d", kind.c_str(), i), 16);
  }

  // The expected variable lines: the derived and given values, the kind's defaults elsewhere.
  std::string Variables(const std::string& kind, const std::map<int, std::string>& values) const {
    std::array<std::string, 10> all;
    for (int i = 0; i < 10; ++i) {
      auto v = values.find(i);
      all[static_cast<std::size_t>(i)] = v != values.end() ? v->second : Default(kind, i);
    }
    return test::VariableLines(all);
  }

  std::string Group(const std::string& project, int n) const {
    return Cp932ToUtf8(test::SectionText(folder.Read("db/" + project + ".dat"), Sprintf("hole%d", n)));
  }

  test::ShippedFolder folder;
  TestFolder output;
};

TEST_F(HoleCli, EveryKindFromTheShippedTables) {
  // Plate A, 12 thick: through depths t + 2 = 14, drill points P(d) = d/2 tan 31°.
  NewProject("PLATE-A", "12");

  // Drill 6.8: 2.0429 + 14 = 16.0429, shown "%.1f".
  test::CliResult r = Run({"hole", "PLATE-A", "--group", "1", "--kind", "DRILL", "--set", "0=6.8", "--at",
                           "20,20", "--at", "40,20.5"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string drill = "command=ドリル穴 [DRILL]\r\n" + Variables("DRILL", {{0, "6.8"}, {1, "16.0"}}) +
                      "X0=20.\r\nY0=20.\r\nX1=40.\r\nY1=20.5\r\n";
  EXPECT_EQ(Group("PLATE-A", 1), "[hole1]\r\n" + drill + "\r\n");
  std::string printed = drill;
  for (std::size_t at; (at = printed.find("\r\n")) != std::string::npos;)
    printed.replace(at, 2, "\n");
  EXPECT_EQ(r.out, "[hole1]\n" + printed);
  EXPECT_EQ(r.err, "");

  // M10 tap (kind word in lower case): [M10] depth 20 pitch 1.5 pilothole 8.5 pilotdepth 27.5
  // chamfer 0.8. Depth 0.75 x 10 + 12 = 19.5 < 20; pilot depth P(10) + 14 = 17.0 < 27.5.
  // Four points on a circle of radius 30 about (100, 75), the count and the start from the step.
  r = Run(
      {"hole", "PLATE-A", "--group", "2", "--kind", "ntap", "--set", "0=10", "--circle", "100,75,30,90,,"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-A", 2),
            "[hole2]\r\ncommand=タップ穴 [NTAP]\r\n" +
                Variables("NTAP", {{0, "10"}, {1, "19.5"}, {2, "1.5"}, {3, "8.5"}, {4, "17"}, {5, "0.8"}}) +
                "X0=130.\r\nY0=75.\r\nX1=100.\r\nY1=105.\r\nX2=70.\r\nY2=75.\r\nX3=100.\r\nY3=45.\r\n\r\n");

  // H7 reamer 10: [M10] pilothole 9.7 chamfer 0.3. Depth 12 + 10; pilot depth P(9.7) + 14 = 16.9.
  // Positions from a CSV file.
  output.Write("points.csv", "25,30\r\n45,30\r\n");
  r = Run({"hole", "PLATE-A", "--group", "3", "--kind", "REAMER", "--set", "0=10", "--csv",
           output.File("points.csv")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-A", 3),
            "[hole3]\r\ncommand=リーマ穴 [REAMER]\r\n" +
                Variables("REAMER", {{0, "10"}, {1, "22"}, {2, "9.7"}, {3, "16.9"}, {4, "0.3"}}) +
                "X0=25.\r\nY0=30.\r\nX1=45.\r\nY1=30.\r\n\r\n");

  // M6 cap screw, chosen by its label: [D6.6] counterbore 11 depth 6.5; bolt hole P(6.6) + 14 = 16.0.
  // The chamfer is the user's.
  r = Run({"hole", "PLATE-A", "--group", "4", "--kind", "ザグリ穴 [COUNTERBORE]", "--set", "0=6.6", "--set",
           "4=0.5", "--at", "150,30"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-A", 4),
            "[hole4]\r\ncommand=ザグリ穴 [COUNTERBORE]\r\n" +
                Variables("COUNTERBORE", {{0, "6.6"}, {1, "16"}, {2, "11"}, {3, "6.5"}, {4, "0.5"}}) +
                "X0=150.\r\nY0=30.\r\n\r\n");

  // Slot 10 wide, 30 between its end centres, along X: pilot 10 - 0.5, longhole10 = 8.
  r = Run({"hole", "PLATE-A", "--group", "5", "--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--set",
           "3=0", "--at", "50,120"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-A", 5),
            "[hole5]\r\ncommand=長穴 [LONGHOLE]\r\n" +
                Variables("LONGHOLE",
                          {{0, "10"}, {1, "30"}, {2, "14."}, {3, "0"}, {6, "9.5"}, {8, "8"}, {9, "8"}}) +
                "CX0=50.\r\nCY0=120.\r\nX0=35.\r\nY0=120.\r\nX1=65.\r\nY1=120.\r\n\r\n");

  // Counterbored slot for an M8 screw, 9 wide, at 90 degrees: [D9] counterbore 14 depth 8.6,
  // pilot 8.5, longhole9 = 8; the ends 10 below and above the centre.
  r = Run({"hole", "PLATE-A", "--group", "6", "--kind", "CBLONGHOLE", "--set", "0=9", "--set", "1=20",
           "--set", "3=90", "--at", "150,120"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-A", 6),
            "[hole6]\r\ncommand=ザグリ長穴 [CBLONGHOLE]\r\n" +
                Variables("CBLONGHOLE", {{0, "9"},
                                         {1, "20"},
                                         {2, "14."},
                                         {3, "90"},
                                         {4, "14"},
                                         {5, "8.6"},
                                         {6, "8.5"},
                                         {8, "8"},
                                         {9, "8"}}) +
                "CX0=150.\r\nCY0=120.\r\nX0=150.\r\nY0=110.\r\nX1=150.\r\nY1=130.\r\n\r\n");

  // Six groups are a project's all: the other two kinds go into plate B, 20 thick (t + 2 = 22).
  NewProject("PLATE-B", "20");

  // U-groove 12 wide towards the 90 degree edge: ugroove12 = 10.
  r = Run({"hole", "PLATE-B", "--group", "1", "--kind", "UGROOVE", "--set", "0=12", "--set", "1=90", "--at",
           "100,150"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Group("PLATE-B", 1),
            "[hole1]\r\ncommand=Ｕ溝 [UGROOVE]\r\n" +
                Variables("UGROOVE", {{0, "12"}, {1, "90"}, {2, "22."}, {8, "10"}, {9, "10"}}) +
                "X0=100.\r\nY0=150.\r\n\r\n");

  // Big hole 30: depth 22.; the tools given after the derivation.
  r = Run({"hole", "PLATE-B", "--group", "2", "--kind", "BIGHOLE", "--set", "0=30", "--set", "6=20", "--set",
           "8=16", "--set", "9=16", "--at", "100,75"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Group("PLATE-B", 2),
            "[hole2]\r\ncommand=大穴 [BIGHOLE]\r\n" +
                Variables("BIGHOLE", {{0, "30"}, {1, "22."}, {6, "20"}, {8, "16"}, {9, "16"}}) +
                "X0=100.\r\nY0=75.\r\n\r\n");

  // Opened again with a diameter of 16, the stored tools are too large: three warnings, saved all the same.
  r = Run({"hole", "PLATE-B", "--group", "2", "--set", "0=16"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "[6] 警告：加工穴(16.00)より工具径(20.0)のが大きいです\n"
            "[8] 警告：加工穴(16.00)より工具径(16.0)のが大きいです\n"
            "[9] 警告：加工穴(16.00)より工具径(16.0)のが大きいです\n");
  EXPECT_EQ(ReadString(folder.File("db/PLATE-B.dat"), "hole2", "variable0", 16), "16");
  EXPECT_EQ(ReadString(folder.File("db/PLATE-B.dat"), "hole2", "X0", 16), "100.");

  // The main window's group buttons show the labels.
  r = Run({"load", folder.File("db/PLATE-A.dat")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("[06]=ザグリ長穴 [CBLONGHOLE]\n"), std::string::npos) << r.out;
}

TEST_F(HoleCli, FailuresAndBadUsage) {
  NewProject("PLATE", "12");
  std::string before = folder.Read("db/PLATE.dat");

  // A kind the table does not offer.
  test::CliResult r = Run({"hole", "PLATE", "--group", "1", "--kind", "CHAMFER"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：加工命令 CHAMFER は加工命令テーブルにありません\n");

  // A slot too narrow for any end mill: the derivation fails and nothing is saved.
  r = Run({"hole", "PLATE", "--group", "1", "--kind", "LONGHOLE", "--set", "0=2", "--at", "1,1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：加工工具径の取得失敗\n");
  EXPECT_EQ(folder.Read("db/PLATE.dat"), before);

  // A required parameter left empty.
  r = Run({"hole", "PLATE", "--group", "1", "--kind", "DRILL", "--set", "0="});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[0] 穴径 取出失敗\n");
  EXPECT_EQ(ReadString(folder.File("db/PLATE.dat"), "hole1", "variable0", 16), "");

  // A project that does not exist is not created from an empty header.
  r = Run({"hole", "NONE", "--group", "1", "--kind", "DRILL", "--set", "0=10"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：プロジェクトＤＢ " + folder.File("db/NONE.dat") + " がありません\n");
  EXPECT_FALSE(PathExists(folder.File("db/NONE.dat")));

  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
           {"hole", "PLATE", "--group", "7"},
           {"hole", "PLATE"},
           {"hole", "PLATE", "--group", "1", "--set", "10=1"},
           {"hole", "PLATE", "--group", "1", "--set", "0=1234567890123456"},
           {"hole", "PLATE", "--group", "1", "--at", "1"},
           {"hole", "PLATE", "--group", "1", "--at", "a,1"},
           {"hole", "PLATE", "--group", "1", "--circle", "0,0,50,90"},
           {"hole", "PLATE", "--group", "1", "--circle", "0,0,50,90,0,x"},
           {"hole", "..", "--group", "1"},
       }) {
    r = Run(bad);
    EXPECT_EQ(r.status, bad[1] == ".." ? 1 : 2) << bad.back();
  }
}

}  // namespace
}  // namespace talvorin
