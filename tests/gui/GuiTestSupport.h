// Helpers of the desktop tests: an installation in a temporary folder with a Qt reporter whose boxes
// are recorded, and the search of a control by its caption through the accessibility interface.
#pragma once

#include <QAccessibleInterface>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

#include "gui/common/QtReporter.h"
#include "shell/Context.h"
#include "support/TestFolder.h"
#include "testing/TestDoubles.h"

namespace talvorin::test {

struct GuiTestContext {
  explicit GuiTestContext(const TestFolder& folder);
  gui::QtReporter reporter{QStringLiteral("TALVORIN")};
  std::vector<std::pair<QString, int>> boxes;  // text and kind of each box shown
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  Installation inst;
  Context ctx;
};

// The accessible object under `root` (its window, its menus) whose name is `caption`; nullptr when
// there is none.
QAccessibleInterface* FindByCaption(QWidget* root, const QString& caption);

// Every accessible name under `root`, for failure messages.
QStringList AccessibleNames(QWidget* root);

}  // namespace talvorin::test
