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

// "工程作成" and "【工程保存】": the generated rows saved as one whole; nothing is saved when the
// generation failed, reported an error or left something out.
bool PlanProcesses(Context& ctx, MainForm& main) {
  bool planned = false;
  const std::size_t errors = ctx.reporter.Errors();
  MakeNcProcess(ctx, main, ProcessMode::kCreation, NcProgramCreator(), [&](ProcessForm& form, int opened) {
    planned = SaveGeneratedNcProcess(ctx, form, opened, errors) == 0;
    return 0;
  });
  return planned;
}

// Every hole group with positions is machined by a stored process (its 定義); a group left without
// one (stored before the group was added, or of diameter 0) would be missing from the program.
int CheckHoleGroupsMachined(Context& ctx) {
  std::string definitionKey;
  if (GetProcessKeyName(ctx, kProcDefinition, definitionKey) != 0) return -1;
  std::string nameKey;
  if (GetProcessKeyName(ctx, kProcName, nameKey) != 0) return -1;
  int failed = 0;
  for (int n = 1; n <= kHoleGroups; ++n) {
    const std::string section = HoleSection(n);
    const std::string word = GetKindWord(ReadString(ctx.dbPath, section, "command", kKindLabelBytes + 1));
    if (word.empty()) continue;
    const char* prefix = IsLongHoleKind(word) ? "C" : "";
    if (ReadString(ctx.dbPath, section, Sprintf("%sX0", prefix), kValueBytes + 1).empty()) continue;
    bool machined = false;
    for (int k = 1; k <= kStoredProcesses && !machined; ++k) {
      const std::string process = ProcessSection(k);
      if (ReadString(ctx.dbPath, process, nameKey, 32).empty()) break;
      machined = AtoI(ReadString(ctx.dbPath, process, definitionKey, 32)) == n;
    }
    if (machined) continue;
    ctx.reporter.Reportf(-1, "エラー：[%s] %s の穴を加工する工程がありません", section.c_str(), word.c_str());
    failed = -1;
  }
  return failed;
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
  // 2. The program, its time and the TRYCUT files, only with every hole of the project in it.
  if (CheckHoleGroupsMachined(ctx) != 0) return -1;
  if (CreateNcDataFromStoredProcesses(ctx, main) != 0) return -1;
  if (NcProgramPath(ctx, result.ncFile) != 0) return -1;
  // 3. The process sheet.
  if (WriteProcessSheet(ctx) != 0) return -1;
  result.sheetFile = ProcessSheetPath(ctx.dbPath);
  // 4. The hole drawing.
  return DrawHoles(ctx);
}

}  // namespace talvorin
