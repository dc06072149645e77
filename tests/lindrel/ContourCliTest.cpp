// talvorin-cli contour-dxf as a black box: the drawing of the project's curve file into its dxffile.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dxf/DxfCheck.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

TEST(ContourDxfCommand, DrawsTheCurveFileIntoTheDxfFile) {
  test::TestFolder folder;
  test::CopyProgramFolder(folder);
  folder.Write("euklid/part.csv",
               "P,0,0,0,0,0,90\nL,20,0,0,0,0,0\nL,20,10,0,0,0,0\nC,0,10,0,10,10,10\n"
               "L,0,0,0,0,0,0\nP,0,0,0,0,0,0\n");
  folder.WriteCp932("db/K1.dat", "[TALVORIN]\r\nproject=K1\r\ncsvfile=" + folder.File("euklid/part.csv") +
                                     "\r\ndxffile=" + folder.File("dxf/K1.dxf") + "\r\n");
  test::ProgramResult r =
      test::RunProgram({TALVORIN_CLI, "--folder", folder.path(), "contour-dxf", folder.File("db/K1.dat")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("... 起動省略 (--open で起動): /usr/bin/librecad " + folder.File("dxf/K1.dxf") + "\n"),
            std::string::npos)
      << r.out;
  std::string report = test::CheckDxf(folder.File("dxf/K1.dxf"));
  EXPECT_EQ(test::ReportLines(report, "audit"), std::vector<std::string>{"audit errors 0"});
  // Clockwise from (20, 10) to (0, 10) about (10, 10): the lower half, written from 180 to 0.
  EXPECT_EQ(test::ReportLines(report, "ARC ARC"),
            std::vector<std::string>{"ARC ARC-4 10.000000 10.000000 10.000000 180.000000 0.000000"});
  EXPECT_EQ(test::ReportLines(report, "layer L"),
            (std::vector<std::string>{"layer LINE-2 1", "layer LINE-3 1", "layer LINE-5 1"}));
  EXPECT_EQ(
      test::ReportLines(report, "header"),
      (std::vector<std::string>{"header $EXTMIN -4.000000 -4.000000", "header $EXTMAX 24.000000 24.000000"}));

  r = test::RunProgram({TALVORIN_CLI, "--folder", folder.path(), "contour-dxf", folder.File("db/none.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ファイル " + folder.File("db/none.dat") + " が開けません。\n");
}

TEST(ContourDxfCommand, StoredPathsAreCheckedAndRelativeOnesLieInTheProgramFolder) {
  test::TestFolder folder;
  test::CopyProgramFolder(folder);
  folder.Write("euklid/part.csv", "P,0,0,0,0,0,90\nL,20,0,0,0,0,0\nL,0,0,0,0,0,0\nP,0,0,0,0,0,0\n");
  auto project = [&](const std::string& name, const std::string& csv, const std::string& dxf) {
    folder.WriteCp932("db/" + name + ".dat",
                      "[TALVORIN]\r\nproject=" + name + "\r\ncsvfile=" + csv + "\r\ndxffile=" + dxf + "\r\n");
    return folder.File("db/" + name + ".dat");
  };
  auto run = [&](const std::string& db) {
    return test::RunProgram({TALVORIN_CLI, "--folder", folder.path(), "--quiet", "contour-dxf", db});
  };

  // Relative paths: in the program folder, whatever the working folder.
  test::ProgramResult r = run(project("K2", "euklid/part.csv", "dxf/K2.dxf"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReportLines(test::CheckDxf(folder.File("dxf/K2.dxf")), "audit"),
            std::vector<std::string>{"audit errors 0"});

  // The project file itself, by its full path or relatively: refused, the project file unchanged.
  for (const std::string& dxf :
       {folder.File("db/K3.dat"), std::string("db/K3.dat"), std::string("db/../db/K3.dat")}) {
    const std::string db = project("K3", "euklid/part.csv", dxf);
    const std::string before = folder.Read("db/K3.dat");
    r = run(db);
    EXPECT_EQ(r.status, 1) << dxf;
    EXPECT_EQ(r.err, "エラー：[TALVORIN] dxffile=" + (dxf.front() == '/' ? dxf : folder.File(dxf)) +
                         " プロジェクトファイルには書けません\n");
    EXPECT_EQ(folder.Read("db/K3.dat"), before);
  }

  // File names that are commands, options or hold control characters.
  const std::pair<std::string, std::string> bad[] = {
      {"dxffile", "dxf/-K4.dxf"}, {"dxffile", "dxf/|K4.dxf"},      {"dxffile", "dxf/K4\t.dxf"},
      {"dxffile", "dxf/"},        {"csvfile", "euklid/!part.csv"}, {"csvfile", "euklid/.."}};
  for (const auto& [key, value] : bad) {
    const std::string db =
        key == "dxffile" ? project("K4", "euklid/part.csv", value) : project("K4", value, "dxf/K4.dxf");
    r = run(db);
    EXPECT_EQ(r.status, 1) << value;
    EXPECT_EQ(r.err, "エラー：[TALVORIN] " + key + "=" + value + " ファイル名が正しくありません\n");
  }
  EXPECT_FALSE(PathExists(folder.File("dxf/K4.dxf")));
}

}  // namespace
}  // namespace talvorin
