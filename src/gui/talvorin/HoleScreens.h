// The hole-group screens: the shape-entry screen of one hole group and the circle screen opened over it.
// Both are driven by control id: the kind selector 2000, parameter captions 2100-2109 and fields
// 2200-2209, coordinate rows 3000-3009 (X), 3100-3109 (Y), 3200-3209 (Z, read-only); the circle fields
// 2400-2405; commands are QActions named by their id (40200 save, 40201 CSV, 40202 end, 40203 circle
// screen; 40104 calculate, 40103 close, 40102 help).
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>

#include "gui/common/Binding.h"
#include "holes/Holes.h"
#include "shell/Context.h"

namespace talvorin::gui {

// "SHAPEINPUTDLG" for hole group `group` (1 to 6) of the project ctx.dbPath, loaded on creation. Its
// circle screen is run through `runner`. It is a window of its own (no parent), so it stays on the
// desktop while the main window is minimised. Result: Accepted after a successful save.
QDialog* MakeShapeInputScreen(Context& ctx, int group, ScreenRunner runner);

// "ROTATIONCALCULATIONDLG" over `shapeScreen`: its calculation fills the rows of `shape` and then calls
// `rowsChanged`, which shows them on the shape-entry screen.
QDialog* MakeRotationCalculationScreen(Context& ctx, ShapeForm& shape, std::function<void()> rowsChanged,
                                       QWidget* shapeScreen);

}  // namespace talvorin::gui
