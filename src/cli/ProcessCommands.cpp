// Subcommands of the machining processes: planning them as the process screen does in creation mode,
// and reading, editing or initialising the stored ones as a user does on the screen.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/CliSupport.h"
#include "process/Process.h"
#include "project/Project.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// "--init" anywhere among the arguments.
bool TakeFlag(CliArgs& args, const std::string& name) {
  auto it = std::find(args.positional.begin(), args.positional.end(), name);
  if (it == args.positional.end()) return false;
  args.positional.erase(it);
  return true;
}

// One "--set ROW:COLUMN=VALUE": ROW 1 to 30, COLUMN a heading of the screen ("工具名", "径", "T", ...,
// "定義") or the key name "tool" or "diam".
struct FieldEdit {
  int row = 0;
  std::size_t column = 0;
  std::string value;
};

bool ParseEdit(const std::string& text, FieldEdit& edit) {
  std::size_t colon = text.find(':');
  std::size_t eq = text.find('=');
  if (colon == std::string::npos || eq == std::string::npos || eq < colon) return false;
  std::string row = text.substr(0, colon);
  std::string column = text.substr(colon + 1, eq - colon - 1);
  if (!IsDigits(row) || row.size() > 2) return false;
  edit.row = std::stoi(row);
  if (edit.row < 1 || edit.row > kProcessRows) return false;
  auto heading = std::find(kProcessHeadings.begin(), kProcessHeadings.end(), column);
  if (heading != kProcessHeadings.end())
    edit.column = static_cast<std::size_t>(heading - kProcessHeadings.begin());
  else if (column == "tool")
    edit.column = kProcName;
  else if (column == "diam")
    edit.column = kProcDiameter;
  else
    return false;
  edit.value = text.substr(eq + 1);
  std::string encoded;
  return Utf8ToCp932(edit.value, encoded);
}

bool ParseEdits(CliArgs& args, std::vector<FieldEdit>& edits) {
  for (;;) {
    std::optional<std::string> value;
    if (!args.TakeOption("--set", value)) return false;
    if (!value) return true;
    FieldEdit edit;
    if (!ParseEdit(*value, edit)) return false;
    edits.push_back(edit);
  }
}

// The screen's rows that hold anything, one line each, columns separated by " | " and padded to a
// CP932 width: "[01] | センタードリル | 3 | 1 | 1 | ...".
void PrintRows(const ProcessForm& form) {
  static constexpr std::size_t kWidths[kProcessColumns] = {14, 5, 3, 3, 3, 5, 6, 3, 4, 7, 6, 5, 4};
  auto print = [](const std::string& first, const std::array<std::string, kProcessColumns>& cells) {
    std::string line = Cp932PadRight(first, 4);
    for (std::size_t i = 0; i < cells.size(); ++i)
      line += " | " + Cp932PadRight(cells[i], kWidths[i]);
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    std::printf("%s\n", line.c_str());
  };
  std::array<std::string, kProcessColumns> headings;
  std::copy(kProcessHeadings.begin(), kProcessHeadings.end(), headings.begin());
  print("工程", headings);
  for (int n = 1; n <= kProcessRows; ++n) {
    const ProcessRow& row = form.Row(n);
    bool any =
        std::any_of(row.fields.begin(), row.fields.end(), [](const std::string& f) { return !f.empty(); });
    if (any) print(Sprintf("[%02d]", n), row.fields);
  }
}

// The project into the main window's header, as loading it does.
int OpenProject(CliRun& run, std::string& path, MainForm& main) {
  if (ResolveDatabase(run.ctx, run.args.positional[0], path) != 0) return -1;
  run.ctx.dbPath = path;
  return defineLoadMain(run.ctx, main);
}

// Creation mode: generation, then "【工程保存】" of the whole list. A generation that stopped, reported
// an error or left something out is not saved (it would replace the stored processes by a part of
// them).
int Plan(CliRun& run) {
  if (run.args.positional.size() != 1 || run.args.positional[0].empty()) return kExitUsage;
  std::string path;
  MainForm main;
  if (OpenProject(run, path, main) != 0) return kExitFailed;
  Context& ctx = run.ctx;
  int status = kExitFailed;
  const std::size_t errors = ctx.reporter.Errors();
  MakeNcProcess(ctx, main, ProcessMode::kCreation, NcProgramCreator(), [&](ProcessForm& form, int opened) {
    if (SaveGeneratedNcProcess(ctx, form, opened, errors) == 0) status = kExitOk;
    PrintRows(form);
    return 0;
  });
  return status;
}

// Reading mode, then "工程初期化" answered yes, the field edits in order (leaving a T field of rows 1
// to 15 runs the tool-number rule) and "【工程保存】" when a field changed.
int Processes(CliRun& run) {
  CliArgs& a = run.args;
  std::vector<FieldEdit> edits;
  if (!ParseEdits(a, edits)) return kExitUsage;
  bool init = TakeFlag(a, "--init");
  if (a.positional.size() != 1 || a.positional[0].empty()) return kExitUsage;
  std::string path;
  MainForm main;
  if (OpenProject(run, path, main) != 0) return kExitFailed;

  ArgumentDialogs dialogs;
  dialogs.answers.push_back(true);
  Context ctx{run.ctx.inst, run.ctx.reporter, run.ctx.platform, dialogs, path};
  int status = kExitFailed;
  auto screen = [&](ProcessForm& form, int opened) {
    bool ok = opened == 0 && (!init || InitNcProcess(ctx, form) == 0);
    bool changed = false;
    for (const FieldEdit& edit : edits) {
      if (!ok) break;
      ProcessRow& row = form.Row(edit.row);
      // The name is chosen from the row's list; rows without a list take none.
      if (edit.column == kProcName && !edit.value.empty() &&
          std::find(row.names.begin(), row.names.end(), edit.value) == row.names.end()) {
        ctx.reporter.Reportf(-1, "エラー：工具名 %s は工程[%d] の一覧にありません", edit.value.c_str(),
                             edit.row);
        ok = false;
        break;
      }
      changed = changed || row.fields[edit.column] != edit.value;
      row.fields[edit.column] = edit.value;
      if (edit.column == kProcT && CheckToolNumber(ctx, form, edit.row) != 0) ok = false;
    }
    int skipped = 0;
    if (ok && changed) ok = SaveNcProcess(ctx, form, skipped) == 0 && skipped == 0;
    if (ok) status = kExitOk;
    PrintRows(form);
    return 0;
  };
  MakeNcProcess(ctx, main, ProcessMode::kReading, NcProgramCreator(), screen);
  return status;
}

}  // namespace

const std::vector<CliCommand>& ProcessCommands() {
  static const std::vector<CliCommand> commands = {
      {"plan", "plan DB                               generate the processes of a project and save them",
       Plan},
      {"processes",
       "processes DB [--set ROW:COLUMN=VALUE]... [--init]\n"
       "                                        show the stored processes; edit fields (COLUMN: 工具名 径 T "
       "H D\n"
       "                                        S F G R Z Q OFF 定義) and save; --init deletes them first",
       Processes},
  };
  return commands;
}

}  // namespace talvorin
