// Subcommands of the project database: create a project from the header fields, load one and show
// its header.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cli/CliSupport.h"
#include "project/Project.h"
#include "store/Ascii.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

// "X,Y,Z": three parts, each empty (the save then names the missing size) or a number.
bool SplitSize(const std::string& text, std::string (&parts)[3]) {
  std::size_t first = text.find(',');
  if (first == std::string::npos) return false;
  std::size_t second = text.find(',', first + 1);
  if (second == std::string::npos || text.find(',', second + 1) != std::string::npos) return false;
  parts[0] = text.substr(0, first);
  parts[1] = text.substr(first + 1, second - first - 1);
  parts[2] = text.substr(second + 1);
  // A size field holds 15 bytes: 1e308 (310 digits) would be stored cut.
  for (const std::string& p : parts)
    if (!p.empty() && (!IsNumber(p) || !IsStorableNumber(p, 15))) return false;
  return true;
}

int New(CliRun& run) {
  std::optional<std::string> product, size, material, origin, controller, coord, onumber;
  CliArgs& a = run.args;
  if (!a.TakeOption("--product", product) || !a.TakeOption("--size", size) ||
      !a.TakeOption("--material", material) || !a.TakeOption("--origin", origin) ||
      !a.TakeOption("--controller", controller) || !a.TakeOption("--coord", coord) ||
      !a.TakeOption("--onumber", onumber))
    return kExitUsage;
  if (a.positional.size() != 1 || !size || !material || !controller || !coord) return kExitUsage;
  std::string sizes[3];
  if (!SplitSize(*size, sizes)) return kExitUsage;
  if (onumber && !IsDigits(*onumber)) return kExitUsage;

  // The form as start-up leaves it (lists, preselections, the next program number), then the fields
  // as a user fills them.
  Context& ctx = run.ctx;
  MainForm form;
  FillMachineChoices(ctx, form);
  form.projectName = AsciiUpperCase(a.positional[0]);
  if (product) form.product = AsciiUpperCase(*product);
  form.sizeX = sizes[0];
  form.sizeY = sizes[1];
  form.sizeZ = sizes[2];
  form.material = AsciiUpperCase(*material);
  if (origin) form.origin = AsciiUpperCase(*origin);
  std::string device = AsciiUpperCase(*controller);
  if (device != form.controller) {
    // Choosing another controller refills the coordinate systems offered for it.
    form.controller = device;
    FillCoordinateSystems(ctx, form, device);
  }
  form.coordinateSystem = AsciiUpperCase(*coord);
  if (onumber) form.programNumber = *onumber;

  if (NewSavedata(ctx, form) != 0) return kExitFailed;
  std::printf("%s\n", ctx.dbPath.c_str());
  return kExitOk;
}

int Load(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 1 || p[0].empty()) return kExitUsage;
  std::error_code ec;
  std::string path = std::filesystem::absolute(p[0], ec).string();
  if (ec) return kExitUsage;

  // The open-file dialog answers with the given file.
  ArgumentDialogs dialogs;
  dialogs.files.push_back(path);
  Context ctx{run.ctx.inst, run.ctx.reporter, run.ctx.platform, dialogs, run.ctx.dbPath};
  MainForm form;
  if (LoadProject(ctx, form) != 0) return kExitFailed;
  run.ctx.dbPath = ctx.dbPath;

  std::printf("DBファイル=%s\n", ctx.dbPath.c_str());
  std::printf("プロジェクト名=%s\n", form.projectName.c_str());
  std::printf("商品名／加工物=%s\n", form.product.c_str());
  std::printf("材料寸法=%s,%s,%s\n", form.sizeX.c_str(), form.sizeY.c_str(), form.sizeZ.c_str());
  std::printf("材質=%s\n", form.material.c_str());
  std::printf("加工原点=%s\n", form.origin.c_str());
  std::printf("制御装置=%s\n", form.controller.c_str());
  std::printf("座標系=%s\n", form.coordinateSystem.c_str());
  std::printf("Ｏ番号=%s\n", form.programNumber.c_str());
  for (std::size_t n = 0; n < form.groupCaptions.size(); ++n)
    std::printf("[%02zu]=%s\n", n + 1, form.groupCaptions[n].c_str());
  return kExitOk;
}

}  // namespace

const std::vector<CliCommand>& ProjectCommands() {
  static const std::vector<CliCommand> commands = {
      {"new",
       "new NAME [--product P] --size X,Y,Z --material M [--origin O] --controller C --coord CS\n"
       "      [--onumber N]                   create the project database anew and save the header",
       New},
      {"load", "load DB                               load a project database and print its header", Load},
  };
  return commands;
}

}  // namespace talvorin
