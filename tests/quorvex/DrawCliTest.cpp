// talvorin-cli draw as a black box: a program folder copied from the build, a project database
// written by hand, the drawing it leaves and what it prints.
#include <gtest/gtest.h>

#include "dxf/DxfCheck.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

TEST(DrawCommand, DrawsTheProjectAndNamesTheViewer) {
  test::TestFolder folder;
  test::CopyProgramFolder(folder);
  folder.WriteCp932("db/B7.dat",
                    "[TALVORIN]\r\nproject=B7\r\nproduct=\r\ndbpath=" + folder.File("db") +
                        "\r\n[material]\r\nX=100.\r\nY=50.\r\nZ=20.\r\n[trycut]\r\nXmax=50\r\nXmin=-50\r\n"
                        "Ymax=25\r\nYmin=-25\r\nZmax=0\r\nZmin=-20\r\n"
                        "[hole1]\r\ncommand=ドリル [DRILL]\r\nvariable0=10\r\nX0=0.\r\nY0=0.\r\n");
  test::ProgramResult r = test::RunProgram(
      {TALVORIN_CLI, "--folder", folder.path(), "--quiet", "draw", folder.File("db/B7.dat")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string report = test::CheckDxf(folder.File("db/B7.dxf"), true);
  EXPECT_EQ(test::ReportLines(report, "audit"), std::vector<std::string>{"audit errors 0"});
  EXPECT_EQ(test::ReportLines(report, "header"),
            (std::vector<std::string>{"header $EXTMIN -80.000000 -40.000000",
                                      "header $EXTMAX 150.000000 75.000000"}));
  EXPECT_EQ(test::ReportLines(report, "layer 1"), std::vector<std::string>{"layer 1-D10-ドリル 1"});

  // Without --quiet the list lines show, ending with the viewer that was not started.
  r = test::RunProgram({TALVORIN_CLI, "--folder", folder.path(), "draw", folder.File("db/B7.dat")});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("!!! routine name : quorvex\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("... 起動省略 (--open で起動): /usr/bin/librecad " + folder.File("db/B7.dxf") + "\n"),
            std::string::npos)
      << r.out;
}

TEST(DrawCommand, FailuresAndUsage) {
  test::TestFolder folder;
  test::CopyProgramFolder(folder);
  test::ProgramResult r = test::RunProgram(
      {TALVORIN_CLI, "--folder", folder.path(), "--quiet", "draw", folder.File("db/none.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ファイル " + folder.File("db/none.dat") + " が開けません。\n");

  folder.WriteCp932("db/C1.dat", "[TALVORIN]\r\nproject=C1\r\ndbpath=" + folder.File("db") + "\r\n");
  r = test::RunProgram(
      {TALVORIN_CLI, "--folder", folder.path(), "--quiet", "draw", folder.File("db/C1.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[material] X= 材料寸法の読み込みに失敗\n");
  EXPECT_FALSE(PathExists(folder.File("db/C1.dxf")));

  r = test::RunProgram({TALVORIN_CLI, "--folder", folder.path(), "draw"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage: talvorin-cli draw DB"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace talvorin
