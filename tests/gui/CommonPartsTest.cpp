// The Qt parts every desktop program shares: message list, boxes, console echo, validators, the program
// information screen, the version box, placement, colours and the single-instance socket.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTableView>
#include <QTemporaryFile>
#include <QtTest>

#include "gui/GuiTestSupport.h"
#include "gui/common/Binding.h"
#include "gui/common/ProgramInfoScreen.h"
#include "gui/common/SingleInstance.h"
#include "gui/common/VersionBox.h"
#include "gui/common/WindowLook.h"
#include "shell/ProgramSetup.h"

using namespace talvorin;
using namespace talvorin::gui;
using talvorin::test::GuiTestContext;
using talvorin::test::TestFolder;

class CommonPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void messageListSplitsLinesAndShowsBoxesByKind() {
    TestFolder folder;
    GuiTestContext t(folder);
    QTableView list;
    t.reporter.Bind(&list);
    QCOMPARE(t.reporter.Report("+++ 一行目\n+++ 二行目", 0), 0);
    t.reporter.Report("エラー：失敗", -1);
    t.reporter.Report("お知らせ", 1);
    t.reporter.Report("静か", 2);
    t.reporter.Report("警告：注意", 3);
    QAbstractItemModel* model = list.model();
    QCOMPARE(model->rowCount(), 6);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("+++ 一行目"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("+++ 二行目"));
    QCOMPARE(model->index(5, 0).data().toString(), QStringLiteral("警告：注意"));
    QCOMPARE(t.boxes.size(), std::size_t{3});
    QCOMPARE(t.boxes[0], qMakePair(QStringLiteral("エラー：失敗"), -1));
    QCOMPARE(t.boxes[1].second, 1);
    QCOMPARE(t.boxes[2].second, 3);
  }

  void messageListWidensOnlyForALongerSingleLine() {
    TestFolder folder;
    GuiTestContext t(folder);
    QTableView list;
    t.reporter.Bind(&list);
    const int start = t.reporter.Model().RowWidth();
    QVERIFY(start > 0);
    t.reporter.Report(std::string(60, 'a'), 0);  // 60 bytes: not longer than the start
    QCOMPARE(t.reporter.Model().RowWidth(), start);
    // 40 full-width characters are 80 CP932 bytes: the list widens to the text.
    std::string wide;
    for (int i = 0; i < 40; ++i)
      wide += "あ";
    t.reporter.Report(wide, 0);
    const int widened = t.reporter.Model().RowWidth();
    QVERIFY(widened > start);
    QCOMPARE(widened, QFontMetrics(list.font()).horizontalAdvance(ToQt(wide)) + 8);
    // A text of several lines does not count, however long.
    t.reporter.Report(std::string(200, 'b') + "\nx", 0);
    QCOMPARE(t.reporter.Model().RowWidth(), widened);
    // The column is as wide, so the view's horizontal extent follows it.
    QCOMPARE(list.columnWidth(0), widened);
  }

  void consoleEchoesEveryListLine() {
    TestFolder folder;
    GuiTestContext t(folder);
    std::FILE* out = std::fopen(folder.File("console.txt").c_str(), "w+");
    QVERIFY(out);
    t.reporter.SetConsole(out);
    t.reporter.Report("一\n二", 1);
    std::fclose(out);
    QCOMPARE(QString::fromStdString(folder.Read("console.txt")), QStringLiteral("一\n二\n"));
  }

  void validatorsForceUpperCaseAndDigits() {
    QLineEdit name, number;
    name.setValidator(new UpperCaseValidator(&name));
    number.setValidator(DigitsOnlyValidator(&number));
    QTest::keyClicks(&name, QStringLiteral("plate-01"));
    name.insert(QStringLiteral("ａｂ"));  // as an input method commits it
    QCOMPARE(name.text(), QStringLiteral("PLATE-01ＡＢ"));
    QTest::keyClicks(&number, QStringLiteral("1a2-3."));
    number.insert(QStringLiteral("４"));
    QCOMPARE(number.text(), QStringLiteral("123"));
  }

  void captionNamesTheFieldAndIsFoundByAccessibility() {
    QWidget window;
    auto* field = new QLineEdit(&window);
    NameControl(field, 1100, QString());
    QLabel* label = CaptionFor(field, QStringLiteral("プロジェクト名"), &window);
    QCOMPARE(label->buddy(), field);
    QCOMPARE(FindControl<QLineEdit>(&window, 1100), field);
    QCOMPARE(FindControl<QLineEdit>(&window, 1101), nullptr);
    QAccessibleInterface* found = test::FindByCaption(&window, QStringLiteral("プロジェクト名"));
    QVERIFY(found);
    QCOMPARE(found->object(), static_cast<QObject*>(field));
  }

  void programInformationScreenPaintsItsRowsAndClosesOnAnyKey() {
    TestFolder folder;
    GuiTestContext t(folder);
    Timestamp fileDate{2026, 6, 3, 14, 5, 9, 3};
    const std::string text = ProgramInformationText(BuildDate{2026, 6, 3}, 2629, fileDate);
    ProgramInfoScreen screen(t.inst, ToQt(text), nullptr);
    QCOMPARE(screen.objectName(), QStringLiteral("PROGRAMINFODLG"));
    QCOMPARE(screen.windowTitle(), QStringLiteral("プログラム情報 【 Close with any Key 】"));
    QCOMPARE(screen.Lines().size(), 6);
    QCOMPARE(screen.Lines()[0], QStringLiteral("   Developer : Brenholt"));
    QCOMPARE(screen.Lines()[1], QStringLiteral("    Software : TALVORIN"));
    QCOMPARE(screen.Lines()[2], QStringLiteral("     Version : 2026R1.00.2629"));
    QCOMPARE(screen.Lines()[3], QStringLiteral("  Build Date : 2026/06/03 14:05:09"));
    QVERIFY(test::FindByCaption(&screen, QStringLiteral("閉じる")));
    screen.show();
    QTest::keyClick(&screen, Qt::Key_Space);
    QCOMPARE(screen.result(), int(QDialog::Accepted));
    QVERIFY(!screen.isVisible());

    ProgramInfoScreen byMenu(t.inst, ToQt(text), nullptr);
    byMenu.show();
    QAction* close = byMenu.findChild<QAction*>(QStringLiteral("40202"));
    QVERIFY(close);
    close->trigger();
    QVERIFY(!byMenu.isVisible());
  }

  void versionBoxShowsTheAboutLine() {
    TestFolder folder;
    GuiTestContext t(folder);
    std::unique_ptr<QDialog> box(MakeVersionBox(t.inst, nullptr));
    const BuildDate date = TheBuildDate();
    QCOMPARE(box->objectName(), QStringLiteral("VERSIONBOX"));
    QCOMPARE(box->windowTitle(), QStringLiteral("二次元NC加工システム／ブレンホルト"));
    QCOMPARE(box->findChild<QLabel*>("version")->text(),
             QStringLiteral("TALVORIN Version %1R1.00.2629 [Build Date %1/%2/%3]")
                 .arg(date.year)
                 .arg(date.month)
                 .arg(date.day));
    QVERIFY(!box->findChild<QLabel*>("notice")->text().isEmpty());
    // OK ends the box.
    box->show();
    QAccessibleInterface* ok = test::FindByCaption(box.get(), QStringLiteral("OK"));
    QVERIFY(ok);
    QTest::mouseClick(qobject_cast<QWidget*>(ok->object()), Qt::LeftButton);
    QCOMPARE(box->result(), int(QDialog::Accepted));
  }

  void placementUsesTheFreeAreaOfTheScreen() {
    TestFolder folder;
    folder.WriteCp932("TALVORIN.ini", "[window]\r\nX=1.7\r\nY=0.25\r\n");
    GuiTestContext t(folder);
    QWidget window;
    window.resize(400, 200);
    const QRect area = window.screen()->availableGeometry();
    PlaceOnScreen(t.inst, &window);
    const QSize frame = window.frameGeometry().size();
    QCOMPARE(window.frameGeometry().left(), area.x() + area.width() - frame.width());
    QCOMPARE(window.frameGeometry().top(),
             area.y() + static_cast<int>((area.height() - frame.height()) * 0.25));
  }

  void coloursPaintTheWindowAndItsTexts() {
    TestFolder folder;
    folder.WriteCp932("TALVORIN.ini", "[color]\r\nwindow=10,20,30\r\ntext=255,0\r\n");
    GuiTestContext t(folder);
    QWidget window;
    ApplyColours(t.inst, &window);
    QCOMPARE(window.palette().color(QPalette::Window), QColor(10, 20, 30));
    QCOMPARE(window.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(window.autoFillBackground());
  }

  void secondStartReachesTheFirst() {
    const QString program = QStringLiteral("talvorin-common-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(program);
    QVERIFY(!first.AskRunningToComeForward(200));  // nobody runs yet
    int asked = 0;
    QVERIFY(first.Listen([&asked] { ++asked; }));
    QVERIFY(first.Name().endsWith(QString::number(getuid())));
    // The second start runs in another thread here: its connection blocks until the first answers.
    bool answered = false;
    std::unique_ptr<QThread> second(QThread::create([&] {
      SingleInstance other(program);
      answered = other.AskRunningToComeForward(5000);
    }));
    second->start();
    QTRY_VERIFY_WITH_TIMEOUT(second->isFinished(), 10000);
    QVERIFY(answered);
    QCOMPARE(asked, 1);
  }
};

QTEST_MAIN(CommonPartsTest)
#include "CommonPartsTest.moc"
