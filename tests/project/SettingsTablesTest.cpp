// The tapping settings and the start and end lines in the NC table file, and the coordinate systems
// of the program INI: loads, edits, the files their saves write, and every refusal.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "project/Settings.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using Boxes = std::vector<std::pair<std::string, int>>;
using Strings = std::vector<std::string>;

struct SettingsTables : ::testing::Test {
  SettingsTables() {
    folder.WriteCp932(
        "TALVORIN.ini",
        "[table]\r\nncformat=NCformat.tbl\r\n"
        "[machine]\r\nControlDevice0=FANUC\r\nCoordinateSystem0=G55\r\nCoordinateSystem1=g15h01\r\n"
        "CoordinateSystem2=G54\r\ndefaultCoordinateSystem=0\r\n");
    folder.WriteCp932("NCformat.tbl",
                      "[tap]\r\n"
                      "; Ｒ点\r\n"
                      "RCODE=5\r\n"
                      "Breakthrough=3\r\n"
                      "RigidTap=1\r\n"
                      "RotationFeed=0\r\n"
                      "[StartLine]\r\n"
                      "fanuc0=G90 G17 G40\r\n"
                      "fanuc1=G49 G80\r\n"
                      "fanuc2=G21\r\n"
                      "fanuc3=M08\r\n"
                      "fanuc4=M01\r\n"
                      "osp0=G90\r\n"
                      "[EndLine]\r\n"
                      "OSP0=M02\r\n"
                      "OSP1=%\r\n");
    EXPECT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
  }
  std::string Table() const { return folder.ReadCp932("NCformat.tbl"); }

  test::TestFolder folder;
  test::TestContext t{folder};
};

// --- tapping settings

TEST_F(SettingsTables, TapLoadFillsTheFieldsAndBoxes) {
  TapSettingsForm form;
  ASSERT_EQ(LoadingTapDefaultValue(t.ctx, form), 0);
  EXPECT_EQ(form.rPoint, "5");
  EXPECT_EQ(form.breakthrough, "3");
  EXPECT_TRUE(form.rigidTap);
  EXPECT_FALSE(form.rotationFeed);
  EXPECT_EQ(t.reporter.Lines(), (Strings{"!!! routine name : LoadingTapDefaultValue"}));
}

TEST_F(SettingsTables, TapLoadStopsAtTheFirstMissingValue) {
  folder.WriteCp932("NCformat.tbl", "[tap]\r\nRCODE=\r\nRigidTap=1\r\n");
  TapSettingsForm form;
  EXPECT_EQ(LoadingTapDefaultValue(t.ctx, form), -1);
  EXPECT_FALSE(form.rigidTap);
  folder.WriteCp932("NCformat.tbl", "[tap]\r\nRCODE=2.5\r\nRigidTap=1\r\n");
  EXPECT_EQ(LoadingTapDefaultValue(t.ctx, form), -1);
  EXPECT_EQ(form.rPoint, "2.5");
  EXPECT_FALSE(form.rigidTap);
  EXPECT_EQ(t.reporter.Lines(), (Strings{"!!! routine name : LoadingTapDefaultValue",
                                         "エラー：[tap] RCODE= | タップ加工時のＲ点取得失敗",
                                         "!!! routine name : LoadingTapDefaultValue",
                                         "エラー：[tap] Breakthrough= | 突き抜け量取得失敗"}));
  EXPECT_EQ(t.reporter.boxes.size(), 2u);
}

TEST_F(SettingsTables, TapBoxesExcludeEachOtherAndSaveWritesBoth) {
  TapSettingsForm form;
  ASSERT_EQ(LoadingTapDefaultValue(t.ctx, form), 0);
  CheckRotationFeed(form, true);
  EXPECT_TRUE(form.rotationFeed);
  EXPECT_FALSE(form.rigidTap);
  form.rPoint = "7.5";
  form.breakthrough = "";  // empty: the stored value stays
  ASSERT_EQ(SaveTapDefaultValue(t.ctx, form), 0);
  EXPECT_EQ(Table().find("[tap]\r\n"
                         "; Ｒ点\r\n"
                         "RCODE=7.5\r\n"
                         "Breakthrough=3\r\n"
                         "RigidTap=0\r\n"
                         "RotationFeed=1\r\n"
                         "[StartLine]\r\n"),
            0u);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"タップ加工設定値を保存しました。", 1}}));

  CheckRigidTap(form, true);
  EXPECT_TRUE(form.rigidTap);
  EXPECT_FALSE(form.rotationFeed);
  ASSERT_EQ(SaveTapDefaultValue(t.ctx, form), 0);
  EXPECT_EQ(ReadString(t.inst.ncTableFile, "tap", "RigidTap", 16), "1");
  EXPECT_EQ(ReadString(t.inst.ncTableFile, "tap", "RotationFeed", 16), "0");

  // Unchecking leaves the other box as it is.
  CheckRigidTap(form, false);
  EXPECT_FALSE(form.rigidTap);
  EXPECT_FALSE(form.rotationFeed);
  EXPECT_EQ(t.reporter.Lines()[1], "!!! routine name : SaveTapDefaultValue");
}

TEST_F(SettingsTables, TapSaveFailureNamesTheValue) {
  TapSettingsForm form{"", "\xF0\x9F\x98\x80", true, false};
  EXPECT_EQ(SaveTapDefaultValue(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes,
            (Boxes{{"エラー：[tap] Breakthrough=\xF0\x9F\x98\x80 突き抜け量保存失敗", -1}}));
  EXPECT_EQ(ReadString(t.inst.ncTableFile, "tap", "RigidTap", 16), "1");

  t.inst.ncTableFile = folder.File("missing/NCformat.tbl");
  form.breakthrough = "2";
  form.rPoint = "4";
  EXPECT_EQ(SaveTapDefaultValue(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes.back(),
            std::make_pair(std::string("エラー：[tap] RCODE=4 タップ加工Ｒ点保存失敗"), -1));
}

// --- start and end lines

TEST_F(SettingsTables, OpeningShowsTheFanucStartLines) {
  AddLinesForm form;
  ASSERT_EQ(OpenAddLines(t.ctx, form), 0);
  EXPECT_TRUE(form.atStart);
  EXPECT_EQ(form.controllers, (Strings{"FANUC", "OSP"}));
  EXPECT_EQ(form.Controller(), "FANUC");
  EXPECT_EQ(form.lines, (Strings{"G90 G17 G40", "G49 G80", "G21", "M08", "M01"}));

  form.atStart = false;
  form.controllerIndex = 1;
  ASSERT_EQ(LoadAddLines(t.ctx, form), 0);
  EXPECT_EQ(form.lines, (Strings{"M02", "%"}));
  form.controllerIndex = 0;  // no FANUC end lines
  ASSERT_EQ(LoadAddLines(t.ctx, form), 0);
  EXPECT_TRUE(form.lines.empty());

  CloseAddLines(form);
  EXPECT_TRUE(form.controllers.empty());
  EXPECT_EQ(form.entry, "");
}

TEST_F(SettingsTables, SavingFewerLinesEndsTheListWithAnEmptyKey) {
  AddLinesForm form;
  ASSERT_EQ(OpenAddLines(t.ctx, form), 0);
  form.selectedLine = 1;
  DeleteAddLine(form);  // "G49 G80"
  form.selectedLine = 3;
  DeleteAddLine(form);  // "M01"
  EXPECT_EQ(form.lines, (Strings{"G90 G17 G40", "G21", "M08"}));
  ASSERT_EQ(SaveAddLines(t.ctx, form), 0);
  EXPECT_TRUE(form.lines.empty());
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"設定値を保存しました。", 1}}));
  std::string table = Table();
  EXPECT_NE(table.find("[StartLine]\r\n"
                       "fanuc0=G90 G17 G40\r\n"
                       "fanuc1=G21\r\n"
                       "fanuc2=M08\r\n"
                       "fanuc3=\r\n"
                       "fanuc4=M01\r\n"
                       "osp0=G90\r\n"
                       "[EndLine]\r\n"),
            std::string::npos);
  ASSERT_EQ(LoadAddLines(t.ctx, form), 0);
  EXPECT_EQ(form.lines, (Strings{"G90 G17 G40", "G21", "M08"}));
}

TEST_F(SettingsTables, InsertGoesBeforeTheSelectionOrAtTheEnd) {
  AddLinesForm form;
  ASSERT_EQ(OpenAddLines(t.ctx, form), 0);
  form.atStart = false;
  form.controllerIndex = 1;
  ASSERT_EQ(LoadAddLines(t.ctx, form), 0);
  form.entry = "m05";
  ASSERT_EQ(InsertAddLine(t.ctx, form), 0);  // nothing selected: at the end, in upper case
  EXPECT_EQ(form.entry, "");
  form.selectedLine = 0;
  form.entry = "M09";
  ASSERT_EQ(InsertAddLine(t.ctx, form), 0);
  form.entry = "g30 p1";
  ASSERT_EQ(InsertAddLine(t.ctx, form), 0);  // still before "M02"
  ASSERT_EQ(InsertAddLine(t.ctx, form), 0);  // an empty entry inserts nothing
  EXPECT_EQ(form.lines, (Strings{"M09", "G30 P1", "M02", "%", "M05"}));
  ASSERT_EQ(SaveAddLines(t.ctx, form), 0);
  EXPECT_NE(
      Table().find("[EndLine]\r\nOSP0=M09\r\nOSP1=G30 P1\r\nOSP2=M02\r\nOSP3=%\r\nOSP4=M05\r\nOSP5=\r\n"),
      std::string::npos);

  // A line is at most 79 bytes.
  form.entry = std::string(78, 'X') + "ＹＺ";
  ASSERT_EQ(InsertAddLine(t.ctx, form), 0);
  EXPECT_EQ(form.lines.back(), std::string(78, 'X'));
}

TEST_F(SettingsTables, EmptyAndOverlongListsAreRefused) {
  AddLinesForm form;
  ASSERT_EQ(OpenAddLines(t.ctx, form), 0);
  form.lines.clear();
  std::string before = folder.Read("NCformat.tbl");
  EXPECT_EQ(SaveAddLines(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"Error : List Window is Empty", -1}}));

  // Thirty lines is what a reader takes: the thirty-first is refused.
  for (int n = 0; n < kMaxAddLines; ++n) {
    form.entry = Sprintf("N%d", n);
    ASSERT_EQ(InsertAddLine(t.ctx, form), 0);
  }
  form.entry = "N30";
  EXPECT_EQ(InsertAddLine(t.ctx, form), -1);
  EXPECT_EQ(form.entry, "N30");
  EXPECT_EQ(t.reporter.boxes.back(),
            std::make_pair(std::string("エラー：追加できるＮＣコードは最大30行です"), -1));
  EXPECT_EQ(folder.Read("NCformat.tbl"), before);
  ASSERT_EQ(SaveAddLines(t.ctx, form), 0);
  ASSERT_EQ(LoadAddLines(t.ctx, form), 0);
  EXPECT_EQ(form.lines.size(), 30u);
  EXPECT_EQ(form.lines.back(), "N29");
  EXPECT_NE(Table().find("FANUC29=N29\r\nFANUC30=\r\n"), std::string::npos);  // the list's end
}

TEST_F(SettingsTables, LineWriteFailureNamesSectionKeyAndValue) {
  AddLinesForm form;
  ASSERT_EQ(OpenAddLines(t.ctx, form), 0);
  form.lines = {"G90", "M\xF0\x9F\x98\x80"};
  EXPECT_EQ(SaveAddLines(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes,
            (Boxes{{"エラー：[StartLine] FANUC1=M\xF0\x9F\x98\x80 | table | 書込失敗", -1}}));
  EXPECT_EQ(form.lines.size(), 2u);  // kept for another try
  EXPECT_EQ(ReadString(t.inst.ncTableFile, "StartLine", "fanuc0", 16), "G90");
}

// --- coordinate systems

TEST_F(SettingsTables, CoordinateSystemsLoadSorted) {
  CoordinateSystemForm form;
  ASSERT_EQ(LoadingCoordinateSystem(t.ctx, form, false), 0);
  EXPECT_EQ(form.systems, (Strings{"g15h01", "G54", "G55"}));
  EXPECT_TRUE(t.dialogs.asked.empty());

  // Reloading asks first; "no" keeps the list as it is.
  form.systems.push_back("TYPED");
  t.dialogs.answers = {false, true};
  ASSERT_EQ(LoadingCoordinateSystem(t.ctx, form, true), 0);
  EXPECT_EQ(form.systems.back(), "TYPED");
  ASSERT_EQ(LoadingCoordinateSystem(t.ctx, form, true), 0);
  EXPECT_EQ(form.systems, (Strings{"g15h01", "G54", "G55"}));
  EXPECT_EQ(t.dialogs.asked, (Strings{"再読み込みしますか？", "再読み込みしますか？"}));
  EXPECT_EQ(t.reporter.Lines(), (Strings(3, "!!! routine name : LoadingCoordinateSystem")));
}

TEST_F(SettingsTables, RegisterRefusesATwinAndDeleteReportsThePosition) {
  CoordinateSystemForm form;
  ASSERT_EQ(LoadingCoordinateSystem(t.ctx, form, false), 0);
  form.entry = "g54";  // forced to "G54": already listed
  EXPECT_EQ(RegisterCoordinateSystem(t.ctx, form), -1);
  form.entry = "G15H01";  // listed as "g15h01"
  EXPECT_EQ(RegisterCoordinateSystem(t.ctx, form), -1);
  SelectCoordinateSystem(form, 1);  // "G54"
  form.entry = "g15h02";
  ASSERT_EQ(RegisterCoordinateSystem(t.ctx, form), 0);
  form.entry = "A1";
  ASSERT_EQ(RegisterCoordinateSystem(t.ctx, form), 0);
  EXPECT_EQ(form.systems, (Strings{"A1", "g15h01", "G15H02", "G54", "G55"}));
  EXPECT_EQ(form.selected, 3);  // still "G54"
  form.entry = "Z9";
  ASSERT_EQ(RegisterCoordinateSystem(t.ctx, form), 0);  // after the selection: it stays
  EXPECT_EQ(form.selected, 3);
  form.systems.pop_back();

  SelectCoordinateSystem(form, 3);
  EXPECT_EQ(form.entry, "G54");
  ASSERT_EQ(DeleteCoordinateSystem(t.ctx, form), 0);
  EXPECT_EQ(form.entry, "");
  EXPECT_EQ(form.systems, (Strings{"A1", "g15h01", "G15H02", "G55"}));
  ASSERT_EQ(DeleteCoordinateSystem(t.ctx, form), 0);  // nothing selected: nothing deleted
  EXPECT_EQ(form.systems.size(), 4u);

  EXPECT_EQ(t.reporter.boxes, (Boxes{{"エラー：座標系「G54」は既に登録されている", -1},
                                     {"エラー：座標系「G15H01」は既に登録されている", -1}}));
  EXPECT_EQ(t.reporter.Lines().back(), "3番目のデータ削除");
}

TEST_F(SettingsTables, SaveWritesTwentyKeysAndRefusesMore) {
  CoordinateSystemForm form;
  ASSERT_EQ(LoadingCoordinateSystem(t.ctx, form, false), 0);
  form.entry = "G56";
  ASSERT_EQ(RegisterCoordinateSystem(t.ctx, form), 0);
  ASSERT_EQ(SaveCoordinateSystem(t.ctx, form), 0);
  std::string keys;
  for (int n = 4; n < 20; ++n)
    keys += Sprintf("CoordinateSystem%d=\r\n", n);
  EXPECT_EQ(folder.ReadCp932("TALVORIN.ini"),
            "[table]\r\nncformat=NCformat.tbl\r\n"
            "[machine]\r\nControlDevice0=FANUC\r\nCoordinateSystem0=g15h01\r\nCoordinateSystem1=G54\r\n"
            "CoordinateSystem2=G55\r\ndefaultCoordinateSystem=0\r\nCoordinateSystem3=G56\r\n" +
                keys);
  EXPECT_TRUE(t.reporter.boxes.empty());  // success is not reported

  // Twenty succeed, twenty-one are refused, none is refused too.
  form.systems.clear();
  for (int n = 0; n < 21; ++n) {
    form.entry = Sprintf("S%02d", n);
    ASSERT_EQ(RegisterCoordinateSystem(t.ctx, form), 0);
  }
  std::string before = folder.Read("TALVORIN.ini");
  EXPECT_EQ(SaveCoordinateSystem(t.ctx, form), -1);
  EXPECT_EQ(folder.Read("TALVORIN.ini"), before);
  SelectCoordinateSystem(form, 20);
  ASSERT_EQ(DeleteCoordinateSystem(t.ctx, form), 0);
  ASSERT_EQ(SaveCoordinateSystem(t.ctx, form), 0);
  EXPECT_EQ(ReadString(t.inst.iniPath, "machine", "CoordinateSystem19", 16), "S19");
  form.systems.clear();
  EXPECT_EQ(SaveCoordinateSystem(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"エラー：保存できる座標系は最大20個です", -1},
                                     {"エラー：設定した座標系がありません", -1}}));

  form.systems = {"G54", "G\xF0\x9F\x98\x80"};
  EXPECT_EQ(SaveCoordinateSystem(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes.back(), std::make_pair(std::string("エラー : [machine] 座標系書込み失敗"), -1));
}

}  // namespace
}  // namespace talvorin
