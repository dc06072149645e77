// The process screen "NCPROCESSINGDLG" of the main window's commands 40023 (creation), 40050 (reading)
// and 40052 (NC creation).
#pragma once

#include <QDialog>
#include <QWidget>

#include "process/Process.h"
#include "shell/Context.h"

namespace talvorin::gui {

// Control id of row `row` (1 to 30), column `column` (ProcessColumn) of the process screen.
constexpr int ProcessFieldId(int row, int column) {
  return 10000 + row * 100 + column;
}

// The screen over a form that MakeNcProcess opened (names filled, rows generated or read); the form
// must outlive the screen.
QDialog* MakeProcessScreen(Context& ctx, ProcessForm& form, QWidget* mainWindow);

}  // namespace talvorin::gui
