// Subcommands of the EUKLID hand-over: the contour form and its program, and the hole import, filling
// the same forms as the screens so that the whole road runs from a script.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/CliSupport.h"
#include "euklid/Euklid.h"
#include "holes/Holes.h"
#include "store/Ascii.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

bool TakeFlag(CliArgs& args, const std::string& name) {
  auto it = std::find(args.positional.begin(), args.positional.end(), name);
  if (it == args.positional.end()) return false;
  args.positional.erase(it);
  return true;
}

// The EUKLID file of the command line as an absolute path (the project keeps it for the drawing
// program, which runs elsewhere): it must exist, as the main program takes it only then.
int InputFile(Context& ctx, std::string& path) {
  if (!PathExists(path)) return ctx.reporter.Reportf(-1, "エラー：EUKLIDファイル %s がありません", path.c_str());
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (!error) path = absolute.lexically_normal().string();
  return 0;
}

// "euklid contour FILE": the form opened on the file, the given fields typed in with their events,
// the strict save and with --nc the program. Prints the project database and the NC file.
int Contour(CliRun& run) {
  CliArgs& a = run.args;
  Context& ctx = run.ctx;
  const bool nc = TakeFlag(a, "--nc");
  std::optional<std::string> project, product, controller, coordinate, onumber, material, diameter, s, f, t,
      d;
  const std::pair<const char*, std::optional<std::string>*> options[] = {{"--project", &project},
                                                                         {"--product", &product},
                                                                         {"--controller", &controller},
                                                                         {"--coordinate", &coordinate},
                                                                         {"--onumber", &onumber},
                                                                         {"--material", &material},
                                                                         {"--diameter", &diameter},
                                                                         {"--s", &s},
                                                                         {"--f", &f},
                                                                         {"--t", &t},
                                                                         {"--d", &d}};
  for (const auto& [name, value] : options)
    if (!a.TakeOption(name, *value)) return kExitUsage;
  if (a.positional.size() != 2 || a.positional[1].empty()) return kExitUsage;
  std::string input = a.positional[1];
  if (InputFile(ctx, input) != 0) return kExitFailed;

  // The form start, with the names the user would have typed before it.
  EuklidNcForm form;
  if (project) form.projectName = *project;
  if (product) form.product = *product;
  if (OpenEuklidNcForm(ctx, form, input) != 0) return kExitFailed;
  if (controller) form.controller = *controller;
  if (coordinate) form.coordinateSystem = *coordinate;
  if (onumber) form.programNumber = *onumber;
  if (material) form.material = *material;
  if (diameter) {
    form.toolDiameter = *diameter;
    if (EukToolDiameterEvent(ctx, form) != 0 && !(s && f)) return kExitFailed;
  }
  if (s) form.spindle = *s;
  if (f) form.feed = *f;
  if (t) {
    form.toolNumber = *t;
    EukToolNumberEvent(form);
  }
  if (d) form.radiusOffset = *d;

  if (SaveEuklidNcForm(ctx, form, true) != 0) return kExitFailed;
  std::printf("%s\n", ctx.dbPath.c_str());
  if (!nc) return kExitOk;
  if (MakeEuklidFanucNcdata(ctx) != 0) return kExitFailed;
  std::string path;
  if (NcProgramPath(ctx, path) != 0) return kExitFailed;
  std::printf("%s\n", path.c_str());
  return kExitOk;
}

// The kind list entry of a --kind text: the entry itself, its name before the brackets ("ドリル穴") or its
// kind word ("DRILL").
bool FindKind(const EuklidHoleForm& form, const std::string& text, std::string& kind) {
  for (const std::string& entry : form.kinds)
    if (entry == text || entry.substr(0, entry.find(" [")) == text ||
        EqualsIgnoringAsciiCase(GetKindWord(entry), text)) {
      kind = entry;
      return true;
    }
  return false;
}

// One "--kind ROW=TEXT" or "--kind FIRST-LAST=TEXT": rows counted from 1. kExitOk, kExitUsage for a
// malformed option, kExitFailed (reported) for a kind that is not in the list.
int ApplyKind(Context& ctx, EuklidHoleForm& form, const std::string& option) {
  const std::size_t eq = option.find('=');
  if (eq == std::string::npos) return kExitUsage;
  const std::string rows = option.substr(0, eq);
  const std::size_t dash = rows.find('-');
  const std::string first = rows.substr(0, dash),
                    last = dash == std::string::npos ? first : rows.substr(dash + 1);
  if (!IsDigits(first) || !IsDigits(last)) return kExitUsage;
  const int from = AtoI(first), to = AtoI(last);
  if (from < 1 || to < from || to > kEuklidHoleRows) return kExitUsage;
  std::string kind;
  if (!FindKind(form, option.substr(eq + 1), kind)) {
    ctx.reporter.Reportf(-1, "エラー：穴の種類「%s」はありません", option.substr(eq + 1).c_str());
    return kExitFailed;
  }
  for (int r = from - 1; r < to; ++r)
    form.rows[r].kind = kind;
  return kExitOk;
}

// "euklid holes FILE": the project named after the file, the material form, the hole form with the
// given kinds, the counterbore checks and the grouping; with --save the groups are saved with the main
// window's preselected machine and next program number. Prints the rows and the database.
int Holes(CliRun& run) {
  CliArgs& a = run.args;
  Context& ctx = run.ctx;
  const bool save = TakeFlag(a, "--save");
  std::optional<std::string> size, material, origin;
  std::vector<std::string> kinds;
  if (!a.TakeOption("--size", size) || !a.TakeOption("--material", material) ||
      !a.TakeOption("--origin", origin) || !TakeAll(a, "--kind", kinds))
    return kExitUsage;
  if (a.positional.size() != 2 || a.positional[1].empty() || !size || !material) return kExitUsage;
  const std::vector<std::string> sizes = SplitCommas(*size);
  if (sizes.size() != 3) return kExitUsage;
  std::string input = a.positional[1];
  if (InputFile(ctx, input) != 0) return kExitFailed;

  // The database and the material form.
  if (SettingEukHoleFile(ctx, input) != 0) return kExitFailed;
  EuklidMaterialForm materialForm;
  OpenEuklidMaterialForm(ctx, materialForm);
  materialForm.sizeX = sizes[0];
  materialForm.sizeY = sizes[1];
  materialForm.sizeZ = sizes[2];
  materialForm.material = *material;
  if (origin) materialForm.origin = *origin;
  if (SaveEuklidMaterial(ctx, materialForm) != 0) return kExitFailed;

  // The hole form: kinds, their checks, the groups.
  EuklidHoleForm form;
  if (OpenEuklidHoleForm(ctx, form, input) != 0) return kExitFailed;
  for (const std::string& k : kinds)
    if (int status = ApplyKind(ctx, form, k); status != kExitOk) return status;
  for (int r = 0; r < kEuklidHoleRows; ++r)
    if (CheckCounterboreRow(ctx, form, r) != 0) return kExitFailed;
  const int groups = HoleDataGrouping(ctx, form);
  for (int r = 0; r < kEuklidHoleRows && !form.rows[r].diameter.empty(); ++r) {
    const EuklidHoleRow& row = form.rows[r];
    std::printf("%2d  %-24s  %s  %s,%s,%s  %s\n", r + 1, row.kind.c_str(), row.diameter.c_str(),
                row.x.c_str(), row.y.c_str(), row.z.c_str(), row.group.c_str());
  }
  if (groups < 0) return kExitFailed;
  if (save) {
    MainForm main;
    FillMachineChoices(ctx, main);
    if (SaveEuklidHole(ctx, form, main) != 0) return kExitFailed;
  }
  std::printf("%s\n", ctx.dbPath.c_str());
  return kExitOk;
}

int Euklid(CliRun& run) {
  if (run.args.positional.empty()) return kExitUsage;
  if (run.args.positional[0] == "contour") return Contour(run);
  if (run.args.positional[0] == "holes") return Holes(run);
  return kExitUsage;
}

}  // namespace

const std::vector<CliCommand>& EuklidCommands() {
  static const std::vector<CliCommand> commands = {
      {"euklid",
       "euklid contour FILE [--project P] [--product P] [--controller C] [--coordinate G] [--onumber N]\n"
       "       [--material M] [--diameter D] [--s S] [--f F] [--t T] [--d D] [--nc]\n"
       "                                        the contour form on an EUKLID curve file, saved; --nc "
       "writes its program\n"
       "  euklid holes FILE --size X,Y,Z --material M [--origin O] [--kind ROW[-ROW]=KIND ...] [--save]\n"
       "                                        the project of an EUKLID circle list, its rows grouped; "
       "--save writes the groups",
       Euklid},
  };
  return commands;
}

}  // namespace talvorin
