#include "gui/companions/CompanionStart.h"

#include <QApplication>
#include <QPointer>

#include "gui/common/QtUserDialogs.h"
#include "gui/common/SingleInstance.h"
#include "gui/common/WindowLook.h"
#include "lindrel/EuklidDrawing.h"
#include "store/Profile.h"

namespace talvorin::gui {

std::unique_ptr<DxfOutWindow> StartDrawingProgram(Context& ctx, QtReporter& reporter,
                                                  const CompanionProgram& program,
                                                  const std::vector<std::string>& args,
                                                  const CompanionHooks& hooks) {
  // The console switch: every message-list line also goes to standard output.
  if (program.wantsConsole && program.wantsConsole(ctx.inst) && hooks.console) {
    std::fputs(kLindrelConsoleLine, hooks.console);
    std::fflush(hooks.console);
    reporter.SetConsole(hooks.console);
  }
  // One existing file: single-job mode, which bypasses the single-instance rule.
  const bool singleJob = IsSingleJob(args);
  if (singleJob)
    ctx.dbPath = args[0];
  else if (hooks.otherRunning && hooks.otherRunning())
    return nullptr;

  auto window = std::make_unique<DxfOutWindow>(ctx, reporter, program, hooks.runner);
  if (!singleJob && hooks.becomeRunning) hooks.becomeRunning(*window);
  window->Create();
  window->show();
  if (!ctx.dbPath.empty() && PathExists(ctx.dbPath)) {
    // Once the window is on the screen: an error box of the run then stands over it, and the single
    // job's window closes only after the user has closed that box.
    QPointer<DxfOutWindow> shown(window.get());
    QMetaObject::invokeMethod(
        window.get(),
        [shown, singleJob] {
          if (!shown) return;
          shown->RunCommand(40020);
          if (singleJob && shown) shown->close();
        },
        Qt::QueuedConnection);
  }
  return window;
}

int RunDrawingProgram(int argc, char** argv, const CompanionProgram& program) {
  QApplication app(argc, argv);
  UseJapaneseQtTexts();
  const QString name = QString::fromUtf8(program.identity.name);
  // The menu entry of the package (quorvex): desktops match the window to it by this name.
  QGuiApplication::setDesktopFileName(name);
  Installation inst;
  PosixPlatform platform;
  QtReporter reporter(name);
  QtUserDialogs dialogs(name);
  Context ctx{inst, reporter, platform, dialogs, ""};
  SetupDrawingProgram(inst, platform.ExecutablePath(), program.identity.name, TheBuildDate());

  std::vector<std::string> args;
  const QStringList arguments = app.arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    args.push_back(arguments[i].toStdString());

  SingleInstance single(name);
  CompanionHooks hooks;
  hooks.otherRunning = [&single] { return single.AskRunningToComeForward(); };
  hooks.becomeRunning = [&single](DxfOutWindow& window) {
    single.Listen([&window] { BringForward(&window); });
  };
  std::unique_ptr<DxfOutWindow> window = StartDrawingProgram(ctx, reporter, program, args, hooks);
  if (!window) return 0;
  dialogs.SetParent(window.get());
  QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
  return app.exec();
}

}  // namespace talvorin::gui
