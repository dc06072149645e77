// The windows of the drawing programs quorvex and lindrel: their start (start-up lines, single-job
// mode, the single-instance rule), the menu, dropped files, and the settings screen "INITDXFOUTDLG".
#include <unistd.h>

#include <QAction>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QTableView>
#include <QUrl>
#include <QtTest>

#include "gui/CompanionFixture.h"
#include "outputs/Outputs.h"

using namespace talvorin;
using talvorin::test::CompanionFixture;

namespace {

const std::string kRule = "_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/";
const char* const kRange = "データは 0～1 の範囲にして下さい。";

// The texts of the menu's actions with their command ids, "40001 終了", in menu order.
QStringList MenuCommands(QMainWindow* window) {
  QStringList commands;
  for (QAction* top : window->menuBar()->actions()) {
    if (!top->menu()) continue;
    for (QAction* action : top->menu()->actions())
      commands << QStringLiteral("%1 %2/%3").arg(action->objectName(), top->text(), action->text());
  }
  return commands;
}

QString Text(QWidget* root, int id) {
  return root->findChild<QLineEdit*>(QString::number(id))->text();
}

// Every line of a CP932 file with its CR LF removed.
QStringList FileLines(const std::string& utf8) {
  QStringList lines = QString::fromStdString(utf8).split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// A project database whose contour is one line and one arc, for lindrel.
void WriteContourProject(const test::TestFolder& folder, const std::string& name) {
  folder.Write("euklid/" + name + ".csv", "P,10,0,0,0,0,0\nL,30,0,0,0,0,0\nC,30,20,0,30,10,-10\n");
  folder.WriteCp932("db/" + name + ".dat", "[TALVORIN]\r\nproject=" + name +
                                               "\r\ncsvfile=" + folder.File("euklid/" + name + ".csv") +
                                               "\r\ndxffile=" + folder.File("db/" + name + ".dxf") + "\r\n");
}

}  // namespace

class CompanionWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void quorvexOpensWithItsStartUpLinesAndMenu() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    QVERIFY(f.Start());
    QCOMPARE(f.window->objectName(), QStringLiteral("DXFOUTDIALOG"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("二次元ＣＡＭシステム　図面出力"));
    QCOMPARE(f.window->menuBar()->objectName(), QStringLiteral("PROGMENU"));
    const std::vector<std::string> expected = {
        "二次元ＣＡＭ用 図面出力＆表示 / ブレンホルト", kRule,
        "ブレンホルト　二次元ＣＡＭシステム",           "TALVORIN Release Version R1.00.2629",
        "Start 2026年 6月 3日 (水) 9時 5分 7秒",        kRule};
    QCOMPARE(f.Lines(), expected);
    QCOMPARE(f.window->findChild<QTableView*>("1000")->model()->rowCount(), 6);
    // The longest-line record starts at 70 bytes: the 61-byte rule does not move it.
    QCOMPARE(f.t->reporter.LongestLine(), std::size_t{70});
    QCOMPARE(MenuCommands(f.window.get()),
             (QStringList{"40001 ファイル/終了", "40010 設定/設定", "40030 ヘルプ/ヘルプ",
                          "40031 ヘルプ/バージョン", "40032 ヘルプ/プログラム情報"}));
    // The two labelled fields, empty without a project database; no export has run.
    QVERIFY(test::FindByCaption(f.window.get(), "ＣＡＭファイル"));
    QVERIFY(test::FindByCaption(f.window.get(), "図面ファイル"));
    QCOMPARE(Text(f.window.get(), 1010), QString());
    QTest::qWait(50);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.t->platform.calls.empty());

    // Version box with the program's title, program information screen; 終了 closes the window.
    QStringList titles;
    f.screen = [&titles](QDialog& dialog) {
      titles << dialog.windowTitle();
      return int(QDialog::Accepted);
    };
    f.window->findChild<QAction*>("40031")->trigger();
    f.window->findChild<QAction*>("40032")->trigger();
    QCOMPARE(f.screens, (QStringList{"VERSIONBOX", "PROGRAMINFODLG"}));
    QCOMPARE(titles[0], QStringLiteral("二次元ＣＡＭ用 図面出力＆表示 / ブレンホルト"));
    f.window->findChild<QAction*>("40001")->trigger();
    QVERIFY(!f.window->isVisible());
  }

  void quorvexSingleJobExportsThenCloses() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    const std::string db = f.folder.File("db/EXAMPLE-FANUC.dat");
    const std::string dxf = f.folder.File("db/EXAMPLE-FANUC.dxf");
    QVERIFY(f.Start({db}));
    QVERIFY(f.window->isVisible());  // the export runs once the window is up
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isVisible(), 10000);
    QVERIFY(f.t->boxes.empty());
    // The drawing is complete and the viewer was started on it.
    const std::string content = f.folder.Read("db/EXAMPLE-FANUC.dxf");
    QVERIFY(content.starts_with("  0\r\nSECTION\r\n"));
    QVERIFY(content.ends_with("  0\r\nENDSEC\r\n  0\r\nEOF\r\n"));
    QCOMPARE(f.t->platform.calls.size(), std::size_t{1});
    QCOMPARE(f.t->platform.calls[0].what, std::string("start"));
    QCOMPARE(f.t->platform.calls[0].target, std::string("/usr/bin/librecad"));
    QCOMPARE(f.t->platform.calls[0].args, std::vector<std::string>{dxf});
    QCOMPARE(f.Lines()[6], std::string("!!! routine name : quorvex"));
    QCOMPARE(Text(f.window.get(), 1010), QString::fromStdString(db));
    QCOMPARE(Text(f.window.get(), 1011), QString::fromStdString(dxf));
  }

  void singleJobClosesAfterAFailedExportOnceTheBoxIsClosed() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    f.folder.WriteCp932("db/BROKEN.dat", "[TALVORIN]\r\ndbpath=db\r\n");
    QVERIFY(f.Start({f.folder.File("db/BROKEN.dat")}));
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isVisible(), 10000);
    QCOMPARE(f.t->boxes.size(), std::size_t{1});
    QCOMPARE(f.t->boxes[0].first, QStringLiteral("エラー：[TALVORIN] project= プロジェクトの読み込みに失敗"));
    QCOMPARE(f.t->boxes[0].second, -1);
    QCOMPARE(f.openAtBox, std::vector<bool>{true});  // the box stood over the open window
    QVERIFY(f.t->platform.calls.empty());

    // A viewer that cannot be started: the message, and the drawing stays written.
    CompanionFixture g(gui::QuorvexWindowProgram());
    g.Ini("quorvex", "viewer", g.folder.File("no-such-viewer"));
    QVERIFY(g.Start({g.folder.File("db/EXAMPLE-OSP.dat")}));
    g.t->platform.startResult = false;
    QTRY_VERIFY_WITH_TIMEOUT(!g.window->isVisible(), 10000);
    QCOMPARE(g.t->boxes.size(), std::size_t{1});
    QCOMPARE(g.t->boxes[0].first, QStringLiteral("エラー：DXFファイルが開けません"));
    QVERIFY(g.folder.Read("db/EXAMPLE-OSP.dxf").ends_with("EOF\r\n"));
  }

  void droppedFilesAreExportedOneAfterTheOther() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    QVERIFY(f.Start());
    QVERIFY(f.window->acceptDrops());
    const std::string first = f.folder.File("db/EXAMPLE-FANUC.dat");
    const std::string second = f.folder.File("db/EXAMPLE-OSP.dat");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString::fromStdString(second))});
    // The drag enters the window, which takes it, and drops.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE_WITH_TIMEOUT(f.t->platform.calls.size(), std::size_t{2}, 10000);
    QVERIFY(f.t->boxes.empty());
    QCOMPARE(f.t->platform.calls[0].args, std::vector<std::string>{f.folder.File("db/EXAMPLE-FANUC.dxf")});
    QCOMPARE(f.t->platform.calls[1].args, std::vector<std::string>{f.folder.File("db/EXAMPLE-OSP.dxf")});
    QVERIFY(f.folder.Read("db/EXAMPLE-FANUC.dxf").ends_with("EOF\r\n"));
    QVERIFY(f.folder.Read("db/EXAMPLE-OSP.dxf").ends_with("EOF\r\n"));
    QVERIFY(f.window->isVisible());  // not a single job: the window stays
    QCOMPARE(Text(f.window.get(), 1010), QString::fromStdString(second));
  }

  void lindrelWithConsoleSwitchExportsTheContour() {
    CompanionFixture f(gui::LindrelWindowProgram());
    f.Ini("lindrel", "consol", "1");
    WriteContourProject(f.folder, "K1");
    std::FILE* console = std::fopen(f.folder.File("console.txt").c_str(), "w");
    QVERIFY(f.Start({f.folder.File("db/K1.dat")}, console));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("EUKLID二次元出力データ　図面出力＆表示"));
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isVisible(), 10000);
    std::fclose(console);
    QVERIFY(f.t->boxes.empty());
    const QStringList printed = QString::fromStdString(f.folder.Read("console.txt")).split('\n');
    QCOMPARE(printed[0], QStringLiteral("$$$ Console - Start $$$"));
    QCOMPARE(printed[1], QStringLiteral("EUKLID二次元出力データ 図面出力＆表示 / ブレンホルト"));
    QVERIFY(printed.contains("!!! routine name : ExportEuklidDrawing"));
    // LINE-2 from (10, 0) to (30, 0); ARC-3 about (30, 10), radius 10, counter-clockwise 270 to 90.
    const QStringList dxf = FileLines(f.folder.ReadCp932("db/K1.dxf"));
    const qsizetype line = dxf.indexOf("LINE-2");
    QVERIFY(line > 0);
    QCOMPARE(dxf.mid(line - 3, 18),
             (QStringList{"  0", "LINE", "  8", "LINE-2", "  6", "CONTINUOUS", " 62", "0", " 100", "AcDbLine",
                          " 10", "10.000000", " 20", "0.000000", " 11", "30.000000", " 21", "0.000000"}));
    const qsizetype arc = dxf.indexOf("ARC-3");
    QVERIFY(arc > 0);
    QCOMPARE(dxf.mid(arc - 3, 20),
             (QStringList{"  0",  "ARC",        "  8", "ARC-3",     "  6", "CONTINUOUS", " 62", "0",
                          " 100", "AcDbCircle", " 10", "30.000000", " 20", "10.000000",  " 40", "10.000000",
                          " 50",  "270.000000", " 51", "90.000000"}));
    QCOMPARE(f.t->platform.calls.size(), std::size_t{1});
    QCOMPARE(f.t->platform.calls[0].args, std::vector<std::string>{f.folder.File("db/K1.dxf")});
    QCOMPARE(Text(f.window.get(), 1010), QString::fromStdString(f.folder.File("euklid/K1.csv")));
    QCOMPARE(Text(f.window.get(), 1011), QString::fromStdString(f.folder.File("db/K1.dxf")));
  }

  void lindrelRegistersItsSystemInformation() {
    CompanionFixture f(gui::LindrelWindowProgram());
    std::FILE* console = std::fopen(f.folder.File("console.txt").c_str(), "w");
    QVERIFY(f.Start({}, console));
    std::fclose(console);
    QCOMPARE(f.folder.Read("console.txt"), std::string());  // the switch is off in the shipped INI
    QVERIFY(MenuCommands(f.window.get()).contains("40033 ヘルプ/システム情報登録"));
    QVERIFY(test::FindByCaption(f.window.get(), "CSV ファイル"));
    f.window->findChild<QAction*>("40033")->trigger();
    QCOMPARE(ReadString(f.IniFile(), "system", "Version", 16), std::string("R1.00.2629"));
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string());
  }

  void helpOpensEachProgramsOwnPage() {
    // The shipped installation: 40030 opens the program's own help page as a document, a page that
    // exists and tells the program's menu and its settings screen.
    const std::pair<gui::CompanionProgram, const char*> programs[] = {
        {gui::QuorvexWindowProgram(), "quorvex"}, {gui::LindrelWindowProgram(), "lindrel"}};
    for (const auto& [program, name] : programs) {
      CompanionFixture f(program);
      QVERIFY(f.Start());
      f.window->findChild<QAction*>("40030")->trigger();
      QVERIFY(f.t->boxes.empty());
      const std::string page = f.folder.File(std::string("help/") + name + ".html");
      QCOMPARE(f.t->platform.calls.size(), std::size_t{1});
      QCOMPARE(f.t->platform.calls[0].what, std::string("open"));
      QCOMPARE(f.t->platform.calls[0].target, page);
      const std::string text = f.folder.ReadCp932(std::string("help/") + name + ".html");
      QVERIFY(text.find(std::string("<h1>") + name) != std::string::npos);
      for (const char* words : {"ファイル ＞ 終了", "ヘルプ ＞ プログラム情報", "DXF VIEWER",
                                "起動画面位置 X・Y", "背景色 [RGB]"})
        QVERIFY2(text.find(words) != std::string::npos, words);
      QVERIFY(text.find(std::string("[") + name + "] viewer") != std::string::npos);
    }
  }

  void settingsScreenSavesItsKeysAndRefusesAPositionOutOfRange() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    QVERIFY(f.Start());
    QStringList shown;
    f.screen = [&f, &shown](QDialog& dialog) {
      // The stored values are shown.
      shown << Text(&dialog, 1211) << Text(&dialog, 1214) << Text(&dialog, 1215) << Text(&dialog, 1216)
            << Text(&dialog, 1217);
      dialog.findChild<QLineEdit*>("1211")->setText("/usr/bin/xdg-open");
      dialog.findChild<QLineEdit*>("1214")->setText("0.25");
      dialog.findChild<QLineEdit*>("1215")->setText("0.75");
      dialog.findChild<QLineEdit*>("1216")->setText("200,210,220");
      dialog.findChild<QAction*>("40091")->trigger();
      // X = 1.5 is refused: the range message, the field held to 1, nothing written.
      dialog.findChild<QLineEdit*>("1214")->setText("1.5");
      dialog.findChild<QAction*>("40091")->trigger();
      shown << Text(&dialog, 1214);
      return int(QDialog::Rejected);
    };
    f.window->findChild<QAction*>("40010")->trigger();
    QCOMPARE(f.screens, QStringList{"INITDXFOUTDLG"});
    QCOMPARE(shown, (QStringList{"/usr/bin/librecad", "0.5", "0.5", "220,220,220", "0,0,0", "1"}));
    QCOMPARE(f.t->boxes.size(), std::size_t{2});
    QCOMPARE(f.t->boxes[0].first, QStringLiteral("4個の設定値を保存しました。"));
    QCOMPARE(f.t->boxes[1].first, QString::fromUtf8(kRange));
    QCOMPARE(f.t->boxes[1].second, -1);
    // The program's own INI, changed in place: comments and the other keys stay as they were.
    const QStringList ini = FileLines(f.folder.ReadCp932("quorvex.ini"));
    QCOMPARE(ini.mid(3, 3),
             (QStringList{"[quorvex]", "; DXFビューワー（図面ファイルを一つの引数として起動します）",
                          "viewer=/usr/bin/xdg-open"}));
    QCOMPARE(ini.mid(7, 4),
             (QStringList{"[window]", "; 起動画面の位置（画面の空き幅・空き高さに対する割合 0 から 1）",
                          "X=0.25", "Y=0.75"}));
    QCOMPARE(ini.mid(12, 4),
             (QStringList{"[color]", "; 背景色と文字色 (R,G,B)", "window=200,210,220", "text=0,0,0"}));
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "window", "X", 16), std::string("0.5"));
    // The window takes the stored colour at once.
    QCOMPARE(f.window->palette().color(QPalette::Window), QColor(200, 210, 220));

    // Typing 1.5 and confirming the field corrects it with the message, before any save.
    QString corrected;
    f.screen = [&corrected](QDialog& dialog) {
      QLineEdit* x = dialog.findChild<QLineEdit*>("1214");
      x->selectAll();
      QTest::keyClicks(x, "1.5");
      QTest::keyClick(x, Qt::Key_Return);
      corrected = x->text();
      return int(QDialog::Rejected);
    };
    f.window->findChild<QAction*>("40010")->trigger();
    QCOMPARE(f.t->boxes.size(), std::size_t{3});
    QCOMPARE(f.t->boxes[2].first, QString::fromUtf8(kRange));
    QCOMPARE(corrected, QStringLiteral("1"));
    QCOMPARE(ReadString(f.IniFile(), "window", "X", 16), std::string("0.25"));
  }

  void secondStartBringsTheFirstForwardAndASingleJobStillRuns() {
    CompanionFixture f(gui::QuorvexWindowProgram());
    f.Ini("quorvex", "viewer", "/bin/true");
    QVERIFY(QFile::copy(TALVORIN_PROGRAM_DIR "/quorvex", QString::fromStdString(f.folder.File("quorvex"))));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The socket lies in the temporary folder of the test, away from a real running copy.
    env.insert("TMPDIR", QString::fromStdString(f.folder.path()));
    const QString program = QString::fromStdString(f.folder.File("quorvex"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    QVERIFY(first.waitForStarted(10000));
    const QString socket =
        QStringLiteral("%1quorvex-%2").arg(QString::fromStdString(f.folder.path())).arg(getuid());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {QStringLiteral("no-such-project.dat")});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // One existing project database: the single job bypasses the rule, exports and ends by itself.
    QProcess job;
    job.setProcessEnvironment(env);
    job.start(program, {QString::fromStdString(f.folder.File("db/EXAMPLE-FANUC.dat"))});
    QVERIFY(job.waitForFinished(20000));
    QCOMPARE(job.exitCode(), 0);
    QVERIFY(f.folder.Read("db/EXAMPLE-FANUC.dxf").ends_with("EOF\r\n"));
    QCOMPARE(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(10000)) first.kill();
    first.waitForFinished(5000);
  }

  // The main program's drawing command starts the quorvex of its program folder on the project, a
  // real process, which draws and ends by itself.
  void mainProgramStartsQuorvexOfItsProgramFolder() {
    test::TestFolder folder;
    test::CopyProgramFolder(folder);
    QVERIFY(QFile::copy(TALVORIN_PROGRAM_DIR "/quorvex", QString::fromStdString(folder.File("quorvex"))));
    WriteString(folder.File("quorvex.ini"), "quorvex", "viewer", "/bin/true");
    test::GuiTestContext t(folder);
    PosixPlatform platform;
    Context ctx{t.inst, t.reporter, platform, t.dialogs, folder.File("db/EXAMPLE-OSP.dat")};
    QCOMPARE(StartHoleDrawing(ctx), 0);
    QTRY_VERIFY_WITH_TIMEOUT(folder.Read("db/EXAMPLE-OSP.dxf").ends_with("  0\r\nEOF\r\n"), 20000);
    QVERIFY(t.boxes.empty());
  }
};

QTEST_MAIN(CompanionWindowsTest)
#include "CompanionWindowsTest.moc"
