// Subcommands of the two drawing programs: the hole drawing of a project (quorvex) and the drawing of
// its EUKLID contour (lindrel), each run as the program runs it in single-job mode.
#include "cli/CliSupport.h"
#include "dxf/DrawingProgram.h"
#include "lindrel/EuklidDrawing.h"
#include "quorvex/HoleDrawing.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

// The export run of a drawing program on the project database DB: the program's own INI in the
// program folder, its element colours, the database as the current project.
int RunDrawing(CliRun& run, const DrawingProgramIdentity& program,
               int (*exportRun)(Context&, const ElementColor&)) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 1) return kExitUsage;
  if (!IsSingleJob(p)) {
    run.ctx.reporter.Reportf(-1, "エラー：ファイル %s が開けません。", p[0].c_str());
    return kExitFailed;
  }
  Installation inst = run.ctx.inst;
  inst.iniPath = ProgramFile(inst, Sprintf("%s.ini", program.name));
  Context ctx{inst, run.ctx.reporter, run.ctx.platform, run.ctx.dialogs, p[0]};
  return exportRun(ctx, ReadElementColor(inst.iniPath)) == 0 ? kExitOk : kExitFailed;
}

int Draw(CliRun& run) {
  return RunDrawing(run, QuorvexProgram(), ExportHoleDrawing);
}

int ContourDxf(CliRun& run) {
  return RunDrawing(run, LindrelProgram(), ExportEuklidDrawing);
}

}  // namespace

const std::vector<CliCommand>& DrawingCommands() {
  static const std::vector<CliCommand> commands = {
      {"draw", "draw DB                               draw the project's holes as <dbpath>/<project>.dxf",
       Draw},
      {"contour-dxf",
       "contour-dxf DB                        draw the project's EUKLID contour into its dxffile",
       ContourDxf},
  };
  return commands;
}

}  // namespace talvorin
