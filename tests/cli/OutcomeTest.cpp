// Outcomes through talvorin-cli as a black box: a planning that reports an error or leaves holes out
// saves nothing and fails; failures of saving, drawing and the time estimate exit 1 with their message
// instead of being reported as success.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::CliResult;
using test::TestFolder;

class Outcome : public ::testing::Test {
 protected:
  void SetUp() override {
    test::CopyProgramFolder(folder);
    Ok({"new", "P", "--size", "200,150,20", "--material", "SS400", "--controller", "FANUC", "--coord",
        "G54"});
  }

  std::vector<std::string> Command(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }
  CliResult Run(std::vector<std::string> args) { return test::RunProgram(Command(args)); }
  void Ok(std::vector<std::string> args) {
    CliResult r = Run(args);
    ASSERT_EQ(r.status, 0) << args[0] << "\n" << r.err;
  }
  void Hole(int group, std::vector<std::string> rest) {
    std::vector<std::string> args{"hole", "P", "--group", std::to_string(group)};
    args.insert(args.end(), rest.begin(), rest.end());
    Ok(args);
  }

  std::string DbPath() const { return folder.File("db/P.dat"); }
  std::string Db() const { return folder.Read("db/P.dat"); }
  std::string Tool(int n) const { return ReadString(DbPath(), Sprintf("ncproc%d", n), "tool", 32); }
  std::string NcFile() const {
    return ReadString(DbPath(), "machine", "ncpath", 260) + "/" +
           ReadString(DbPath(), "machine", "ncfile", 260);
  }

  TestFolder folder;
};

TEST_F(Outcome, APlanningThatReportsAnErrorSavesNothing) {
  // An M8 tap planned with the magazine's 6.8 pilot drill: three holes' worth of rows are stored.
  Hole(1, {"--kind", "NTAP", "--set", "0=8", "--at", "20,20"});
  Ok({"plan", "P"});
  ASSERT_EQ(Tool(2), "ドリル");
  ASSERT_EQ(Tool(4), "並目タップ");
  const std::string planned = Db();

  // A pilot of 6.9 has no pocket in the magazine: its row gets no tool number. Saving the others would
  // leave the tap without its hole.
  Hole(1, {"--set", "3=6.9"});
  const std::string before = Db();
  CliResult r = Run({"plan", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("エラー：工具番号の設定がありません\n"), std::string::npos) << r.err;
  EXPECT_TRUE(r.err.ends_with("エラー：保存できない工程があるため工程を保存しません\n")) << r.err;
  EXPECT_EQ(Db(), before);
  EXPECT_EQ(ReadString(DbPath(), "ncproc2", "diam", 32), "6.8");
  EXPECT_NE(planned, before);  // only the hole group changed

  // "run" on a project without processes plans the same way: it fails and stores none, every time.
  Ok({"processes", "P", "--init"});
  const std::string empty = Db();
  for (int k = 0; k < 2; ++k) {
    r = Run({"run", "P"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Db(), empty);
    EXPECT_FALSE(PathExists(NcFile()));
  }
}

TEST_F(Outcome, DroppedGroupsAndRowsAreNamedAndFailThePlan) {
  // Six counterbores with edge chamfers: four rows each, twenty-four rows; fifteen can be saved.
  for (int g = 1; g <= 6; ++g)
    Hole(g, {"--kind", "COUNTERBORE", "--set", "0=6.6", "--set", "4=0.5", "--at", Sprintf("%d,20", 20 * g)});
  const std::string before = Db();
  CliResult r = Run({"plan", "P"});
  EXPECT_EQ(r.status, 1);
  std::string warned;
  // Row 16 is group 4's chamfer, rows 17 to 24 groups 5 and 6.
  const char* names[] = {"センタードリル", "ドリル", "エンドミル", "面取カッター"};
  for (int row = 16; row <= 24; ++row)
    warned += Sprintf("警告：工程[%02d] %s は15工程を超えるため保存されません\n", row, names[(row - 1) % 4]);
  EXPECT_TRUE(r.err.starts_with(warned)) << r.err;
  EXPECT_TRUE(r.err.ends_with("エラー：工程作成でエラーがあったため工程を保存しません\n")) << r.err;
  EXPECT_EQ(Db(), before);

  // A group whose kind word no builder knows, and one of diameter 0: each named.
  for (int g = 3; g <= 6; ++g)
    ASSERT_TRUE(WriteString(DbPath(), Sprintf("hole%d", g), "command", ""));
  ASSERT_TRUE(WriteString(DbPath(), "hole1", "command", "面取穴 [CHAMFERHOLE]"));
  ASSERT_TRUE(WriteString(DbPath(), "hole2", "variable0", "0"));
  const std::string edited = Db();
  r = Run({"plan", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "警告：[hole1] 加工命令 CHAMFERHOLE の工程は作成できません\n"
            "警告：[hole2] COUNTERBORE の穴径が 0 のため工程を作成しません\n"
            "エラー：工程作成でエラーがあったため工程を保存しません\n");
  EXPECT_EQ(Db(), edited);
  r = Run({"run", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Db(), edited);
  EXPECT_FALSE(PathExists(NcFile()));
}

TEST_F(Outcome, RunFailsWhenTheStoredProcessesOmitAGroup) {
  Hole(1, {"--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
  Ok({"plan", "P"});
  // A group added after planning has no process: the program would be written without its holes.
  Hole(2, {"--kind", "DRILL", "--set", "0=10", "--at", "60,20"});
  const std::string before = Db();
  CliResult r = Run({"run", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[hole2] DRILL の穴を加工する工程がありません\n");
  EXPECT_EQ(Db(), before);
  EXPECT_FALSE(PathExists(NcFile()));
  // Planned again, both are in it.
  Ok({"plan", "P"});
  Ok({"run", "P"});
  const std::string program = folder.ReadCp932(NcFile().substr(folder.path().size()));
  EXPECT_NE(program.find("X20. Y20."), std::string::npos);
  EXPECT_NE(program.find("X60. Y20."), std::string::npos);
}

TEST_F(Outcome, InitialisingOnADatabaseThatCannotBeWrittenFails) {
  Hole(1, {"--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
  Ok({"plan", "P"});
  const std::string before = Db();
  // A full disk: files of the run may grow to 512 bytes only (the signal of an oversized write
  // ignored, so the write itself fails as on a full disk).
  std::vector<std::string> full{"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$@\"", "sh"};
  for (const std::string& a : Command({"processes", "P", "--init"}))
    full.push_back(a);
  CliResult r = test::RunProgram(full);
  EXPECT_EQ(r.status, 1);
  // (The daily log cannot be written either and says so after it.)
  EXPECT_TRUE(r.err.starts_with("エラー：[ncproc1] tool= | db 工程削除失敗\n")) << r.err;
  EXPECT_EQ(Db(), before);

  // A read-only file (not for root, who may write it anyway).
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(DbPath().c_str(), 0444), 0);
    r = Run({"processes", "P", "--init"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "エラー：[ncproc1] tool= | db 工程削除失敗\n");
    EXPECT_EQ(Db(), before);
  }
}

TEST_F(Outcome, AnInfiniteTimeIsNotStored) {
  Hole(1, {"--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
  Ok({"plan", "P"});
  Ok({"nc", "P"});
  Ok({"time", "P"});
  const std::string before = Db();
  ASSERT_NE(ReadString(DbPath(), "machine", "Seconds_Time3", 32), "");
  // Rapids between X = 1e308 and X = -1e308: the distance overflows to infinity.
  const std::string big = "1" + std::string(308, '0') + ".";
  folder.Write(NcFile().substr(folder.path().size()),
               "%\r\nO0001\r\nG00 X" + big + "\r\nG00 X-" + big + "\r\nM30\r\n%\r\n");
  CliResult r = Run({"time", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ＮＣファイル " + NcFile() + " の距離または時間が計算できません\n");
  EXPECT_EQ(Db(), before);
}

TEST_F(Outcome, AFolderAsCurveFileIsNoDrawing) {
  folder.Write("curves/.keep", "");
  ASSERT_TRUE(WriteString(DbPath(), "TALVORIN", "csvfile", folder.File("curves")));
  ASSERT_TRUE(WriteString(DbPath(), "TALVORIN", "dxffile", folder.File("dxf/P.dxf")));
  CliResult r = Run({"contour-dxf", DbPath()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：EUKLID出力ファイル " + folder.File("curves") + " が開けません\n");
  EXPECT_FALSE(PathExists(folder.File("dxf/P.dxf")));
}

}  // namespace
}  // namespace talvorin
