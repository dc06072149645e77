// NC program generation: the stored processes of the open project become one G-code program for its
// controller family, FANUC or OSP. The program frame (percent line, program number, user start and end
// lines), the frame of each process (sequence number, tool comment, tool change, approach block,
// retract block), the drilling cycles and the milling bodies with cutter compensation.
//
// Everything is read from the project database (ctx.dbPath: machine settings, hole groups, processes),
// the NC table file (ctx.inst.ncTableFile: user lines and switches) and the tool list. Writers write
// line by line to an TextSink; operations return 0 or -1 and report through ctx.reporter.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/TextSink.h"
#include "process/Process.h"
#include "shell/Context.h"

namespace talvorin {

// ---------------------------------------------------------------------------------------------------
// Records

// Slot of a process record after the approach block: the start Z the milling bodies return to.
constexpr std::size_t kProcStartZ = 13;
constexpr std::size_t kNcRecordValues = 14;

// The value of a process field that is missing or empty.
constexpr double kNotSet = 999;

// One process as the generator holds it: v[1] to v[12] as ReadProcessValues gives them (indexes of
// ProcessColumn: 1 diam, 2 T, 3 H, 4 D, 5 S, 6 F, 7 G, 8 R, 9 Z, 10 Q, 11 OFF, 12 定義; 999 when not
// set), v[13] the start Z.
struct NcProcessRecord {
  int number = 0;    // n of section "ncproc<n>"
  std::string tool;  // key "tool", the process name (at most 31 bytes)
  std::array<double, kNcRecordValues> v{};
  double startX = 0, startY = 0;  // where the approach block left the tool
};

struct StartPosition {
  double x = 0, y = 0, z = 0;  // StartX, StartY, StartZ of section "machine"
};

// The machine settings of section "machine" that the program needs.
struct MachineData {
  std::string path;        // the NC file: "<ncpath>/<ncfile>"
  std::string coordinate;  // "CoordinateSystem", at most 15 bytes ("G54", "G15H01")
  StartPosition start;
};

// What differs between the controller families; everything else of the program is shared.
struct NcDialect {
  const char* routineName;       // traced at the start: "MakeFanucNcdata", "MakeOSPNcdata"
  const char* userLinePrefix;    // keys of "StartLine" and "EndLine": "fanuc", "osp"
  const char* toolChangePrefix;  // keys of "toolchang": "fanuc", "OSP"
  bool coordinateOnOwnLine;      // the coordinate text on a line of its own before "G90 G00"
  const char* lengthOffsetCode;  // tool length offset call: "G43", "G56"
  bool rigidTapping;             // "S%d M29" for G 84 when "RigidTap" of section "tap" is 1
  bool cycleReturnLevel;         // "G71 Z<start> M53" after "M08" for the drilling cycles
};
extern const NcDialect kFanucDialect;
extern const NcDialect kOspDialect;

// ---------------------------------------------------------------------------------------------------
// The program (NcProgram.cpp)

// What runs after a program was written successfully: the machining-time estimate without its summary
// box (Processing_Time with mode 0; its result does not count) and the TRYCUT hand-off (TrycutMain; its
// failure makes the creation fail). An empty hook is skipped.
struct NcFollowUps {
  std::function<int(Context&)> processingTime;
  std::function<int(Context&)> trycutMain;
};

// "【NCデータ作成】": the generator of the project's controller ("ControlDevice" containing "FANUC",
// else "OSP"), then the follow-ups. -1 when the generator or the TRYCUT hand-off failed.
int CreateNcProgram(Context& ctx, const NcFollowUps& followUps);

// The whole program of the project into its NC file. The file is replaced only when the program was
// written completely: a run that fails midway leaves the earlier file (or none) as it was.
int MakeFanucNcdata(Context& ctx);
int MakeOSPNcdata(Context& ctx);
int MakeNcData(Context& ctx, const NcDialect& dialect);

// Steps 3 to 7 of the program into `out`: "%", the program number, the start lines, every process,
// the end lines. Stops with -1 at the first failure (the lines written so far stay in `out`).
int WriteNcProgram(Context& ctx, const NcDialect& dialect, const MachineData& machine, TextSink& out);

// "ncpath", "ncfile", "CoordinateSystem", StartX, StartY, StartZ of section "machine", in this order;
// reports "... ＮＣファイル %s". A relative "ncpath" lies in the program folder.
int GetMachinedata(Context& ctx, MachineData& machine);
// The NC file path alone ("ncpath" and "ncfile", with their messages).
int NcProgramPath(Context& ctx, std::string& path);

// The user start lines (endFlag 0, section "StartLine") or end lines (1, "EndLine") of keys
// prefix + 0 to 99, up to the first missing one. The number of lines written.
int WriteUserLines(Context& ctx, TextSink& out, int endFlag, std::string_view prefix);
// "N<number>", then "(<comment>)" when the tool list has a comment "TOOLE<k>" for the first entry
// "TOOLLIST<k>" equal to the tool name (ASCII letter case ignored).
void WriteProcessHeader(Context& ctx, TextSink& out, int number, std::string_view toolName);
// The lines of section "toolchang" of keys prefix + 0 to 99; the number written.
int WriteToolChangeLines(Context& ctx, TextSink& out, std::string_view prefix);
void WriteApproachBlockFanuc(Context& ctx, TextSink& out, std::string_view coordinate,
                             const StartPosition& start, const NcProcessRecord& rec);
void WriteApproachBlockOsp(Context& ctx, TextSink& out, std::string_view coordinate, const StartPosition& start,
                           const NcProcessRecord& rec);
void WriteApproachBlock(Context& ctx, TextSink& out, const NcDialect& dialect, std::string_view coordinate,
                        const StartPosition& start, const NcProcessRecord& rec);
// After a drilling cycle: back to the start position, coolant and spindle off, the back-reverse lines.
void WriteRetractBlock(Context& ctx, TextSink& out, const StartPosition& start);
// The kind word of the process's hole group ("hole<定義>", key "command").
int ReadKindWord(Context& ctx, const NcProcessRecord& rec, std::string& word);

// The body of a process: (context, program, record) -> 0 or -1.
using NcBodyRoutine = int (*)(Context&, TextSink&, NcProcessRecord&);
// The body routine for operation code `g` on a hole of kind `kind` (letter case ignored) with tool
// `tool`; nullptr when the process has no body.
NcBodyRoutine SelectBodyRoutine(double g, std::string_view kind, std::string_view tool);

// "hole<定義>" of a process.
std::string ProcessHoleSection(const NcProcessRecord& rec);

// ---------------------------------------------------------------------------------------------------
// Drilling cycles (DrillingCycles.cpp): one cycle block at position 0, the further positions as X/Y
// lines, "G80".

int HoleCycle81(Context& ctx, TextSink& out, NcProcessRecord& rec);
int HoleCycle82(Context& ctx, TextSink& out, NcProcessRecord& rec);
int HoleCycle83(Context& ctx, TextSink& out, NcProcessRecord& rec);
int HoleCycle84(Context& ctx, TextSink& out, NcProcessRecord& rec);
// A counterbore cut with an end mill: one full G82 cycle per position, with the back-reverse lines.
int CounterboreCycle82(Context& ctx, TextSink& out, NcProcessRecord& rec);

// ---------------------------------------------------------------------------------------------------
// The block writer of the milling bodies (MillingBlocks.cpp)

struct MoveState {
  int motion = 0;        // 0 G00, 1 G01, 2 G02, 3 G03
  int lastMotion = 0;    // last written; 0 at the start (the approach block left the control in G00)
  int compensation = 0;  // pending G40 or G41, written once
  int offset = 0;        // pending D number, written once (0: none)
};

struct MovePosition {
  double x = 0, y = 0, z = 0, i = 0, j = 0;
};

struct MoveFeed {
  double current = 0;  // feed of the next cutting block
  double written = 0;  // last feed written
};

// At most one block for the move from `last` to `target`: words in the order compensation, motion,
// X, Y, Z, I, J, D, F; an axis only when it moves (distance rounded to three decimals), I and J only
// on arcs and only when not 0 (both are then cleared in `target`); values within ±0.001 of 0 are 0;
// F only on cutting blocks whose feed changed. `target` becomes `last`.
void WriteMoveBlock(TextSink& out, MovePosition& last, MovePosition& target, MoveFeed& feed, MoveState& state);

struct PlanePoint {
  double x = 0, y = 0;
};

// `point` turned by `degrees` (anticlockwise) about `centre`; both coordinates rounded to three decimals.
PlanePoint RotatePoint(PlanePoint point, PlanePoint centre, double degrees);

// A point of a milling contour relative to its centre, and the motion that reaches it.
struct ContourPoint {
  double x = 0, y = 0;
  int motion = 1;       // 1 G01, 3 G03
  double i = 0, j = 0;  // arc centre minus the previous point (G03 only)
};

// The nine points of a long hole of end-centre distance `length` and `width`, walls left `allowance`
// inside, turned by `angle` degrees: 0 and 1 the end-arc centres on the centre line; 2 the entry onto
// the middle of the upper wall; 3 to 6 the walls and end arcs; 7 on the upper wall `overlap` (at most
// length / 2) past the entry; 8 back at point 1.
std::vector<ContourPoint> LongHoleContour(double length, double width, double angle, double allowance,
                                          double overlap);
// The sixteen points of a counterbored long hole: the long hole, then points 9 to 15 repeating its
// points 2 to 8 on the counterbore walls of `cbWidth`.
std::vector<ContourPoint> CounterboreLongHoleContour(double length, double width, double cbWidth,
                                                     double angle, double allowance, double overlap);

// The pass depths from `from` down in steps of `step` (> 0): each pass goes `step` deeper, and a depth
// below `limit` (or, with `thickness`, one at or below -thickness) becomes `limit`, the last pass.
std::vector<double> PassDepths(double from, double step, double limit, std::optional<double> thickness);

// ---------------------------------------------------------------------------------------------------
// Long holes (LongHoles.cpp). The entry routines read the hole group, make Q the full depth when it is
// 0, and choose the rough routine when OFF is not 0.

int LongHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
int LongHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                      double thickness);
int LongHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                       double thickness);
int CounterboreLongHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
int CounterboreLongHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p);
int CounterboreLongHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p);

// ---------------------------------------------------------------------------------------------------
// Big holes (BigHoles.cpp), chamfers (Chamfers.cpp), U-grooves (Ugrooves.cpp)

int BigHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
int BigHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                     double thickness);
int BigHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                      double thickness);

// The chamfer of a counterbore edge: depth `t` of the chamfer tool's tip and path radius `r`.
int GetCounterboreChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
int MakeCounterboreChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec, double t, double r);
// The chamfer of a big hole's edge on the path radius `r`.
int BigHoleChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
// The chamfer of a drilled hole wider than the chamfer cutter: the big hole's circle (path radius
// C + hole diameter / 2 + Z) entered from the hole's centre. -1 (reported) when the chamfer cannot be
// cut with the tool tip at Z: no chamfer, a negative radius, or a tip deeper than half the cutter.
int DrillChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec);
int MakeCircleChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec, double r);

int UgrooveFRMill(Context& ctx, TextSink& out, NcProcessRecord& rec);

}  // namespace talvorin
