// The initial settings screen: load with the method and the position check, the save rules (empty
// fields, letter case, order, the count), the method change, the program and colour choosers.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "project/Settings.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using Boxes = std::vector<std::pair<std::string, int>>;
using Strings = std::vector<std::string>;

const char* const kIni =
    "[TALVORIN]\r\n"
    "; 外部プログラム\r\n"
    "editor=/usr/bin/mousepad\r\n"
    "dxfviewer=/usr/bin/librecad\r\n"
    "[window]\r\n"
    "X=0.25\r\n"
    "Y=0.75\r\n"
    "[color]\r\n"
    "window=200,210,220\r\n"
    "text=0,0,0\r\n"
    "[trycut]\r\n"
    "exefile=/opt/trycut/bin/trycut\r\n"
    "[NcdataTransfer]\r\n"
    "PROTOCOL=ftp\r\n"
    "DNC=/opt/dnc/bin/dncsend\r\n"
    "FTP=192.168.0.10\r\n"
    "ftpuser=ncuser\r\n"
    "ftppass=secret\r\n";

struct InitialSettings : ::testing::Test {
  InitialSettings() { folder.WriteCp932("TALVORIN.ini", kIni); }
  std::string Ini() const { return folder.ReadCp932("TALVORIN.ini"); }
  InitialSettingsForm Loaded() {
    InitialSettingsForm form;
    EXPECT_EQ(LoadInitialSettings(t.ctx, form), 0);
    return form;
  }

  test::TestFolder folder;
  test::TestContext t{folder};
};

TEST_F(InitialSettings, LoadFillsTheFieldsAndSelectsTheStoredMethod) {
  InitialSettingsForm form;
  form.programs[2] = "typed";  // "ncviewer" is missing: the field keeps its text
  ASSERT_EQ(LoadInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(form.programs, (std::array<std::string, 4>{"/opt/trycut/bin/trycut", "/usr/bin/librecad", "typed",
                                                       "/usr/bin/mousepad"}));
  EXPECT_EQ(form.positionX, "0.25");
  EXPECT_EQ(form.positionY, "0.75");
  EXPECT_EQ(form.windowColour, "200,210,220");
  EXPECT_EQ(form.textColour, "0,0,0");
  // "ftp" selects "FTP" and enables user and password.
  EXPECT_EQ(form.methods, (Strings{"DNC", "FTP"}));
  EXPECT_EQ(form.Method(), "FTP");
  EXPECT_EQ(form.transferCommand, "192.168.0.10");
  EXPECT_TRUE(form.ftpFieldsEnabled);
  EXPECT_EQ(form.ftpUser, "ncuser");
  EXPECT_EQ(form.ftpPassword, "secret");
  // The position check placed the main window at the stored fractions, without a message.
  EXPECT_DOUBLE_EQ(form.placementX, 0.25);
  EXPECT_DOUBLE_EQ(form.placementY, 0.75);
  EXPECT_TRUE(t.reporter.Lines().empty());

  // DNC: the user and password stay disabled and are not read.
  ASSERT_TRUE(WriteString(t.inst.iniPath, "NcdataTransfer", "PROTOCOL", "DNC"));
  InitialSettingsForm dnc = Loaded();
  EXPECT_EQ(dnc.Method(), "DNC");
  EXPECT_EQ(dnc.transferCommand, "/opt/dnc/bin/dncsend");
  EXPECT_FALSE(dnc.ftpFieldsEnabled);
  EXPECT_EQ(dnc.ftpUser, "");
}

TEST_F(InitialSettings, SaveWithoutChangeWritesNothing) {
  InitialSettingsForm form = Loaded();
  std::string before = folder.Read("TALVORIN.ini");
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"設定値に変更はありません", 1}}));
  EXPECT_EQ(folder.Read("TALVORIN.ini"), before);

  // Only the letter case of a stored path changed, and emptied fields: still nothing to save.
  form.programs[3] = "/USR/BIN/MOUSEPAD";
  form.programs[1] = "";
  form.ftpPassword = "";
  form.textColour = "";
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.boxes.back(), std::make_pair(std::string("設定値に変更はありません"), 1));
  EXPECT_EQ(folder.Read("TALVORIN.ini"), before);
}

TEST_F(InitialSettings, SaveWritesChangedFieldsAndReadsColoursAndPlacementAgain) {
  InitialSettingsForm form = Loaded();
  form.programs[2] = "/usr/bin/ncview";  // a new key after the last key of its section
  form.transferCommand = "192.168.0.20";
  form.ftpUser = "機械１";
  form.positionX = "1";
  form.windowColour = "255,0,0";
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"5個の設定値を保存しました。", 1}}));
  EXPECT_EQ(Ini(),
            "[TALVORIN]\r\n"
            "; 外部プログラム\r\n"
            "editor=/usr/bin/mousepad\r\n"
            "dxfviewer=/usr/bin/librecad\r\n"
            "ncviewer=/usr/bin/ncview\r\n"
            "[window]\r\n"
            "X=1\r\n"
            "Y=0.75\r\n"
            "[color]\r\n"
            "window=255,0,0\r\n"
            "text=0,0,0\r\n"
            "[trycut]\r\n"
            "exefile=/opt/trycut/bin/trycut\r\n"
            "[NcdataTransfer]\r\n"
            "PROTOCOL=ftp\r\n"
            "DNC=/opt/dnc/bin/dncsend\r\n"
            "FTP=192.168.0.20\r\n"
            "ftpuser=機械１\r\n"
            "ftppass=secret\r\n");
  // The colours as stored now come back in the form; the installation is left as it was.
  EXPECT_EQ(form.storedColours.window, (Colour{255, 0, 0}));
  EXPECT_EQ(form.storedColours.text, (Colour{0, 0, 0}));
  const Installation before = t.inst;
  form.textColour = "1,2,3";
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(form.storedColours.text, (Colour{1, 2, 3}));
  EXPECT_EQ(t.inst.windowColour, before.windowColour);
  EXPECT_EQ(t.inst.textColour, before.textColour);
  EXPECT_DOUBLE_EQ(form.placementX, 1.0);
  EXPECT_DOUBLE_EQ(form.placementY, 0.75);
}

TEST_F(InitialSettings, SaveUnderDncWritesTheMethodAndItsProgramOnly) {
  InitialSettingsForm form = Loaded();
  form.methodIndex = 0;
  ChangeTransferMethod(t.ctx, form);
  form.transferCommand = "/opt/dnc/bin/dnc2";
  form.ftpUser = "ignored";  // disabled under DNC: never written
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.boxes, (Boxes{{"2個の設定値を保存しました。", 1}}));
  std::string ini = Ini();
  EXPECT_NE(ini.find("PROTOCOL=DNC\r\nDNC=/opt/dnc/bin/dnc2\r\nFTP=192.168.0.10\r\nftpuser=ncuser\r\n"),
            std::string::npos);
}

TEST_F(InitialSettings, FieldsAreCutToTheirLimitsOnSave) {
  InitialSettingsForm form = Loaded();
  form.ftpUser = std::string(20, 'u') + "ユーザ";  // 23 bytes: the "ザ" would end at byte 24
  form.positionY = "0.123456789012345678";
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), 0);
  EXPECT_EQ(ReadString(t.inst.iniPath, "NcdataTransfer", "ftpuser", 64), std::string(20, 'u') + "ユ");
  EXPECT_EQ(ReadString(t.inst.iniPath, "window", "Y", 64), "0.1234567890123");
}

TEST_F(InitialSettings, FailedWriteStopsTheSaveAndKeepsEarlierWrites) {
  InitialSettingsForm form = Loaded();
  form.programs[0] = "/opt/trycut2/trycut";
  form.programs[1] = "/usr/bin/viewer\xF0\x9F\x98\x80";  // no CP932 form: the write fails
  form.positionX = "0.5";
  ASSERT_EQ(SaveInitialSettings(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.boxes,
            (Boxes{{"エラー：[TALVORIN] dxfviewer=/usr/bin/viewer\xF0\x9F\x98\x80 書込失敗", -1}}));
  EXPECT_EQ(ReadString(t.inst.iniPath, "trycut", "exefile", 64), "/opt/trycut2/trycut");
  EXPECT_EQ(ReadString(t.inst.iniPath, "window", "X", 64), "0.25");
}

TEST_F(InitialSettings, PositionCheckHoldsBothFieldsToTheRange) {
  InitialSettingsForm form;
  form.positionX = "1.5";
  form.positionY = "-0.2";
  ASSERT_EQ(CheckStartPosition(t.ctx, form), 0);
  EXPECT_EQ(form.positionX, "1");
  EXPECT_EQ(form.positionY, "0");
  EXPECT_DOUBLE_EQ(form.placementX, 1.0);  // the main window goes to the right edge
  EXPECT_DOUBLE_EQ(form.placementY, 0.0);
  EXPECT_EQ(t.reporter.boxes,
            (Boxes{{"データは 0～1 の範囲にして下さい。", -1}, {"データは 0～1 の範囲にして下さい。", -1}}));

  // Not a number becomes "0"; an empty field counts 0 and stays empty, without a message.
  form.positionX = "abc";
  form.positionY = "";
  ASSERT_EQ(CheckStartPosition(t.ctx, form), 0);
  EXPECT_EQ(form.positionX, "0");
  EXPECT_EQ(form.positionY, "");
  EXPECT_EQ(t.reporter.boxes.size(), 3u);

  form.positionX = "0.3";
  form.positionY = "1";
  ASSERT_EQ(CheckStartPosition(t.ctx, form), 0);
  EXPECT_DOUBLE_EQ(form.placementX, 0.3);
  EXPECT_DOUBLE_EQ(form.placementY, 1.0);
  EXPECT_EQ(t.reporter.boxes.size(), 3u);

  // A stored value out of range is corrected by the load's check.
  ASSERT_TRUE(WriteString(t.inst.iniPath, "window", "X", "1.7"));
  form = Loaded();
  EXPECT_EQ(form.positionX, "1");
  EXPECT_EQ(t.reporter.boxes.size(), 4u);
}

TEST_F(InitialSettings, MethodChangeRefillsTheTransferFields) {
  InitialSettingsForm form = Loaded();
  form.methodIndex = 0;  // DNC
  ChangeTransferMethod(t.ctx, form);
  EXPECT_EQ(form.transferCommand, "/opt/dnc/bin/dncsend");
  EXPECT_EQ(form.ftpUser, "");
  EXPECT_EQ(form.ftpPassword, "");
  EXPECT_FALSE(form.ftpFieldsEnabled);

  form.methodIndex = 1;  // FTP
  ChangeTransferMethod(t.ctx, form);
  EXPECT_EQ(form.transferCommand, "192.168.0.10");
  EXPECT_EQ(form.ftpUser, "ncuser");
  EXPECT_EQ(form.ftpPassword, "secret");
  EXPECT_TRUE(form.ftpFieldsEnabled);

  // No server stored: everything empty and user and password disabled.
  ASSERT_TRUE(DeleteKey(t.inst.iniPath, "NcdataTransfer", "FTP"));
  ChangeTransferMethod(t.ctx, form);
  EXPECT_EQ(form.transferCommand, "");
  EXPECT_EQ(form.ftpUser, "");
  EXPECT_FALSE(form.ftpFieldsEnabled);
}

TEST_F(InitialSettings, ProgramChooserNeedsAnExistingFile) {
  folder.Write("bin/viewer", "#!/bin/sh\n");
  std::string field = "/usr/bin/librecad";

  // Cancelled.
  EXPECT_EQ(ChooseProgram(t.ctx, field), -1);
  // A file that is not there (any more).
  t.dialogs.programs.push_back(folder.File("bin/gone"));
  EXPECT_EQ(ChooseProgram(t.ctx, field), -1);
  EXPECT_EQ(field, "/usr/bin/librecad");
  // Chosen.
  t.dialogs.programs.push_back(folder.File("bin/viewer"));
  EXPECT_EQ(ChooseProgram(t.ctx, field), 0);
  EXPECT_EQ(field, folder.File("bin/viewer"));
  // A path longer than the field holds is refused, not stored cut.
  std::string deep =
      folder.path() + std::string(200, 'd') + "/" + std::string(200, 'e') + "/" + std::string(120, 'f');
  t.dialogs.programs.push_back(deep);
  folder.Write(deep.substr(folder.path().size()), "");
  EXPECT_EQ(ChooseProgram(t.ctx, field), -1);
  EXPECT_EQ(field, folder.File("bin/viewer"));

  EXPECT_EQ(t.reporter.boxes,
            (Boxes{{"エラー：実行ファイルの取得中止", -1},
                   {"エラー：実行ファイル " + folder.File("bin/gone") + " がありません。", -1},
                   {"エラー：実行ファイル " + deep + " のパスが長すぎます。", -1}}));
  EXPECT_EQ(t.dialogs.asked, (Strings(4, "ファイルを開く")));
}

// Remembers the colour each chooser started with.
struct StartColours : ScriptedDialogs {
  std::vector<Colour> started;
  bool ChooseColour(Colour& colour) override {
    started.push_back(colour);
    return ScriptedDialogs::ChooseColour(colour);
  }
};

TEST_F(InitialSettings, ColourChooserStartsAtTheFieldsColour) {
  StartColours dialogs;
  Context ctx{t.inst, t.reporter, t.platform, dialogs, ""};
  std::string field = "";
  dialogs.colours.push_back({12, 34, 255});
  ASSERT_EQ(ChooseColour(ctx, field), 0);
  EXPECT_EQ(field, "12,34,255");
  // Cancelled: the field stays as it is, nothing is reported.
  field = "255,128";
  ASSERT_EQ(ChooseColour(ctx, field), 0);
  EXPECT_EQ(field, "255,128");
  EXPECT_EQ(dialogs.started, (std::vector<Colour>{{0, 0, 0}, {255, 128, 0}}));
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST(ColourField, PaintsItsOwnColourWithTheComplementText) {
  struct Case {
    const char* text;
    Colour background, foreground;
  };
  for (const Case& c : std::vector<Case>{
           {"255,128,0", {255, 128, 0}, {0, 127, 255}},
           {"220,220,220", {220, 220, 220}, {255, 255, 255}},
           {"", {0, 0, 0}, {255, 255, 255}},
           {"10,20,30", {10, 20, 30}, {255, 245, 235}},
           {"300,x", {255, 0, 0}, {0, 255, 255}},
       }) {
    FieldPaint paint = ColourFieldPaint(c.text);
    EXPECT_EQ(paint.background, c.background) << c.text;
    EXPECT_EQ(paint.text, c.foreground) << c.text;
  }
}

}  // namespace
}  // namespace talvorin
