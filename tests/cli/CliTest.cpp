// talvorin-cli as a black box: a program folder copied from the build, the command run with
// --folder, its standard output, standard error, exit status and the files it leaves.
#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  test::CliResult Run(std::vector<std::string> args, bool withFolder = true) {
    std::vector<std::string> all{TALVORIN_CLI};
    if (withFolder) {
      all.push_back("--folder");
      all.push_back(folder.path());
    }
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  std::string Ini() const { return folder.File("TALVORIN.ini"); }

  TestFolder folder;
};

TEST_F(Cli, VerPrintsTheVersionLineAndWritesTheDailyLog) {
  test::CliResult r = Run({"ver"});
  EXPECT_EQ(r.status, 0);
  // The program folder ships the example projects in "db"; the other three folders are created.
  std::string firstRun = "--- フォルダ作成 " + folder.File("ncdata") + "\n--- フォルダ作成 " +
                         folder.File("trycut") + "\n--- フォルダ作成 " + folder.File("dxf") + "\n";
  std::string version = VersionLine(BuildNumber(TheBuildDate()));
  EXPECT_EQ(r.out, firstRun + version + "\n");
  EXPECT_EQ(r.err, "");

  r = Run({"ver"});
  EXPECT_EQ(r.out, version + "\n");
  // Both runs appended their block to today's log (LogWriting=1 is shipped).
  Timestamp now = TimestampFromTime(std::time(nullptr));
  std::string log = folder.ReadCp932(Sprintf("Log/TALVORIN%d%02d%02d.log", now.year, now.month, now.day));
  std::size_t blocks = 0;
  for (std::size_t pos = 0;
       (pos = log.find(std::string(70, '-') + "\r\n          ", pos)) != std::string::npos; ++pos)
    ++blocks;
  EXPECT_EQ(blocks, 2u);
  EXPECT_NE(log.find("\r\n" + version + "\r\n\r\n"), std::string::npos);
}

TEST_F(Cli, IniGetPrintsTheValueOrFails) {
  test::CliResult r = Run({"--quiet", "ini", "get", "TALVORIN.ini", "extension", "osp"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "MIN\n");

  r = Run({"--quiet", "ini", "get", "talvorin.INI", "machine", "Origin4"});  // file name letter case ignored
  EXPECT_EQ(r.out, "中心\n");

  r = Run({"--quiet", "ini", "get", "TALVORIN.ini", "TALVORIN", "title", "--limit", "8"});
  EXPECT_EQ(r.out, "二次元\n");  // 7 bytes: "Ｎ" would end at byte 8, and a cut never splits it

  r = Run({"--quiet", "ini", "get", "TALVORIN.ini", "TALVORIN", "nosuchkey"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");

  r = Run({"--quiet", "ini", "get", "TALVORIN.ini", "TALVORIN", "nosuchkey", "--default", "dflt  "});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "dflt\n");
}

TEST_F(Cli, IniIntSetAndDelete) {
  ASSERT_EQ(Run({"--quiet", "ini", "set", Ini(), "TALVORIN", "MaxToolNumber", "abc"}).status, 0);
  EXPECT_EQ(
      Run({"--quiet", "ini", "int", "TALVORIN.ini", "TALVORIN", "MaxToolNumber", "--default", "30"}).out,
      "0\n");
  EXPECT_EQ(Run({"--quiet", "ini", "int", "TALVORIN.ini", "TALVORIN", "none", "--default", "-7"}).out,
            "-7\n");

  // A new key in a new section of a new file, with Japanese text.
  ASSERT_EQ(Run({"--quiet", "ini", "set", "extra.tbl", "工具", "名前", "ドリル"}).status, 0);
  EXPECT_EQ(folder.Read("extra.tbl"), test::Cp932("[工具]\r\n名前=ドリル\r\n"));

  ASSERT_EQ(Run({"--quiet", "ini", "delete", "extra.tbl", "工具", "名前"}).status, 0);
  EXPECT_EQ(folder.Read("extra.tbl"), test::Cp932("[工具]\r\n"));
  EXPECT_EQ(Run({"--quiet", "ini", "delete", "extra.tbl", "工具", "名前"}).status, 0);
}

TEST_F(Cli, FailedWriteGoesToStandardErrorWithStatusOne) {
  test::CliResult r = Run({"--quiet", "ini", "set", "missing/x.ini", "s", "k", "v"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[s] k=v 書込失敗\n");
  EXPECT_FALSE(PathExists(folder.File("missing")));
}

TEST_F(Cli, BadUsageExitsTwo) {
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"nonsense"}).status, 2);
  EXPECT_EQ(Run({"ini", "get", "TALVORIN.ini", "s"}).status, 2);
  EXPECT_EQ(Run({"ini", "get", "TALVORIN.ini", "s", "k", "--limit", "x"}).status, 2);
  EXPECT_EQ(Run({"ini", "frobnicate"}).status, 2);
  EXPECT_EQ(Run({"ver", "extra"}).status, 2);
  EXPECT_EQ(Run({"ver", "--folder"}, false).status, 2);
}

TEST_F(Cli, MissingNcTableEndsTheRun) {
  ASSERT_TRUE(DeleteKey(Ini(), "table", "ncformat"));
  test::CliResult r = Run({"--quiet", "ver"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[table] ncformat= | ＮＣテーブル定義がありません\n");

  ASSERT_TRUE(WriteString(Ini(), "table", "ncformat", "gone.tbl"));
  r = Run({"--quiet", "ver"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ＮＣテーブル " + folder.File("gone.tbl") + " がありません\n");
}

TEST_F(Cli, SysRegistersTheSystemInformation) {
  test::CliResult r = Run({"sys"});
  EXPECT_EQ(r.status, 0);
  std::string version = ShortVersion(BuildNumber(TheBuildDate()));
  EXPECT_EQ(ReadString(Ini(), "system", "Version", 16), version);
  EXPECT_EQ(ReadString(Ini(), "system", "FileDate", 32).size(), 19u);  // "%d/%02d/%02d %02d:%02d:%02d"
  EXPECT_NE(r.out.find("[system] Version=" + version + "\n"), std::string::npos);
}

TEST_F(Cli, HelpOnlyNamesTheViewerWithoutOpen) {
  test::CliResult r = Run({"--quiet", "help"});
  EXPECT_EQ(r.status, 0);
  r = Run({"help", "加工条件設定"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("... 起動省略 (--open で起動): xdg-open " + folder.File("help/conditions.html")),
            std::string::npos);
  r = Run({"help", "未登録"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[help] 未登録= | ヘルプファイル取得失敗\n");
}

}  // namespace
}  // namespace talvorin
