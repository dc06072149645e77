// The dependent parameters of a hole group, derived when its first parameter (diameter or width) has
// been entered: through depths from the material thickness, and pilot holes, pitches, counterbores and
// end mills from the definition tables of the program folder.
#include <cmath>

#include "holes/Holes.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// Half the point angle of a drill (118 degrees) is taken as 31 degrees for the point length.
constexpr double kDrillPointAngle = 0.5410520681182421;

// The widest slot or groove whose end mill is searched for; a width beyond it is a typing error and
// would otherwise make the search walk through millions of keys.
constexpr int kWidestToolSearch = 9999;

// Rounded to one decimal as "%.1f" prints it.
double Round1(double v) {
  return AtoF(Sprintf("%.1f", v));
}

// The whole part of a dimension, kept within int range.
int WholePart(double v) {
  if (!(v > -1e9 && v < 1e9)) return v > 0 ? 1000000000 : (v < 0 ? -1000000000 : 0);
  return static_cast<int>(v);
}

// A value of a definition table; false when it is not set.
bool TableValue(const std::string& file, const std::string& section, const char* key, double& value) {
  std::string text = ReadString(file, section, key, kValueBytes + 1);
  if (text.empty()) return false;
  value = AtoF(text);
  return true;
}

void Show(ShapeForm& form, const HoleRecord& record, int index, bool keepPoint) {
  auto i = static_cast<std::size_t>(index);
  form.params[i] = FormatNumber(record.p[i], keepPoint);
}

// Slots and grooves are milled through: depth t + 2, shown with its point.
void DeriveThroughDepth(ShapeForm& form, HoleRecord& record) {
  record.p[2] = record.thickness + 2;
  Show(form, record, 2, true);
}

// The pilot drill of a slot, half a millimetre under its whole width (10 and 10.4 give 9.5).
void DerivePilotDrill(ShapeForm& form, HoleRecord& record) {
  record.p[6] = WholePart(record.p[0]) - 0.5;
  Show(form, record, 6, false);
}

// Rough and finish end mill of a slot or groove from "ProcessTools.ini".
int DeriveEndMills(Context& ctx, ShapeForm& form, HoleRecord& record, std::string_view family) {
  double diameter = 0;
  if (GetProcessToolDiameter(ctx, family, record.p[0], diameter) != 0) return -1;
  record.p[8] = record.p[9] = diameter;
  Show(form, record, 8, false);
  Show(form, record, 9, false);
  return 0;
}

int SettingDefineDrill(Context& /*ctx*/, ShapeForm& form, HoleRecord& record) {
  record.p[1] = DrillPoint(record.p[0]) + record.thickness + 2;
  form.params[1] = Sprintf("%.1f", record.p[1]);
  return 0;
}

}  // namespace

double DrillPoint(double d) {
  return d / 2 * std::tan(kDrillPointAngle);
}

int SetHoleInformation(Context& ctx, ShapeForm& form) {
  Reporter& rep = ctx.reporter;
  // 1.
  rep.Report("!!! routine name : SetHoleInformation", 0);
  HoleRecord record;

  // 2-3. Nothing to derive without a kind or a first parameter.
  std::string label = Cp932Cut(form.kind, kKindLabelBytes);
  if (label.empty()) {
    rep.Report("エラー：加工命令の取り出し失敗", 0);
    return 0;
  }
  if (form.params[0].empty()) return 0;
  record.p[0] = AtoF(form.params[0]);

  // 4. Through depths are built from the material thickness.
  double t = GetMaterialThickness(ctx);
  if (t < 0) return -1;
  record.thickness = t;

  // 5. The first kind word found in the label, as written (upper case). CBLONGHOLE is looked for
  // before LONGHOLE, which it contains.
  struct Derivation {
    std::string_view word;
    int (*run)(Context&, ShapeForm&, HoleRecord&);
  };
  static constexpr Derivation kDerivations[] = {
      {kDrill, SettingDefineDrill},           {kNtap, SettingDefineTap},
      {kReamer, SettingDefineReamer},         {kCounterbore, SettingDefineCounterbore},
      {kCbLongHole, SettingDefineCBLongHole}, {kLongHole, SettingDefineLongHole},
      {kUgroove, SettingDefineUgroove},       {kBigHole, SettingDefineBigHole},
  };
  for (const Derivation& d : kDerivations)
    if (label.find(d.word) != std::string::npos) return d.run(ctx, form, record);
  return 0;
}

int GetNtapInformation(Context& ctx, ShapeForm& /*form*/, HoleRecord& record) {
  Reporter& rep = ctx.reporter;
  const std::string file = ProgramFile(ctx.inst, "NTAP.tbl");
  const double d = record.p[0], t = record.thickness;
  const std::string section = Sprintf("%c%d", 'M', WholePart(d));
  const char* sec = section.c_str();
  double* p = record.p.data();

  // 1. Tap depth, at most 0.75 d beyond the plate (a through tap).
  if (!TableValue(file, section, "depth", p[1])) {
    rep.Reportf(0, "エラー：[%s] %s= | タップ深さ取得失敗", sec, "depth");
    p[1] = Round1(2.5 * d);
  }
  if (0.75 * d + t < p[1]) p[1] = Round1(0.75 * d + t);

  // 2. Pitch: there is no default for it.
  if (!TableValue(file, section, "pitch", p[2]))
    return rep.Reportf(-1, "エラー：[%s] %s= | ピッチ取得失敗", sec, "pitch");

  // 3. Pilot hole: the minor diameter d - pitch.
  if (!TableValue(file, section, "pilothole", p[3])) {
    rep.Reportf(0, "エラー：[%s] %s= | 下穴取得失敗", sec, "pilothole");
    p[3] = d - p[2];
  }

  // 4. Pilot hole depth, at most through the plate (with the point of the nominal diameter).
  const double point = DrillPoint(d);
  if (!TableValue(file, section, "pilotdepth", p[4])) {
    rep.Reportf(0, "エラー：[%s] %s= | 下穴深さ取得失敗", sec, "pilotdepth");
    p[4] = Round1(3 * d + point);
  }
  if (point + t + 2 < p[4]) p[4] = Round1(point + t + 2);

  // 5. Chamfer, none when not given.
  p[5] = AtoF(ReadStringOr(file, section, "chamfer", kValueBytes + 1, "0"));
  return 0;
}

int SettingDefineTap(Context& ctx, ShapeForm& form, HoleRecord& record) {
  int result = GetNtapInformation(ctx, form, record);
  // The fields show what was derived, also when the pitch was missing.
  for (int i = 0; i <= 5; ++i)
    Show(form, record, i, false);
  return result;
}

int GetReamerInformation(Context& ctx, ShapeForm& /*form*/, HoleRecord& record) {
  const std::string file = ProgramFile(ctx.inst, "reamer.tbl");
  const double d = record.p[0], t = record.thickness;
  const std::string section = Sprintf("%c%d", 'M', WholePart(d));
  double* p = record.p.data();

  // 1. Pilot hole, 0.2 under the reamed size when the table has none.
  if (!TableValue(file, section, "pilothole", p[2])) {
    ctx.reporter.Reportf(0, "エラー：[%s] %s= | 下穴取得失敗", section.c_str(), "pilothole");
    p[2] = Round1(d - 0.2);
  }
  // 2. Reaming depth through the plate.
  p[1] = t + d;
  // 3. Pilot hole depth through the plate with the pilot drill's point.
  p[3] = Round1(DrillPoint(p[2]) + t + 2);
  // 4. Chamfer, none when not given.
  p[4] = AtoF(ReadStringOr(file, section, "chamfer", kValueBytes + 1, "0"));
  return 0;
}

int SettingDefineReamer(Context& ctx, ShapeForm& form, HoleRecord& record) {
  if (GetReamerInformation(ctx, form, record) != 0) return -1;
  for (int i = 0; i <= 4; ++i)
    Show(form, record, i, false);
  return 0;
}

int GetCounterboreInformation(Context& ctx, ShapeForm& /*form*/, HoleRecord& record) {
  Reporter& rep = ctx.reporter;
  // 1.
  const std::string file = ProgramFile(ctx.inst, "counterbore.tbl");
  if (!PathExists(file)) return rep.Reportf(-1, "エラー：ザグリテーブル %s がありません。", file.c_str());
  const double d = record.p[0];
  double* p = record.p.data();

  // 2. Bolt hole through the plate.
  p[1] = Round1(DrillPoint(d) + record.thickness + 2);

  // 3. Counterbore of the bolt hole size ("D9", "D6.6").
  const std::string section = Sprintf("%c%s", 'D', FormatNumber(d, false).c_str());
  if (!TableValue(file, section, "counterbore", p[2]))
    return rep.Reportf(-1, "エラー：[%s] %s= | ザグリ径取得失敗", section.c_str(), "counterbore");
  if (!TableValue(file, section, "depth", p[3]))
    return rep.Reportf(-1, "エラー：[%s] %s= | ザグリ深さ取得失敗", section.c_str(), "depth");
  return 0;
}

int SettingDefineCounterbore(Context& ctx, ShapeForm& form, HoleRecord& record) {
  if (GetCounterboreInformation(ctx, form, record) != 0) return -1;
  // Parameter 4, the chamfer, is the user's.
  for (int i = 0; i <= 3; ++i)
    Show(form, record, i, false);
  return 0;
}

int SettingDefineLongHole(Context& ctx, ShapeForm& form, HoleRecord& record) {
  DeriveThroughDepth(form, record);
  DerivePilotDrill(form, record);
  return DeriveEndMills(ctx, form, record, "longhole");
}

int SettingDefineCBLongHole(Context& ctx, ShapeForm& form, HoleRecord& record) {
  DeriveThroughDepth(form, record);
  // The counterbore of the bolt that the slot takes, when the table has one for its width.
  const std::string file = ProgramFile(ctx.inst, "counterbore.tbl");
  const std::string section = Sprintf("%c%s", 'D', FormatNumber(record.p[0], false).c_str());
  if (TableValue(file, section, "counterbore", record.p[4])) Show(form, record, 4, false);
  if (TableValue(file, section, "depth", record.p[5])) Show(form, record, 5, false);
  DerivePilotDrill(form, record);
  return DeriveEndMills(ctx, form, record, "longhole");
}

int SettingDefineUgroove(Context& ctx, ShapeForm& form, HoleRecord& record) {
  DeriveThroughDepth(form, record);
  return DeriveEndMills(ctx, form, record, "ugroove");
}

int SettingDefineBigHole(Context& ctx, ShapeForm& form, HoleRecord& record) {
  // 1. Milled through the plate.
  record.p[1] = record.thickness + 2;
  Show(form, record, 1, true);

  // 2. The tool parameters are found by their captions.
  static constexpr std::pair<std::string_view, int> kToolCaptions[] = {
      {"下穴工具径", 6}, {"仕上代", 7}, {"荒取工具径", 8}, {"仕上工具径", 9}};
  for (int i = 0; i < kHoleParameters; ++i) {
    const std::string& caption = form.captions[static_cast<std::size_t>(i)];
    const std::string& value = form.params[static_cast<std::size_t>(i)];
    if (caption.empty() || value.empty()) continue;
    for (const auto& [word, index] : kToolCaptions) {
      if (caption.find(word) == std::string::npos) continue;
      record.p[static_cast<std::size_t>(index)] = AtoF(value);
      break;
    }
  }

  // 3. A tool as large as the hole cannot mill it: warn for each, change nothing.
  const double hole = record.p[0];
  for (int index : {6, 8, 9}) {
    double tool = record.p[static_cast<std::size_t>(index)];
    if (tool != 0 && !(tool < hole))
      ctx.reporter.Reportf(3, "[%d] 警告：加工穴(%.2f)より工具径(%.1f)のが大きいです", index, hole, tool);
  }
  return 0;
}

int GetProcessToolDiameter(Context& ctx, std::string_view family, double width, double& diameter) {
  // 1.
  const std::string file = ProgramFile(ctx.inst, "ProcessTools.ini");
  const std::string section(family);
  int lowest = ReadInt(file, section, "mindiameter", 2);
  if (lowest < 0) lowest = 0;
  // 2. The end mill of the whole width, else of the next smaller width that has one.
  int widest = WholePart(width);
  if (widest > kWidestToolSearch) widest = kWidestToolSearch;
  for (int n = widest; n >= lowest; --n) {
    double value = AtoF(ReadString(file, section, Sprintf("%s%d", section.c_str(), n), kValueBytes + 1));
    if (value > 0) {
      diameter = value;
      return 0;
    }
  }
  // 3.
  return ctx.reporter.Report("エラー：加工工具径の取得失敗", -1);
}

}  // namespace talvorin
