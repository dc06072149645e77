// The choosers of the settings screens' buttons: a program file for a path field, a colour for a
// colour field. The main program's initial settings and the drawing programs' settings use them.
#pragma once

#include <string>
#include <string_view>

#include "shell/Context.h"

namespace talvorin {

// A program chosen with the program chooser (it starts in the user's home folder and offers executable
// files) goes into `field`. -1 after "エラー：実行ファイルの取得中止" (cancelled), "エラー：実行ファイル
// %s がありません。" or a path longer than the field's 519 bytes.
int ChooseProgram(Context& ctx, std::string& field);
// The colour chooser starts at the field's colour ("0,0,0" when empty); `field` becomes "R,G,B" when
// a colour is confirmed.
int ChooseColour(Context& ctx, std::string& field);

// Colour of a painted colour field: the field's own colour behind, and for each component c the
// value min(red, green, blue) - c + 255 as text colour.
struct FieldPaint {
  Colour background, text;
};
// An empty field or components that do not parse count as 0.
FieldPaint ColourFieldPaint(std::string_view fieldText);

}  // namespace talvorin
