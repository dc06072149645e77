// The hole-group writers of the hole drawing, one kind at a time: DXF text worked out by hand from the
// group's shape values and positions.
#include <gtest/gtest.h>

#include <memory>

#include "dxf/DxfCheck.h"
#include "quorvex/HoleDrawing.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Groups;

class HoleWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    t = std::make_unique<test::TestContext>(folder);
    t->inst.iniPath = folder.File("quorvex.ini");
  }
  // The project database holding the group's positions.
  void Positions(std::string_view keys) {
    folder.WriteCp932("db/P01.dat", "[hole1]\r\ncommand=x [X]\r\n" + std::string(keys));
    t->ctx.dbPath = folder.File("db/P01.dat");
  }
  static ShapeValues V(std::initializer_list<std::pair<int, double>> set) {
    ShapeValues v{};
    for (auto [i, value] : set)
      v[static_cast<std::size_t>(i)] = value;
    return v;
  }
  std::vector<std::string> Lines() const { return t->reporter.Lines(); }

  test::TestFolder folder;
  std::unique_ptr<test::TestContext> t;
  StringSink sink;
  DxfDrawing d{sink, ElementColor{}, "", "", 0, ""};
};

// The two lines of a centre cross on layer 基準線 (colour 2), as the tests below expect them.
constexpr const char* kCrossHead = "  0|LINE\n  8|基準線\n  6|HIDDEN\n 62|2\n 100|AcDbLine\n";

TEST_F(HoleWriters, DrillWithoutChamferIsOneCircleAndItsCross) {
  Positions("X0=20.\r\nY0=30.\r\n");
  EXPECT_EQ(WriteDrillHole(t->ctx, d, "hole1", V({{0, 10}, {1, 15}}), "ドリル", 2), 0);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|2-D10-ドリル
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|20.000000
 20|30.000000
 40|5.000000
)") + kCrossHead + R"( 10|12.500000
 20|30.000000
 11|27.500000
 21|30.000000
)" + kCrossHead + R"( 10|20.000000
 20|22.500000
 11|20.000000
 21|37.500000
)"));
  EXPECT_EQ(Lines(), std::vector<std::string>{"!!! routine name : WriteDrillHole"});
}

TEST_F(HoleWriters, DrillWithChamferAddsTheChamferCircleAndCrossesIt) {
  Positions("X0=20.\r\nY0=30.\r\n");
  d.colors.figure = 7;
  WriteDrillHole(t->ctx, d, "hole1", V({{0, 8.25}, {2, 0.5}}), "ドリル", 1);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|1-D8.25-ドリル
  6|CONTINUOUS
 62|7
 100|AcDbCircle
 10|20.000000
 20|30.000000
 40|4.125000
  0|CIRCLE
  8|1-D8.25-ドリル
  6|CONTINUOUS
 62|7
 100|AcDbCircle
 10|20.000000
 20|30.000000
 40|4.625000
)") + kCrossHead + R"( 10|13.062500
 20|30.000000
 11|26.937500
 21|30.000000
)" + kCrossHead + R"( 10|20.000000
 20|23.062500
 11|20.000000
 21|36.937500
)"));
}

TEST_F(HoleWriters, TapIsPilotNominalAndChamferCircles) {
  Positions("X0=0\r\nY0=0\r\n");
  WriteTapHole(t->ctx, d, "hole1", V({{0, 10}, {3, 8.5}, {5, 0.5}}), "並目タップ", 2);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|2-M10-並目タップ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|4.250000
  0|CIRCLE
  8|2-M10-並目タップ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|5.000000
  0|CIRCLE
  8|2-M10-並目タップ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|5.500000
)") + kCrossHead + R"( 10|-8.250000
 20|0.000000
 11|8.250000
 21|0.000000
)" + kCrossHead + R"( 10|0.000000
 20|-8.250000
 11|0.000000
 21|8.250000
)"));
}

TEST_F(HoleWriters, ReamerCounterboreAndBigHole) {
  Positions("X0=10\r\nY0=-10\r\n");
  WriteReamerHole(t->ctx, d, "hole1", V({{0, 6}, {2, 5.8}, {4, 0.3}}), "リーマ", 3);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|3-D6-リーマ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|10.000000
 20|-10.000000
 40|3.000000
  0|CIRCLE
  8|3-D6-リーマ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|10.000000
 20|-10.000000
 40|3.300000
)") + kCrossHead + R"( 10|5.050000
 20|-10.000000
 11|14.950000
 21|-10.000000
)" + kCrossHead + R"( 10|10.000000
 20|-14.950000
 11|10.000000
 21|-5.050000
)"));

  sink.text.clear();
  Positions("X0=30\r\nY0=20\r\n");
  WriteCounterboreHole(t->ctx, d, "hole1", V({{0, 9}, {1, 20}, {2, 14}, {3, 8.6}, {4, 0.5}}), "ザグリ", 4);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|4-Z14-D9-ザグリ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|30.000000
 20|20.000000
 40|4.500000
  0|CIRCLE
  8|4-Z14-D9-ザグリ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|30.000000
 20|20.000000
 40|7.000000
  0|CIRCLE
  8|4-Z14-D9-ザグリ
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|30.000000
 20|20.000000
 40|7.500000
)") + kCrossHead + R"( 10|18.750000
 20|20.000000
 11|41.250000
 21|20.000000
)" + kCrossHead + R"( 10|30.000000
 20|8.750000
 11|30.000000
 21|31.250000
)"));

  sink.text.clear();
  Positions("X0=50\r\nY0=50\r\n");
  WriteBigHoleHole(t->ctx, d, "hole1", V({{0, 40}, {1, 20}, {2, 1}}), "大穴", 5);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|CIRCLE
  8|5-D40-大穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|50.000000
 20|50.000000
 40|20.000000
  0|CIRCLE
  8|5-D40-大穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|50.000000
 20|50.000000
 40|21.000000
)") + kCrossHead + R"( 10|18.500000
 20|50.000000
 11|81.500000
 21|50.000000
)" + kCrossHead + R"( 10|50.000000
 20|18.500000
 11|50.000000
 21|81.500000
)"));
}

TEST_F(HoleWriters, AZeroRequiredValueDrawsNothing) {
  Positions("X0=0\r\nY0=0\r\n");
  WriteDrillHole(t->ctx, d, "hole1", V({{2, 1}}), "ドリル", 1);
  WriteTapHole(t->ctx, d, "hole1", V({{0, 10}, {5, 0.5}}), "並目タップ", 2);  // no pilot diameter
  WriteCounterboreHole(t->ctx, d, "hole1", V({{0, 9}}), "ザグリ", 3);         // no counterbore diameter
  WriteReamerHole(t->ctx, d, "hole1", V({}), "リーマ", 4);
  WriteBigHoleHole(t->ctx, d, "hole1", V({}), "大穴", 5);
  WriteLongHole(t->ctx, d, "hole1", V({{1, 30}}), "長穴", 6);
  WriteUgroove(t->ctx, d, "hole1", V({{1, 90}}), "Ｕ溝", 6, {}, {});
  EXPECT_EQ(sink.text, "");
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "!!! routine name : WriteDrillHole", "!!! routine name : WriteTapHole",
                         "!!! routine name : WriteCounterboreHole", "!!! routine name : WriteReamerHole",
                         "!!! routine name : WriteBigHoleHole", "!!! routine name : WriteLongHole",
                         "!!! routine name : WriteUgroove"}));
}

TEST_F(HoleWriters, PositionsEndAtTheFirstMissingCoordinate) {
  // X4 is missing: X5/Y5 are never reached. In the second group Y1 is missing.
  Positions(
      "X0=0\r\nY0=0\r\nX1=10\r\nY1=0\r\nX2=20\r\nY2=0\r\nX3=30\r\nY3=0\r\nY4=0\r\nX5=50\r\nY5=0\r\n"
      "[hole2]\r\nX0=1\r\nY0=1\r\nX1=2\r\nY1=\r\nX2=3\r\nY2=3\r\n");
  WriteDrillHole(t->ctx, d, "hole1", V({{0, 5}}), "ドリル", 1);
  WriteDrillHole(t->ctx, d, "hole2", V({{0, 5}}), "ドリル", 2);
  std::string text = sink.text;
  auto count = [&](const std::string& s) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(s); pos != std::string::npos; pos = text.find(s, pos + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("CIRCLE\r\n  8\r\n1-D5-ドリル\r\n"), 4u);
  EXPECT_EQ(count("CIRCLE\r\n  8\r\n2-D5-ドリル\r\n"), 1u);
  EXPECT_EQ(count("\r\n 10\r\n50.000000\r\n"), 0u);
}

TEST_F(HoleWriters, LongHoleAtZeroDegrees) {
  Positions("CX0=50.\r\nCY0=20.\r\nX0=35.\r\nY0=20.\r\n");
  WriteLongHole(t->ctx, d, "hole1", V({{0, 10}, {1, 30}, {2, 10}}), "長穴", 6);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|LINE
  8|6-D10-W30_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|35.000000
 20|15.000000
 11|65.000000
 21|15.000000
  0|LINE
  8|6-D10-W30_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|65.000000
 20|25.000000
 11|35.000000
 21|25.000000
  0|ARC
  8|6-D10-W30_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|35.000000
 20|20.000000
 40|5.000000
 50|90.000000
 51|270.000000
  0|ARC
  8|6-D10-W30_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|65.000000
 20|20.000000
 40|5.000000
 50|270.000000
 51|90.000000
)") + kCrossHead + R"( 10|42.500000
 20|20.000000
 11|57.500000
 21|20.000000
)" + kCrossHead + R"( 10|50.000000
 20|12.500000
 11|50.000000
 21|27.500000
)"));
}

TEST_F(HoleWriters, CounterboredLongHoleAtZeroDegrees) {
  Positions("CX0=0\r\nCY0=0\r\n");
  WriteLongHole(t->ctx, d, "hole1", V({{0, 8}, {1, 20}, {2, 10}, {4, 12}, {5, 6}}), "長穴", 1);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|LINE
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|-10.000000
 20|-4.000000
 11|10.000000
 21|-4.000000
  0|LINE
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|-10.000000
 20|-6.000000
 11|10.000000
 21|-6.000000
  0|LINE
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|10.000000
 20|4.000000
 11|-10.000000
 21|4.000000
  0|LINE
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|10.000000
 20|6.000000
 11|-10.000000
 21|6.000000
  0|ARC
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|-10.000000
 20|0.000000
 40|4.000000
 50|90.000000
 51|270.000000
  0|ARC
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|-10.000000
 20|0.000000
 40|6.000000
 50|90.000000
 51|270.000000
  0|ARC
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|10.000000
 20|0.000000
 40|4.000000
 50|270.000000
 51|90.000000
  0|ARC
  8|1-D8-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|10.000000
 20|0.000000
 40|6.000000
 50|270.000000
 51|90.000000
)") + kCrossHead + R"( 10|-9.000000
 20|0.000000
 11|9.000000
 21|0.000000
)" + kCrossHead + R"( 10|0.000000
 20|-9.000000
 11|0.000000
 21|9.000000
)"));
}

TEST_F(HoleWriters, LongHoleAtFortyFiveDegrees) {
  Positions("CX0=100\r\nCY0=50\r\n");
  WriteLongHole(t->ctx, d, "hole1", V({{0, 10}, {1, 20}, {3, 45}}), "長穴", 1);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|96.464466
 20|39.393398
 11|110.606602
 21|53.535534
  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|103.535534
 20|60.606602
 11|89.393398
 21|46.464466
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|92.928932
 20|42.928932
 40|5.000000
 50|135.000000
 51|315.000000
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|107.071068
 20|57.071068
 40|5.000000
 50|315.000000
 51|135.000000
)") + kCrossHead + R"( 10|92.500000
 20|50.000000
 11|107.500000
 21|50.000000
)" + kCrossHead + R"( 10|100.000000
 20|42.500000
 11|100.000000
 21|57.500000
)"));
}

TEST_F(HoleWriters, CounterboredLongHoleAtFortyFiveDegrees) {
  Positions("CX0=100\r\nCY0=50\r\n");
  WriteLongHole(t->ctx, d, "hole1", V({{0, 10}, {1, 20}, {3, 45}, {4, 14}}), "長穴", 1);
  EXPECT_EQ(sink.text, Groups(std::string(R"(  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|96.464466
 20|39.393398
 11|110.606602
 21|53.535534
  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|97.878680
 20|37.979185
 11|112.020815
 21|52.121320
  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|103.535534
 20|60.606602
 11|89.393398
 21|46.464466
  0|LINE
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbLine
 10|102.121320
 20|62.020815
 11|87.979185
 21|47.878680
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|92.928932
 20|42.928932
 40|5.000000
 50|135.000000
 51|315.000000
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|92.928932
 20|42.928932
 40|7.000000
 50|135.000000
 51|315.000000
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|107.071068
 20|57.071068
 40|5.000000
 50|315.000000
 51|135.000000
  0|ARC
  8|1-D10-W20_長穴
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|107.071068
 20|57.071068
 40|7.000000
 50|315.000000
 51|135.000000
)") + kCrossHead + R"( 10|89.500000
 20|50.000000
 11|110.500000
 21|50.000000
)" + kCrossHead + R"( 10|100.000000
 20|39.500000
 11|100.000000
 21|60.500000
)"));
}

// A U-groove of width 10 at (30, 25) in a block from (0, 0) to (100, 50).
struct GrooveCase {
  double direction;
  const char* entities;
};

TEST_F(HoleWriters, UgrooveRunsToThePlateEdgeOfItsDirection) {
  const BlockPoint min{0, 0, -20}, max{100, 50, 0};
  const GrooveCase cases[] = {
      {0, R"( 10|0.000000
 20|30.000000
 11|30.000000
 21|30.000000
%LINE
 10|0.000000
 20|20.000000
 11|30.000000
 21|20.000000
%ARC
 50|270.000000
 51|90.000000
)"},
      {90, R"( 10|35.000000
 20|0.000000
 11|35.000000
 21|25.000000
%LINE
 10|25.000000
 20|0.000000
 11|25.000000
 21|25.000000
%ARC
 50|0.000000
 51|180.000000
)"},
      {180, R"( 10|100.000000
 20|30.000000
 11|30.000000
 21|30.000000
%LINE
 10|100.000000
 20|20.000000
 11|30.000000
 21|20.000000
%ARC
 50|90.000000
 51|270.000000
)"},
      {270, R"( 10|35.000000
 20|50.000000
 11|35.000000
 21|25.000000
%LINE
 10|25.000000
 20|50.000000
 11|25.000000
 21|25.000000
%ARC
 50|180.000000
 51|0.000000
)"},
  };
  Positions("X0=30\r\nY0=25\r\n");
  const std::string line = "  0|LINE\n  8|1-Ｕ溝-D10\n  6|CONTINUOUS\n 62|0\n 100|AcDbLine\n";
  const std::string arc =
      "  0|ARC\n  8|1-Ｕ溝-D10\n  6|CONTINUOUS\n 62|0\n 100|AcDbCircle\n 10|30.000000\n 20|25.000000\n "
      "40|5.000000\n";
  const std::string cross = std::string(kCrossHead) +
                            " 10|22.500000\n 20|25.000000\n 11|37.500000\n 21|25.000000\n" + kCrossHead +
                            " 10|30.000000\n 20|17.500000\n 11|30.000000\n 21|32.500000\n";
  for (const GrooveCase& c : cases) {
    // "%LINE" and "%ARC" stand for the entity heads above.
    std::string body = c.entities;
    body.replace(body.find("%LINE\n"), 6, line);
    body.replace(body.find("%ARC\n"), 5, arc);
    sink.text.clear();
    WriteUgroove(t->ctx, d, "hole1", V({{0, 10}, {1, c.direction}, {2, 5}}), "Ｕ溝", 1, min, max);
    EXPECT_EQ(sink.text, Groups(line + body + cross)) << c.direction;
  }

  // Any other direction ends the group at its first position, without a message.
  sink.text.clear();
  Positions("X0=30\r\nY0=25\r\nX1=60\r\nY1=25\r\n");
  WriteUgroove(t->ctx, d, "hole1", V({{0, 10}, {1, 45}}), "Ｕ溝", 1, min, max);
  EXPECT_EQ(sink.text, "");
  EXPECT_TRUE(t->reporter.boxes.empty());
}

}  // namespace
}  // namespace talvorin
