// The whole road of one NC program through the windows only, as a user walks it: a new project typed
// into the main window, two hole groups on the shape-entry screen (one by typed positions, one through
// the circle screen), the process screen in creation mode with one tool number corrected, and NC
// creation. The same project is then made with talvorin-cli in a second program folder; the NC
// program, the stored processes and the time keys of both must be the same.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "gui/ScreenFixture.h"
#include "gui/TalvorinFixture.h"
#include "gui/talvorin/ProcessDialog.h"
#include "support/CliRun.h"

using namespace talvorin;
using talvorin::test::TalvorinFixture;

namespace {

QLineEdit* Edit(QWidget* root, int id) {
  auto* edit = root->findChild<QLineEdit*>(QString::number(id));
  if (!edit) qFatal("field %d missing on %s", id, qPrintable(root->objectName()));
  return edit;
}

// Clicks into a field, replaces its text by typing and leaves it with Tab.
void Type(QWidget* root, int id, const QString& text) {
  QLineEdit* edit = Edit(root, id);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  test::TypeText(edit, text);
  QTest::keyClick(edit, Qt::Key_Tab);
}

void Command(QWidget* root, int id) {
  auto* action = root->findChild<QAction*>(QString::number(id));
  if (!action) qFatal("command %d missing on %s", id, qPrintable(root->objectName()));
  action->trigger();
}

void ChooseKind(QDialog& shape, const QString& label) {
  auto* kinds = shape.findChild<QComboBox*>(QStringLiteral("2000"));
  kinds->setFocus();
  QTest::keyClick(kinds, Qt::Key_Home);
  for (int i = 0; i < kinds->count() && kinds->currentText() != label; ++i)
    QTest::keyClick(kinds, Qt::Key_Down);
  if (kinds->currentText() != label) qFatal("no kind %s", qPrintable(label));
}

// Shows a modal screen, runs `steps` on it and gives its result.
int Drive(QDialog& dialog, const std::function<void(QDialog&)>& steps) {
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("screen not shown");
  steps(dialog);
  if (dialog.isVisible()) dialog.close();
  return dialog.result();
}

std::string Key(const std::string& file, const std::string& section, const std::string& key) {
  return ReadString(file, section, key, 64, "(absent)");
}

}  // namespace

class WholeRoadTest : public QObject {
  Q_OBJECT

 private slots:
  void newProjectToNcProgramThroughTheWindowsEqualsTheCli() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    QWidget* main = f.window.get();
    // 1. The project header, typed; origin, controller and coordinate system as offered.
    Type(main, 1100, QStringLiteral("ROAD01"));
    Type(main, 1101, QStringLiteral("BASE"));
    Type(main, 1110, QStringLiteral("200"));
    Type(main, 1111, QStringLiteral("150"));
    Type(main, 1112, QStringLiteral("20"));
    auto* material = main->findChild<QComboBox*>(QStringLiteral("1113"));
    material->lineEdit()->setFocus();
    material->lineEdit()->selectAll();
    QTest::keyClicks(material->lineEdit(), QStringLiteral("SS400"));
    Type(main, 1123, QStringLiteral("2001"));
    QCOMPARE(main->findChild<QComboBox*>(QStringLiteral("1120"))->currentText(), QStringLiteral("左下"));
    QCOMPARE(main->findChild<QComboBox*>(QStringLiteral("1121"))->currentText(), QStringLiteral("FANUC"));
    QCOMPARE(main->findChild<QComboBox*>(QStringLiteral("1122"))->currentText(), QStringLiteral("G54"));
    f.window->menuBar()->findChild<QAction*>(QStringLiteral("40021"))->trigger();
    const std::string db = f.folder.File("db/ROAD01.dat");
    QCOMPARE(f.t->ctx.dbPath, db);

    // 2. Group 1: drilled holes of 10 mm at two typed positions. Group 2: M8 taps on a circle.
    std::function<void(QDialog&)> shapeSteps, circleSteps;
    int processScreens = 0;
    f.drive = [&](QDialog& dialog) {
      if (dialog.objectName() == "ROTATIONCALCULATIONDLG") return Drive(dialog, circleSteps);
      if (dialog.objectName() == "NCPROCESSINGDLG") {
        ++processScreens;
        return Drive(dialog, [&](QDialog& p) {
          // Generated: row 2 is the 10 mm drill in pocket 14; it is corrected to pocket 12.
          QCOMPARE(Edit(&p, gui::ProcessFieldId(2, kProcT))->text(), QStringLiteral("14"));
          Type(&p, gui::ProcessFieldId(2, kProcT), QStringLiteral("12"));
          Type(&p, gui::ProcessFieldId(2, kProcH), QStringLiteral("12"));
          QTest::keyClick(Edit(&p, gui::ProcessFieldId(2, kProcS)), Qt::Key_M, Qt::ControlModifier);
          // Saved with the program: closing asks nothing.
          Command(&p, 40103);
          QVERIFY(!p.isVisible());
        });
      }
      return Drive(dialog, shapeSteps);
    };
    shapeSteps = [](QDialog& s) {
      ChooseKind(s, QStringLiteral("ドリル穴 [DRILL]"));
      Type(&s, 2200, QStringLiteral("10"));
      Type(&s, 3000, QStringLiteral("20"));
      Type(&s, 3100, QStringLiteral("20"));
      Type(&s, 3001, QStringLiteral("180"));
      Type(&s, 3101, QStringLiteral("20"));
      Command(&s, 40200);
    };
    QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("2001")), Qt::LeftButton);
    circleSteps = [](QDialog& c) {
      Type(&c, 2400, QStringLiteral("100"));
      Type(&c, 2401, QStringLiteral("75"));
      Type(&c, 2402, QStringLiteral("40"));
      Type(&c, 2403, QStringLiteral("90"));
      Command(&c, 40104);
      Command(&c, 40103);
    };
    shapeSteps = [](QDialog& s) {
      ChooseKind(s, QStringLiteral("タップ穴 [NTAP]"));
      Type(&s, 2200, QStringLiteral("8"));
      Command(&s, 40203);
      Command(&s, 40200);
    };
    QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("2002")), Qt::LeftButton);
    QCOMPARE(Key(db, "hole2", "X3"), std::string("100."));
    QCOMPARE(Key(db, "hole2", "Y3"), std::string("35."));

    // 3. The process screen in creation mode, NC creation on it.
    f.window->menuBar()->findChild<QAction*>(QStringLiteral("40023"))->trigger();
    QCOMPARE(processScreens, 1);
    QCOMPARE(f.screens,
             (QStringList{"SHAPEINPUTDLG", "SHAPEINPUTDLG", "ROTATIONCALCULATIONDLG", "NCPROCESSINGDLG"}));

    // The same project through talvorin-cli in a second program folder.
    test::TestFolder cliFolder;
    test::CopyProgramFolder(cliFolder);
    const std::string cliDb = cliFolder.File("db/ROAD01.dat");
    const std::vector<std::vector<std::string>> commands = {
        {"new", "ROAD01", "--product", "BASE", "--size", "200,150,20", "--material", "SS400", "--origin",
         "左下", "--controller", "FANUC", "--coord", "G54", "--onumber", "2001"},
        {"hole", cliDb, "--group", "1", "--kind", "ドリル穴 [DRILL]", "--set", "0=10", "--at", "20,20",
         "--at", "180,20"},
        {"hole", cliDb, "--group", "2", "--kind", "タップ穴 [NTAP]", "--set", "0=8", "--circle",
         "100,75,40,90,0,4"},
        {"plan", cliDb},
        {"processes", cliDb, "--set", "2:T=12", "--set", "2:H=12"},
        {"nc", cliDb},
    };
    for (const auto& command : commands) {
      std::vector<std::string> argv = {TALVORIN_CLI, "--folder", cliFolder.path(), "--quiet"};
      argv.insert(argv.end(), command.begin(), command.end());
      const test::CliResult result = test::RunProgram(argv);
      QVERIFY2(result.status == 0, (command.front() + ": " + result.err).c_str());
    }

    // The NC program, the processes and the time keys of both.
    const std::string program = f.folder.ReadCp932("ncdata/O2001.NC");
    QVERIFY(program.find("T12\r\nM06\r\nG90 G00 G54 X0. Y0.\r\nG43 H12 Z50.") != std::string::npos ||
            program.find("T12\nM06\nG90 G00 G54 X0. Y0.\nG43 H12 Z50.") != std::string::npos);
    QCOMPARE(program, cliFolder.ReadCp932("ncdata/O2001.NC"));
    const char* keys[13] = {"tool", "diam", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"};
    for (int n = 1; n <= 15; ++n)
      for (const char* key : keys) {
        const std::string section = "ncproc" + std::to_string(n);
        QCOMPARE(Key(db, section, key), Key(cliDb, section, key));
      }
    QCOMPARE(Key(db, "ncproc2", "T"), std::string("12"));
    for (const char* key :
         {"distance0", "distance1", "Seconds_Time0", "Seconds_Time1", "Seconds_Time2", "Seconds_Time3",
          "Process_Time0", "Process_Time1", "Process_Time2", "Process_Time3"}) {
      QVERIFY2(Key(db, "machine", key) != "(absent)", key);
      QCOMPARE(Key(db, "machine", key), Key(cliDb, "machine", key));
    }
  }
};

QTEST_MAIN(WholeRoadTest)
#include "WholeRoadTest.moc"
