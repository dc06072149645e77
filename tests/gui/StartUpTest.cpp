// The main program's start: console switch, keywords, single instance, window creation, the command
// of the start keyword, and a failed NC table closing the program with its log.
#include <QProcess>
#include <QTableView>
#include <QtTest>

#include "gui/TalvorinFixture.h"

using namespace talvorin;
using talvorin::test::TalvorinFixture;

namespace {

const std::string kRule = "_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/_/";

// The lines of a text, without the empty line after the last line end.
QStringList LinesOf(const std::string& text) {
  QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void consoleBannerFoldersThenSystemInformationForSys() {
    TalvorinFixture f;
    f.Ini("TALVORIN", "consol", "1");
    std::FILE* console = std::fopen(f.folder.File("console.txt").c_str(), "w");
    QVERIFY(f.Start({"SYS"}, console));
    std::fclose(console);
    const std::string folder = f.folder.path();
    const QStringList expected = {
        "$$$ Console - Start $$$",
        QString::fromStdString(kRule),
        "ブレンホルト　二次元ＣＡＭシステム",
        "TALVORIN Release Version R1.00.2629",
        "Start 2026年 6月 3日 (水) 9時 5分 7秒",
        QString::fromStdString(kRule),
        QString::fromStdString("--- フォルダ作成 " + folder + "ncdata"),
        QString::fromStdString("--- フォルダ作成 " + folder + "trycut"),
        QString::fromStdString("--- フォルダ作成 " + folder + "dxf"),
        "!!! routine name : SystemInformation",
        "+++ システム情報の更新",
        "[system] Version=R1.00.2629",
    };
    const QStringList printed = LinesOf(f.folder.Read("console.txt"));
    QCOMPARE(printed.mid(0, expected.size()), expected);
    QVERIFY(printed.size() == expected.size() + 1 && printed.back().startsWith("[system] FileDate="));
    // The message list holds the same lines (the console line is not one of them).
    QCOMPARE(f.window->findChild<QTableView*>("1000")->model()->rowCount(), printed.size() - 1);
    // Registered, and the window stays open.
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string("R1.00.2629"));
    QVERIFY(f.window->isVisible());
    QVERIFY(f.t->boxes.empty());
    // The machine choices and the first program number are shown; the rule file moved on.
    QCOMPARE(f.window->findChild<QLineEdit*>("1123")->text(), QStringLiteral("1000"));
    QCOMPARE(ReadInt(f.folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1001);
  }

  void withoutConsoleSwitchNothingIsPrinted() {
    TalvorinFixture f;
    std::FILE* console = std::fopen(f.folder.File("console.txt").c_str(), "w");
    QVERIFY(f.Start({}, console));
    std::fclose(console);
    QCOMPARE(f.folder.Read("console.txt"), std::string());
    QCOMPARE(f.Lines().front(), kRule);
  }

  void keywordsOpenTheirScreens() {
    TalvorinFixture proginf;
    QVERIFY(proginf.Start({"proginf"}));
    QCOMPARE(proginf.screens, QStringList{"PROGRAMINFODLG"});
    TalvorinFixture ver;
    QVERIFY(ver.Start({"Ver"}));
    QCOMPARE(ver.screens, QStringList{"VERSIONBOX"});
    TalvorinFixture none;
    QVERIFY(none.Start({"unknown"}));
    QVERIFY(none.screens.isEmpty());
    QCOMPARE(ReadString(none.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string());
  }

  void euklidModesRunTheirFlow() {
    // A contour file (mode 32): its form, then the program ends.
    TalvorinFixture f;
    f.folder.Write("euklid/curve.dat", "x");
    QVERIFY(!f.Start({"euklid", f.folder.File("euklid/curve.dat"), "cseg"}));
    QCOMPARE(f.screens, QStringList{"EUKLIDNCDATADLG"});

    // A circle list without its file (mode 11): nothing opens and the window stays.
    TalvorinFixture missing;
    QVERIFY(missing.Start({"euklid", missing.folder.File("none.dat"), "hole"}));
    QCOMPARE(missing.window->Start().euklidMode, 11);
    QCOMPARE(missing.window->Start().euklidPath, std::string());
    QVERIFY(missing.screens.isEmpty());

    // "EUKLID" alone (mode 1): nothing to import, no start keyword command.
    TalvorinFixture capitals;
    QVERIFY(capitals.Start({"EUKLID"}));
    QCOMPARE(capitals.window->Start().euklidMode, 1);
    QVERIFY(capitals.screens.isEmpty());
  }

  void aRunningCopyEndsTheStartBeforeAnyWindow() {
    TalvorinFixture f;
    f.otherRunning = true;
    QVERIFY(!f.Start({"sys"}));
    QVERIFY(f.Lines().empty());
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string());
  }

  void missingNcTableClosesTheProgramWithItsLog() {
    TalvorinFixture f;
    f.Ini("table", "ncformat", "missing.tbl");
    f.Ini("TALVORIN", "LogWriting", "1");
    QVERIFY(!f.Start({"sys"}));
    QCOMPARE(f.t->boxes.size(), std::size_t{1});
    QCOMPARE(f.t->boxes[0].second, -1);
    // The system information was not registered: the start ended before the keyword's command.
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string());
    const std::string log = f.folder.ReadCp932("Log/TALVORIN20260603.log");
    QVERIFY(log.find("ブレンホルト　二次元ＣＡＭシステム") != std::string::npos);
    QVERIFY(log.find(f.t->boxes[0].first.toStdString()) != std::string::npos);
  }

  // Two real processes: the second start brings the first forward and ends with 0, whatever its
  // arguments ("sys" would otherwise register the system information).
  void secondStartBringsTheFirstForward() {
    TalvorinFixture f;
    f.Ini("TALVORIN", "consol", "1");
    QVERIFY(QFile::copy(TALVORIN_PROGRAM_DIR "/talvorin", QString::fromStdString(f.folder.File("talvorin"))));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The socket lies in the temporary folder of the test, away from a real running copy.
    env.insert("TMPDIR", QString::fromStdString(f.folder.path()));
    const QString program = QString::fromStdString(f.folder.File("talvorin"));
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    QVERIFY(first.waitForStarted(10000));
    const QString socket =
        QStringLiteral("%1talvorin-%2").arg(QString::fromStdString(f.folder.path())).arg(getuid());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {"sys"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // The second start printed its console line and nothing else: no window, no banner.
    QCOMPARE(QString::fromUtf8(second.readAllStandardOutput()), QStringLiteral("$$$ Console - Start $$$\n"));
    QCOMPARE(ReadString(f.folder.File("TALVORIN.ini"), "system", "Version", 16), std::string());
    QCOMPARE(first.state(), QProcess::Running);
    first.terminate();
    if (!first.waitForFinished(10000)) first.kill();
    first.waitForFinished(5000);
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
