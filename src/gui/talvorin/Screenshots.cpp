// talvorin-screenshots OUTDIR: renders the main window and its screens to PNG files. Run in a copy of
// the program folder (it starts the main program there, without starting any outside program).
#include "gui/talvorin/Screenshots.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "euklid/Euklid.h"
#include "gui/common/ProgramInfoScreen.h"
#include "gui/common/VersionBox.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/HoleScreens.h"
#include "gui/talvorin/ProcessDialog.h"
#include "gui/talvorin/SettingsScreens.h"
#include "gui/talvorin/TalvorinStart.h"
#include "shell/ProgramSetup.h"
#include "testing/TestDoubles.h"

namespace talvorin::gui {

const std::vector<Screenshot>& ScreenshotList() {
  static const std::vector<Screenshot> list = {
      {"main-window", nullptr},
      {"main-window-loaded",
       [](MainWindow& main) -> QWidget* {
         auto& dialogs = static_cast<ScriptedDialogs&>(main.Ctx().dialogs);
         dialogs.files.push_back(main.Ctx().inst.programFolder + "db/EXAMPLE-OSP.dat");
         main.RunCommand(40001);
         return nullptr;
       }},
      {"program-information",
       [](MainWindow& main) -> QWidget* {
         return MakeProgramInfoScreen(main.Ctx().inst, main.Ctx().platform.ExecutablePath(), &main);
       }},
      {"version-box", [](MainWindow& main) -> QWidget* { return MakeVersionBox(main.Ctx().inst, &main); }},
      {"initial-settings",
       [](MainWindow& main) -> QWidget* { return MakeInitialSettingsScreen(main.Ctx(), &main); }},
      {"tap-settings", [](MainWindow& main) -> QWidget* { return MakeTapSettingsScreen(main.Ctx(), &main); }},
      {"start-end-lines",
       [](MainWindow& main) -> QWidget* { return MakeAddNcDataScreen(main.Ctx(), &main); }},
      {"coordinate-systems",
       [](MainWindow& main) -> QWidget* { return MakeCoordinateSystemScreen(main.Ctx(), &main); }},
      // Group 6 of the loaded example is empty; group 3 holds a counterbored long hole.
      {"shape-input", [](MainWindow& main) -> QWidget* { return MakeShapeInputScreen(main.Ctx(), 6, {}); }},
      {"shape-input-filled",
       [](MainWindow& main) -> QWidget* { return MakeShapeInputScreen(main.Ctx(), 3, {}); }},
      {"circle-calculation",
       [](MainWindow& main) -> QWidget* {
         static ShapeForm shape;
         QDialog* circle = MakeRotationCalculationScreen(main.Ctx(), shape, nullptr, &main);
         const char* values[] = {"100", "75", "40", "60", "0", "6"};
         for (int i = 0; i < 6; ++i)
           FindControl<QLineEdit>(circle, 2400 + i)->setText(QString::fromUtf8(values[i]));
         return circle;
       }},
      {"tool-list", [](MainWindow& main) -> QWidget* { return MakeToolListScreen(main.Ctx(), &main); }},
      {"cutting-conditions",
       [](MainWindow& main) -> QWidget* { return MakeConditionScreen(main.Ctx(), &main); }},
      {"process-screen",
       [](MainWindow& main) -> QWidget* {
         // The example project's stored processes, as command 40050 shows them.
         static ProcessForm form;
         auto& dialogs = static_cast<ScriptedDialogs&>(main.Ctx().dialogs);
         dialogs.files.push_back(main.Ctx().inst.programFolder + "db/EXAMPLE-FANUC.dat");
         main.RunCommand(40001);
         form.mode = ProcessMode::kReading;
         OpenProcessScreen(main.Ctx(), form, main.Form(), {});
         return MakeProcessScreen(main.Ctx(), form, &main);
       }},
      // The EUKLID screens over the shipped sample files.
      {"euklid-contour",
       [](MainWindow& main) -> QWidget* {
         return MakeEuklidNcDataScreen(main.Ctx(),
                                       main.Ctx().inst.programFolder + "euklid/PLATE-CONTOUR.csv");
       }},
      {"euklid-material",
       [](MainWindow& main) -> QWidget* {
         SettingEukHoleFile(main.Ctx(), main.Ctx().inst.programFolder + "euklid/PLATE-HOLES.csv");
         return MakeEuklidMaterialScreen(main.Ctx());
       }},
      {"euklid-holes",
       [](MainWindow& main) -> QWidget* {
         QDialog* holes = MakeEuklidHoleScreen(
             main.Ctx(), main.Ctx().inst.programFolder + "euklid/PLATE-HOLES.csv", main.Form());
         // The sample's drills, taps and counterbores chosen and grouped.
         const int kinds[] = {0, 0, 0, 0, 1, 1, 3, 3};
         for (int r = 0; r < 8; ++r)
           FindControl<QComboBox>(holes, 6000 + r)->setCurrentIndex(kinds[r]);
         holes->findChild<QAction*>(QStringLiteral("40314"))->trigger();
         return holes;
       }},
  };
  return list;
}

}  // namespace talvorin::gui

using namespace talvorin;
using namespace talvorin::gui;

namespace {

bool Save(QWidget* widget, const QString& file, bool fitToContents) {
  widget->show();
  if (fitToContents) widget->adjustSize();
  QApplication::processEvents();
  const bool saved = widget->grab().save(file);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
  return saved;
}

// Each menu of the main window opened, as its own picture.
bool SaveMenus(MainWindow& main, const QString& dir) {
  bool ok = true;
  int n = 0;
  for (QAction* top : main.menuBar()->actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    menu->popup(main.mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    ok = menu->grab().save(QStringLiteral("%1/menu-%2.png").arg(dir).arg(++n)) && ok;
    menu->hide();
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  UseJapaneseQtTexts();
  if (argc != 2) {
    std::fprintf(stderr, "usage: talvorin-screenshots OUTDIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  Installation inst;
  RecordingPlatform platform;
  platform.executablePath = PosixPlatform().ExecutablePath();
  platform.now = PosixPlatform().LocalTime();
  QtReporter reporter(QStringLiteral("TALVORIN"));
  reporter.SetBoxPresenter([](QWidget*, const QString&, const QString&, int) {});
  ScriptedDialogs dialogs;
  Context ctx{inst, reporter, platform, dialogs, ""};
  SetupProgram(inst, platform.executablePath, TheBuildDate());
  StartHooks hooks;
  hooks.console = nullptr;
  std::unique_ptr<MainWindow> main = StartTalvorin(ctx, reporter, {}, hooks);
  if (!main) return 1;
  bool ok = true;
  for (const Screenshot& shot : ScreenshotList()) {
    const QString file = QStringLiteral("%1/%2.png").arg(dir, QString::fromUtf8(shot.name));
    std::unique_ptr<QWidget> widget(shot.make ? shot.make(*main) : nullptr);
    ok = Save(widget ? widget.get() : main.get(), file, widget != nullptr) && ok;
    if (widget) widget->hide();
  }
  ok = SaveMenus(*main, dir) && ok;
  return ok ? 0 : 1;
}
