// talvorin-cli euklid: both roads from a script on the shipped samples, and what it refuses.
#include "EuklidTestSupport.h"
#include "support/CliRun.h"

namespace talvorin::test {
namespace {

class EuklidCli : public EuklidTest {
 protected:
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {TALVORIN_CLI, "--folder", folder.path(), "--quiet"});
    return RunProgram(args);
  }
};

TEST_F(EuklidCli, ContourWithItsProgram) {
  CliResult r =
      Run({"euklid", "contour", folder.File("euklid/PLATE-CONTOUR.csv"), "--project", "PLATE-C", "--material",
           "SS400", "--diameter", "8", "--t", "5", "--d", "25", "--onumber", "1234", "--nc"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.File("db/PLATE-C.dat") + "\n" + folder.File("ncdata/O1234.NC") + "\n");
  ctx().dbPath = folder.File("db/PLATE-C.dat");
  // SS400, D8.0: S = 100000 / (pi x 8) = 3978.9 -> 3980; fz = 0.004 x 8 x 0.7 = 0.0224, four teeth:
  // F = 0.0224 x 4 x 3980 = 356.6 -> 357.
  EXPECT_EQ(Db("ncproc1", "S"), "3980");
  EXPECT_EQ(Db("ncproc1", "F"), "357");
  EXPECT_EQ(Db("ncproc1", "H"), "5");
  EXPECT_EQ(Db("ncproc1", "D"), "25");
  const std::string nc = folder.ReadCp932("ncdata/O1234.NC");
  // d = 4 + 1 = 5: approach at (-5, 10); plunge at 2 x 357 = 714; after the closing arc the run-on
  // of 5 mm up the first line to (0, 15), off to (-5, 15).
  for (const char* line :
       {"O1234\r\n", "T05\r\nM06\r\n", "G43 H05 Z50.\r\nS3980 M03\r\n", "X-5. Y10.\r\n",
        "G01 Z-5. F714\r\nG41 X0. D25 F357\r\n", "G02 X0. Y10. J10.\r\nG01 Y15.\r\nG40 X-5.\r\nG00 Z50.\r\n"})
    EXPECT_NE(nc.find(line), std::string::npos) << line;
}

TEST_F(EuklidCli, ContourRefusesAnIncompleteForm) {
  // Without material and diameter the strict save names the first empty field.
  CliResult r = Run({"euklid", "contour", folder.File("euklid/PLATE-CONTOUR.csv"), "--project", "P2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("エラー：保存前に材質を入力して下さい"), std::string::npos) << r.err;
  r = Run({"euklid", "contour", folder.File("input/none.csv")});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(PathExists(folder.File("db/none.dat")));
  EXPECT_EQ(Run({"euklid", "sideways", folder.File("euklid/PLATE-CONTOUR.csv")}).status, 2);
}

TEST_F(EuklidCli, HolesGroupedAndSaved) {
  CliResult r = Run({"euklid", "holes", folder.File("euklid/PLATE-HOLES.csv"), "--size", "120,80,20",
                     "--material", "S45C", "--kind", "1-4=DRILL", "--kind", "5-6=タップ穴", "--kind",
                     "7-8=ザグリ穴 [COUNTERBORE]", "--save"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(" 3  ドリル穴 [DRILL]"), std::string::npos) << r.out;
  ctx().dbPath = folder.File("db/PLATE-HOLES.dat");
  EXPECT_EQ(Db("hole", "group"), "4");
  EXPECT_EQ(Db("hole2", "Z1"), "-5.");
  EXPECT_EQ(Db("hole3", "variable3"), "5");
  EXPECT_EQ(Db("hole4", "variable2"), "14");
  EXPECT_EQ(Db("machine", "ControlDevice"), "FANUC");
  EXPECT_EQ(Db("machine", "ncfile"), "O1000.NC");

  // Without --save the groups stay in the form; an unknown kind is named.
  r = Run({"euklid", "holes", folder.File("euklid/PLATE-HOLES.csv"), "--size", "120,80,20", "--material",
           "S45C", "--kind", "1-8=DRILL"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Db("hole1", "command"), "");
  EXPECT_EQ(Db("hole", "group"), "4");
  r = Run({"euklid", "holes", folder.File("euklid/PLATE-HOLES.csv"), "--size", "120,80,20", "--material",
           "S45C", "--kind", "1=BOLT"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("エラー：穴の種類「BOLT」はありません"), std::string::npos) << r.err;
  EXPECT_EQ(Run({"euklid", "holes", folder.File("euklid/PLATE-HOLES.csv"), "--material", "S45C"}).status, 2);
}

}  // namespace
}  // namespace talvorin::test
