#include <gtest/gtest.h>

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

TEST(FormatNumber, RoundsToThreeDecimals) {
  EXPECT_EQ(FormatNumber(0.0005001, true), "0.001");
  EXPECT_EQ(FormatNumber(99.9996, false), "100");
  EXPECT_EQ(FormatNumber(2.1004, false), "2.1");
}

}  // namespace
}  // namespace talvorin
