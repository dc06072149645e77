// The main window driven as a user drives it: typing into its fields, choosing from its lists, its menu
// and bar commands and its buttons; then the project files, the messages and the widgets are checked.
#include <sys/stat.h>
#include <QComboBox>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

#include "gui/TalvorinFixture.h"

using namespace talvorin;
using talvorin::test::TalvorinFixture;

namespace {

// The command table as the menu shows it: id, menu, caption, bar caption.
struct ExpectedCommand {
  int id;
  QString menu, caption, bar;
};

const std::vector<ExpectedCommand> kMenu = {
    {40001, "ファイル", "読み込み", ""},
    {40021, "ファイル", "新規保存", ""},
    {40002, "ファイル", "上書保存", "【保存】"},
    {40055, "ファイル", "ＮＣファイルを開く", ""},
    {40003, "閉じる", "TRYCUT2000", ""},
    {40004, "閉じる", "DXF VIEWER", ""},
    {40009, "ファイル", "終了", "【終了】"},
    {40010, "設定", "初期設定", ""},
    {40011, "設定", "使用工具設定", ""},
    {40012, "設定", "加工条件設定", ""},
    {40013, "設定", "タップ加工設定", ""},
    {40014, "設定", "冒頭末尾追加データ設定", ""},
    {40015, "設定", "座標系登録", ""},
    {40020, "コマンド", "初期化", ""},
    {40022, "コマンド", "図面表示", "【図面】"},
    {40050, "コマンド", "工程読込", "【工程読込】"},
    {40023, "コマンド", "工程作成", "【工程作成】"},
    {40052, "コマンド", "NCデータ作成", "【NCデータ作成】"},
    {40053, "コマンド", "NCデータ転送", "【NCデータ転送】"},
    {40054, "コマンド", "TRYCUT再実行", ""},
    {40024, "コマンド", "NCデータ描画", ""},
    {40025, "コマンド", "加工時間算出", ""},
    {40026, "コマンド", "加工指示書", ""},
    {40090, "ヘルプ", "お読みください", ""},
    {40091, "ヘルプ", "バージョン", ""},
    {40092, "ヘルプ", "プログラム情報", ""},
    {40093, "ヘルプ", "システム情報登録", ""},
};

template <class W>
W* Control(TalvorinFixture& f, int id) {
  W* w = f.window->findChild<W*>(QString::number(id));
  if (!w) qFatal("control %d missing", id);
  return w;
}

// The menu action of `id` (not the bar item).
QAction* MenuAction(TalvorinFixture& f, int id) {
  for (QAction* a : f.window->menuBar()->findChildren<QAction*>(QString::number(id)))
    if (a->parent() != f.window->menuBar()) return a;
  return nullptr;
}

void Type(TalvorinFixture& f, int id, const QString& text) {
  if (auto* edit = f.window->findChild<QLineEdit*>(QString::number(id))) {
    edit->clear();
    QTest::keyClicks(edit, text);
  } else {
    QComboBox* combo = Control<QComboBox>(f, id);
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), text);
  }
}

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i)
    items << combo->itemText(i);
  return items;
}

// Whether a message line from `from` on holds `text`.
bool LineSince(TalvorinFixture& f, std::size_t from, const std::string& text) {
  for (std::size_t i = from; i < f.Lines().size(); ++i)
    if (f.Lines()[i].find(text) != std::string::npos) return true;
  return false;
}

std::string Db(TalvorinFixture&, const char* section, const char* key, const std::string& file) {
  return ReadString(file, section, key, 128, "(none)");
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void menuHasEveryCommandWithItsCaptionAndBarItem() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    QCOMPARE(f.window->objectName(), QStringLiteral("TALVORINMAINDLG"));
    QCOMPARE(f.window->menuBar()->objectName(), QStringLiteral("MAINPROGMENU"));
    // Typing starts in the project name.
    QCOMPARE(f.window->focusWidget(), static_cast<QWidget*>(Control<QLineEdit>(f, 1100)));
    for (const ExpectedCommand& c : kMenu) {
      QAction* action = MenuAction(f, c.id);
      QVERIFY2(action, qPrintable(QString::number(c.id)));
      QCOMPARE(action->text(), c.caption);
      QCOMPARE(action->data().toInt(), c.id);
      auto* menu = qobject_cast<QMenu*>(action->parent());
      QVERIFY(menu);
      QCOMPARE(menu->title(), c.menu);
      // Bar items sit on the bar itself.
      QAction* bar = nullptr;
      for (QAction* a : f.window->menuBar()->actions())
        if (a->objectName() == QString::number(c.id)) bar = a;
      QCOMPARE(bar ? bar->text() : QString(), c.bar);
    }
    // Menus, in order, then the bar items.
    QStringList bar;
    for (QAction* a : f.window->menuBar()->actions())
      bar << a->text();
    QCOMPARE(bar, (QStringList{"ファイル", "設定", "コマンド", "ヘルプ", "【保存】", "【終了】", "【図面】",
                               "【工程読込】", "【工程作成】", "【NCデータ作成】", "【NCデータ転送】"}));
  }

  void everyControlMenuItemAndButtonIsFoundByItsCaption() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    const QStringList captions = {
        "プロジェクト名", "商品名／加工物", "材料寸法 X", "材料寸法 Y", "材料寸法 Z",
        "材 質",          "加工原点",       "制御装置",   "座標系",     "Ｏ番号",
        "[01]",           "[06]",           "ファイル",   "【保存】",   "【NCデータ転送】"};
    for (const QString& caption : captions)
      QVERIFY2(test::FindByCaption(f.window.get(), caption), qPrintable(caption));
    // Menu items inside the menus.
    for (const ExpectedCommand& c : kMenu) {
      QMenu* menu = qobject_cast<QMenu*>(MenuAction(f, c.id)->parent());
      QVERIFY2(test::FindByCaption(menu, c.caption), qPrintable(c.caption));
    }
    // A field found by caption is the field of that control id.
    QCOMPARE(test::FindByCaption(f.window.get(), "Ｏ番号")->object(),
             static_cast<QObject*>(Control<QLineEdit>(f, 1123)));
    QCOMPARE(test::FindByCaption(f.window.get(), "材料寸法 Y")->object(),
             static_cast<QObject*>(Control<QLineEdit>(f, 1111)));
  }

  void everyCommandReachesItsHandler() {
    TalvorinFixture f;
    f.folder.Write("close_trycut.sh", "exit 0\n");
    f.folder.Write("close_dxf.sh", "exit 0\n");
    f.Ini("TALVORIN", "closetrycut", "close_trycut.sh");
    f.Ini("TALVORIN", "closedxfviewer", "close_dxf.sh");
    QVERIFY(f.Start());
    const std::string trycutClose = f.folder.File("close_trycut.sh");
    const std::string dxfClose = f.folder.File("close_dxf.sh");
    auto runs = [&f] {
      std::vector<std::string> runs;
      for (const auto& call : f.t->platform.calls)
        if (call.what == "run") runs.push_back(call.target);
      return runs;
    };
    // The evidence each command leaves: a routine's line, a dialog, a screen, a command file run.
    struct Evidence {
      int id;
      const char* line;
    };
    const std::vector<Evidence> byLine = {
        {40021, "!!! routine name : SettingDBfilename"},  {40002, "!!! routine name : SaveTALVORINdata"},
        {40055, "!!! routine name : OpenNcFile"},         {40011, "!!! routine name : SetupToolsused"},
        {40012, "!!! routine name : StartupToolInitial"}, {40050, "!!! routine name : MakeNcProcess"},
        {40023, "!!! routine name : MakeNcProcess"},      {40052, "!!! routine name : MakeNcProcess"},
        {40053, "!!! routine name : TransferNcFile"},     {40025, "Processing_Time"},
        {40026, "!!! routine name : WriteProcessSheet"},  {40093, "!!! routine name : SystemInformation"},
        {2001, "!!! routine name : SettingDBfilename"},  // no project yet: it is created first
    };
    for (const Evidence& e : byLine) {
      const std::size_t from = f.Lines().size();
      if (e.id > 2006) {
        MenuAction(f, e.id)->trigger();
      } else {
        QTest::mouseClick(Control<QPushButton>(f, e.id), Qt::LeftButton);
      }
      if (!LineSince(f, from, e.line)) {
        QString all;
        for (std::size_t i = from; i < f.Lines().size(); ++i)
          all += QString::fromStdString(f.Lines()[i]) + "\n";
        QFAIL(qPrintable(QStringLiteral("%1: no line with %2 in:\n%3").arg(e.id).arg(e.line).arg(all)));
      }
    }
    // The six buttons set the current hole group.
    for (int n = 6; n >= 1; --n) {
      QTest::mouseClick(Control<QPushButton>(f, 2000 + n), Qt::LeftButton);
      QCOMPARE(f.window->CurrentHoleGroup(), n);
    }
    // Dialogs and screens.
    MenuAction(f, 40001)->trigger();
    QCOMPARE(f.t->dialogs.asked.back(), std::string("ファイルを開く"));
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：ファイルの読み込みを中止します。"));
    MenuAction(f, 40091)->trigger();
    MenuAction(f, 40092)->trigger();
    for (int id : {40010, 40013, 40014, 40015})
      MenuAction(f, id)->trigger();
    QCOMPARE(f.screens, (QStringList{"MCTOOLLISTDLG", "PROCESSINGCONDITIONDLG", "VERSIONBOX",
                                     "PROGRAMINFODLG", "INITIALSETTINGDLG", "TAPPINGSETTINGSDLG",
                                     "SETTINGADDNCDATADLG", "REGCOORDINATESYSDLG"}));
    const std::size_t callsBeforeHelp = f.t->platform.calls.size();
    MenuAction(f, 40090)->trigger();
    QCOMPARE(f.t->platform.calls.size(), callsBeforeHelp + 1);
    QCOMPARE(f.t->platform.calls.back().what, std::string("open"));
    QCOMPARE(f.t->platform.calls.back().target, f.folder.File("help/index.html"));
    // The close commands, alone and before the drawing, TRYCUT and initialisation.
    MenuAction(f, 40003)->trigger();
    MenuAction(f, 40004)->trigger();
    MenuAction(f, 40022)->trigger();
    MenuAction(f, 40054)->trigger();
    MenuAction(f, 40020)->trigger();
    QCOMPARE(runs(),
             (std::vector<std::string>{trycutClose, dxfClose, dxfClose, trycutClose, trycutClose, dxfClose}));
    // The NC viewer (the shipped one of the program folder) shows the loaded project's NC file
    // (without a project it does nothing).
    f.folder.Write("ncdata/O1001.NC", "%\r\n");
    f.folder.Write("talvorin-ncview", "");
    f.t->dialogs.files.push_back(f.folder.File("db/EXAMPLE-FANUC.dat"));
    MenuAction(f, 40001)->trigger();
    MenuAction(f, 40024)->trigger();
    QCOMPARE(f.t->platform.calls.back().what, std::string("start"));
    QCOMPARE(f.t->platform.calls.back().target, f.folder.File("talvorin-ncview"));
    QCOMPARE(f.t->platform.calls.back().args, std::vector<std::string>{f.folder.File("ncdata/O1001.NC")});
    // The bar items run the same commands.
    const std::size_t from = f.Lines().size();
    for (QAction* a : f.window->menuBar()->actions())
      if (a->objectName() == "40002") a->trigger();
    QVERIFY(LineSince(f, from, "!!! routine name : SaveTALVORINdata"));
    // 40009 closes the window.
    MenuAction(f, 40009)->trigger();
    QVERIFY(!f.window->isVisible());
  }

  void everydayCommandsRunFromTheKeyboard() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    const struct {
      QKeySequence key;
      const char* line;
    } keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_S), "!!! routine name : SaveTALVORINdata"},
        {QKeySequence(Qt::CTRL | Qt::Key_O), "!!! routine name : OpenNcFile"},
        {QKeySequence(Qt::CTRL | Qt::Key_M), "!!! routine name : MakeNcProcess"},
        {QKeySequence(Qt::CTRL | Qt::Key_T), "!!! routine name : TransferNcFile"},
    };
    for (const auto& k : keys) {
      const std::size_t from = f.Lines().size();
      QTest::keySequence(f.window.get(), k.key);
      QVERIFY2(LineSince(f, from, k.line), qPrintable(k.key.toString()));
    }
    // The menu shows each key beside its command.
    QCOMPARE(MenuAction(f, 40002)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    const std::size_t callsBeforeHelp = f.t->platform.calls.size();
    QTest::keySequence(f.window.get(), QKeySequence(Qt::Key_F1));
    QCOMPARE(f.t->platform.calls.size(), callsBeforeHelp + 1);
    QCOMPARE(f.t->platform.calls.back().target, f.folder.File("help/index.html"));
    QTest::keySequence(f.window.get(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(!f.window->isVisible());
  }

  void controllerChoiceFiltersTheCoordinateSystems() {
    TalvorinFixture f;
    f.Ini("machine", "CoordinateSystem", "G53");
    QVERIFY(f.Start());
    QComboBox* controller = Control<QComboBox>(f, 1121);
    QComboBox* systems = Control<QComboBox>(f, 1122);
    QCOMPARE(Items(controller), (QStringList{"FANUC", "OSP"}));
    QCOMPARE(controller->currentText(), QStringLiteral("FANUC"));
    QCOMPARE(Items(systems), (QStringList{"G54", "G55", "G56", "G57", "G58", "G59", "G53"}));
    QCOMPARE(systems->currentText(), QStringLiteral("G54"));
    // Choosing OSP offers the G15 systems (and the one offered always), nothing preselected.
    controller->setFocus();
    QTest::keyClick(controller, Qt::Key_Down);
    QCOMPARE(controller->currentText(), QStringLiteral("OSP"));
    QCOMPARE(Items(systems),
             (QStringList{"G15H01", "G15H02", "G15H03", "G15H04", "G15H05", "G15H06", "G53"}));
    QCOMPARE(systems->currentText(), QString());
    QTest::keyClick(controller, Qt::Key_Up);
    QCOMPARE(Items(systems).size(), 7);
    QCOMPARE(Items(systems).front(), QStringLiteral("G54"));

    // No controller preselected: every system is offered.
    TalvorinFixture empty;
    empty.Ini("machine", "defaultControlDevice", "-1");
    QVERIFY(empty.Start());
    QCOMPARE(Control<QComboBox>(empty, 1121)->currentText(), QString());
    QCOMPARE(Items(Control<QComboBox>(empty, 1122)).size(), 12);

    // Without the first controller key the list is empty and nothing is chosen.
    TalvorinFixture none;
    none.Ini("machine", "ControlDevice0", "");
    QVERIFY(none.Start());
    QCOMPARE(Control<QComboBox>(none, 1121)->count(), 0);
    QCOMPARE(Control<QComboBox>(none, 1121)->currentText(), QString());
  }

  void newSaveFromTypedFieldsStopsAtEachMissingField() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    MenuAction(f, 40020)->trigger();  // an empty form
    QAction* newSave = MenuAction(f, 40021);
    auto saveFails = [&](const QString& message) {
      const std::size_t boxes = f.t->boxes.size();
      newSave->trigger();
      QCOMPARE(f.t->boxes.size(), boxes + 1);
      QCOMPARE(f.t->boxes.back(), qMakePair(message, -1));
    };
    saveFails("エラー：保存前にプロジェクト名を入力して下さい");
    Type(f, 1100, "plate-7a");
    QCOMPARE(Control<QLineEdit>(f, 1100)->text(), QStringLiteral("PLATE-7A"));
    newSave->trigger();
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：材料 X 寸法が定義されてません"));
    Type(f, 1110, "100");
    // The file does not exist yet: the new file is announced before the layout is written.
    QCOMPARE(f.t->boxes[f.t->boxes.size() - 2],
             qMakePair(QStringLiteral("... 保存ファイルが設定されてません\n... 新規に設定します"), 1));
    saveFails("エラー：材料 Y 寸法が定義されてません");
    Type(f, 1111, "50");
    saveFails("エラー：材料 Z 寸法が定義されてません");
    Type(f, 1112, "12.50");
    saveFails("エラー：材質が定義されてません");
    Type(f, 1113, "s45c");
    saveFails("エラー：制御装置が定義されてません");
    Type(f, 1121, "osp");
    saveFails("エラー：座標系が定義されてません");
    Type(f, 1122, "g54");
    saveFails("エラー：座標系がOSP仕様に定義されてません");
    Type(f, 1122, "g15h01");
    Type(f, 1123, "12x");
    QCOMPARE(Control<QLineEdit>(f, 1123)->text(), QStringLiteral("12"));
    const std::size_t boxes = f.t->boxes.size();
    newSave->trigger();
    QCOMPARE(f.t->boxes.size(), boxes);
    const std::string db = f.folder.File("db/PLATE-7A.dat");
    QCOMPARE(f.Lines().back(), "+++ DBファイル保存 : " + db);
    QCOMPARE(Db(f, "TALVORIN", "project", db), std::string("PLATE-7A"));
    QVERIFY(f.folder.ReadCp932("db/PLATE-7A.dat").find("product=\r\n") != std::string::npos);  // left empty
    QCOMPARE(Db(f, "material", "X", db), std::string("100."));
    QCOMPARE(Db(f, "material", "Z", db), std::string("12.5"));
    QCOMPARE(Db(f, "material", "type", db), std::string("S45C"));
    QCOMPARE(Db(f, "material", "origin", db), std::string("左下"));
    QCOMPARE(Db(f, "material", "originNo", db), std::string("0"));
    QCOMPARE(Db(f, "machine", "ControlDevice", db), std::string("OSP"));
    QCOMPARE(Db(f, "machine", "CoordinateSystem", db), std::string("G15H01"));
    QCOMPARE(Db(f, "machine", "onumber", db), std::string("12"));
    QCOMPARE(Db(f, "machine", "ncfile", db), std::string("O0012.MIN"));
    QCOMPARE(Db(f, "trycut", "Xmax", db), std::string("100"));
    QCOMPARE(Db(f, "trycut", "Zmin", db), std::string("-12.5"));

    // Overwrite: a typed product is added, the rest stays.
    Type(f, 1101, "base");
    QAction* overwrite = MenuAction(f, 40002);
    overwrite->trigger();
    QCOMPARE(Db(f, "TALVORIN", "product", db), std::string("BASE"));
    QCOMPARE(Db(f, "machine", "onumber", db), std::string("12"));
    QVERIFY(std::find(f.Lines().begin(), f.Lines().end(), "... 上書き保存") != f.Lines().end());
  }

  void overwriteSaveWithoutAFileAnnouncesTheNewFile() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    Type(f, 1100, "first");
    Type(f, 1110, "10");
    Type(f, 1111, "20");
    Type(f, 1112, "5");
    MenuAction(f, 40002)->trigger();
    QCOMPARE(f.t->boxes.front(),
             qMakePair(QStringLiteral("... 保存ファイルが設定されてません\n... 新規に設定します"), 1));
    // Material, controller and system come from the preselections: SS400, FANUC, G54.
    const std::string db = f.folder.File("db/FIRST.dat");
    QCOMPARE(Db(f, "material", "type", db), std::string("SS400"));
    QCOMPARE(Db(f, "machine", "ncfile", db), std::string("O1000.NC"));
  }

  void loadFillsTheFormAndShowsTheDrawing() {
    TalvorinFixture f;
    f.folder.Write("quorvex", "#!/bin/sh\n");
    chmod(f.folder.File("quorvex").c_str(), 0755);
    QVERIFY(f.Start());
    const std::string db = f.folder.File("db/EXAMPLE-FANUC.dat");
    f.t->dialogs.files.push_back(db);
    MenuAction(f, 40001)->trigger();
    QCOMPARE(Control<QLineEdit>(f, 1100)->text(), QStringLiteral("EXAMPLE-FANUC"));
    QCOMPARE(Control<QLineEdit>(f, 1101)->text(), QStringLiteral("BASE PLATE"));
    QCOMPARE(Control<QLineEdit>(f, 1110)->text(), QStringLiteral("200."));
    QCOMPARE(Control<QComboBox>(f, 1113)->currentText(), QStringLiteral("SS400"));
    QCOMPARE(Control<QComboBox>(f, 1121)->currentText(), QStringLiteral("FANUC"));
    QCOMPARE(Control<QComboBox>(f, 1122)->currentText(), QStringLiteral("G54"));
    QCOMPARE(Control<QLineEdit>(f, 1123)->text(), QStringLiteral("1001"));
    QCOMPARE(Control<QPushButton>(f, 2001)->text(), QStringLiteral("ドリル穴 [DRILL]"));
    QCOMPARE(Control<QPushButton>(f, 2004)->text(), QStringLiteral("大穴 [BIGHOLE]"));
    QCOMPARE(Control<QPushButton>(f, 2005)->text(), QStringLiteral("[ 5 ]"));
    QCOMPARE(f.window->windowTitle(),
             QString::fromStdString("二次元ＮＣ加工システム / ブレンホルト [" + db + "]"));
    // Then the drawing command: the hole drawing program with the project database.
    QCOMPARE(f.t->platform.calls.back().what, std::string("start"));
    QCOMPARE(f.t->platform.calls.back().target, f.folder.File("quorvex"));
    QCOMPARE(f.t->platform.calls.back().args, std::vector<std::string>{db});
    // The loading initialised the form first, which took a program number.
    QCOMPARE(ReadInt(f.folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1002);

    // Initialising empties the fields, resets the buttons and the title, and shows the next number.
    MenuAction(f, 40020)->trigger();
    for (int id : {1100, 1101, 1110, 1111, 1112})
      QCOMPARE(Control<QLineEdit>(f, id)->text(), QString());
    for (int id : {1113, 1120, 1121, 1122})
      QCOMPARE(Control<QComboBox>(f, id)->currentText(), QString());
    QCOMPARE(Control<QComboBox>(f, 1121)->count(), 2);  // the lists keep their entries
    QCOMPARE(Control<QLineEdit>(f, 1123)->text(), QStringLiteral("1002"));
    for (int n = 1; n <= 6; ++n)
      QCOMPARE(Control<QPushButton>(f, 2000 + n)->text(), QStringLiteral("[ %1 ]").arg(n));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("二次元ＮＣ加工システム / ブレンホルト"));
  }

  void titleFollowsTheTitleKey() {
    TalvorinFixture f;
    f.Ini("TALVORIN", "title", "第二工場 ＮＣ");
    QVERIFY(f.Start());
    MenuAction(f, 40020)->trigger();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("第二工場 ＮＣ"));
    // A loaded name of a file that does not exist: no path in the title.
    f.t->dialogs.files.push_back(f.folder.File("db/NEW.dat"));
    MenuAction(f, 40001)->trigger();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("第二工場 ＮＣ"));
  }

  void closingWritesTheDailyLog() {
    TalvorinFixture f;
    f.Ini("TALVORIN", "LogWriting", "1");
    QVERIFY(f.Start());
    f.t->reporter.Report("+++ 閉じる前の行", 0);
    f.window->close();  // the close box
    const std::string log = f.folder.ReadCp932("Log/TALVORIN20260603.log");
    const std::string dashes(70, '-');
    std::string expected =
        dashes + "\r\n          TESTPC ・ 2026年 6月 3日  9時 5分 7秒\r\n" + dashes + "\r\n";
    if (log.find("\r\n") == std::string::npos)
      expected = dashes + "\n          TESTPC ・ 2026年 6月 3日  9時 5分 7秒\n" + dashes + "\n";
    QVERIFY2(log.rfind(expected, 0) == 0, log.c_str());
    QVERIFY(log.find("+++ 閉じる前の行") != std::string::npos);
    QVERIFY(log.find("ブレンホルト　二次元ＣＡＭシステム") != std::string::npos);
  }

  void statusBarPartsAndTheirWidths() {
    TalvorinFixture f;
    QVERIFY(f.Start());
    const auto& parts = f.window->StatusParts();
    QCOMPARE(parts[0]->text(), QStringLiteral("2026年 6月 3日 (水) 9時 5分"));
    QCOMPARE(parts[1]->text(), QStringLiteral("TALVORIN Release Version R1.00.2629"));
    QVERIFY(!parts[2]->text().isEmpty());
    f.window->resize(1001, 600);
    QCoreApplication::processEvents();
    QCOMPARE(f.window->width(), 1001);
    QCOMPARE(parts[0]->width(), 230);        // 23 % of 1001, truncated
    QCOMPARE(parts[1]->width(), 530 - 230);  // right edge at 53 %
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
