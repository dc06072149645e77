// Long holes and counterbored long holes: the finish example line for line, the pass schedules, an
// angled slot, the rough routines, the start position, and the failures.
#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

using LongHoles = NcTest;

ProcessFields Finish(const std::string& z = "-8", const std::string& q = "5") {
  return {"仕上エンドミル", "8", "28", "28", "7", "3000", "150", "41", "3", z, q, "0", "1"};
}

std::string Slot(const std::vector<std::string>& variables, const std::vector<std::string>& centres) {
  return HoleSectionText(1, "長穴 [LONGHOLE]", variables, centres);
}

TEST_F(LongHoles, FinishExampleLineForLine) {
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  int rc = -1;
  // Compensation starts with the move from point 1 onto the middle of the upper wall (20, 15), the
  // loop ends 4 (the radius of the 8 mm cutter) past it at X16., then off back to point 1.
  EXPECT_EQ(Body(LongHoleMill, Finish(), &rc), Program({"X30. Y10.",     "Z3.",
                                                        "G01 Z-5. F300", "G41 X20. Y15. D07 F150",
                                                        "X10.",          "G03 Y5. J-5.",
                                                        "G01 X30.",      "G03 Y15. J5.",
                                                        "G01 X16.",      "G40 X30. Y10.",
                                                        "G00 Z50.",      "Z-2.",
                                                        "G01 Z-8. F300", "G41 X20. Y15. D07 F150",
                                                        "X10.",          "G03 Y5. J-5.",
                                                        "G01 X30.",      "G03 Y15. J5.",
                                                        "G01 X16.",      "G40 X30. Y10.",
                                                        "G00 Z50.",      "X0. Y0."}));
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(Listed("!!! routine name : LongHoleMill"));
  EXPECT_TRUE(Listed("!!! routine name : LongHoleFinishMill"));
}

TEST_F(LongHoles, PassSchedules) {
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  // Q 0: one pass straight to Z.
  std::string nc = Body(LongHoleMill, Finish("-8", "0"));
  EXPECT_NE(nc.find("X30. Y10.\r\nZ3.\r\nG01 Z-8. F300\r\n"), std::string::npos);
  EXPECT_EQ(nc.find("G01 Z-", nc.find("G01 Z-8.") + 1), std::string::npos);
  // Q 3: passes at -3, -6, -8; the rapids go to R, R - 3, R - 6.
  nc = Body(LongHoleMill, Finish("-8", "3"));
  for (const char* pass : {"Z3.\r\nG01 Z-3. F300", "Z0.\r\nG01 Z-6. F300", "Z-3.\r\nG01 Z-8. F300"})
    EXPECT_NE(nc.find(pass), std::string::npos) << pass;
  EXPECT_EQ(nc.find("G01 Z-9."), std::string::npos);
  // A through slot at -22 in 20 mm with Q 5: -5, -10, -15, then -22 at once.
  nc = Body(LongHoleMill, Finish("-22", "5"));
  for (const char* pass : {"Z3.\r\nG01 Z-5. F300", "Z-2.\r\nG01 Z-10. F300", "Z-7.\r\nG01 Z-15. F300",
                           "Z-12.\r\nG01 Z-22. F300"})
    EXPECT_NE(nc.find(pass), std::string::npos) << pass;
  EXPECT_EQ(nc.find("Z-20."), std::string::npos);
}

TEST_F(LongHoles, AngledSlot) {
  Project(Slot({"10", "20", "8", "90"}, {"CX0=50.", "CY0=40."}));
  EXPECT_EQ(Body(LongHoleMill, Finish("-8", "8")),
            Program({"X50. Y50.", "Z3.", "G01 Z-8. F300", "G41 X45. Y40. D07 F150", "Y30.", "G03 X55. I5.",
                     "G01 Y50.", "G03 X45. I-5.", "G01 Y36.", "G40 X50. Y50.", "G00 Z50.", "X0. Y0."}));
}

TEST_F(LongHoles, RoughRoutineCutsTheCentreLineAndLeavesTheAllowance) {
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  ProcessFields rough = {
      "荒取エンドミル", "8", "27", "27", "7", "3000", "150", "41", "3", "-5", "5", "0.2", "1"};
  EXPECT_EQ(Body(LongHoleMill, rough),
            Program({"X10. Y10.", "Z3.", "G01 Z-5. F300", "X30. F150", "G41 X20. Y14.8 D07", "X10.",
                     "G03 Y5.2 J-4.8", "G01 X30.", "G03 Y14.8 J4.8", "G01 X16.", "G40 X30. Y10.", "G00 Z50.",
                     "X0. Y0."}));
  EXPECT_TRUE(Listed("!!! routine name : LongHoleRoughMill"));
}

TEST_F(LongHoles, TwoSlotsShareOneContour) {
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10.", "CX1=20.", "CY1=40.", "CY2=70."}));
  EXPECT_EQ(Body(LongHoleMill, Finish("-8", "8")), Program({"X30. Y10.",
                                                            "Z3.",
                                                            "G01 Z-8. F300",
                                                            "G41 X20. Y15. D07 F150",
                                                            "X10.",
                                                            "G03 Y5. J-5.",
                                                            "G01 X30.",
                                                            "G03 Y15. J5.",
                                                            "G01 X16.",
                                                            "G40 X30. Y10.",
                                                            "G00 Z50.",
                                                            "Y40.",
                                                            "Z3.",
                                                            "G01 Z-8. F300",
                                                            "G41 X20. Y45. D07 F150",
                                                            "X10.",
                                                            "G03 Y35. J-5.",
                                                            "G01 X30.",
                                                            "G03 Y45. J5.",
                                                            "G01 X16.",
                                                            "G40 X30. Y40.",
                                                            "G00 Z50.",
                                                            "X0. Y0."}));
}

TEST_F(LongHoles, FirstRapidStartsFromTheRealStartPosition) {
  // Point 1 of this slot lies at X 0: from a start X of 0 the word is not needed, from -50 it is.
  Project(Slot({"10", "20", "8", "0"}, {"CX0=-10.", "CY0=10."}));
  EXPECT_EQ(Body(LongHoleMill, Finish("-8", "8")).substr(0, 5), "Y10.\r");
  EXPECT_EQ(Body(LongHoleMill, Finish("-8", "8"), nullptr, -50, 0).substr(0, 10), "X0. Y10.\r\n");
  // Without a slot position no block is written; the closing rapid goes where the tool already is.
  Project(Slot({"10", "20", "8", "0"}, {}));
  EXPECT_EQ(Body(LongHoleMill, Finish()), "");
  EXPECT_EQ(Body(LongHoleMill, Finish(), nullptr, -50, 0), Program({"X0."}));
}

TEST_F(LongHoles, CounterboredLongHoleFinish) {
  Project(HoleSectionText(1, "ザグリ長穴 [CBLONGHOLE]", {"10", "20", "8", "0", "16", "3"},
                          {"CX0=20.", "CY0=10."}));
  ProcessFields f = {"仕上エンドミル", "8", "28", "28", "7", "3000", "150", "41", "2", "-8", "5", "0", "1"};
  // The counterbore loop at -3 (walls 8 from the centre line), then the slot loop at -8; each ends 4 (the
  // cutter radius) past its entry.
  EXPECT_EQ(Body(CounterboreLongHoleMill, f), Program({"X30. Y10.",     "Z2.",
                                                       "G01 Z-3. F300", "G41 X20. Y18. D07 F150",
                                                       "X10.",          "G03 Y2. J-8.",
                                                       "G01 X30.",      "G03 Y18. J8.",
                                                       "G01 X16.",      "G40 X30. Y10.",
                                                       "G00 Z50.",      "Z-1.",
                                                       "G01 Z-8. F300", "G41 X20. Y15. D07 F150",
                                                       "X10.",          "G03 Y5. J-5.",
                                                       "G01 X30.",      "G03 Y15. J5.",
                                                       "G01 X16.",      "G40 X30. Y10.",
                                                       "G00 Z50.",      "X0. Y0."}));
  EXPECT_TRUE(Listed("!!! routine name : CounterboreLongHoleFinishMill"));
}

TEST_F(LongHoles, CounterboredLongHoleRough) {
  Project(HoleSectionText(1, "ザグリ長穴 [CBLONGHOLE]", {"10", "20", "8", "0", "16", "3"},
                          {"CX0=20.", "CY0=10."}));
  ProcessFields f = {"荒取エンドミル", "8", "27", "27", "7", "3000", "150", "41", "2", "-8", "5", "0.5", "1"};
  EXPECT_EQ(Body(CounterboreLongHoleMill, f), Program({"X10. Y10.",
                                                       "Z2.",
                                                       "G01 Z-3. F300",
                                                       "X30. F150",
                                                       "G41 X20. Y14.5 D07",
                                                       "X10.",
                                                       "G03 Y5.5 J-4.5",
                                                       "G01 X30.",
                                                       "G03 Y14.5 J4.5",
                                                       "G01 X16.",
                                                       "G40 X30. Y10.",
                                                       "G41 X20. Y17.5 D07",
                                                       "X10.",
                                                       "G03 Y2.5 J-7.5",
                                                       "G01 X30.",
                                                       "G03 Y17.5 J7.5",
                                                       "G01 X16.",
                                                       "G40 X30. Y10.",
                                                       "G00 Z50.",
                                                       "X10.",
                                                       "Z-1.",
                                                       "G01 Z-8. F300",
                                                       "X30. F150",
                                                       "G41 X20. Y14.5 D07",
                                                       "X10.",
                                                       "G03 Y5.5 J-4.5",
                                                       "G01 X30.",
                                                       "G03 Y14.5 J4.5",
                                                       "G01 X16.",
                                                       "G40 X30. Y10.",
                                                       "G00 Z50.",
                                                       "X0. Y0."}));
  EXPECT_TRUE(Listed("!!! routine name : CounterboreLongHoleRoughMill"));
}

TEST_F(LongHoles, Failures) {
  int rc = 0;
  // Parameter 0 of 0: -1 without a message of the routine's own.
  Project(Slot({"0", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  EXPECT_EQ(Body(LongHoleMill, Finish(), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Body(CounterboreLongHoleMill, Finish(), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_TRUE(Errors().empty());

  // Without the material thickness the program stops.
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  std::string db = folder.ReadCp932("db/T.dat");
  folder.WriteCp932("db/T.dat", db.replace(db.find("\nZ=20.\n"), 7, "\nZ=\n"));
  EXPECT_EQ(Body(LongHoleMill, Finish(), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{"エラー：[material] Z= | db 材料寸法（厚み）読込失敗"});

  // A compensated contour needs its offset number, its allowance, a tool and a step.
  Project(Slot({"10", "20", "8", "0"}, {"CX0=20.", "CY0=10."}));
  struct Case {
    ProcessFields f;
    const char* message;
  };
  ProcessFields noD = Finish(), noOff = Finish(), noTool = Finish(), badStep = Finish(),
                flat = Finish("0", "0");
  noD.D = "";
  noOff.OFF = "";
  noTool.diam = "0";
  badStep.Q = "-3";
  const Case cases[] = {
      {noD, "エラー：[ncproc1] D= | db 工具径補正番号取得失敗"},
      {noOff, "エラー：[ncproc1] OFF= | db 仕上代取得失敗"},
      {noTool, "エラー：[ncproc1] diam=0 工具径が正しくありません"},
      {badStep, "エラー：[ncproc1] Q=-3 切込み量が正しくありません"},
      {flat, "エラー：[ncproc1] Q=0 切込み量が正しくありません"},
  };
  for (const Case& c : cases) {
    t->reporter.boxes.clear();
    EXPECT_EQ(Body(LongHoleMill, c.f, &rc), "") << c.message;
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(Errors(), std::vector<std::string>{c.message});
  }
}

TEST_F(LongHoles, WholeProgramOfASlotPassesTheReader) {
  Project(Slot({"10", "20", "22", "30"}, {"CX0=100.", "CY0=40.", "CX1=100.", "CY1=100."}) +
          ProcessSectionText(1, {"荒取エンドミル", "8", "27", "27", "27", "3180", "407", "41", "2", "-22",
                                 "4", "0.2", "1"}) +
          ProcessSectionText(
              2, {"仕上エンドミル", "8", "28", "28", "28", "3980", "357", "41", "2", "-22", "8", "0", "1"}));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(CheckNcProgram(NcFile()), std::vector<std::string>{});
}

}  // namespace
}  // namespace talvorin::test
