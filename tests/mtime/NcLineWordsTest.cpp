// The words and codes of one NC line: the cases a single pass over the bytes could get wrong (words at
// the line end, signs and points, comments, lower case, double-byte characters, codes of three digits),
// each worked out from the estimator's rules, and their effect on the estimate where it matters.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "mtime/MachiningTime.h"
#include "mtime/NcLineReader.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using Words = std::vector<std::pair<NcWord, double>>;

struct WordCase {
  const char* what;
  std::string line;
  Words words;  // the words that carry a number, with it
};

TEST(NcLineWords, WordsAndTheirNumbers) {
  const WordCase cases[] = {
      {"a word at the line end", "G01 X5.", {{kWordX, 5}}},
      {"a letter at the line end has no number", "G00 X1. Y", {{kWordX, 1}}},
      {"a lone letter", "X", {}},
      {"point first, signed", "X-.5 Y.25", {{kWordX, -0.5}, {kWordY, 0.25}}},
      {"point last", "X1. Y-0.", {{kWordX, 1}, {kWordY, 0}}},
      {"a plus sign is no number character", "X+3 Y2.", {{kWordY, 2}}},
      {"all nine words, no blanks",
       "X1.Y2.Z-3.I4.J-5.R6.Q7.P8.F900.",
       {{kWordX, 1},
        {kWordY, 2},
        {kWordZ, -3},
        {kWordI, 4},
        {kWordJ, -5},
        {kWordR, 6},
        {kWordQ, 7},
        {kWordP, 8},
        {kWordF, 900}}},
      {"trailing zeros", "X4.000 Y-12.500 Z0.000", {{kWordX, 4}, {kWordY, -12.5}, {kWordZ, 0}}},
      {"the first word of a letter counts", "X1. X2.", {{kWordX, 1}}},
      {"a first word without number hides later ones", "X Y1. X5.", {{kWordY, 1}}},
      {"atof stops at a second point", "X1.2.3", {{kWordX, 1.2}}},
      {"atof stops at an inner minus", "X1-2", {{kWordX, 1}}},
      {"runs without digits read as 0", "X-- Y. Z-", {{kWordX, 0}, {kWordY, 0}, {kWordZ, 0}}},
      {"more digits than the short form takes",
       "X1234567890123456789 Y0.0000000000000001",
       {{kWordX, 1234567890123456789.0}, {kWordY, 1e-16}}},
      {"an exponent is not part of the number", "X1e5", {{kWordX, 1}}},
      {"words inside a comment do not count", "G01 X1. (Y2. Z3.) F100.", {{kWordX, 1}, {kWordF, 100}}},
      {"an unclosed comment runs to the line end", "X1. (Y2.", {{kWordX, 1}}},
      {"a word before a comment keeps its number", "X7.(", {{kWordX, 7}}},
      {"a word in a comment does not hide the later word", "(X9.) X3.", {{kWordX, 3}}},
      {"lower case letters are no words", "g01 x1. y2. Z3.", {{kWordZ, 3}}},
      // 0x83 0x58 is a double-byte character whose trail byte is "X".
      {"a trail byte is no letter", "\x83X5. Y6.", {{kWordY, 6}}},
      {"a lead byte at the line end", "X1.\x83", {{kWordX, 1}}},
      {"tabs and carriage returns between words", "X1.\tY2.\r", {{kWordX, 1}, {kWordY, 2}}},
  };
  for (const WordCase& c : cases) {
    const NcLineWords w = ReadNcLine(c.line);
    unsigned expected = 0;
    for (const auto& [word, value] : c.words) {
      expected |= 1u << word;
      EXPECT_TRUE(w.Has(word)) << c.what << ": word " << word;
      EXPECT_EQ(w.values[word], value) << c.what << ": word " << word;
    }
    EXPECT_EQ(w.given, expected) << c.what;
  }
}

struct CodeCase {
  const char* what;
  std::string line;
  bool skip, reset, toolChange, spindleStart, g80, g95;
  int motion;
};

TEST(NcLineWords, CodesOfTheRules) {
  const CodeCase cases[] = {
      // what, line, skip, reset, tool change, spindle start, G80, G95, motion
      {"a plain move", "G01 X1.", false, false, false, false, false, false, 1},
      {"no code", "X1. Y2.", false, false, false, false, false, false, -1},
      {"the list order wins, not the line order", "G01 G00 X1.", false, false, false, false, false, false, 0},
      {"G80 is motion 0 and ends the cycle", "G80 G81", false, false, false, false, true, false, 0},
      {"a cycle after G80 in the list", "G83 G80", false, false, false, false, true, false, 0},
      {"G98 is no motion code", "G98 G84 G95 F1.25", false, false, false, false, false, true, 84},
      {"a code needs two digits", "G1 X1. G0", false, false, false, false, false, false, -1},
      {"a code of three digits reads its first two", "G012 X1.", false, false, false, false, false, false, 1},
      {"a code at the line end", "X1. G03", false, false, false, false, false, false, 3},
      {"codes in comments count", "(G83 M06)", false, false, true, false, false, false, 83},
      {"lower case codes do not", "g01 m06", false, false, false, false, false, false, -1},
      {"a trail byte G is no code", "\x83G01", false, false, false, false, false, false, -1},
      {"percent line", "%", true, false, false, false, false, false, -1},
      {"program number", "O0001", true, false, false, false, false, false, -1},
      {"sequence number first", "N10 G01 X1.", true, false, false, false, false, false, 1},
      {"tool call", "T03", true, false, false, false, false, false, -1},
      {"coolant off first", "M09", true, false, false, false, false, false, -1},
      {"coolant on later in a line is no skip", "G00 M08", false, false, false, false, false, false, 0},
      {"program end", "M30", true, false, false, false, false, false, -1},
      {"optional stop inside a line", "G00 X1. M01", true, false, false, false, false, false, 0},
      {"reference return", "G91 G28 Z0.", true, false, false, false, false, false, -1},
      {"second reference return", "G30 P1", true, false, false, false, false, false, -1},
      {"the frame line", "G90 G17 G40 G49 G80", true, false, false, false, true, false, 0},
      {"G90 G17 needs its blank", "G90G17", false, false, false, false, false, false, -1},
      {"G90 at the line end", "G90", false, false, false, false, false, false, -1},
      {"work coordinate system", "G90 G00 G54 X0. Y0.", false, true, false, false, false, false, 0},
      {"tool length offset", "G43 H03 Z50.", false, true, false, false, false, false, -1},
      {"OSP work and offset", "G15H01", false, true, false, false, false, false, -1},
      {"G15 without its H", "G15 H01", false, false, false, false, false, false, -1},
      {"OSP tool offset", "G56 H03 Z50.", false, true, false, false, false, false, -1},
      {"offset setting", "G10 L2 P1 X0.", false, true, false, false, false, false, -1},
      {"G10 without its L2", "G10L2", false, false, false, false, false, false, -1},
      {"G10 at the line end", "G10", false, false, false, false, false, false, -1},
      {"tool change", "M06", false, false, true, false, false, false, -1},
      {"spindle start", "S1200 M03", false, false, false, true, false, false, -1},
      {"rigid tapping spindle", "M29 S800", false, false, false, true, false, false, -1},
  };
  for (const CodeCase& c : cases) {
    const NcLineWords w = ReadNcLine(c.line);
    EXPECT_EQ(w.skip, c.skip) << c.what;
    EXPECT_EQ(w.reset, c.reset) << c.what;
    EXPECT_EQ(w.toolChange, c.toolChange) << c.what;
    EXPECT_EQ(w.spindleStart, c.spindleStart) << c.what;
    EXPECT_EQ(w.g80, c.g80) << c.what;
    EXPECT_EQ(w.g95, c.g95) << c.what;
    EXPECT_EQ(w.motion, c.motion) << c.what;
  }
}

TEST(NcLineWords, SpindleWordsAnywhere) {
  struct Case {
    const char* what;
    std::string line;
    bool given;
    double spindle;
  };
  const Case cases[] = {
      {"a plain S", "S1200 M03", true, 1200},
      {"the last S with a number", "S800 S S900.", true, 900},
      {"an S in a comment counts", "S1200 (S500)", true, 500},
      {"an S in a skipped line counts", "N1 S300", true, 300},
      {"an S without number", "S M03", false, 0},
      {"lower case s", "s1200", false, 0},
  };
  for (const Case& c : cases) {
    const NcLineWords w = ReadNcLine(c.line);
    EXPECT_EQ(w.spindleGiven, c.given) << c.what;
    if (c.given) {
      EXPECT_EQ(w.spindle, c.spindle) << c.what;
    }
  }
}

// The estimate over lines written here, from the start (0, 0, 50).
MachiningTotals EstimateLines(const std::vector<std::string>& lines, NcTimeState* end = nullptr) {
  NcTimeState s = StartTimeState(TimeRates(), NcPoint{0, 0, 50});
  for (const std::string& line : lines)
    EstimateLine(s, line, NcLineReport());
  if (end) *end = s;
  return s.totals;
}

TEST(NcLineWords, WordsThatKeepOrChangeTheModalValues) {
  NcTimeState s;
  // "+3" and lower case give no number: X stays 10, the move is the 10 of the first line only.
  MachiningTotals t = EstimateLines({"G01 X10. F100.", "X+3", "x3."}, &s);
  EXPECT_EQ(s.current.x, 10);
  EXPECT_DOUBLE_EQ(t.cuttingDistance, 10);
  // "-.5" at the line end: from (0, 0, 50) to (-0.5, 0, 50) at rapid.
  t = EstimateLines({"G00 X-.5"}, &s);
  EXPECT_EQ(s.current.x, -0.5);
  EXPECT_DOUBLE_EQ(t.rapidDistance, 0.5);
  // A word in a comment moves nothing: Y stays 0 and the only distance is X 3.
  t = EstimateLines({"G00 X3. (Y4.)"});
  EXPECT_DOUBLE_EQ(t.rapidDistance, 3);
  // The S of a skipped line is the speed of the next G95 tapping block: F 1.25 x 800 = 1000 mm/min,
  // cut 2 x (5 + 20) = 50 mm in 0.05 min.
  t = EstimateLines({"N1 S800", "G98 G84 G95 X0. Y0. R5. Z-20. F1.25"}, &s);
  EXPECT_EQ(s.feed, 1000);
  EXPECT_DOUBLE_EQ(t.cuttingDistance, 50);
  EXPECT_DOUBLE_EQ(t.cuttingTime, 0.05);
}

TEST(NcLineWords, AWordCutAtTheReaderLimit) {
  // A line of 1,030 bytes whose X word straddles the limit of 1,024: the reader keeps "X12" of
  // "X1234567", so X reads 12; the next line is whole.
  const std::string head = "G00 " + std::string(1017, ' ');  // X at offset 1021
  const std::string bytes = head + "X1234567\r\nG00 Y-.5\r\n";
  test::TestFolder folder;
  folder.Write("f.nc", bytes);
  const int fd = open(folder.File("f.nc").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  NcLineReader reader(fd);
  std::string_view line;
  ASSERT_TRUE(reader.Next(line));
  ASSERT_EQ(line.size(), NcLineReader::kMaxNcLine);
  NcLineWords w = ReadNcLine(line);
  EXPECT_EQ(w.given, 1u << kWordX);
  EXPECT_EQ(w.values[kWordX], 12);
  EXPECT_EQ(w.motion, 0);
  ASSERT_TRUE(reader.Next(line));
  w = ReadNcLine(line);
  EXPECT_EQ(w.given, 1u << kWordY);
  EXPECT_EQ(w.values[kWordY], -0.5);
  EXPECT_FALSE(reader.Next(line));
  EXPECT_EQ(reader.LongLines(), 1);
  close(fd);
}

// What the reader gives for one line: the line and its words, with the line's place in the file.
struct ReadLine {
  std::string text;
  NcLineWords words;
  std::uint64_t start;
  bool cut, ended;
};

// Every line of `bytes` through the reader: Next and then ReadNcLine of the line (`onePass` false), or
// the pass that reads words and line end at once (`onePass` true).
std::vector<ReadLine> ReadFileLines(const std::string& bytes, bool onePass, long long* longLines) {
  test::TestFolder folder;
  folder.Write("f.nc", bytes);
  const int fd = open(folder.File("f.nc").c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  NcLineReader reader(fd);
  std::vector<ReadLine> lines;
  std::string_view line;
  NcLineWords words;
  while (onePass ? reader.Next(line, words) : reader.Next(line)) {
    if (!onePass) words = ReadNcLine(line);
    lines.push_back({std::string(line), words, reader.LineStart(), reader.LineCut(), reader.LineEnded()});
  }
  EXPECT_FALSE(reader.Failed());
  EXPECT_EQ(reader.BytesRead(), bytes.size());
  *longLines = reader.LongLines();
  close(fd);
  return lines;
}

void ExpectSameWords(const NcLineWords& a, const NcLineWords& b, const std::string& what) {
  EXPECT_EQ(a.skip, b.skip) << what;
  EXPECT_EQ(a.reset, b.reset) << what;
  EXPECT_EQ(a.toolChange, b.toolChange) << what;
  EXPECT_EQ(a.spindleStart, b.spindleStart) << what;
  EXPECT_EQ(a.g80, b.g80) << what;
  EXPECT_EQ(a.g95, b.g95) << what;
  EXPECT_EQ(a.motion, b.motion) << what;
  EXPECT_EQ(a.spindleGiven, b.spindleGiven) << what;
  EXPECT_EQ(a.spindle, b.spindle) << what;
  EXPECT_EQ(a.programEnd, b.programEnd) << what;
  EXPECT_EQ(a.toolGiven, b.toolGiven) << what;
  EXPECT_EQ(a.tool, b.tool) << what;
  EXPECT_EQ(a.letters, b.letters) << what;
  EXPECT_EQ(a.given, b.given) << what;
  for (int word = 0; word < kWordCount; ++word)
    EXPECT_EQ(a.values[word], b.values[word]) << what << ": word " << word;
}

TEST(NcLineWords, OnePassOverTheBufferReadsWhatTheLineGives) {
  // Lines whose end the pass must find itself, and a look beyond a code or a lead byte that must stop
  // at it: each line's words are those of the line alone.
  const std::string bytes = std::string("G90\n G17 X1.\n") +  // "G90" alone is no frame line
                            "M0\n8\n" +                       // "M0" is no M08
                            "G15\nH01 Y2.\n" +                // nor "G15" a G15H
                            "G10\r\n L2 Z3.\r\n" +            // nor "G10" a G10 L2
                            "G01 X4.\x83\nX5.\n" +            // a lead byte ends its line
                            "G01 Y6.\x83\r\nY7.\r\n" +        // also before CR LF
                            "X8.\r\n\r\nT05\nM06\n" + std::string("S10\0S20\n", 8) + "G02 X1. I2.";
  long long longLines = -1;
  const std::vector<ReadLine> lines = ReadFileLines(bytes, true, &longLines);
  const std::vector<std::string> texts = {"G90",
                                          " G17 X1.",
                                          "M0",
                                          "8",
                                          "G15",
                                          "H01 Y2.",
                                          "G10",
                                          " L2 Z3.",
                                          "G01 X4.\x83",
                                          "X5.",
                                          "G01 Y6.\x83",
                                          "Y7.",
                                          "X8.",
                                          "",
                                          "T05",
                                          "M06",
                                          std::string("S10\0S20", 7),
                                          "G02 X1. I2."};
  ASSERT_EQ(lines.size(), texts.size());
  for (std::size_t k = 0; k < texts.size(); ++k) {
    EXPECT_EQ(lines[k].text, texts[k]) << k;
    ExpectSameWords(lines[k].words, ReadNcLine(texts[k]), "line " + std::to_string(k));
  }
  EXPECT_FALSE(lines[0].words.skip);
  EXPECT_FALSE(lines[2].words.skip);
  EXPECT_FALSE(lines[4].words.reset);
  EXPECT_FALSE(lines[6].words.reset);
  EXPECT_EQ(lines[8].words.given, 1u << kWordX);
  EXPECT_EQ(lines[8].words.values[kWordX], 4);
  EXPECT_EQ(lines[9].words.values[kWordX], 5);
  EXPECT_EQ(lines[11].words.values[kWordY], 7);
  EXPECT_TRUE(lines[16].words.spindleGiven);
  EXPECT_EQ(lines[16].words.spindle, 20);
  EXPECT_FALSE(lines.back().ended);
  EXPECT_EQ(longLines, 0);
}

TEST(NcLineWords, OnePassMatchesLineThenWordsAcrossBufferFills) {
  // Some 300 kB of lines of every length from 0 to 1,100 bytes, so that lines cross the 64 kB buffer
  // at many places, lines longer than the limit are cut, and a double-byte character, a comment or a
  // number can straddle a fill: the one pass gives the lines, places and words of line-then-words.
  std::string bytes;
  const char* pieces[] = {"G01 ",  "X12.5 ", "Y-3. ", "(\x83X9.) ", "Z-0.125", "\x83",       "G90 G17 ",
                          "F300 ", "S1200 ", "M06 ",  "T07 ",       "G15H01 ", "I.5 J-2.25 "};
  for (int k = 0; bytes.size() < 300000; ++k) {
    std::string line;
    const std::size_t length = static_cast<std::size_t>(k * 37 % 1101);
    for (int i = k; line.size() < length; ++i)
      line += pieces[i % 13];
    line.resize(length);
    bytes += line + (k % 3 == 0 ? "\r\n" : "\n");
  }
  bytes += "X1. Y2.";  // the last line without its line end
  long long longTwoSteps = -1, longOnePass = -2;
  const std::vector<ReadLine> twoSteps = ReadFileLines(bytes, false, &longTwoSteps);
  const std::vector<ReadLine> onePass = ReadFileLines(bytes, true, &longOnePass);
  ASSERT_EQ(onePass.size(), twoSteps.size());
  EXPECT_GT(longOnePass, 0);
  EXPECT_EQ(longOnePass, longTwoSteps);
  for (std::size_t k = 0; k < onePass.size(); ++k) {
    ASSERT_EQ(onePass[k].text, twoSteps[k].text) << k;
    EXPECT_EQ(onePass[k].start, twoSteps[k].start) << k;
    EXPECT_EQ(onePass[k].cut, twoSteps[k].cut) << k;
    EXPECT_EQ(onePass[k].ended, twoSteps[k].ended) << k;
    ExpectSameWords(onePass[k].words, twoSteps[k].words, "line " + std::to_string(k));
  }
}

}  // namespace
}  // namespace talvorin
