// The installation's lookups: file names of the program folder regardless of letter case, and the
// folder and table resolutions with their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Installation.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class InstallationLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    inst.programFolder = folder.path();
    inst.iniPath = folder.File("TALVORIN.ini");
  }
  void Ini(std::string_view utf8) { folder.WriteCp932("TALVORIN.ini", utf8); }

  TestFolder folder;
  Installation inst;
  RecordingReporter rep;
};

TEST_F(InstallationLookup, ProgramFileIgnoresLetterCase) {
  folder.Write("defineTool.tbl", "");
  folder.Write("table/Foo.tbl", "");
  folder.Write("工具加工条件.tbl", "");
  EXPECT_EQ(ProgramFile(inst, "definetool.tbl"), folder.path() + "defineTool.tbl");
  EXPECT_EQ(ProgramFile(inst, "defineTool.tbl"), folder.path() + "defineTool.tbl");
  EXPECT_EQ(ProgramFile(inst, "TABLE/foo.tbl"), folder.path() + "table/Foo.tbl");
  EXPECT_EQ(ProgramFile(inst, "工具加工条件.TBL"), folder.path() + "工具加工条件.tbl");
  // Not there in any case: the name as given.
  EXPECT_EQ(ProgramFile(inst, "table/Bar.tbl"), folder.path() + "table/Bar.tbl");
  EXPECT_EQ(ProgramFile(inst, "NoSuch/x.tbl"), folder.path() + "NoSuch/x.tbl");
  // An exact match wins over one that differs in case.
  folder.Write("DefineTool.tbl", "");
  EXPECT_EQ(ProgramFile(inst, "DefineTool.tbl"), folder.path() + "DefineTool.tbl");
  EXPECT_EQ(ProgramFile(inst, "defineTool.tbl"), folder.path() + "defineTool.tbl");
}

TEST_F(InstallationLookup, GetFolderPath) {
  Ini("[folder]\r\nfolder0=db\r\nfolder1=NCデータ\r\nfolder2=\r\nfolder4=ABCDEFGHIJKLMNOPQRST\r\n");
  std::string out;
  EXPECT_EQ(GetFolderPath(inst, rep, 0, out), 0);
  EXPECT_EQ(out, folder.path() + "db");
  EXPECT_EQ(GetFolderPath(inst, rep, 1, out), 0);
  EXPECT_EQ(out, folder.path() + "NCデータ");
  EXPECT_EQ(GetFolderPath(inst, rep, 4, out), 0);
  EXPECT_EQ(out, folder.path() + "ABCDEFGHIJKLMNO");  // at most 15 bytes
  EXPECT_TRUE(rep.Lines().empty());

  out = "unchanged";
  EXPECT_EQ(GetFolderPath(inst, rep, 3, out), -1);
  EXPECT_EQ(GetFolderPath(inst, rep, 2, out), -1);  // empty value: missing too
  EXPECT_EQ(out, "unchanged");
  const std::vector<std::string> lines = {"エラー：[folder] folder3= | db フォルダ取得失敗",
                                          "エラー：[folder] folder2= | db フォルダ取得失敗"};
  EXPECT_EQ(rep.Lines(), lines);
  ASSERT_EQ(rep.boxes.size(), 2u);
  EXPECT_EQ(rep.boxes[0], std::make_pair(lines[0], -1));
}

TEST_F(InstallationLookup, SetNcTableFile) {
  // The path is given back only when the table exists; the installation is not touched.
  std::string path = "unchanged";
  Ini("[table]\r\ncommand=x.tbl\r\n");
  EXPECT_EQ(SetNcTableFile(inst, rep, path), -1);
  Ini("[table]\r\nncformat=NCformat.tbl\r\n");
  EXPECT_EQ(SetNcTableFile(inst, rep, path), -1);
  EXPECT_EQ(path, "unchanged");
  const std::vector<std::string> lines = {
      "エラー：[table] ncformat= | ＮＣテーブル定義がありません",
      "エラー：ＮＣテーブル " + folder.path() + "NCformat.tbl がありません"};
  EXPECT_EQ(rep.Lines(), lines);
  ASSERT_EQ(rep.boxes.size(), 2u);
  EXPECT_EQ(rep.boxes[1], std::make_pair(lines[1], -1));

  folder.Write("ncformat.TBL", "[NcFormat]\r\n");
  EXPECT_EQ(SetNcTableFile(inst, rep, path), 0);
  EXPECT_EQ(path, folder.path() + "ncformat.TBL");
  EXPECT_EQ(inst.ncTableFile, "");
  EXPECT_EQ(rep.Lines().size(), 2u);
}

TEST_F(InstallationLookup, GetTableFile) {
  Ini("[table]\r\ncommand=table/Command.tbl\r\n穴=穴加工.tbl\r\nempty=\r\n");
  folder.Write("table/command.tbl", "");
  std::string path;
  EXPECT_EQ(GetTableFile(inst, rep, "command", path), 0);
  EXPECT_EQ(path, folder.path() + "table/command.tbl");
  EXPECT_EQ(GetTableFile(inst, rep, "穴", path), 0);  // resolved whether the file exists or not
  EXPECT_EQ(path, folder.path() + "穴加工.tbl");
  EXPECT_TRUE(rep.Lines().empty());

  path = "unchanged";
  EXPECT_EQ(GetTableFile(inst, rep, "tap", path), -1);
  EXPECT_EQ(GetTableFile(inst, rep, "empty", path), -1);
  EXPECT_EQ(path, "unchanged");
  const std::vector<std::string> lines = {"エラー：[table] tap= の取り出し失敗",
                                          "エラー：[table] empty= の取り出し失敗"};
  EXPECT_EQ(rep.Lines(), lines);
  EXPECT_EQ(rep.boxes.size(), 2u);
}

}  // namespace
}  // namespace talvorin
