// The main window's commands that join several operations, in one place for every front end: the
// desktop program's main window and process screen and talvorin-cli call these, so the NC creation
// and the main job run the same way everywhere.
//
// Every job takes the context (ctx.dbPath is the project database), returns 0 or -1 and reports
// through ctx.reporter; outside programs start through ctx.platform. The single commands are in
// outputs/Outputs.h: 40026 WriteProcessSheet, 40053 TransferNcFile, 40024 ShowNcData, 40055 OpenNcFile.
#pragma once

#include <string>

#include "mtime/MachiningTime.h"
#include "process/Process.h"
#include "project/Project.h"
#include "shell/Context.h"

namespace talvorin {

// The NC program with its follow-ups, as "【NCデータ作成】" runs it once the processes are read or
// saved: CreateNcProgram, then the time estimate without its summary box (Processing_Time, mode 0; its
// result does not count) and the TRYCUT hand-off (TrycutMain; its failure fails the creation). This is
// the NcProgramCreator that the process screen and MakeNcProcess take.
int CreateNcProgramWithFollowUps(Context& ctx);

// Command 40052 "NCデータ作成" without a screen to show: the process screen opened in NC-creation mode
// on the stored processes (MakeNcProcess), which reads them and creates the program with its
// follow-ups. The project file is created first when it does not exist yet.
int CreateNcDataFromStoredProcesses(Context& ctx, MainForm& main);

// Command 40025 "加工時間算出": the estimate of the project's NC program with its report and summary
// box (Processing_Time, mode 1); `progress` may be empty. -1 also when the estimate itself failed.
int EstimateMachiningTime(Context& ctx, const TimeProgress& progress);

// Command 40054 "TRYCUT再実行": the close-TRYCUT command, then TRYCUT started again on its files.
int RerunTrycut(Context& ctx);

// Command 40022 "図面表示": the close-viewer command, then the hole drawing program on the project.
int ShowHoleDrawing(Context& ctx);

// The hole drawing of the project written here and now, as quorvex writes it in its single-job mode
// (quorvex's own program INI and element colours), and opened in the DXF viewer.
int DrawHoles(Context& ctx);

// What the main job wrote.
struct MainJobResult {
  bool planned = false;   // the processes were generated and saved first
  std::string ncFile;     // the NC program
  std::string sheetFile;  // the process sheet
};

// The main job on a loaded project (`main` holds its header, as loading fills it):
// 1. when no process is stored, the processes are generated and saved ("工程作成", "【工程保存】"); a
//    generation that stopped or a row that could not be saved ends the job;
// 2. the NC program with its follow-ups (time estimate, TRYCUT files), as command 40052;
// 3. the process sheet (command 40026);
// 4. the hole drawing (DrawHoles).
// Each step that fails ends the job with -1; what the steps before wrote stays.
int RunMainJob(Context& ctx, MainForm& main, MainJobResult& result);

}  // namespace talvorin
