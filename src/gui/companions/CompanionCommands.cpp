// The command table of the drawing programs' window: the menu "PROGMENU" and the export command.
#include <memory>

#include "gui/common/ProgramInfoScreen.h"
#include "gui/common/VersionBox.h"
#include "gui/companions/DrawingSettingsDialog.h"
#include "gui/companions/DxfOutWindow.h"
#include "shell/ProgramSetup.h"

namespace talvorin::gui {
namespace {

void RunScreen(DxfOutWindow& w, QDialog* screen) {
  std::unique_ptr<QDialog> owned(screen);
  w.Runner().Run(*owned);
}

void Settings(DxfOutWindow& w) {
  RunScreen(w, MakeDrawingSettingsScreen(w.Ctx(), w.Program().identity.name, &w));
}

void Version(DxfOutWindow& w) {
  RunScreen(w, MakeVersionBox(w.Ctx().inst, &w, QString::fromUtf8(w.Program().identity.title)));
}

void ProgramInformation(DxfOutWindow& w) {
  RunScreen(w, MakeProgramInfoScreen(w.Ctx().inst, w.Ctx().platform.ExecutablePath(), &w));
}

}  // namespace

std::vector<CompanionCommand> CompanionCommands(const CompanionProgram& program) {
  std::vector<CompanionCommand> table = {
      {40001, "ファイル", "終了", [](DxfOutWindow& w) { w.close(); }},
      {40010, "設定", "設定", Settings},
      {40020, "", "図面出力", [](DxfOutWindow& w) { w.ExportDrawing(); }},
      {40030, "ヘルプ", "ヘルプ", [](DxfOutWindow& w) { OpenHelpFile(w.Ctx()); }},
      {40031, "ヘルプ", "バージョン", Version},
      {40032, "ヘルプ", "プログラム情報", ProgramInformation},
  };
  if (program.systemInformation)
    table.push_back(
        {40033, "ヘルプ", "システム情報登録", [](DxfOutWindow& w) { SystemInformation(w.Ctx()); }});
  return table;
}

}  // namespace talvorin::gui
