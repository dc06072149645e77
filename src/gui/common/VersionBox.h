// The version box: an about box whose title and first line come from the about line, with the
// program's icon and a notice.
#pragma once

#include <QMessageBox>

#include "store/Installation.h"

namespace talvorin::gui {

// The notice under the version line.
extern const char* const kVersionNotice;

// A box ready to run (objectName "VERSIONBOX"); the caller runs it and deletes it.
QMessageBox* MakeVersionBox(const Installation& inst, QWidget* parent);

}  // namespace talvorin::gui
