// Process generation: the rows of the process screen from the hole groups of the project, hole group
// by hole group, in a fixed sequence per hole kind. Conditions come from the condition tables, cycle
// codes and R points from section "cycle" of the NC table file, the chamfer cutter from the program
// INI.
#include <algorithm>
#include <cmath>

#include "process/Process.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

constexpr std::size_t kSettingLimit = 16;   // texts read from the settings: 15 bytes
constexpr std::size_t kMaterialBytes = 15;  // the material field

using RowFields = std::array<std::string, kProcessColumns>;

// A "G" or "R" text of section "cycle" of the NC table file, with its default.
std::string Cycle(Context& ctx, const char* key, const char* fallback) {
  return ReadStringOr(ctx.inst.ncTableFile, "cycle", key, kSettingLimit, fallback);
}

// Diameter of the chamfer cutter and the extra depth of the circle-cut chamfer (program INI).
double ChamferToolDiameter(Context& ctx) {
  return AtoF(ReadStringOr(ctx.inst.iniPath, "TALVORIN", "ChamferToolDiameter", kSettingLimit, "20"));
}
double ChamferPlusDepth(Context& ctx) {
  return AtoF(ReadStringOr(ctx.inst.iniPath, "TALVORIN", "ChamferPlusDepth", kSettingLimit, "2"));
}

// A looked-up value as field text; a value the lookup did not deliver (still 999) is empty.
std::string Looked(double value, bool keepPoint) {
  return value == kConditionNotSet ? std::string() : FormatNumber(value, keepPoint);
}

// The final depth of a row: Z = -|depth|, keep-point ("-15."); a depth of 0 gives "0.".
std::string DepthText(double depth) {
  return FormatNumber(depth == 0 ? 0.0 : -std::fabs(depth), true);
}

// Rounded as printf rounds: to a whole number ("%.0f") or to one decimal ("%.1f"), read back.
double WholeNumber(double v) {
  return AtoF(Sprintf("%.0f", v));
}
double Round1(double v) {
  return AtoF(Sprintf("%.1f", v));
}

// Puts a built row into the row of the row counter and advances the counter. The name is selected
// from the row's list (empty when the list lacks it); 定義 is the current hole group. Rows past the
// screen's thirtieth are lost.
void PlaceRow(ProcessForm& form, RowFields fields) {
  int n = form.rowCounter++;
  if (n > kStoredProcesses) form.unsavedNames.push_back(fields[kProcName]);
  if (n < 1 || n > kProcessRows) return;
  ProcessRow& row = form.Row(n);
  const std::string& name = fields[kProcName];
  if (std::find(row.names.begin(), row.names.end(), name) == row.names.end()) fields[kProcName].clear();
  fields[kProcDefinition] = Sprintf("%d", form.holeGroup);
  row.fields = std::move(fields);
}

// The two chamfers made with the chamfer cutter on the edge of a hole: the standard one (drills,
// counterbores) and the one of taps and reamers.
// A drill's chamfer wider than the cutter is milled on a circle like a big hole's (`circleExtra` >= 0):
// its depth is then that of the circle cut, the chamfer plus `circleExtra`, the cone of the cutter
// reaching the top edge from a circle inside the hole.
int ChamferRow(Context& ctx, ProcessForm& form, std::string_view material, double hole, double chamfer,
               bool standard, double circleExtra = -1) {
  // 1. Condition for the hole diameter rounded to a whole number; without it there is no row.
  CuttingCondition c;
  if (GetCuttingCondition(ctx, "chamfer", material, WholeNumber(hole), c) != 1) return -1;
  // 2-4. Cutter diameter, chamfer diameter at the top edge, depth to the bottom of the chamfer.
  double tool = ChamferToolDiameter(ctx);
  double diameter = AtoF(Sprintf("%.0f", 2 * chamfer + hole + 0.5));
  double z = AtoF(Sprintf("-%.3f", hole / 2 + chamfer));
  // 5. A chamfer wider than the cutter is milled around the edge (G 03) in the standard case; for
  //    taps and reamers the row names the larger diameter instead.
  RowFields f;
  f[kProcName] = kChamferProcess;
  f[kProcDiameter] = FormatNumber(standard ? tool : std::max(diameter, tool), false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  const bool circle = standard && diameter > tool;
  if (circle && circleExtra >= 0) z = -(chamfer + circleExtra);
  f[kProcZ] = FormatNumber(z, true);
  f[kProcG] = circle ? "03" : Cycle(ctx, "chamfer", "82");
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

// An end mill must fit inside what it mills, the allowance left on each wall: a slot or groove
// narrower than the tool, or a big hole whose wall radius does not exceed it (the lead arc onto the
// wall must be larger than the tool radius), would have the tool plunged into its walls. `size` is
// the width or diameter, `room` what the tool must stay below; -1 (reported) for a tool too large.
int CheckEndmillFits(Context& ctx, const ProcessForm& form, const char* what, double size,
                     const HoleParameters& p, double (*room)(double size, double allowance)) {
  const double tools[2][2] = {{p[8], p[7]}, {p[9], 0}};
  for (const auto& [tool, allowance] : tools)
    if (!(room(size, allowance) > tool))
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s %s に対して工具径 %s が大きすぎます",
                                  HoleSection(form.holeGroup).c_str(), what,
                                  FormatNumber(size, false).c_str(), FormatNumber(tool, false).c_str());
  return 0;
}
double SlotRoom(double width, double allowance) {
  return width - 2 * allowance;
}
double BigHoleRoom(double diameter, double allowance) {
  return diameter / 2 - allowance;
}

using KindBuilder = int (*)(Context&, ProcessForm&, std::string_view, const HoleParameters&);

// The builder of each kind word compared by equality; long holes are found by containment.
struct KindEntry {
  std::string_view word;
  KindBuilder build;
};
constexpr KindEntry kBuilders[] = {
    {kDrill, MakeDrillNcProc},     {kNtap, MakeTapNcProc},
    {kReamer, MakeReamerNcProc},   {kCounterbore, MakeCounterboreNcProc},
    {kBigHole, MakeBigHoleNcProc}, {kUgroove, MakeUgrooveNcProc},
};

KindBuilder BuilderOf(const std::string& word) {
  for (const KindEntry& k : kBuilders)
    if (word == k.word) return k.build;
  if (word.find(kLongHole) != std::string::npos) return MakeLongHoleNcProc;
  return nullptr;
}

}  // namespace

int StartNcProcess(Context& ctx, ProcessForm& form, const MainForm& main) {
  Reporter& rep = ctx.reporter;
  // 1. The material selects the condition tables.
  rep.Report("!!! routine name : StartNcProcess", 0);
  std::string material = Cp932Cut(main.material, kMaterialBytes);
  if (material.empty()) return rep.Report("エラー：材質の取得に失敗", -1);

  // 2. An empty screen from row 1.
  for (ProcessRow& row : form.rows)
    row.fields = {};
  form.rowCounter = 1;
  form.leftOut = 0;
  form.unsavedNames.clear();

  // 3-4. Each hole group with a kind and a first parameter, by its kind's builder.
  for (int n = 1; n <= kHoleGroups; ++n) {
    std::string section = HoleSection(n);
    std::string command = ReadString(ctx.dbPath, section, "command", kKindLabelBytes + 1);
    if (command.empty()) continue;
    std::string word = AsciiUpperCase(GetKindWord(command));
    if (word.empty()) return rep.Report("エラー：加工命令取り出し失敗", -1);
    HoleParameters p{};
    // A group that gets no rows is said so: its holes would be missing from the program.
    if (ReadHoleVariables(ctx, section, p) != 0) {
      ++form.leftOut;
      rep.Reportf(3, "警告：[%s] %s の穴径が 0 のため工程を作成しません", section.c_str(), word.c_str());
      continue;
    }
    // Depths, diameters and pass counts come from these: none may be beyond what a control takes.
    for (int i = 0; i < kHoleParameters; ++i) {
      const double v = p[static_cast<std::size_t>(i)];
      if (std::isfinite(v) && std::fabs(v) <= kLargestMachineValue) continue;
      const std::string key = Sprintf("%s%d", "variable", i);
      return rep.Reportf(-1, "エラー：[%s] %s=%s 数値が範囲外です", section.c_str(), key.c_str(),
                         ReadString(ctx.dbPath, section, key, kValueBytes + 1).c_str());
    }
    form.holeGroup = n;
    KindBuilder build = BuilderOf(word);
    if (!build) {
      ++form.leftOut;
      rep.Reportf(3, "警告：[%s] 加工命令 %s の工程は作成できません", section.c_str(), word.c_str());
      continue;
    }
    if (build(ctx, form, material, p) != 0) return -1;
  }

  // Rows past the fifteenth are shown but never saved, rows past the screen's last are lost: each
  // is said so.
  // One box names them all.
  std::string beyond;
  for (std::size_t k = 0; k < form.unsavedNames.size(); ++k) {
    ++form.leftOut;
    beyond += Sprintf("%s警告：工程[%02zu] %s は%d工程を超えるため保存されません", beyond.empty() ? "" : "\n",
                      kStoredProcesses + 1 + k, form.unsavedNames[k].c_str(), kStoredProcesses);
  }
  if (!beyond.empty()) rep.Report(beyond, 3);

  // 5. Tool numbers from the magazine.
  return AssignToolNumbers(ctx, form);
}

// --- Per-kind builders ---

int MakeDrillNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeDrillNcProc", 0);
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[0], p[1]);
  if (p[2] > 0) {
    ctx.reporter.Report("!!! routine name : SetupStandardChamferProc", 0);
    ChamferRow(ctx, form, material, p[0], p[2], true, ChamferPlusDepth(ctx));
  }
  return 0;
}

int MakeTapNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeTapNcProc", 0);
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[3], p[4]);  // pilot hole
  SetChamferProc(ctx, form, material, p[0], p[5]);
  SetTapProc(ctx, form, material, p[0], p[1], p[2]);
  return 0;
}

int MakeReamerNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeReamerNcProc", 0);
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[2], p[3]);  // pilot hole
  SetChamferProc(ctx, form, material, p[0], p[4]);
  SetReamerProc(ctx, form, material, p[0], p[1]);
  return 0;
}

int MakeCounterboreNcProc(Context& ctx, ProcessForm& form, std::string_view material,
                          const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeCounterboreNcProc", 0);
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[0], p[1]);  // bolt hole
  SetCounterboreProc(ctx, form, material, p[2], p[3]);
  if (p[4] > 0) SetupStandardChamferProc(ctx, form, material, p[2], p[4]);
  return 0;
}

int MakeLongHoleNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeLongHoleNcProc", 0);
  double t = GetMaterialThickness(ctx);
  if (t < 0) return -1;
  if (CheckEndmillFits(ctx, form, "長穴の溝幅", p[0], p, SlotRoom) != 0) return -1;
  // A slot through the plate is pre-drilled through it, point length of the slot width included.
  double depth = p[2] >= t ? Round1(DrillPoint(p[0]) + t + 2) : p[2];
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[6], depth);
  SetEndmillProc(ctx, form, material, p[8], p[2], p[7]);
  SetEndmillProc(ctx, form, material, p[9], p[2], 0);
  return 0;
}

int MakeBigHoleNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeBigHoleNcProc", 0);
  double t = GetMaterialThickness(ctx);
  if (t < 0) return -1;
  // Each end mill reaches the wall (the allowance left on it) through a lead arc of half the wall
  // radius, which the control's compensation needs larger than the tool radius.
  if (CheckEndmillFits(ctx, form, "大穴の穴径", p[0], p, BigHoleRoom) != 0) return -1;
  // A hole through the plate is pre-drilled through it, point length of the pilot drill included.
  double depth = p[1] >= t ? Round1(DrillPoint(p[6]) + t + 2) : p[1];
  SetCenterDrillProc(ctx, form, material);
  SetDrillProc(ctx, form, material, p[6], depth);
  SetEndmillProc(ctx, form, material, p[8], p[1], p[7]);
  SetEndmillProc(ctx, form, material, p[9], p[1], 0);
  if (p[2] > 0) SetupCircleCutChamferProc(ctx, form, material, p[0], p[2]);
  return 0;
}

int MakeUgrooveNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : MakeUgrooveNcProc", 0);
  if (CheckEndmillFits(ctx, form, "Ｕ溝の溝幅", p[0], p, SlotRoom) != 0) return -1;
  SetEndmillProc(ctx, form, material, p[8], p[2], p[7]);
  SetEndmillProc(ctx, form, material, p[9], p[2], 0);
  return 0;
}

// --- Row builders ---

int SetCenterDrillProc(Context& ctx, ProcessForm& form, std::string_view material) {
  CuttingCondition c;
  GetCuttingCondition(ctx, "cdrill", material, 3.0, c);
  RowFields f;
  f[kProcName] = kCenterDrillProcess;
  f[kProcDiameter] = FormatNumber(3, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcZ] = Looked(c.z, true);
  f[kProcG] = Cycle(ctx, "centerdrill", "81");
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetDrillProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth) {
  CuttingCondition c;
  GetCuttingCondition(ctx, "drill", material, diameter, c);
  RowFields f;
  f[kProcName] = kDrillProcess;
  f[kProcDiameter] = FormatNumber(diameter, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcQ] = Looked(c.q, true);
  f[kProcZ] = DepthText(depth);
  f[kProcG] = Cycle(ctx, "drill", "83");
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetupStandardChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double hole,
                             double chamfer) {
  ctx.reporter.Report("!!! routine name : SetupStandardChamferProc", 0);
  return ChamferRow(ctx, form, material, hole, chamfer, true);
}

int SetChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double hole, double chamfer) {
  return ChamferRow(ctx, form, material, hole, chamfer, false);
}

int SetupCircleCutChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double /*hole*/,
                              double chamfer) {
  ctx.reporter.Report("!!! routine name : SetupCircleCutChamferProc", 0);
  // 1. Cutter diameter and the extra depth that makes the cutter's flank cut the chamfer.
  double tool = ChamferToolDiameter(ctx);
  double extra = ChamferPlusDepth(ctx);
  // 2. Condition for the cutter's cutting diameter at that depth; the row is built without it too.
  CuttingCondition c;
  GetCuttingCondition(ctx, "chamfer", material, WholeNumber(2 * (chamfer + extra)), c);
  // 3. Milled around the hole's edge.
  RowFields f;
  f[kProcName] = kChamferProcess;
  f[kProcDiameter] = FormatNumber(tool, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcZ] = FormatNumber(-(chamfer + extra), true);
  f[kProcG] = "03";
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetTapProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth,
               double pitch) {
  CuttingCondition c;
  if (GetCuttingCondition(ctx, "ntap", material, diameter, c) != 1) return -1;
  RowFields f;
  f[kProcName] = kTapProcess;
  f[kProcDiameter] = FormatNumber(diameter, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  // Feed per revolution: the feed is the thread pitch.
  if (ReadInt(ctx.inst.ncTableFile, "tap", "RotationFeed", 0) == 1) f[kProcF] = FormatNumber(pitch, true);
  f[kProcZ] = DepthText(depth);
  f[kProcG] = Cycle(ctx, "tap", "84");
  f[kProcR] = Cycle(ctx, "TAPRCODE", "5");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetReamerProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth) {
  CuttingCondition c;
  if (GetCuttingCondition(ctx, "reamer", material, diameter, c) != 1) return -1;
  RowFields f;
  f[kProcName] = kReamerProcess;
  f[kProcDiameter] = FormatNumber(diameter, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcZ] = DepthText(depth);
  f[kProcG] = Cycle(ctx, "reamer", "81");
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetCounterboreProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter,
                       double depth) {
  CuttingCondition c;
  GetCuttingCondition(ctx, "counterbore", material, diameter, c);
  RowFields f;
  f[kProcName] = kCounterboreProcess;
  f[kProcDiameter] = FormatNumber(diameter, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcZ] = DepthText(depth);
  f[kProcG] = Cycle(ctx, "counterbore", "82");
  f[kProcR] = Cycle(ctx, "RCODE", "2");
  PlaceRow(form, std::move(f));
  return 0;
}

int SetEndmillProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth,
                   double allowance) {
  // A pass that leaves an allowance is the rough one, stepping half the diameter; the finish pass
  // steps the whole diameter.
  bool rough = allowance != 0;
  CuttingCondition c;
  GetCuttingCondition(ctx, rough ? "endmillR" : "endmillF", material, diameter, c);
  RowFields f;
  f[kProcName] = rough ? kRoughEndmillProcess : kFinishEndmillProcess;
  f[kProcDiameter] = FormatNumber(diameter, false);
  f[kProcS] = Looked(c.s, false);
  f[kProcF] = Looked(c.f, false);
  f[kProcQ] = FormatNumber(rough ? diameter / 2 : diameter, true);
  f[kProcZ] = DepthText(depth);
  f[kProcOff] = FormatNumber(allowance, true);
  f[kProcG] = "41";
  f[kProcR] = "2.";
  PlaceRow(form, std::move(f));
  return 0;
}

}  // namespace talvorin
