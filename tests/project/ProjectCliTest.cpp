// talvorin-cli new and load as black boxes: a copied program folder, the command run with --folder,
// its output, exit status and the project database it leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class ProjectCli : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  test::CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path()};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  std::string Key(const std::string& db, const char* section, const char* key) {
    return ReadString(folder.File(db), section, key, 260);
  }

  TestFolder folder;
};

TEST_F(ProjectCli, NewCreatesTheProjectWithTheNextProgramNumber) {
  test::CliResult r = Run({"--quiet", "new", "plate-1", "--product", "bracket", "--size", "100,50,12",
                           "--material", "ss400", "--controller", "FANUC", "--coord", "G55"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.File("db/PLATE-1.dat") + "\n");
  EXPECT_EQ(r.err, "... 保存ファイルが設定されてません\n... 新規に設定します\n");  // the announcement box

  const std::string db = "db/PLATE-1.dat";
  EXPECT_EQ(Key(db, "TALVORIN", "project"), "PLATE-1");  // the fields force upper case
  EXPECT_EQ(Key(db, "TALVORIN", "product"), "BRACKET");
  EXPECT_EQ(Key(db, "TALVORIN", "dbpath"), folder.File("db"));
  EXPECT_EQ(Key(db, "material", "X"), "100.");
  EXPECT_EQ(Key(db, "material", "Z"), "12.");
  EXPECT_EQ(Key(db, "material", "type"), "SS400");
  EXPECT_EQ(Key(db, "material", "origin"), "左下");  // the preselected origin
  EXPECT_EQ(Key(db, "material", "originNo"), "0");
  EXPECT_EQ(Key(db, "machine", "ControlDevice"), "FANUC");
  EXPECT_EQ(Key(db, "machine", "CoordinateSystem"), "G55");
  EXPECT_EQ(Key(db, "machine", "onumber"), "1000");  // first number of the shipped rule
  EXPECT_EQ(Key(db, "machine", "ncfile"), "O1000.NC");
  EXPECT_EQ(Key(db, "machine", "trycutfile"), "O1000");
  EXPECT_EQ(Key(db, "machine", "ncpath"), folder.File("ncdata"));
  EXPECT_EQ(Key(db, "machine", "StartZ"), "50.");  // from the shipped NC table
  EXPECT_EQ(Key(db, "trycut", "Ymax"), "50");
  EXPECT_EQ(Key(db, "trycut", "Zmin"), "-12");
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1001);

  // A given number replaces the drawn one (which is consumed all the same); OSP with a G15 system.
  r = Run({"--quiet", "new", "PLATE-2", "--size", "80,80,10", "--material", "A5052", "--origin", "中心",
           "--controller", "osp", "--coord", "g15h02", "--onumber", "12"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string db2 = "db/PLATE-2.dat";
  EXPECT_EQ(Key(db2, "TALVORIN", "product"), "");
  EXPECT_EQ(Key(db2, "machine", "ControlDevice"), "OSP");
  EXPECT_EQ(Key(db2, "machine", "CoordinateSystem"), "G15H02");
  EXPECT_EQ(Key(db2, "machine", "onumber"), "12");
  EXPECT_EQ(Key(db2, "machine", "ncfile"), "O0012.MIN");
  EXPECT_EQ(Key(db2, "material", "originNo"), "4");
  EXPECT_EQ(Key(db2, "trycut", "Xmin"), "-40");
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1002);
}

TEST_F(ProjectCli, NewListsItsStepsAndFailsWithTheSystemsMessages) {
  test::CliResult r =
      Run({"new", "P", "--size", "10,10,10", "--material", "SS400", "--controller", "OSP", "--coord", "G54"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "... 保存ファイルが設定されてません\n... 新規に設定します\n"
            "エラー：座標系がOSP仕様に定義されてません\n");
  EXPECT_NE(r.out.find("+++ DBファイル " + folder.File("db/P.dat") + "\n"), std::string::npos);
  EXPECT_EQ(r.out.find("+++ DBファイル保存"), std::string::npos);

  r = Run({"--quiet", "new", "../P", "--size", "10,10,10", "--material", "SS400", "--controller", "FANUC",
           "--coord", "G54"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：プロジェクト名に「/」は使えません\n");
  EXPECT_FALSE(PathExists(folder.File("P.dat")));

  r = Run({"--quiet", "new", "Q", "--size", "10,,10", "--material", "SS400", "--controller", "FANUC",
           "--coord", "G54"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.err,
      "... 保存ファイルが設定されてません\n... 新規に設定します\nエラー：材料 Y 寸法が定義されてません\n");
}

TEST_F(ProjectCli, NewRefusesIncompleteArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"new", "P", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"},
      {"new", "P", "--size", "1,2,3", "--controller", "FANUC", "--coord", "G54"},
      {"new", "P", "--size", "1,2,3", "--material", "SS400", "--coord", "G54"},
      {"new", "P", "--size", "1,2,3", "--material", "SS400", "--controller", "FANUC"},
      {"new", "--size", "1,2,3", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"},
      {"new", "P", "--size", "1,2", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"},
      {"new", "P", "--size", "1,2,x", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"},
      {"new", "P", "--size", "1,2,3", "--material", "SS400", "--controller", "FANUC", "--coord", "G54",
       "--onumber", "-5"},
  };
  for (const std::vector<std::string>& args : cases)
    EXPECT_EQ(Run(args).status, 2) << args.size();
  EXPECT_FALSE(PathExists(folder.File("db/P.dat")));
}

TEST_F(ProjectCli, LoadPrintsTheHeader) {
  ASSERT_EQ(Run({"--quiet", "new", "K-7", "--product", "base", "--size", "200,150,16", "--material", "S45C",
                 "--controller", "FANUC", "--coord", "G54", "--onumber", "7"})
                .status,
            0);
  ASSERT_TRUE(WriteString(folder.File("db/K-7.dat"), "hole2", "command", "タップ穴 [NTAP]"));
  test::CliResult r = Run({"--quiet", "load", folder.File("db/K-7.dat")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "DBファイル=" + folder.File("db/K-7.dat") +
          "\nプロジェクト名=K-7\n商品名／加工物=BASE\n材料寸法=200.,150.,16.\n材質=S45C\n加工原点=左下\n"
          "制御装置=FANUC\n座標系=G54\nＯ番号=7\n[01]=[ 1 ]\n[02]=タップ穴 [NTAP]\n[03]=[ 3 ]\n"
          "[04]=[ 4 ]\n[05]=[ 5 ]\n[06]=[ 6 ]\n");

  r = Run({"--quiet", "load", folder.File("nofolder/K.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ファイルの読み込みを中止します。\n");
  EXPECT_EQ(Run({"load"}).status, 2);
}

}  // namespace
}  // namespace talvorin
