// Placement and colours of the suite's windows: the stored placement fractions applied to the free
// area of the window's screen, the window colour as background and the text colour for static texts.
#pragma once

#include <QIcon>
#include <QWidget>

#include "shell/ProgramSetup.h"
#include "store/Installation.h"

namespace talvorin::gui {

// Moves `window`, keeping its size, by keys "X" and "Y" of section "window" within the available
// geometry of its screen (the area without panels).
void PlaceOnScreen(const Installation& inst, QWidget* window);

// Window background in the window colour, static texts in the text colour on it (transparent);
// fields, lists and buttons keep the desktop's colours.
void ApplyColours(const Installation& inst, QWidget* window);

// After a settings save: the installation the window holds takes the colours as stored now (for the
// screens it opens later); `window` (when there is one) is placed and painted anew, and so is `screen`.
void TakeSavedLook(Installation& inst, const Colours& stored, QWidget* window, QWidget* screen);

// The program's icon: a plate with drilled holes, drawn in code.
QIcon ProgramIcon();

// Qt's own texts (file dialog, colour chooser, standard buttons) in Japanese, as every text of the
// suite is, whatever the user's locale (package qt6-translations-l10n). False when they are missing;
// the dialogs then speak English.
bool UseJapaneseQtTexts();

}  // namespace talvorin::gui
