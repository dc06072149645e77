#include "gui/talvorin/TalvorinStart.h"

#include "store/Profile.h"

namespace talvorin::gui {

std::unique_ptr<MainWindow> StartTalvorin(Context& ctx, QtReporter& reporter,
                                          const std::vector<std::string>& args, const StartHooks& hooks) {
  // The console switch: every message-list line also goes to standard output.
  if (ReadInt(ctx.inst.iniPath, "TALVORIN", "consol", 0) == 1 && hooks.console) {
    std::fprintf(hooks.console, "$$$ Console - Start $$$\n");
    std::fflush(hooks.console);
    reporter.SetConsole(hooks.console);
  }
  const StartArguments start = EvaluateCommandLine(args);
  // One copy per user: a later start, whatever its arguments, brings the first forward and ends.
  if (hooks.otherRunning && hooks.otherRunning()) return nullptr;

  auto window = std::make_unique<MainWindow>(ctx, reporter, hooks.runner);
  window->Start() = start;
  if (hooks.becomeRunning) hooks.becomeRunning(*window);
  if (!window->Create()) {
    window->close();
    return nullptr;
  }
  window->show();
  // Typing starts in the project name, as in the dialog the window stands for.
  FindControl<QWidget>(window.get(), 1100)->setFocus();
  if (start.euklidMode > 0) {
    // A file named for a contour or circle import that is not there: said before the flow, which
    // then has nothing to do.
    const bool kindNamed = start.euklidMode == 11 || start.euklidMode == 31;
    if (kindNamed && start.euklidPath.empty())
      ctx.reporter.Reportf(-1, "エラー：EUKLID ファイル %s がありません", args[1].c_str());
    window->RunCommand(40300);
    // A contour run ends the program: the window closes with its log.
    if (start.euklidMode > 20) {
      window->close();
      return nullptr;
    }
  } else if (start.keywordMode == kStartSystemInfo) {
    window->RunCommand(40093);
  } else if (start.keywordMode == kStartProgramInfo) {
    window->RunCommand(40092);
  } else if (start.keywordMode == kStartVersion) {
    window->RunCommand(40091);
  }
  return window;
}

}  // namespace talvorin::gui
