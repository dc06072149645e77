// The settings screen of the drawing programs ("INITDXFOUTDLG"): the DXF viewer, the window's start
// position and its colours, all in the program's own INI ("quorvex.ini", "lindrel.ini").
#pragma once

#include <string>
#include <string_view>

#include "shell/Context.h"
#include "shell/ProgramSetup.h"

namespace talvorin {

struct DrawingSettingsForm {
  std::string viewer;                    // key "viewer" of the program's section (519 bytes)
  std::string positionX, positionY;      // "起動画面位置" X, Y of section "window": 0 to 1 (15 bytes)
  std::string windowColour, textColour;  // "背景色 [RGB]", "文字色 [RGB]" of section "color" (15 bytes)
  double placementX = 0.5, placementY = 0.5;  // where the window is to be placed (fractions)
  Colours storedColours{};  // after a save: the colours as stored now, for the window to repaint with
};

// On opening and for the load command: every field from its key (a missing key leaves the field as
// it is), then the position check. `section`: the program's name ("quorvex", "lindrel").
int LoadDrawingSettings(Context& ctx, std::string_view section, DrawingSettingsForm& form);

// On leaving a position field: both held to 0-1, each correction reported with the range message.
int CheckDrawingPosition(Context& ctx, DrawingSettingsForm& form);

// Save: a position outside 0-1 refuses the whole save with the range message (the field corrected,
// nothing written). Otherwise every non-empty field that differs from its stored value (letter case
// aside) is written, all in one replacement of the INI; "設定値に変更はありません" or
// "%d個の設定値を保存しました。" (kind 1). The colours are read again into the form; the installation stays
// as it is.
// -1 after "エラー：[%s] %s=%s 書込失敗" when the INI cannot be written (it is left as it was).
int SaveDrawingSettings(Context& ctx, std::string_view section, DrawingSettingsForm& form);

}  // namespace talvorin
