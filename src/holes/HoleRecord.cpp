// The hole record of sections "hole1" to "hole6": saving the shape-entry screen into it and reading it
// back, and the numeric read used by process generation and the milling routines.
#include <cmath>
#include <numbers>

#include "holes/Holes.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// How each kind is saved: the parameters that must be filled and the progress line.
struct KindSaving {
  std::string_view word;
  int required;
  const char* progress;
};

constexpr KindSaving kKindSavings[] = {
    {kDrill, 2, "+++ ドリル穴保存"},        {kBigHole, 2, "+++ 大穴保存"},
    {kNtap, 5, "+++ タップ穴保存"},         {kReamer, 5, "+++ リーマ穴保存"},
    {kCounterbore, 4, "+++ ザグリ穴保存"},  {kLongHole, 4, "+++ 長穴保存"},
    {kCbLongHole, 6, "+++ ザグリ長穴保存"}, {kUgroove, 2, "+++ Ｕ溝保存"},
};

// A coordinate that would print as "-0." is written as 0.
double WithoutNegativeZero(double v) {
  return (v > -0.0005 && v < 0) ? 0.0 : v;
}

// The parameters of the screen written as "variable0" to "variable9"; `numbers` receives their values
// (0 for empty ones). Shared by both savers, which differ only in the missing-value message.
int SaveParameters(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section, int required,
                   bool longHole, std::array<double, kHoleParameters>& numbers) {
  Reporter& rep = ctx.reporter;
  const std::string sec(section);
  for (int i = 0; i < kHoleParameters; ++i) {
    const std::string& caption = form.captions[static_cast<std::size_t>(i)];
    const std::string& value = form.params[static_cast<std::size_t>(i)];
    if (value.empty() && i < required) {
      if (longHole) return rep.Reportf(-1, "エラー：%s 取出失敗", caption.c_str());
      return rep.Reportf(-1, "エラー：[%d] %s 取出失敗", i, caption.c_str());
    }
    std::string key = Sprintf("%s%d", "variable", i);
    // A value that is no number the field can hold would be cut or written as "nan" later.
    if (!value.empty() && !IsStorableNumber(value, kValueBytes))
      return rep.Reportf(-1, "エラー：[%s] %s=%s 数値が正しくありません", sec.c_str(), key.c_str(),
                         value.c_str());
    if (!edit.Write(sec, key, value))
      return rep.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", sec.c_str(), key.c_str(), value.c_str());
    numbers[static_cast<std::size_t>(i)] = value.empty() ? 0.0 : AtoF(value);
  }
  return 0;
}

bool RowFilled(const CoordinateRow& row) {
  return !row.x.empty() && !row.y.empty();
}

// The typed X and Y of row `i` as numbers the fields can hold; -1 (reported with the typed text) for
// "nan", "inf" or 1e308, which would be stored cut or written into the program as they are.
int CheckRowNumbers(Context& ctx, std::string_view section, std::string_view prefix, const CoordinateRow& row,
                    int i) {
  const std::pair<char, const std::string*> axes[] = {{'X', &row.x}, {'Y', &row.y}};
  for (const auto& [axis, text] : axes) {
    if (IsStorableNumber(*text, kValueBytes)) continue;
    return ctx.reporter.Reportf(-1, "エラー：[%.*s] %.*s%c%d=%s 数値が正しくありません",
                                static_cast<int>(section.size()), section.data(),
                                static_cast<int>(prefix.size()), prefix.data(), axis, i, text->c_str());
  }
  return 0;
}

}  // namespace

std::string HoleSection(int group) {
  return Sprintf("%s%d", "hole", group);
}

std::string GetKindWord(std::string_view label) {
  std::size_t open = label.rfind('[');
  std::size_t close = label.rfind(']');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return "";
  return std::string(label.substr(open + 1, close - open - 1));
}

bool IsLongHoleKind(std::string_view word) {
  return EqualsIgnoringAsciiCase(word, kLongHole) || EqualsIgnoringAsciiCase(word, kCbLongHole);
}

int ReadHoleVariables(Context& ctx, std::string_view section, std::array<double, kHoleParameters>& params) {
  for (int i = 0; i < kHoleParameters; ++i) {
    std::string value = ReadString(ctx.dbPath, section, Sprintf("%s%d", "variable", i), kValueBytes + 1);
    params[static_cast<std::size_t>(i)] = AtoF(value);
  }
  return params[0] == 0 ? -1 : 0;
}

int WriteCoordinatePair(Context& ctx, ProfileEdit& edit, std::string_view section, std::string_view prefix,
                        double x, double y, int number) {
  const std::string sec(section);
  const std::pair<char, double> axes[] = {{'X', x}, {'Y', y}};
  for (const auto& [axis, v] : axes) {
    std::string key = Sprintf("%.*s%c%d", static_cast<int>(prefix.size()), prefix.data(), axis, number);
    std::string value = FormatNumber(v, true);
    // A coordinate whose text the field cannot hold would be read back cut ("1e308" as 15 digits).
    if (!std::isfinite(v) || value.size() > kValueBytes)
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 数値が正しくありません", sec.c_str(), key.c_str(),
                                  value.c_str());
    if (!edit.Write(sec, key, value))
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 座標保存失敗", sec.c_str(), key.c_str(),
                                  value.c_str());
  }
  return 0;
}

namespace {

// Steps 1 to 4 of SaveShapeDefine, collected in `edit`.
int SaveShape(Context& ctx, ProfileEdit& edit, ShapeForm& form, int group) {
  Reporter& rep = ctx.reporter;
  const std::string section = HoleSection(group);

  // 1-2. The kind label becomes "command" of the group.
  std::string label = Cp932Cut(form.kind, kKindLabelBytes);
  if (label.empty()) return rep.Report("エラー：加工命令の取り出し失敗", -1);
  if (!edit.Write(section, "command", label))
    return rep.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", section.c_str(), "command", label.c_str());

  // 3-4. The kind word decides the saver and the required parameters.
  std::string word = GetKindWord(label);
  if (word.empty()) return rep.Report("エラー：加工命令取り出し失敗", -1);
  for (const KindSaving& kind : kKindSavings) {
    if (!EqualsIgnoringAsciiCase(word, kind.word)) continue;
    rep.Report(kind.progress, 0);
    if (IsLongHoleKind(kind.word)) return SaveLongHoleDefinition(ctx, edit, form, section, kind.required);
    return SaveHoleDefinition(ctx, edit, form, section, kind.required);
  }
  // Nothing of this group can be saved under a kind the system does not know; say so.
  return rep.Reportf(-1, "エラー：加工命令 [%s] は保存できません", word.c_str());
}

}  // namespace

int SaveShapeDefine(Context& ctx, ShapeForm& form, int group) {
  ctx.reporter.Report("!!! routine name : SaveShapeDefine", 0);
  // The group is saved in one replacement of the project file; a refused key ends the save with the
  // keys before it written.
  ProfileEdit edit(ctx.dbPath);
  int result = SaveShape(ctx, edit, form, group);
  if (!edit.Apply()) {
    const ProfileChange& c = edit.Changes().front();
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", c.section.c_str(), c.key.c_str(),
                                c.value.c_str());
  }
  return result;
}

int SaveHoleDefinition(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                       int required) {
  std::array<double, kHoleParameters> numbers{};
  if (SaveParameters(ctx, edit, form, section, required, false, numbers) != 0) return -1;
  ctx.reporter.Report("+++ 穴定義：保存成功", 0);
  if (SaveHoleCoordinate(ctx, edit, form, section) != 0) return -1;
  ctx.reporter.Report("+++ 穴座標：保存成功", 0);
  return 0;
}

int SaveHoleCoordinate(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section) {
  // Rows with an empty field are skipped: their stored keys stay as they were.
  for (int i = 0; i < kCoordinateRows; ++i) {
    const CoordinateRow& row = form.rows[static_cast<std::size_t>(i)];
    if (!RowFilled(row)) continue;
    if (CheckRowNumbers(ctx, section, "", row, i) != 0) return -1;
    if (WriteCoordinatePair(ctx, edit, section, "", AtoF(row.x), AtoF(row.y), i) != 0) return -1;
  }
  return 0;
}

int SaveLongHoleDefinition(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                           int required) {
  std::array<double, kHoleParameters> numbers{};
  if (SaveParameters(ctx, edit, form, section, required, true, numbers) != 0) return -1;
  ctx.reporter.Report("+++ 長穴定義：保存成功", 0);
  if (SaveLongHoleCoordinate(ctx, edit, form, section, numbers) != 0) return -1;
  ctx.reporter.Report("+++ 長穴座標：保存成功", 0);
  return 0;
}

int SaveLongHoleCoordinate(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                           const std::array<double, kHoleParameters>& params) {
  const double width = params[0], length = params[1];
  const double angle = params[3] * std::numbers::pi / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  // The second end point is stored only when (length - width) / 2 exceeds 2 mm.
  const bool twoEnds = (length - width) / 2 > 2;
  int k = 0;
  for (int i = 0; i < kCoordinateRows; ++i) {
    const CoordinateRow& row = form.rows[static_cast<std::size_t>(i)];
    if (!RowFilled(row)) continue;
    if (CheckRowNumbers(ctx, section, "C", row, i) != 0) return -1;
    const double cx = AtoF(row.x), cy = AtoF(row.y);
    if (WriteCoordinatePair(ctx, edit, section, "C", cx, cy, i) != 0) return -1;
    // End points (-L/2, 0) and (+L/2, 0) rotated by the axis angle about the slot centre.
    for (double end : {-length / 2, length / 2}) {
      if (end > 0 && !twoEnds) break;
      double x = cx + end * c, y = cy + end * s;
      if (WriteCoordinatePair(ctx, edit, section, "", WithoutNegativeZero(x), WithoutNegativeZero(y), k) != 0)
        return -1;
      ++k;
    }
  }
  return 0;
}

int ReadShapeDefine(Context& ctx, ShapeForm& form, int group) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : ReadShapeDefine", 0);
  const std::string section = HoleSection(group);

  // 1. An empty group leaves the screen as it is.
  std::string label = ReadString(ctx.dbPath, section, "command", kKindLabelBytes + 1);
  if (label.empty()) return 0;

  // 2-3. The kind and its captions (which empties the parameter fields).
  form.kind = label;
  std::string word = GetKindWord(label);
  if (word.empty()) return rep.Report("エラー：加工命令取り出し失敗", -1);
  int result = ShowKindCaptions(ctx, form, word);

  // 4-5. The stored values; they load even when the captions could not be shown.
  LoadingHoleDefine(ctx, form, section);
  LoadingHoleCoordinate(ctx, form, section, label);
  return result;
}

void LoadingHoleDefine(Context& ctx, ShapeForm& form, std::string_view section) {
  for (int i = 0; i < kHoleParameters; ++i) {
    std::string value = ReadString(ctx.dbPath, section, Sprintf("%s%d", "variable", i), kValueBytes + 1);
    if (!value.empty()) form.params[static_cast<std::size_t>(i)] = value;
  }
}

void LoadingHoleCoordinate(Context& ctx, ShapeForm& form, std::string_view section,
                           std::string_view command) {
  // Long holes show their slot centres; X<k>, Y<k> of a long hole are the computed end points.
  // The kind word is compared as the saver compares it, letter case ignored.
  const char* prefix = IsLongHoleKind(GetKindWord(command)) ? "C" : "";
  for (int i = 0; i < kCoordinateRows; ++i) {
    CoordinateRow& row = form.rows[static_cast<std::size_t>(i)];
    std::string x = ReadString(ctx.dbPath, section, Sprintf("%sX%d", prefix, i), kValueBytes + 1);
    if (!x.empty()) row.x = x;
    std::string y = ReadString(ctx.dbPath, section, Sprintf("%sY%d", prefix, i), kValueBytes + 1);
    if (!y.empty()) row.y = y;
  }
}

}  // namespace talvorin
