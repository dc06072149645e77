// The magazine table and the tool screen: the created layout, reading and writing the rows, the tool
// list on the screen, and finding a tool number.
#include <gtest/gtest.h>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestContext;
using test::TestFolder;

std::vector<std::string> Boxes(const RecordingReporter& r) {
  std::vector<std::string> texts;
  for (const auto& [text, kind] : r.boxes)
    texts.push_back(Sprintf("%d %s", kind, text.c_str()));
  return texts;
}

TEST(GetToolTableFile, CreatesTheEmptyMagazineOnce) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=3\r\n");
  TestContext t(folder);
  std::string path;
  EXPECT_EQ(GetToolTableFile(t.ctx, path), 3);
  EXPECT_EQ(path, folder.File("ToolMagazine.tbl"));
  EXPECT_EQ(folder.Read("ToolMagazine.tbl"), Cp932(";;;マシニング　工具情報\r\n"
                                                   "\r\n"
                                                   "[T1]\r\n"
                                                   "toolname=\r\n"
                                                   "diameter=\r\n"
                                                   "\r\n"
                                                   "[T2]\r\n"
                                                   "toolname=\r\n"
                                                   "diameter=\r\n"
                                                   "\r\n"
                                                   "[T3]\r\n"
                                                   "toolname=\r\n"
                                                   "diameter=\r\n"
                                                   "\r\n"));
  EXPECT_EQ(t.reporter.Lines(), (std::vector<std::string>{"!!! routine name : GetToolTableFile",
                                                          "!!! 工具ファイル " + path + " を新規作成"}));
  EXPECT_TRUE(t.reporter.boxes.empty());

  // An existing table is left as it is, whatever its size.
  ASSERT_TRUE(WriteString(path, "T2", "toolname", "ドリル"));
  std::string before = folder.Read("ToolMagazine.tbl");
  ASSERT_TRUE(WriteString(t.inst.iniPath, "TALVORIN", "MaxToolNumber", "5"));
  EXPECT_EQ(GetToolTableFile(t.ctx, path), 5);
  EXPECT_EQ(folder.Read("ToolMagazine.tbl"), before);
  EXPECT_EQ(t.reporter.Lines().size(), 3u);
}

TEST(GetToolTableFile, DefaultSizeIsThirtyAndAnExistingFileIsFoundInAnyLetterCase) {
  TestFolder folder;
  {
    TestContext t(folder);
    std::string path;
    EXPECT_EQ(GetToolTableFile(t.ctx, path), 30);
    std::string text = folder.ReadCp932("ToolMagazine.tbl");
    std::size_t lines = 0;
    for (char c : text)
      lines += c == '\n';
    EXPECT_EQ(lines, 2u + 30u * 4u);
    EXPECT_NE(text.find("\r\n\r\n[T1]\r\ntoolname=\r\ndiameter=\r\n\r\n[T2]\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n[T30]\r\ntoolname=\r\ndiameter=\r\n\r\n"));
  }
  TestFolder other;
  other.Write("toolmagazine.TBL", "[T1]\r\ntoolname=x\r\n");
  TestContext t(other);
  std::string path;
  EXPECT_EQ(GetToolTableFile(t.ctx, path), 30);
  EXPECT_EQ(path, other.File("toolmagazine.TBL"));
  EXPECT_FALSE(PathExists(other.File("ToolMagazine.tbl")));
}

TEST(GetToolTableFile, AFileThatCannotBeCreatedIsAnError) {
  TestFolder folder;
  TestContext t(folder);
  t.inst.programFolder = folder.File("missing/");
  std::string path;
  EXPECT_EQ(GetToolTableFile(t.ctx, path), -1);
  std::string text = "エラー：工具ファイル " + folder.File("missing/ToolMagazine.tbl") + " が開けません";
  EXPECT_EQ(t.reporter.Lines().back(), text);
  EXPECT_EQ(Boxes(t.reporter), std::vector<std::string>{"-1 " + text});
  EXPECT_FALSE(PathExists(folder.File("missing")));

  ToolForm form;
  EXPECT_EQ(ReadToolTabel(t.ctx, form), -1);
}

TEST(ToolScreen, OpeningWithoutATableCreatesItAndShowsEmptyRows) {
  TestFolder folder;
  folder.WriteCp932("defineTool.tbl", "[TOOLLIST]\r\nindex=1\r\nTOOLLIST0=ドリル\r\nTOOLLIST1=リーマ\r\n");
  TestContext t(folder);
  ToolForm form;
  EXPECT_EQ(OpenToolScreen(t.ctx, form), 0);
  EXPECT_TRUE(PathExists(folder.File("ToolMagazine.tbl")));
  for (const ToolRow& row : form.rows) {
    EXPECT_EQ(row.toolName, "");
    EXPECT_EQ(row.diameter, "");
    EXPECT_EQ(row.toolNames, (std::vector<std::string>{"ドリル", "リーマ"}));
  }
  EXPECT_EQ(t.reporter.Lines(),
            (std::vector<std::string>{
                "!!! routine name : SetupToolsused", "!!! File = " + folder.File("defineTool.tbl"),
                "!!! routine name : ReadToolTabel", "!!! routine name : GetToolTableFile",
                "!!! 工具ファイル " + folder.File("ToolMagazine.tbl") + " を新規作成",
                "+++ 既定の工具テーブルを読込ました。"}));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST(ToolScreen, ToolListEntriesUpToTheIndexWithGapsSkipped) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=20\r\n");
  folder.WriteCp932("DEFINETOOL.TBL",
                    "[TOOLLIST]\r\nindex=4\r\nTOOLLIST0=センタードリル\r\nTOOLLIST1=ドリル\r\nTOOLLIST2=\r\n"
                    "TOOLLIST3=並目タップ\r\nTOOLLIST5=リーマ\r\n");
  TestContext t(folder);
  ToolForm form;
  form.rows[0].toolNames = {"old"};
  SetupToolsused(t.ctx, form);
  std::vector<std::string> three{"センタードリル", "ドリル", "並目タップ"};
  for (int n = 0; n < 20; ++n)
    EXPECT_EQ(form.rows[n].toolNames, three) << "row " << n + 1;
  // Rows beyond the magazine show no pocket and get no names.
  for (int n = 20; n < kToolScreenRows; ++n)
    EXPECT_TRUE(form.rows[n].toolNames.empty()) << "row " << n + 1;
  EXPECT_EQ(t.reporter.Lines()[1], "!!! File = " + folder.File("DEFINETOOL.TBL"));

  // Without "index" entries 0 to 10 count.
  folder.WriteCp932("DEFINETOOL.TBL", "[TOOLLIST]\r\nTOOLLIST10=ドリル\r\nTOOLLIST11=リーマ\r\n");
  SetupToolsused(t.ctx, form);
  EXPECT_EQ(form.rows[0].toolNames, std::vector<std::string>{"ドリル"});
}

TEST(ToolScreen, ReadShowsStoredKeysAndLeavesOtherFields) {
  TestFolder folder;
  folder.WriteCp932("ToolMagazine.tbl",
                    ";;;マシニング　工具情報\r\n\r\n[T1]\r\ntoolname=センタードリル\r\ndiameter=3\r\n\r\n"
                    "[T2]\r\ntoolname=ドリル\r\ndiameter=\r\n\r\n[T3]\r\ndiameter=12.5\r\n\r\n"
                    "[T30]\r\ntoolname=仕上エンドミル\r\ndiameter=10.12345\r\n");
  TestContext t(folder);
  ToolForm form;
  form.rows[1].diameter = "typed";
  form.rows[2].toolName = "typed";
  EXPECT_EQ(ReadToolTabel(t.ctx, form), 0);
  EXPECT_EQ(form.rows[0].toolName, "センタードリル");
  EXPECT_EQ(form.rows[0].diameter, "3");
  EXPECT_EQ(form.rows[1].toolName, "ドリル");
  EXPECT_EQ(form.rows[1].diameter, "typed");
  EXPECT_EQ(form.rows[2].toolName, "typed");
  EXPECT_EQ(form.rows[2].diameter, "12.5");
  EXPECT_EQ(form.rows[29].toolName, "仕上エンドミル");
  EXPECT_EQ(form.rows[29].diameter, "10.1234");  // the field holds 7 bytes
  EXPECT_EQ(t.reporter.Lines().back(), "+++ 既定の工具テーブルを読込ました。");
}

TEST(ToolScreen, AMagazineOfFortyIsCreatedWholeButEditedUpToTheThirtiethPocket) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=40\r\n");
  TestContext t(folder);
  ToolForm form;
  ASSERT_EQ(OpenToolScreen(t.ctx, form), 0);
  std::string path = folder.File("ToolMagazine.tbl");
  std::string text = folder.ReadCp932("ToolMagazine.tbl");
  EXPECT_TRUE(text.ends_with("\r\n[T40]\r\ntoolname=\r\ndiameter=\r\n\r\n"));
  ASSERT_TRUE(WriteString(path, "T31", "toolname", "リーマ"));
  form.rows[29].toolName = "ドリル";
  form.rows[29].diameter = "8";
  ASSERT_EQ(WriteToolTabel(t.ctx, form), 0);
  EXPECT_EQ(ReadString(path, "T30", "toolname", 32), "ドリル");
  EXPECT_EQ(ReadString(path, "T31", "toolname", 32), "リーマ");
  EXPECT_EQ(ReadString(path, "T31", "diameter", 8), "");
}

TEST(ToolScreen, WriteFillsTheLayoutInPlaceAndKeepsValuesOfEmptyFields) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=3\r\n");
  TestContext t(folder);
  ToolForm form;
  ASSERT_EQ(OpenToolScreen(t.ctx, form), 0);
  form.rows[0] = {{}, "センタードリル", "3"};
  form.rows[1] = {{}, "ドリル", "6.8"};
  ASSERT_EQ(WriteToolTabel(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.Lines().back(), "+++ 工具テーブルを更新しました。");
  EXPECT_EQ(Boxes(t.reporter), std::vector<std::string>{"1 +++ 工具テーブルを更新しました。"});

  // Clearing a row's name (and the other row's diameter) keeps what is stored.
  form.rows[0].toolName = "";
  form.rows[1].diameter = "";
  form.rows[2] = {{}, "リーマ", ""};
  ASSERT_EQ(WriteToolTabel(t.ctx, form), 0);
  EXPECT_EQ(folder.Read("ToolMagazine.tbl"), Cp932(";;;マシニング　工具情報\r\n"
                                                   "\r\n"
                                                   "[T1]\r\n"
                                                   "toolname=センタードリル\r\n"
                                                   "diameter=3\r\n"
                                                   "\r\n"
                                                   "[T2]\r\n"
                                                   "toolname=ドリル\r\n"
                                                   "diameter=6.8\r\n"
                                                   "\r\n"
                                                   "[T3]\r\n"
                                                   "toolname=リーマ\r\n"
                                                   "diameter=\r\n"
                                                   "\r\n"));
}

TEST(ToolScreen, ARefusedWriteStopsWithItsMessage) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=3\r\n");
  TestContext t(folder);
  ToolForm form;
  ASSERT_EQ(OpenToolScreen(t.ctx, form), 0);
  std::string path = folder.File("ToolMagazine.tbl");

  // A character that Shift_JIS cannot hold is refused by the store.
  form.rows[0] = {{}, "ドリル", "5"};
  form.rows[1] = {{}, "ドリル🔧", "6"};
  form.rows[2] = {{}, "リーマ", "8"};
  EXPECT_EQ(WriteToolTabel(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：[T2] toolname=ドリル🔧 工具名書込み失敗");
  EXPECT_EQ(Boxes(t.reporter), std::vector<std::string>{"-1 エラー：[T2] toolname=ドリル🔧 工具名書込み失敗"});
  EXPECT_EQ(ReadString(path, "T1", "diameter", 8), "5");  // rows before it are written
  EXPECT_EQ(ReadString(path, "T2", "diameter", 8), "");
  EXPECT_EQ(ReadString(path, "T3", "toolname", 32), "");

  form.rows[1] = {{}, "ドリル", "6🔧"};
  EXPECT_EQ(WriteToolTabel(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：[T2] diameter=6🔧 工具径書込み失敗");
  EXPECT_EQ(ReadString(path, "T2", "toolname", 32), "ドリル");
}

class FindToolNumberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=6\r\n");
    folder.WriteCp932("ToolMagazine.tbl",
                      "[T1]\r\ntoolname=センタードリル\r\ndiameter=3\r\n"
                      "[T2]\r\ntoolname=ﾄﾞﾘﾙ\r\ndiameter=10\r\n"
                      "[T3]\r\ntoolname=ドリル\r\ndiameter=10\r\n"
                      "[T4]\r\ntoolname=ドリル\r\ndiameter=10.000\r\n"
                      "[T5]\r\ntoolname=ドリル\r\ndiameter=6.80\r\n"
                      "[T6]\r\ntoolname=\r\ndiameter=\r\n"
                      "[T7]\r\ntoolname=リーマ\r\ndiameter=8\r\n");
  }
  TestFolder folder;
};

TEST_F(FindToolNumberTest, ExactNameAndNumericDiameter) {
  TestContext t(folder);
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "10.0"), 3);  // "10" matches 10.0; T3 before T4
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "10"), 3);
  EXPECT_EQ(FindToolNumber(t.ctx, "ﾄﾞﾘﾙ", "10."), 2);  // half-width katakana is another name
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "6.8"), 5);
  EXPECT_EQ(FindToolNumber(t.ctx, "センタードリル", "3"), 1);
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル ", "10"), -1);  // a trailing blank counts
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "10.1"), -1);
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "3"), -1);
  EXPECT_EQ(FindToolNumber(t.ctx, "リーマ", "8"), -1);  // T7 lies beyond the magazine size
  EXPECT_EQ(FindToolNumber(t.ctx, "", "0"), -1);        // an empty pocket is no tool
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST_F(FindToolNumberTest, WithoutAMagazineThereIsNoTool) {
  TestFolder empty;
  TestContext t(empty);
  EXPECT_EQ(FindToolNumber(t.ctx, "ドリル", "10"), -1);
  EXPECT_FALSE(PathExists(empty.File("ToolMagazine.tbl")));
}

TEST_F(FindToolNumberTest, ReadMagazineListsEveryPocket) {
  TestContext t(folder);
  std::vector<MagazinePocket> pockets;
  ASSERT_EQ(ReadMagazine(t.ctx, pockets), 0);
  ASSERT_EQ(pockets.size(), 6u);
  EXPECT_EQ(pockets[0].number, 1);
  EXPECT_EQ(pockets[0].toolName, "センタードリル");
  EXPECT_EQ(pockets[4].diameter, "6.80");
  EXPECT_EQ(pockets[5].number, 6);
  EXPECT_EQ(pockets[5].toolName, "");
}

}  // namespace
}  // namespace talvorin
