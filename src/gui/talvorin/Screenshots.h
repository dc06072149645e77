// The windows and screens that scripts/screenshots.sh renders: one entry per picture, each making its
// widget over a started main window. A new screen adds its entry to ScreenshotList().
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "gui/talvorin/MainWindow.h"

namespace talvorin::gui {

struct Screenshot {
  const char* name;  // the file name without ".png"
  // The widget to render; nullptr renders the main window itself. A widget made here is deleted after.
  std::function<QWidget*(MainWindow& main)> make;
};

const std::vector<Screenshot>& ScreenshotList();

}  // namespace talvorin::gui
