// The curve-file reader: the seven fields as the scan pattern takes them, and the lines as read from a
// file (line ends, a last line without one, long lines, NUL bytes).
#include <gtest/gtest.h>

#include "lindrel/CurveFile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

struct ParseCase {
  const char* line;
  CurveLine expected;
};

TEST(ParseCurveLine, FieldsAsTheScanTakesThem) {
  const ParseCase cases[] = {
      {"L,30,0,-5,0,0,0", {"L", 30, 0, -5, 0, 0, 0}},
      {"C,30,20,-5,30,10,-10", {"C", 30, 20, -5, 30, 10, -10}},
      {"P,10,0,-5,0,0,90 trailing words", {"P", 10, 0, -5, 0, 0, 90}},
      {"L,1,2,3,4,5,  7", {"L", 1, 2, 3, 4, 5, 7}},    // the seventh skips blanks
      {"C,1,2,3,4,5,6,7,8", {"C", 1, 2, 3, 4, 5, 6}},  // the seventh is "6,7,8": 6
      {"L,1,2,3,4,5,", {"L", 1, 2, 3, 4, 5, 0}},       // nothing after the sixth comma
      {"L,1,2,3,4,5", {"L", 1, 2, 3, 4, 5, 0}},        // no sixth comma
      {"L,5", {"L", 5, 0, 0, 0, 0, 0}},
      {"L,,3,4,5,6,7", {"L", 0, 0, 0, 0, 0, 0}},  // an empty field ends the scan
      {"L,1,2,,4,5,6", {"L", 1, 2, 0, 0, 0, 0}},
      {",1,2,3,4,5,6", {"", 0, 0, 0, 0, 0, 0}},
      {"", {"", 0, 0, 0, 0, 0, 0}},
      {"L , 1", {"L ", 1, 0, 0, 0, 0, 0}},                                      // the type is not trimmed
      {"LINE,1e1,0x10,abc,-.5,+2,7.5e-1", {"LINE", 10, 16, 0, -0.5, 2, 0.75}},  // as atof converts
      {"C,12.5abc, 3,4,5,6,7", {"C", 12.5, 3, 4, 5, 6, 7}},
  };
  for (const ParseCase& c : cases) {
    CurveLine got = ParseCurveLine(c.line);
    EXPECT_EQ(got.type, c.expected.type) << c.line;
    EXPECT_EQ(got.x, c.expected.x) << c.line;
    EXPECT_EQ(got.y, c.expected.y) << c.line;
    EXPECT_EQ(got.z, c.expected.z) << c.line;
    EXPECT_EQ(got.cx, c.expected.cx) << c.line;
    EXPECT_EQ(got.cy, c.expected.cy) << c.line;
    EXPECT_EQ(got.value, c.expected.value) << c.line;
  }
}

std::vector<std::string> ReadAll(const std::string& path) {
  CurveReader reader(path);
  EXPECT_TRUE(reader.IsOpen());
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line))
    lines.push_back(line);
  return lines;
}

TEST(CurveReader, LineEndsAndTheLastLine) {
  test::TestFolder folder;
  // LF and CR LF line ends, an empty line, and a last line without a line end keeps its last digit.
  folder.Write("a.csv", "P,10,0,-5,0,0,90\nL,30,0,-5,0,0,0\r\n\nC,30,20,-5,30,10,-10");
  EXPECT_EQ(ReadAll(folder.File("a.csv")),
            (std::vector<std::string>{"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "", "C,30,20,-5,30,10,-10"}));
  folder.Write("b.csv", "");
  EXPECT_TRUE(ReadAll(folder.File("b.csv")).empty());
  folder.Write("c.csv", "\n");
  EXPECT_EQ(ReadAll(folder.File("c.csv")), std::vector<std::string>{""});
  EXPECT_FALSE(CurveReader(folder.File("none.csv")).IsOpen());
}

TEST(CurveReader, LongLinesStayOneLineAndNulEndsTheText) {
  test::TestFolder folder;
  // A line far beyond the buffer sizes is one line, cut to the limit: the next line keeps its number.
  std::string longLine = "L,1,2,3,4,5,6," + std::string(200000, '9');
  std::string nul = std::string("L,7,8\0,9,9,9,9", 14);
  folder.Write("a.csv", "P,0,0,0,0,0,0\n" + longLine + "\r\n" + nul + "\nL,5,5,0,0,0,0\n");
  std::vector<std::string> lines = ReadAll(folder.File("a.csv"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], longLine.substr(0, kCurveLineLimit));
  EXPECT_EQ(lines[2], "L,7,8");
  EXPECT_EQ(lines[3], "L,5,5,0,0,0,0");
  // A CR just after the limit is still a line end, not a byte of the line.
  std::string exact(kCurveLineLimit, 'x');
  folder.Write("b.csv", exact + "\r\nL\n");
  EXPECT_EQ(ReadAll(folder.File("b.csv")), (std::vector<std::string>{exact, "L"}));
}

}  // namespace
}  // namespace talvorin
