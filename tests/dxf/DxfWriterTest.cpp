// The DXF writer: every entity's group sequence and number text, the file frame, the table section
// copy, the element colours and the three marks, compared with DXF text written out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf/DxfCheck.h"
#include "dxf/DxfWriter.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Groups;
using test::TestFolder;

// The values of one group code in file order, e.g. every " 40" radius.
std::vector<std::string> Values(const std::string& text, const std::string& code) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  std::vector<std::string> values;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
    if (lines[i] == code) values.push_back(lines[i + 1]);
  return values;
}

struct Drawing {
  StringSink sink;
  DxfDrawing d{sink, ElementColor{}, "", "", 0, ""};
};

TEST(DxfEntities, EachWriterWritesItsGroupsWithTheCurrentAttributes) {
  Drawing t;
  t.d.colors.dimension = 15;
  t.d.colors.text = 16;
  SetDxfLayer(t.d, "1-D10-ドリル");
  SetDxfLinetype(t.d, "CONTINUOUS");
  t.d.colour = 4;
  WriteDxfLine(t.d, {1, -2.5, 12.5, -0.0000004});
  WriteDxfCircle(t.d, {3.25, -0.0, 0.1234567});
  SetDxfLinetype(t.d, "HIDDEN");
  WriteDxfArc(t.d, {-1.5, 2, 3, 270, 90});
  // The texts carry the element colours, not the current colour.
  WriteDxfAlignedText(t.d, "14", {7, 10.85, 1.4, 90}, 1);
  WriteDxfText(t.d, "ブラケット", {1.4, -4.2, 1.4});
  EXPECT_EQ(t.sink.text, Groups(R"(  0|LINE
  8|1-D10-ドリル
  6|CONTINUOUS
 62|4
 100|AcDbLine
 10|1.000000
 20|-2.500000
 11|12.500000
 21|-0.000000
  0|CIRCLE
  8|1-D10-ドリル
  6|CONTINUOUS
 62|4
 100|AcDbCircle
 10|3.250000
 20|-0.000000
 40|0.123457
  0|ARC
  8|1-D10-ドリル
  6|HIDDEN
 62|4
 100|AcDbCircle
 10|-1.500000
 20|2.000000
 40|3.000000
 50|270.000000
 51|90.000000
  0|TEXT
  8|1-D10-ドリル
  6|HIDDEN
 62|15
 72|1
 100|AcDbText
 10|7.000000
 20|10.850000
 40|1.400000
 50|90.000000
 11|7.000000
 21|10.850000
  1|14
  0|TEXT
  8|1-D10-ドリル
  6|HIDDEN
 62|16
 100|AcDbText
 10|1.400000
 20|-4.200000
 40|1.400000
  1|ブラケット
)"));
}

TEST(DxfEntities, NamesBeyondTheirLimitsAreCutWithoutSplittingACharacter) {
  Drawing t;
  SetDxfLayer(t.d, "1-D123456.789-W123456.789_長穴穴");    // 32 bytes
  EXPECT_EQ(t.d.layer, "1-D123456.789-W123456.789_長穴");  // 30
  SetDxfLayer(t.d, "ああああああああああああああああ");    // 32 bytes
  EXPECT_EQ(t.d.layer, "あああああああああああああああ");  // 30
  SetDxfLinetype(t.d, "CONTINUOUS-DASHED");
  EXPECT_EQ(t.d.linetype, "CONTINUOUS-DASH");
}

TEST(DxfFrame, HeaderTablesEntitiesAndEnd) {
  TestFolder folder;
  // The table section is copied as it stands: here a short one of the test's own.
  folder.Write("tableSection.dat", "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nENDSEC\r\n");
  test::TestContext t(folder);
  Drawing w;
  WriteDxfHeader(w.d, {-4.2, -0.0}, {28, 14});
  ASSERT_EQ(CopyTableSection(w.d, t.inst, t.reporter), 0);
  BeginDxfEntities(w.d);
  EndDxfFile(w.d);
  EXPECT_EQ(w.sink.text, Groups(R"(  0|SECTION
  2|HEADER
  9|$ACADVER
  1|AC1009
  9|$DWGCODEPAGE
  3|ANSI_932
  9|$EXTMIN
 10|-4.200000
 20|-0.000000
 30|0.000000
  9|$EXTMAX
 10|28.000000
 20|14.000000
 30|0.000000
  0|ENDSEC
  0|SECTION
  2|TABLES
  0|ENDSEC
  0|SECTION
  2|ENTITIES
  0|ENDSEC
  0|EOF
)"));
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST(DxfFrame, TableSectionIsCopiedUninterpretedWithCrLfLineEnds) {
  TestFolder folder;
  // Format directives, a line longer than any read piece, Japanese text (whose CP932 trail bytes
  // include "\" and "|"), lines ending in LF only, a lone CR, and no line end at the very end.
  std::string longLine(200, 'x');
  std::string bytes = test::Cp932("  0\r\nTABLE\r\n999\r\n%s %d %n 100%\r\n" + longLine +
                                  "\r\n  2\n表示\nソポ\nab\rc\r\nEND");
  folder.Write("TableSection.DAT", bytes);  // found whatever the letter case
  test::TestContext t(folder);
  TextFile file;
  ASSERT_TRUE(file.Replace(folder.File("out.dxf")));
  DxfDrawing d{file, ElementColor{}, "", "", 0, ""};
  ASSERT_EQ(CopyTableSection(d, t.inst, t.reporter), 0);
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(folder.Read("out.dxf"), test::Cp932("  0\r\nTABLE\r\n999\r\n%s %d %n 100%\r\n" + longLine +
                                                "\r\n  2\r\n表示\r\nソポ\r\nab\rc\r\nEND"));
}

TEST(DxfFrame, MissingTableSectionIsReported) {
  TestFolder folder;
  test::TestContext t(folder);
  Drawing w;
  EXPECT_EQ(CopyTableSection(w.d, t.inst, t.reporter), -1);
  std::string message = "エラー：DXFファイル " + folder.File("tableSection.dat") + " 開けません";
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{message});
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0], std::make_pair(message, -1));
  EXPECT_EQ(w.sink.text, "");
}

TEST(ElementColors, DefaultsAndIntegerReads) {
  TestFolder folder;
  ElementColor none = ReadElementColor(folder.File("quorvex.ini"));  // no file: every default
  EXPECT_EQ(none.figure, 0);
  EXPECT_EQ(none.origin, 1);
  EXPECT_EQ(none.reference, 2);
  EXPECT_EQ(none.material, 3);
  EXPECT_EQ(none.dimension, 5);
  EXPECT_EQ(none.text, 6);

  folder.WriteCp932("quorvex.ini",
                    "[elementcolor]\r\n図形=7\r\n原点=abc\r\n寸法=12x\r\n文字=\r\n材料=-1\r\n");
  ElementColor c = ReadElementColor(folder.File("quorvex.ini"));
  EXPECT_EQ(c.figure, 7);
  EXPECT_EQ(c.origin, 0);     // not a number: 0, not the default
  EXPECT_EQ(c.reference, 2);  // missing: the default
  EXPECT_EQ(c.material, -1);
  EXPECT_EQ(c.dimension, 12);  // the leading digits
  EXPECT_EQ(c.text, 6);        // empty reads as missing
}

TEST(DxfMarks, CentreCrossKeepsLayerAndLinetypeButNotColour) {
  Drawing t;
  t.d.colors.reference = 8;
  SetDxfLayer(t.d, "2-M10-並目タップ");
  SetDxfLinetype(t.d, "CONTINUOUS");
  t.d.colour = 0;
  WriteCentreCross(t.d, {10, -5, 4});
  EXPECT_EQ(t.sink.text, Groups(R"(  0|LINE
  8|基準線
  6|HIDDEN
 62|8
 100|AcDbLine
 10|4.000000
 20|-5.000000
 11|16.000000
 21|-5.000000
  0|LINE
  8|基準線
  6|HIDDEN
 62|8
 100|AcDbLine
 10|10.000000
 20|-11.000000
 11|10.000000
 21|1.000000
)"));
  EXPECT_EQ(t.d.layer, "2-M10-並目タップ");
  EXPECT_EQ(t.d.linetype, "CONTINUOUS");
  EXPECT_EQ(t.d.colour, 8);
}

TEST(DxfMarks, OriginMarkOfRadiusZeroHasNoArcs) {
  Drawing t;
  WriteOriginMark(t.d, {0, 0, 0});
  // -2 * 0 is a negative zero.
  EXPECT_EQ(t.sink.text, Groups(R"(  0|CIRCLE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|-0.000000
 20|0.000000
 11|0.000000
 21|0.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|0.000000
 20|-0.000000
 11|0.000000
 21|0.000000
)"));
}

TEST(DxfMarks, OriginMarkOfRadiusPointThreeHasTwoPairsOfArcs) {
  Drawing t;
  t.d.colors.origin = 9;
  WriteOriginMark(t.d, {0, 0, 0.3});
  EXPECT_EQ(t.sink.text, Groups(R"(  0|CIRCLE
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.300000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|0.000000
 51|90.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|180.000000
 51|270.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.200000
 50|0.000000
 51|90.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.200000
 50|180.000000
 51|270.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbLine
 10|-0.600000
 20|0.000000
 11|0.600000
 21|0.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|9
 100|AcDbLine
 10|0.000000
 20|-0.600000
 11|0.000000
 21|0.600000
)"));
  EXPECT_EQ(t.d.layer, "原点");
  EXPECT_EQ(t.d.linetype, "CONTINUOUS");
  EXPECT_EQ(t.d.colour, 9);
}

TEST(DxfMarks, OriginMarkArcRadiiAreRunningSums) {
  // 0.1 + 0.1 + 0.1 is above 0.3 and below 0.35; the eighth sum is below 0.8.
  Drawing a;
  WriteOriginMark(a.d, {0, 0, 0.35});
  EXPECT_EQ(Values(a.sink.text, " 40"),
            (std::vector<std::string>{"0.350000", "0.100000", "0.100000", "0.200000", "0.200000", "0.300000",
                                      "0.300000"}));
  // A sum equal to the radius is not below it: 0.1 gets no arc, 0.4 (the fourth sum exactly) three pairs.
  Drawing c;
  WriteOriginMark(c.d, {0, 0, 0.1});
  EXPECT_EQ(Values(c.sink.text, " 50").size(), 0u);
  Drawing e;
  WriteOriginMark(e.d, {0, 0, 0.4});
  EXPECT_EQ(Values(e.sink.text, " 50").size(), 6u);
  Drawing b;
  WriteOriginMark(b.d, {0, 0, 0.8});
  std::vector<std::string> radii = Values(b.sink.text, " 40");
  ASSERT_EQ(radii.size(), 17u);
  EXPECT_EQ(radii[15], "0.800000");
  EXPECT_EQ(radii[16], "0.800000");
  EXPECT_EQ(Values(b.sink.text, " 50").size(), 16u);
}

TEST(DxfMarks, OriginMarkOfAnAbsurdRadiusStaysBounded) {
  for (double r : {1e9, HUGE_VAL}) {
    Drawing t;
    WriteOriginMark(t.d, {0, 0, r});
    std::vector<std::string> starts = Values(t.sink.text, " 50");
    EXPECT_EQ(starts.size(), 2u * kOriginMarkMaxArcPairs) << r;
    EXPECT_EQ(Values(t.sink.text, "  0").size(), 3u + 2u * kOriginMarkMaxArcPairs) << r;
  }
}

TEST(DxfMarks, AxisLinesReachBeyondTheExtents) {
  Drawing t;
  WriteAxisLines(t.d, {-30, -1}, {0, 5});
  EXPECT_EQ(t.sink.text, Groups(R"(  0|LINE
  8|基準線
  6|CENTER
 62|2
 100|AcDbLine
 10|-36.000000
 20|0.000000
 11|6.000000
 21|0.000000
  0|LINE
  8|基準線
  6|CENTER
 62|2
 100|AcDbLine
 10|0.000000
 20|-2.200000
 11|0.000000
 21|6.200000
)"));
  EXPECT_EQ(t.d.layer, "基準線");
  EXPECT_EQ(t.d.linetype, "CENTER");
}

}  // namespace
}  // namespace talvorin
