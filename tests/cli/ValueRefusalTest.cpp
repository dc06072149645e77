// Absurd numbers through talvorin-cli as a black box: values that are no numbers ("nan", "inf"), whose
// text does not fit its field (1e308), that no control takes (beyond ±99999.999 mm, a cutter of
// 1e-9 mm) or a cutter wider than its slot. Each is refused with its message and exit status, and the
// project file and the NC program stay as they were; nothing loops or fills the disk.
#include <gtest/gtest.h>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::CliResult;
using test::TestFolder;

class ValueRefusal : public ::testing::Test {
 protected:
  void SetUp() override {
    test::CopyProgramFolder(folder);
    Ok({"new", "P", "--size", "200,150,20", "--material", "SS400", "--controller", "FANUC", "--coord",
        "G54"});
  }

  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }
  void Ok(std::vector<std::string> args) {
    CliResult r = Run(args);
    ASSERT_EQ(r.status, 0) << args[0] << "\n" << r.err;
  }
  // A refusal: the exit status, the box text, and the project file as it was.
  void Refused(std::vector<std::string> args, int status, const std::string& err) {
    const std::string before = Db();
    CliResult r = Run(args);
    EXPECT_EQ(r.status, status) << args[0] << " " << args.back();
    EXPECT_EQ(r.err, err) << args[0] << " " << args.back();
    EXPECT_EQ(Db(), before) << args[0] << " " << args.back();
  }

  std::string DbPath() const { return folder.File("db/P.dat"); }
  std::string Db() const { return folder.Read("db/P.dat"); }
  // A key of the project file changed as an editor or another program would.
  void Edit(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(WriteString(DbPath(), section, key, value));
  }
  std::string NcPath() const {
    return ReadString(DbPath(), "machine", "ncpath", 260) + "/" +
           ReadString(DbPath(), "machine", "ncfile", 260);
  }

  // A drill of 10 at (20, 20), planned and programmed: the program the refusals must leave alone.
  void DrilledPlate() {
    Ok({"hole", "P", "--group", "1", "--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
    Ok({"plan", "P"});
    Ok({"nc", "P"});
    program = folder.Read(NcPath().substr(folder.path().size()));
    ASSERT_NE(program, "");
  }
  // `nc` refused with `err`; the program written before stays.
  void NcRefused(const std::string& err) {
    CliResult r = Run({"nc", "P"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, err);
    EXPECT_EQ(folder.Read(NcPath().substr(folder.path().size())), program);
  }

  TestFolder folder;
  std::string program;
};

TEST_F(ValueRefusal, NanAndInfAreRefusedWhereverTextBecomesANumber) {
  Ok({"hole", "P", "--group", "1", "--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
  // Arguments that are no numbers are bad usage: nothing is opened or written.
  for (std::vector<std::string> bad :
       {std::vector<std::string>{"--at", "nan,inf"}, {"--at", "20,-inf"}, {"--circle", "100,75,inf,30,,"}}) {
    const std::string before = Db();
    bad.insert(bad.begin(), {"hole", "P", "--group", "1"});
    EXPECT_EQ(Run(bad).status, 2) << bad.back();
    EXPECT_EQ(Db(), before);
  }
  CliResult r = Run(
      {"new", "Q", "--size", "nan,150,20", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"});
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(PathExists(folder.File("db/Q.dat")));
  // A parameter field: the typed text is named.
  Refused({"hole", "P", "--group", "1", "--set", "2=inf"}, 1,
          "エラー：[hole1] variable2=inf 数値が正しくありません\n");
  // A process field.
  Ok({"plan", "P"});
  Refused({"processes", "P", "--set", "2:Z=-inf"}, 1, "エラー：工程[02] Z=-inf 数値が正しくありません\n");
  Refused({"processes", "P", "--set", "2:F=nan"}, 1, "エラー：工程[02] F=nan 数値が正しくありません\n");
  // A CSV file: no row is taken from it.
  folder.Write("xy.csv", "30,30\r\nnan,40\r\n");
  Refused({"hole", "P", "--group", "1", "--csv", folder.File("xy.csv")}, 1,
          "エラー：CSV座標ファイル " + folder.File("xy.csv") + " の 2 行目 nan は座標になりません\n");
}

TEST_F(ValueRefusal, ATextTooLongForItsFieldIsRefusedWhenEntered) {
  Ok({"hole", "P", "--group", "1", "--kind", "DRILL", "--set", "0=10", "--at", "20,20"});
  // 1e308 is five characters typed but 309 digits as the field would store it.
  Refused({"hole", "P", "--group", "1", "--at", "1e308,0"}, 1,
          "エラー：[hole1] X0=1e308 数値が正しくありません\n");
  Refused({"hole", "P", "--group", "1", "--set", "1=1e20"}, 1,
          "エラー：[hole1] variable1=1e20 数値が正しくありません\n");
  CliResult r = Run({"new", "Q", "--size", "200,1e308,20", "--material", "SS400", "--controller", "FANUC",
                     "--coord", "G54"});
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(PathExists(folder.File("db/Q.dat")));
  Ok({"plan", "P"});
  Refused({"processes", "P", "--set", "1:S=1e308"}, 1, "エラー：工程[01] S=1e308 数値が正しくありません\n");
  // Fifteen digits still fit.
  Ok({"hole", "P", "--group", "1", "--set", "1=123456789012345"});
  EXPECT_EQ(ReadString(DbPath(), "hole1", "variable1", 16), "123456789012345");
}

TEST_F(ValueRefusal, ValuesInTheFileThatNoControlTakesStopTheProgram) {
  DrilledPlate();
  // Keys of the file that an editor changed: each named with section, key and its text.
  Edit("hole1", "X0", "inf");
  NcRefused("エラー：[hole1] X0=inf 数値が範囲外です\n");
  Edit("hole1", "X0", "20.");
  Edit("hole1", "Y0", "100000");
  NcRefused("エラー：[hole1] Y0=100000 数値が範囲外です\n");
  Edit("hole1", "Y0", "-99999.999");  // the largest the control takes: written
  CliResult r = Run({"nc", "P"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(folder.Read(NcPath().substr(folder.path().size())).find("Y-99999.999"), std::string::npos);
  program = folder.Read(NcPath().substr(folder.path().size()));
  Edit("ncproc2", "Z", "nan");
  NcRefused("エラー：[ncproc2] Z=nan 数値が範囲外です\n");
  Edit("ncproc2", "Z", "-15.");
  Edit("machine", "StartZ", "1e308");
  NcRefused("エラー：[machine] StartZ=1e308 数値が範囲外です\n");
  // Planning refuses the hole group's depth before any row is built; the stored rows stay.
  Edit("hole1", "variable1", "1e308");
  const std::string before = Db();
  CliResult plan = Run({"plan", "P"});
  EXPECT_EQ(plan.status, 1);
  EXPECT_EQ(plan.err, "エラー：[hole1] variable1=1e308 数値が範囲外です\n");
  EXPECT_EQ(Db(), before);
}

TEST_F(ValueRefusal, AbsurdMillingValuesAreRefusedBeforeAnyLoop) {
  // A big hole of 60 with the magazine's end mills, planned and programmed.
  Ok({"hole", "P", "--group", "1", "--kind", "BIGHOLE", "--set", "0=60", "--set", "6=10", "--at", "100,75"});
  Ok({"plan", "P"});
  Ok({"nc", "P"});
  program = folder.Read(NcPath().substr(folder.path().size()));
  // The rough end mill is row 3. A diameter that the control reads as 0 would widen the circles by
  // nothing for ever.
  ASSERT_EQ(ReadString(DbPath(), "ncproc3", "tool", 32), "荒取エンドミル");
  Edit("ncproc3", "diam", "1e-9");
  NcRefused("エラー：[ncproc3] diam=0 工具径が正しくありません\n");
  // A step of 0.001 mm through 20 mm with circles of a 0.5 mm cutter: some 20,000 passes of 110
  // circles, far beyond what one position may write.
  Edit("ncproc3", "diam", "0.5");
  Edit("ncproc3", "Q", "0.001");
  NcRefused("エラー：[ncproc3] diam=0.5 Q=0.001 では移動指令が多すぎます\n");
  Edit("ncproc3", "Q", "0.25");
  // Diameters of 99999999999, inf and 1e308 in the hole group.
  for (const char* big : {"99999999999", "inf", "1e308"}) {
    Edit("hole1", "variable0", big);
    NcRefused(std::string("エラー：[hole1] variable0=") + big + " 数値が範囲外です\n");
  }
}

TEST_F(ValueRefusal, ACounterboredSlotOfEndlessDepthIsRefused) {
  Ok({"hole", "P", "--group", "1", "--kind", "CBLONGHOLE", "--set", "0=9", "--set", "3=90", "--at",
      "150,50"});
  Ok({"plan", "P"});
  Ok({"nc", "P"});
  program = folder.Read(NcPath().substr(folder.path().size()));
  Edit("hole1", "variable5", "1e308");
  NcRefused("エラー：[hole1] variable5=1e308 数値が範囲外です\n");
  // Deep but within the control: the counterbore's passes alone would be 99999 / Q.
  Edit("hole1", "variable5", "99999");
  CliResult r = Run({"nc", "P"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("では移動指令が多すぎます"), std::string::npos) << r.err;
}

TEST_F(ValueRefusal, AToolWiderThanItsSlotIsRefusedForEveryMilledKind) {
  const std::string before = Db();
  // A 16 mm rough cutter in a 10 mm slot, groove and a counterbored slot of 9; a finish cutter of 10 in
  // a 10 mm slot (no room for the compensation); a big hole's rule as before.
  struct Case {
    std::vector<std::string> hole;
    const char* err;
  } cases[] = {
      {{"--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--set", "8=16"},
       "エラー：[hole1] 長穴の溝幅 10 に対して工具径 16 が大きすぎます\n"},
      {{"--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--set", "7=0", "--set", "9=10"},
       "エラー：[hole1] 長穴の溝幅 10 に対して工具径 10 が大きすぎます\n"},
      {{"--kind", "CBLONGHOLE", "--set", "0=9", "--set", "3=90", "--set", "8=16"},
       "エラー：[hole1] 長穴の溝幅 9 に対して工具径 16 が大きすぎます\n"},
      {{"--kind", "UGROOVE", "--set", "0=10", "--set", "1=90", "--set", "8=16"},
       "エラー：[hole1] Ｕ溝の溝幅 10 に対して工具径 16 が大きすぎます\n"},
      {{"--kind", "BIGHOLE", "--set", "0=40", "--set", "6=10", "--set", "9=20"},
       "エラー：[hole1] 大穴の穴径 40 に対して工具径 20 が大きすぎます\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"hole", "P", "--group", "1"};
    args.insert(args.end(), c.hole.begin(), c.hole.end());
    args.insert(args.end(), {"--at", "100,50"});
    Ok(args);
    const std::string planned = Db();
    CliResult r = Run({"plan", "P"});
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.err, c.err);
    // Nothing saved: no process replaced.
    EXPECT_EQ(Db(), planned) << c.err;
    EXPECT_EQ(ReadString(DbPath(), "ncproc1", "tool", 32), "");
  }
  EXPECT_NE(before, "");

  // A stored process edited to a wider cutter than its slot: the program refuses it too.
  Ok({"hole", "P", "--group", "1", "--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--at", "100,50"});
  Ok({"plan", "P"});
  Ok({"nc", "P"});
  program = folder.Read(NcPath().substr(folder.path().size()));
  ASSERT_EQ(ReadString(DbPath(), "ncproc4", "tool", 32), "仕上エンドミル");
  Edit("ncproc4", "diam", "16");
  const int t = AtoI(ReadString(DbPath(), "ncproc4", "T", 32));
  NcRefused(Sprintf("エラー：[hole1] 長穴の溝幅 10 に対して工具 T%02d の径 16 が大きすぎます\n", t));
}

}  // namespace
}  // namespace talvorin
