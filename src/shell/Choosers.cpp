#include "shell/Choosers.h"

#include <algorithm>

#include "shell/ProgramSetup.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kProgramLimit = 519;

}  // namespace

FieldPaint ColourFieldPaint(std::string_view fieldText) {
  Colour c{0, 0, 0};
  ParseColour(fieldText, c);
  int least = std::min({c.red, c.green, c.blue});
  return {c, {least - c.red + 255, least - c.green + 255, least - c.blue + 255}};
}

int ChooseProgram(Context& ctx, std::string& field) {
  std::string path;
  if (!ctx.dialogs.ChooseProgram("ファイルを開く", path))
    return ctx.reporter.Report("エラー：実行ファイルの取得中止", -1);
  if (!PathExists(path))
    return ctx.reporter.Reportf(-1, "エラー：実行ファイル %s がありません。", path.c_str());
  // The field holds at most 519 bytes; a longer path would be stored cut, naming another file.
  if (Cp932Length(path) > kProgramLimit)
    return ctx.reporter.Reportf(-1, "エラー：実行ファイル %s のパスが長すぎます。", path.c_str());
  field = path;
  return 0;
}

int ChooseColour(Context& ctx, std::string& field) {
  Colour colour{0, 0, 0};
  ParseColour(field, colour);
  if (ctx.dialogs.ChooseColour(colour)) field = Sprintf("%d,%d,%d", colour.red, colour.green, colour.blue);
  return 0;
}

}  // namespace talvorin
