// The command table of the main window: every menu item, bar item, hole-group button and the
// controller list, each with the operation it runs.
#include <QCoreApplication>
#include <QProgressDialog>
#include <memory>

#include "gui/common/ProgramInfoScreen.h"
#include "gui/common/VersionBox.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/HoleScreens.h"
#include "gui/talvorin/MainWindow.h"
#include "gui/talvorin/ProcessDialog.h"
#include "gui/talvorin/SettingsScreens.h"
#include "mtime/MachiningTime.h"
#include "outputs/Jobs.h"
#include "outputs/Outputs.h"
#include "shell/ProgramSetup.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

void LoadProjectCommand(MainWindow& w) {
  w.FormFromWidgets();
  const int result = LoadProject(w.Ctx(), w.Form());
  w.WidgetsFromForm();
  if (result == 0) w.RunCommand(40022);
}

void NewSave(MainWindow& w) {
  w.FormFromWidgets();
  NewSavedata(w.Ctx(), w.Form());
  w.WidgetsFromForm();
}

void OverwriteSave(MainWindow& w) {
  w.FormFromWidgets();
  SaveTALVORINdata(w.Ctx(), w.Form(), 1);
  w.WidgetsFromForm();
}

void Initialise(MainWindow& w) {
  w.FormFromWidgets();
  InitialiseMainForm(w.Ctx(), w.Form());
  w.WidgetsFromForm();
}

// The estimate with its summary box; a program that takes longer than half a second shows a progress
// dialog while it is read.
void EstimateTime(MainWindow& w) {
  QProgressDialog progress(QStringLiteral("加工時間算出中..."), QString(), 0, 1000, &w);
  progress.setObjectName(QStringLiteral("TIMEPROGRESS"));
  progress.setWindowTitle(QStringLiteral("加工時間算出"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setValue(0);
  int shown = 0;
  TimeProgress report = [&progress, &shown](std::uint64_t done, std::uint64_t total) {
    const int permille = total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
    if (permille == shown) return;
    shown = permille;
    progress.setValue(permille);
  };
  EstimateMachiningTime(w.Ctx(), report);
  progress.reset();
}

// A modal screen: each of its actions is an operation of its own.
void RunScreen(MainWindow& w, QDialog* screen) {
  std::unique_ptr<QDialog> owned(screen);
  ProfileOperationPause pause;
  w.Runner().Run(*owned);
}

// 40023, 40050, 40052: the process screen in its mode, over a project file created first when needed.
void ProcessScreenCommand(MainWindow& w, ProcessMode mode) {
  w.FormFromWidgets();
  MakeNcProcess(w.Ctx(), w.Form(), mode, CreateNcProgramWithFollowUps, [&w](ProcessForm& form, int) {
    std::unique_ptr<QDialog> screen(MakeProcessScreen(w.Ctx(), form, &w));
    return w.Runner().Run(*screen);
  });
  w.WidgetsFromForm();
}

// A hole-group button: the group's shape-entry screen, with the main window minimised while it is open
// (the project is saved first when its file does not exist yet).
void SelectHoleGroup(MainWindow& w, int group) {
  w.SetCurrentHoleGroup(group);
  w.FormFromWidgets();
  OpenShapeInput(w.Ctx(), w.Form(), group, [&w](int g) {
    std::unique_ptr<QDialog> screen(MakeShapeInputScreen(w.Ctx(), g, w.Runner()));
    w.setWindowState(w.windowState() | Qt::WindowMinimized);
    const int result = w.Runner().Run(*screen);
    w.setWindowState((w.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    return result == QDialog::Accepted ? 0 : -1;
  });
  w.WidgetsFromForm();
}

}  // namespace

const std::vector<MainCommand>& MainCommands() {
  static const std::vector<MainCommand> table = {
      {40001, "ファイル", "読み込み", "", LoadProjectCommand},
      {40021, "ファイル", "新規保存", "", NewSave},
      {40002, "ファイル", "上書保存", "【保存】", OverwriteSave},
      {40055, "ファイル", "ＮＣファイルを開く", "", [](MainWindow& w) { OpenNcFile(w.Ctx()); }},
      {40003, "ファイル/閉じる", "TRYCUT2000", "",
       [](MainWindow& w) { RunCloseCommand(w.Ctx(), "closetrycut"); }},
      {40004, "ファイル/閉じる", "DXF VIEWER", "",
       [](MainWindow& w) { RunCloseCommand(w.Ctx(), "closedxfviewer"); }},
      {40009, "ファイル", "終了", "【終了】", [](MainWindow& w) { w.close(); }},
      {40010, "設定", "初期設定", "",
       [](MainWindow& w) { RunScreen(w, MakeInitialSettingsScreen(w.Ctx(), &w)); }},
      {40011, "設定", "使用工具設定", "",
       [](MainWindow& w) { RunScreen(w, MakeToolListScreen(w.Ctx(), &w)); }},
      {40012, "設定", "加工条件設定", "",
       [](MainWindow& w) { RunScreen(w, MakeConditionScreen(w.Ctx(), &w)); }},
      {40013, "設定", "タップ加工設定", "",
       [](MainWindow& w) { RunScreen(w, MakeTapSettingsScreen(w.Ctx(), &w)); }},
      {40014, "設定", "冒頭末尾追加データ設定", "",
       [](MainWindow& w) { RunScreen(w, MakeAddNcDataScreen(w.Ctx(), &w)); }},
      {40015, "設定", "座標系登録", "",
       [](MainWindow& w) { RunScreen(w, MakeCoordinateSystemScreen(w.Ctx(), &w)); }},
      {40020, "コマンド", "初期化", "", Initialise},
      {40022, "コマンド", "図面表示", "【図面】", [](MainWindow& w) { ShowHoleDrawing(w.Ctx()); }},
      {40050, "コマンド", "工程読込", "【工程読込】",
       [](MainWindow& w) { ProcessScreenCommand(w, ProcessMode::kReading); }},
      {40023, "コマンド", "工程作成", "【工程作成】",
       [](MainWindow& w) { ProcessScreenCommand(w, ProcessMode::kCreation); }},
      {40052, "コマンド", "NCデータ作成", "【NCデータ作成】",
       [](MainWindow& w) { ProcessScreenCommand(w, ProcessMode::kNcCreation); }},
      {40053, "コマンド", "NCデータ転送", "【NCデータ転送】", [](MainWindow& w) { TransferNcFile(w.Ctx()); }},
      {40054, "コマンド", "TRYCUT再実行", "", [](MainWindow& w) { RerunTrycut(w.Ctx()); }},
      {40024, "コマンド", "NCデータ描画", "", [](MainWindow& w) { ShowNcData(w.Ctx()); }},
      {40025, "コマンド", "加工時間算出", "", EstimateTime},
      {40026, "コマンド", "加工指示書", "", [](MainWindow& w) { WriteProcessSheet(w.Ctx()); }},
      {40090, "ヘルプ", "お読みください", "", [](MainWindow& w) { OpenHelpFile(w.Ctx()); }},
      {40091, "ヘルプ", "バージョン", "",
       [](MainWindow& w) { RunScreen(w, MakeVersionBox(w.Ctx().inst, &w)); }},
      {40092, "ヘルプ", "プログラム情報", "",
       [](MainWindow& w) {
         RunScreen(w, MakeProgramInfoScreen(w.Ctx().inst, w.Ctx().platform.ExecutablePath(), &w));
       }},
      {40093, "ヘルプ", "システム情報登録", "", [](MainWindow& w) { SystemInformation(w.Ctx()); }},
      {2001, "", "[ 1 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 1); }},
      {2002, "", "[ 2 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 2); }},
      {2003, "", "[ 3 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 3); }},
      {2004, "", "[ 4 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 4); }},
      {2005, "", "[ 5 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 5); }},
      {2006, "", "[ 6 ]", "", [](MainWindow& w) { SelectHoleGroup(w, 6); }},
      // Sent by the start in EUKLID mode, not on a menu.
      {40300, "", "EUKLID", "", RunEuklidImportCommand},
      {1121, "", "制御装置", "",
       [](MainWindow& w) {
         w.FormFromWidgets();
         FillCoordinateSystems(w.Ctx(), w.Form(), w.Form().controller);
         w.WidgetsFromForm();
       }},
  };
  return table;
}

}  // namespace talvorin::gui
