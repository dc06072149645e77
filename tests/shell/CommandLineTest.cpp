#include <gtest/gtest.h>

#include <filesystem>

#include "shell/CommandLine.h"
#include "shell/UserDialogs.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

TEST(CommandLine, SingleKeywordsInAnyCase) {
  EXPECT_EQ(EvaluateCommandLine({}).keywordMode, 0);
  EXPECT_EQ(EvaluateCommandLine({"sys"}).keywordMode, 2);
  EXPECT_EQ(EvaluateCommandLine({"SYS"}).keywordMode, 2);
  EXPECT_EQ(EvaluateCommandLine({"ProgInf"}).keywordMode, 3);
  EXPECT_EQ(EvaluateCommandLine({"ver"}).keywordMode, 4);
  EXPECT_EQ(EvaluateCommandLine({"version"}).keywordMode, 0);
  StartArguments euklid = EvaluateCommandLine({"EUKLID"});
  EXPECT_EQ(euklid.euklidMode, 1);
  EXPECT_EQ(euklid.keywordMode, 0);
  EXPECT_EQ(euklid.euklidPath, "");
}

TEST(CommandLine, EuklidModesFromFileAndKind) {
  TestFolder folder;
  folder.Write("curve.dat", "x");
  const std::string file = folder.File("curve.dat");
  const std::string missing = folder.File("none.dat");

  StartArguments cseg = EvaluateCommandLine({"euklid", file, "cseg"});
  EXPECT_EQ(cseg.euklidMode, 32);
  EXPECT_EQ(cseg.euklidPath, file);
  EXPECT_EQ(EvaluateCommandLine({"Euklid", file, "HOLE"}).euklidMode, 12);
  StartArguments gone = EvaluateCommandLine({"euklid", missing, "cseg"});
  EXPECT_EQ(gone.euklidMode, 31);
  EXPECT_EQ(gone.euklidPath, "");
  EXPECT_EQ(EvaluateCommandLine({"euklid", missing, "hole"}).euklidMode, 11);
  EXPECT_EQ(EvaluateCommandLine({"euklid", file}).euklidMode, 2);
  // The second and third arguments count whatever the first is; a fourth is ignored.
  EXPECT_EQ(EvaluateCommandLine({"other", file, "cseg"}).euklidMode, 31);
  EXPECT_EQ(EvaluateCommandLine({"euklid", file, "hole", "cseg"}).euklidMode, 12);
  // With two arguments a keyword is not a start keyword.
  EXPECT_EQ(EvaluateCommandLine({"sys", "ver"}).keywordMode, 0);
}

TEST(CommandLine, RelativeEuklidFileIsKeptWithItsFullPath) {
  TestFolder folder;
  folder.Write("euklid/curve.dat", "x");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder.File("euklid"));
  StartArguments start = EvaluateCommandLine({"euklid", "./../euklid/curve.dat", "cseg"});
  std::filesystem::current_path(before);
  EXPECT_EQ(start.euklidMode, 32);
  EXPECT_EQ(start.euklidPath, folder.File("euklid/curve.dat"));
}

TEST(CommandLine, OverlongPathIsNotTaken) {
  TestFolder folder;
  std::string dir = folder.path();
  while (dir.size() < 520)
    dir += "abcdefghij/";
  folder.Write(dir.substr(folder.path().size()) + "curve.dat", "x");
  StartArguments start = EvaluateCommandLine({"euklid", dir + "curve.dat", "cseg"});
  EXPECT_EQ(start.euklidMode, 31);
  EXPECT_EQ(start.euklidPath, "");
}

TEST(ScriptedDialogs, ProgramChooserAnswersInOrderThenCancels) {
  ScriptedDialogs dialogs;
  dialogs.programs = {"/usr/bin/librecad"};
  std::string path = "kept";
  EXPECT_TRUE(dialogs.ChooseProgram("DXF", path));
  EXPECT_EQ(path, "/usr/bin/librecad");
  EXPECT_FALSE(dialogs.ChooseProgram("NC", path));
  EXPECT_EQ(path, "/usr/bin/librecad");
  EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"DXF", "NC"}));
}

}  // namespace
}  // namespace talvorin
