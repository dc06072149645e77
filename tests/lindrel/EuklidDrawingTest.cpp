// The contour drawing's export run on curve files and project databases written by hand: segments,
// layers by line number, arc directions, extents, messages, and the drawings read back by ezdxf.
#include <gtest/gtest.h>

#include <memory>

#include "dxf/DxfCheck.h"
#include "lindrel/EuklidDrawing.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Groups;

// The contour of a P line at (10, 0), a line to (30, 0), an arc to (30, 20) about (30, 10) and the
// end point.
constexpr const char* kExample =
    "P,10,0,-5,0,0,90\nL,30,0,-5,0,0,0\nC,30,20,-5,30,10,-10\nP,30,20,-5,0,0,0\n";

class EuklidDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("tableSection.dat", "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nENDSEC\r\n");
    folder.WriteCp932("lindrel.ini", "[lindrel]\r\nviewer=/opt/viewer/bin/dxfview\r\n");
    folder.Write("dxf/keep", "");
    Restart();
    Project("dxffile=" + folder.File("dxf/E1.dxf") + "\r\ncsvfile=" + folder.File("curve.csv") + "\r\n");
  }
  void Restart() {
    t = std::make_unique<test::TestContext>(folder);
    t->inst.iniPath = folder.File("lindrel.ini");
    t->ctx.dbPath = folder.File("db/E1.dat");
  }
  void Project(const std::string& keys) {
    folder.WriteCp932("db/E1.dat", "[TALVORIN]\r\nproject=E1\r\n" + keys);
  }
  // The entities of the curve file `curve`.
  std::string Segments(const std::string& curve) {
    folder.Write("curve.csv", curve);
    StringSink sink;
    DxfDrawing d{sink, ElementColor{}, "", "", 0, ""};
    EXPECT_EQ(WriteEuklidSegments(t->ctx, d, folder.File("curve.csv")), 0);
    return sink.text;
  }
  std::string OnlyError() const {
    EXPECT_EQ(t->reporter.boxes.size(), 1u);
    if (t->reporter.boxes.empty()) return "";
    EXPECT_EQ(t->reporter.boxes[0].second, -1);
    return t->reporter.boxes[0].first;
  }

  test::TestFolder folder;
  std::unique_ptr<test::TestContext> t;
};

TEST_F(EuklidDrawing, ExampleContourIsALineAndACounterClockwiseArc) {
  EXPECT_EQ(Segments(kExample), Groups(R"(  0|LINE
  8|LINE-2
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|10.000000
 20|0.000000
 11|30.000000
 21|0.000000
  0|ARC
  8|ARC-3
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|30.000000
 20|10.000000
 40|10.000000
 50|270.000000
 51|90.000000
)"));
  // Value +10: clockwise from (30, 0) to (30, 20) is the left half.
  EXPECT_EQ(Segments("P,10,0,-5,0,0,90\nL,30,0,-5,0,0,0\nC,30,20,-5,30,10,10\nP,30,20,-5,0,0,0\n"),
            Groups(R"(  0|LINE
  8|LINE-2
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|10.000000
 20|0.000000
 11|30.000000
 21|0.000000
  0|ARC
  8|ARC-3
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|30.000000
 20|10.000000
 40|10.000000
 50|90.000000
 51|270.000000
)"));
  EXPECT_EQ(t->reporter.Lines(), (std::vector<std::string>{"!!! routine name : WriteEuklidSegments",
                                                           "!!! routine name : WriteEuklidSegments"}));
}

TEST_F(EuklidDrawing, ClosedArcIsACircleAndOtherTypesDrawNothing) {
  // The first line is only the start point, whatever its type. A C line ending where the previous
  // one ended is a full circle of radius |value|; lower-case types and P lines draw nothing.
  EXPECT_EQ(Segments("L,10,0,0,0,0,0\nC,10,0,0,0,0,-5\nl,20,0,0,0,0,0\nc,20,20,0,20,10,10\nP,20,20,0,0,0,0\n"
                     "L,20,0,0,0,0,0\n"),
            Groups(R"(  0|CIRCLE
  8|CIRCLE-2
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|5.000000
  0|LINE
  8|LINE-6
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|20.000000
 20|20.000000
 11|20.000000
 21|0.000000
)"));
}

TEST_F(EuklidDrawing, ArcEndOnItsCentreIsReportedAndSkipped) {
  EXPECT_EQ(Segments("P,10,0,0,0,0,0\nC,5.0005,5,0,5,5,-5\nL,0,0,0,0,0,0\n"), Groups(R"(  0|LINE
  8|LINE-3
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|5.000500
 20|5.000000
 11|0.000000
 21|0.000000
)"));
  EXPECT_EQ(OnlyError(), "エラー：円の中心と点が同じ座標です");
}

TEST(PointAngle, QuadrantsAxesAndTheDeadZone) {
  RecordingReporter rep;
  struct Case {
    DxfPoint point;
    double angle;
  } cases[] = {
      {{5, 5}, 45},   {{-5, 5}, 135}, {{-5, -5}, 225}, {{5, -5}, 315},    {{3, 0}, 0},
      {{-3, 0}, 180}, {{0, 3}, 90},   {{0, -3}, 270},  {{0.0009, 5}, 90}, {{-5, -0.0009}, 180},
  };
  for (const Case& c : cases) {
    double angle = -1;
    EXPECT_EQ(PointAngle(rep, {0, 0}, c.point, angle), 0) << c.point.x << "," << c.point.y;
    EXPECT_NEAR(angle, c.angle, 1e-12) << c.point.x << "," << c.point.y;
  }
  // 0.001 itself is outside the dead zone: just past 270, not 270.
  double past = -1;
  EXPECT_EQ(PointAngle(rep, {0, 0}, {0.001, -2}, past), 0);
  EXPECT_NEAR(past, 270.028648, 1e-6);
  // Relative to the centre; within 0.001 in both coordinates counts as the centre itself.
  double angle = -1;
  EXPECT_EQ(PointAngle(rep, {10, 10}, {5, 15}, angle), 0);
  EXPECT_NEAR(angle, 135, 1e-12);
  EXPECT_EQ(PointAngle(rep, {10, 10}, {10.0009, 9.9991}, angle), -1);
  EXPECT_TRUE(rep.boxes.size() == 1u && rep.boxes[0].first == "エラー：円の中心と点が同じ座標です");
}

TEST_F(EuklidDrawing, WholeDrawingOfASmallContour) {
  folder.Write("curve.csv", "P,1,0,0,0,0,90\r\nL,2,0,0,0,0,0\r\nC,2,2,0,2,1,-1\r\nP,2,2,0,0,0,0\r\n");
  ASSERT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), 0);
  EXPECT_EQ(folder.ReadCp932("dxf/E1.dxf"), Groups(R"(  0|SECTION
  2|HEADER
  9|$ACADVER
  1|AC1009
  9|$DWGCODEPAGE
  3|ANSI_932
  9|$EXTMIN
 10|-0.600000
 20|-0.400000
 30|0.000000
  9|$EXTMAX
 10|3.600000
 20|2.400000
 30|0.000000
  0|ENDSEC
  0|SECTION
  2|TABLES
  0|ENDSEC
  0|SECTION
  2|ENTITIES
  0|LINE
  8|LINE-2
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|1.000000
 20|0.000000
 11|2.000000
 21|0.000000
  0|ARC
  8|ARC-3
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|2.000000
 20|1.000000
 40|1.000000
 50|270.000000
 51|90.000000
  0|LINE
  8|基準線
  6|CENTER
 62|2
 100|AcDbLine
 10|-0.600000
 20|0.000000
 11|3.600000
 21|0.000000
  0|LINE
  8|基準線
  6|CENTER
 62|2
 100|AcDbLine
 10|0.000000
 20|-0.400000
 11|0.000000
 21|2.400000
  0|CIRCLE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.125000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|0.000000
 51|90.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|180.000000
 51|270.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|-0.250000
 20|0.000000
 11|0.250000
 21|0.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|0.000000
 20|-0.250000
 11|0.000000
 21|0.250000
  0|ENDSEC
  0|EOF
)"));
  EXPECT_EQ(t->reporter.Lines(),
            (std::vector<std::string>{"!!! routine name : ExportEuklidDrawing", "!!! routine name : lindrel",
                                      "!!! routine name : GetMinMaxPoint",
                                      "!!! routine name : WriteEuklidSegments"}));
  ASSERT_EQ(t->platform.calls.size(), 1u);
  EXPECT_EQ(t->platform.calls[0].target, "/opt/viewer/bin/dxfview");
  EXPECT_EQ(t->platform.calls[0].args, std::vector<std::string>{folder.File("dxf/E1.dxf")});
}

TEST_F(EuklidDrawing, ExampleContourLoadsInEzdxf) {
  test::CopyProgramFolder(folder);
  folder.Write("curve.csv", kExample);
  ASSERT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), 0);
  std::string report = test::CheckDxf(folder.File("dxf/E1.dxf"));
  // The whole circle of the arc counts for the extents: (40, 20) is its rightmost point.
  std::string head = R"(encoding cp932
audit errors 0
header $EXTMIN -8.000000 -4.000000
header $EXTMAX 48.000000 24.000000
layer ARC-3 1
layer LINE-2 1
layer 原点 31
layer 基準線 2
LINE LINE-2 10.000000 0.000000 30.000000 0.000000
ARC ARC-3 30.000000 10.000000 10.000000 270.000000 90.000000
LINE 基準線 -8.000000 0.000000 48.000000 0.000000
LINE 基準線 0.000000 -4.000000 0.000000 24.000000
CIRCLE 原点 0.000000 0.000000 1.500000
ARC 原点 0.000000 0.000000 0.100000 0.000000 90.000000
)";
  EXPECT_EQ(report.substr(0, head.size()), head);
  // Radius 1.5: quarter arcs of 0.1 to 1.4, fourteen pairs.
  std::vector<std::string> arcs = test::ReportLines(report, "ARC 原点");
  ASSERT_EQ(arcs.size(), 28u);
  EXPECT_EQ(arcs[27], "ARC 原点 0.000000 0.000000 1.400000 180.000000 270.000000");
}

TEST_F(EuklidDrawing, ContourWhollyAtNegativeXStillContainsTheOrigin) {
  test::CopyProgramFolder(folder);
  folder.Write("curve.csv", "P,-30,5,0,0,0,0\nL,-10,5,0,0,0,0\nP,-10,5,0,0,0,0\n");
  DxfPoint min, max;
  ASSERT_EQ(GetMinMaxPoint(t->ctx, folder.File("curve.csv"), min, max), 0);
  EXPECT_EQ(min.x, -30);
  EXPECT_EQ(min.y, 0);
  EXPECT_EQ(max.x, 0);
  EXPECT_EQ(max.y, 5);
  ASSERT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), 0);
  std::string report = test::CheckDxf(folder.File("dxf/E1.dxf"));
  EXPECT_EQ(
      test::ReportLines(report, "header"),
      (std::vector<std::string>{"header $EXTMIN -36.000000 -1.000000", "header $EXTMAX 6.000000 6.000000"}));
  EXPECT_EQ(test::ReportLines(report, "LINE 基準線"),
            (std::vector<std::string>{"LINE 基準線 -36.000000 0.000000 6.000000 0.000000",
                                      "LINE 基準線 0.000000 -1.000000 0.000000 6.000000"}));
  EXPECT_EQ(test::ReportLines(report, "LINE LINE"),
            std::vector<std::string>{"LINE LINE-2 -30.000000 5.000000 -10.000000 5.000000"});
}

TEST_F(EuklidDrawing, FailuresAreReportedAndLeaveNoDrawing) {
  struct Case {
    std::string keys, message;
  };
  const Case cases[] = {
      {"csvfile=" + folder.File("curve.csv") + "\r\n", "エラー：[TALVORIN] dxffile= | DXFファイル取得失敗"},
      {"dxffile=" + folder.File("dxf/E1.dxf") + "\r\n",
       "エラー：[TALVORIN] csvfile= | Euklidファイルが開けません"},
      {"dxffile=" + folder.File("dxf/E1.dxf") + "\r\ncsvfile=" + folder.File("none.csv") + "\r\n",
       "エラー：EUKLID出力ファイル " + folder.File("none.csv") + " が開けません"},
      {"dxffile=" + folder.File("nodir/E1.dxf") + "\r\ncsvfile=" + folder.File("curve.csv") + "\r\n",
       "エラー：DXFファイル " + folder.File("nodir/E1.dxf") + " 開けません"},
  };
  folder.Write("curve.csv", kExample);
  for (const Case& c : cases) {
    Restart();
    Project(c.keys);
    EXPECT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), -1) << c.message;
    EXPECT_EQ(OnlyError(), c.message);
    EXPECT_FALSE(PathExists(folder.File("dxf/E1.dxf")));
    EXPECT_FALSE(PathExists(folder.File("nodir")));
    EXPECT_TRUE(t->platform.calls.empty());
  }
  // A missing table section ends the run after the header: no drawing either.
  Restart();
  Project("dxffile=" + folder.File("dxf/E1.dxf") + "\r\ncsvfile=" + folder.File("curve.csv") + "\r\n");
  std::remove(folder.File("tableSection.dat").c_str());
  EXPECT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "エラー：DXFファイル " + folder.File("tableSection.dat") + " 開けません");
  EXPECT_FALSE(PathExists(folder.File("dxf/E1.dxf")));
}

TEST_F(EuklidDrawing, ViewerIsTheOneOfSectionLindrel) {
  folder.WriteCp932("lindrel.ini", "[quorvex]\r\nviewer=/opt/other\r\n[lindrel]\r\nconsol=1\r\n");
  folder.Write("curve.csv", kExample);
  Restart();
  EXPECT_EQ(ExportEuklidDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "DXF Viewer の設定がありません。");
  EXPECT_TRUE(PathExists(folder.File("dxf/E1.dxf")));
  EXPECT_TRUE(WantsConsole(t->inst));
}

}  // namespace
}  // namespace talvorin
