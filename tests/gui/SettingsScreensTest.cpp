// The four settings screens driven as a user drives them, over a copy of the shipped installation:
// typing, tabbing, clicking buttons and check boxes, the menu "SETTINGMENU"; then the files they
// wrote, the messages and the widgets are checked.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "gui/GuiTestSupport.h"
#include "gui/ScreenFixture.h"
#include "gui/talvorin/SettingsScreens.h"
#include "store/Profile.h"

using namespace talvorin;

namespace {

QStringList Rows(QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i)
    rows << list->item(i)->text();
  return rows;
}

using Screen = test::ScreenFixture;

// Every caption of a screen is found through the accessibility interface.
void ExpectCaptions(QWidget* screen, const QStringList& captions) {
  for (const QString& caption : captions)
    if (!test::FindByCaption(screen, caption))
      QFAIL(qPrintable(QStringLiteral("no control named %1 among: %2")
                           .arg(caption, test::AccessibleNames(screen).join(QStringLiteral(" | ")))));
}

}  // namespace

class SettingsScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void initialSettingsPositionCheckMovesTheMainWindowAndSaves() {
    Screen s(gui::MakeInitialSettingsScreen);
    QCOMPARE(s.dialog->objectName(), QStringLiteral("INITIALSETTINGDLG"));
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("初期設定"));
    QCOMPARE(s.Edit(1210)->text(), QStringLiteral("/opt/trycut/bin/trycut"));
    QCOMPARE(s.Edit(1214)->text(), QStringLiteral("0.5"));
    QCOMPARE(s.Edit(1221)->text(), QStringLiteral("127.0.0.1"));
    QVERIFY(s.Edit(1222)->isEnabled());
    QCOMPARE(s.Control<QComboBox>(1220)->currentText(), QStringLiteral("FTP"));
    // Under FTP the command is a server address of at most 23 bytes.
    s.Type(1221, QStringLiteral("192.168.100.200.example"));
    QCOMPARE(s.Edit(1221)->text(), QStringLiteral("192.168.100.200.example"));
    QTest::keyClicks(s.Edit(1221), QStringLiteral("x"));
    QCOMPARE(s.Edit(1221)->text().size(), 23);

    // 1.5 into X, then leaving the field: "1", the range message, the main window at the right edge.
    // The box takes the focus from Y, as a real box does: still one check and one message.
    s.t->reporter.SetBoxPresenter([&s](QWidget*, const QString&, const QString& text, int kind) {
      s.t->boxes.emplace_back(text, kind);
      if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    });
    s.Type(1214, QStringLiteral("1.5"));
    QTest::keyClick(s.Edit(1214), Qt::Key_Tab);
    QCOMPARE(s.Edit(1214)->text(), QStringLiteral("1"));
    QCOMPARE(s.t->boxes.size(), std::size_t(1));
    QCOMPARE(s.LastBox(), QStringLiteral("データは 0～1 の範囲にして下さい。"));
    const QRect area = s.main->screen()->availableGeometry();
    QCOMPARE(s.main->x(), area.x() + area.width() - s.main->frameGeometry().width());

    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("2個の設定値を保存しました。"));
    QCOMPARE(s.Ini("window", "X"), std::string("1"));
    QCOMPARE(s.Ini("NcdataTransfer", "FTP"), std::string("192.168.100.200.example"));
    // Saving again, and with only the letter case of a path changed: nothing to save.
    s.Type(1213, QStringLiteral("/USR/BIN/XDG-OPEN"));
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("設定値に変更はありません"));
    QCOMPARE(s.Ini("TALVORIN", "editor"), std::string("/usr/bin/xdg-open"));
  }

  void initialSettingsMethodColoursAndPrograms() {
    Screen s(gui::MakeInitialSettingsScreen);
    // The arrow key confirms DNC: its program, user and password emptied and disabled.
    QComboBox* method = s.Control<QComboBox>(1220);
    method->setFocus();
    QTest::keyClick(method, Qt::Key_Up);
    QCOMPARE(method->currentText(), QStringLiteral("DNC"));
    QCOMPARE(s.Edit(1221)->text(), QStringLiteral("/opt/dnc/bin/dncsend"));
    QVERIFY(!s.Edit(1222)->isEnabled());
    QVERIFY(!s.Edit(1223)->isEnabled());
    QCOMPARE(s.Edit(1222)->text(), QString());
    QVERIFY(s.Control(1208)->isEnabled());

    // The DNC program and the NC viewer through the program chooser, the background through the
    // colour chooser.
    s.folder.Write("bin/dnc", "#!/bin/sh\n");
    s.folder.Write("bin/ncview", "#!/bin/sh\n");
    s.t->dialogs.programs = {s.folder.File("bin/dnc"), s.folder.File("bin/ncview")};
    s.Click(1208);
    s.Click(1202);
    QCOMPARE(s.Edit(1221)->text(), QString::fromStdString(s.folder.File("bin/dnc")));
    QCOMPARE(s.Edit(1212)->text(), QString::fromStdString(s.folder.File("bin/ncview")));
    s.Click(1201);  // cancelled
    QCOMPARE(s.LastBox(), QStringLiteral("エラー：実行ファイルの取得中止"));
    s.t->dialogs.colours = {Colour{255, 128, 0}};
    s.Click(1206);
    QLineEdit* background = s.Edit(1216);
    QCOMPARE(background->text(), QStringLiteral("255,128,0"));
    QCOMPARE(background->palette().color(QPalette::Base), QColor(255, 128, 0));
    QCOMPARE(background->palette().color(QPalette::Text), QColor(0, 127, 255));
    QCOMPARE(s.Edit(1210)->palette().color(QPalette::Base), QColor(Qt::white));

    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("4個の設定値を保存しました。"));
    QCOMPARE(s.Ini("NcdataTransfer", "PROTOCOL"), std::string("DNC"));
    QCOMPARE(s.Ini("NcdataTransfer", "DNC"), s.folder.File("bin/dnc"));
    QCOMPARE(s.Ini("TALVORIN", "ncviewer"), s.folder.File("bin/ncview"));
    QCOMPARE(s.Ini("color", "window"), std::string("255,128,0"));
    QCOMPARE(s.Ini("NcdataTransfer", "ftpuser"), std::string("ncuser"));  // emptied, not cleared
    // The colours are read again and painted on the screen and the main window.
    QCOMPARE(s.dialog->palette().color(QPalette::Window), QColor(255, 128, 0));
    QCOMPARE(s.main->palette().color(QPalette::Window), QColor(255, 128, 0));

    ExpectCaptions(s.dialog.get(),
                   {"TRYCUT2000", "DXF VIEWER", "NC VIEWER", "エディター", "起動画面位置 X", "起動画面位置 Y",
                    "背景色 [RGB]", "文字色 [RGB]", "データ転送方法", "データ転送命令", "FTPユーザー",
                    "FTPパスワード", "【保 存】", "【読 込】", "【取 消】", "【ヘルプ】"});
    // Help opens the screen's topic; cancel closes without saving.
    s.Command(40102);
    QCOMPARE(s.t->platform.calls.back().target, s.folder.File("help/initial.html"));
    s.Type(1215, QStringLiteral("0.1"));
    s.Command(40103);
    QVERIFY(!s.dialog->isVisible());
    QCOMPARE(s.Ini("window", "Y"), std::string("0.5"));
  }

  void tapBoxesExcludeEachOther() {
    Screen s(gui::MakeTapSettingsScreen);
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("タップ加工設定"));
    auto* rigid = s.Control<QCheckBox>(2312);
    auto* feed = s.Control<QCheckBox>(2313);
    QVERIFY(rigid->isChecked());
    QVERIFY(!feed->isChecked());
    s.Click(2313);
    QVERIFY(feed->isChecked());
    QVERIFY(!rigid->isChecked());
    s.Type(2310, QStringLiteral("7.5"));
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("タップ加工設定値を保存しました。"));
    QCOMPARE(s.Table("tap", "RCODE"), std::string("7.5"));
    QCOMPARE(s.Table("tap", "RigidTap"), std::string("0"));
    QCOMPARE(s.Table("tap", "RotationFeed"), std::string("1"));
    s.Click(2312);
    QVERIFY(rigid->isChecked());
    QVERIFY(!feed->isChecked());
    s.Command(40100);
    QCOMPARE(s.Table("tap", "RigidTap"), std::string("1"));
    QCOMPARE(s.Table("tap", "RotationFeed"), std::string("0"));
    // A field holds 15 bytes at most.
    s.Type(2311, QStringLiteral("1234567890123456"));
    QCOMPARE(s.Edit(2311)->text(), QStringLiteral("123456789012345"));
    ExpectCaptions(s.dialog.get(),
                   {"タップ加工時のＲ点", "貫通時の突き抜け量", "リジットタップ", "毎回転送り制御"});
    // The narrowest screen still shows its whole menu.
    auto* bar = s.dialog->findChild<QMenuBar*>(QStringLiteral("SETTINGMENU"));
    QCOMPARE(bar->actions().size(), 4);
    for (QAction* action : bar->actions())
      QVERIFY2(bar->rect().contains(bar->actionGeometry(action)), qPrintable(action->text()));
  }

  void startAndEndLinesAreEditedAndSaved() {
    Screen s(gui::MakeAddNcDataScreen);
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("ＮＣデータの冒頭・末尾追加"));
    QVERIFY(s.Control<QRadioButton>(1230)->isChecked());
    QCOMPARE(s.Control<QComboBox>(1232)->currentText(), QStringLiteral("FANUC"));
    auto* lines = s.Control<QListWidget>(1234);
    QCOMPARE(Rows(lines), (QStringList{"G90 G17 G40 G49 G80"}));

    // Typed in lower case, inserted at the end (Return), then one before the first line.
    s.Type(1233, QStringLiteral("g21"));
    QCOMPARE(s.Edit(1233)->text(), QStringLiteral("G21"));
    QTest::keyClick(s.Edit(1233), Qt::Key_Return);
    QVERIFY(s.dialog->isVisible());
    QCOMPARE(s.Edit(1233)->text(), QString());
    lines->setCurrentRow(0);
    s.Type(1233, QStringLiteral("%"));
    s.Click(1235);
    QCOMPARE(Rows(lines), (QStringList{"%", "G90 G17 G40 G49 G80", "G21"}));
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("設定値を保存しました。"));
    QCOMPARE(lines->count(), 0);
    QCOMPARE(s.Table("StartLine", "FANUC0"), std::string("%"));
    QCOMPARE(s.Table("StartLine", "FANUC2"), std::string("G21"));
    QVERIFY(s.folder.Read("NCformat.tbl").find("FANUC2=G21\r\nFANUC3=\r\n") != std::string::npos);

    // The end lines of the OSP; one deleted, and an empty list refused.
    s.Click(1231);
    auto* controller = s.Control<QComboBox>(1232);
    controller->setFocus();
    QTest::keyClick(controller, Qt::Key_Down);
    QCOMPARE(Rows(lines), (QStringList{"M09", "M05", "G30 P1", "M02", "%"}));
    lines->setCurrentRow(2);
    s.Click(1236);
    QCOMPARE(Rows(lines), (QStringList{"M09", "M05", "M02", "%"}));
    s.Command(40101);
    QCOMPARE(lines->count(), 5);
    while (lines->count() > 0) {
      lines->setCurrentRow(0);
      s.Click(1236);
    }
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("Error : List Window is Empty"));
    QCOMPARE(s.Table("EndLine", "osp0"), std::string("M09"));
    ExpectCaptions(s.dialog.get(), {"冒頭", "末尾", "使用制御装置", "挿入ＮＣコード", "削除ＮＣコード"});

    // Closing empties the screen.
    s.Command(40103);
    QCOMPARE(controller->count(), 0);
  }

  void coordinateSystemsRegisterDeleteAndSave() {
    Screen s(gui::MakeCoordinateSystemScreen);
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("座標系追加・編集"));
    auto* list = s.Control<QListWidget>(1503);
    QCOMPARE(list->count(), 12);
    QCOMPARE(list->item(0)->text(), QStringLiteral("G15H01"));

    s.Type(1502, QStringLiteral("g54"));  // forced to "G54": its twin is listed
    s.Click(1500);
    QCOMPARE(s.LastBox(), QStringLiteral("エラー：座標系「G54」は既に登録されている"));
    s.Type(1502, QStringLiteral("g60"));
    QTest::keyClick(s.Edit(1502), Qt::Key_Return);
    QCOMPARE(list->count(), 13);
    QCOMPARE(list->item(12)->text(), QStringLiteral("G60"));

    // Clicking an entry copies it; deleting it reports its position.
    QListWidgetItem* g54 = list->item(6);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(g54).center());
    QCOMPARE(s.Edit(1502)->text(), QStringLiteral("G54"));
    QTest::keyClick(list, Qt::Key_Down);  // the arrow keys select as well
    QCOMPARE(s.Edit(1502)->text(), QStringLiteral("G55"));
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(s.Edit(1502)->text(), QStringLiteral("G54"));
    s.Click(1501);
    QCOMPARE(s.t->reporter.Lines().back(), std::string("6番目のデータ削除"));
    QCOMPARE(s.Edit(1502)->text(), QString());
    s.Command(40100);
    QCOMPARE(s.Ini("machine", "CoordinateSystem6"), std::string("G55"));
    QCOMPARE(s.Ini("machine", "CoordinateSystem11"), std::string("G60"));
    QCOMPARE(s.Ini("machine", "CoordinateSystem12"), std::string(""));

    // Reloading asks first.
    s.Type(1502, QStringLiteral("G61"));
    s.Click(1500);
    s.t->dialogs.answers = {false};
    s.Command(40101);
    QCOMPARE(list->count(), 13);
    s.t->dialogs.answers = {true};
    s.Command(40101);
    QCOMPARE(list->count(), 12);
    QCOMPARE(s.t->dialogs.asked, (std::vector<std::string>{"再読み込みしますか？", "再読み込みしますか？"}));
    ExpectCaptions(s.dialog.get(), {"座標系", "座標系　登録", "座標系　削除"});
  }
};

QTEST_MAIN(SettingsScreensTest)
#include "SettingsScreensTest.moc"
