// The EUKLID screens of the main program and the import flow that runs them (command 40300): the
// contour form "EUKLIDNCDATADLG", the material form "EUKMATERIALDLG" and the hole form "EUKLIDHOLEDLG".
// Each is a window of its own (no parent unless given), so it stays on the desktop while the main
// window is minimised during the flow.
//
// Control ids: contour form 1100, 1101, 1301, 1302, 1121, 1122, 1123, 1113, 5051, 5101, 5151, 5201,
// 5251, 5301, 5351, 5401, 5501; material form 1110-1112, 1113, 1120; hole form row r (0 to 19) 6000 + r
// (kind list), 6100 + r (diameter), 6200 + r, 6300 + r, 6400 + r (X, Y, Z), 6500 + r (group), and its
// scroll bar "EUKHOLESCROLL". Commands are QActions named by their id.
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>

#include "gui/common/Binding.h"
#include "project/Project.h"
#include "shell/Context.h"

namespace talvorin::gui {

class MainWindow;

// "EUKLIDNCDATADLG" over the EUKLID input path: opening creates the project database of the form and
// saves it leniently.
QDialog* MakeEuklidNcDataScreen(Context& ctx, const std::string& inputPath, QWidget* parent = nullptr);

// "EUKMATERIALDLG": material block, material and origin of the current project database. Result:
// Accepted after a successful save.
QDialog* MakeEuklidMaterialScreen(Context& ctx, QWidget* parent = nullptr);

// "EUKLIDHOLEDLG" over the circles of the EUKLID input path; its save takes the machine keys from
// `main` (the main window's fields), which must outlive the screen. Result: Accepted (1) after a
// successful save, else Rejected.
QDialog* MakeEuklidHoleScreen(Context& ctx, const std::string& inputPath, const MainForm& main,
                              QWidget* parent = nullptr);

// Command 40300: the EUKLID import flow of the start's EUKLID mode and input path, with the main window
// minimised while the screens are open, and reloaded after a saved hole import.
void RunEuklidImportCommand(MainWindow& window);

}  // namespace talvorin::gui
