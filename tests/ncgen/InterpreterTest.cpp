// The programs as a control cuts them: LinuxCNC's rs274 interprets the FANUC programs of the compensated
// bodies (slots at 0, 30 and 90 degrees, a counterbored slot, big holes, a wide drill chamfer) and of
// the shipped examples, with its own cutter compensation start-up. Each compensated wall must be cut
// along its whole length within 0.01 mm of the outline offset by the tool radius, never beyond it, and
// every drilled position reached at its depth. The expected programs are worked out by hand.
#include <cmath>
#include <filesystem>

#include "NcTestSupport.h"
#include "Rs274.h"
#include "holes/Holes.h"
#include "ncgen/NcCommon.h"
#include "store/Profile.h"
#include "support/CliRun.h"

namespace talvorin::test {
namespace {

constexpr double kTolerance = 0.01;

class Interpreter : public NcTest {
 protected:
  Interpreter() { interpretPrograms = false; }
  void SetUp() override {
    if (Rs274Path().empty())
      GTEST_SKIP() << "rs274 (Debian package linuxcnc-uspace) is not installed: the programs are not "
                      "interpreted; scripts/install-deps.sh installs it";
  }

  // A body in the frame of a FANUC program: tool `tool` of diameter `diameter` changed in, its length
  // offset on, the spindle started; the interpreter's run of it, the cutter radius offset `offset`
  // naming the same diameter. The body must end at the start Z.
  Rs274Run RunBody(const std::string& body, int tool, double diameter, int offset = 7) {
    const std::string program =
        Program({"%", "O0001", "G90 G17 G40 G49 G80", Sprintf("T%02d", tool), "M06", "G90 G00 G54 X0. Y0.",
                 Sprintf("G43 H%02d Z50.", tool), "S3000 M03"}) +
        body + Program({"M05", "M30", "%"});
    Rs274Run run = RunRs274(program, {{tool, diameter}, {offset, diameter}});
    EXPECT_EQ(run.status, 0) << run.messages;
    return run;
  }

  static void ExpectWall(const Rs274Run& run, const std::vector<std::pair<double, double>>& wall, double z,
                         int tool, double toolRadius, const std::string& what) {
    const WallReach reach = MeasureWall(run.moves, wall, z, tool);
    EXPECT_LE(reach.farthest, toolRadius + kTolerance) << what << " at Z" << z << ": a strip stays uncut";
    EXPECT_GE(reach.nearest, toolRadius - kTolerance) << what << " at Z" << z << ": cut beyond the wall";
  }

  // Every drilling process's positions reached at its depth, every milled wall of the project's slots,
  // counterbored slots and big holes cut whole at each pass.
  void ExpectProjectCut(const std::string& dbPath, const Rs274Run& run) {
    ctx().dbPath = dbPath;
    const double thickness = AtoF(ReadString(dbPath, "material", "Z", 16));
    int walls = 0, holes = 0;
    for (int n = 1; n <= 15; ++n) {
      const std::string proc = Sprintf("ncproc%d", n);
      auto value = [&](const char* key) { return AtoF(ReadString(dbPath, proc, key, 16)); };
      if (ReadString(dbPath, proc, "tool", 32).empty()) break;
      const std::string section = Sprintf("hole%d", static_cast<int>(value("定義")));
      const std::string kind = GetKindWord(ReadString(dbPath, section, "command", 64));
      HoleParameters p{};
      ASSERT_EQ(ReadHoleVariables(ctx(), section, p), 0) << section;
      const double g = value("G"), z = value("Z"), off = value("OFF"), radius = value("diam") / 2;
      const int tool = static_cast<int>(value("T"));
      const double q = value("Q") == 0 ? std::fabs(z) : value("Q");
      const std::string what = proc + " " + kind;
      if (g > 80 && g < 85) {
        for (const PlanePoint& at : nc::ReadPositions(ctx(), section, "", 100)) {
          EXPECT_TRUE(Reaches(run.moves, at.x, at.y, z)) << what << " at X" << at.x << " Y" << at.y;
          ++holes;
        }
      } else if (g == 41 && kind == "LONGHOLE") {
        for (const PlanePoint& at : nc::ReadPositions(ctx(), section, "C", 10))
          for (double depth : PassDepths(0, q, z, thickness)) {
            ExpectWall(run, SlotOutline(at.x, at.y, p[1], p[0] / 2 - off, p[3]), depth, tool, radius, what);
            ++walls;
          }
      } else if (g == 41 && kind == "CBLONGHOLE") {
        for (const PlanePoint& at : nc::ReadPositions(ctx(), section, "C", 10)) {
          for (double depth : PassDepths(0, q, -p[5], std::nullopt))
            ExpectWall(run, SlotOutline(at.x, at.y, p[1], p[4] / 2 - off, p[3]), depth, tool, radius, what);
          for (double depth : PassDepths(-p[5], q, z, std::nullopt))
            ExpectWall(run, SlotOutline(at.x, at.y, p[1], p[0] / 2 - off, p[3]), depth, tool, radius, what);
          ++walls;
        }
      } else if (g == 41 && kind == "BIGHOLE") {
        for (const PlanePoint& at : nc::ReadPositions(ctx(), section, "", 10))
          for (double depth : PassDepths(0, q, z, thickness)) {
            ExpectWall(run, CircleOutline(at.x, at.y, p[0] / 2 - off), depth, tool, radius, what);
            ++walls;
          }
      }
    }
    EXPECT_GT(holes, 0);
    EXPECT_GT(walls, 0);
  }
};

ProcessFields Mill(const std::string& diameter, const std::string& tool, const std::string& off,
                   const std::string& z, const std::string& q) {
  const std::string name = off == "0" ? "仕上エンドミル" : "荒取エンドミル";
  return {name, diameter, tool, tool, "7", "3000", "150", "41", "3", z, q, off, "1"};
}

TEST_F(Interpreter, SlotsAtZeroThirtyAndNinetyDegrees) {
  // W 10, L 20, an 8 mm finishing cutter, one pass to -8. The loop enters on the middle of the upper
  // wall, goes round and cuts the upper wall again 4 (the cutter radius) past the entry.
  struct Case {
    std::string angle, x, y;
    std::vector<std::string> program;
  };
  const Case cases[] = {
      {"0",
       "20.",
       "10.",
       {"X30. Y10.", "Z3.", "G01 Z-8. F300", "G41 X20. Y15. D07 F150", "X10.", "G03 Y5. J-5.", "G01 X30.",
        "G03 Y15. J5.", "G01 X16.", "G40 X30. Y10.", "G00 Z50.", "X0. Y0."}},
      // Points turned by 30 degrees and rounded: the entry (0, 5) at (-2.5, 4.33), the overlap end
      // (-4, 5) at (-5.964, 2.33), the centre point (10, 0) at (8.66, 5).
      {"30",
       "100.",
       "50.",
       {"X108.66 Y55.", "Z3.", "G01 Z-8. F300", "G41 X97.5 Y54.33 D07 F150", "X88.84 Y49.33",
        "G03 X93.84 Y40.67 I2.5 J-4.33", "G01 X111.16 Y50.67", "G03 X106.16 Y59.33 I-2.5 J4.33",
        "G01 X94.036 Y52.33", "G40 X108.66 Y55.", "G00 Z50.", "X0. Y0."}},
      {"90",
       "50.",
       "40.",
       {"X50. Y50.", "Z3.", "G01 Z-8. F300", "G41 X45. Y40. D07 F150", "Y30.", "G03 X55. I5.", "G01 Y50.",
        "G03 X45. I-5.", "G01 Y36.", "G40 X50. Y50.", "G00 Z50.", "X0. Y0."}},
  };
  for (const Case& c : cases) {
    Project(HoleSectionText(1, "長穴 [LONGHOLE]", {"10", "20", "8", c.angle}, {"CX0=" + c.x, "CY0=" + c.y}));
    const std::string body = Body(LongHoleMill, Mill("8", "28", "0", "-8", "8"));
    EXPECT_EQ(body, Program(c.program)) << c.angle;
    const Rs274Run run = RunBody(body, 28, 8);
    ExpectWall(run, SlotOutline(AtoF(c.x), AtoF(c.y), 20, 5, AtoF(c.angle)), -8, 28, 4, "slot " + c.angle);
  }
}

TEST_F(Interpreter, TheCheckSeesTheStripOfACornerEntry) {
  // The slot loop as it was before: compensation on with the move from the end-arc centre straight
  // into the corner (30, 15), the loop closed exactly there. The interpreter starts the compensation
  // where the offset entry meets the offset upper wall, 4 short of the corner, and nothing cuts that
  // piece of the wall again: the check must find the strip.
  const std::string body =
      Program({"X30. Y10.", "Z3.", "G01 Z-8. F300", "G41 Y15. D07 F150", "X10.", "G03 Y5. J-5.", "G01 X30.",
               "G03 Y15. J5.", "G40 G01 Y10.", "G00 Z50.", "X0. Y0."});
  const Rs274Run run = RunBody(body, 28, 8);
  const WallReach reach = MeasureWall(run.moves, SlotOutline(20, 10, 20, 5, 0), -8, 28);
  EXPECT_GT(reach.farthest, 4 + 0.2);
}

TEST_F(Interpreter, RoughSlotWithTwoPasses) {
  // OFF 0.2 leaves the walls at 4.8 from the centre line; passes at -5 and -8; the centre line is cut
  // first, the compensation starts with the entry block (no block of its own).
  Project(HoleSectionText(1, "長穴 [LONGHOLE]", {"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  const std::string body = Body(LongHoleMill, Mill("8", "27", "0.2", "-8", "5"));
  EXPECT_EQ(
      body,
      Program({"X10. Y10.",      "Z3.",      "G01 Z-5. F300",  "X30. F150", "G41 X20. Y14.8 D07", "X10.",
               "G03 Y5.2 J-4.8", "G01 X30.", "G03 Y14.8 J4.8", "G01 X16.",  "G40 X30. Y10.",      "G00 Z50.",
               "X10.",           "Z-2.",     "G01 Z-8. F300",  "X30. F150", "G41 X20. Y14.8 D07", "X10.",
               "G03 Y5.2 J-4.8", "G01 X30.", "G03 Y14.8 J4.8", "G01 X16.",  "G40 X30. Y10.",      "G00 Z50.",
               "X0. Y0."}));
  const Rs274Run run = RunBody(body, 27, 8);
  for (double z : {-5.0, -8.0})
    ExpectWall(run, SlotOutline(20, 10, 20, 4.8, 0), z, 27, 4, "rough slot");
}

TEST_F(Interpreter, CounterboredSlot) {
  // Slot W 10, counterbore W 16 and 4 deep, L 20, the 8 mm finishing cutter, Q 4: the counterbore loop
  // at -4 (walls at 8 from the centre line, overlap to X16.), then the slot loop at -8 from R - 4.
  Project(HoleSectionText(1, "座ぐり長穴 [CBLONGHOLE]", {"10", "20", "8", "0", "16", "4"},
                          {"CX0=20.", "CY0=10."}));
  const std::string body = Body(CounterboreLongHoleMill, Mill("8", "28", "0", "-8", "4"));
  EXPECT_EQ(body, Program({"X30. Y10.",     "Z3.",
                           "G01 Z-4. F300", "G41 X20. Y18. D07 F150",
                           "X10.",          "G03 Y2. J-8.",
                           "G01 X30.",      "G03 Y18. J8.",
                           "G01 X16.",      "G40 X30. Y10.",
                           "G00 Z50.",      "Z-1.",
                           "G01 Z-8. F300", "G41 X20. Y15. D07 F150",
                           "X10.",          "G03 Y5. J-5.",
                           "G01 X30.",      "G03 Y15. J5.",
                           "G01 X16.",      "G40 X30. Y10.",
                           "G00 Z50.",      "X0. Y0."}));
  const Rs274Run run = RunBody(body, 28, 8);
  ExpectWall(run, SlotOutline(20, 10, 20, 8, 0), -4, 28, 4, "counterbore wall");
  ExpectWall(run, SlotOutline(20, 10, 20, 5, 0), -8, 28, 4, "slot wall");
}

TEST_F(Interpreter, BigHoleOfThirtyWithATenMillimetreCutter) {
  // Finish: wall radius 15, lead arc 7.5: from (0, -7.5) along +X to (7.5, -7.5), the quarter lead arc
  // to (15, 0), the circle, a quarter more to (0, 15), off to (0, 7.5).
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"30", "16"}, {"X0=100.", "Y0=95."}));
  const std::string finish = Body(BigHoleMill, {"仕上エンドミル", "10", "30", "30", "30", "2000", "357", "41",
                                                "2", "-16", "16", "0", "1"});
  EXPECT_EQ(finish,
            Program({"X100. Y87.5", "Z2.", "G01 Z-16. F714", "G41 X107.5 D30 F357", "G03 X115. Y95. J7.5",
                     "I-15.", "X100. Y110. I-15.", "G40 G01 Y102.5", "G00 Z50."}));
  Rs274Run run = RunBody(finish, 30, 10, 30);
  ExpectWall(run, CircleOutline(100, 95, 15), -16, 30, 5, "big hole finish");

  // Rough with OFF 0.3: wall radius 14.7, clearing circles at 5 and 8.7 (14.7 - 5 - 1), then to
  // (0, -7.35) and the same loop with a lead arc of 7.35.
  const std::string rough = Body(BigHoleMill, {"荒取エンドミル", "10", "29", "29", "29", "2000", "400", "41",
                                               "2", "-16", "16", "0.3", "1"});
  EXPECT_EQ(rough, Program({"X100. Y95.", "Z2.", "G01 Z-16. F400", "X105.", "G03 I-5.", "G01 X108.7",
                            "G03 I-8.7", "G01 X100. Y87.65", "G41 X107.35 D29", "G03 X114.7 Y95. J7.35",
                            "I-14.7", "X100. Y109.7 I-14.7", "G40 G01 Y102.35", "G00 Z50."}));
  run = RunBody(rough, 29, 10, 29);
  ExpectWall(run, CircleOutline(100, 95, 14.7), -16, 29, 5, "big hole rough");
}

TEST_F(Interpreter, BigHoleJustLargeEnoughForItsCutter) {
  // Dh 21 and a 10 mm cutter: wall radius 10.5, lead arc 5.25, just above the tool radius; the
  // interpreter takes it and the wall is cut whole.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"21", "16"}, {"X0=100.", "Y0=95."}));
  const std::string finish = Body(BigHoleMill, {"仕上エンドミル", "10", "30", "30", "30", "2000", "357", "41",
                                                "2", "-16", "16", "0", "1"});
  EXPECT_EQ(finish,
            Program({"X100. Y89.75", "Z2.", "G01 Z-16. F714", "G41 X105.25 D30 F357", "G03 X110.5 Y95. J5.25",
                     "I-10.5", "X100. Y105.5 I-10.5", "G40 G01 Y100.25", "G00 Z50."}));
  const Rs274Run run = RunBody(finish, 30, 10, 30);
  ExpectWall(run, CircleOutline(100, 95, 10.5), -16, 30, 5, "big hole of 21");
}

TEST_F(Interpreter, BigHoleTooSmallForItsCutterIsRefused) {
  // Wall radius 15 is not above the 16 mm cutter: no lead arc larger than its radius fits.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"30", "16"}, {"X0=100.", "Y0=95."}));
  int rc = 0;
  EXPECT_EQ(
      Body(BigHoleMill,
           {"仕上エンドミル", "16", "30", "30", "30", "2000", "357", "41", "2", "-16", "16", "0", "1"}, &rc),
      "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{
                          "エラー：[hole1] 大穴の穴径 30 に対して工具 T30 の径 16 が大きすぎます"});
}

TEST_F(Interpreter, DrillChamferWiderThanTheCutter) {
  // Chamfer 6 on a 10 mm hole, 20 mm cutter, tip at -8 (6 + 2): the path radius 6 + 5 - 8 = 3, entered
  // from the hole centre; the plunge at three times F.
  Project(
      HoleSectionText(1, "ドリル穴 [DRILL]", {"10", "25", "6"}, {"X0=20.", "Y0=20.", "X1=60.", "Y1=20."}));
  const std::string body = Body(
      DrillChamferMill, {"面取カッター", "20", "15", "15", "", "800", "85", "3", "2", "-8", "", "", "1"});
  EXPECT_EQ(body, Program({"X20. Y20.", "Z2.", "G01 Z-8. F255", "X23. F85", "G03 I-3.", "G01 X20.", "Z50.",
                           "G00 X60.", "Z2.", "G01 Z-8. F255", "X63. F85", "G03 I-3.", "G01 X60.", "Z50."}));
  const Rs274Run run = RunBody(body, 15, 20);
  // The cone of the cutter (90 degrees) at the tip depth 8 meets the top face 8 from the tool axis:
  // 3 + 8 = 11 = 5 + 6 from the hole axis, the chamfer's top edge.
  EXPECT_TRUE(Reaches(run.moves, 23, 20, -8));
  EXPECT_TRUE(Reaches(run.moves, 63, 20, -8));
}

TEST_F(Interpreter, DrillChamferDeeperThanTheCutterIsRefused) {
  // A row of the old plan: tip at -11 (5 + 6) is deeper than the 20 mm cutter's cone.
  Project(HoleSectionText(1, "ドリル穴 [DRILL]", {"10", "25", "6"}, {"X0=20.", "Y0=20."}));
  int rc = 0;
  EXPECT_EQ(Body(DrillChamferMill,
                 {"面取カッター", "20", "15", "15", "", "800", "85", "3", "2", "-11", "", "", "1"}, &rc),
            "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{
                          "エラー：[hole1] 面取り 6 は径 20 の面取カッター、深さ -11. では削れません"});
}

TEST_F(Interpreter, WholeProgramOfEveryCompensatedBody) {
  // One project with a 30 degree slot at two positions, a counterbored slot, a big hole with its
  // chamfer and a drilled hole with a chamfer wider than the cutter, rough and finish each; the whole
  // program in the shipped NC table's frame.
  TestFolder shipped;
  CopyProgramFolder(shipped);
  Table(shipped.ReadCp932("NCformat.tbl"));
  auto mill = [](const char* name, const char* d, const char* t, const char* f, const char* z, const char* q,
                 const char* off, const char* group) {
    return ProcessFields{name, d, t, t, t, "3000", f, "41", "2", z, q, off, group};
  };
  Project(
      HoleSectionText(1, "長穴 [LONGHOLE]", {"10", "30", "12", "30"},
                      {"CX0=50.", "CY0=40.", "CX1=50.", "CY1=100."}) +
      HoleSectionText(2, "ザグリ長穴 [CBLONGHOLE]", {"10", "20", "10", "0", "16", "4"},
                      {"CX0=130.", "CY0=40."}) +
      HoleSectionText(3, "大穴 [BIGHOLE]", {"40", "16", "1"}, {"X0=140.", "Y0=110."}) +
      HoleSectionText(4, "ドリル穴 [DRILL]", {"10", "25", "6"}, {"X0=20.", "Y0=130.", "X1=20.", "Y1=20."}) +
      ProcessSectionText(1, mill("荒取エンドミル", "8", "27", "300", "-12", "4", "0.2", "1")) +
      ProcessSectionText(2, mill("仕上エンドミル", "8", "28", "250", "-12", "12", "0", "1")) +
      ProcessSectionText(3, mill("荒取エンドミル", "8", "27", "300", "-10", "5", "0.2", "2")) +
      ProcessSectionText(4, mill("仕上エンドミル", "8", "28", "250", "-10", "5", "0", "2")) +
      ProcessSectionText(5, mill("荒取エンドミル", "16", "29", "300", "-16", "8", "0.3", "3")) +
      ProcessSectionText(6, mill("仕上エンドミル", "16", "30", "250", "-16", "16", "0", "3")) +
      ProcessSectionText(7,
                         {"面取カッター", "20", "15", "15", "", "1000", "80", "3", "2", "-3", "", "", "3"}) +
      ProcessSectionText(8, {"ドリル", "10", "14", "14", "", "800", "120", "83", "2", "-25", "5", "", "4"}) +
      ProcessSectionText(9,
                         {"面取カッター", "20", "15", "15", "", "600", "60", "3", "2", "-8", "", "", "4"}));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  const Rs274Run run = RunRs274(Cp932(NcFile()), ProjectToolDiameters(ctx().dbPath));
  ASSERT_EQ(run.status, 0) << run.messages;
  ExpectProjectCut(ctx().dbPath, run);
  // The drill chamfer's circles: radius 6 + 5 - 8 = 3 about each hole, at the tip depth.
  EXPECT_TRUE(Reaches(run.moves, 23, 130, -8));
  EXPECT_TRUE(Reaches(run.moves, 23, 20, -8));
}

TEST_F(Interpreter, ShippedExamplesAsFanucPrograms) {
  // Both examples, the OSP one switched to a FANUC control (the interpreter reads no OSP words): planned,
  // programmed and interpreted without an error, every hole reached, every wall cut whole.
  TestFolder shipped;  // the shipped NC table, with its start and end lines
  CopyProgramFolder(shipped);
  for (const char* project : {"EXAMPLE-FANUC", "EXAMPLE-OSP"}) {
    const std::string db = shipped.File(std::string("db/") + project + ".dat");
    ASSERT_TRUE(std::filesystem::exists(db)) << db;
    if (std::string(project) == "EXAMPLE-OSP") {
      ASSERT_TRUE(WriteString(db, "machine", "ControlDevice", "FANUC"));
      ASSERT_TRUE(WriteString(db, "machine", "CoordinateSystem", "G54"));
    }
    const CliResult cli = RunProgram({TALVORIN_CLI, "--folder", shipped.path(), "--quiet", "nc", project});
    ASSERT_EQ(cli.status, 0) << project << cli.out << cli.err;
    const std::string program = shipped.Read(ReadString(db, "machine", "ncpath", 260) + "/" +
                                             ReadString(db, "machine", "ncfile", 128));
    ASSERT_FALSE(program.empty()) << project;
    const Rs274Run run = RunRs274(program, ProjectToolDiameters(db));
    ASSERT_EQ(run.status, 0) << project << ": " << run.messages;
    ExpectProjectCut(db, run);
  }
}

}  // namespace
}  // namespace talvorin::test
