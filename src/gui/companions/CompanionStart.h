// The start of a drawing program after its set-up: the console switch, single-job mode for one
// existing project database, the single-instance rule otherwise, the window and the export at once.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/companions/DxfOutWindow.h"

namespace talvorin::gui {

struct CompanionHooks {
  std::FILE* console = stdout;                       // where the console switch prints
  std::function<bool()> otherRunning;                // asks a running copy to come forward
  std::function<void(DxfOutWindow&)> becomeRunning;  // this copy is the running one from now on
  ScreenRunner runner;                               // runs the modal screens
};

// Start-up after SetupDrawingProgram, in the program's order. Returns the shown window, or nullptr
// when another copy runs (that copy was brought forward). With a project database the export runs
// once the event loop turns; in single-job mode the window then closes, whatever the result.
std::unique_ptr<DxfOutWindow> StartDrawingProgram(Context& ctx, QtReporter& reporter,
                                                  const CompanionProgram& program,
                                                  const std::vector<std::string>& args,
                                                  const CompanionHooks& hooks);

// main() of a drawing program: set-up, start, event loop.
int RunDrawingProgram(int argc, char** argv, const CompanionProgram& program);

}  // namespace talvorin::gui
