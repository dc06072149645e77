// The shape-entry screen and the circle screen, opened from the main window's hole-group buttons and
// driven as a user drives them: keys, tabbing, the kind list, the menu and bar commands; then the
// project file, the messages and the widgets are checked. Expected values are worked out by hand from
// the tables of the shipped installation (HoleCommand.tbl, DefaultValue.tbl, NTAP.tbl).
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "gui/TalvorinFixture.h"
#include "gui/common/Binding.h"

using namespace talvorin;
using talvorin::test::TalvorinFixture;

namespace {

// The caption through which screen readers and desktop automation find `widget`.
QString AccessibleName(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// One open screen (the shape-entry screen or the circle screen) driven by control and command id.
struct Screen {
  QDialog& d;

  template <class W = QWidget>
  W* Control(int id) const {
    W* w = d.findChild<W*>(QString::number(id));
    if (!w) qFatal("control %d missing on %s", id, qPrintable(d.objectName()));
    return w;
  }
  QLineEdit* Edit(int id) const { return Control<QLineEdit>(id); }
  QString Text(int id) const { return Edit(id)->text(); }
  // Clicks into the field, replaces its text by typing and leaves it with Tab.
  void Type(int id, const QString& text) const {
    QLineEdit* edit = Edit(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
  }
  // The first action of the command id (the bar entry or the menu item).
  void Command(int id) const {
    QAction* action = d.findChild<QAction*>(QString::number(id));
    if (!action) qFatal("command %d missing on %s", id, qPrintable(d.objectName()));
    action->trigger();
  }
  // Chooses the kind with the keyboard: Home, then Down until it shows.
  void ChooseKind(const QString& label) const {
    auto* kinds = Control<QComboBox>(2000);
    kinds->setFocus();
    QTest::keyClick(kinds, Qt::Key_Home);
    for (int i = 0; i < kinds->count() && kinds->currentText() != label; ++i)
      QTest::keyClick(kinds, Qt::Key_Down);
    if (kinds->currentText() != label) qFatal("no kind %s", qPrintable(label));
  }
  QStringList Row(int from, int count = 10) const {
    QStringList texts;
    for (int i = 0; i < count; ++i)
      texts << Text(from + i);
    return texts;
  }
  QStringList Captions() const {
    QStringList texts;
    for (int i = 0; i < 10; ++i)
      texts << Control<QLabel>(2100 + i)->text();
    return texts;
  }
};

// Shows a modal screen handed to the runner, runs `steps` on it and gives its result: Accepted after a
// save that closed it, Rejected otherwise (a screen still open is closed as the window's close button
// would close it).
int Drive(QDialog& dialog, const std::function<void(Screen&)>& steps) {
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("screen not shown");
  Screen s{dialog};
  steps(s);
  if (dialog.isVisible()) dialog.close();
  return dialog.result();
}

std::string Db(TalvorinFixture& f, const char* section, const char* key) {
  return ReadString(f.t->ctx.dbPath, section, key, 128, "(none)");
}

void LoadExample(TalvorinFixture& f) {
  f.t->dialogs.files.push_back(f.folder.File("db/EXAMPLE-OSP.dat"));
  f.window->RunCommand(40001);
  if (f.t->ctx.dbPath != f.folder.File("db/EXAMPLE-OSP.dat")) qFatal("example not loaded");
}

void ClickGroup(TalvorinFixture& f, int group) {
  QTest::mouseClick(f.window->findChild<QPushButton*>(QString::number(2000 + group)), Qt::LeftButton);
}

const QStringList kNoCaptions = {"-", "-", "-", "-", "-", "-", "-", "-", "-", "-"};
const QStringList kEmpty = {"", "", "", "", "", "", "", "", "", ""};

}  // namespace

class HoleScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void groupButtonCreatesTheProjectOpensTheScreenMinimisedAndRefreshesItsCaption() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    // A new project typed in the main window, not yet saved.
    auto type = [&f](int id, const QString& text) {
      QWidget* w = f.window->findChild<QWidget*>(QString::number(id));
      auto* edit = qobject_cast<QLineEdit*>(w);
      if (!edit) edit = qobject_cast<QComboBox*>(w)->lineEdit();
      edit->clear();
      QTest::keyClicks(edit, text);
    };
    type(1100, QStringLiteral("plate-9"));
    type(1110, QStringLiteral("120"));
    type(1111, QStringLiteral("80"));
    type(1112, QStringLiteral("20"));
    type(1113, QStringLiteral("S45C"));
    type(1121, QStringLiteral("FANUC"));
    type(1122, QStringLiteral("G54"));
    bool minimised = false;
    f.drive = [&](QDialog& dialog) {
      minimised = f.window->isMinimized();
      return Drive(dialog, [&](Screen& s) {
        QCOMPARE(s.d.windowTitle(), QStringLiteral("形状情報の入力"));
        // The kinds of the hole-command table; nothing chosen, no captions, empty fields.
        auto* kinds = s.Control<QComboBox>(2000);
        QCOMPARE(kinds->count(), 8);
        QCOMPARE(kinds->itemText(0), QStringLiteral("ドリル穴 [DRILL]"));
        QCOMPARE(kinds->itemText(7), QStringLiteral("大穴 [BIGHOLE]"));
        QCOMPARE(kinds->currentText(), QString());
        QCOMPARE(s.Captions(), kNoCaptions);
        QCOMPARE(s.Row(2200), kEmpty);
        QVERIFY(s.Edit(3200)->isReadOnly());
        // A drill of 8 at two positions.
        s.ChooseKind(QStringLiteral("ドリル穴 [DRILL]"));
        s.Type(2200, QStringLiteral("8"));
        s.Type(3000, QStringLiteral("10"));
        s.Type(3100, QStringLiteral("15"));
        s.Type(3001, QStringLiteral("110"));
        s.Type(3101, QStringLiteral("-15.5"));
        s.Command(40200);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 3);
    QCOMPARE(f.screens, QStringList{"SHAPEINPUTDLG"});
    QVERIFY(minimised);
    QVERIFY(!f.window->isMinimized());
    QCOMPARE(f.window->CurrentHoleGroup(), 3);
    // The project was saved first, then the group.
    QCOMPARE(f.t->ctx.dbPath, f.folder.File("db/PLATE-9.dat"));
    QCOMPARE(Db(f, "material", "Z"), std::string("20."));
    QCOMPARE(Db(f, "hole3", "command"), std::string("ドリル穴 [DRILL]"));
    // Drill 8 in a plate 20 thick: 4 x tan 31 + 20 + 2 = 24.403..., shown with one decimal.
    QCOMPARE(Db(f, "hole3", "variable0"), std::string("8"));
    QCOMPARE(Db(f, "hole3", "variable1"), std::string("24.4"));
    QCOMPARE(Db(f, "hole3", "variable2"), std::string("0"));
    QCOMPARE(Db(f, "hole3", "X0"), std::string("10."));
    QCOMPARE(Db(f, "hole3", "Y0"), std::string("15."));
    QCOMPARE(Db(f, "hole3", "X1"), std::string("110."));
    QCOMPARE(Db(f, "hole3", "Y1"), std::string("-15.5"));
    QCOMPARE(Db(f, "hole3", "X2"), std::string("(none)"));
    // The button shows the saved kind; the others their number.
    QCOMPARE(f.window->findChild<QPushButton*>("2003")->text(), QStringLiteral("ドリル穴 [DRILL]"));
    QCOMPARE(f.window->findChild<QPushButton*>("2004")->text(), QStringLiteral("[ 4 ]"));

    // Without a project name nothing is created and no screen opens.
    TalvorinFixture g;
    QVERIFY(g.Start());
    ClickGroup(g, 1);
    QVERIFY(g.screens.isEmpty());
    QCOMPARE(g.LastBox(), QStringLiteral("エラー：保存前にプロジェクト名を入力して下さい"));
  }

  void kindChosenShowsItsCaptionsAndDefaultsAndParameterZeroDerives() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        s.ChooseKind(QStringLiteral("タップ穴 [NTAP]"));
        QCOMPARE(s.Captions(), (QStringList{"呼び径 (並目)", "タップ深さ", "ピッチ", "下穴径", "下穴深さ",
                                            "面取量 (0:なし)", "-", "-", "-", "-"}));
        QCOMPARE(s.Row(2200), (QStringList{"6", "", "1", "5", "", "0.5", "", "", "", ""}));
        // The fields are found by their captions now.
        QCOMPARE(AccessibleName(s.Edit(2202)), QStringLiteral("ピッチ"));
        // M10 in the example's plate of 20: table depth 20 (0.75 x 10 + 20 is more), pitch 1.5,
        // pilot 8.5, pilot depth min(27.5, 5 tan 31 + 22 = 25.0), chamfer 0.8.
        s.Type(2200, QStringLiteral("10"));
        QCOMPARE(s.Row(2200, 6), (QStringList{"10", "20", "1.5", "8.5", "25", "0.8"}));
        QCOMPARE(s.d.focusWidget(), static_cast<QWidget*>(s.Edit(2201)));
        // Another kind replaces captions and parameters; a long hole's unused fields show "-".
        s.ChooseKind(QStringLiteral("長穴 [LONGHOLE]"));
        QCOMPARE(s.Captions(), (QStringList{"溝幅", "円弧中心間距離", "深さ", "軸の角度 (度)", "-", "-",
                                            "下穴工具径", "仕上代", "荒取工具径", "仕上工具径"}));
        QCOMPARE(s.Row(2200), (QStringList{"10", "20", "", "0", "", "", "9.5", "0.2", "8", "8"}));
        QCOMPARE(test::FindByCaption(&s.d, QStringLiteral("- 5"))->object(),
                 static_cast<QObject*>(s.Edit(2204)));
        // Closing asks (the kind was changed); yes leaves the stored group as it was.
        f.t->dialogs.answers = {true};
        s.Command(40202);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 5);
    QCOMPARE(f.t->dialogs.asked.back(), std::string("変更を保存せずに閉じますか？"));
    QCOMPARE(Db(f, "hole5", "command"), std::string(""));
    QCOMPARE(Db(f, "hole5", "variable0"), std::string(""));
    QCOMPARE(f.window->findChild<QPushButton*>("2005")->text(), QStringLiteral("[ 5 ]"));

    // A stored group opens as it was saved: the reamer of group 1 of the example.
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        QCOMPARE(s.Control<QComboBox>(2000)->currentText(), QStringLiteral("リーマ穴 [REAMER]"));
        QCOMPARE(s.Captions()[0], QStringLiteral("リーマ径 (H7)"));
        QVERIFY(!s.Text(2200).isEmpty());
        QVERIFY(!s.Text(3000).isEmpty());
      });
    };
    ClickGroup(f, 1);
    QCOMPARE(f.screens.size(), 2);
  }

  void circleScreenFillsTheRowsAndRefusesAStepOfZero() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    int circleRuns = 0;
    std::function<void(Screen&)> circleSteps;
    f.drive = [&](QDialog& dialog) {
      if (dialog.objectName() == "ROTATIONCALCULATIONDLG") {
        ++circleRuns;
        return Drive(dialog, circleSteps);
      }
      return Drive(dialog, [&](Screen& s) {
        s.ChooseKind(QStringLiteral("ドリル穴 [DRILL]"));
        s.Type(2200, QStringLiteral("6"));
        s.Type(3004, QStringLiteral("9"));  // emptied by the calculation
        // (0, 0), R 50, step 90: the count 4 and the start 0 come from leaving the step field.
        circleSteps = [&](Screen& c) {
          QCOMPARE(c.d.windowTitle(), QStringLiteral("円上の座標計算"));
          QCOMPARE(c.d.parentWidget(), &s.d);
          c.Type(2400, QStringLiteral("0"));
          c.Type(2401, QStringLiteral("0"));
          c.Type(2402, QStringLiteral("50"));
          c.Type(2403, QStringLiteral("90"));
          QCOMPARE(c.Text(2405), QStringLiteral("4"));
          QCOMPARE(c.Text(2404), QStringLiteral("0"));
          c.Command(40104);
          // The shape screen shows the points at once; cos 270 gives 0., not -0.
          QCOMPARE(s.Row(3000), (QStringList{"50.", "0.", "-50.", "0.", "", "", "", "", "", ""}));
          QCOMPARE(s.Row(3100), (QStringList{"0.", "50.", "0.", "-50.", "", "", "", "", "", ""}));
          c.Command(40103);
          QVERIFY(!c.d.isVisible());
        };
        s.Command(40203);
        s.Command(40200);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 6);
    QCOMPARE(circleRuns, 1);
    const char* stored[][2] = {{"X0", "50."},  {"Y0", "0."}, {"X1", "0."}, {"Y1", "50."},
                               {"X2", "-50."}, {"Y2", "0."}, {"X3", "0."}, {"Y3", "-50."}};
    for (const auto& [key, value] : stored)
      QCOMPARE(Db(f, "hole6", key), std::string(value));
    QCOMPARE(Db(f, "hole6", "X4"), std::string("(none)"));

    // Step 30 about (100, 50), R 20: twelve points, the ten rows take the first ten (0 to 270 degrees).
    // A step of 0 is refused before any point is placed; Ctrl+R calculates, Escape closes.
    f.drive = [&](QDialog& dialog) {
      if (dialog.objectName() == "ROTATIONCALCULATIONDLG") return Drive(dialog, circleSteps);
      return Drive(dialog, [&](Screen& s) {
        circleSteps = [&](Screen& c) {
          c.Type(2400, QStringLiteral("100"));
          c.Type(2401, QStringLiteral("50"));
          c.Type(2402, QStringLiteral("20"));
          c.Type(2403, QStringLiteral("30"));
          QCOMPARE(c.Text(2405), QStringLiteral("12"));
          QTest::keyClick(c.Edit(2405), Qt::Key_R, Qt::ControlModifier);
          QCOMPARE(s.Row(3000), (QStringList{"120.", "117.321", "110.", "100.", "90.", "82.679", "80.",
                                             "82.679", "90.", "100."}));
          QCOMPARE(s.Row(3100), (QStringList{"50.", "60.", "67.321", "70.", "67.321", "60.", "50.", "40.",
                                             "32.679", "30."}));
          c.Type(2403, QStringLiteral("0"));
          QCOMPARE(c.Text(2405), QStringLiteral("12"));  // no count from a step of 0
          const std::size_t boxes = f.t->boxes.size();
          c.Command(40104);
          QCOMPARE(f.t->boxes.size(), boxes + 1);
          QCOMPARE(f.LastBox(),
                   QStringLiteral("エラー：[ID=2403] 分割角度 0 では円上の座標を計算できません"));
          QCOMPARE(s.Row(3000), kEmpty);
          QTest::keyClick(c.Edit(2403), Qt::Key_Escape);
          QVERIFY(!c.d.isVisible());
        };
        QTest::keyClick(s.Edit(3000), Qt::Key_R, Qt::ControlModifier);
        // The rows were changed by the calculation: closing asks, and no keeps the screen open.
        f.t->dialogs.answers = {false, true};
        QTest::keyClick(s.Edit(3000), Qt::Key_Escape);
        QVERIFY(s.d.isVisible());
        s.Command(40202);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 6);
    QCOMPARE(Db(f, "hole6", "X0"), std::string("50."));  // unchanged
  }

  void csvFileFillsTenRowsAndKeepsTheRest() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    std::string lines;
    for (int k = 1; k <= 14; ++k)
      lines += std::to_string(k) + "," + std::to_string(k * 2) + ".5\r\n";
    f.folder.Write("points.csv", lines);
    f.folder.Write("two.csv", "12.5,7\n3,4,5\n");
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        // Cancelled: the message, nothing filled.
        s.Command(40201);
        QCOMPARE(f.LastBox(), QStringLiteral("エラー：CSVファイルの取り込みを中止します。"));
        // Fourteen lines: rows 1 to 10, the last four lines ignored.
        f.t->dialogs.files.push_back(f.folder.File("points.csv"));
        QTest::keyClick(s.Control<QComboBox>(2000), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(s.Row(3000), (QStringList{"1.", "2.", "3.", "4.", "5.", "6.", "7.", "8.", "9.", "10."}));
        QCOMPARE(s.Row(3100, 2), (QStringList{"2.5", "4.5"}));
        QCOMPARE(s.Text(3109), QStringLiteral("20.5"));
        // Two lines through the menu item of "計算": rows 3 to 10 keep what they had.
        f.t->dialogs.files.push_back(f.folder.File("two.csv"));
        QMenu* calc = s.d.findChild<QMenuBar*>()->findChild<QMenu*>();
        QCOMPARE(calc->title(), QStringLiteral("計算"));
        QStringList items;
        for (QAction* a : calc->actions())
          items << a->text();
        QCOMPARE(items, (QStringList{"円上の座標計算", "CSVファイル読込"}));
        calc->actions()[1]->trigger();
        QCOMPARE(s.Row(3000, 3), (QStringList{"12.5", "3.", "3."}));
        QCOMPARE(s.Row(3100, 3), (QStringList{"7.", "4.", "6.5"}));
        QCOMPARE(f.t->dialogs.asked.back(), std::string("ファイルを開く"));
        // Nothing typed, but the rows changed: closing asks; yes discards them.
        f.t->dialogs.answers = {true};
        s.Command(40202);
        QCOMPARE(f.t->dialogs.asked.back(), std::string("変更を保存せずに閉じますか？"));
      });
    };
    ClickGroup(f, 1);
    QVERIFY(Db(f, "hole1", "X0") != "12.5");
  }

  void keyboardReadingOrderEnterAndSaveKey() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        // Nothing changed: closing does not ask.
        QCOMPARE(s.d.focusWidget(), s.Control(2000));
        // Tab: kind, parameters 1 to 10, then X and Y row by row (Z is not in the order).
        QList<int> order;
        for (int i = 0; i < 31; ++i) {
          order << QApplication::focusWidget()->objectName().toInt();
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QList<int> expected{2000};
        for (int i = 0; i < 10; ++i)
          expected << 2200 + i;
        for (int i = 0; i < 10; ++i)
          expected << 3000 + i << 3100 + i;
        QCOMPARE(order, expected);
        // Enter in a field stays on the screen.
        s.ChooseKind(QStringLiteral("ドリル穴 [DRILL]"));
        s.Type(2200, QStringLiteral("5"));
        s.Edit(3000)->setFocus();
        QTest::keyClicks(s.Edit(3000), QStringLiteral("7"));
        QTest::keyClick(s.Edit(3000), Qt::Key_Return);
        QTest::keyClick(s.Edit(3000), Qt::Key_Enter);
        QVERIFY(s.d.isVisible());
        // A save that fails (no Y in any row is fine, but parameter 1 must not be empty) stays open.
        s.Type(2201, QString());
        QTest::keyClick(s.Edit(3000), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(s.d.isVisible());
        QCOMPARE(f.LastBox(), QStringLiteral("エラー：[1] 穴深さ 取出失敗"));
        s.Type(2201, QStringLiteral("12"));
        s.Type(3100, QStringLiteral("8"));
        QTest::keyClick(s.Edit(3100), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!s.d.isVisible());
      });
    };
    const std::size_t asked = f.t->dialogs.asked.size();
    ClickGroup(f, 6);
    QCOMPARE(f.t->dialogs.asked.size(), asked);  // a save that closes never asks
    QCOMPARE(Db(f, "hole6", "variable0"), std::string("5"));
    QCOMPARE(Db(f, "hole6", "variable1"), std::string("12"));
    QCOMPARE(Db(f, "hole6", "X0"), std::string("7."));
    QCOMPARE(Db(f, "hole6", "Y0"), std::string("8."));

    // Reopened: the saved group; closing without a change does not ask.
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        QCOMPARE(s.Text(2201), QStringLiteral("12"));
        QCOMPARE(s.Text(3000), QStringLiteral("7."));
        QTest::keyClick(s.Edit(2200), Qt::Key_Escape);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 6);
    QCOMPARE(f.t->dialogs.asked.size(), asked);

    // Parameter 0 changed and the screen closed from it: the field loses the focus as the screen goes,
    // which derives nothing.
    const std::size_t lines = f.Lines().size();
    f.t->dialogs.answers = {true};
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        s.Edit(2200)->setFocus();
        QTest::keyClicks(s.Edit(2200), QStringLiteral("0"));
        QTest::keyClick(s.Edit(2200), Qt::Key_Escape);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 6);
    QCOMPARE(f.t->dialogs.asked.size(), asked + 1);
    for (std::size_t i = lines; i < f.Lines().size(); ++i)
      QVERIFY2(f.Lines()[i].find("SetHoleInformation") == std::string::npos, f.Lines()[i].c_str());
    QCOMPARE(Db(f, "hole6", "variable0"), std::string("5"));
  }

  void aStoredKindTheTableNoLongerOffersIsShownAndKeptOnSave() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    const std::string db = f.t->ctx.dbPath;
    WriteString(db, "hole5", "command", "旧ドリル [DRILL]");
    WriteString(db, "hole5", "variable0", "5");
    WriteString(db, "hole5", "variable1", "10");
    f.drive = [&](QDialog& dialog) {
      return Drive(dialog, [&](Screen& s) {
        auto* kinds = s.Control<QComboBox>(2000);
        QCOMPARE(kinds->currentText(), QStringLiteral("旧ドリル [DRILL]"));
        QCOMPARE(kinds->count(), 9);
        QCOMPARE(s.Captions()[1], QStringLiteral("穴深さ"));
        s.Type(3000, QStringLiteral("3"));
        s.Type(3100, QStringLiteral("4"));
        s.Command(40200);
        QVERIFY(!s.d.isVisible());
      });
    };
    ClickGroup(f, 5);
    QCOMPARE(Db(f, "hole5", "command"), std::string("旧ドリル [DRILL]"));
    QCOMPARE(Db(f, "hole5", "variable1"), std::string("10"));
    QCOMPARE(Db(f, "hole5", "X0"), std::string("3."));
  }

  void everyFieldRowAndCommandIsFoundByItsCaption() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    LoadExample(f);
    const std::function<void(Screen&)> circle = [](Screen& c) {
      for (const QString caption : {"円中心 X", "円中心 Y", "半径 [R]", "分割角度", "初期角度", "回転回数",
                                    "※．反時計回りがプラス角度", "【計 算】", "【閉じる】", "【ヘルプ】"})
        QVERIFY2(test::FindByCaption(&c.d, caption), qPrintable(caption));
      // The count takes digits only.
      QTest::keyClicks(c.Edit(2405), QStringLiteral("1a2"));
      QCOMPARE(c.Text(2405), QStringLiteral("12"));
    };
    const std::function<void(Screen&)> shape = [](Screen& s) {
      for (const QString caption : {"穴の種類", " 1", "10", "1 X", "1 Y", "1 Z", "10 X", "10 Y", "計算",
                                    "【保存】", "【CSV読込】", "【終了】", "リーマ径 (H7)", "下穴深さ"})
        QVERIFY2(test::FindByCaption(&s.d, caption),
                 qPrintable(caption + ": " + test::AccessibleNames(&s.d).join(" | ")));
      QCOMPARE(AccessibleName(s.Edit(3109)), QStringLiteral("10 Y"));
      // A drop-down is named by its label's relation on Linux: the caption's label is its buddy.
      auto* kindLabel = qobject_cast<QLabel*>(test::FindByCaption(&s.d, "穴の種類")->object());
      QVERIFY(kindLabel);
      QCOMPARE(kindLabel->buddy(), s.Control(2000));
      s.Command(40203);
    };
    f.drive = [&](QDialog& d) {
      return Drive(d, d.objectName() == "ROTATIONCALCULATIONDLG" ? circle : shape);
    };
    ClickGroup(f, 1);
    QCOMPARE(f.screens, (QStringList{"SHAPEINPUTDLG", "ROTATIONCALCULATIONDLG"}));
  }
};

QTEST_MAIN(HoleScreensTest)
#include "HoleScreensTest.moc"
