// The rules the estimator applies to each line of an NC program: skipped and resetting lines, tool
// changes and spindle starts, modal words and motion code, and the path length of each motion.
#include <charconv>
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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNumberChar(char c) {
  return IsDigit(c) || c == '.' || c == '-';
}

// The usual word number, "-12.345": at most 15 digits and 22 decimals, so the digits are an exact
// integer and the power of ten exact too, and their one division is the correctly rounded value that
// atof gives. False for anything else (the general conversion then decides).
bool ShortDecimal(std::string_view run, double& value) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::size_t k = 0;
  const bool negative = k < run.size() && run[k] == '-';
  if (negative) ++k;
  std::int64_t digits = 0;
  int count = 0, decimals = 0;
  bool point = false;
  for (; k < run.size(); ++k) {
    const char c = run[k];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(c)) break;  // a second "." or a "-" ends the number, as in atof
    if (++count > 15) return false;
    digits = digits * 10 + (c - '0');
    if (point) ++decimals;
  }
  if (count == 0 || decimals > 22) return false;
  double v = static_cast<double>(digits) / kPowers[decimals];
  value = negative ? -v : v;
  return true;
}

// The number of a word: the run of digits, "." and "-" after the letter at `pos`, converted as atof
// does (longest numeric prefix, else 0). False when the run is empty: the word keeps its value.
bool WordNumber(std::string_view line, std::size_t pos, double& value) {
  std::size_t end = pos;
  while (end < line.size() && IsNumberChar(line[end]))
    ++end;
  if (end == pos) return false;
  std::string_view run = line.substr(pos, end - pos);
  if (ShortDecimal(run, value)) return true;
  double v = 0;
  auto [ptr, ec] = std::from_chars(run.data(), run.data() + run.size(), v);
  if (ec == std::errc())
    value = v;
  else if (ec == std::errc::result_out_of_range)
    value = AtoF(run);  // atof's overflow and underflow values
  else
    value = 0;  // "-", ".", "--5": no leading number
  return true;
}

// What the letter-code tests of the rules find in a line. Every test is "the line contains": it is
// answered in one pass over the line at each "G" and "M" that is a character of its own (never the
// trail byte of a double-byte character).
struct LineCodes {
  bool skip = false;   // %, O, N, T lines, program stops and ends, reference returns
  bool reset = false;  // coordinate-system and tool-offset blocks
  bool toolChange = false;
  bool spindleStart = false;
  bool g80 = false, g95 = false;
  int motion = -1;  // motion code of the first of G00 G01 G02 G03 G80 G81 G82 G83 G84 found, -1 none
};

// Priority order of the motion codes: the first of the list that the line contains wins.
constexpr int kMotionCodes[] = {0, 1, 2, 3, 80, 81, 82, 83, 84};

bool Follows(std::string_view line, std::size_t pos, std::string_view text) {
  return line.substr(pos, text.size()) == text;
}

LineCodes ScanCodes(std::string_view line, double& spindle) {
  LineCodes codes;
  bool motionFound[9] = {};
  if (!line.empty() && (line[0] == '%' || line[0] == 'O' || line[0] == 'N' || line[0] == 'T'))
    codes.skip = true;
  if (Follows(line, 0, "M08") || Follows(line, 0, "M09") || Follows(line, 0, "M05")) codes.skip = true;

  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (IsCp932LeadByte(static_cast<unsigned char>(c))) {
      ++k;  // its trail byte is no letter
      continue;
    }
    if (c == 'S') {
      WordNumber(line, k + 1, spindle);  // every S with a number, comments included
      continue;
    }
    if ((c != 'G' && c != 'M') || k + 2 >= line.size() || !IsDigit(line[k + 1]) || !IsDigit(line[k + 2]))
      continue;
    const int n = (line[k + 1] - '0') * 10 + (line[k + 2] - '0');
    if (c == 'M') {
      if (n == 0 || n == 1 || n == 30 || n == 2) codes.skip = true;
      if (n == 6) codes.toolChange = true;
      if (n == 3 || n == 29) codes.spindleStart = true;
      continue;
    }
    switch (n) {
      case 28:
      case 30:
        codes.skip = true;
        break;
      case 90:
        if (Follows(line, k + 3, " G17")) codes.skip = true;
        break;
      case 54:
      case 55:
      case 56:  // also "G56 H"
      case 57:
      case 43:
        codes.reset = true;
        break;
      case 15:
        if (Follows(line, k + 3, "H")) codes.reset = true;
        break;
      case 10:
        if (Follows(line, k + 3, " L2")) codes.reset = true;
        break;
      case 95:
        codes.g95 = true;
        break;
      default:
        break;
    }
    for (std::size_t m = 0; m < 9; ++m)
      if (kMotionCodes[m] == n) motionFound[m] = true;
  }
  codes.g80 = motionFound[4];
  for (std::size_t m = 0; m < 9; ++m) {
    if (motionFound[m]) {
      codes.motion = kMotionCodes[m] == 80 ? 0 : kMotionCodes[m];
      break;
    }
  }
  return codes;
}

// The words X, Y, Z, I, J, R, Q, P, F outside comments: the first occurrence of each letter, whose
// number (if any) replaces the modal value. Comments run from "(" to ")" inclusive, or to the end of
// an unclosed line. True when at least one word gave a number.
bool ReadWords(std::string_view line, NcTimeState& s) {
  bool seen[9] = {};
  bool any = false;
  bool comment = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (comment) {
      if (c == ')') comment = false;
      if (IsCp932LeadByte(static_cast<unsigned char>(c))) ++k;
      continue;
    }
    if (c == '(') {
      comment = true;
      continue;
    }
    if (IsCp932LeadByte(static_cast<unsigned char>(c))) {
      ++k;
      continue;
    }
    double* target = nullptr;
    std::size_t slot = 0;
    switch (c) {
      case 'X':
        target = &s.current.x, slot = 0;
        break;
      case 'Y':
        target = &s.current.y, slot = 1;
        break;
      case 'Z':
        target = &s.current.z, slot = 2;
        break;
      case 'I':
        target = &s.i, slot = 3;
        break;
      case 'J':
        target = &s.j, slot = 4;
        break;
      case 'R':
        target = &s.r, slot = 5;
        break;
      case 'Q':
        target = &s.q, slot = 6;
        break;
      case 'P':
        target = &s.p, slot = 7;
        break;
      case 'F':
        target = &s.feed, slot = 8;
        break;
      default:
        break;
    }
    if (!target || seen[slot]) continue;
    seen[slot] = true;
    if (WordNumber(line, k + 1, *target)) any = true;
  }
  return any;
}

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

// The path of the current line from the previous point to the current X, Y, Z under the motion code.
void AddMotion(NcTimeState& s) {
  const NcPoint& a = s.previous;
  const NcPoint& b = s.current;
  const double d =
      std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
  const double zi = s.start.z;
  const double rapid = s.rates.rapidFeed;
  switch (s.motion) {
    case 0:
      AddRapid(s, d, rapid);
      break;
    case 1:
      AddCutting(s, d);
      break;
    case 2:
    case 3:
      AddCutting(s, ArcLength(a.x, a.y, b.x, b.y, s.i, s.j, s.motion == 2));
      break;
    case 81:
    case 82:  // down to R and up from Z at rapid, R to Z at the feed; a dwell adds no time
      AddRapid(s, d + (2 * zi - s.r - b.z), rapid);
      AddCutting(s, s.r - b.z);
      break;
    case 83: {  // approach to R and return at rapid, the pecks' retracts and re-approaches at CYCFEED
      AddRapid(s, d + 2 * (zi - s.r), rapid);
      PeckDistances pecks = PeckDrilling(s.r, b.z, s.q);
      AddCutting(s, pecks.feed);
      AddRapid(s, pecks.rapid, s.rates.cycleFeed);
      break;
    }
    case 84:  // feed in and feed out
      AddRapid(s, d + 2 * (zi - s.r), rapid);
      AddCutting(s, 2 * (s.r - b.z));
      break;
    default:
      break;
  }
}

// Angle in degrees of a point (dx, dy) about the arc's centre, as the rules measure it.
double PointAngle(double dx, double dy, bool isStart) {
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

NcTimeState StartTimeState(const TimeRates& rates, const NcPoint& start) {
  NcTimeState s;
  s.rates = rates;
  s.start = start;
  s.previous = start;
  s.current = start;
  return s;
}

void EstimateLine(NcTimeState& s, std::string_view line, const NcLineReport& report) {
  LineCodes codes = ScanCodes(line, s.spindle);
  if (codes.skip) return;
  if (codes.reset) {
    s.previous = s.start;
    s.current = s.start;
    return;
  }
  if (codes.toolChange) {
    ++s.totals.toolChanges;
    return;
  }
  if (codes.spindleStart) {
    ++s.totals.spindleStarts;
    return;
  }
  if (codes.g80) {
    s.current.z = s.start.z;
    s.p = 0;
  }
  if (codes.motion >= 0) s.motion = codes.motion;
  const bool words = ReadWords(line, s);
  // A line that gives no word, no motion code and no G80 (blank, a comment, an unknown code) moves
  // nothing: under a modal cycle it would otherwise count one more hole.
  if (!words && codes.motion < 0) return;

  if (s.motion == 84 && codes.g95 && s.feed < 10 && s.spindle > 100) {
    // Feed per revolution in a tapping block: F becomes the feed per minute.
    if (report) {
      report(Cp932ToUtf8(line));
      report(Sprintf("同期送り変更 F%.2f ==> F%.0f", s.feed, s.feed * s.spindle));
    }
    s.feed *= s.spindle;
  }
  AddMotion(s);
  s.previous = s.current;
  if (s.motion == 2 || s.motion == 3) s.i = s.j = 0;
  if (s.motion > 80) s.previous.z = s.start.z;
}

}  // namespace talvorin
