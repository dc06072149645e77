// talvorin: the desktop main program.
#include <QApplication>

#include "gui/common/QtUserDialogs.h"
#include "gui/common/SingleInstance.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/TalvorinStart.h"
#include "shell/ProgramSetup.h"

using namespace talvorin;
using namespace talvorin::gui;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The menu entry of the package: desktops match the window to it by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("talvorin"));
  UseJapaneseQtTexts();
  Installation inst;
  PosixPlatform platform;
  QtReporter reporter(QStringLiteral("TALVORIN"));
  QtUserDialogs dialogs(QStringLiteral("TALVORIN"));
  Context ctx{inst, reporter, platform, dialogs, ""};
  SetupProgram(inst, platform.ExecutablePath(), TheBuildDate());

  std::vector<std::string> args;
  const QStringList arguments = app.arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    args.push_back(arguments[i].toStdString());

  SingleInstance single(QStringLiteral("talvorin"));
  StartHooks hooks;
  hooks.otherRunning = [&single] { return single.AskRunningToComeForward(); };
  hooks.becomeRunning = [&single, &dialogs](MainWindow& window) {
    dialogs.SetParent(&window);
    single.Listen([&window] { BringForward(&window); });
  };
  std::unique_ptr<MainWindow> window = StartTalvorin(ctx, reporter, args, hooks);
  if (!window) return 0;
  QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
  return app.exec();
}
