// Subcommands of hole groups: what a user does on the shape-entry screen of one group, from arguments.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cli/CliSupport.h"
#include "holes/Holes.h"
#include "project/Project.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// The label of the selector: the label itself, or the first one carrying the kind word.
bool PickKind(const ShapeForm& form, const std::string& wanted, std::string& label) {
  for (const std::string& k : form.kinds) {
    if (k != wanted) continue;
    label = k;
    return true;
  }
  for (const std::string& k : form.kinds) {
    if (!EqualsIgnoringAsciiCase(GetKindWord(k), wanted)) continue;
    label = k;
    return true;
  }
  return false;
}

struct HoleRequest {
  int group = 0;
  std::optional<std::string> kind;
  std::optional<std::string> first;                         // --set 0=
  std::vector<std::pair<std::size_t, std::string>> others;  // the other --set values, in order
  std::vector<CoordinateRow> typed;                         // --at
  std::optional<std::string> csv;
  std::optional<std::vector<std::string>> circle;  // six fields
};

bool ParseHoleRequest(CliArgs& a, HoleRequest& r) {
  std::optional<std::string> group, csv, circle;
  std::vector<std::string> sets, ats;
  if (!a.TakeOption("--group", group) || !a.TakeOption("--kind", r.kind) || !a.TakeOption("--csv", csv) ||
      !a.TakeOption("--circle", circle) || !TakeAll(a, "--set", sets) || !TakeAll(a, "--at", ats))
    return false;
  if (a.positional.size() != 1 || a.positional[0].empty() || !group || !IsDigits(*group)) return false;
  r.group = std::atoi(group->c_str());
  if (group->size() > 1 || r.group < 1 || r.group > kHoleGroups) return false;

  for (const std::string& s : sets) {
    std::size_t eq = s.find('=');
    if (eq != 1 || s[0] < '0' || s[0] > '9') return false;
    std::string value = s.substr(2);
    // A parameter field holds at most 15 bytes.
    std::string encoded;
    if (!Utf8ToCp932(value, encoded) || encoded.size() > kValueBytes) return false;
    auto index = static_cast<std::size_t>(s[0] - '0');
    if (index == 0)
      r.first = value;
    else
      r.others.emplace_back(index, value);
  }
  if (ats.size() > static_cast<std::size_t>(kCoordinateRows)) return false;
  for (const std::string& at : ats) {
    std::vector<std::string> xy = SplitCommas(at);
    if (xy.size() != 2 || !IsNumber(xy[0]) || !IsNumber(xy[1])) return false;
    if (xy[0].size() > kValueBytes || xy[1].size() > kValueBytes) return false;
    r.typed.push_back({xy[0], xy[1]});
  }
  if (csv) {
    if (csv->empty()) return false;
    std::error_code ec;
    r.csv = std::filesystem::absolute(*csv, ec).string();
    if (ec) return false;
  }
  if (circle) {
    // CX,CY,R,STEP,START,COUNT: START and COUNT may be left empty as on the screen.
    std::vector<std::string> f = SplitCommas(*circle);
    if (f.size() != 6) return false;
    for (std::size_t i = 0; i < 5; ++i)
      if (!f[i].empty() && !IsNumber(f[i])) return false;
    if (!f[5].empty() && !IsDigits(f[5])) return false;
    r.circle = f;
  }
  return true;
}

// The group as it is stored, for the caller to see what the derivation gave.
void PrintGroup(Context& ctx, int group) {
  std::string section = HoleSection(group);
  std::string command = ReadString(ctx.dbPath, section, "command", kKindLabelBytes + 1);
  std::printf("[%s]\ncommand=%s\n", section.c_str(), command.c_str());
  for (int i = 0; i < kHoleParameters; ++i) {
    std::string key = Sprintf("%s%d", "variable", i);
    std::printf("%s=%s\n", key.c_str(), ReadString(ctx.dbPath, section, key, kValueBytes + 1).c_str());
  }
  for (const char* prefix : {"C", ""}) {
    if (*prefix && !IsLongHoleKind(GetKindWord(command))) continue;
    for (int i = 0; i < kCoordinateRows; ++i) {
      std::string kx = Sprintf("%sX%d", prefix, i), ky = Sprintf("%sY%d", prefix, i);
      std::string x = ReadString(ctx.dbPath, section, kx, kValueBytes + 1);
      std::string y = ReadString(ctx.dbPath, section, ky, kValueBytes + 1);
      if (!x.empty()) std::printf("%s=%s\n", kx.c_str(), x.c_str());
      if (!y.empty()) std::printf("%s=%s\n", ky.c_str(), y.c_str());
    }
  }
}

// The user's steps on the open screen, in order; false at the first that fails (reported).
bool FillAndSave(Context& ctx, const HoleRequest& r, ShapeForm& form) {
  if (OpenShapeScreen(ctx, form, r.group) != 0) return false;
  if (r.kind) {
    std::string label;
    if (!PickKind(form, *r.kind, label)) {
      ctx.reporter.Reportf(-1, "エラー：加工命令 %s は加工命令テーブルにありません", r.kind->c_str());
      return false;
    }
    form.kind = label;
    if (ChooseKind(ctx, form) != 0) return false;
  }
  if (r.first) {
    // Leaving parameter field 0 derives the dependent parameters.
    form.params[0] = *r.first;
    if (SetHoleInformation(ctx, form) != 0) return false;
  }
  for (const auto& [index, value] : r.others)
    form.params[index] = value;

  for (std::size_t i = 0; i < r.typed.size(); ++i)
    form.rows[i] = r.typed[i];
  if (r.csv) {
    ArgumentDialogs dialogs;
    dialogs.files.push_back(*r.csv);
    Context csvCtx{ctx.inst, ctx.reporter, ctx.platform, dialogs, ctx.dbPath};
    if (ReadCsvCoordinates(csvCtx, form) != 0) return false;
  }
  if (r.circle) {
    const std::vector<std::string>& f = *r.circle;
    CircleForm circle{f[0], f[1], f[2], f[3], "", ""};
    SetRotationCount(circle);  // leaving the step field
    if (!f[4].empty()) circle.start = f[4];
    if (!f[5].empty()) circle.count = f[5];
    if (Circles2Angle_Calculation(ctx, circle, form) != 0) return false;
  }
  return SaveShapeDefine(ctx, form, r.group) == 0;
}

int Hole(CliRun& run) {
  HoleRequest request;
  if (!ParseHoleRequest(run.args, request)) return kExitUsage;
  std::string path;
  if (ResolveDatabase(run.ctx, run.args.positional[0], path) != 0) return kExitFailed;

  Context ctx{run.ctx.inst, run.ctx.reporter, run.ctx.platform, run.ctx.dialogs, path};
  MainForm main;
  int status = kExitFailed;
  OpenShapeInput(ctx, main, request.group, [&](int) {
    ShapeForm form;
    if (FillAndSave(ctx, request, form)) status = kExitOk;
    return status == kExitOk ? 0 : -1;
  });
  run.ctx.dbPath = ctx.dbPath;
  if (status == kExitOk) PrintGroup(ctx, request.group);
  return status;
}

}  // namespace

const std::vector<CliCommand>& HoleCommands() {
  static const std::vector<CliCommand> commands = {
      {"hole",
       "hole DB --group N [--kind LABEL_OR_WORD] [--set I=VALUE]... [--at X,Y]... [--csv FILE]\n"
       "      [--circle CX,CY,R,STEP,START,COUNT]\n"
       "                                        edit hole group N (1-6) as on the shape-entry screen and "
       "save it",
       Hole},
  };
  return commands;
}

}  // namespace talvorin
