// Subcommands of the NC program: the main window's "NCデータ作成" (the process screen opened in
// NC-creation mode), and the main job (outputs/Jobs.h).
#include <cstdio>

#include "cli/CliSupport.h"
#include "ncgen/NcGen.h"
#include "outputs/Jobs.h"
#include "project/Project.h"

namespace talvorin {
namespace {

// The project into the main window's header, as loading it does.
int OpenProject(CliRun& run, MainForm& main) {
  std::string path;
  if (ResolveDatabase(run.ctx, run.args.positional[0], path) != 0) return -1;
  run.ctx.dbPath = path;
  return defineLoadMain(run.ctx, main);
}

// "NCデータ作成": the stored processes, then the program. Prints the NC file.
int Nc(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  MainForm main;
  if (OpenProject(run, main) != 0) return kExitFailed;
  if (CreateNcDataFromStoredProcesses(run.ctx, main) != 0) return kExitFailed;
  std::string path;
  if (NcProgramPath(run.ctx, path) != 0) return kExitFailed;
  std::printf("%s\n", path.c_str());
  return kExitOk;
}

// The main job; prints the NC file and the process sheet it wrote.
int Run(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  MainForm main;
  if (OpenProject(run, main) != 0) return kExitFailed;
  MainJobResult result;
  const int status = RunMainJob(run.ctx, main, result);
  if (!result.ncFile.empty()) std::printf("%s\n", result.ncFile.c_str());
  if (!result.sheetFile.empty()) std::printf("%s\n", result.sheetFile.c_str());
  return status == 0 ? kExitOk : kExitFailed;
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
