// The composed commands of the main window and the main job.
#include "outputs/Jobs.h"

#include "dxf/DrawingProgram.h"
#include "dxf/DxfWriter.h"
#include "ncgen/NcGen.h"
#include "outputs/Outputs.h"
#include "project/ProjectDatabase.h"
#include "quorvex/HoleDrawing.h"
#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

// A stored first process: its first key (the process name, from "NcProcess.key") in "ncproc1".
bool HasStoredProcesses(Context& ctx) {
  std::string key;
  if (GetProcessKeyName(ctx, 0, key) != 0) return false;
  return !ReadString(ctx.dbPath, DbSection(kDbProcessSection, 1), key, 32).empty();
}

// "工程作成" and "【工程保存】": the generated rows saved; true only when every named row was saved.
bool PlanProcesses(Context& ctx, MainForm& main) {
  bool planned = false;
  MakeNcProcess(ctx, main, ProcessMode::kCreation, NcProgramCreator(), [&](ProcessForm& form, int opened) {
    int skipped = 0;
    planned = opened == 0 && SaveNcProcess(ctx, form, skipped) == 0 && skipped == 0;
    return 0;
  });
  return planned;
}

}  // namespace

int CreateNcProgramWithFollowUps(Context& ctx) {
  NcFollowUps followUps{[](Context& c) { return Processing_Time(c, 0); },
                        [](Context& c) { return TrycutMain(c); }};
  return CreateNcProgram(ctx, followUps);
}

int CreateNcDataFromStoredProcesses(Context& ctx, MainForm& main) {
  return MakeNcProcess(ctx, main, ProcessMode::kNcCreation, CreateNcProgramWithFollowUps,
                       [](ProcessForm&, int opened) { return opened; });
}

int EstimateMachiningTime(Context& ctx, const TimeProgress& progress) {
  int calculation = -1;
  if (Processing_Time(ctx, 1, progress, calculation) != 0 || calculation != 0) return -1;
  return 0;
}

int RerunTrycut(Context& ctx) {
  RunCloseCommand(ctx, "closetrycut");
  return reRunTRYCUT(ctx);
}

int ShowHoleDrawing(Context& ctx) {
  RunCloseCommand(ctx, "closedxfviewer");
  return StartHoleDrawing(ctx);
}

int DrawHoles(Context& base) {
  Installation inst = base.inst;
  inst.iniPath = ProgramFile(inst, Sprintf("%s.ini", QuorvexProgram().name));
  Context ctx{inst, base.reporter, base.platform, base.dialogs, base.dbPath};
  return ExportHoleDrawing(ctx, ReadElementColor(inst.iniPath));
}

int RunMainJob(Context& ctx, MainForm& main, MainJobResult& result) {
  result = MainJobResult();
  // 1. The processes, when none are stored.
  if (!HasStoredProcesses(ctx)) {
    if (!PlanProcesses(ctx, main)) return -1;
    result.planned = true;
  }
  // 2. The program, its time and the TRYCUT files.
  if (CreateNcDataFromStoredProcesses(ctx, main) != 0) return -1;
  if (NcProgramPath(ctx, result.ncFile) != 0) return -1;
  // 3. The process sheet.
  if (WriteProcessSheet(ctx) != 0) return -1;
  result.sheetFile = ProcessSheetPath(ctx.dbPath);
  // 4. The hole drawing.
  return DrawHoles(ctx);
}

}  // namespace talvorin
