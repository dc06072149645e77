// The settings screen "INITDXFOUTDLG" of the drawing programs, from command 40010 "設定".
#pragma once

#include <QDialog>

#include "shell/Context.h"

namespace talvorin::gui {

// The screen over `window`, editing the program's INI: `section` is the program's name, which holds
// its viewer key. Saving places `window` and paints it in the stored colours.
QDialog* MakeDrawingSettingsScreen(Context& ctx, const char* section, QWidget* window);

}  // namespace talvorin::gui
