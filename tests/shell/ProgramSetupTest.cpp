#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

TEST(BuildNumber, MonthTimesHundredPlusDayPlusYear) {
  EXPECT_EQ(BuildNumber({2026, 6, 3}), 2629);
  EXPECT_EQ(BuildNumber({2026, 12, 31}), 3257);
  EXPECT_EQ(BuildNumber({2027, 1, 1}), 2128);
}

TEST(VersionTexts, Forms) {
  EXPECT_EQ(VersionLine(2629), "TALVORIN Release Version R1.00.2629");
  EXPECT_EQ(ShortVersion(2629), "R1.00.2629");
  EXPECT_EQ(AboutLine({2026, 6, 3}, 2629),
            "二次元NC加工システム／ブレンホルト#TALVORIN Version 2026R1.00.2629 [Build Date 2026/6/3]");
}

TEST(VersionTexts, ProgramInformationRowsAreRightAlignedToTwelve) {
  Timestamp f{2026, 6, 3, 8, 4, 5, 3};
  std::string text = ProgramInformationText({2026, 6, 3}, 2629, f);
  EXPECT_EQ(text.substr(0, text.find("Notice")),
            "   Developer : Brenholt\n"
            "    Software : TALVORIN\n"
            "     Version : 2026R1.00.2629\n"
            "  Build Date : 2026/06/03 08:04:05\n"
            "      ");
}

TEST(SetupProgram, ProgramFolderIniAndDefaultColours) {
  TestFolder folder;
  folder.Write("talvorin.INI", "");  // found whatever its letter case
  Installation inst;
  SetupProgram(inst, folder.path() + "talvorin-cli", {2026, 6, 3});
  EXPECT_EQ(inst.programFolder, folder.path());
  EXPECT_EQ(inst.iniPath, folder.path() + "talvorin.INI");
  EXPECT_EQ(inst.buildNumber, 2629);
  EXPECT_EQ(inst.windowColour, (Colour{220, 220, 220}));
  EXPECT_EQ(inst.textColour, (Colour{0, 0, 0}));
}

TEST(SetupProgram, IniNamedAfterTheProgramWhenAbsent) {
  TestFolder folder;
  Installation inst;
  SetupProgram(inst, folder.path() + "bin", {2026, 6, 3});
  EXPECT_EQ(inst.iniPath, folder.path() + "TALVORIN.ini");
}

// Colours: components that do not parse keep their defaults.
TEST(ReadColour, PartialAndFaultyValues) {
  TestFolder folder;
  folder.Write("TALVORIN.ini",
               "[color]\r\nwindow=255,0\r\ntext=10,20,30\r\na=x,5,6\r\nb=1,,3\r\nc= 7, 8, 9\r\nd=300,-4,12abc\r\n");
  Installation inst;
  SetupProgram(inst, folder.path() + "talvorin", {2026, 6, 3});
  EXPECT_EQ(inst.windowColour, (Colour{255, 0, 220}));
  EXPECT_EQ(inst.textColour, (Colour{10, 20, 30}));
  Colour c{1, 2, 3};
  ReadColour(inst, "a", c);
  EXPECT_EQ(c, (Colour{1, 2, 3}));
  ReadColour(inst, "b", c);
  EXPECT_EQ(c, (Colour{1, 2, 3}));
  c = {50, 50, 50};
  ReadColour(inst, "c", c);
  EXPECT_EQ(c, (Colour{7, 8, 9}));
  ReadColour(inst, "d", c);  // held to 0-255
  EXPECT_EQ(c, (Colour{255, 0, 12}));
  c = {4, 5, 6};
  ReadColour(inst, "missing", c);
  EXPECT_EQ(c, (Colour{4, 5, 6}));
}

TEST(PlaceWindow, FractionsClampedAndTruncated) {
  EXPECT_EQ(PlacementFraction("1.7"), 1);
  EXPECT_EQ(PlacementFraction("-0.2"), 0);
  EXPECT_EQ(PlacementFraction("x"), 0);
  EXPECT_EQ(PlacementFraction("nan"), 0);
  EXPECT_EQ(PlacementFraction("0.25"), 0.25);

  TestFolder folder;
  Installation inst;
  inst.iniPath = folder.File("TALVORIN.ini");
  // Missing keys: "0.5". Desktop 1920 x 1080, taskbar 40, window 700 x 401:
  // free 1220 x 639 -> 610, 319 (319.5 truncated).
  WindowPlacement p = PlaceWindow(inst, 1920, 1080, 40, 700, 401);
  EXPECT_EQ(p.left, 610);
  EXPECT_EQ(p.top, 319);

  folder.Write("TALVORIN.ini", "[window]\r\nX=1.7\r\nY=-0.2\r\n");
  p = PlaceWindow(inst, 1920, 1080, 40, 700, 401);
  EXPECT_EQ(p.left, 1220);  // right edge of the free area
  EXPECT_EQ(p.top, 0);

  folder.Write("TALVORIN.ini", "[window]\r\nX=x\r\nY=0.333\r\n");
  p = PlaceWindow(inst, 1920, 1080, 40, 700, 401);
  EXPECT_EQ(p.left, 0);
  EXPECT_EQ(p.top, 212);  // 639 * 0.333 = 212.787
}

}  // namespace
}  // namespace talvorin
