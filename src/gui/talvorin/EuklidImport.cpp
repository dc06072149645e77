// Command 40300 of the main window: the EUKLID import flow with its screens.
#include <memory>

#include "euklid/Euklid.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/MainWindow.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

void Minimise(MainWindow& w) {
  w.setWindowState(w.windowState() | Qt::WindowMinimized);
}

void Restore(MainWindow& w) {
  w.setWindowState((w.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
}

// A modal screen of the flow: each of its actions is an operation of its own.
int RunFlowScreen(MainWindow& w, QDialog* screen) {
  std::unique_ptr<QDialog> owned(screen);
  ProfileOperationPause pause;
  return w.Runner().Run(*owned);
}

}  // namespace

void RunEuklidImportCommand(MainWindow& w) {
  Context& ctx = w.Ctx();
  const StartArguments start = w.Start();
  // The hole road's save takes the machine keys from the main window's fields.
  w.FormFromWidgets();
  EuklidScreens screens;
  screens.minimiseMain = [&w] { Minimise(w); };
  screens.restoreMain = [&w] { Restore(w); };
  screens.contourForm = [&] { RunFlowScreen(w, MakeEuklidNcDataScreen(ctx, start.euklidPath)); };
  screens.materialForm = [&] { RunFlowScreen(w, MakeEuklidMaterialScreen(ctx)); };
  screens.holeForm = [&] {
    return RunFlowScreen(w, MakeEuklidHoleScreen(ctx, start.euklidPath, w.Form())) == QDialog::Accepted ? 1
                                                                                                        : 0;
  };
  // The reloaded window comes back before its information box, which opens over it.
  screens.showMain = [&w] {
    w.WidgetsFromForm();
    Restore(w);
  };
  RunEuklidImport(ctx, screens, start.euklidMode, start.euklidPath, w.Form());
}

}  // namespace talvorin::gui
