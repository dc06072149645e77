// The toolpath of an NC program for the NC viewer: the moves, canned-cycle holes and faulty lines of a
// program read by the machining time estimate's line reader and motion rules, in one pass that also
// gives the estimate's distances and times. Coordinates are kept as floats (the picture needs no more)
// and a move keeps only its end point: its start is the end of the move before it. The queries that
// draw it visit what can be seen at a zoom, merging what falls within one pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mtime/MachiningTime.h"

namespace talvorin {

enum class MoveKind : std::uint8_t {
  kJump,    // not a move of the machine: the start of the next move, after a reset or a cycle
  kRapid,   // G00, and the positioning of a cycle
  kFeed,    // G01
  kArcCw,   // G02
  kArcCcw,  // G03
};

struct ToolpathMove {
  float x = 0, y = 0, z = 0;  // end point
  float cx = 0, cy = 0;       // centre of an arc
  std::uint32_t line = 0;     // source line, from 0
  std::uint16_t tool = 0;     // slot in ToolpathModel::tools
  MoveKind kind = MoveKind::kJump;
};

// A hole of a canned cycle (G81 to G84): at X, Y from the initial level down to R at rapid and from R
// to the bottom at the feed.
struct HoleMark {
  float x = 0, y = 0;
  float top = 0;     // the initial level (StartZ)
  float r = 0;       // R point
  float bottom = 0;  // Z of the cycle
  std::uint32_t line = 0;
  std::uint16_t tool = 0;
  std::uint8_t cycle = 81;  // 81 to 84
};

// Why a line is marked. Every fault leaves the rest of the program drawn.
enum class NcLineFault : std::uint8_t {
  kLongLine,           // longer than the reader keeps: the rest is not read
  kBadCharacter,       // a control character or a byte that is no CP932 character
  kWordWithoutNumber,  // X, Y, Z, I, J, R, Q, P or F without a number
  kArcWithoutCentre,   // G02/G03 with I and J both 0 (not a full circle): drawn as a line
  kArcEndOffCircle,    // the end point is not on the circle about the centre
  kCycleDepthAboveR,   // a cycle whose Z lies above its R point
  kNoFeed,             // a cutting move at a feed of 0 or less: not timed
  kUnfinishedLine,     // the file ends inside this line
  kNoProgramEnd,       // the last line, and no M30, M02 or closing "%" was met
};

// The fault in Japanese, as the program text shows it.
const char* NcLineFaultText(NcLineFault fault);

struct LineFault {
  std::uint32_t line = 0;
  NcLineFault fault = NcLineFault::kBadCharacter;
};

struct ToolpathBox {
  double minX = 0, minY = 0, minZ = 0, maxX = 0, maxY = 0, maxZ = 0;
  bool empty = true;
  void Add(double x, double y, double z);
  void Add(const ToolpathBox& other);
};

// Lines per entry of ToolpathModel::lineStarts.
inline constexpr std::uint32_t kLinesPerBlock = 16;
// Moves per entry of ToolpathModel::chunkBoxes.
inline constexpr std::size_t kMovesPerChunk = 256;

struct ToolpathModel {
  NcPoint start;                          // where the first move starts (StartX, StartY, StartZ)
  std::deque<ToolpathMove> moves;         // in line order; a deque grows without copying what it holds
  std::vector<HoleMark> holes;            // in line order
  std::vector<LineFault> faults;          // in line order
  std::vector<int> tools;                 // T number of each tool slot, in order of first use; slot 0 is T0
  std::vector<std::uint64_t> lineStarts;  // file offset of lines 0, 16, 32, ...
  std::uint32_t lineCount = 0;
  std::uint64_t bytesRead = 0;
  TimeRates rates;
  MachiningTotals totals;               // the estimate's sums over the lines read
  ToolpathBox bounds;                   // moves, arcs and holes
  std::vector<ToolpathBox> chunkBoxes;  // of moves [k * kMovesPerChunk, (k + 1) * kMovesPerChunk)
};

// The four times of the estimate in minutes: rapid, cutting, tool and total time.
struct ToolpathTimes {
  double rapid = 0, cutting = 0, tool = 0, total = 0;
};
ToolpathTimes TimesOf(const ToolpathModel& model);

// The line read between calls: the estimate's state, the tool in the spindle and the one called.
struct ToolpathBuilder {
  ToolpathModel model;  // what was read since the last TakeToolpathPart
  NcTimeState time;
  NcPoint pen;  // where the last recorded move ended
  std::uint16_t tool = 0;
  double calledTool = 0;
  bool programEnd = false;
  std::uint32_t line = 0;
  std::uint64_t lastLineStart = 0;
};

ToolpathBuilder StartToolpath(const NcPoint& start, const TimeRates& rates);

// One line of the file (CP932 bytes without its line end) at file offset `offset`; `cut` when the
// reader cut it, `ended` when a line end followed it.
void AddToolpathLine(ToolpathBuilder& builder, std::string_view line, std::uint64_t offset, bool cut,
                     bool ended);

// After the last line: marks the last line when the program has no end.
void FinishToolpath(ToolpathBuilder& builder);

// Hands over what was read since the last call (moves, holes, faults, line starts; the totals, tools
// and line count as they stand) and keeps reading from where it was.
ToolpathModel TakeToolpathPart(ToolpathBuilder& builder);

// Adds a part to the model it continues, with the bounds of what it adds.
void AppendToolpath(ToolpathModel& model, ToolpathModel&& part);

// Called with each part of a file being read, and the bytes read of the file's size; false stops the
// reading.
using ToolpathPartSink = std::function<bool(ToolpathModel&& part, std::uint64_t done, std::uint64_t total)>;

// Reads the NC file at `path` line by line, handing a part to `sink` about every `partBytes` bytes and
// at the end. -1 with the reason in `error` (Japanese) when the file cannot be opened or read; 1 when
// the sink stopped it; 0 when the whole file was read.
int ReadToolpathFile(const std::string& path, const NcPoint& start, const TimeRates& rates,
                     std::uint64_t partBytes, const ToolpathPartSink& sink, std::string& error);

// The whole file in one model.
int LoadToolpath(const std::string& path, const NcPoint& start, const TimeRates& rates, ToolpathModel& model,
                 std::string& error);

// Where a move starts: the end of the move before it, or the start position.
NcPoint MoveStart(const ToolpathModel& model, std::size_t index);

// The moves of source line `line`: [first, last) of ToolpathModel::moves, jumps left out.
std::pair<std::size_t, std::size_t> MovesOfLine(const ToolpathModel& model, std::uint32_t line);
// The holes of source line `line`: [first, last) of ToolpathModel::holes.
std::pair<std::size_t, std::size_t> HolesOfLine(const ToolpathModel& model, std::uint32_t line);
// The faults of source line `line`.
std::vector<NcLineFault> FaultsOfLine(const ToolpathModel& model, std::uint32_t line);

// The sweep of an arc move about its centre in degrees, counter-clockwise positive: negative for G02.
// An end within 0.001 of the start in X and Y is a full circle (plus or minus 360).
double ArcSweep(const NcPoint& from, const ToolpathMove& arc);

struct ToolColour {
  int red = 0, green = 0, blue = 0;
  bool operator==(const ToolColour&) const = default;
};
// The colour of tool slot `slot`: twelve colours that stand apart on a white ground, then again.
ToolColour ToolSlotColour(std::size_t slot);

}  // namespace talvorin
