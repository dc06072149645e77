// What the two drawing programs share: their set-up with their own INI, the single-job start rule,
// and the shipped program INIs and table section.
#include <gtest/gtest.h>

#include "dxf/DrawingProgram.h"
#include "dxf/DxfWriter.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

TEST(DrawingProgram, SetupUsesTheProgramsOwnIni) {
  TestFolder folder;
  folder.WriteCp932("QUORVEX.INI", "[color]\r\nwindow=10,20,30\r\ntext=1,2,3\r\n");
  folder.WriteCp932("TALVORIN.ini", "[color]\r\nwindow=99,99,99\r\n");
  Installation inst;
  SetupDrawingProgram(inst, folder.File("quorvex"), "quorvex", BuildDate{2026, 6, 3});
  EXPECT_EQ(inst.programFolder, folder.path());
  EXPECT_EQ(inst.iniPath, folder.File("QUORVEX.INI"));  // letter case ignored
  EXPECT_EQ(inst.windowColour, (Colour{10, 20, 30}));
  EXPECT_EQ(inst.textColour, (Colour{1, 2, 3}));
  EXPECT_EQ(inst.buildNumber, 2629);

  Installation none;
  SetupDrawingProgram(none, folder.File("lindrel"), "lindrel", BuildDate{2026, 6, 3});
  EXPECT_EQ(none.iniPath, folder.File("lindrel.ini"));
  EXPECT_EQ(none.windowColour, (Colour{220, 220, 220}));
}

TEST(DrawingProgram, SingleJobNeedsExactlyOneExistingFile) {
  TestFolder folder;
  folder.Write("db/A01.dat", "[TALVORIN]\r\n");
  EXPECT_TRUE(IsSingleJob({folder.File("db/A01.dat")}));
  EXPECT_FALSE(IsSingleJob({}));
  EXPECT_FALSE(IsSingleJob({folder.File("db/A01.dat"), folder.File("db/A01.dat")}));
  EXPECT_FALSE(IsSingleJob({folder.File("db/B02.dat")}));
  EXPECT_FALSE(IsSingleJob({folder.File("db")}));  // a folder is no project database
}

TEST(DrawingProgram, ShippedIniFilesNameAViewerAndTheDefaultColours) {
  TestFolder folder;
  test::CopyProgramFolder(folder);
  for (const char* program : {"quorvex", "lindrel"}) {
    std::string ini = folder.File(std::string(program) + ".ini");
    EXPECT_EQ(ReadString(ini, program, "viewer", 520), "/usr/bin/librecad") << program;
    ElementColor c = ReadElementColor(ini);
    EXPECT_EQ(c.figure, 0);
    EXPECT_EQ(c.origin, 1);
    EXPECT_EQ(c.reference, 2);
    EXPECT_EQ(c.material, 3);
    EXPECT_EQ(c.dimension, 5);
    EXPECT_EQ(c.text, 6);
  }
  EXPECT_EQ(ReadInt(folder.File("lindrel.ini"), "lindrel", "consol", -1), 0);
  // The table section is CP932 with CR LF and declares the three linetypes and the fixed layers.
  std::string table = folder.ReadCp932("tableSection.dat");
  EXPECT_EQ(table.substr(0, 22), "  0\r\nSECTION\r\n  2\r\nTAB");
  EXPECT_EQ(table.substr(table.size() - 13), "  0\r\nENDSEC\r\n");
  EXPECT_EQ(table.find("\n\n"), std::string::npos);
  for (const char* name : {"\r\n  2\r\nCONTINUOUS\r\n", "\r\n  2\r\nHIDDEN\r\n", "\r\n  2\r\nCENTER\r\n",
                           "\r\n  2\r\n基準線\r\n", "\r\n  2\r\n原点\r\n", "\r\n  2\r\n材料寸法\r\n"})
    EXPECT_NE(table.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace talvorin
