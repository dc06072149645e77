// The main program started as its start-up does, in a copy of the shipped installation in a temporary
// folder: recording platform, scripted dialogs, boxes recorded, modal screens recorded by name and
// closed at once.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "gui/GuiTestSupport.h"
#include "gui/talvorin/TalvorinStart.h"
#include "store/Profile.h"

namespace talvorin::test {

struct TalvorinFixture {
  TalvorinFixture() { CopyProgramFolder(folder); }

  // Sets a key of the program INI before the start.
  void Ini(const char* section, const char* key, const std::string& value) {
    WriteString(folder.File("TALVORIN.ini"), section, key, value);
  }

  // Starts with `args`; false when the start ended without a window.
  bool Start(const std::vector<std::string>& args = {}, std::FILE* console = nullptr) {
    t = std::make_unique<GuiTestContext>(folder);
    gui::StartHooks hooks;
    hooks.console = console;
    hooks.otherRunning = [this] { return otherRunning; };
    hooks.runner.run = [this](QDialog& dialog) {
      screens.append(dialog.objectName());
      return drive ? drive(dialog) : int(QDialog::Rejected);
    };
    window = gui::StartTalvorin(t->ctx, t->reporter, args, hooks);
    return window != nullptr;
  }

  // Every list line so far.
  const std::vector<std::string>& Lines() const { return t->reporter.Lines(); }
  // The text of the last box, "" when none was shown.
  QString LastBox() const { return t->boxes.empty() ? QString() : t->boxes.back().first; }

  TestFolder folder;
  std::unique_ptr<GuiTestContext> t;
  bool otherRunning = false;
  QStringList screens;  // objectName of every modal screen run, in order
  // Drives each modal screen (shown by it) as a user would and gives its result; unset, every screen
  // closes at once with Rejected.
  std::function<int(QDialog&)> drive;
  std::unique_ptr<gui::MainWindow> window;
};

}  // namespace talvorin::test
