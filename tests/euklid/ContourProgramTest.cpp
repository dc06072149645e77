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

TEST_F(ContourProgram, StartsBesideTheFirstPointAndSwitchesCompensationOnWithTheFirstCut) {
  // Direction 90: the approach angle 180 puts the tool 3 + 1 mm behind the start point.
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90"}),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300", "X30.", "G40 X26.", "G00 Z50."}));
  // A first line of type L is the start point all the same, its seventh field the direction.
  EXPECT_EQ(Path({"L,10,0,-5,0,0,90", "L,30,0,-5,0,0,0"}),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300", "X30."}));
  // Direction 0: approach from the left (+Y) at 4 mm; direction 350 + 90 = 440 - 360 = 80 degrees:
  // (4 cos 80, 4 sin 80) = (0.695, 3.939).
  EXPECT_EQ(Path({"P,0,0,-2,0,0,0", "L,20,0,-2,0,0,0"}),
            Text({"Y4.", "Z0.", "G01 Z-2. F600", "G41 Y0. D07 F300", "X20."}));
  EXPECT_EQ(Path({"P,0,0,-2,0,0,350", "L,20,0,-2,0,0,0"}),
            Text({"X0.695 Y3.939", "Z0.", "G01 Z-2. F600", "G41 X0. Y0. D07 F300", "X20."}));
}

TEST_F(ContourProgram, ArcsFollowTheSignOfTheRadiusAndValueZeroKeepsTheMotion) {
  // A clockwise arc about (10, 0), then an arc with value 0 that keeps G02; I and J from the previous
  // point. Then a counter-clockwise arc, and after a line an arc of value 0 stays a line.
  EXPECT_EQ(Path({"P,0,0,-5,0,0,90", "C,10,10,-5,10,0,10", "C,20,0,-5,10,0,0", "C,30,10,-5,30,0,-10",
                  "L,40,10,-5,0,0,0", "C,50,20,-5,40,20,0"}),
            Text({"X-4.", "Z-3.", "G01 Z-5. F600", "G41 X0. D07 F300", "G02 X10. Y10. I10.", "X20. Y0. J-10.",
                  "G03 X30. Y10. I10.", "G01 X40.", "X50. Y20."}));
}

TEST_F(ContourProgram, PointLineInTheMiddleEndsOneContourAndTheNextHasItsOwnApproach) {
  // The first contour ends with G40 off the contour and the rapid to the start Z; the second starts
  // beside its own first point, down to its R level, with compensation switched on again.
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90", "P,50,0,-8,0,0,90",
                  "L,70,0,-8,0,0,0", "P,70,0,-8,0,0,90"}),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300", "X30.", "G40 X26.", "G00 Z50.", "X46.",
                  "Z-6.", "G01 Z-8. F600", "G41 X50. D07 F300", "X70.", "G40 X66.", "G00 Z50."}));
  // Blank lines carry no segment: a trailing empty line is no rapid to X0 Y0 Z0.
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "", "L,30,0,-5,0,0,0", "  "}),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300", "X30."}));
}

TEST_F(ContourProgram, NumbersNoControlTakesStopTheProgram) {
  int rc = 0;
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "L,nan,0,-5,0,0,0"}, &rc),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300"}));
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Path({"P,10,0,-5,0,0,90", "", "C,1e9,0,-5,0,0,1"}, &rc),
            Text({"X6.", "Z-3.", "G01 Z-5. F600", "G41 X10. D07 F300"}));
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                                   " の 2 行目に使えない数値があります",
                                               "エラー：曲線定義ファイル " + folder.File("input/curve.csv") +
                                                   " の 3 行目に使えない数値があります"}));
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
  // The end point repeats the start: off the contour to (-4, 10) with G40, up to Z50.
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
      "G40 G01 X-4.",
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
