#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "store/Numbers.h"

namespace talvorin {
namespace {

// Every example the system gives for its number text, both modes.
TEST(FormatNumber, KeepPointExamples) {
  EXPECT_EQ(FormatNumber(100, true), "100.");
  EXPECT_EQ(FormatNumber(12.5, true), "12.5");
  EXPECT_EQ(FormatNumber(0, true), "0.");
  EXPECT_EQ(FormatNumber(-12.3456, true), "-12.346");
  EXPECT_EQ(FormatNumber(-2.25, true), "-2.25");
  EXPECT_EQ(FormatNumber(0.0004, true), "0.");
  EXPECT_EQ(FormatNumber(-0.0004, true), "-0.");
  EXPECT_EQ(FormatNumber(-15, true), "-15.");
  EXPECT_EQ(FormatNumber(3.5, true), "3.5");
  EXPECT_EQ(FormatNumber(1.25, true), "1.25");
  EXPECT_EQ(FormatNumber(1, true), "1.");
}

TEST(FormatNumber, DropPointExamples) {
  EXPECT_EQ(FormatNumber(100, false), "100");
  EXPECT_EQ(FormatNumber(12.5, false), "12.5");
  EXPECT_EQ(FormatNumber(10, false), "10");
  EXPECT_EQ(FormatNumber(10.5, false), "10.5");
  EXPECT_EQ(FormatNumber(8.25, false), "8.25");
  EXPECT_EQ(FormatNumber(9, false), "9");
  EXPECT_EQ(FormatNumber(6.6, false), "6.6");
  EXPECT_EQ(FormatNumber(-12.5, false), "-12.5");
  EXPECT_EQ(FormatNumber(0, false), "0");
  EXPECT_EQ(FormatNumber(3, false), "3");
}

// The number text is "%.3f" with zeros trimmed, whatever produces it: for values of every magnitude,
// sign and rounding case the text equals printf's digits trimmed by the rule.
TEST(FormatNumber, GivesPrintfDigitsForEveryKindOfValue) {
  auto expected = [](double v, bool keepPoint) {
    char text[400];
    std::snprintf(text, sizeof text, "%.3f", v);
    std::size_t end = std::strlen(text);
    while (end > 1 && text[end - 1] == '0')
      --end;
    if (end > 1 && text[end - 1] == '.' && !keepPoint) --end;
    return std::string(text, end);
  };
  std::vector<double> values = {0.0,
                                -0.0,
                                0.0005,
                                -0.0005,
                                0.0015,
                                0.0025,
                                1.0005,
                                2.0005,
                                123.4565,
                                -123.4565,
                                0.9995,
                                9.9995,
                                -9.9995,
                                999999.9995,
                                1e15,
                                1e16 + 2,
                                9007199254740993.0,
                                1e22,
                                -1e300,
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  // Every half of a thousandth up to 100, both signs: the rounding of the exact binary value decides.
  for (int k = 0; k < 100000; ++k) {
    values.push_back((k + 0.5) / 1000.0);
    values.push_back(-(k + 0.5) / 1000.0);
  }
  // Random bit patterns (every exponent) and random coordinates of a plate.
  std::mt19937_64 random(20261209);
  for (int k = 0; k < 100000; ++k) {
    std::uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    values.push_back(v);
    values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 20000001) - 10000000) / 7919.0);
  }
  for (double v : values) {
    ASSERT_EQ(FormatNumber(v, true), expected(v, true)) << std::hexfloat << v;
    ASSERT_EQ(FormatNumber(v, false), expected(v, false)) << std::hexfloat << v;
  }
  EXPECT_EQ(FormatNumber(0.0005, true), "0.001");
  EXPECT_EQ(FormatNumber(1.0005, true), "1.");  // 1.000499999... in binary
  EXPECT_EQ(FormatNumber(-0.0, true), "-0.");
  EXPECT_EQ(FormatNumber(-0.0, false), "-0");
  EXPECT_EQ(FormatNumber(1e22, false), "10000000000000000000000");
}

TEST(FormatNumber, RoundsToThreeDecimals) {
  EXPECT_EQ(FormatNumber(0.0005001, true), "0.001");
  EXPECT_EQ(FormatNumber(99.9996, false), "100");
  EXPECT_EQ(FormatNumber(2.1004, false), "2.1");
}

TEST(AtoF, LeadingNumericPartElseZero) {
  EXPECT_EQ(AtoF("12.5"), 12.5);
  EXPECT_EQ(AtoF("  -2.25mm"), -2.25);
  EXPECT_EQ(AtoF("+.5"), 0.5);
  EXPECT_EQ(AtoF("1e2x"), 100.0);
  EXPECT_EQ(AtoF("3.9.1"), 3.9);
  EXPECT_EQ(AtoF("1,5"), 1.0);
  EXPECT_EQ(AtoF("abc"), 0.0);
  EXPECT_EQ(AtoF(""), 0.0);
  EXPECT_EQ(AtoF("-"), 0.0);
  // The text is not assumed to end where the view ends.
  std::string_view part = std::string_view("12345").substr(0, 2);
  EXPECT_EQ(AtoF(part), 12.0);
}

TEST(AtoI, LeadingDecimalPartElseZeroSaturating) {
  EXPECT_EQ(AtoI("12abc"), 12);
  EXPECT_EQ(AtoI(" \t7"), 7);
  EXPECT_EQ(AtoI("-1"), -1);
  EXPECT_EQ(AtoI("+5"), 5);
  EXPECT_EQ(AtoI("3.9"), 3);
  EXPECT_EQ(AtoI("0x1F"), 0);  // decimal only
  EXPECT_EQ(AtoI("abc"), 0);
  EXPECT_EQ(AtoI(""), 0);
  EXPECT_EQ(AtoI("2147483647"), INT_MAX);
  EXPECT_EQ(AtoI("99999999999"), INT_MAX);
  EXPECT_EQ(AtoI("-99999999999"), INT_MIN);
  EXPECT_EQ(AtoI(std::string_view("1234").substr(0, 3)), 123);
}

TEST(Sprintf, PrintfFormatsExactly) {
  EXPECT_EQ(Sprintf("%.3f", 1.0005), "1.000");  // 1.0005 is slightly below in binary
  EXPECT_EQ(Sprintf("%.3f", -12.3456), "-12.346");
  EXPECT_EQ(Sprintf("%.0f", 2.5), "2");  // round half to even
  EXPECT_EQ(Sprintf("%.0f", 3.5), "4");
  EXPECT_EQ(Sprintf("%02d", 7), "07");
  EXPECT_EQ(Sprintf("%04d", 42), "0042");
  EXPECT_EQ(Sprintf("%04d", -5), "-005");
  EXPECT_EQ(Sprintf("%s%d", "folder", 3), "folder3");
  EXPECT_EQ(Sprintf("%s", ""), "");
  const std::string longText(5000, 'x');
  EXPECT_EQ(Sprintf("[%s]", longText.c_str()), "[" + longText + "]");
}

// A user's locale with a decimal comma changes neither number text nor its reading.
TEST(Numbers, CLocaleWhateverTheProcessLocale) {
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"};
  std::string previous = std::setlocale(LC_ALL, nullptr);
  const char* set = nullptr;
  for (const char* name : names)
    if ((set = std::setlocale(LC_ALL, name))) break;
  if (!set) GTEST_SKIP() << "no locale with a decimal comma is installed";
  bool comma = std::string(std::localeconv()->decimal_point) == ",";
  std::string formatted = Sprintf("%.3f", 1.5);
  std::string number = FormatNumber(12.5, true);
  double parsed = AtoF("1.5");
  std::setlocale(LC_ALL, previous.c_str());
  ASSERT_TRUE(comma) << set;
  EXPECT_EQ(formatted, "1.500");
  EXPECT_EQ(number, "12.5");
  EXPECT_EQ(parsed, 1.5);
}

}  // namespace
}  // namespace talvorin
