// The contour program: the approach, the compensated path with its arcs, the retract of each contour,
// and the whole FANUC program of the shipped sample, worked out by hand.
#include "EuklidTestSupport.h"
#include "store/TextSink.h"

namespace talvorin::test {
namespace {

std::string Text(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

class ContourProgram : public EuklidTest {
 protected:
  // The path of a curve file with diam 6, D 7, F 300, R 2 from the start position X0 Y0 Z50.
  std::string Path(std::initializer_list<std::string_view> curveLines, int* result = nullptr) {
    ctx().dbPath = folder.File("db/CURVE.dat");
    const std::string curve = Lines("input/curve.csv", curveLines);
    EXPECT_TRUE(WriteString(ctx().dbPath, "ncproc1", "定義", curve));
    NcProcessRecord rec;
    rec.v[kProcDiameter] = 6;
    rec.v[kProcD] = 7;
    rec.v[kProcF] = 300;
    rec.v[kProcR] = 2;
    StringSink out;
    int rc = WriteEuklidContour(ctx(), out, "ncproc1", rec, StartPosition{0, 0, 50});
    if (result)
      *result = rc;
    else
      EXPECT_EQ(rc, 0);
    return out.text;
  }
};

TEST_F(ContourProgram, ClosedContourRunsOnPastItsEntryPointBeforeTheCompensationGoesOff) {
  // A 20 x 10 rectangle clockwise from (0, 0), going up: the start is an outside corner, so the tool
  // comes in beside it, 3 + 1 mm to the left of the first line, at (-4, 0). After the closing it runs
  // on 4 mm up the first line again (a control that starts where the offset entry meets the offset
  // first line starts 3 mm up it) and leaves 4 mm to the left without the compensation.
  const std::string rectangle = Text({"X-4.", "Z-3.", "G01 Z-5. F600", "G41 X0. D07 F300", "Y10.", "X20.",
                                      "Y0.", "X0.", "Y4.", "G40 X-4.", "G00 Z50."});
  EXPECT_EQ(Path({"P,0,0,-5,0,0,90", "L,0,10,-5,0,0,0", "L,20,10,-5,0,0,0", "L,20,0,-5,0,0,0",
                  "L,0,0,-5,0,0,0", "P,0,0,-5,0,0,90"}),
            rectangle);
  // A first line of type L is the start point all the same; the direction is the first element's
  // own, whatever the seventh field says. A file that ends without its point line is closed all the
  // same: compensation off and up, not left on at the depth.
  EXPECT_EQ(
      Path({"L,0,0,-5,0,0,0", "L,0,10,-5,0,0,0", "L,20,10,-5,0,0,0", "L,20,0,-5,0,0,0", "L,0,0,-5,0,0,0"}),
      rectangle);
  // A 3 mm square: the run-on of 4 mm goes round the first corner, 1 mm along the top, and leaves
  // upwards.
  EXPECT_EQ(Path({"P,0,0,-5,0,0,90", "L,0,3,-5,0,0,0", "L,3,3,-5,0,0,0", "L,3,0,-5,0,0,0", "L,0,0,-5,0,0,0",
                  "P,0,0,-5,0,0,90"}),
            Text({"X-4.", "Z-3.", "G01 Z-5. F600", "G41 X0. D07 F300", "Y3.", "X3.", "Y0.", "X0.", "Y3.",
                  "X1.", "G40 Y7.", "G00 Z50."}));
}

TEST_F(ContourProgram, ContourStartingInAnInsideCornerIsEnteredAtTheMiddleOfItsFirstElement) {
  // An L-shaped plate from the corner of its notch (20, 20): it arrives going down X20 and leaves along
  // Y20, turning toward the tool side. Beside the corner the tool would stand in the wall X20, so it
  // comes in beside (35, 20), the middle of the first line; the closing cuts the corner, the first
  // half of the line, and runs on 4 mm past (35, 20).
  EXPECT_EQ(Path({"P,20,20,-5,0,0,0", "L,50,20,-5,0,0,0", "L,50,0,-5,0,0,0", "L,0,0,-5,0,0,0",
                  "L,0,40,-5,0,0,0", "L,20,40,-5,0,0,0", "L,20,20,-5,0,0,0", "P,20,20,-5,0,0,0"}),
            Text({"X35. Y24.", "Z-3.", "G01 Z-5. F600", "G41 Y20. D07 F300", "X50.", "Y0.", "X0.", "Y40.",
                  "X20.", "Y20.", "X39.", "G40 Y24.", "G00 Z50."}));
}

TEST_F(ContourProgram, ShortFirstElementBeforeAnInsideCornerIsCutAtTheClosing) {
  // The L-shaped plate from (20, 23), 3 mm above the corner of its notch. Entered there, a control
  // starting at the intersection would land 3 mm down the first line, at (23, 20), in the wall Y20.
  // The first line is shorter than the run-on of 4 mm, so the contour is entered at the middle of the
  // first line at least 8 mm long, (35, 20); the 3 mm before it are cut at the closing.
  EXPECT_EQ(
      Path({"P,20,23,-5,0,0,270", "L,20,20,-5,0,0,0", "L,50,20,-5,0,0,0", "L,50,0,-5,0,0,0", "L,0,0,-5,0,0,0",
            "L,0,40,-5,0,0,0", "L,20,40,-5,0,0,0", "L,20,23,-5,0,0,0", "P,20,23,-5,0,0,270"}),
      Text({"X35. Y24.", "Z-3.", "G01 Z-5. F600", "G41 Y20. D07 F300", "X50.", "Y0.", "X0.", "Y40.", "X20.",
            "Y23.", "Y20.", "X39.", "G40 Y24.", "G00 Z50."}));
}

TEST_F(ContourProgram, OpenContourHasALeadInLineAndARunOffLine) {
  // From (10, 0) to (30, 0): the lead-in line extends the first line 4 mm back to (6, 0), the tool
  // comes in 4 mm beside that; the run-off extends the last line 4 mm to (34, 0).
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90"}),
            Text({"X6. Y4.", "Z-3.", "G01 Z-5. F600", "G41 Y0. D07 F300", "X10.", "X30.", "X34.", "G40 Y4.",
                  "G00 Z50."}));
}

TEST_F(ContourProgram, ArcsFollowTheSignOfTheRadiusAndValueZeroKeepsTheMotion) {
  // A clockwise arc about (10, 0), then an arc with value 0 that keeps G02; I and J from the previous
  // point. Then a counter-clockwise arc, and after a line an arc of value 0 stays a line. The contour is
  // open: it leaves (0, 0) upwards, so the lead-in comes up from (0, -4) with the tool beside it at
  // (-4, -4); it ends going at 45 degrees, so the run-off goes 4 / sqrt 2 = 2.828 further in X and Y
  // to (52.828, 22.828) and off to its left, 2.828 back in X and up in Y: (50, 25.657).
  EXPECT_EQ(Path({"P,0,0,-5,0,0,90", "C,10,10,-5,10,0,10", "C,20,0,-5,10,0,0", "C,30,10,-5,30,0,-10",
                  "L,40,10,-5,0,0,0", "C,50,20,-5,40,20,0"}),
            Text({"X-4. Y-4.", "Z-3.", "G01 Z-5. F600", "G41 X0. D07 F300", "Y0.", "G02 X10. Y10. I10.",
                  "X20. Y0. J-10.", "G03 X30. Y10. I10.", "G01 X40.", "X50. Y20.", "X52.828 Y22.828",
                  "G40 X50. Y25.657", "G00 Z50."}));
}

TEST_F(ContourProgram, RoundPocketRunsOnPastWhatAControlStartingAtTheIntersectionLeaves) {
  // A pocket of radius 10 about (0, 0) in two anticlockwise halves from (10, 0), the tool inside: it
  // comes in 4 mm toward the centre, at (6, 0). A control that starts at the intersection lands
  // asin(3 / 7) = 0.44291 rad along the wall (the offset entry X = 10 - 3 meets the offset circle of
  // radius 7 there), 4.4291 mm of it, so the run-on is 5.4291 mm: to the angle 0.54291 rad,
  // (10 cos, 10 sin) = (8.562, 5.166), and off 4 mm toward the centre: (6 cos, 6 sin) = (5.137, 3.1).
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "C,-10,0,-5,0,0,-10", "C,10,0,-5,0,0,-10", "P,10,0,-5,0,0,90"}),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300", "G03 X-10. I-10.", "X10. I10.",
                  "X8.562 Y5.166 I-10.", "G40 G01 X5.137 Y3.1", "G00 Z50."}));
  // Of radius 5, the offset circle (radius 2) never meets the offset entry: refused, nothing written.
  int rc = 0;
  EXPECT_EQ(Path({"P,5,0,-5,0,0,90", "C,-5,0,-5,0,0,-5", "C,5,0,-5,0,0,-5", "P,5,0,-5,0,0,90"}, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(
      Boxes(),
      (std::vector<std::string>{"エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                " の 2 行目：円弧の半径 5 が工具径 6 の工具で補正を始めるには小さすぎます"}));
}

TEST_F(ContourProgram, PointLineInTheMiddleEndsOneContourAndTheNextHasItsOwnApproach) {
  // The first contour ends with its run-off, G40 off the contour and the rapid to the start Z; the
  // second starts beside its own lead-in, down to its R level, with compensation switched on again.
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90", "P,50,0,-8,0,0,90",
                  "L,70,0,-8,0,0,0", "P,70,0,-8,0,0,90"}),
            Text({"X6. Y4.", "Z-3.", "G01 Z-5. F600", "G41 Y0. D07 F300", "X10.", "X30.", "X34.", "G40 Y4.",
                  "G00 Z50.", "X46.", "Z-6.", "G01 Z-8. F600", "G41 Y0. D07 F300", "X50.", "X70.", "X74.",
                  "G40 Y4.", "G00 Z50."}));
  // Blank lines carry no segment: a trailing empty line is no rapid to X0 Y0 Z0. A point line with
  // nothing after it cuts nothing.
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "", "L,30,0,-5,0,0,0", "  ", "P,30,0,-5,0,0,0", "P,50,0,-5,0,0,0"}),
            Text({"X6. Y4.", "Z-3.", "G01 Z-5. F600", "G41 Y0. D07 F300", "X10.", "X30.", "X34.", "G40 Y4.",
                  "G00 Z50."}));
}

TEST_F(ContourProgram, NumbersNoControlTakesStopTheProgram) {
  // Found when the contour is read ahead, before any of its blocks; a contour before it is complete.
  int rc = 0;
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,nan,0,-5,0,0,0"}, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90", "", "P,50,0,-5,0,0,90",
                  "C,1e9,0,-5,0,0,1"},
                 &rc),
            Text({"X6. Y4.", "Z-3.", "G01 Z-5. F600", "G41 Y0. D07 F300", "X10.", "X30.", "X34.", "G40 Y4.",
                  "G00 Z50."}));
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                                   " の 2 行目に使えない数値があります",
                                               "エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                                   " の 6 行目に使えない数値があります"}));
}

TEST_F(ContourProgram, PointsBesideTheContourBeyondTheControlsRangeStopTheProgram) {
  // Every point of the file lies within ±99999.999, but the run-off extends the last line 4 mm to
  // X100002: the program stops before that block, naming the point.
  int rc = 0;
  EXPECT_EQ(Path({"P,99990,0,-5,0,0,90", "L,99998,0,-5,0,0,0", "P,99998,0,-5,0,0,90"}, &rc),
            Text({"X99986. Y4.", "Z-3.", "G01 Z-5. F600", "G41 Y0. D07 F300", "X99990.", "X99998."}));
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                               " の 3 行目までの輪郭：工具の移動先 X100002.000 Y0.000 が"
                                               "制御装置の範囲（±99999.999）を超えます"}));
}

TEST_F(ContourProgram, UnreadableCurveFileIsNamed) {
  ctx().dbPath = folder.File("db/CURVE.dat");
  ASSERT_TRUE(WriteString(ctx().dbPath, "ncproc1", "定義", folder.File("input/none.csv")));
  NcProcessRecord rec;
  StringSink out;
  EXPECT_EQ(WriteEuklidContour(ctx(), out, "ncproc1", rec, StartPosition{}), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：曲線定義ファイル " + folder.File("input/none.csv") +
                                               " が開けません"}));
  EXPECT_EQ(out.text, "");
}

// The shipped sample through the form and the program, as the user runs it.
class SampleProgram : public EuklidTest {
 protected:
  void MakeProgram() {
    tc.platform.now = Timestamp{2026, 6, 8, 9, 15, 2, 1};
    ASSERT_TRUE(WriteString(tc.inst.iniPath, "TALVORIN", "ncviewer", "/bin/true"));
    folder.Write("ncdata/.keep", "");
    EuklidNcForm form;
    ASSERT_EQ(OpenEuklidNcForm(ctx(), form, folder.File("euklid/PLATE-CONTOUR.csv")), 0);
    form.material = "S45C";
    form.toolDiameter = "6";
    ASSERT_EQ(EukToolDiameterEvent(ctx(), form), 0);
    form.toolNumber = "7";
    EukToolNumberEvent(form);
    ASSERT_EQ(SaveEuklidNcForm(ctx(), form, true), 0);
    ASSERT_EQ(MakeEuklidFanucNcdata(ctx()), 0);
  }
};

TEST_F(SampleProgram, WholeProgramOfTheSampleContour) {
  MakeProgram();
  // d = 6 / 2 + 1 = 4; start (0, 10) with direction 90: approach at (-4, 10), R level -5 + 2 = -3.
  // Clockwise corners about (10, 40), (70, 10), (10, 10); the notch about (55, 50) counter-clockwise.
  // The end point repeats the start and the start is no inside corner (the last arc arrives going up,
  // as the first line leaves): the run-on goes 4 mm up the first line to (0, 14), off the contour to
  // (-4, 14) with G40, up to Z50.
  const std::string expected = Text({
      "%",
      "O1000",
      "G90 G17 G40 G49 G80",
      "N1",
      "(FINISH END MILL)",
      "M09",
      "M05",
      "G91 G28 Z0.",
      "T07",
      "M06",
      "G90 G00 G54 X0. Y0.",
      "G43 H07 Z50.",
      "S4770 M03",
      "M08",
      "X-4. Y10.",
      "Z-3.",
      "G01 Z-5. F576",
      "G41 X0. D07 F288",
      "Y40.",
      "G02 X10. Y50. I10.",
      "G01 X45.",
      "G03 X65. I10.",
      "G01 X80.",
      "Y10.",
      "G02 X70. Y0. I-10.",
      "G01 X10.",
      "G02 X0. Y10. J10.",
      "G01 Y14.",
      "G40 X-4.",
      "G00 Z50.",
      "M09",
      "M05",
      "X0. Y0.",
      "M09",
      "M05",
      "G91 G28 Z0.",
      "G28 X0. Y0.",
      "G90",
      "M30",
      "%",
  });
  EXPECT_EQ(folder.ReadCp932("ncdata/O1000.NC"), expected);
  // The program is shown in the NC viewer.
  ASSERT_FALSE(tc.platform.calls.empty());
  EXPECT_EQ(tc.platform.calls.back().target, "/bin/true");
  ASSERT_FALSE(tc.platform.calls.empty());
  EXPECT_EQ(tc.platform.calls.back().args, (std::vector<std::string>{folder.File("ncdata/O1000.NC")}));
}

TEST_F(SampleProgram, ValueNoControlTakesStopsTheProgram) {
  MakeProgram();
  const std::string before = folder.Read("ncdata/O1000.NC");
  ASSERT_TRUE(WriteString(ctx().dbPath, "ncproc1", "diam", "nan"));
  EXPECT_EQ(MakeEuklidFanucNcdata(ctx()), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：[ncproc1] diam=nan 数値が範囲外です"}));
  EXPECT_EQ(folder.Read("ncdata/O1000.NC"), before);
}

TEST_F(SampleProgram, FailedProgramKeepsTheEarlierFile) {
  MakeProgram();
  const std::string before = folder.Read("ncdata/O1000.NC");
  // The curve file gone: the program stops and the NC file is the earlier one.
  std::filesystem::remove(folder.File("euklid/PLATE-CONTOUR.csv"));
  EXPECT_EQ(MakeEuklidFanucNcdata(ctx()), -1);
  EXPECT_EQ(folder.Read("ncdata/O1000.NC"), before);
}

}  // namespace
}  // namespace talvorin::test
