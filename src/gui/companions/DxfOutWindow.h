// The window "DXFOUTDIALOG" of the two drawing programs (quorvex, lindrel): the two labelled path
// fields, the message list with the program's start-up lines, a status bar and the menu "PROGMENU".
// Command 40020 runs the program's export on the current project database; files dropped on the
// window are exported one after the other.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QTableView>
#include <string>
#include <vector>

#include "dxf/DrawingProgram.h"
#include "dxf/DxfWriter.h"
#include "gui/common/Binding.h"
#include "gui/common/QtReporter.h"

namespace talvorin::gui {

// What differs between the two programs' windows.
struct CompanionProgram {
  const DrawingProgramIdentity& identity;
  int (*exportRun)(Context& ctx, const ElementColor& colors);  // the whole export run (40020)
  const char* sourceCaption;  // caption of the first path field ("ＣＡＭファイル", "CSV ファイル")
  // The paths the two fields show for the current project database: the source (project database or
  // curve file) and the drawing file; "" where it cannot be told.
  void (*paths)(Context& ctx, std::string& source, std::string& drawing);
  bool systemInformation;                          // the menu offers 40033 "システム情報登録"
  bool (*wantsConsole)(const Installation& inst);  // the console switch is on; nullptr: no switch
};

const CompanionProgram& QuorvexWindowProgram();
const CompanionProgram& LindrelWindowProgram();

class DxfOutWindow;

// One row of the command table: id, menu ("" for a command without a menu entry), caption, handler.
struct CompanionCommand {
  int id;
  const char* menu;
  const char* caption;
  void (*run)(DxfOutWindow& window);
};

// The command table of the program's window, in menu order.
std::vector<CompanionCommand> CompanionCommands(const CompanionProgram& program);

class DxfOutWindow : public QMainWindow {
 public:
  // `reporter` is ctx.reporter; `runner` runs the modal screens.
  DxfOutWindow(Context& ctx, QtReporter& reporter, const CompanionProgram& program, ScreenRunner runner);

  // Runs the command of `id` from the table; false for an id that is not in it.
  bool RunCommand(int id);

  // Icon, colours, size and placement, status bar, message list with the start-up lines.
  void Create();

  // Export run on the current project database (command 40020), with the path fields shown before and
  // after it. Returns the run's result.
  int ExportDrawing();

  // Each file as the project database of a full export run, in order.
  void ExportFiles(const std::vector<std::string>& files);

  // The path fields from the current project database.
  void ShowPaths();

  Context& Ctx() { return ctx_; }
  const CompanionProgram& Program() const { return program_; }
  const ScreenRunner& Runner() const { return runner_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void BuildStatusBar();

  Context& ctx_;
  QtReporter& reporter_;
  const CompanionProgram& program_;
  ScreenRunner runner_;
  QLineEdit *source_ = nullptr, *drawing_ = nullptr;
  QTableView* list_ = nullptr;
};

}  // namespace talvorin::gui
