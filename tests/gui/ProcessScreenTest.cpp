// The process screen driven from the keyboard over the shipped example project: opened in its three
// modes as the main window opens it, rows typed field by field with Tab, the tool-number rule on
// leaving a T field, and the commands; then the stored process records, the NC file and the boxes.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "gui/ScreenFixture.h"
#include "gui/talvorin/ProcessDialog.h"
#include "outputs/Jobs.h"
#include "project/Project.h"
#include "shell/ProgramSetup.h"

using namespace talvorin;
using Screen = test::ScreenFixture;
using gui::ProcessFieldId;

namespace {

const char* kKeys[13] = {"tool", "diam", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"};

// The screen as the main window opens it on the example project: the header loaded, the form opened in
// `mode`, then shown.
struct ProcessScreen {
  explicit ProcessScreen(ProcessMode mode, const std::function<void(Screen&)>& prepare = {})
      : s(
            [this, mode](Context& ctx, QWidget* main) {
              CreateFolders(ctx);
              ctx.dbPath = ctx.inst.programFolder + "db/EXAMPLE-FANUC.dat";
              defineLoadMain(ctx, header);
              form.mode = mode;
              opened = OpenProcessScreen(ctx, form, header, CreateNcProgramWithFollowUps);
              return gui::MakeProcessScreen(ctx, form, main);
            },
            prepare) {}

  QComboBox* Name(int row) { return s.Control<QComboBox>(ProcessFieldId(row, kProcName)); }
  QLineEdit* Field(int row, int column) { return s.Edit(ProcessFieldId(row, column)); }
  std::string Stored(int n, const char* key) {
    return ReadString(s.t->ctx.dbPath, "ncproc" + std::to_string(n), key, 32, "(absent)");
  }
  QStringList StoredRecord(int n) {
    QStringList values;
    for (const char* key : kKeys)
      values << QString::fromStdString(Stored(n, key));
    return values;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  MainForm header;
  ProcessForm form;
  int opened = 0;
  Screen s;
};

// Fills row `row` from the keyboard: the name chosen from its list (entry `entry`, -1 for none), then
// after each Tab the next field's text replaced; the last Tab leaves the row.
void TypeRow(ProcessScreen& p, int row, int entry, const QStringList& fields) {
  QComboBox* list = p.Name(row);
  list->setFocus();
  if (entry < 0) {
    QTest::keyClick(list, Qt::Key_Delete);
  } else {
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
      QTest::keyClick(list, Qt::Key_Down);
  }
  for (int c = 1; c < kProcessColumns; ++c) {
    p.Key(Qt::Key_Tab);
    QWidget* field = QApplication::focusWidget();
    QVERIFY(field);
    QCOMPARE(field->objectName(), QString::number(ProcessFieldId(row, c)));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, fields[c - 1]);
  }
  p.Key(Qt::Key_Tab);
}

QStringList RowTexts(ProcessScreen& p, int row) {
  QStringList texts{p.Name(row)->currentText()};
  for (int c = 1; c < kProcessColumns; ++c)
    texts << p.Field(row, c)->text();
  return texts;
}

// Entries of the shipped tool list.
enum { kCenterDrillEntry = 0, kDrillEntry = 1, kChamferEntry = 2, kRoughEndmillEntry = 6 };

}  // namespace

class ProcessScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void screenShowsThirtyCaptionedRowsAndKeepsTheKeyboardInIt() {
    ProcessScreen p(ProcessMode::kReading);
    QCOMPARE(p.s.dialog->objectName(), QStringLiteral("NCPROCESSINGDLG"));
    QCOMPARE(p.s.dialog->windowTitle(), QStringLiteral("加工工程作成"));
    // The keyboard starts in row 1.
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.Name(1)));
    for (const char* heading :
         {"工程", "工具名", "径", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"})
      QVERIFY2(test::FindByCaption(p.s.dialog.get(), QString::fromUtf8(heading)), heading);
    for (const char* caption : {"[01]", "[30]", "[01] 径", "[15] T", "[30] 定義", "[30] OFF"})
      QVERIFY2(test::FindByCaption(p.s.dialog.get(), QString::fromUtf8(caption)), caption);
    // A list is named by its value on this desktop: the row caption is its label, the caption its name.
    QCOMPARE(p.Name(7)->accessibleName(), QStringLiteral("[07] 工具名"));
    bool labelled = false;
    for (QLabel* label : p.s.dialog->findChildren<QLabel*>())
      labelled = labelled || (label->text() == "[07]" && label->buddy() == p.Name(7));
    QVERIFY(labelled);
    // Menu and bar.
    QStringList bar;
    for (QAction* a : p.s.dialog->findChild<QMenuBar*>()->actions())
      bar << a->text();
    QCOMPARE(bar, (QStringList{"ファイル", "【工程保存】", "【NCデータ作成】", "【NCデータ転送】",
                               "【TRYCUT再実行】", "【図面表示】", "【NCデータ描画】", "【工程終了】"}));
    QStringList file;
    for (QAction* a : p.s.dialog->findChild<QMenuBar*>()->actions().front()->menu()->actions())
      file << a->text() + "=" + a->objectName();
    QCOMPARE(file,
             (QStringList{"NCファイルを開く=40055", "工程初期化=40056", "工程読込=40050", "工程終了=40103"}));
    // Every command has a key.
    for (QAction* a : p.s.dialog->findChildren<QAction*>())
      if (!a->menu() && a->objectName() != "40103") QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->text()));

    // The example's fifteen records in rows 1 to 15, as stored.
    QCOMPARE(RowTexts(p, 2),
             (QStringList{"ドリル", "10", "14", "14", "", "800", "128", "83", "2", "-25", "10", "", "1"}));
    QCOMPARE(p.Name(15)->currentText(), QStringLiteral("面取カッター"));
    QCOMPARE(p.Name(16)->count(), 0);

    // Tab runs along a row and on to the next; Enter stays in the field.
    p.Field(1, kProcDefinition)->setFocus();
    p.Key(Qt::Key_Return);
    QVERIFY(p.s.dialog->isVisible());
    p.Key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.Name(2)));
    // The rows beyond the window come into view as the focus reaches them.
    auto* area = p.s.dialog->findChild<QScrollArea*>(QStringLiteral("PROCESSROWS"));
    QCOMPARE(area->verticalScrollBar()->value(), 0);
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
    p.Field(29, kProcDefinition)->setFocus();
    p.Key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.Name(30)));
    QVERIFY(area->verticalScrollBar()->value() > 0);
    const QRect shown = area->viewport()->rect();
    const QPoint at = p.Name(30)->mapTo(area->viewport(), QPoint(0, 0));
    QVERIFY(shown.contains(QRect(at, p.Name(30)->size())));
    // Nothing typed: the close command closes without a question.
    p.Key(Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!p.s.dialog->isVisible());
    QVERIFY(p.s.t->dialogs.asked.empty());
  }

  void savingRenumbersCompleteRowsAndReportsAMissingField() {
    ProcessScreen p(ProcessMode::kReading);
    // Emptied on the screen only: the fifteen records stay.
    p.s.Command(40056);
    QCOMPARE(p.s.t->dialogs.asked, std::vector<std::string>{"保存してある工程も削除しますか？"});
    QVERIFY(p.s.HasLine("+++ 加工工程初期化"));
    QCOMPARE(p.Name(1)->currentText(), QString());
    QCOMPARE(p.Stored(15, "tool"), std::string("面取カッター"));

    TypeRow(p, 1, kDrillEntry, {"10", "14", "14", "", "800", "128", "83", "2.", "-25.000", "10", "", "1"});
    TypeRow(p, 2, kCenterDrillEntry, {"3", "1", "1", "", "2120", "106", "81", "", "-1", "", "", "1"});
    TypeRow(p, 4, kChamferEntry, {"20", "15", "15", "", "800", "64", "03", "2.", "-5.5", "", "", "1"});
    p.Key(Qt::Key_S, Qt::ControlModifier);
    // Row 2 without R: named in the box and left out; row 3 has no name.
    QCOMPARE(p.s.LastBox(), QStringLiteral("エラー：Ｒ点の設定がありません"));
    QCOMPARE(p.StoredRecord(1),
             (QStringList{"ドリル", "10", "14", "14", "", "800", "128", "83", "2", "-25", "10", "", "1"}));
    QCOMPARE(p.StoredRecord(2),
             (QStringList{"面取カッター", "20", "15", "15", "", "800", "64", "3", "2", "-5.5", "", "", "1"}));
    for (int n = 3; n <= 15; ++n)
      for (const char* key : kKeys)
        QCOMPARE(p.Stored(n, key), std::string("(absent)"));
    // The row that was not saved is still a change: closing asks, and "no" keeps the screen.
    p.s.Command(40103);
    QCOMPARE(p.s.t->dialogs.asked.back(), std::string("変更を保存せずに閉じますか？"));
    QVERIFY(p.s.dialog->isVisible());

    // R completed: rows 1, 2 and 4 become records 1 to 3, record 4 is gone.
    p.s.Type(ProcessFieldId(2, kProcR), QStringLiteral("2"));
    p.s.Command(40051);
    QCOMPARE(p.StoredRecord(2),
             (QStringList{"センタードリル", "3", "1", "1", "", "2120", "106", "81", "2", "-1", "", "", "1"}));
    QCOMPARE(p.Stored(3, "tool"), std::string("面取カッター"));
    QCOMPARE(p.Stored(4, "tool"), std::string("(absent)"));
    QVERIFY(p.s.HasLine("+++ 加工工程保存完了"));
    // Read back: the chamfer in row 3 as stored (G 3, R 2), nothing below it.
    p.Key(Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(RowTexts(p, 3),
             (QStringList{"面取カッター", "20", "15", "15", "", "800", "64", "3", "2", "-5.5", "", "", "1"}));
    QCOMPARE(RowTexts(p, 4), (QStringList{"", "", "", "", "", "", "", "", "", "", "", "", ""}));
    const std::size_t asked = p.s.t->dialogs.asked.size();
    p.s.dialog->close();
    QVERIFY(!p.s.dialog->isVisible());
    QCOMPARE(p.s.t->dialogs.asked.size(), asked);
  }

  void aStoredNameTheToolListNoLongerOffersIsKeptOnSaving() {
    // The tool list without the tap: row 6 of the example still shows and keeps its process.
    ProcessScreen p(ProcessMode::kReading, [](Screen& s) {
      s.folder.WriteCp932("defineTool.tbl",
                          "[TOOLLIST]\r\nindex=2\r\nTOOLLIST0=センタードリル\r\nTOOLLIST1=ドリル\r\n"
                          "TOOLLIST2=面取カッター\r\n");
    });
    QCOMPARE(p.Name(6)->currentText(), QStringLiteral("並目タップ"));
    QCOMPARE(p.Name(1)->count(), 3);
    p.s.Command(40051);
    QCOMPARE(p.Stored(6, "tool"), std::string("並目タップ"));
    QCOMPARE(p.Stored(15, "tool"), std::string("面取カッター"));
    // Delete takes a name away; the row is then left out and the rows after it move up.
    p.Name(6)->setFocus();
    p.Key(Qt::Key_Delete);
    QCOMPARE(p.Name(6)->currentText(), QString());
    p.s.Command(40051);
    QCOMPARE(p.Stored(6, "tool"), std::string("センタードリル"));
    QCOMPARE(p.Stored(15, "tool"), std::string("(absent)"));
  }

  void initialiseWithYesRemovesTheFifteenRecords() {
    ProcessScreen p(ProcessMode::kReading);
    QCOMPARE(p.Stored(15, "tool"), std::string("面取カッター"));
    p.s.t->dialogs.answers = {true};
    p.Name(1)->setFocus();
    p.Key(Qt::Key_I, Qt::ControlModifier);
    QVERIFY(p.s.HasLine("+++ 保存加工工程も初期化"));
    for (int n = 1; n <= 15; ++n) {
      QCOMPARE(p.StoredRecord(n), QStringList(13, QStringLiteral("(absent)")));
      QCOMPARE(RowTexts(p, n), QStringList(13, QString()));
    }
  }

  void leavingATFieldChecksAndSpreadsTheToolNumber() {
    ProcessScreen p(ProcessMode::kReading);
    p.s.Command(40056);
    TypeRow(p, 1, kDrillEntry, {"6.8", "", "", "", "", "", "83", "", "", "", "", ""});
    TypeRow(p, 2, kDrillEntry, {"6.8", "", "", "", "", "", "83", "", "", "", "", ""});
    TypeRow(p, 3, kDrillEntry, {"8.5", "", "", "", "", "", "83", "", "", "", "", ""});
    TypeRow(p, 4, kRoughEndmillEntry, {"10", "", "", "", "", "", "41", "", "", "", "", ""});
    // Row 1's T left: its H, and the same drill in row 2.
    p.s.Type(ProcessFieldId(1, kProcT), QStringLiteral("5"));
    p.Key(Qt::Key_Tab);
    QCOMPARE(p.Field(1, kProcH)->text(), QStringLiteral("5"));
    QCOMPARE(p.Field(2, kProcT)->text(), QStringLiteral("5"));
    QCOMPARE(p.Field(2, kProcH)->text(), QStringLiteral("5"));
    QCOMPARE(p.Field(3, kProcT)->text(), QString());
    // The same number for another drill is refused; the typed number stays.
    p.s.Type(ProcessFieldId(3, kProcT), QStringLiteral("5"));
    p.Key(Qt::Key_Tab);
    QCOMPARE(p.s.LastBox(), QStringLiteral("エラー：工程[1] で工具番号 5 が既に使われてます"));
    QVERIFY(p.s.HasLine("エラー：工程[3 | 1] 工具番号 5=5 が同じです"));
    QVERIFY(p.s.HasLine("エラー：工程[3] T=5 | 工具名 ドリル | 工具径 8.5"));
    QCOMPARE(p.Field(3, kProcT)->text(), QStringLiteral("5"));
    QCOMPARE(p.Field(3, kProcH)->text(), QString());
    // A milling row takes the number as its D too.
    p.s.Type(ProcessFieldId(4, kProcT), QStringLiteral("7"));
    p.Key(Qt::Key_Tab);
    QCOMPARE(p.Field(4, kProcH)->text(), QStringLiteral("7"));
    QCOMPARE(p.Field(4, kProcD)->text(), QStringLiteral("7"));
    // Rows beyond the fifteenth take no part.
    const std::size_t boxes = p.s.t->boxes.size();
    p.s.Type(ProcessFieldId(16, kProcT), QStringLiteral("7"));
    p.Key(Qt::Key_Tab);
    QCOMPARE(p.Field(16, kProcH)->text(), QString());
    QCOMPARE(p.s.t->boxes.size(), boxes);
  }

  void creationModeSavesBeforeTheNcProgram() {
    ProcessScreen p(ProcessMode::kCreation);
    QCOMPARE(p.opened, 0);
    // The example's first group is a drilled hole: centre drill, then the drill.
    QCOMPARE(p.Name(1)->currentText(), QStringLiteral("センタードリル"));
    QCOMPARE(p.Name(2)->currentText(), QStringLiteral("ドリル"));
    QVERIFY(p.s.folder.Read("ncdata/O1001.NC").empty());
    p.s.Type(ProcessFieldId(2, kProcS), QStringLiteral("913"));
    p.Key(Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(p.Stored(2, "S"), std::string("913"));
    QVERIFY(p.s.folder.ReadCp932("ncdata/O1001.NC").find("S913") != std::string::npos);
    QVERIFY(p.s.HasLine("+++ 加工工程保存完了"));
    // Saved with the program: closing asks nothing.
    p.s.Command(40103);
    QVERIFY(p.s.t->dialogs.asked.empty());
  }

  void ncCreationModeReadsTheStoredProcessesThenSavesTheScreen() {
    ProcessScreen p(ProcessMode::kNcCreation, [](Screen& s) {
      WriteString(s.folder.File("db/EXAMPLE-FANUC.dat"), "ncproc2", "S", "777");
    });
    // Opening read the records and made the program from them.
    QCOMPARE(p.opened, 0);
    QCOMPARE(p.Field(2, kProcS)->text(), QStringLiteral("777"));
    QVERIFY(p.s.folder.ReadCp932("ncdata/O1001.NC").find("S777") != std::string::npos);
    QVERIFY(!p.s.HasLine("+++ 加工工程保存完了"));
    // From then on the screen is in creation mode: the next creation saves what it shows.
    p.s.Type(ProcessFieldId(2, kProcS), QStringLiteral("555"));
    p.s.Command(40052);
    QCOMPARE(p.Stored(2, "S"), std::string("555"));
    const std::string program = p.s.folder.ReadCp932("ncdata/O1001.NC");
    QVERIFY(program.find("S555") != std::string::npos);
    QVERIFY(program.find("S777") == std::string::npos);
  }
};

QTEST_MAIN(ProcessScreenTest)
#include "ProcessScreenTest.moc"
