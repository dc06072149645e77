// Subcommands of what a finished NC program is turned into: its machining time, the TRYCUT files, the
// process sheet, the transfer to the machine, and the NC file in the editor and the NC viewer.
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "cli/CliSupport.h"
#include "outputs/Jobs.h"
#include "outputs/Outputs.h"
#include "store/Profile.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

// The project of DB as the current project database.
int OpenDatabase(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  std::string path;
  if (ResolveDatabase(run.ctx, run.args.positional[0], path) != 0) return kExitFailed;
  run.ctx.dbPath = path;
  return kExitOk;
}

// Progress of a long estimate on a terminal: the share read so far on one line of standard error,
// once the estimate has run for a second; cleared at the end.
struct TerminalProgress {
  bool terminal = isatty(STDERR_FILENO) == 1;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  bool shown = false;
  int percent = -1;  // the share last shown

  void operator()(std::uint64_t done, std::uint64_t total) {
    if (!terminal || total == 0) return;
    if (std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) return;
    const int now = static_cast<int>(done * 100 / total);
    if (now == percent) return;
    shown = true;
    percent = now;
    std::fprintf(stderr, "\r加工時間算出中 %3d%%", now);
    std::fflush(stderr);
  }
  ~TerminalProgress() {
    if (shown) std::fprintf(stderr, "\r%*s\r", 24, "");
  }
};

// "加工時間算出": the estimate with its report and summary box.
int Time(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  TerminalProgress shown;
  TimeProgress progress = [&shown](std::uint64_t done, std::uint64_t total) { shown(done, total); };
  return EstimateMachiningTime(run.ctx, progress) == 0 ? kExitOk : kExitFailed;
}

// The four TRYCUT files of the project and the start of TRYCUT (only with --open).
int Trycut(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  return TrycutMain(run.ctx) == 0 ? kExitOk : kExitFailed;
}

// "加工指示書": the HTML sheet, opened only with --open; prints its path. A sheet that ended early at
// a faulty process is still written, and the command then fails.
int Sheet(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  const int result = WriteProcessSheet(run.ctx);
  const std::string path = ProcessSheetPath(run.ctx.dbPath);
  if (PathExists(path)) std::printf("%s\n", path.c_str());
  return result == 0 ? kExitOk : kExitFailed;
}

// "NCデータ転送": the transfer by the method of the program INI, for real: the DNC program is started
// without --open too (it is the transfer itself, not a program to look at).
int Transfer(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  PosixPlatform platform;
  Context ctx{run.ctx.inst, run.ctx.reporter, platform, run.ctx.dialogs, run.ctx.dbPath};
  return TransferNcFile(ctx) == 0 ? kExitOk : kExitFailed;
}

// The NC file in the editor (started only with --open).
int Edit(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  return OpenNcFile(run.ctx) == 0 ? kExitOk : kExitFailed;
}

// The NC file in the NC viewer (started only with --open).
int View(CliRun& run) {
  if (int status = OpenDatabase(run); status != kExitOk) return status;
  return ShowNcData(run.ctx) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

const std::vector<CliCommand>& OutputCommands() {
  static const std::vector<CliCommand> commands = {
      {"time",
       "time DB                               estimate the machining time of the project's NC program", Time},
      {"trycut", "trycut DB                             write the TRYCUT files of the project and start it",
       Trycut},
      {"sheet",
       "sheet DB                              write the process sheet of the project and print its path",
       Sheet},
      {"transfer",
       "transfer DB                           send the project's NC program to the machine (DNC or FTP)",
       Transfer},
      {"edit", "edit DB                               open the project's NC program in the editor", Edit},
      {"view", "view DB                               show the project's NC program in the NC viewer", View},
  };
  return commands;
}

}  // namespace talvorin
