// Big holes (widening circles, lead-in arcs), the circle chamfers of counterbores and big holes, and
// U-grooves toward each plate edge. Expected blocks worked out by hand from the contours.
#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

using MillingBodies = NcTest;

// diam, T, H, D, S, F, G, R, Z, Q, OFF, 定義.
ProcessFields Mill(const std::string& diam, const std::string& f, const std::string& z, const std::string& q,
                   const std::string& off) {
  return {"エンドミル", diam, "5", "5", "7", "1000", f, "41", "3", z, q, off, "1"};
}

TEST_F(MillingBodies, BigHoleRoughWideningCircles) {
  // Dh 40, OFF 0.3, d 10: Rf 19.7, ρmax 13.7; circles 5, 10, 13.7. Then to (0, -9.85) (half of Rf),
  // compensation on along +X to (9.85, -9.85), the quarter lead arc onto (19.7, 0), the circle, a
  // quarter more to (0, 19.7), off towards the centre to (0, 9.85).
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "1"}, {"X0=100.", "Y0=50."}));
  int rc = -1;
  const std::vector<std::string> circles = {"X105.",     "G03 I-5.",   "G01 X110.",
                                            "G03 I-10.", "G01 X113.7", "G03 I-13.7"};
  const std::vector<std::string> wall = {"G01 X100. Y40.15", "G41 X109.85 D07",    "G03 X119.7 Y50. J9.85",
                                         "I-19.7",           "X100. Y69.7 I-19.7", "G40 G01 Y59.85",
                                         "G00 Z50."};
  std::vector<std::string> expected = {"X100. Y50.", "Z3.", "G01 Z-5. F200"};
  expected.insert(expected.end(), circles.begin(), circles.end());
  expected.insert(expected.end(), wall.begin(), wall.end());
  for (const char* line : {"Y50.", "Z3.", "G01 Z-8."})
    expected.push_back(line);
  expected.insert(expected.end(), circles.begin(), circles.end());
  expected.insert(expected.end(), wall.begin(), wall.end());
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "5", "0.3"), &rc), Program(expected));
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(Listed("!!! routine name : BigHoleRoughMill"));
}

TEST_F(MillingBodies, BigHoleWallNotBeyondTheToolDiameterIsRefused) {
  // Dh 13, OFF 0.2, d 10: Rf 6.3 leaves no lead arc larger than the tool radius (it would be 3.15).
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"13"}, {"X0=100.", "Y0=50."}));
  int rc = 0;
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "0", "0.2"), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{
                          "エラー：[hole1] 大穴の穴径 13 に対して工具 T05 の径 10 が大きすぎます"});
  // Dh 20 and the finish: Rf 10 is the tool diameter itself, still refused.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"20"}, {"X0=100.", "Y0=50."}));
  t->reporter.boxes.clear();
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "0", "0"), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{
                          "エラー：[hole1] 大穴の穴径 20 に対して工具 T05 の径 10 が大きすぎます"});
}

TEST_F(MillingBodies, BigHoleFinishLeadArcs) {
  // Dh 40, d 10: Rf 20, lead arc 10: start at (0, -10), compensation on along +X to (10, -10), the
  // quarter lead arc onto (20, 0), the circle, a quarter more to (0, 20), off to (0, 10). Passes -5
  // and -8; each rapid goes to R above the depth already cut (3, then 3 - 5).
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "1"}, {"X0=100.", "Y0=50."}));
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "5", "0")),
            Program({"X100. Y40.", "Z3.", "G01 Z-5. F400", "G41 X110. D07 F200", "G03 X120. Y50. J10.",
                     "I-20.", "X100. Y70. I-20.", "G40 G01 Y60.", "G00 Z50.", "Y40.", "Z-2.", "G01 Z-8. F400",
                     "G41 X110. D07 F200", "G03 X120. Y50. J10.", "I-20.", "X100. Y70. I-20.", "G40 G01 Y60.",
                     "G00 Z50."}));
  EXPECT_TRUE(Listed("!!! routine name : BigHoleFinishMill"));
}

TEST_F(MillingBodies, BigHoleWithoutDiameterOrThickness) {
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {""}, {"X0=100.", "Y0=50."}));
  int rc = 0;
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "0", "0"), &rc), "");
  EXPECT_EQ(rc, -1);
  // The thickness decides the through-hole clamp: without it the program stops.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40"}, {"X0=100.", "Y0=50."}));
  std::string db = folder.ReadCp932("db/T.dat");
  db.replace(db.find("Z=20.\n"), 6, "");
  folder.WriteCp932("db/T.dat", db);
  EXPECT_EQ(Body(BigHoleMill, Mill("10", "200", "-8", "0", "0"), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[material] Z= | db 材料寸法（厚み）読込失敗");
}

TEST_F(MillingBodies, CounterboreChamfer) {
  ProcessFields f = {"面取カッター", "10", "15", "15", "", "800", "100", "3", "3", "", "", "", "1"};
  // Dc 11, C 0.5, H 6.5: t = 6 reaches 6, so t = 5; r = 5.5 - 5 + 0.5 = 1.
  Project(HoleSectionText(1, "ザグリ穴 [COUNTERBORE]", {"6.6", "", "11", "6.5", "0.5"},
                          {"X0=10.", "Y0=20.", "X1=40.", "Y1=20."}));
  EXPECT_EQ(Body(GetCounterboreChamferMill, f),
            Program({"X10. Y20.", "Z3.", "G01 Z-5. F300", "X11. F100", "G03 I-1.", "G01 X10.", "Z50.",
                     "G00 X40.", "Z3.", "G01 Z-5. F300", "X41. F100", "G03 I-1.", "G01 X40.", "Z50."}));
  // Dc 8, C 0.5, H 3: t = 4.5, deeper than H, so t = 2.5; r = 4 - 2.5 + 0.5 = 2.
  Project(HoleSectionText(1, "ザグリ穴 [COUNTERBORE]", {"4.5", "", "8", "-3", "0.5"}, {"X0=10.", "Y0=20."}));
  EXPECT_EQ(Body(GetCounterboreChamferMill, f),
            Program({"X10. Y20.", "Z3.", "G01 Z-2.5 F300", "X12. F100", "G03 I-2.", "G01 X10.", "Z50."}));
}

TEST_F(MillingBodies, ChamferFailures) {
  ProcessFields f = {"面取カッター", "10", "15", "15", "", "800", "100", "3", "3", "-2", "", "", "1"};
  int rc = -1;
  // Not a counterbore / not a big hole: a notice, no body, generation goes on.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "1"}, {"X0=10.", "Y0=20."}));
  EXPECT_EQ(Body(GetCounterboreChamferMill, f, &rc), "");
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(Listed("エラー：ザグリ穴ではありません"));
  Project(
      HoleSectionText(1, "ザグリ穴 [COUNTERBORE]", {"6.6", "", "11", "6.5", "0.5"}, {"X0=10.", "Y0=20."}));
  EXPECT_EQ(Body(BigHoleChamferMill, f, &rc), "");
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(Listed("エラー：大穴ではありません"));
  EXPECT_TRUE(Errors().empty());
  // Without a chamfer size.
  Project(HoleSectionText(1, "ザグリ穴 [COUNTERBORE]", {"6.6", "", "11", "6.5", ""}, {"X0=10.", "Y0=20."}));
  EXPECT_EQ(Body(GetCounterboreChamferMill, f, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：ザグリ穴に面取りはありません");
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "0"}, {"X0=10.", "Y0=20."}));
  EXPECT_EQ(Body(BigHoleChamferMill, f, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：大穴に面取りはありません");
  // Without a kind label.
  Project("[hole1]\nvariable0=40\nX0=10.\nY0=20.\n");
  EXPECT_EQ(Body(BigHoleChamferMill, f, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[hole1] command= 穴の種類の取得失敗");
}

TEST_F(MillingBodies, BigHoleChamfer) {
  // Dh 40, C 1, tip depth -2: r = 1 + 20 - 2 = 19; in and out at r - d/2 = 14.
  Project(HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "1"}, {"X0=100.", "Y0=50."}));
  ProcessFields f = {"面取カッター", "10", "15", "15", "", "800", "100", "3", "3", "-2", "", "", "1"};
  EXPECT_EQ(Body(BigHoleChamferMill, f),
            Program({"X114. Y50.", "Z3.", "G01 Z-2. F300", "X119. F100", "G03 I-19.", "G01 X114.", "Z50."}));
}

std::string Groove(const std::string& angle, const std::string& x, const std::string& y) {
  return HoleSectionText(1, "Ｕ溝 [UGROOVE]", {"10", angle}, {"X0=" + x, "Y0=" + y});
}

TEST_F(MillingBodies, UgrooveTowardMinusX) {
  // Position X 30, Xmin 0, a groove 10 wide, the cutter 8: Lg 30, Xo = -4 - 30 - 2 = -36 from the
  // position, R' 5.
  Project(Groove("0", "30.", "40."));
  EXPECT_EQ(Body(UgrooveFRMill, Mill("8", "200", "-8", "0", "0")),
            Program({"X-6. Y40.", "Z3.", "G01 Z-8. F400", "G41 Y35. D07 F200", "X30.", "G03 Y45. J5.",
                     "G01 X-6.", "G40 Y40.", "G00 Z50."}));
  EXPECT_TRUE(Listed("/// [0] G=0 X=-36.000 Y=0.000"));
  EXPECT_TRUE(Listed("/// [13] G=3 X=0.000 Y=5.000"));
  EXPECT_TRUE(Listed("/// [14] G=1 X=-36.000 Y=5.000"));
}

TEST_F(MillingBodies, UgrooveRoughThenContour) {
  // OFF 0.5: R' 4.5; the centre-line cut first, the next rapid leaves the groove up to the start Z.
  Project(Groove("0", "30.", "40."));
  EXPECT_EQ(
      Body(UgrooveFRMill, Mill("8", "200", "-8", "0", "0.5")),
      Program({"X-6. Y40.", "Z3.", "G01 Z-8. F400", "X30. F200", "G00 X-6. Y40. Z50.", "Z3.", "G01 Z-8. F400",
               "G41 Y35.5 D07 F200", "X30.", "G03 Y44.5 J4.5", "G01 X-6.", "G40 Y40.", "G00 Z50."}));
}

TEST_F(MillingBodies, UgrooveTowardTheOtherEdges) {
  // The cutter 8: 90 toward -Y, Lg = 40 - 0, the start 4 + 40 + 2 = 46 below the position.
  Project(Groove("90", "30.", "40."));
  EXPECT_EQ(Body(UgrooveFRMill, Mill("8", "200", "-8", "0", "0")),
            Program({"X30. Y-6.", "Z3.", "G01 Z-8. F400", "G41 X35. D07 F200", "Y40.", "G03 X25. I-5.",
                     "G01 Y-6.", "G40 X30.", "G00 Z50."}));
  // 180: toward +X, Lg = 200 - 150, the start 56 beyond the position.
  Project(Groove("180", "150.", "40."));
  EXPECT_EQ(Body(UgrooveFRMill, Mill("8", "200", "-8", "0", "0")),
            Program({"X206. Y40.", "Z3.", "G01 Z-8. F400", "G41 Y45. D07 F200", "X150.", "G03 Y35. J-5.",
                     "G01 X206.", "G40 Y40.", "G00 Z50."}));
  // 270: toward +Y, Lg = 150 - 100.
  Project(Groove("270", "30.", "100."));
  EXPECT_EQ(Body(UgrooveFRMill, Mill("8", "200", "-8", "0", "0")),
            Program({"X30. Y156.", "Z3.", "G01 Z-8. F400", "G41 X25. D07 F200", "Y100.", "G03 X35. I5.",
                     "G01 Y156.", "G40 X30.", "G00 Z50."}));
}

TEST_F(MillingBodies, UgrooveTowardNoEdgeIsRefused) {
  // 45 names no plate edge: the groove would be left out without a word, so the process fails.
  Project(Groove("45", "30.", "40."));
  int rc = 0;
  EXPECT_EQ(Body(UgrooveFRMill, Mill("10", "200", "-8", "0", "0"), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[hole1] Ｕ溝の向き 45 は 0, 90, 180, 270 のいずれかです");
}

TEST_F(MillingBodies, WholeProgramOfEveryMillingBodyPassesTheReader) {
  std::string sections =
      HoleSectionText(1, "大穴 [BIGHOLE]", {"40", "", "1"}, {"X0=100.", "Y0=50.", "X1=160.", "Y1=50."}) +
      HoleSectionText(2, "ザグリ穴 [COUNTERBORE]", {"6.6", "", "11", "6.5", "0.5"}, {"X0=20.", "Y0=20."}) +
      HoleSectionText(3, "Ｕ溝 [UGROOVE]", {"10", "90"}, {"X0=30.", "Y0=40.", "X1=60.", "Y1=40."}) +
      HoleSectionText(4, "Ｕ溝 [UGROOVE]", {"10", "180"}, {"X0=150.", "Y0=100."});
  int n = 1;
  auto process = [&](ProcessFields f, const std::string& group) {
    f.definition = group;
    sections += ProcessSectionText(n++, f);
  };
  ProcessFields rough = Mill("8", "200", "-22", "5", "0.3");
  process(rough, "1");
  ProcessFields finish = Mill("8", "200", "-22", "10", "0");
  finish.T = finish.H = finish.D = "6";
  process(finish, "1");
  ProcessFields chamfer = {"面取カッター", "10", "15", "15", "", "800", "100", "3", "3", "-2", "", "", ""};
  process(chamfer, "1");
  process(chamfer, "2");
  process(rough, "3");
  process(finish, "3");
  process(finish, "4");
  Project(sections);
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  const std::string nc = NcFile();
  EXPECT_EQ(CheckNcProgram(nc), std::vector<std::string>{});
  EXPECT_NE(nc.find("\r\nN7\r\n"), std::string::npos);
}

TEST_F(MillingBodies, UgrooveWithoutMaterialBox) {
  Project(Groove("0", "30.", "40."));
  std::string db = folder.ReadCp932("db/T.dat");
  db.replace(db.find("Ymax=150\n"), 9, "");
  folder.WriteCp932("db/T.dat", db);
  int rc = 0;
  EXPECT_EQ(Body(UgrooveFRMill, Mill("10", "200", "-8", "0", "0"), &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[trycut] Ymax= 最大材料値取得失敗");
}

}  // namespace
}  // namespace talvorin::test

namespace talvorin::test {
namespace {

TEST(PassDepthsAsPrinted, StepsThatDoNotAddUpExactlyGiveNoExtraPass) {
  using V = std::vector<double>;
  // 0 - 0.3 - 0.3 - 0.3 is -0.8999999999999999 in binary: without the printed rounding a fourth pass
  // at the same printed depth -0.9 would follow.
  EXPECT_EQ(PassDepths(0, 0.3, -0.9, 20.0), (V{-0.3, -0.6, -0.9}));
  EXPECT_EQ(PassDepths(0, 0.1, -0.3, std::nullopt), (V{-0.1, -0.2, -0.3}));
}

}  // namespace
}  // namespace talvorin::test
