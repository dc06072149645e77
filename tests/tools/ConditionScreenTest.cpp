// The conditions screen: its lists, captions, showing and registering values through the register
// table.
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

class ConditionScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.WriteCp932(
        "TALVORIN.ini",
        "[material]\r\nmaterial0=SS400\r\nmaterial1=S45C\r\nmaterial2=A5052\r\nmaterial4=FC250\r\n");
    folder.WriteCp932("工具加工条件.tbl",
                      ";;; register\r\n"
                      "[tool]\r\ntool0=ドリル\r\ntool1=リーマ\r\ntool2=鍵なし\r\ntool4=面取カッター\r\n"
                      "[ドリル]\r\ntitle0=工具径\r\ntitle1=回転数\r\ntitle2=送り\r\ntitle3=ステップ(Q)\r\n"
                      "key1=S\r\nkey2=F\r\nkey3=Q\r\nSS400=drillSS400.tbl\r\nS45C=missing/drillS45C.tbl\r\n"
                      "[リーマ]\r\ntitle0=リーマ径\r\ntitle1=回転数\r\ntitle2=送り\r\n"
                      "key1=S\r\nkey2=F\r\nSS400=reamerSS400.tbl\r\n"
                      "[鍵なし]\r\nkey2=F\r\nkey3=Q\r\nSS400=drillSS400.tbl\r\n");
    folder.WriteCp932("table/drillSS400.tbl", ";;; drill SS400\r\n[D6.8]\r\nS=1170\r\nF=140\r\nQ=6.8\r\n");
    folder.WriteCp932("table/reamerSS400.tbl", "[D10.0]\r\nS=250\r\n");
  }
  void Choose(const char* tool, const char* material, const char* diameter) {
    form.toolName = tool;
    form.material = material;
    form.values[0] = diameter;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& [text, kind] : t.reporter.boxes)
      texts.push_back(Sprintf("%d %s", kind, text.c_str()));
    return texts;
  }

  TestFolder folder;
  TestContext t{folder};
  ConditionForm form;
};

TEST_F(ConditionScreen, OpeningFillsToolsAndMaterialsUpToTheFirstGap) {
  StartupToolInitial(t.ctx, form);
  EXPECT_EQ(form.toolNames, (std::vector<std::string>{"ドリル", "リーマ", "鍵なし"}));
  EXPECT_EQ(form.materials, (std::vector<std::string>{"SS400", "S45C", "A5052"}));
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"!!! routine name : StartupToolInitial"});
  EXPECT_EQ(form.captions, (std::array<std::string, 4>{"工 具 径(D)", "回 転 数(S)", "送り速度(F)", "-"}));
}

TEST_F(ConditionScreen, ChoosingAToolShowsItsCaptionsAndEmptiesTheValues) {
  form.values = {"6.8", "1", "2", "3"};
  EXPECT_EQ(SelectToolName(t.ctx, form), 0);  // no tool chosen: nothing changes
  EXPECT_EQ(form.values[0], "6.8");
  EXPECT_EQ(form.captions[0], "工 具 径(D)");

  form.toolName = "ドリル";
  EXPECT_EQ(SelectToolName(t.ctx, form), 0);
  EXPECT_EQ(form.captions, (std::array<std::string, 4>{"工具径", "回転数", "送り", "ステップ(Q)"}));
  EXPECT_EQ(form.values, (std::array<std::string, 4>{}));

  form.toolName = "リーマ";
  SelectToolName(t.ctx, form);
  EXPECT_EQ(form.captions, (std::array<std::string, 4>{"リーマ径", "回転数", "送り", "-"}));
  EXPECT_EQ(t.reporter.Lines().size(), 3u);
  EXPECT_EQ(t.reporter.Lines().back(), "!!! routine name : SelectToolName");
}

TEST_F(ConditionScreen, LeavingTheDiameterShowsTheRegisteredValues) {
  Choose("ドリル", "SS400", "6.8");
  EXPECT_EQ(GetTooldefaultCondition(t.ctx, form), 0);
  EXPECT_EQ(form.values, (std::array<std::string, 4>{"6.8", "1170", "140", "6.8"}));

  // A diameter without a section leaves the fields as they are.
  form.values = {"7", "a", "b", "c"};
  EXPECT_EQ(GetTooldefaultCondition(t.ctx, form), 0);
  EXPECT_EQ(form.values, (std::array<std::string, 4>{"7", "a", "b", "c"}));

  // Without "key3" the third field is emptied; an absent F leaves its field.
  Choose("リーマ", "SS400", "10");
  form.values[2] = "b";
  EXPECT_EQ(GetTooldefaultCondition(t.ctx, form), 0);
  EXPECT_EQ(form.values, (std::array<std::string, 4>{"10", "250", "b", ""}));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(ConditionScreen, LeavingTheDiameterWithoutEnoughInputDoesNothing) {
  for (auto [tool, material, diameter] :
       std::vector<std::array<const char*, 3>>{{"", "SS400", "6.8"},
                                               {"ドリル", "", "6.8"},
                                               {"ドリル", "SS400", ""},
                                               {"ドリル", "A5052", "6.8"}}) {
    TestContext fresh(folder);
    Choose(tool, material, diameter);
    form.values[1] = "keep";
    EXPECT_EQ(GetTooldefaultCondition(fresh.ctx, form), -1);
    EXPECT_EQ(form.values[1], "keep");
    EXPECT_EQ(fresh.reporter.Lines(), std::vector<std::string>{"!!! routine name : GetTooldefaultCondition"});
  }
}

TEST_F(ConditionScreen, RegisteringWritesWholeSpeedAndFeedAndTheThirdValueAsTyped) {
  Choose("ドリル", "SS400", "8.5");
  form.values[1] = "930.7";
  form.values[2] = "150";
  form.values[3] = "0.5";
  EXPECT_EQ(RegisterToolCondition(t.ctx, form), 0);
  EXPECT_EQ(
      folder.Read("table/drillSS400.tbl"),
      Cp932(
          ";;; drill SS400\r\n[D6.8]\r\nS=1170\r\nF=140\r\nQ=6.8\r\n[D8.5]\r\nS=930\r\nF=150\r\nQ=0.5\r\n"));
  EXPECT_EQ(form.values, (std::array<std::string, 4>{}));
  EXPECT_EQ(t.reporter.Lines(),
            (std::vector<std::string>{"!!! routine name : RegisterToolCondition",
                                      "加工条件テーブルファイル " + folder.File("table/drillSS400.tbl"),
                                      "3 個の加工条件を書込み成功"}));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"1 3 個の加工条件を書込み成功"});

  // Only the non-empty fields are written; an existing section is changed in place.
  Choose("ドリル", "SS400", "6.80");
  form.values[2] = "-12.9abc";
  EXPECT_EQ(RegisterToolCondition(t.ctx, form), 0);
  EXPECT_EQ(ReadString(folder.File("table/drillSS400.tbl"), "D6.8", "F", 16), "-12");
  EXPECT_EQ(ReadString(folder.File("table/drillSS400.tbl"), "D6.8", "S", 16), "1170");
  EXPECT_EQ(t.reporter.Lines().back(), "1 個の加工条件を書込み成功");

  // A tool without "key3" registers no third value.
  Choose("リーマ", "SS400", "10");
  form.values[3] = "9";
  EXPECT_EQ(RegisterToolCondition(t.ctx, form), 0);
  EXPECT_EQ(folder.Read("table/reamerSS400.tbl"), Cp932("[D10.0]\r\nS=250\r\n"));
  EXPECT_EQ(t.reporter.Lines().back(), "0 個の加工条件を書込み成功");
}

TEST_F(ConditionScreen, RegisteringNeedsToolMaterialDiameterAndATableName) {
  struct Case {
    const char *tool, *material, *diameter, *message;
  };
  for (const Case& c : std::vector<Case>{{"", "SS400", "6.8", "エラー：工具名取り出し失敗"},
                                         {"ドリル", "", "6.8", "エラー：材質取り出し失敗"},
                                         {"ドリル", "SS400", "", "エラー：工具径取り出し失敗"},
                                         {"ドリル", "A5052", "6.8", "エラー：加工条件テーブル名取得失敗"}}) {
    TestContext fresh(folder);
    Choose(c.tool, c.material, c.diameter);
    form.values[1] = "100";
    EXPECT_EQ(RegisterToolCondition(fresh.ctx, form), -1);
    EXPECT_EQ(fresh.reporter.Lines().back(), c.message);
    ASSERT_EQ(fresh.reporter.boxes.size(), 1u);
    EXPECT_EQ(fresh.reporter.boxes[0].second, -1);
    EXPECT_EQ(form.values[1], "100");
  }
  EXPECT_EQ(folder.Read("table/drillSS400.tbl"),
            Cp932(";;; drill SS400\r\n[D6.8]\r\nS=1170\r\nF=140\r\nQ=6.8\r\n"));
}

TEST_F(ConditionScreen, AMissingKeyNameDoesNotStopTheOtherValues) {
  Choose("鍵なし", "SS400", "6.8");
  form.values[1] = "1000";
  form.values[2] = "99";
  form.values[3] = "2";
  EXPECT_EQ(RegisterToolCondition(t.ctx, form), -1);
  EXPECT_EQ(folder.Read("table/drillSS400.tbl"),
            Cp932(";;; drill SS400\r\n[D6.8]\r\nS=1170\r\nF=99\r\nQ=2\r\n"));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"-1 エラー：[鍵なし] key1= | 登録キーワード取得失敗"});
  // The value that was not registered stays to be corrected.
  EXPECT_EQ(form.values, (std::array<std::string, 4>{"6.8", "1000", "99", "2"}));
}

TEST_F(ConditionScreen, RefusedWritesAreEachReportedAndTheThirdStillTried) {
  // The table lies in a folder that does not exist.
  Choose("ドリル", "S45C", "6.8");
  form.values = {"6.8", "1000", "99", "2"};
  EXPECT_EQ(RegisterToolCondition(t.ctx, form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"-1 エラー：[D6.8] S=1000 加工条件書込み失敗",
                                               "-1 エラー：[D6.8] F=99 加工条件書込み失敗",
                                               "-1 エラー：[D6.8] Q=2 加工条件書込み失敗"}));
  EXPECT_EQ(form.values[1], "1000");
  EXPECT_FALSE(PathExists(folder.File("table/missing")));

  // A third value that Shift_JIS cannot hold is refused after S and F are written.
  TestContext fresh(folder);
  Choose("ドリル", "SS400", "6.8");
  form.values = {"6.8", "1200", "150", "3🔧"};
  EXPECT_EQ(RegisterToolCondition(fresh.ctx, form), -1);
  EXPECT_EQ(fresh.reporter.Lines().back(), "エラー：[D6.8] Q=3🔧 加工条件書込み失敗");
  EXPECT_EQ(folder.Read("table/drillSS400.tbl"),
            Cp932(";;; drill SS400\r\n[D6.8]\r\nS=1200\r\nF=150\r\nQ=6.8\r\n"));
}

}  // namespace
}  // namespace talvorin
