// The process screen: opening it in one of the main window's three modes, and the step of
// "【NCデータ作成】" that saves or reads the processes before the NC program is created.
#include "process/Process.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

void FillProcessNames(Context& ctx, ProcessForm& form) {
  std::string file = ProgramFile(ctx.inst, "defineTool.tbl");
  int index = ReadInt(file, "TOOLLIST", "index", 10);
  std::vector<std::string> names = ReadNumberedList(file, "TOOLLIST", "TOOLLIST", 32, index + 1);
  for (int r = 1; r <= kStoredProcesses; ++r)
    form.Row(r).names = names;
}

int OpenProcessScreen(Context& ctx, ProcessForm& form, const MainForm& main,
                      const NcProgramCreator& createNcProgram) {
  FillProcessNames(ctx, form);
  switch (form.mode) {
    case ProcessMode::kCreation:
      return StartNcProcess(ctx, form, main);
    case ProcessMode::kReading:
      return ReadNcProcess(ctx, form);
    case ProcessMode::kNcCreation:
      return CreateNcData(ctx, form, createNcProgram);
  }
  return -1;
}

int CreateNcData(Context& ctx, ProcessForm& form, const NcProgramCreator& createNcProgram) {
  // The processes the NC program is made of: the stored ones in NC-creation mode, otherwise the
  // screen's, saved first.
  int skipped = 0;
  int rc =
      form.mode == ProcessMode::kNcCreation ? ReadNcProcess(ctx, form) : SaveNcProcess(ctx, form, skipped);
  if (rc != 0) return -1;
  // A named row that could not be saved would be missing from the program (a tap without its pilot
  // hole): the program is not made until the row is completed or its name cleared.
  if (skipped > 0) {
    ctx.reporter.Report("エラー：保存できない工程があるためＮＣデータを作成しません", 0);
    return -1;
  }
  form.mode = ProcessMode::kCreation;
  if (!createNcProgram) return -1;
  return createNcProgram(ctx);
}

int MakeNcProcess(Context& ctx, MainForm& main, ProcessMode mode, const NcProgramCreator& createNcProgram,
                  const ProcessScreenRunner& runScreen) {
  ctx.reporter.Report("!!! routine name : MakeNcProcess", 0);
  // The processes are stored in the project file: a project not saved yet is created first.
  if (!PathExists(ctx.dbPath) && NewSavedata(ctx, main) != 0) return -1;
  ProcessForm form;
  form.mode = mode;
  int opened = OpenProcessScreen(ctx, form, main, createNcProgram);
  return runScreen(form, opened);
}

}  // namespace talvorin
