// The rules the estimator applies to each line of an NC program: skipped and resetting lines, tool
// changes and spindle starts, modal words and motion code, and the path length of each motion.
#include <cmath>
#include <cstdint>

#include "mtime/MachiningTime.h"
#include "store/Cp932.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kPointTolerance = 0.001;  // coordinates closer than this count as equal
// More pecks than this in one G83 block are summed in closed form instead of one by one.
constexpr double kMaxPecks = 10000;

void AddRapid(NcTimeState& s, double distance, double rate) {
  s.totals.rapidDistance += distance;
  s.totals.rapidTime += distance / rate;
}

void AddCutting(NcTimeState& s, double distance) {
  s.totals.cuttingDistance += distance;
  if (s.feed > 0)
    s.totals.cuttingTime += distance / s.feed;
  else
    ++s.totals.untimedMoves;
}

// The straight distance between two points.
double Distance(const NcPoint& a, const NcPoint& b) {
  return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
}

// The path of the current line from the previous point to the current X, Y, Z under the motion code.
void AddMotion(NcTimeState& s) {
  const NcPoint& a = s.previous;
  const NcPoint& b = s.current;
  const double zi = s.start.z;
  const double rapid = s.rates.rapidFeed;
  switch (s.motion) {
    case 0:
      AddRapid(s, Distance(a, b), rapid);
      break;
    case 1:
      AddCutting(s, Distance(a, b));
      break;
    case 2:
    case 3:
      AddCutting(s, ArcLength(a.x, a.y, b.x, b.y, s.i, s.j, s.motion == 2));
      break;
    case 81:
    case 82:  // down to R and up from Z at rapid, R to Z at the feed; a dwell adds no time
      AddRapid(s, Distance(a, b) + (2 * zi - s.r - b.z), rapid);
      AddCutting(s, s.r - b.z);
      break;
    case 83: {  // approach to R and return at rapid, the pecks' retracts and re-approaches at CYCFEED
      AddRapid(s, Distance(a, b) + 2 * (zi - s.r), rapid);
      PeckDistances pecks = PeckDrilling(s.r, b.z, s.q);
      AddCutting(s, pecks.feed);
      AddRapid(s, pecks.rapid, s.rates.cycleFeed);
      break;
    }
    case 84:  // feed in and feed out
      AddRapid(s, Distance(a, b) + 2 * (zi - s.r), rapid);
      AddCutting(s, 2 * (s.r - b.z));
      break;
    default:
      break;
  }
}

// Angle in degrees of a point (dx, dy) about the arc's centre, as the rules measure it.
inline double PointAngle(double dx, double dy, bool isStart) {
  const bool smallX = std::fabs(dx) < kPointTolerance;
  const bool smallY = std::fabs(dy) < kPointTolerance;
  if (!smallX && !smallY) return (dy >= 0 ? 90.0 : 270.0) - std::atan(dx / dy) * 180.0 / kPi;
  if (smallY && !smallX) {
    if (dx < 0) return 180.0;
    return isStart ? 1e-10 : 0.0;
  }
  return dy > 0 ? 90.0 : 270.0;
}

}  // namespace

double ArcLength(double fromX, double fromY, double toX, double toY, double i, double j, bool clockwise) {
  const double radius = std::sqrt(i * i + j * j);
  const double cx = fromX + i, cy = fromY + j;
  double sweep;
  if (std::fabs(toX - fromX) < kPointTolerance && std::fabs(toY - fromY) < kPointTolerance) {
    sweep = 360.0;  // a full circle in either direction
  } else {
    const double start = PointAngle(fromX - cx, fromY - cy, true);
    const double end = PointAngle(toX - cx, toY - cy, false);
    sweep = end - start;
    if (sweep < 0) sweep += 360.0;
    if (clockwise) sweep = 360.0 - sweep;
  }
  return 2 * radius * kPi * sweep / 360.0;
}

PeckDistances PeckDrilling(double r, double z, double q) {
  PeckDistances d;
  double a = r, b = r;
  bool summed = false;
  if (q > 0 && (r - z) / q <= kMaxPecks) {
    // Peck by peck: feed from a down to b, back to R and down again to 1 above the depth reached.
    for (int count = 0; count <= kMaxPecks + 1; ++count) {
      if (z >= b) {
        summed = true;
        break;
      }
      b -= q;
      if (b < z) {
        summed = true;
        break;
      }
      d.feed += a - b;
      d.rapid += 2 * (r - b) - 1;
      a = b + 1;
    }
  }
  if (q > 0 && !summed) {
    // The same sums in closed form: pecks k = 1..n end at R - kQ; the first feeds Q, each later one
    // Q + 1 (it starts 1 above the last depth); the k-th retract and re-approach is 2kQ - 1.
    d = {};
    double n = std::floor((r - z) / q);
    if (!(n >= 0)) n = 0;
    if (n >= 1) {
      d.feed = q + (n - 1) * (q + 1);
      d.rapid = q * n * (n + 1) - n;
      b = r - n * q;
      a = b + 1;
    } else {
      a = b = r;
    }
  }
  if (b != z) {  // the last feed to the final depth and the return to R
    d.feed += a - z;
    d.rapid += r - z;
  }
  return d;
}

double ToolTime(const TimeRates& rates, const MachiningTotals& totals) {
  return (rates.spindleStart * static_cast<double>(totals.spindleStarts) +
          rates.toolChange * static_cast<double>(totals.toolChanges)) /
         60;
}

NcTimeState StartTimeState(const TimeRates& rates, const NcPoint& start) {
  NcTimeState s;
  s.rates = rates;
  s.start = start;
  s.previous = start;
  s.current = start;
  return s;
}

void EstimateLine(NcTimeState& s, std::string_view line, const NcLineReport& report) {
  EstimateWords(s, ReadNcLine(line), line, report, nullptr);
}

void EstimateWords(NcTimeState& s, const NcLineWords& w, std::string_view line, const NcLineReport& report,
                   NcLineMotion* motion) {
  if (motion) motion->moved = false;
  if (w.spindleGiven) s.spindle = w.spindle;  // before any other rule, on every line
  if (w.skip) return;
  if (w.reset) {
    s.previous = s.start;
    s.current = s.start;
    return;
  }
  if (w.toolChange) {
    ++s.totals.toolChanges;
    return;
  }
  if (w.spindleStart) {
    ++s.totals.spindleStarts;
    return;
  }
  if (w.g80) {
    s.current.z = s.start.z;
    s.p = 0;
  }
  if (w.motion >= 0) s.motion = w.motion;
  if (w.Has(kWordX)) s.current.x = w.values[kWordX];
  if (w.Has(kWordY)) s.current.y = w.values[kWordY];
  if (w.Has(kWordZ)) s.current.z = w.values[kWordZ];
  if (w.Has(kWordI)) s.i = w.values[kWordI];
  if (w.Has(kWordJ)) s.j = w.values[kWordJ];
  if (w.Has(kWordR)) s.r = w.values[kWordR];
  if (w.Has(kWordQ)) s.q = w.values[kWordQ];
  if (w.Has(kWordP)) s.p = w.values[kWordP];
  if (w.Has(kWordF)) s.feed = w.values[kWordF];
  const bool words = w.given != 0;
  // A line that gives no word, no motion code and no G80 (blank, a comment, an unknown code) moves
  // nothing: under a modal cycle it would otherwise count one more hole.
  if (!words && w.motion < 0) return;

  if (s.motion == 84 && w.g95 && s.feed < 10 && s.spindle > 100) {
    // Feed per revolution in a tapping block: F becomes the feed per minute.
    if (report) {
      report(Cp932ToUtf8(line));
      report(Sprintf("同期送り変更 F%.2f ==> F%.0f", s.feed, s.feed * s.spindle));
    }
    s.feed *= s.spindle;
  }
  if (motion) *motion = {true, s.motion, s.previous, s.current, s.i, s.j, s.r, s.q, s.feed};
  AddMotion(s);
  s.previous = s.current;
  if (s.motion == 2 || s.motion == 3) s.i = s.j = 0;
  if (s.motion > 80) s.previous.z = s.start.z;
}

}  // namespace talvorin
