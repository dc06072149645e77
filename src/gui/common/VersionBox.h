// The version box: an about box whose title and first line come from the about line, with the
// program's icon, a notice and an OK button.
#pragma once

#include <QDialog>
#include <QString>

#include "store/Installation.h"

namespace talvorin::gui {

// The notice under the version line.
extern const char* const kVersionNotice;

// A box ready to run (objectName "VERSIONBOX"; its labels "version" and "notice"); the caller runs it
// and deletes it. `title`: the box's title when the program has its own (the drawing programs); the
// about line's title otherwise.
QDialog* MakeVersionBox(const Installation& inst, QWidget* parent, const QString& title = QString());

}  // namespace talvorin::gui
