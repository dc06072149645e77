// The drilling cycles: the block of each cycle, the further positions, the dwell word, feed per
// revolution, the end-mill counterbore with its back-reverse lines, and the missing first position.
#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

using DrillingCycles = NcTest;

const ProcessFields kDeep = {"ドリル", "8.5", "6", "6", "", "900", "80", "83", "3", "-25", "3", "", "1"};

std::string Group(const std::string& command, const std::vector<std::string>& positions) {
  return HoleSectionText(1, command, {"8.5", "25"}, positions);
}

TEST_F(DrillingCycles, PeckDrillingExample) {
  Project(Group("ドリル穴 [DRILL]", {"X0=10.", "Y0=20.", "X1=40.", "Y1=20."}));
  EXPECT_EQ(Body(HoleCycle83, kDeep), Program({"G98 G83 X10. Y20. R3. Z-25. Q3. F80", "X40. Y20.", "G80"}));
  EXPECT_TRUE(Listed("!!! routine name : HoleCycle83"));
}

TEST_F(DrillingCycles, OnePositionAndTheEndOfThePositionList) {
  Project(Group("ドリル穴 [DRILL]", {"X0=10.", "Y0=20."}));
  ProcessFields f = kDeep;
  f.G = "81";
  f.R = "3.5";
  f.Z = "-15";
  f.F = "187.5";
  EXPECT_EQ(Body(HoleCycle81, f), Program({"G98 G81 X10. Y20. R3.5 Z-15. F188", "G80"}));

  // Positions run to the first whose X or Y is missing; stored texts are written as they stand.
  Project(Group("ドリル穴 [DRILL]", {"X0=12.000", "Y0=5", "X1=1", "Y1=2", "X2=3", "Y2=4", "X3=5", "Y3=6",
                                     "X4=7", "Y4=8", "X5=9", "X6=11", "Y6=12"}));
  EXPECT_EQ(Body(HoleCycle81, f),
            Program({"G98 G81 X12.000 Y5 R3.5 Z-15. F188", "X1 Y2", "X3 Y4", "X5 Y6", "X7 Y8", "G80"}));
}

TEST_F(DrillingCycles, DwellWordOfG82) {
  Project(Group("ドリル穴 [DRILL]", {"X0=10.", "Y0=20.", "X1=30.", "Y1=20."}));
  ProcessFields f = {"面取カッター", "20", "15", "15", "", "800", "64", "82", "2", "-4.6", "", "", "1"};
  Table("[cycle]\nPCODE=P300\n");
  EXPECT_EQ(Body(HoleCycle82, f), Program({"G98 G82 X10. Y20. R2. Z-4.6 P300 F64", "X30. Y20.", "G80"}));
  Table("[cycle]\nPCODE=\n");
  EXPECT_EQ(Body(HoleCycle82, f), Program({"G98 G82 X10. Y20. R2. Z-4.6 F64", "X30. Y20.", "G80"}));
}

TEST_F(DrillingCycles, TappingPerMinuteAndPerRevolution) {
  Project(Group("タップ穴 [NTAP]", {"X0=50.", "Y0=30.", "X1=150.", "Y1=30."}));
  ProcessFields f = {"並目タップ", "8", "19", "19", "", "400", "1.5", "84", "5", "-16", "", "", "1"};
  Table("[tap]\nRotationFeed=1\n");
  EXPECT_EQ(Body(HoleCycle84, f),
            Program({"G95", "G98 G84 X50. Y30. R5. Z-16. F1.5", "X150. Y30.", "G80", "G94"}));
  f.F = "1";
  EXPECT_EQ(Body(HoleCycle84, f),
            Program({"G95", "G98 G84 X50. Y30. R5. Z-16. F1.", "X150. Y30.", "G80", "G94"}));

  Table("[tap]\nRotationFeed=0\n");
  f.F = "187.5";
  EXPECT_EQ(Body(HoleCycle84, f), Program({"G98 G84 X50. Y30. R5. Z-16. F188", "X150. Y30.", "G80"}));
}

TEST_F(DrillingCycles, EndMillCounterboreIsOneCyclePerPositionReformatted) {
  Project(Group("ザグリ穴 [COUNTERBORE]", {"X0=12.000", "Y0=20", "X1=40.5", "Y1=20."}));
  ProcessFields f = {"エンドミル", "11", "24", "24", "", "800", "60", "82", "2", "-6.5", "", "", "1"};
  EXPECT_EQ(Body(CounterboreCycle82, f),
            Program({"G98 G82 X12. Y20. R2. Z-6.5 F60", "G80", "G98 G82 X40.5 Y20. R2. Z-6.5 F60", "G80"}));
  Table("[cycle]\nPCODE=P300\n");
  EXPECT_EQ(Body(CounterboreCycle82, f), Program({"G98 G82 X12. Y20. R2. Z-6.5 P300 F60", "G80",
                                                  "G98 G82 X40.5 Y20. R2. Z-6.5 P300 F60", "G80"}));
}

TEST_F(DrillingCycles, EndMillCounterboreBackReverseAfterEveryPosition) {
  Project(Group("ザグリ穴 [COUNTERBORE]", {"X0=10.", "Y0=20.", "X1=40.", "Y1=20."}));
  ProcessFields f = {"エンドミル", "11", "24", "24", "", "800", "60", "82", "2", "-6.5", "", "", "1"};
  Table("[backreverse]\ncounterbore=1\nncdata0=M04\nncdata1=G01 Z-3. F50\n");
  const std::vector<std::string> after = {"G80", "M05", "M04", "G01 Z-3. F50", "M05", "S800 M03"};
  std::vector<std::string> expected = {"G98 G82 X10. Y20. R2. Z-6.5 F60"};
  expected.insert(expected.end(), after.begin(), after.end());
  expected.push_back("G98 G82 X40. Y20. R2. Z-6.5 F60");
  expected.insert(expected.end(), after.begin(), after.end());
  EXPECT_EQ(Body(CounterboreCycle82, f), Program(expected));

  // Lines holding a spindle stop get no second one; no lines or the switch off write nothing.
  Table("[backreverse]\ncounterbore=1\nncdata0=M05\nncdata1=M04\n");
  EXPECT_EQ(Body(CounterboreCycle82, f),
            Program({"G98 G82 X10. Y20. R2. Z-6.5 F60", "G80", "M05", "M05", "M04", "S800 M03",
                     "G98 G82 X40. Y20. R2. Z-6.5 F60", "G80", "M05", "M05", "M04", "S800 M03"}));
  for (const char* table :
       {"[backreverse]\ncounterbore=1\n", "[backreverse]\ncounterbore=0\nncdata0=M04\n"}) {
    Table(table);
    EXPECT_EQ(Body(CounterboreCycle82, f),
              Program({"G98 G82 X10. Y20. R2. Z-6.5 F60", "G80", "G98 G82 X40. Y20. R2. Z-6.5 F60", "G80"}));
  }
}

TEST_F(DrillingCycles, MissingFirstPositionStopsEveryCycle) {
  ProcessFields f = kDeep;
  const NcBodyRoutine routines[] = {HoleCycle81, HoleCycle82, HoleCycle83, HoleCycle84, CounterboreCycle82};
  for (NcBodyRoutine routine : routines) {
    t->reporter.boxes.clear();
    Project(Group("ドリル穴 [DRILL]", {"Y0=20.", "X1=1.", "Y1=1."}));
    int rc = 0;
    EXPECT_EQ(Body(routine, f, &rc), "");
    EXPECT_EQ(rc, -1);
    Project(Group("ドリル穴 [DRILL]", {"X0=20."}));
    EXPECT_EQ(Body(routine, f, &rc), "");
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(Errors(), (std::vector<std::string>{"エラー：[hole1] X0= | db 座標取得失敗",
                                                  "エラー：[hole1] Y0= | db 座標取得失敗"}));
  }
}

TEST_F(DrillingCycles, CounterboreThroughTheWholeProgramGetsItsRetract) {
  Project(Group("ザグリ穴 [COUNTERBORE]", {"X0=10.", "Y0=20."}) +
          ProcessSectionText(
              1, {"エンドミル", "11", "24", "24", "", "800", "60", "82", "2", "-6.5", "", "", "1"}));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({"%", "O0001", "N1", "(END MILL)", "T24", "M06", "G90 G00 G54 X0. Y0.",
                               "G43 H24 Z50.", "S800 M03", "M08", "G98 G82 X10. Y20. R2. Z-6.5 F60", "G80",
                               "G00 Z50.", "X0. Y0.", "M09", "M05"}));
}

}  // namespace
}  // namespace talvorin::test
