// The main program's start after its set-up: the console switch, the command line, the single-instance
// rule, the main window's creation and the command the start keyword asks for.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/talvorin/MainWindow.h"

namespace talvorin::gui {

struct StartHooks {
  std::FILE* console = stdout;         // where the console switch prints
  std::function<bool()> otherRunning;  // asks a running copy to come forward; true ends this start
  std::function<void(MainWindow&)> becomeRunning;  // this copy is the running one from now on
  ScreenRunner runner;                             // runs the modal screens and boxes
};

// Start-up after SetupProgram, in the system's order. Returns the shown main window, or nullptr when
// this start ends here: another copy runs, the NC table file cannot be resolved, or an EUKLID run above
// mode 20 (a contour) is done (the window is closed then, with its log).
std::unique_ptr<MainWindow> StartTalvorin(Context& ctx, QtReporter& reporter,
                                          const std::vector<std::string>& args, const StartHooks& hooks);

}  // namespace talvorin::gui
