#include "dxf/DrawingSettings.h"

#include <utility>
#include <vector>

#include "shell/ProgramSetup.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kViewerLimit = 519;
constexpr std::size_t kShortLimit = 15;

struct Field {
  std::string section;
  const char* key;
  std::string* text;
  std::size_t limit;
};

// The fields in the order they are saved.
std::vector<Field> Fields(std::string_view section, DrawingSettingsForm& form) {
  return {{std::string(section), "viewer", &form.viewer, kViewerLimit},
          {"window", "X", &form.positionX, kShortLimit},
          {"window", "Y", &form.positionY, kShortLimit},
          {"color", "window", &form.windowColour, kShortLimit},
          {"color", "text", &form.textColour, kShortLimit}};
}

}  // namespace

int LoadDrawingSettings(Context& ctx, std::string_view section, DrawingSettingsForm& form) {
  for (const Field& f : Fields(section, form)) {
    std::string value = ReadString(ctx.inst.iniPath, f.section, f.key, f.limit + 1);
    if (!value.empty()) *f.text = value;
  }
  return CheckDrawingPosition(ctx, form);
}

int CheckDrawingPosition(Context& ctx, DrawingSettingsForm& form) {
  form.placementX = CheckPlacementField(ctx.reporter, form.positionX);
  form.placementY = CheckPlacementField(ctx.reporter, form.positionY);
  return 0;
}

int SaveDrawingSettings(Context& ctx, std::string_view section, DrawingSettingsForm& form) {
  // A position out of range is corrected in the field and nothing is saved: the user sees the
  // corrected value before it is stored.
  const std::string x = form.positionX, y = form.positionY;
  CheckDrawingPosition(ctx, form);
  if (form.positionX != x || form.positionY != y) return -1;

  // The changed fields in one replacement of the INI: a failure leaves it as it was.
  ProfileEdit edit(ctx.inst.iniPath);
  std::vector<std::pair<const Field*, std::string>> writes;
  const std::vector<Field> fields = Fields(section, form);
  for (const Field& f : fields) {
    std::string value = Cp932Cut(*f.text, f.limit);
    if (value.empty() || EqualsIgnoringAsciiCase(value, edit.ReadString(f.section, f.key, f.limit + 1)))
      continue;
    writes.emplace_back(&f, value);
    if (!edit.Write(f.section, f.key, value)) break;
  }
  if (!writes.empty() && (edit.Changes().size() != writes.size() || !edit.Apply())) {
    const auto& [f, value] = edit.Changes().size() != writes.size() ? writes.back() : writes.front();
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書込失敗", f->section.c_str(), f->key, value.c_str());
  }

  form.storedColours = ReadColours(ctx.inst);
  form.placementX = PlacementFraction(ReadStringOr(ctx.inst.iniPath, "window", "X", 16, "0.5"));
  form.placementY = PlacementFraction(ReadStringOr(ctx.inst.iniPath, "window", "Y", 16, "0.5"));
  if (writes.empty())
    ctx.reporter.Report("設定値に変更はありません", 1);
  else
    ctx.reporter.Reportf(1, "%d個の設定値を保存しました。", static_cast<int>(writes.size()));
  return 0;
}

}  // namespace talvorin
