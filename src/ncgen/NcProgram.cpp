// The NC program and its frame: the controller choice, the machine settings, the percent line and
// program number, the user lines, and per process the sequence number, tool comment, tool change,
// approach block, body and retract block.
#include <cstring>

#include "ncgen/NcCommon.h"
#include "project/ControllerFamily.h"
#include "project/ProjectDatabase.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

using nc::kCoordinateLimit;
using nc::kLineLimit;
using nc::Num;
using nc::Whole;

const NcDialect kFanucDialect = {.routineName = "MakeFanucNcdata",
                                 .userLinePrefix = "fanuc",
                                 .toolChangePrefix = "fanuc",
                                 .coordinateOnOwnLine = false,
                                 .lengthOffsetCode = "G43",
                                 .rigidTapping = true,
                                 .cycleReturnLevel = false};
const NcDialect kOspDialect = {.routineName = "MakeOSPNcdata",
                               .userLinePrefix = "osp",
                               .toolChangePrefix = "OSP",
                               .coordinateOnOwnLine = true,
                               .lengthOffsetCode = "G56",
                               .rigidTapping = false,
                               .cycleReturnLevel = true};

namespace {

constexpr int kUserLines = 100;              // keys prefix + 0 to 99
constexpr int kRetractLines = 99;            // back-reverse keys "ncdata0" to "ncdata98"
constexpr std::size_t kDeviceLimit = 16;     // "ControlDevice": 15 bytes
constexpr std::size_t kToolNameLimit = 32;   // "tool": 31 bytes
constexpr std::size_t kToolListLimit = 18;   // "TOOLLIST<k>": 17 bytes
constexpr std::size_t kKindLabelLimit = 48;  // "command": 47 bytes

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The lines of a section of the NC table file under keys prefix + 0 to count - 1, up to the first
// missing one.
int WriteTableLines(Context& ctx, TextSink& out, const char* section, std::string_view prefix, int count) {
  const std::string p(prefix);
  int written = 0;
  for (int i = 0; i < count; ++i) {
    std::string line = ReadString(ctx.inst.ncTableFile, section, Sprintf("%s%d", p.c_str(), i), kLineLimit);
    if (line.empty()) break;
    out.Line(line);
    ++written;
  }
  return written;
}

// Body selection: the first entry whose code, kind (empty: any) and tool rule match.
struct BodyEntry {
  double g;
  std::string_view kind;
  bool endMill;  // the tool name must contain "エンドミル"
  NcBodyRoutine routine;
};
constexpr BodyEntry kBodies[] = {
    {81, "", false, HoleCycle81},
    {82, kCounterbore, true, CounterboreCycle82},
    {82, "", false, HoleCycle82},
    {83, "", false, HoleCycle83},
    {84, "", false, HoleCycle84},
    {41, kCbLongHole, false, CounterboreLongHoleMill},
    {41, kLongHole, false, LongHoleMill},
    {41, kBigHole, false, BigHoleMill},
    {41, kUgroove, false, UgrooveFRMill},
    {3, kCounterbore, false, GetCounterboreChamferMill},
    {3, kBigHole, false, BigHoleChamferMill},
    {3, kDrill, false, DrillChamferMill},
};

bool IsDrillingCycle(double g) {
  return g > 80 && g < 85;
}

// The fields the process screen never saves empty. A record edited by hand without one would read
// as 999 and put T999, S999 or Z999. into the program: refused instead.
int CheckRequiredFields(Context& ctx, const std::string& section) {
  constexpr ProcessColumn kRequired[] = {kProcDiameter, kProcT, kProcH, kProcS,         kProcF,
                                         kProcG,        kProcR, kProcZ, kProcDefinition};
  for (ProcessColumn column : kRequired) {
    std::string key;
    if (GetProcessKeyName(ctx, column, key) != 0) return -1;
    if (!ReadString(ctx.dbPath, section, key, kCoordinateLimit).empty()) continue;
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 工程データ取得失敗", section.c_str(), key.c_str());
  }
  return 0;
}

// Keys 1 to 12 of a record, as numbers a program may carry.
int CheckRecordValues(Context& ctx, const std::string& section) {
  std::vector<std::string> keys;
  for (int i = 1; i < kProcessColumns; ++i) {
    std::string key;
    if (GetProcessKeyName(ctx, i, key) != 0) return -1;
    keys.push_back(key);
  }
  return nc::CheckStoredValues(ctx, section, keys, kToolNameLimit);
}

}  // namespace

std::string ProcessHoleSection(const NcProcessRecord& rec) {
  return Sprintf("%s%.0f", "hole", rec.v[kProcDefinition]);
}

int CreateNcProgram(Context& ctx, const NcFollowUps& followUps) {
  // The generator of the family the controller's name contains.
  std::string device = ReadString(ctx.dbPath, "machine", "ControlDevice", kDeviceLimit);
  if (device.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= 制御装置取得失敗", "machine", "ControlDevice");
  int rc;
  switch (FamilyOf(device).kind) {
    case ControllerKind::kFanuc:
      rc = MakeFanucNcdata(ctx);
      break;
    case ControllerKind::kOsp:
      rc = MakeOSPNcdata(ctx);
      break;
    default:
      return ctx.reporter.Report("エラー：サポートされてない制御装置です", -1);
  }
  if (rc != 0) return -1;

  // The time estimate reads the written program; its result does not decide the creation.
  if (followUps.processingTime) followUps.processingTime(ctx);
  if (followUps.trycutMain && followUps.trycutMain(ctx) != 0) return -1;
  return 0;
}

int MakeFanucNcdata(Context& ctx) {
  return MakeNcData(ctx, kFanucDialect);
}

int MakeOSPNcdata(Context& ctx) {
  return MakeNcData(ctx, kOspDialect);
}

int MakeNcData(Context& ctx, const NcDialect& dialect) {
  // 1. The machine settings.
  ctx.reporter.Reportf(0, "!!! routine name : %s", dialect.routineName);
  MachineData machine;
  if (GetMachinedata(ctx, machine) != 0) return -1;

  // 2. The file, created anew: the program goes to a temporary file that replaces the NC file only
  //    when the whole program was written, so a failed run never leaves a program that looks complete.
  TextFile file;
  if (!file.Replace(machine.path))
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s が開けません。", machine.path.c_str());
  // 3-7.
  if (WriteNcProgram(ctx, dialect, machine, file) != 0) {
    file.Discard();
    ctx.reporter.Reportf(0, "... ＮＣファイル %s は作成していません", machine.path.c_str());
    return -1;
  }
  // 8.
  if (!file.Commit())
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s の書き込み失敗", machine.path.c_str());
  return 0;
}

int WriteNcProgram(Context& ctx, const NcDialect& dialect, const MachineData& machine, TextSink& out) {
  // 3-4. Percent line and program number.
  // A program number the control cannot hold (negative, more than eight digits) is refused.
  const int programNumber = ReadInt(ctx.dbPath, "machine", "onumber", 1);
  if (programNumber < 0 || programNumber > 99999999)
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%d 数値が範囲外です", "machine", "onumber",
                                programNumber);
  out.Line("%");
  out.Line(Sprintf("O%04d", programNumber));
  // 5. The user start lines.
  WriteUserLines(ctx, out, 0, dialect.userLinePrefix);

  // 6. The processes, up to the first without a name.
  int previousTool = 0;
  for (int n = 1; n <= kStoredProcesses; ++n) {
    NcProcessRecord rec;
    rec.number = n;
    std::string section = ProcessSection(n);
    rec.tool = ReadString(ctx.dbPath, section, "tool", kToolNameLimit);
    if (rec.tool.empty()) break;
    std::array<double, kProcessColumns> values{};
    if (ReadProcessValues(ctx, section, values) != 0) return -1;
    if (CheckRequiredFields(ctx, section) != 0) return -1;
    if (CheckRecordValues(ctx, section) != 0) return -1;
    std::copy(values.begin(), values.end(), rec.v.begin());
    if (nc::CheckHoleGroupValues(ctx, ProcessHoleSection(rec)) != 0) return -1;

    WriteProcessHeader(ctx, out, n, rec.tool);
    // A new tool: the tool-change lines, the tool and the change.
    int tool = Whole(rec.v[kProcT]);
    if (tool != previousTool) {
      WriteToolChangeLines(ctx, out, dialect.toolChangePrefix);
      out.Line(Sprintf("T%02d", tool));
      out.Line("M06");
      previousTool = tool;
    }
    WriteApproachBlock(ctx, out, dialect, machine.coordinate, machine.start, rec);
    rec.v[kProcStartZ] = machine.start.z;
    rec.startX = machine.start.x;
    rec.startY = machine.start.y;

    std::string kind;
    if (ReadKindWord(ctx, rec, kind) != 0) return -1;
    NcBodyRoutine body = SelectBodyRoutine(rec.v[kProcG], kind, rec.tool);
    if (body && body(ctx, out, rec) != 0) return -1;
    if (IsDrillingCycle(rec.v[kProcG])) WriteRetractBlock(ctx, out, machine.start);
  }

  // 7. The user end lines.
  WriteUserLines(ctx, out, 1, dialect.userLinePrefix);
  return 0;
}

int NcProgramPath(Context& ctx, std::string& path) {
  NcFilePath nc;
  if (GetNcFilePath(ctx, nc) != 0) return -1;
  path = nc.path;
  return 0;
}

int GetMachinedata(Context& ctx, MachineData& machine) {
  if (NcProgramPath(ctx, machine.path) != 0) return -1;
  machine.coordinate = ReadDb(ctx, kDbCoordinateSystem);
  if (machine.coordinate.empty()) return ReportMissingDbKey(ctx, kDbCoordinateSystem, "座標系取得失敗");
  if (!nc::IsNcWordText(machine.coordinate))
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 座標系がＮＣワードではありません",
                                kDbCoordinateSystem.section, kDbCoordinateSystem.key,
                                machine.coordinate.c_str());
  // The start position, axis by axis: present, then within the machine's range.
  const StartText text = ReadStartText(ctx, "");
  const std::string* texts[3] = {&text.x, &text.y, &text.z};
  double* start[3] = {&machine.start.x, &machine.start.y, &machine.start.z};
  for (int k = 0; k < 3; ++k) {
    const DbKey& key = *kDbStartKeys[k];
    if (texts[k]->empty()) return ReportMissingStart(ctx, k);
    if (nc::CheckStoredValues(ctx, key.section, {key.key}, key.limit) != 0) return -1;
    *start[k] = AtoF(*texts[k]);
  }
  ctx.reporter.Reportf(0, "... ＮＣファイル %s", machine.path.c_str());
  return 0;
}

int WriteUserLines(Context& ctx, TextSink& out, int endFlag, std::string_view prefix) {
  return WriteTableLines(ctx, out, endFlag == 0 ? "StartLine" : "EndLine", prefix, kUserLines);
}

void WriteProcessHeader(Context& ctx, TextSink& out, int number, std::string_view toolName) {
  out.Line(Sprintf("N%d", number));
  // The comment of the first tool-list entry of this name.
  std::string list = ProgramFile(ctx.inst, "definetool.tbl");
  int index = ReadInt(list, "TOOLLIST", "index", 10);
  for (int k = 0; k <= index; ++k) {
    std::string name = ReadString(list, "TOOLLIST", Sprintf("%s%d", "TOOLLIST", k), kToolListLimit);
    if (name.empty() || !EqualsIgnoringAsciiCase(name, toolName)) continue;
    std::string comment = ReadString(list, "TOOLLIST", Sprintf("%s%d", "TOOLE", k), kLineLimit);
    if (!comment.empty()) out.Line(Sprintf("(%s)", comment.c_str()));
    return;
  }
}

int WriteToolChangeLines(Context& ctx, TextSink& out, std::string_view prefix) {
  return WriteTableLines(ctx, out, "toolchang", prefix, kUserLines);
}

void WriteApproachBlock(Context& ctx, TextSink& out, const NcDialect& dialect, std::string_view coordinate,
                        const StartPosition& start, const NcProcessRecord& rec) {
  const std::string coord(coordinate), x = Num(start.x), y = Num(start.y), z = Num(start.z);
  const double g = rec.v[kProcG];
  // Work coordinate system and rapid to the start position.
  if (dialect.coordinateOnOwnLine) {
    out.Line(coord);
    out.Line(Sprintf("G90 G00 X%s Y%s", x.c_str(), y.c_str()));
  } else {
    out.Line(Sprintf("G90 G00 %s X%s Y%s", coord.c_str(), x.c_str(), y.c_str()));
  }
  // Tool length offset on the way down to the start Z.
  out.Line(Sprintf("%s H%02d Z%s", dialect.lengthOffsetCode, Whole(rec.v[kProcH]), z.c_str()));
  // Spindle start, or the rigid tapping mode.
  bool rigid = dialect.rigidTapping && g == 84 && ReadInt(ctx.inst.ncTableFile, "tap", "RigidTap", 0) == 1;
  out.Line(Sprintf("S%d %s", Whole(rec.v[kProcS]), rigid ? "M29" : "M03"));
  out.Line("M08");
  // Cycle return level.
  if (dialect.cycleReturnLevel && g > 80) out.Line(Sprintf("G71 Z%s M53", z.c_str()));
}

void WriteApproachBlockFanuc(Context& ctx, TextSink& out, std::string_view coordinate,
                             const StartPosition& start, const NcProcessRecord& rec) {
  WriteApproachBlock(ctx, out, kFanucDialect, coordinate, start, rec);
}

void WriteApproachBlockOsp(Context& ctx, TextSink& out, std::string_view coordinate,
                           const StartPosition& start, const NcProcessRecord& rec) {
  WriteApproachBlock(ctx, out, kOspDialect, coordinate, start, rec);
}

void WriteRetractBlock(Context& ctx, TextSink& out, const StartPosition& start) {
  // 1. Up to the start Z, back to the start position, coolant and spindle off.
  out.Line("G00 Z" + Num(start.z));
  out.Line(Sprintf("X%s Y%s", Num(start.x).c_str(), Num(start.y).c_str()));
  out.Line("M09");
  out.Line("M05");
  // 2. The back-reverse lines, closed by a spindle stop unless they hold one.
  if (ReadInt(ctx.inst.ncTableFile, "backreverse", "backreverse", 0) == 0) return;
  std::vector<std::string> lines = nc::BackReverseLines(ctx, kRetractLines);
  bool hasStop = false;
  for (const std::string& line : lines) {
    out.Line(line);
    if (Contains(line, "M05")) hasStop = true;
  }
  if (!lines.empty() && !hasStop) out.Line("M05");
}

int ReadKindWord(Context& ctx, const NcProcessRecord& rec, std::string& word) {
  std::string command = ReadString(ctx.dbPath, ProcessHoleSection(rec), "command", kKindLabelLimit);
  word = GetKindWord(command);
  if (word.empty()) return ctx.reporter.Report("エラー：加工命令取り出し失敗", -1);
  return 0;
}

NcBodyRoutine SelectBodyRoutine(double g, std::string_view kind, std::string_view tool) {
  for (const BodyEntry& e : kBodies) {
    if (e.g != g) continue;
    if (!e.kind.empty() && !EqualsIgnoringAsciiCase(e.kind, kind)) continue;
    if (e.endMill && !Contains(tool, "エンドミル")) continue;
    return e.routine;
  }
  return nullptr;
}

}  // namespace talvorin
