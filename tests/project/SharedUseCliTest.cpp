// talvorin-cli as several programmers use one installation: commands running at the same moment on
// one project or one program number rule, a program folder given relative to the working folder, and
// project names that cannot become a project file.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class SharedUseCli : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  test::CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  // The two commands started together; each result in `a` and `b`.
  void RunTogether(std::vector<std::string> first, std::vector<std::string> second, test::CliResult& a,
                   test::CliResult& b) {
    std::thread other([&] { b = Run(second); });
    a = Run(first);
    other.join();
  }

  std::vector<std::string> Entries(const std::string& relative) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.File(relative)))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestFolder folder;
};

TEST_F(SharedUseCli, TwoProgrammersSavingDifferentGroupsOfOneProjectLoseNoKey) {
  ASSERT_EQ(Run({"new", "SHARED", "--size", "200,150,12", "--material", "SS400", "--controller", "FANUC",
                 "--coord", "G54"})
                .status,
            0);
  const std::string db = folder.File("db/SHARED.dat");
  // Each round both groups get new positions at the same moment; afterwards the file holds both
  // groups' positions of that round, and every other key as before.
  for (int round = 0; round < 8; ++round) {
    const std::string x1 = std::to_string(10 + round), x2 = std::to_string(100 + round);
    test::CliResult a, b;
    RunTogether({"hole", "SHARED", "--group", "1", "--kind", "DRILL", "--set", "0=6.8", "--at", x1 + ",20"},
                {"hole", "SHARED", "--group", "2", "--kind", "REAMER", "--set", "0=10", "--at", x2 + ",40"},
                a, b);
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(ReadString(db, "hole1", "command", 128), "ドリル穴 [DRILL]") << "round " << round;
    EXPECT_EQ(ReadString(db, "hole1", "X0", 16), x1 + ".") << "round " << round;
    EXPECT_EQ(ReadString(db, "hole1", "Y0", 16), "20.") << "round " << round;
    EXPECT_EQ(ReadString(db, "hole2", "X0", 16), x2 + ".") << "round " << round;
    EXPECT_EQ(ReadString(db, "hole2", "Y0", 16), "40.") << "round " << round;
    EXPECT_EQ(ReadString(db, "hole2", "variable0", 16), "10") << "round " << round;
    EXPECT_EQ(ReadString(db, "TALVORIN", "project", 128), "SHARED");
    EXPECT_EQ(ReadString(db, "trycut", "Zmin", 16), "-12");
  }
}

TEST_F(SharedUseCli, TwoNewProjectsAtOnceTakeDifferentProgramNumbers) {
  std::set<std::string> numbers, files;
  for (int round = 0; round < 5; ++round) {
    const std::string p = "P" + std::to_string(2 * round), q = "P" + std::to_string(2 * round + 1);
    test::CliResult a, b;
    const std::vector<std::string> rest = {"--size",       "100,100,10", "--material", "SS400",
                                           "--controller", "FANUC",      "--coord",    "G54"};
    std::vector<std::string> first{"new", p}, second{"new", q};
    first.insert(first.end(), rest.begin(), rest.end());
    second.insert(second.end(), rest.begin(), rest.end());
    RunTogether(first, second, a, b);
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    for (const std::string& name : {p, q}) {
      numbers.insert(ReadString(folder.File("db/" + name + ".dat"), "machine", "onumber", 16));
      files.insert(ReadString(folder.File("db/" + name + ".dat"), "machine", "ncfile", 128));
    }
  }
  // Ten projects, ten numbers in turn from the start of the shipped range, ten NC files.
  std::set<std::string> expected;
  for (int n = 1000; n < 1010; ++n)
    expected.insert(std::to_string(n));
  EXPECT_EQ(numbers, expected);
  EXPECT_EQ(files.size(), 10u);
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1010);
}

TEST_F(SharedUseCli, ARelativeProgramFolderIsStoredAsAnAbsolutePath) {
  // Run from the folder above the program folder with --folder naming it by its last name only.
  std::filesystem::path programFolder = std::filesystem::path(folder.path()).parent_path();
  const std::string saved = std::filesystem::current_path().string();
  std::filesystem::current_path(programFolder.parent_path());
  test::CliResult r = test::RunProgram({TALVORIN_CLI, "--folder", programFolder.filename().string(),
                                        "--quiet", "new", "REL", "--size", "100,100,10", "--material",
                                        "SS400", "--controller", "FANUC", "--coord", "G54"});
  std::filesystem::current_path(saved);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string db = folder.File("db/REL.dat");
  EXPECT_EQ(r.out, db + "\n");
  EXPECT_EQ(ReadString(db, "TALVORIN", "dbpath", 260), folder.File("db"));
  EXPECT_EQ(ReadString(db, "machine", "ncpath", 260), folder.File("ncdata"));
}

TEST_F(SharedUseCli, ANewProjectNameThatCannotBeItsFileIsRefusedBeforeAnyFileIsMade) {
  const std::vector<std::string> before = Entries("db");
  struct Case {
    std::string name, message;
  };
  const Case cases[] = {
      {"TWO\nLINES", "エラー：プロジェクト名「TWO\nLINES」はファイル名に使えません\n"},
      {"TAB\tNAME", "エラー：プロジェクト名「TAB\tNAME」はファイル名に使えません\n"},
      {"PLATE\xF0\x9F\x94\xA9", "エラー：プロジェクト名「PLATE\xF0\x9F\x94\xA9」はファイル名に使えません\n"},
      {std::string(128, 'A'), "エラー：プロジェクト名は127バイトまでです\n"},
      // 64 full-width characters are 128 CP932 bytes, though only 64 characters.
      {[] {
         std::string s;
         for (int i = 0; i < 64; ++i)
           s += "板";
         return s;
       }(),
       "エラー：プロジェクト名は127バイトまでです\n"},
  };
  for (const Case& c : cases) {
    test::CliResult r = Run({"new", c.name, "--size", "100,100,10", "--material", "SS400", "--controller",
                             "FANUC", "--coord", "G54"});
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(Entries("db"), before) << c.name;
  }
  // 127 bytes are a name.
  test::CliResult r = Run({"new", std::string(127, 'B'), "--size", "100,100,10", "--material", "SS400",
                           "--controller", "FANUC", "--coord", "G54"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadString(folder.File("db/" + std::string(127, 'B') + ".dat"), "TALVORIN", "project", 128),
            std::string(127, 'B'));
}

}  // namespace
}  // namespace talvorin
