// Subcommands of the NC program: the main window's "NCデータ作成" (the process screen opened in
// NC-creation mode), and the main job that plans a project's processes when it has none and then
// writes its program.
#include <cstdio>

#include "cli/CliSupport.h"
#include "mtime/MachiningTime.h"
#include "ncgen/NcGen.h"
#include "process/Process.h"
#include "project/Project.h"
#include "project/ProjectOutputs.h"
#include "store/Profile.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

// What runs after a written program: the time estimate (mode 0, no summary box) and the TRYCUT
// hand-off (TRYCUT itself starts only with --open).
NcFollowUps FollowUps() {
  return {[](Context& c) { return Processing_Time(c, 0); }, [](Context& c) { return TrycutMain(c); }};
}

// The project into the main window's header, as loading it does.
int OpenProject(CliRun& run, MainForm& main) {
  std::string path;
  if (ResolveDatabase(run.ctx, run.args.positional[0], path) != 0) return -1;
  run.ctx.dbPath = path;
  return defineLoadMain(run.ctx, main);
}

// The process screen in NC-creation mode: the stored processes, then the program. Prints the NC file.
int WriteProgram(Context& ctx, MainForm& main) {
  NcFollowUps followUps = FollowUps();
  NcProgramCreator create = [&followUps](Context& c) { return CreateNcProgram(c, followUps); };
  int result = MakeNcProcess(ctx, main, ProcessMode::kNcCreation, create,
                             [](ProcessForm&, int opened) { return opened; });
  if (result != 0) return kExitFailed;
  std::string path;
  if (NcProgramPath(ctx, path) != 0) return kExitFailed;
  std::printf("%s\n", path.c_str());
  return kExitOk;
}

// A stored first process: key 0 of section "ncproc1".
bool HasStoredProcesses(Context& ctx) {
  std::string key;
  if (GetProcessKeyName(ctx, 0, key) != 0) return false;
  return !ReadString(ctx.dbPath, ProcessSection(1), key, 32).empty();
}

int Nc(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  MainForm main;
  if (OpenProject(run, main) != 0) return kExitFailed;
  return WriteProgram(run.ctx, main);
}

int Run(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  MainForm main;
  if (OpenProject(run, main) != 0) return kExitFailed;
  Context& ctx = run.ctx;
  if (!HasStoredProcesses(ctx)) {
    // Creation mode and "【工程保存】", as "plan" does; a generation that stopped or a row that could
    // not be saved makes no program.
    bool planned = false;
    MakeNcProcess(ctx, main, ProcessMode::kCreation, NcProgramCreator(), [&](ProcessForm& form, int opened) {
      int skipped = 0;
      planned = opened == 0 && SaveNcProcess(ctx, form, skipped) == 0 && skipped == 0;
      return 0;
    });
    if (!planned) return kExitFailed;
  }
  if (WriteProgram(ctx, main) != kExitOk) return kExitFailed;
  // The process sheet and the hole drawing of the project.
  if (WriteProcessSheet(ctx) != 0) return kExitFailed;
  std::printf("%s\n", ProcessSheetPath(ctx.dbPath).c_str());
  return RunHoleDrawing(ctx) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

const std::vector<CliCommand>& NcCommands() {
  static const std::vector<CliCommand> commands = {
      {"nc", "nc DB                                 write the NC program of the stored processes", Nc},
      {"run",
       "run DB                                plan the processes when none are stored, write the NC "
       "program,\n"
       "                                        its time, the TRYCUT files, the process sheet and the "
       "drawing",
       Run},
  };
  return commands;
}

}  // namespace talvorin
