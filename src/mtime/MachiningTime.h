// Machining time estimation: reads a finished NC program line by line, follows the tool from the
// start position, sums rapid and cutting path lengths, turns them into times with the rate table of
// the NC table file, adds fixed times per tool change and spindle start, and stores the result in
// section "machine" of the project database.
//
// The file is read in the dialect the generator writes: absolute coordinates, one block per line,
// canned cycles G81 to G84 returning to the initial level (G98). It is streamed through a fixed
// buffer: memory does not grow with the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "mtime/NcLineReader.h"
#include "shell/Context.h"

namespace talvorin {

// Section "processtime" of the NC table file.
struct TimeRates {
  double rapidFeed = 3000;    // "G00FEED": rapid traverse, mm/min
  double cycleFeed = 1000;    // "CYCFEED": peck retract and re-approach inside G83, mm/min
  double toolChange = 6;      // "M06": seconds per tool change
  double spindleStart = 0.3;  // "M03": seconds per spindle start
  double timeLag = 1.0;       // "TIMELAG": factor on every time shown as hours, minutes, seconds
};

// Reads the rate table of ctx.inst.ncTableFile. A missing key is reported as a list line
// ("エラー：[processtime] G00FEED= | table 取得失敗") and keeps its default.
TimeRates ReadTimeRates(Context& ctx);

struct NcPoint {
  double x = 0, y = 0, z = 0;
};

// Path lengths and times summed over the lines read so far.
struct MachiningTotals {
  double rapidDistance = 0;    // mm, rapid moves and the rapid parts of cycles (G83 pecks included)
  double cuttingDistance = 0;  // mm, moves at the programmed feed
  double rapidTime = 0;        // minutes
  double cuttingTime = 0;      // minutes
  long long toolChanges = 0;
  long long spindleStarts = 0;
  long long untimedMoves = 0;  // cutting moves at a feed of 0 or less: counted in distance, not in time
};

// The simulation between lines: modal words and motion code, the previous point, feeds.
struct NcTimeState {
  TimeRates rates;
  NcPoint start;     // StartX, StartY, StartZ; StartZ is the initial level of every cycle
  NcPoint previous;  // where the last motion line ended
  NcPoint current;   // modal X, Y, Z
  double i = 0, j = 0, r = 0, q = 0, p = 0;
  double feed = 1.0;   // F, mm/min (1.0 until a line gives one)
  double spindle = 0;  // last S word
  int motion = 0;      // 0, 1, 2, 3 or 81 to 84
  MachiningTotals totals;
};

// A state at the start of a file: previous and current point at the start position.
NcTimeState StartTimeState(const TimeRates& rates, const NcPoint& start);

// Called for lines that the rules report: the G84/G95 feed conversion reports the line itself (CP932
// bytes) and then "同期送り変更 F%.2f ==> F%.0f".
using NcLineReport = std::function<void(const std::string& utf8)>;

// One line of the NC file (CP932 bytes, without its line end) applied to the state.
void EstimateLine(NcTimeState& state, std::string_view line, const NcLineReport& report);

// What one line moved, for a caller that draws the path: the motion it ran under, from the previous
// point to the current X, Y, Z, with the arc centre offsets and cycle words in force for it.
struct NcLineMotion {
  bool moved = false;  // the line added a motion; the members below are set only then
  int motion = 0;      // 0, 1, 2, 3 or 81 to 84
  NcPoint from, to;    // a cycle's `to` is the hole bottom (Z of the cycle)
  double i = 0, j = 0;
  double r = 0, q = 0;
  double feed = 0;
};

// EstimateLine on the words of `line` already read by ReadNcLine; the same rules, the same sums.
// `motion`, when not null, receives what the line moved.
void EstimateWords(NcTimeState& state, const NcLineWords& words, std::string_view line,
                   const NcLineReport& report, NcLineMotion* motion);

// The arc length from `from` to `to` about from + (i, j); clockwise for G02 (`clockwise`). An end
// point within 0.001 of the start in X and in Y is a full circle.
double ArcLength(double fromX, double fromY, double toX, double toY, double i, double j, bool clockwise);

// The G83 cycle from R down to Z in pecks of Q: the feed distance and the rapid distance of the peck
// retracts and re-approaches (timed at CYCFEED). A Q of 0 or less drills in one feed.
struct PeckDistances {
  double feed = 0;
  double rapid = 0;
};
PeckDistances PeckDrilling(double r, double z, double q);

// Tool time in minutes: the spindle starts and tool changes at their fixed times.
double ToolTime(const TimeRates& rates, const MachiningTotals& totals);

// Hours, minutes and seconds of a time in minutes times the factor: the seconds truncated toward zero
// (saturating for values beyond any real program), minutes and seconds the remainders.
struct ClockTime {
  long long hours = 0, minutes = 0, seconds = 0;
};
ClockTime ToClockTime(double minutes, double factor);

// Progress of a long calculation: bytes read so far and the file's size.
using TimeProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Estimates the file at `path`, reports the result lines, writes the keys distance0-1,
// Seconds_Time0-3 and Process_Time0-3 of section "machine" into the project database and, in mode 1,
// shows the summary box. -1 (reported) when the start position is missing, the file cannot be read
// or a key cannot be written.
int Machining_Time_Calculation(Context& ctx, const std::string& path, int mode);
int Machining_Time_Calculation(Context& ctx, const std::string& path, int mode, const TimeProgress& progress);

// The project's NC file ("ncpath" / "ncfile" of section "machine"), then Machining_Time_Calculation.
// -1 (reported) when the keys are missing or the file does not exist
// ("エラー：ＮＣ計算が終了していません。"); otherwise 0, whatever the calculation returned (a failed estimate
// does not fail NC creation). Mode 1 is the menu command with its summary box, mode 0 runs after NC creation.
int Processing_Time(Context& ctx, int mode);
// The same, with a progress hook and the calculation's own result in `calculation` (-1 when it was
// not run).
int Processing_Time(Context& ctx, int mode, const TimeProgress& progress, int& calculation);

}  // namespace talvorin
