// The main window "TALVORINMAINDLG": the project header fields, the six hole-group buttons, the message
// list, the status bar and the menu "MAINPROGMENU" whose commands run the system's operations. Its
// fields are a view of the MainForm: a command copies them into the form, runs the operation and
// copies the form back.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <array>
#include <string>
#include <vector>

#include "gui/common/Binding.h"
#include "gui/common/QtReporter.h"
#include "project/Project.h"
#include "shell/CommandLine.h"

namespace talvorin::gui {

class MainWindow;

// One row of the command table: the id, where it sits in the menu ("ファイル/閉じる"; empty for the
// hole-group buttons and the controller list), its caption, its caption on the bar's right part
// (empty when it has none) and its handler.
struct MainCommand {
  int id;
  const char* menu;
  const char* caption;
  const char* barCaption;
  void (*run)(MainWindow& window);
};

// The command table of the main window, in menu order.
const std::vector<MainCommand>& MainCommands();

class MainWindow : public QMainWindow {
 public:
  // `reporter` is ctx.reporter; `runner` runs the modal screens and boxes.
  MainWindow(Context& ctx, QtReporter& reporter, ScreenRunner runner);

  // Runs the command of `id` from the table; false for an id that is not in it.
  bool RunCommand(int id);

  Context& Ctx() { return ctx_; }
  MainForm& Form() { return form_; }
  const ScreenRunner& Runner() const { return runner_; }
  StartArguments& Start() { return start_; }
  int CurrentHoleGroup() const { return holeGroup_; }
  void SetCurrentHoleGroup(int group) { holeGroup_ = group; }

  // Widgets to form and form to widgets (title included).
  void FormFromWidgets();
  void WidgetsFromForm();

  // The window creation steps after the widgets exist: icon, placement, status bar, message list,
  // machine choices and program number, banner and folders, the NC table file. False when the NC table
  // file cannot be resolved (the caller closes the window).
  bool Create();

  // The status bar's parts (start time, version, notice).
  const std::array<QLabel*, 3>& StatusParts() const { return status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void BuildStatusBar();
  void LayOutStatusBar();

  Context& ctx_;
  QtReporter& reporter_;
  ScreenRunner runner_;
  MainForm form_;
  StartArguments start_;
  int holeGroup_ = 1;
  bool logWritten_ = false;

  QLineEdit *project_ = nullptr, *product_ = nullptr, *programNumber_ = nullptr;
  std::array<QLineEdit*, 3> size_{};
  QComboBox *material_ = nullptr, *origin_ = nullptr, *controller_ = nullptr, *coordinates_ = nullptr;
  std::array<QPushButton*, 6> groups_{};
  QTableView* list_ = nullptr;
  std::array<QLabel*, 3> status_{};
};

}  // namespace talvorin::gui
