// Process planning: the machining processes of a project. Generation turns the hole groups into rows
// of the process screen (one row per tool and operation, with tool number, offsets, conditions, cycle
// code, R point, depth and step), the tool-number rule checks and spreads the T fields, and the
// process store keeps rows 1 to 15 as sections "ncproc1" to "ncproc15" of the project database, whose
// key names come from "NcProcess.key".
//
// Every operation takes the context (its dbPath is the project database), returns 0 or -1 and reports
// through ctx.reporter with the system's texts. The screen's field texts are the working copy; only
// the store operations write the project database.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "holes/Holes.h"
#include "project/Project.h"
#include "shell/Context.h"

namespace talvorin {

constexpr int kProcessRows = 30;      // rows "[01]" to "[30]" of the screen
constexpr int kStoredProcesses = 15;  // rows that are saved, read, cleared and numbered
constexpr int kProcessColumns = 13;   // columns of a row = keys of a process record

// Columns of a row in screen order. The index of a column is also the index of its key in
// "NcProcess.key" (key0 "tool" ... key12 "定義").
enum ProcessColumn : std::size_t {
  kProcName = 0,        // 工具名: the process name, an entry of the row's list (at most 31 bytes)
  kProcDiameter = 1,    // 径: tool diameter, mm
  kProcT = 2,           // T: tool number
  kProcH = 3,           // H: tool length offset number
  kProcD = 4,           // D: cutter radius offset number (milling rows)
  kProcS = 5,           // S: spindle speed, min-1
  kProcF = 6,           // F: feed, mm/min (or the pitch for feed per revolution)
  kProcG = 7,           // G: cycle or motion code "81", "82", "83", "84", "41", "03"
  kProcR = 8,           // R: R point
  kProcZ = 9,           // Z: final depth, negative
  kProcQ = 10,          // Q: peck depth (drilling) or step (milling)
  kProcOff = 11,        // OFF: finishing allowance (milling)
  kProcDefinition = 12  // 定義: the hole group 1 to 6 the process machines
};

// Column headings of the screen after "工程" (which captions the row numbers).
inline constexpr std::array<std::string_view, kProcessColumns> kProcessHeadings = {
    "工具名", "径", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"};

// Process names of generation; each must be an entry of the tool list to be selectable.
inline constexpr std::string_view kCenterDrillProcess = "センタードリル";
inline constexpr std::string_view kDrillProcess = "ドリル";
inline constexpr std::string_view kChamferProcess = "面取カッター";
inline constexpr std::string_view kTapProcess = "並目タップ";
inline constexpr std::string_view kReamerProcess = "リーマ";
inline constexpr std::string_view kCounterboreProcess = "エンドミル";
inline constexpr std::string_view kRoughEndmillProcess = "荒取エンドミル";
inline constexpr std::string_view kFinishEndmillProcess = "仕上エンドミル";

// How the main window opens the screen; the numbers are the main window's mode values.
enum class ProcessMode : int {
  kCreation = 0,   // "工程作成" (40023): generation
  kReading = 1,    // "工程読込" (40050): the stored processes
  kNcCreation = 3  // "NCデータ作成" (40052): the stored processes, then the NC program
};

// Command ids of the screen's menu and bar.
constexpr int kCmdOpenNcFile = 40055;      // "NCファイルを開く"
constexpr int kCmdInitProcesses = 40056;   // "工程初期化"
constexpr int kCmdReadProcesses = 40050;   // "工程読込"
constexpr int kCmdSaveProcesses = 40051;   // "【工程保存】"
constexpr int kCmdCreateNcData = 40052;    // "【NCデータ作成】"
constexpr int kCmdTransferNcData = 40053;  // "【NCデータ転送】"
constexpr int kCmdRerunTrycut = 40054;     // "【TRYCUT再実行】"
constexpr int kCmdShowDrawing = 40022;     // "【図面表示】"
constexpr int kCmdDrawNcData = 40024;      // "【NCデータ描画】"
constexpr int kCmdCloseProcesses = 40103;  // "【工程終了】", "工程終了"

struct ProcessRow {
  std::vector<std::string> names;                   // the 工具名 drop-down list
  std::array<std::string, kProcessColumns> fields;  // field texts, indexed by ProcessColumn
};

// The process screen "加工工程作成" (dialog "NCPROCESSINGDLG").
struct ProcessForm {
  std::array<ProcessRow, kProcessRows> rows;  // rows[0] is "[01]"
  ProcessMode mode = ProcessMode::kCreation;  // kept while the screen is open
  // Generation state, from the start of StartNcProcess to its end: the row the next row builder
  // fills (1-based; past 30 rows are lost) and the hole group written into 定義.
  int rowCounter = 1;
  int holeGroup = 0;
  // Hole groups and rows the generation left out (each warned): a group it cannot machine, a row past
  // the fifteen that are saved.
  int leftOut = 0;
  // The process names of the rows past the fifteenth, as generation built them (their rows have no
  // name list, so the rows themselves show none).
  std::vector<std::string> unsavedNames;

  ProcessRow& Row(int n) { return rows[static_cast<std::size_t>(n - 1)]; }
  const ProcessRow& Row(int n) const { return rows[static_cast<std::size_t>(n - 1)]; }
};

// The NC program generator run by "【NCデータ作成】" after the processes were saved or read
// (CreateNcProgram): 0 or -1.
using NcProgramCreator = std::function<int(Context&)>;

// Hole parameters 0 to 9 as ReadHoleVariables gives them.
using HoleParameters = std::array<double, kHoleParameters>;

// --- Generation (ProcessGeneration.cpp) ---

// Creation mode: rows from the hole groups hole1 to hole6 of the project, then AssignToolNumbers.
// The material is the main window's material field; it selects the condition tables. Stops with -1
// (rows built so far stay) on an empty material, an unreadable kind word, or a builder's failure.
// A group without a first parameter or of a kind without builder, and every row past the fifteenth,
// is warned about and counted in form.leftOut.
int StartNcProcess(Context& ctx, ProcessForm& form, const MainForm& main);

// Per-kind builders: the rows of one hole group in machining order, from form.rowCounter on. A
// missing condition leaves values empty or a row out as each row builder says and is not a failure;
// the long-hole and big-hole builders fail (-1) when the material thickness cannot be read.
int MakeDrillNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);
int MakeTapNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);
int MakeReamerNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);
int MakeCounterboreNcProc(Context& ctx, ProcessForm& form, std::string_view material,
                          const HoleParameters& p);
int MakeLongHoleNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);
int MakeBigHoleNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);
int MakeUgrooveNcProc(Context& ctx, ProcessForm& form, std::string_view material, const HoleParameters& p);

// Row builders: each fills the row of form.rowCounter, writes form.holeGroup into 定義 and advances
// the counter. Values the condition lookup did not deliver stay empty. The chamfers, tapping and
// reaming build no row (and return -1) when their condition is missing; the others always build it.
int SetCenterDrillProc(Context& ctx, ProcessForm& form, std::string_view material);
// Drill of `diameter` to Z = -|depth|.
int SetDrillProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth);
// Chamfer of size `chamfer` on a hole of `hole` mm with the chamfer cutter; G "03" when the chamfer
// diameter exceeds the cutter.
int SetupStandardChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double hole,
                             double chamfer);
// Chamfer of taps and reamers: 径 is the larger of chamfer and cutter diameter, G always "chamfer".
int SetChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double hole, double chamfer);
// Chamfer milled around a big hole: G "03", Z = -(chamfer + "ChamferPlusDepth").
int SetupCircleCutChamferProc(Context& ctx, ProcessForm& form, std::string_view material, double hole,
                              double chamfer);
// Tap of nominal `diameter`; with "RotationFeed" 1 the feed is the pitch.
int SetTapProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth,
               double pitch);
int SetReamerProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth);
// Counterbore milled with the end mill "エンドミル".
int SetCounterboreProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter,
                       double depth);
// End milling with G 41: a rough pass (step D/2) when `allowance` is not 0, else a finish pass (step D).
int SetEndmillProc(Context& ctx, ProcessForm& form, std::string_view material, double diameter, double depth,
                   double allowance);

// --- Tool numbers (ToolNumbers.cpp) ---

// T and H (and D for G 41 rows) of rows 1 to 15 from the magazine pocket of the row's tool name and
// diameter; rows whose tool is not in the magazine keep their fields.
int AssignToolNumbers(Context& ctx, ProcessForm& form);

// The rule run when the user leaves the T field of row `row` (1 to 15; other rows take no part):
// a number already used by another tool is refused with a message (the typed number stays);
// otherwise it is copied to the rows of the same tool that have no T, and H (and D for G 41) default
// to it.
int CheckToolNumber(Context& ctx, ProcessForm& form, int row);

// --- The process store (ProcessStore.cpp) ---

// "ncproc<n>".
std::string ProcessSection(int n);

// Name of key `index` (0 to 12) of a process record: "key<index>" of section "NcProcess" of
// "NcProcess.key" in the program folder.
int GetProcessKeyName(Context& ctx, int index, std::string& name);

// Keys 1 to 12 of a record as numbers into values[1] to values[12]; 999 for a key that is missing or
// empty. values[0] is left as it is (the process name is text). -1 only when a key name cannot be
// resolved.
int ReadProcessValues(Context& ctx, std::string_view section, std::array<double, kProcessColumns>& values);

// Deletes the thirteen keys of every stored record (up to the first missing one); the section lines
// stay. A refused deletion is reported and the deletion goes on.
int DeleteNcProcess(Context& ctx);

// "【工程保存】": deletes the stored records, then writes each complete named row of rows 1 to 15 as
// the next record (numbers in drop-point form). A row with an empty required field is reported and
// skipped without taking a record number.
int SaveNcProcess(Context& ctx, ProcessForm& form);
// The same, counting in `skipped` the named rows that were kept out for an empty required field.
int SaveNcProcess(Context& ctx, ProcessForm& form, int& skipped);

// "工程読込": rows 1 to 15 are emptied, then record n becomes row n, texts as stored.
int ReadNcProcess(Context& ctx, ProcessForm& form);

// The batch's "工程作成" followed by "【工程保存】", as one whole: the generated rows (`generated` is
// what the generation returned, `errorsBefore` the reporter's error count before it) are saved only
// when the generation succeeded, reported no error, left nothing out and every named row is complete.
// Otherwise nothing is written, the stored processes stay, and the result is -1.
int SaveGeneratedNcProcess(Context& ctx, ProcessForm& form, int generated, std::size_t errorsBefore);

// "工程初期化": empties rows 1 to 15 and, when the user answers yes, deletes the stored records.
int InitNcProcess(Context& ctx, ProcessForm& form);

// --- The screen (ProcessScreen.cpp) ---

// The process-name lists of rows 1 to 15: "TOOLLIST0" up to the tool list's "index", stopping at the
// first missing entry.
void FillProcessNames(Context& ctx, ProcessForm& form);

// The screen opens in form.mode: the name lists, then generation, reading, or "【NCデータ作成】".
int OpenProcessScreen(Context& ctx, ProcessForm& form, const MainForm& main,
                      const NcProgramCreator& createNcProgram);

// "【NCデータ作成】": in NC-creation mode the stored processes are read, otherwise the screen is saved;
// when that succeeded with every named row saved, the mode becomes creation and the NC program is
// created by `createNcProgram`. -1 when reading, saving or creating failed or a row was not saved.
int CreateNcData(Context& ctx, ProcessForm& form, const NcProgramCreator& createNcProgram);

// The front end's modal process screen: shown with the opened form and what the opening returned;
// its result is the screen's result.
using ProcessScreenRunner = std::function<int(ProcessForm& form, int opened)>;

// The main window's commands 40023, 40050 and 40052: creates the project file first (NewSavedata)
// when it does not exist, opens the screen in `mode` and hands it to `runScreen`; the result is what
// `runScreen` returns, or -1 when the project could not be created.
int MakeNcProcess(Context& ctx, MainForm& main, ProcessMode mode, const NcProgramCreator& createNcProgram,
                  const ProcessScreenRunner& runScreen);

}  // namespace talvorin
