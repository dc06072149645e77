// The estimator's geometry and its line reader: arc lengths in every quadrant and direction, the G83
// peck sums, and lines of any length and ending read through the fixed buffer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "mtime/MachiningTime.h"
#include "store/Numbers.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

constexpr double kQuarter = 15.707963267948966;  // 2 * pi * 10 / 4

struct ArcCase {
  const char* what;
  double fromX, fromY, toX, toY, i, j;
  bool clockwise;
  double length;
};

TEST(ArcLength, QuadrantsAndDirections) {
  const ArcCase cases[] = {
      {"G03 first quadrant", 10, 0, 0, 10, -10, 0, false, kQuarter},
      {"G03 second quadrant", 0, 10, -10, 0, 0, -10, false, kQuarter},
      {"G03 third quadrant", -10, 0, 0, -10, 10, 0, false, kQuarter},
      {"G03 fourth quadrant, ending at angle 0", 0, -10, 10, 0, 0, 10, false, kQuarter},
      {"G02 first quadrant", 0, 10, 10, 0, 0, -10, true, kQuarter},
      {"G02 fourth quadrant", 10, 0, 0, -10, -10, 0, true, kQuarter},
      {"G02 third quadrant", 0, -10, -10, 0, 0, 10, true, kQuarter},
      {"G02 second quadrant", -10, 0, 0, 10, 10, 0, true, kQuarter},
      {"G02 the long way round", 10, 0, 0, 10, -10, 0, true, 3 * kQuarter},
      {"G03 the long way round", 0, 10, 10, 0, 0, -10, false, 3 * kQuarter},
      {"G03 half circle", 10, 0, -10, 0, -10, 0, false, 2 * kQuarter},
      {"G03 eighth", 10, 0, 7.0710678118654755, 7.0710678118654755, -10, 0, false, kQuarter / 2},
      {"G03 full circle", 10, 0, 10, 0, -10, 0, false, 4 * kQuarter},
      {"G02 full circle", 10, 0, 10.0005, 0, -10, 0, true, 4 * kQuarter},
      {"off-centre start (5, 5) about (5, -5)", 5, 5, 15, -5, 0, -10, true, kQuarter},
  };
  for (const ArcCase& c : cases)
    EXPECT_NEAR(ArcLength(c.fromX, c.fromY, c.toX, c.toY, c.i, c.j, c.clockwise), c.length, 1e-6) << c.what;
}

TEST(PeckDrilling, PecksOfTheRules) {
  // R 3, Z -10, Q 4: pecks to -1, -5, -9, then -10.
  PeckDistances d = PeckDrilling(3, -10, 4);
  EXPECT_DOUBLE_EQ(d.feed, 16);
  EXPECT_DOUBLE_EQ(d.rapid, 58);
  // R 3, Z -5, Q 4: the second peck ends exactly at Z, no last feed: 4 + 5 and 7 + 15.
  d = PeckDrilling(3, -5, 4);
  EXPECT_DOUBLE_EQ(d.feed, 9);
  EXPECT_DOUBLE_EQ(d.rapid, 22);
  // A peck deeper than the hole: one feed to Z and the return to R.
  d = PeckDrilling(3, -2, 10);
  EXPECT_DOUBLE_EQ(d.feed, 5);
  EXPECT_DOUBLE_EQ(d.rapid, 5);
  // No Q (0) or a negative one: one feed, no endless loop.
  d = PeckDrilling(3, -10, 0);
  EXPECT_DOUBLE_EQ(d.feed, 13);
  EXPECT_DOUBLE_EQ(d.rapid, 13);
  d = PeckDrilling(3, -10, -2);
  EXPECT_DOUBLE_EQ(d.feed, 13);
}

TEST(PeckDrilling, ManyPecksAgreeWithPeckByPeck) {
  // 40020 pecks of 0.5 from R 10 to Z -10000: the rule applied peck by peck here.
  const double r = 10, z = -10000, q = 0.5;
  double a = r, b = r, feed = 0, rapid = 0;
  for (;;) {
    if (z >= b) break;
    b -= q;
    if (b < z) break;
    feed += a - b;
    rapid += 2 * (r - b) - 1;
    a = b + 1;
  }
  if (b != z) {
    feed += a - z;
    rapid += r - z;
  }
  PeckDistances d = PeckDrilling(r, z, q);
  EXPECT_DOUBLE_EQ(d.feed, feed);
  EXPECT_DOUBLE_EQ(d.rapid, rapid);
}

std::vector<std::string> ReadLines(const std::string& bytes, long long* longLines = nullptr) {
  test::TestFolder folder;
  folder.Write("f.nc", bytes);
  int fd = open(folder.File("f.nc").c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  NcLineReader reader(fd);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line))
    lines.emplace_back(line);
  EXPECT_FALSE(reader.Failed());
  EXPECT_EQ(reader.BytesRead(), bytes.size());
  if (longLines) *longLines = reader.LongLines();
  close(fd);
  return lines;
}

TEST(NcLineReader, LineEndsAndTheLastLine) {
  EXPECT_EQ(ReadLines(""), std::vector<std::string>{});
  EXPECT_EQ(ReadLines("%\r\nO0001\r\n\r\nG00 X1."), (std::vector<std::string>{"%", "O0001", "", "G00 X1."}));
  EXPECT_EQ(ReadLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
  // A lone CR is part of its line; a NUL byte too.
  EXPECT_EQ(ReadLines(std::string("a\rb\n\0x\n", 7)),
            (std::vector<std::string>{"a\rb", std::string("\0x", 2)}));
}

TEST(NcLineReader, LinesAcrossTheBufferAndLongLines) {
  // Lines of 100 bytes over several buffer fills come back whole.
  std::string line100(98, 'X');
  std::string bytes;
  for (int k = 0; k < 2000; ++k)
    bytes += line100 + "\r\n";
  long long longLines = -1;
  std::vector<std::string> lines = ReadLines(bytes, &longLines);
  ASSERT_EQ(lines.size(), 2000u);
  for (const std::string& l : lines)
    ASSERT_EQ(l, line100);
  EXPECT_EQ(longLines, 0);

  // A line of 200000 bytes keeps its first 1024; the next line is read normally.
  std::string huge(200000, 'Y');
  lines = ReadLines("A\n" + huge + "\r\nB\n" + std::string(1024, 'Z') + "\n", &longLines);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "A");
  EXPECT_EQ(lines[1], std::string(1024, 'Y'));
  EXPECT_EQ(lines[2], "B");
  EXPECT_EQ(lines[3], std::string(1024, 'Z'));  // exactly the limit: not cut
  EXPECT_EQ(longLines, 1);
}

TEST(ClockTime, SecondsTruncatedAndSplit) {
  ClockTime t = ToClockTime(123.25, 1);
  EXPECT_EQ(t.hours, 2);
  EXPECT_EQ(t.minutes, 3);
  EXPECT_EQ(t.seconds, 15);
  t = ToClockTime(0.1, 1.5);  // 9 s
  EXPECT_EQ(t.seconds, 9);
  t = ToClockTime(std::numeric_limits<double>::infinity(),
                  1);  // an absurd file saturates instead of overflowing
  EXPECT_GT(t.hours, 0);
  t = ToClockTime(std::numeric_limits<double>::quiet_NaN(), 1);
  EXPECT_EQ(t.hours + t.minutes + t.seconds, 0);
}

}  // namespace
}  // namespace talvorin

namespace talvorin {
namespace {

TEST(WordNumbers, ReadAsAtofReadsThem) {
  // Words of every length and form the files hold, and odd runs: each must read as atof reads it.
  std::vector<std::string> texts = {"0",
                                    "-0.",
                                    "12.345",
                                    "-12.346",
                                    "100.",
                                    ".5",
                                    "-.5",
                                    "5.",
                                    "1.2.3",
                                    "1-2",
                                    "--5",
                                    "-",
                                    ".",
                                    "007.250",
                                    "123456789012345",
                                    "1234567890123456789",
                                    "0.000000000000001",
                                    "99999.999",
                                    "-0.0004"};
  unsigned seed = 12345;
  for (int k = 0; k < 2000; ++k) {  // random decimals with 0 to 6 places
    seed = seed * 1103515245u + 12345u;
    const int places = static_cast<int>(seed >> 28) % 7;
    const double v = (static_cast<double>(seed % 2000000) - 1000000) / 7.0;
    texts.push_back(Sprintf("%.*f", places, v));
  }
  for (const std::string& text : texts) {
    NcTimeState s = StartTimeState(TimeRates(), NcPoint{0, 0, 50});
    EstimateLine(s, "G00 X" + text, NcLineReport());
    EXPECT_EQ(s.current.x, std::strtod(text.c_str(), nullptr)) << text;
  }
}

}  // namespace
}  // namespace talvorin
