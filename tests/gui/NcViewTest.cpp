// The NC viewer driven as a user drives it: a program written here is read in the background, a row of
// the program text is clicked and its move is drawn as the selection, a move in the plan is clicked
// and its row is selected, the wheel zooms and the fit command fits again; faulty files show their
// marked rows. Expected moves, colours and times are worked out by hand.
#include <QAction>
#include <QListView>
#include <QListWidget>
#include <QWheelEvent>
#include <QtTest>

#include "gui/ncview/NcViewWindow.h"
#include "support/TestFolder.h"

using namespace talvorin;
using namespace talvorin::gui;

namespace {

// Lines from 0 on the right; start position 0, 0, 50.
const char* const kProgram =
    "%\r\n"                                     // 0
    "O0100\r\n"                                 // 1
    "T01\r\n"                                   // 2
    "M06\r\n"                                   // 3  tool 1
    "G90 G00 G54 X0. Y0.\r\n"                   // 4
    "G43 H01 Z50.\r\n"                          // 5
    "S1000 M03\r\n"                             // 6
    "G00 X10. Y10.\r\n"                         // 7  move 0
    "Z2.\r\n"                                   // 8  move 1
    "G01 Z-5. F100\r\n"                         // 9  move 2
    "X40.\r\n"                                  // 10 move 3
    "G03 X50. Y20. I0. J10.\r\n"                // 11 move 4
    "G02 X40. Y10. I-10. J0.\r\n"               // 12 move 5
    "G00 Z50.\r\n"                              // 13 move 6
    "T02\r\n"                                   // 14
    "M06\r\n"                                   // 15 tool 2
    "G90 G00 G54 X0. Y0.\r\n"                   // 16
    "G43 H02 Z50.\r\n"                          // 17
    "S800 M03\r\n"                              // 18
    "G98 G81 X20. Y30. R3. Z-15. F120\r\n"      // 19 jump 7, move 8, hole 0
    "X60.\r\n"                                  // 20 move 9, hole 1
    "G80\r\n"                                   // 21
    "T03\r\n"                                   // 22
    "M06\r\n"                                   // 23 tool 3
    "G90 G00 G54 X0. Y0.\r\n"                   // 24
    "G43 H03 Z50.\r\n"                          // 25
    "S600 M03\r\n"                              // 26
    "G98 G83 X20. Y40. R3. Z-10. Q4. F100\r\n"  // 27 jump 10, move 11, hole 2
    "G80\r\n"                                   // 28
    "M30\r\n"                                   // 29
    "%\r\n";                                    // 30

NcViewSettings Settings() {
  NcViewSettings s;
  s.start = {0, 0, 50};
  return s;
}

void WaitLoaded(NcViewWindow& w) {
  QTRY_VERIFY_WITH_TIMEOUT(w.Loaded() || !w.LoadError().isEmpty(), 10000);
}

void ClickRow(QListView* list, int row) {
  const QModelIndex index = list->model()->index(row, 0);
  list->scrollTo(index);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

QPoint PixelOf(ToolpathWidget* view, double x, double y) {
  const ViewMapping& m = view->Mapping();
  return QPoint(static_cast<int>(std::lround(m.PixelX(x))), static_cast<int>(std::lround(m.PixelY(y))));
}

}  // namespace

class NcViewTest : public QObject {
  Q_OBJECT

 private slots:
  void SelectingALineHighlightsItsMoveAndClickingAMoveSelectsItsLine() {
    test::TestFolder folder;
    folder.Write("O0100.NC", kProgram);
    NcViewWindow w(folder.File("O0100.NC"), Settings());
    w.show();
    w.StartLoading();
    WaitLoaded(w);
    QVERIFY(w.Loaded());
    QCOMPARE(w.ProgramList()->model()->rowCount(), 31);
    QCOMPARE(w.Model().moves.size(), std::size_t{12});
    using Range = std::pair<std::size_t, std::size_t>;

    // The G03 of line 11 is move 4; the G02 of line 12 move 5.
    ClickRow(w.ProgramList(), 11);
    QCOMPARE(w.ProgramList()->currentIndex().row(), 11);
    QCOMPARE(w.PlanView()->HighlightedMoves(), Range(4, 5));
    QCOMPARE(w.SideView()->HighlightedMoves(), Range(4, 5));
    ClickRow(w.ProgramList(), 12);
    QCOMPARE(w.PlanView()->HighlightedMoves(), Range(5, 6));
    // A hole line: its positioning (the jump before it is no move of the line) and its hole.
    ClickRow(w.ProgramList(), 20);
    QCOMPARE(w.PlanView()->HighlightedMoves(), Range(9, 10));
    QCOMPARE(w.PlanView()->HighlightedHoles(), Range(1, 2));
    // A line that moves nothing highlights nothing.
    ClickRow(w.ProgramList(), 14);
    const Range none = w.PlanView()->HighlightedMoves();
    QCOMPARE(none.first, none.second);

    // Clicking the feed of line 10 (10, 10 to 40, 10) in the plan selects its row; so does the hole of
    // line 27 at 20, 40 and, in the side view, the bottom of the hole of line 19 (X 20, Z -15).
    QTest::mouseClick(w.PlanView(), Qt::LeftButton, {}, PixelOf(w.PlanView(), 25, 10));
    QCOMPARE(w.ProgramList()->currentIndex().row(), 10);
    QCOMPARE(w.PlanView()->HighlightedMoves(), Range(3, 4));
    QTest::mouseClick(w.PlanView(), Qt::LeftButton, {}, PixelOf(w.PlanView(), 20, 40));
    QCOMPARE(w.ProgramList()->currentIndex().row(), 27);
    QTest::mouseClick(w.SideView(), Qt::LeftButton, {}, PixelOf(w.SideView(), 20, -14.5));
    QCOMPARE(w.ProgramList()->currentIndex().row(), 19);

    // Each tool in its colour, with its T number.
    QListWidget* legend = w.Legend();
    QCOMPARE(legend->count(), 3);
    const QString names[3] = {"T01", "T02", "T03"};
    const QColor colours[3] = {QColor(0, 90, 200), QColor(210, 40, 40), QColor(0, 150, 60)};
    for (int k = 0; k < 3; ++k) {
      QCOMPARE(legend->item(k)->text(), names[k]);
      QCOMPARE(legend->item(k)->data(Qt::UserRole).value<QColor>(), colours[k]);
    }

    // The estimate's figures: rapids sqrt(200) + 48 + 55 + sqrt(5525) + 112 + sqrt(5825) + 112 +
    // sqrt(5600) + 94 = 660.627 at 3000 and the pecks 58 at 1000 (16.5 s); cutting 7 + 30 + two
    // quarter circles of radius 10 + 16 = 84.416 at F100 and 36 at F120 (68.6 s); three changes of 6 s
    // and three starts of 0.3 s (18.9 s); 104.1 s in all.
    QCOMPARE(w.TimeText(), QStringLiteral("早送時間 0:00:16　切削時間 0:01:08　工具時間 0:00:18　加工時間 "
                                          "0:01:44　早送距離 718.627　切削距離 120.416"));
  }

  void WheelZoomsDragPansAndFitFits() {
    test::TestFolder folder;
    folder.Write("O0100.NC", kProgram);
    NcViewWindow w(folder.File("O0100.NC"), Settings());
    w.show();
    w.StartLoading();
    WaitLoaded(w);
    ToolpathWidget* plan = w.PlanView();
    const ViewMapping fitted = plan->Mapping();
    const QPointF at(plan->width() / 2.0, plan->height() / 2.0);
    QWheelEvent wheel(at, plan->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plan, &wheel);
    QCOMPARE(plan->Mapping().scale, fitted.scale * 1.25);

    // A drag moves the picture by the pointer's way and selects nothing.
    const ViewMapping zoomedBefore = plan->Mapping();
    const int row = w.ProgramList()->currentIndex().row();
    const QPoint from(20, 20), to(60, 50);
    QTest::mousePress(plan, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), plan->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(plan, &move);
    QTest::mouseRelease(plan, Qt::LeftButton, {}, to);
    const ViewMapping moved = plan->Mapping();
    QCOMPARE(moved.originX, zoomedBefore.originX + 40);
    QCOMPARE(moved.originY, zoomedBefore.originY + 30);
    QCOMPARE(w.ProgramList()->currentIndex().row(), row);

    w.findChild<QAction*>("fit")->trigger();
    QCOMPARE(plan->Mapping().scale, fitted.scale);
    QCOMPARE(plan->Mapping().originX, fitted.originX);
    QCOMPARE(plan->Mapping().originY, fitted.originY);
  }

  void TruncatedAndBinaryFilesShowTheirMarkedLines() {
    test::TestFolder folder;
    folder.Write("CUT.NC", "%\r\nO0001\r\nG00 X10. Y10.\r\nG01 X20. Y1");
    NcViewWindow cut(folder.File("CUT.NC"), Settings());
    cut.show();
    cut.StartLoading();
    WaitLoaded(cut);
    QVERIFY(cut.Loaded());
    QAbstractItemModel* rows = cut.ProgramList()->model();
    QCOMPARE(rows->rowCount(), 4);
    QCOMPARE(rows->data(rows->index(2, 0)).toString(), QStringLiteral("     3  G00 X10. Y10."));
    QCOMPARE(
        rows->data(rows->index(3, 0)).toString(),
        QStringLiteral("     4  G01 X20. Y1　◀ ファイルが行の途中で終わっています、プログラムの終わり (M30, "
                       "M02, %) がありません"));
    QVERIFY(rows->data(rows->index(3, 0), Qt::BackgroundRole).isValid());
    QVERIFY(!rows->data(rows->index(2, 0), Qt::BackgroundRole).isValid());
    QVERIFY(cut.TimeText().endsWith(QStringLiteral("エラー行 1")));
    // The part before the cut is drawn.
    QCOMPARE(cut.Model().moves.size(), std::size_t{2});

    // Binary bytes: a NUL and bytes that are no CP932 on line 1, shown as "?" and the replacement
    // character, the line marked; the readable line 2 still draws.
    folder.Write("BIN.NC", std::string("\x01\x02\xFF\x00\x80z\nG00 X5. Y5.\nM30\n", 20));
    NcViewWindow bin(folder.File("BIN.NC"), Settings());
    bin.show();
    bin.StartLoading();
    WaitLoaded(bin);
    rows = bin.ProgramList()->model();
    QCOMPARE(rows->rowCount(), 3);
    const QString first = rows->data(rows->index(0, 0)).toString();
    QVERIFY2(first.startsWith(QStringLiteral("     1  ??")), qPrintable(first));
    QVERIFY2(first.endsWith(QStringLiteral("　◀ ＮＣデータに使えない文字があります")), qPrintable(first));
    QCOMPARE(bin.Model().moves.size(), std::size_t{1});
    QCOMPARE(bin.Model().moves[0].line, 1u);
  }

  void AFileThatCannotBeReadIsReported() {
    test::TestFolder folder;
    NcViewWindow w(folder.File("NONE.NC"), Settings());
    QStringList shown;
    w.showError = [&shown](const QString& text) { shown << text; };
    w.show();
    w.StartLoading();
    WaitLoaded(w);
    QVERIFY(!w.Loaded());
    const QString expected = QStringLiteral("エラー：ＮＣファイル %1 が開けません。")
                                 .arg(QString::fromStdString(folder.File("NONE.NC")));
    QCOMPARE(shown, QStringList{expected});
    QCOMPARE(w.TimeText(), expected);
  }
};

QTEST_MAIN(NcViewTest)
#include "NcViewTest.moc"
