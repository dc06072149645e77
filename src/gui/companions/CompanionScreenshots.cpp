// talvorin-companion-screenshots OUTDIR: renders the windows of quorvex and lindrel, each after an
// export run, and their settings screen to PNG files. Run in a copy of the program folder: the
// drawings are written there and no outside program is started.
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <cstdio>
#include <fstream>

#include "gui/common/WindowLook.h"
#include "gui/companions/CompanionStart.h"
#include "gui/companions/DrawingSettingsDialog.h"
#include "testing/TestDoubles.h"

using namespace talvorin;
using namespace talvorin::gui;

namespace {

bool Save(QWidget* widget, const QString& file) {
  widget->show();
  QApplication::processEvents();
  const bool saved = widget->grab().save(file);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
  return saved;
}

// A small EUKLID contour and its project database in the program folder's "db" folder: a plate
// outline with one rounded corner.
std::string WriteContourProject(const std::string& folder) {
  const std::string curve = folder + "db/EXAMPLE-EUKLID.csv";
  std::ofstream(curve) << "P,0,0,0,0,0,0\nL,120,0,0,0,0,0\nC,140,20,0,120,20,-20\nL,140,80,0,0,0,0\n"
                          "L,0,80,0,0,0,0\nL,0,0,0,0,0,0\n";
  const std::string db = folder + "db/EXAMPLE-EUKLID.dat";
  std::ofstream(db) << "[TALVORIN]\r\nproject=EXAMPLE-EUKLID\r\ncsvfile=" << curve << "\r\ndxffile=" << folder
                    << "db/EXAMPLE-EUKLID.dxf\r\n";
  return db;
}

// One program's window after an export run of `db`, its menus and its settings screen.
bool Render(const CompanionProgram& program, const QString& dir, const std::string& db) {
  Installation inst;
  RecordingPlatform platform;
  const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
  platform.executablePath = folder + program.identity.name;
  platform.now = PosixPlatform().LocalTime();
  QtReporter reporter(QString::fromUtf8(program.identity.name));
  reporter.SetBoxPresenter([](QWidget*, const QString&, const QString&, int) {});
  ScriptedDialogs dialogs;
  Context ctx{inst, reporter, platform, dialogs, ""};
  SetupDrawingProgram(inst, platform.executablePath, program.identity.name, TheBuildDate());
  CompanionHooks hooks;
  hooks.console = nullptr;
  std::unique_ptr<DxfOutWindow> window = StartDrawingProgram(ctx, reporter, program, {}, hooks);
  if (!window) return false;
  ctx.dbPath = db;
  window->RunCommand(40020);
  const QString name = QString::fromUtf8(program.identity.name);
  bool ok = Save(window.get(), QStringLiteral("%1/%2-window.png").arg(dir, name));
  int n = 0;
  for (QAction* top : window->menuBar()->actions()) {
    if (!top->menu()) continue;
    top->menu()->popup(window->mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    ok = top->menu()->grab().save(QStringLiteral("%1/%2-menu-%3.png").arg(dir, name).arg(++n)) && ok;
    top->menu()->hide();
  }
  std::unique_ptr<QDialog> screen(MakeDrawingSettingsScreen(ctx, program.identity.name, window.get()));
  screen->adjustSize();
  ok = Save(screen.get(), QStringLiteral("%1/%2-settings.png").arg(dir, name)) && ok;
  screen->hide();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  UseJapaneseQtTexts();
  if (argc != 2) {
    std::fprintf(stderr, "usage: talvorin-companion-screenshots OUTDIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
  bool ok = Render(QuorvexWindowProgram(), dir, folder + "db/EXAMPLE-FANUC.dat");
  ok = Render(LindrelWindowProgram(), dir, WriteContourProject(folder)) && ok;
  return ok ? 0 : 1;
}
