// The tool screen and the conditions screen driven from the keyboard over a copy of the shipped
// installation; then the magazine and condition tables they wrote, the boxes and the widgets.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QtTest>
#include <cstdio>

#include "gui/ScreenFixture.h"
#include "gui/TalvorinFixture.h"
#include "gui/talvorin/SettingsScreens.h"

using namespace talvorin;
using Screen = test::ScreenFixture;

namespace {

QComboBox* ToolName(Screen& s, int n) {
  return s.Control<QComboBox>(1400 + n);
}
QLineEdit* ToolDiameter(Screen& s, int n) {
  return s.Edit(1450 + n);
}

// Types into the editable name list of row n, replacing its text.
void TypeToolName(Screen& s, int n, const QString& text) {
  QLineEdit* edit = ToolName(s, n)->lineEdit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  test::TypeText(edit, text);
}

QStringList Entries(QComboBox* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << list->itemText(i);
  return entries;
}

const QStringList kShippedToolNames = {"センタードリル", "ドリル",     "面取カッター",   "並目タップ",
                                       "リーマ",         "エンドミル", "荒取エンドミル", "仕上エンドミル"};

// The magazine table as it is created for `size` pockets.
std::string EmptyMagazineText(int size) {
  std::string text = ";;;マシニング　工具情報\r\n\r\n";
  for (int n = 1; n <= size; ++n)
    text += "[T" + std::to_string(n) + "]\r\ntoolname=\r\ndiameter=\r\n\r\n";
  return text;
}

void RemoveMagazine(Screen& s) {
  std::remove(s.folder.File("ToolMagazine.tbl").c_str());
}

// Condition tables of the test: drilling SS400 at 10 mm, chamfering SS400 at 20 mm.
void WriteConditionTables(Screen& s) {
  s.folder.WriteCp932("table/drillSS400.tbl", "[D10.0]\r\nS=800\r\nF=128\r\nQ=3.0\r\n");
  s.folder.WriteCp932("table/chamferSS400.tbl", "[D20.0]\r\nS=600\r\nF=90\r\n");
}

// Chooses entry `index` of a list from the keyboard, as a user does.
void ChooseEntry(QComboBox* list, int index) {
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < index; ++i)
    QTest::keyClick(list, Qt::Key_Down);
}

}  // namespace

class ToolScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void toolScreenCreatesTheMagazineShowsEmptyRowsAndSavesThenCloses() {
    Screen s(gui::MakeToolListScreen, RemoveMagazine);
    QCOMPARE(s.dialog->objectName(), QStringLiteral("MCTOOLLISTDLG"));
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("マシニング基本工具登録"));
    QCOMPARE(s.folder.ReadCp932("ToolMagazine.tbl"), EmptyMagazineText(30));
    QVERIFY(s.HasLine("!!! 工具ファイル " + s.folder.File("ToolMagazine.tbl") + " を新規作成"));
    for (int n = 1; n <= 30; ++n) {
      QCOMPARE(ToolName(s, n)->currentText(), QString());
      QCOMPARE(ToolDiameter(s, n)->text(), QString());
      QCOMPARE(Entries(ToolName(s, n)), kShippedToolNames);
    }
    // Every row by its caption.
    for (const char* caption : {"T01 工具名", "T01 工具径", "T30 工具名", "T30 工具径", "T15"})
      QVERIFY2(test::FindByCaption(s.dialog.get(), QString::fromUtf8(caption)), caption);

    // Row 1 chosen from its list, row 2 typed, row 3 only a diameter.
    ToolName(s, 1)->setFocus();
    QTest::keyClick(ToolName(s, 1), Qt::Key_Down);
    QTest::keyClick(ToolName(s, 1), Qt::Key_Down);
    QCOMPARE(ToolName(s, 1)->currentText(), QStringLiteral("ドリル"));
    s.Type(1451, QStringLiteral("10"));
    TypeToolName(s, 2, QStringLiteral("リーマ"));
    s.Type(1452, QStringLiteral("8.02"));
    s.Type(1453, QStringLiteral("12.5"));
    // The diameter holds seven bytes.
    s.Type(1454, QStringLiteral("1234.5678"));
    QCOMPARE(ToolDiameter(s, 4)->text(), QStringLiteral("1234.56"));
    // Enter in a field does not close the screen.
    QTest::keyClick(ToolDiameter(s, 4), Qt::Key_Return);
    QVERIFY(s.dialog->isVisible());

    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("+++ 工具テーブルを更新しました。"));
    QVERIFY(!s.dialog->isVisible());
    QCOMPARE(s.dialog->result(), int(QDialog::Accepted));
    std::string expected = EmptyMagazineText(30);
    const std::string before = ";;;マシニング　工具情報\r\n\r\n";
    const std::string firstFour =
        "[T1]\r\ntoolname=ドリル\r\ndiameter=10\r\n\r\n"
        "[T2]\r\ntoolname=リーマ\r\ndiameter=8.02\r\n\r\n"
        "[T3]\r\ntoolname=\r\ndiameter=12.5\r\n\r\n"
        "[T4]\r\ntoolname=\r\ndiameter=1234.56\r\n\r\n";
    expected.replace(before.size(), EmptyMagazineText(4).size() - before.size(), firstFour);
    QCOMPARE(s.folder.ReadCp932("ToolMagazine.tbl"), expected);
  }

  void toolScreenOfAFortyToolMagazineEditsThirtyRows() {
    Screen s(gui::MakeToolListScreen, [](Screen& f) {
      RemoveMagazine(f);
      WriteString(f.t->inst.iniPath, "TALVORIN", "MaxToolNumber", "40");
    });
    QCOMPARE(s.folder.ReadCp932("ToolMagazine.tbl"), EmptyMagazineText(40));
    QVERIFY(!s.dialog->findChild<QWidget*>(QStringLiteral("1431")));
    TypeToolName(s, 30, QStringLiteral("エンドミル"));
    s.Type(1480, QStringLiteral("16"));
    s.Command(40100);
    const std::string path = s.folder.File("ToolMagazine.tbl");
    QCOMPARE(ReadString(path, "T30", "toolname", 32), std::string("エンドミル"));
    QCOMPARE(ReadString(path, "T30", "diameter", 8), std::string("16"));
    QCOMPARE(ReadString(path, "T31", "toolname", 32, "absent"), std::string());
  }

  void toolScreenOfASmallMagazineLocksTheRowsBeyondIt() {
    Screen s(gui::MakeToolListScreen,
             [](Screen& f) { WriteString(f.t->inst.iniPath, "TALVORIN", "MaxToolNumber", "20"); });
    QVERIFY(ToolName(s, 20)->isEnabled());
    QVERIFY(!ToolName(s, 21)->isEnabled());
    QVERIFY(!ToolDiameter(s, 30)->isEnabled());
  }

  void toolScreenClearedNameKeepsTheStoredOne() {
    Screen s(gui::MakeToolListScreen);
    // The shipped magazine: T1 is the centre drill of 3 mm.
    QCOMPARE(ToolName(s, 1)->currentText(), QStringLiteral("センタードリル"));
    QCOMPARE(ToolDiameter(s, 1)->text(), QStringLiteral("3"));
    TypeToolName(s, 1, QString());
    s.Type(1451, QStringLiteral("3.5"));
    // Saved from the keyboard.
    QTest::keyClick(ToolDiameter(s, 1), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!s.dialog->isVisible());
    const std::string path = s.folder.File("ToolMagazine.tbl");
    QCOMPARE(ReadString(path, "T1", "toolname", 32), std::string("センタードリル"));
    QCOMPARE(ReadString(path, "T1", "diameter", 8), std::string("3.5"));
  }

  void toolScreenOffersTheNamesOfAToolListWithAGap() {
    Screen s(gui::MakeToolListScreen, [](Screen& f) {
      f.folder.WriteCp932(
          "defineTool.tbl",
          "[TOOLLIST]\r\nindex=3\r\nTOOLLIST0=ドリル\r\nTOOLLIST1=リーマ\r\nTOOLLIST3=エンドミル\r\n");
    });
    QCOMPARE(Entries(ToolName(s, 1)), (QStringList{"ドリル", "リーマ", "エンドミル"}));
    QCOMPARE(Entries(ToolName(s, 30)), (QStringList{"ドリル", "リーマ", "エンドミル"}));
  }

  void toolScreenTabsInNumberOrderAndAsksBeforeDiscarding() {
    Screen s(gui::MakeToolListScreen);
    ToolName(s, 1)->lineEdit()->setFocus();
    const QList<int> order = {1451, 1402, 1452, 1403};
    for (int id : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focused = QApplication::focusWidget();
      // An editable list has the focus in its line edit.
      if (focused && !focused->objectName().toInt()) focused = focused->parentWidget();
      QCOMPARE(focused ? focused->objectName() : QString(), QString::number(id));
    }
    // Unchanged: cancel closes without a question.
    s.Command(40103);
    QVERIFY(s.t->dialogs.asked.empty());
    QVERIFY(!s.dialog->isVisible());

    // Changed: "no" keeps the screen and what was typed, "yes" closes without writing.
    const std::string before = s.folder.ReadCp932("ToolMagazine.tbl");
    s.dialog->show();
    s.Type(1455, QStringLiteral("7"));
    s.t->dialogs.answers = {false};
    QTest::keyClick(ToolDiameter(s, 5), Qt::Key_Escape);
    QCOMPARE(s.t->dialogs.asked, std::vector<std::string>{"変更を保存せずに閉じますか？"});
    QVERIFY(s.dialog->isVisible());
    QCOMPARE(ToolDiameter(s, 5)->text(), QStringLiteral("7"));
    s.t->dialogs.answers = {true};
    s.dialog->close();
    QVERIFY(!s.dialog->isVisible());
    QCOMPARE(s.t->dialogs.asked.size(), std::size_t(2));
    QCOMPARE(s.folder.ReadCp932("ToolMagazine.tbl"), before);
  }

  void conditionScreenShowsCaptionsValuesAndRegisters() {
    Screen s(gui::MakeConditionScreen, WriteConditionTables);
    QCOMPARE(s.dialog->objectName(), QStringLiteral("PROCESSINGCONDITIONDLG"));
    QCOMPARE(s.dialog->windowTitle(), QStringLiteral("工具毎の加工条件登録"));
    auto* tools = s.Control<QComboBox>(1500);
    auto* materials = s.Control<QComboBox>(1501);
    QCOMPARE(Entries(tools), kShippedToolNames);
    QCOMPARE(Entries(materials),
             (QStringList{"SS400", "S45C", "SUS304", "A5052", "FC250", "SCM440", "A2017"}));
    const QStringList firstCaptions = {"工 具 径(D)", "回 転 数(S)", "送り速度(F)", "-"};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(s.Control<QLabel>(1520 + i)->text(), firstCaptions[i]);
      QVERIFY(test::FindByCaption(s.dialog.get(), firstCaptions[i]));
    }
    QVERIFY(test::FindByCaption(s.dialog.get(), QStringLiteral("工 具 名")));
    QVERIFY(test::FindByCaption(s.dialog.get(), QStringLiteral("材 質")));

    // Saving without a tool names what is missing.
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("エラー：工具名取り出し失敗"));

    // The drill chosen: its captions, the fields emptied.
    s.Type(1511, QStringLiteral("111"));
    ChooseEntry(tools, 1);
    QCOMPARE(tools->currentText(), QStringLiteral("ドリル"));
    QCOMPARE(s.Control<QLabel>(1523)->text(), QStringLiteral("ステップ(Q)"));
    QVERIFY(test::FindByCaption(s.dialog.get(), QStringLiteral("ステップ(Q)")));
    QCOMPARE(s.Edit(1511)->text(), QString());
    ChooseEntry(materials, 0);
    // Leaving the diameter shows what is registered for D10.0.
    s.Type(1510, QStringLiteral("10"));
    QTest::keyClick(s.Edit(1510), Qt::Key_Tab);
    QCOMPARE(s.Edit(1511)->text(), QStringLiteral("800"));
    QCOMPARE(s.Edit(1512)->text(), QStringLiteral("128"));
    QCOMPARE(s.Edit(1513)->text(), QStringLiteral("3.0"));
    // Enter does not close; the speed is registered as a whole number, the step as typed.
    QTest::keyClick(s.Edit(1511), Qt::Key_Return);
    QVERIFY(s.dialog->isVisible());
    s.Type(1511, QStringLiteral("950.7"));
    s.Type(1513, QStringLiteral("0.5"));
    s.Command(40100);
    QCOMPARE(s.LastBox(), QStringLiteral("3 個の加工条件を書込み成功"));
    QVERIFY(s.dialog->isVisible());
    for (int id = 1510; id <= 1513; ++id)
      QCOMPARE(s.Edit(id)->text(), QString());
    QCOMPARE(s.folder.ReadCp932("table/drillSS400.tbl"),
             std::string("[D10.0]\r\nS=950\r\nF=128\r\nQ=0.5\r\n"));

    // A tool without a third key: the third field is emptied when the diameter is left.
    ChooseEntry(tools, 2);
    QCOMPARE(s.Control<QLabel>(1523)->text(), QStringLiteral("-"));
    s.Type(1513, QStringLiteral("9"));
    s.Type(1510, QStringLiteral("20"));
    QTest::keyClick(s.Edit(1510), Qt::Key_Tab);
    QCOMPARE(s.Edit(1511)->text(), QStringLiteral("600"));
    QCOMPARE(s.Edit(1513)->text(), QString());

    // Values shown by the screen are no change; a typed one is asked about.
    s.dialog->close();
    QVERIFY(s.t->dialogs.asked.empty());
    QVERIFY(!s.dialog->isVisible());
    s.dialog->show();
    s.Type(1512, QStringLiteral("95"));
    s.Command(40103);
    QCOMPARE(s.t->dialogs.asked, std::vector<std::string>{"変更を保存せずに閉じますか？"});
    QVERIFY(s.dialog->isVisible());
  }

  void mainWindowOpensTheToolAndConditionScreens() {
    test::TalvorinFixture f;
    QVERIFY(f.Start());
    for (int id : {40011, 40012})
      f.window->menuBar()->findChild<QAction*>(QString::number(id))->trigger();
    QCOMPARE(f.screens, (QStringList{"MCTOOLLISTDLG", "PROCESSINGCONDITIONDLG"}));
  }
};

QTEST_MAIN(ToolScreensTest)
#include "ToolScreensTest.moc"
