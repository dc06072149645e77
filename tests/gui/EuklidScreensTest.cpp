// The EUKLID screens: the main program started by EUKLID with a contour ("cseg") or a circle list
// ("hole") and driven through its forms as a user drives them, and each form on its own. The project
// files and the NC program are checked against values worked out by hand from the shipped tables
// (NCformat.tbl, defineTool.tbl, ContourMillS45C.tbl, counterbore.tbl) and the sample files in
// euklid/.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "euklid/Euklid.h"
#include "gui/ScreenFixture.h"
#include "gui/TalvorinFixture.h"
#include "gui/talvorin/EuklidScreens.h"

using namespace talvorin;
using namespace talvorin::gui;
using talvorin::test::ScreenFixture;
using talvorin::test::TalvorinFixture;

namespace {

const QString kDrillKind = QStringLiteral("ドリル穴 [DRILL]");
const QString kTapKind = QStringLiteral("タップ穴 [NTAP]");
const QString kCounterboreKind = QStringLiteral("ザグリ穴 [COUNTERBORE]");
const QString kReturnNotice = QStringLiteral(
    "メイン画面に戻ります\n各穴画面を開き\n加工深さを設定して下さい\n続いて工程作成\nＮＣデータ作成");

// One open screen driven by control and command id.
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
  QComboBox* List(int id) const { return Control<QComboBox>(id); }
  QAction* Action(int id) const {
    QAction* action = d.findChild<QAction*>(QString::number(id));
    if (!action) qFatal("command %d missing on %s", id, qPrintable(d.objectName()));
    return action;
  }
  void Command(int id) const { Action(id)->trigger(); }
  // A key pressed where the focus is.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Typed into the focused field after emptying it.
  void TypeHere(const QString& text) const {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!edit) edit = qobject_cast<QComboBox*>(QApplication::focusWidget())->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  // Clicks into the field, replaces its text and leaves it with Tab.
  void Type(int id, const QString& text) const {
    Edit(id)->setFocus();
    TypeHere(text);
    Key(Qt::Key_Tab);
  }
  // Chooses an entry of a drop-down list with the keyboard: Home, then Down until it shows.
  void Choose(int id, const QString& entry) const {
    QComboBox* list = List(id);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != entry; ++i)
      QTest::keyClick(list, Qt::Key_Down);
    if (list->currentText() != entry) qFatal("no entry %s", qPrintable(entry));
  }
  int FocusId() const { return QApplication::focusWidget()->objectName().toInt(); }
};

// Shows a modal screen handed to the runner, runs `steps` on it and gives its result (a screen still
// open is closed as the window's close button closes it).
int Drive(QDialog& dialog, const std::function<void(Screen&)>& steps) {
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("screen not shown");
  dialog.activateWindow();
  Screen s{dialog};
  steps(s);
  if (dialog.isVisible()) dialog.close();
  return dialog.result();
}

// The main window while its start runs (the fixture holds it only afterwards).
QWidget* MainWindowShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "TALVORINMAINDLG") return w;
  return nullptr;
}

std::string Db(const Context& ctx, const char* section, const char* key) {
  return ReadString(ctx.dbPath, section, key, 600, "(none)");
}

// "section/key=value" of the project database, so a failing comparison names its key.
std::string DbKey(const Context& ctx, const std::string& path) {
  const std::string section = path.substr(0, path.find('/')), key = path.substr(path.find('/') + 1);
  return path + "=" + Db(ctx, section.c_str(), key.c_str());
}

QStringList LinesOf(const std::string& text) {
  QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// The contour form alone over the shipped sample contour, with the folders start-up makes.
ScreenFixture ContourForm() {
  return ScreenFixture(
      [](Context& ctx, QWidget* main) {
        return MakeEuklidNcDataScreen(ctx, ctx.inst.programFolder + "euklid/PLATE-CONTOUR.csv", main);
      },
      [](ScreenFixture& f) { f.folder.Write("ncdata/.keep", ""); });
}

// The hole form alone over the shipped circle list, in the project SettingEukHoleFile names after it,
// with a plate of 20.
struct HoleForm {
  MainForm main;
  ScreenFixture s{
      [this](Context& ctx, QWidget* parent) { return MakeEuklidHoleScreen(ctx, Input(ctx), main, parent); },
      [](ScreenFixture& f) {
        if (SettingEukHoleFile(f.t->ctx, Input(f.t->ctx)) != 0) qFatal("no project");
        WriteString(f.t->ctx.dbPath, "material", "Z", "20.");
      }};
  static std::string Input(const Context& ctx) { return ctx.inst.programFolder + "euklid/PLATE-HOLES.csv"; }
  Screen Form() { return Screen{*s.dialog}; }
};

}  // namespace

class EuklidScreensTest : public QObject {
  Q_OBJECT

 private slots:
  // "euklid FILE cseg": the contour form opens over the minimised main window, the user completes it
  // from the keyboard and makes the program, and the program ends after the form.
  void contourStartMakesTheProgramAndEnds() {
    TalvorinFixture f;
    f.Ini("TALVORIN", "LogWriting", "1");
    f.Ini("TALVORIN", "ncviewer", "/bin/true");
    const std::string curve = f.folder.File("euklid/PLATE-CONTOUR.csv");
    bool minimised = false;
    f.drive = [&](QDialog& dialog) {
      minimised = MainWindowShown() && MainWindowShown()->isMinimized();
      return Drive(dialog, [&](Screen& s) {
        QCOMPARE(s.d.windowTitle(), QStringLiteral("曲線加工命令（ＮＣデータ作成）"));
        // The start: the clock's stamp, the file's base name, the first free program number after
        // the main window's 1000, the NC table's G and R codes.
        QCOMPARE(s.Text(1100), QStringLiteral("20260603-090507"));
        QCOMPARE(s.Text(1101), QStringLiteral("PLATE-CONTOUR"));
        QCOMPARE(s.Text(1301), QString::fromStdString(curve));
        QCOMPARE(s.Text(1302), QStringLiteral("工具径補正加工"));
        QVERIFY(!s.Edit(1302)->isEnabled());
        QCOMPARE(s.List(1121)->currentText(), QStringLiteral("FANUC"));
        QCOMPARE(s.List(1121)->count(), 2);
        QCOMPARE(s.List(1122)->currentText(), QStringLiteral("G54"));
        QCOMPARE(s.List(1122)->count(), 12);
        QCOMPARE(s.Text(1123), QStringLiteral("1001"));
        QCOMPARE(s.List(1113)->currentText(), QString());
        QCOMPARE(s.Text(5351), QStringLiteral("41"));
        QCOMPARE(s.Text(5401), QStringLiteral("2."));
        QCOMPARE(s.Text(5501), QString());
        QVERIFY(s.Edit(5151)->isReadOnly() && s.Edit(5351)->isReadOnly() && s.Edit(5501)->isReadOnly());

        // Typing starts in the material; Tab runs on to the diameter, whose leaving fills speed and
        // feed of D6.0 in ContourMillS45C.tbl: S = 90000 / (6 pi) = 4774.6 -> 4770; F = 0.0036 x 6 x
        // 0.7 x 4 teeth x 4770 = 288.5 -> 288.
        QCOMPARE(s.FocusId(), 1113);
        s.TypeHere(QStringLiteral("s45c"));
        s.Key(Qt::Key_Tab);
        QCOMPARE(s.FocusId(), 5051);
        s.TypeHere(QStringLiteral("6"));
        s.Key(Qt::Key_Tab);
        QCOMPARE(s.Text(5251), QStringLiteral("4770"));
        QCOMPARE(s.Text(5301), QStringLiteral("288"));
        // Speed, feed, then the tool number: H and D follow it.
        s.Key(Qt::Key_Tab);
        s.Key(Qt::Key_Tab);
        QCOMPARE(s.FocusId(), 5101);
        s.TypeHere(QStringLiteral("07"));
        s.Key(Qt::Key_Tab);
        QCOMPARE(s.FocusId(), 5201);
        QCOMPARE(s.Text(5151), QStringLiteral("7"));
        QCOMPARE(s.Text(5201), QStringLiteral("7"));
        // Enter in a field keeps the form open; Ctrl+M saves and makes the program.
        s.Key(Qt::Key_Return);
        QVERIFY(s.d.isVisible());
        s.Key(Qt::Key_M, Qt::ControlModifier);
        // The saved form closes without a question.
        s.Key(Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!s.d.isVisible());
      });
    };
    QVERIFY(!f.Start({"euklid", curve, "cseg"}));
    QCOMPARE(f.screens, QStringList{"EUKLIDNCDATADLG"});
    QVERIFY(minimised);
    QVERIFY(f.t->boxes.empty());
    QVERIFY(f.t->dialogs.asked.empty());

    // The project of the form, saved strictly.
    const Context& ctx = f.t->ctx;
    QCOMPARE(ctx.dbPath, f.folder.File("db/20260603-090507.dat"));
    const std::pair<const char*, std::string> keys[] = {
        {"TALVORIN/project", "20260603-090507"},
        {"TALVORIN/dxffile", f.folder.File("dxf/20260603-090507.dxf")},
        {"TALVORIN/product", "PLATE-CONTOUR"},
        {"TALVORIN/csvfile", curve},
        {"machine/ControlDevice", "FANUC"},
        {"machine/CoordinateSystem", "G54"},
        {"machine/onumber", "1001"},
        {"machine/ncpath", f.folder.File("ncdata")},
        {"machine/ncfile", "O1001.NC"},
        {"material/type", "S45C"},
        {"ncproc1/tool", "仕上エンドミル"},
        {"ncproc1/diam", "6"},
        {"ncproc1/T", "07"},
        {"ncproc1/H", "07"},
        {"ncproc1/D", "7"},
        {"ncproc1/S", "4770"},
        {"ncproc1/F", "288"},
        {"ncproc1/G", "41"},
        {"ncproc1/R", "2"},
        {"ncproc1/Z", ""},
        {"ncproc1/Q", ""},
        {"ncproc1/OFF", "0"},
        {"ncproc1/定義", curve},
    };
    for (const auto& [path, value] : keys)
      QCOMPARE(QString::fromStdString(DbKey(ctx, path)),
               QString::fromStdString(std::string(path) + "=" + value));

    // The FANUC program: the frame of NCformat.tbl and process 1 (tool 7, the comment of
    // 仕上エンドミル in defineTool.tbl, start position X0 Y0 Z50), the contour entered at the R level
    // -5 + 2 with the doubled feed, compensation D07 on with feed 288 and off before the end lines.
    const QStringList nc = LinesOf(f.folder.ReadCp932("ncdata/O1001.NC"));
    const QStringList head = {"%",
                              "O1001",
                              "G90 G17 G40 G49 G80",
                              "N1",
                              "(FINISH END MILL)",
                              "M09",
                              "M05",
                              "G91 G28 Z0.",
                              "T07",
                              "M06",
                              "G90 G00 G54 X0. Y0.",
                              "G43 H07 Z50.",
                              "S4770 M03",
                              "M08"};
    const QStringList tail = {"M09",         "M05",         "X0. Y0.", "M09", "M05",
                              "G91 G28 Z0.", "G28 X0. Y0.", "G90",     "M30", "%"};
    QVERIFY(nc.size() > head.size() + tail.size());
    QCOMPARE(nc.mid(0, head.size()), head);
    QCOMPARE(nc.mid(nc.size() - tail.size()), tail);
    const QStringList body = nc.mid(head.size(), nc.size() - head.size() - tail.size());
    QVERIFY(body.contains(QStringLiteral("Z-3.")));
    QVERIFY(body.contains(QStringLiteral("G01 Z-5. F576")));
    QVERIFY(!body.filter(QRegularExpression(QStringLiteral("^G41 .* D07 F288$"))).isEmpty());
    QVERIFY(!body.filter(QRegularExpression(QStringLiteral("^G40 "))).isEmpty());
    QVERIFY(body.indexOf(QRegularExpression(QStringLiteral("G41 .*"))) <
            body.indexOf(QRegularExpression(QStringLiteral("G40 .*"))));
    // Shown in the NC viewer, not waited for.
    QVERIFY(!f.t->platform.calls.empty());
    QCOMPARE(f.t->platform.calls.back().target, std::string("/bin/true"));
    QCOMPARE(f.t->platform.calls.back().args, std::vector<std::string>{f.folder.File("ncdata/O1001.NC")});
    // The window closed with its log.
    const std::string log = f.folder.ReadCp932("Log/TALVORIN20260603.log");
    QVERIFY(log.find("!!! routine name : MakeEuklidFanucNcdata") != std::string::npos);
  }

  // "euklid FILE hole": the material form, the hole form with its kinds, grouping and save, then the
  // main window reloaded from the new project with its information box; the program stays open.
  void holeStartBuildsTheProjectAndReloadsTheMainWindow() {
    TalvorinFixture f;
    const std::string holes = f.folder.File("euklid/PLATE-HOLES.csv");
    bool minimised = false;
    f.drive = [&](QDialog& dialog) {
      minimised = MainWindowShown() && MainWindowShown()->isMinimized();
      if (dialog.objectName() == "EUKMATERIALDLG") {
        return Drive(dialog, [&](Screen& s) {
          QCOMPARE(s.d.windowTitle(), QStringLiteral("材料入力"));
          // Preselected by "defaultMaterial" and "defaultOrigin".
          QCOMPARE(s.List(1113)->currentText(), QStringLiteral("SS400"));
          QCOMPARE(s.List(1113)->count(), 7);
          QCOMPARE(s.List(1120)->currentText(), QStringLiteral("左下"));
          QCOMPARE(s.List(1120)->count(), 5);
          QCOMPARE(s.FocusId(), 1110);
          s.TypeHere(QStringLiteral("120"));
          s.Key(Qt::Key_Tab);
          s.TypeHere(QStringLiteral("80"));
          s.Key(Qt::Key_Tab);
          s.TypeHere(QStringLiteral("20"));
          s.Key(Qt::Key_Tab);
          QCOMPARE(s.FocusId(), 1113);
          s.Key(Qt::Key_Down);
          QCOMPARE(s.List(1113)->currentText(), QStringLiteral("S45C"));
          s.Key(Qt::Key_S, Qt::ControlModifier);
          QVERIFY(!s.d.isVisible());
        });
      }
      return Drive(dialog, [&](Screen& s) {
        QCOMPARE(s.d.windowTitle(), QStringLiteral("円（穴）データ取り込み"));
        // The eight circles of the file; the kinds of euklid.tbl in every list.
        QCOMPARE(s.Text(6100), QStringLiteral("10"));
        QCOMPARE(s.Text(6405), QStringLiteral("0"));
        QCOMPARE(s.Text(6107), QStringLiteral("9"));
        QCOMPARE(s.Text(6108), QString());
        QCOMPARE(s.List(6019)->count(), 4);
        QCOMPARE(s.List(6019)->itemText(3), kCounterboreKind);
        // Kinds row by row: the drills of 10 at two depths, the taps of 6, the counterbores of 9.
        const QString kinds[] = {kDrillKind, kDrillKind, kDrillKind,       kDrillKind,
                                 kTapKind,   kTapKind,   kCounterboreKind, kCounterboreKind};
        for (int r = 0; r < 8; ++r)
          s.Choose(6000 + r, kinds[r]);
        s.Key(Qt::Key_G, Qt::ControlModifier);
        const QString groups[] = {"1", "1", "2", "2", "3", "3", "4", "4", ""};
        for (int r = 0; r < 9; ++r)
          QCOMPARE(s.Text(6500 + r), groups[r]);
        s.Key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!s.d.isVisible());
      });
    };
    QVERIFY(f.Start({"euklid", holes, "hole"}));
    QCOMPARE(f.screens, (QStringList{"EUKMATERIALDLG", "EUKLIDHOLEDLG"}));
    QVERIFY(minimised);
    QVERIFY(f.t->dialogs.asked.empty());
    // The one box: the notice over the reloaded window, which is back and stays open.
    QCOMPARE(f.t->boxes.size(), std::size_t{1});
    QCOMPARE(f.t->boxes[0].first, kReturnNotice);
    QCOMPARE(f.t->boxes[0].second, 1);
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->isMinimized());

    const Context& ctx = f.t->ctx;
    QCOMPARE(ctx.dbPath, f.folder.File("db/PLATE-HOLES.dat"));
    auto text = [&f](int id) {
      QWidget* w = f.window->findChild<QWidget*>(QString::number(id));
      if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
      if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText();
      return qobject_cast<QPushButton*>(w)->text();
    };
    QCOMPARE(text(1100), QStringLiteral("PLATE-HOLES"));
    QCOMPARE(text(1101), QStringLiteral("PLATE-HOLES"));
    QCOMPARE(text(1110), QStringLiteral("120."));
    QCOMPARE(text(1111), QStringLiteral("80."));
    QCOMPARE(text(1112), QStringLiteral("20."));
    QCOMPARE(text(1113), QStringLiteral("S45C"));
    QCOMPARE(text(1120), QStringLiteral("左下"));
    QCOMPARE(text(1121), QStringLiteral("FANUC"));
    QCOMPARE(text(1122), QStringLiteral("G54"));
    QCOMPARE(text(1123), QStringLiteral("1000"));
    QCOMPARE(text(2001), kDrillKind);
    QCOMPARE(text(2002), kDrillKind);
    QCOMPARE(text(2003), kTapKind);
    QCOMPARE(text(2004), kCounterboreKind);
    QCOMPARE(text(2005), QStringLiteral("[ 5 ]"));
    QCOMPARE(
        f.window->windowTitle(),
        QStringLiteral("二次元ＮＣ加工システム / ブレンホルト [%1]").arg(QString::fromStdString(ctx.dbPath)));

    // The hole records. DRILL 10 through 20: 20 + 2 + 5 tan 31 (3.004) = 25.0 -> 25. NTAP M6: the
    // depth and pilot of NTAP.tbl. COUNTERBORE 9 of counterbore.tbl: counterbore 14, depth 8.6, the
    // bolt hole 4.5 tan 31 + 22 = 24.704 -> 24.7.
    const std::pair<const char*, std::string> keys[] = {
        {"hole/count", "8"},
        {"hole/group", "4"},
        {"hole1/command", kDrillKind.toStdString()},
        {"hole1/variable0", "10"},
        {"hole1/variable1", "25"},
        {"hole1/variable2", ""},
        {"hole1/X0", "20."},
        {"hole1/Y0", "20."},
        {"hole1/Z0", "0."},
        {"hole1/X1", "60."},
        {"hole1/Y1", "20."},
        {"hole1/X2", "(none)"},
        {"hole2/command", kDrillKind.toStdString()},
        {"hole2/Y0", "60."},
        {"hole2/Z0", "-5."},
        {"hole2/Z1", "-5."},
        {"hole3/command", kTapKind.toStdString()},
        {"hole3/variable0", "6"},
        {"hole3/X0", "40."},
        {"hole3/Y1", "60."},
        {"hole4/command", kCounterboreKind.toStdString()},
        {"hole4/variable0", "9"},
        {"hole4/variable1", "24.7"},
        {"hole4/variable2", "14"},
        {"hole4/variable3", "8.6"},
        {"hole4/variable4", ""},
        {"hole4/X0", "80."},
        {"hole4/Y1", "50."},
        {"hole5/command", ""},
        {"machine/ControlDevice", "FANUC"},
        {"machine/CoordinateSystem", "G54"},
        {"machine/onumber", "1000"},
        {"machine/trycutfile", "O1000"},
        {"machine/ncfile", "O1000.NC"},
        {"material/type", "S45C"},
        {"material/originNo", "0"},
        {"trycut/Zmin", "-20"},
    };
    for (const auto& [path, value] : keys)
      QCOMPARE(QString::fromStdString(DbKey(ctx, path)),
               QString::fromStdString(std::string(path) + "=" + value));
  }

  // Closing the hole form without saving leaves the main window as it was, without the notice; a
  // mode without its file opens nothing and names the file.
  void unsavedHoleImportAndMissingFileLeaveTheWindow() {
    TalvorinFixture f;
    QVERIFY(f.Start({"euklid", f.folder.File("euklid/PLATE-HOLES.csv"), "hole"}));
    QCOMPARE(f.screens, (QStringList{"EUKMATERIALDLG", "EUKLIDHOLEDLG"}));
    QVERIFY(f.t->boxes.empty());
    QCOMPARE(f.window->findChild<QLineEdit*>("1100")->text(), QString());
    QVERIFY(!f.window->isMinimized());

    // Without its file the hole mode (11) opens nothing and the window stays; the contour mode (31)
    // opens nothing and the program ends as after a contour.
    // Either way the missing file is named.
    TalvorinFixture missing;
    QVERIFY(missing.Start({"euklid", missing.folder.File("none.csv"), "hole"}));
    QCOMPARE(missing.window->Start().euklidMode, 11);
    QVERIFY(missing.screens.isEmpty());
    QCOMPARE(missing.t->boxes.size(), std::size_t{1});
    QCOMPARE(missing.LastBox(), QStringLiteral("エラー：EUKLID ファイル %1 がありません")
                                    .arg(QString::fromStdString(missing.folder.File("none.csv"))));
    QVERIFY(missing.window->isVisible());
    TalvorinFixture contour;
    QVERIFY(!contour.Start({"euklid", "none.csv", "cseg"}));
    QVERIFY(contour.screens.isEmpty());
    QCOMPARE(contour.LastBox(), QStringLiteral("エラー：EUKLID ファイル none.csv がありません"));
    // An existing file with a first argument other than "euklid" (mode 31) is no missing file.
    TalvorinFixture other;
    QVERIFY(!other.Start({"other", other.folder.File("euklid/PLATE-CONTOUR.csv"), "cseg"}));
    QVERIFY(other.screens.isEmpty());
    QVERIFY(other.t->boxes.empty());
  }

  void contourFormSavesStrictlyInTheFieldOrder() {
    ScreenFixture f = ContourForm();
    Screen s{*f.dialog};
    const std::string db = f.t->ctx.dbPath;
    QCOMPARE(db, f.folder.File("db/20260603-090507.dat"));
    // Opening saved leniently: no material, and of the process only its tool.
    QCOMPARE(Db(f.t->ctx, "material", "type"), std::string(""));
    QCOMPARE(Db(f.t->ctx, "ncproc1", "tool"), std::string("仕上エンドミル"));
    QCOMPARE(Db(f.t->ctx, "ncproc1", "F"), std::string("(none)"));

    s.Type(1101, QString());
    s.Command(40051);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：保存前に商品名を入力して下さい"));
    s.Type(1101, QStringLiteral("BRACKET"));
    s.Command(40051);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：保存前に材質を入力して下さい"));
    QCOMPARE(Db(f.t->ctx, "TALVORIN", "product"), std::string("BRACKET"));
    s.Choose(1113, QStringLiteral("A5052"));
    s.Type(5051, QStringLiteral("6"));
    s.Command(40051);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：保存前にツール番号（Ｔ番号）を入力して下さい"));
    // The program is still made from what the database holds: without "定義" it names the key.
    s.Command(40052);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：[ncproc1] 定義= | db 曲線定義取得失敗"));
    QVERIFY(!PathExists(f.folder.File("ncdata/O1000.NC")));
    s.Type(5101, QStringLiteral("12"));
    const std::size_t boxes = f.t->boxes.size();
    s.Command(40051);
    QCOMPARE(f.t->boxes.size(), boxes);
    QCOMPARE(Db(f.t->ctx, "ncproc1", "D"), std::string("12"));
    QCOMPARE(Db(f.t->ctx, "ncproc1", "定義"), f.folder.File("euklid/PLATE-CONTOUR.csv"));
    // Saved: Escape closes without a question.
    s.Key(Qt::Key_Escape);
    QVERIFY(!f.dialog->isVisible());
    QVERIFY(f.t->dialogs.asked.empty());
  }

  void contourFormFieldEvents() {
    ScreenFixture f = ContourForm();
    Screen s{*f.dialog};
    // No material: the diameter leaves speed and feed at 0.
    s.Type(5051, QStringLiteral("6"));
    QCOMPARE(s.Text(5251), QStringLiteral("0"));
    QCOMPARE(s.Text(5301), QStringLiteral("0"));
    QVERIFY(f.t->boxes.empty());
    // D10.0 of S45C: S = 90000 / (10 pi) = 2864.8 -> 2860; F = 0.0036 x 10 x 0.7 x 4 x 2860 = 288.3.
    s.Choose(1113, QStringLiteral("S45C"));
    s.Type(5051, QStringLiteral("10"));
    QCOMPARE(s.Text(5251), QStringLiteral("2860"));
    QCOMPARE(s.Text(5301), QStringLiteral("288"));
    // A diameter without a section, and an empty one, are named.
    s.Type(5051, QStringLiteral("6.3"));
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：工具径 6.3 | 加工条件取得失敗"));
    s.Type(5051, QString());
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：工具径取得失敗"));
    // The material as long as the project keeps it (7 bytes).
    s.List(1113)->setFocus();
    s.TypeHere(QStringLiteral("sus304lx"));
    QCOMPARE(s.List(1113)->currentText(), QStringLiteral("SUS304L"));
    // A material without a contour table.
    s.List(1113)->setFocus();
    s.TypeHere(QStringLiteral("XYZ"));
    const std::size_t before = f.t->boxes.size();
    s.Type(5051, QStringLiteral("6"));
    QCOMPARE(f.t->boxes.size(), before + 2);
    QCOMPARE(f.t->boxes[before].first,
             QStringLiteral("エラー：EUKLID輪郭加工条件ファイル %1 がありません")
                 .arg(QString::fromStdString(f.folder.File("table/ContourMillXYZ.tbl"))));
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：工具径 6.0 | 加工条件取得失敗"));
    // The tool number as a whole number into H and D, also when only passed through.
    s.Type(5101, QStringLiteral("12.7"));
    QCOMPARE(s.Text(5151), QStringLiteral("12"));
    QCOMPARE(s.Text(5201), QStringLiteral("12"));
    s.Type(5201, QStringLiteral("32"));
    s.Edit(5101)->setFocus();
    s.Key(Qt::Key_Tab);
    QCOMPARE(s.Text(5201), QStringLiteral("12"));
    // The screen going away with the focus in the diameter runs no event (the material without a
    // table would be named again).
    s.Edit(5051)->setFocus();
    const std::size_t shown = f.t->boxes.size();
    f.dialog.reset();
    QCOMPARE(f.t->boxes.size(), shown);
  }

  void contourFormTabOrderAndCommands() {
    ScreenFixture f = ContourForm();
    Screen s{*f.dialog};
    // Tab runs in reading order past the read-only fields.
    s.Edit(1100)->setFocus();
    QList<int> order;
    for (int i = 0; i < 13; ++i) {
      order << s.FocusId();
      s.Key(Qt::Key_Tab);
    }
    QCOMPARE(order,
             (QList<int>{1100, 1101, 1301, 1121, 1122, 1123, 1113, 5051, 5251, 5301, 5101, 5201, 5401}));
    // The commands that do nothing here are shown disabled.
    for (int id : {40053, 40055, 40056})
      QVERIFY(!s.Action(id)->isEnabled());

    // The drawing program with the project database.
    s.Command(40303);
    QCOMPARE(f.t->platform.calls.back().target, f.folder.File("lindrel"));
    QCOMPARE(f.t->platform.calls.back().args, std::vector<std::string>{f.t->ctx.dbPath});
    // Cancelled file choices.
    s.Command(40050);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：ファイルの読み込みを中止します。"));
    s.Command(40302);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：曲線ファイルの取り込みを中止します。"));

    // Another curve file: a new project for the project name, the file's name as product only when
    // it was empty.
    f.folder.Write("input/BRACKET-2.csv", "P,0,0,-5,0,0,90\r\nL,10,0,-5,0,0,0\r\n");
    s.Type(1100, QStringLiteral("BRACKET"));
    s.Type(1101, QString());
    f.t->dialogs.files.push_back(f.folder.File("input/BRACKET-2.csv"));
    s.Command(40302);
    QCOMPARE(s.Text(1301), QString::fromStdString(f.folder.File("input/BRACKET-2.csv")));
    QCOMPARE(s.Text(1101), QStringLiteral("BRACKET-2"));
    QCOMPARE(f.t->ctx.dbPath, f.folder.File("db/BRACKET.dat"));
    QCOMPARE(Db(f.t->ctx, "TALVORIN", "csvfile"), f.folder.File("input/BRACKET-2.csv"));

    // The first project read back into the form.
    s.Type(1101, QStringLiteral("CHANGED"));
    f.t->dialogs.files.push_back(f.folder.File("db/20260603-090507.dat"));
    s.Command(40050);
    QCOMPARE(s.Text(1100), QStringLiteral("20260603-090507"));
    QCOMPARE(s.Text(1101), QStringLiteral("PLATE-CONTOUR"));
    QCOMPARE(s.Text(1301), QString::fromStdString(f.folder.File("euklid/PLATE-CONTOUR.csv")));
    QCOMPARE(f.t->ctx.dbPath, f.folder.File("db/20260603-090507.dat"));

    // A typed change asks before the form closes; no keeps it open.
    s.Type(5051, QStringLiteral("8"));
    s.Command(40103);
    QCOMPARE(f.t->dialogs.asked.back(), std::string("変更を保存せずに閉じますか？"));
    QVERIFY(f.dialog->isVisible());
  }

  void materialFormNamesWhatIsMissingAndHasNoHelpYet() {
    ScreenFixture f([](Context& ctx, QWidget* main) { return MakeEuklidMaterialScreen(ctx, main); },
                    [](ScreenFixture& g) {
                      SettingEukHoleFile(g.t->ctx, g.t->ctx.inst.programFolder + "euklid/PLATE-HOLES.csv");
                    });
    Screen s{*f.dialog};
    QCOMPARE(s.Control<QWidget>(1112)->accessibleName(), QStringLiteral("材料寸法 Z"));
    QVERIFY(!s.Action(40101)->isEnabled());
    s.Key(Qt::Key_F1);
    QCOMPARE(f.LastBox(), QStringLiteral("ヘルプファイル作成中"));
    QCOMPARE(f.t->boxes.back().second, 1);
    s.Type(1110, QStringLiteral("150"));
    s.Command(40100);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：材料 Y 寸法が定義されてません"));
    QVERIFY(f.dialog->isVisible());
    s.Type(1111, QStringLiteral("100.5"));
    s.Type(1112, QStringLiteral("12"));
    s.List(1113)->setFocus();
    s.TypeHere(QString());
    s.Command(40100);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：材質が定義されてません"));
    // A typed material and an emptied origin: "左下", number 0.
    s.List(1113)->setFocus();
    s.TypeHere(QStringLiteral("sus316"));
    s.List(1120)->setFocus();
    s.TypeHere(QString());
    s.Command(40100);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    const Context& ctx = f.t->ctx;
    QCOMPARE(Db(ctx, "material", "X"), std::string("150."));
    QCOMPARE(Db(ctx, "material", "Y"), std::string("100.5"));
    QCOMPARE(Db(ctx, "material", "Z"), std::string("12."));
    QCOMPARE(Db(ctx, "material", "type"), std::string("SUS316"));
    QCOMPARE(Db(ctx, "material", "origin"), std::string("左下"));
    QCOMPARE(Db(ctx, "trycut", "Ymax"), std::string("100.5"));
    QCOMPARE(Db(ctx, "trycut", "Zmin"), std::string("-12"));
  }

  void holeFormChecksCounterboresGroupsAndRefusesEarlySaves() {
    HoleForm h;
    Screen s = h.Form();
    ScreenFixture& f = h.s;
    // Saving before grouping names the first group field.
    s.Key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：[6500] グループ取得失敗"));
    QVERIFY(f.dialog->isVisible());
    // No counterbore of 10 in counterbore.tbl.
    s.Choose(6000, kCounterboreKind);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：10.00 のザグリ定義はありません"));
    // Row 3 without a kind stops the grouping; the groups before it stay.
    s.Choose(6000, kDrillKind);
    s.Choose(6001, kDrillKind);
    s.Choose(6002, kDrillKind);
    s.Command(40314);
    QCOMPARE(f.LastBox(), QStringLiteral("エラー：穴の種類を選択してからグループ化して下さい"));
    QCOMPARE((QStringList{s.Text(6500), s.Text(6501), s.Text(6502), s.Text(6503)}),
             (QStringList{"1", "1", "2", ""}));
    QCOMPARE(Db(f.t->ctx, "hole", "group"), std::string("2"));
    // Reading the file again keeps kinds and groups.
    s.Edit(6100)->setText(QStringLiteral("99"));
    s.Command(40311);
    QCOMPARE(s.Text(6100), QStringLiteral("10"));
    QCOMPARE(s.List(6000)->currentText(), kDrillKind);
    QCOMPARE(s.Text(6501), QStringLiteral("1"));
    // Changed rows ask before the form closes.
    f.t->dialogs.answers = {true};
    s.Command(40103);
    QCOMPARE(f.t->dialogs.asked.back(), std::string("変更を保存せずに閉じますか？"));
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(Db(f.t->ctx, "hole1", "command"), std::string(""));
  }

  void holeFormScrollsOverItsRange() {
    HoleForm h;
    Screen s = h.Form();
    auto* bar = s.d.findChild<QScrollBar*>("EUKHOLESCROLL");
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 720);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), 50);
    QCOMPARE(bar->value(), 0);
    QScrollBar* rows = s.d.findChild<QScrollArea*>("EUKHOLEROWS")->verticalScrollBar();
    QVERIFY(rows->maximum() > 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(bar->value(), 51);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(bar->value(), 720);
    QCOMPARE(rows->value(), rows->maximum());
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(bar->value(), 720);
    // Dragging the thumb; then up past the top.
    bar->setSliderDown(true);
    bar->setSliderPosition(360);
    bar->setSliderDown(false);
    QCOMPARE(bar->value(), 360);
    QCOMPARE(rows->value(), (rows->maximum() + 1) / 2);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(rows->value(), 0);
    // Tabbing into the last row brings it into sight and the bar along.
    s.Edit(6519)->setFocus();
    s.Key(Qt::Key_Backtab);
    QCOMPARE(s.FocusId(), 6419);
    QVERIFY(bar->value() > 600);
    QCOMPARE(rows->value(), rows->maximum());
  }
};

QTEST_MAIN(EuklidScreensTest)
#include "EuklidScreensTest.moc"
