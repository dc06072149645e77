// A drawing program (quorvex or lindrel) started as its start-up does, in a copy of the shipped
// installation in a temporary folder: its own INI, recording platform, boxes recorded with whether
// the window was still open when each was shown, modal screens run by the test's hook.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "gui/GuiTestSupport.h"
#include "gui/companions/CompanionStart.h"
#include "store/Profile.h"

namespace talvorin::test {

struct CompanionFixture {
  explicit CompanionFixture(const gui::CompanionProgram& p) : program(p) { CopyProgramFolder(folder); }

  std::string Name() const { return program.identity.name; }
  std::string IniFile() const { return folder.File(Name() + ".ini"); }
  // Sets a key of the program's INI before the start.
  void Ini(const char* section, const char* key, const std::string& value) {
    WriteString(IniFile(), section, key, value);
  }

  // Starts with `args`; false when the start ended without a window.
  bool Start(const std::vector<std::string>& args = {}, std::FILE* console = nullptr) {
    t = std::make_unique<GuiTestContext>(folder);
    t->platform.executablePath = folder.File(Name());
    SetupDrawingProgram(t->inst, t->platform.executablePath, program.identity.name, BuildDate{2026, 6, 3});
    t->reporter.SetBoxPresenter([this](QWidget*, const QString&, const QString& text, int kind) {
      t->boxes.emplace_back(text, kind);
      openAtBox.push_back(window && window->isVisible());
    });
    gui::CompanionHooks hooks;
    hooks.console = console;
    hooks.otherRunning = [this] { return otherRunning; };
    hooks.runner.run = [this](QDialog& dialog) {
      screens.append(dialog.objectName());
      return screen ? screen(dialog) : int(QDialog::Rejected);
    };
    window = gui::StartDrawingProgram(t->ctx, t->reporter, program, args, hooks);
    return window != nullptr;
  }

  const std::vector<std::string>& Lines() const { return t->reporter.Lines(); }

  const gui::CompanionProgram& program;
  TestFolder folder;
  std::unique_ptr<GuiTestContext> t;
  bool otherRunning = false;
  QStringList screens;                  // objectName of every modal screen run, in order
  std::function<int(QDialog&)> screen;  // what the test does on a modal screen
  std::vector<bool> openAtBox;          // the window was open when each box was shown
  std::unique_ptr<gui::DxfOutWindow> window;
};

}  // namespace talvorin::test
