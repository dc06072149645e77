// The compensated path along an EUKLID curve file: per contour an approach beside its entry point, the
// lines and arcs with cutter radius compensation, and a closing that leaves the wall cut whole.
//
// Controls start the compensation in one of two ways: at the offset of the entry point, or where the
// offset entry move meets the offset first element, which leaves up to a cutter radius of the first
// element behind. So a closed contour is entered perpendicular to an element and runs on past the entry
// point by more than the cutter radius before the compensation goes off: at its start point when that
// is no inside corner and the first element is long enough, otherwise at the middle of a long line,
// the elements before it cut at the closing (beside an inside corner the tool would stand in the wall
// it arrives along). An open contour, whose start cannot be cut again at its end, is entered along a
// lead-in line that extends its first element and left along a run-off line that extends its last.
//
// Each contour is read twice, once ahead to learn whether it closes, how it arrives at its end and
// where its first long line is, then again to write it, so memory does not grow with the file.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "euklid/Euklid.h"
#include "lindrel/CurveFile.h"
#include "ncgen/NcCommon.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kPathLimit = 520;  // "定義": 519 bytes
constexpr double kPi = std::numbers::pi;

// The largest coordinate a control takes (eight digits, three of them decimals).
constexpr double kLargestCoordinate = 99999.999;
// Points closer than half the last printed digit are one point.
constexpr double kCoincident = 0.0005;
// A contour that turns toward the tool side by more than about half a degree at its start point starts
// in an inside corner.
constexpr double kCornerSine = 0.01;
// Elements kept for the run-on of a closed contour; only a file of elements far shorter than a
// hundredth of a millimetre reaches the bound, and its run-on then ends there.
constexpr std::size_t kRunOnElements = 4096;

// A line holding nothing but blanks carries no segment.
bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

// Numbers a block can carry: finite and within the control's range. "nan", "inf" or 1e308 would make
// words no control reads.
bool IsMachinable(const CurveLine& p) {
  for (double v : {p.x, p.y, p.z, p.cx, p.cy, p.value})
    if (!std::isfinite(v) || std::fabs(v) > kLargestCoordinate) return false;
  return true;
}

struct Point {
  double x = 0, y = 0;
};

// p + k * v
Point Along(Point p, Point v, double k) {
  return {p.x + k * v.x, p.y + k * v.y};
}

// The direction turned a quarter anticlockwise: the tool side of G41.
Point Left(Point t) {
  return {-t.y, t.x};
}

// How the tool runs from one point of the contour to the next.
struct Element {
  int motion = 1;  // 0 G00, 1 G01, 2 G02 (clockwise), 3 G03 (anticlockwise)
  Point from, to, centre;
  double z0 = 0, z = 0;
};

bool IsArc(const Element& e) {
  return e.motion == 2 || e.motion == 3;
}

double Radius(const Element& e) {
  return std::hypot(e.from.x - e.centre.x, e.from.y - e.centre.y);
}

// The angle an arc turns through, in (0, 2 pi]: an arc that ends where it starts is a full circle.
double Sweep(const Element& e) {
  if (std::hypot(e.to.x - e.from.x, e.to.y - e.from.y) < kCoincident) return 2 * kPi;
  const double a0 = std::atan2(e.from.y - e.centre.y, e.from.x - e.centre.x);
  const double a1 = std::atan2(e.to.y - e.centre.y, e.to.x - e.centre.x);
  double s = std::fmod(e.motion == 3 ? a1 - a0 : a0 - a1, 2 * kPi);
  return s < 0 ? s + 2 * kPi : s;
}

double Length(const Element& e) {
  if (IsArc(e)) return Radius(e) * Sweep(e);
  return std::hypot(e.to.x - e.from.x, e.to.y - e.from.y);
}

// An element that goes somewhere in the plane (a point line repeating the last point does not).
bool Moves(const Element& e) {
  return Length(e) >= kCoincident;
}

// The point `s` along the element from its start.
Point At(const Element& e, double s) {
  const double length = Length(e);
  if (s <= 0) return e.from;
  if (s >= length) return e.to;
  if (!IsArc(e))
    return {e.from.x + (e.to.x - e.from.x) * s / length, e.from.y + (e.to.y - e.from.y) * s / length};
  const double r = Radius(e);
  const double a = std::atan2(e.from.y - e.centre.y, e.from.x - e.centre.x) + (e.motion == 3 ? s : -s) / r;
  return {e.centre.x + r * std::cos(a), e.centre.y + r * std::sin(a)};
}

// The unit direction of travel `s` along the element.
Point Tangent(const Element& e, double s) {
  if (!IsArc(e)) {
    const double length = Length(e);
    return {(e.to.x - e.from.x) / length, (e.to.y - e.from.y) / length};
  }
  const Point p = At(e, s);
  const double r = Radius(e);
  const Point u{(p.x - e.centre.x) / r, (p.y - e.centre.y) / r};
  return e.motion == 3 ? Left(u) : Point{u.y, -u.x};
}

// The part of the element from s0 to s1 along it.
Element Piece(const Element& e, double s0, double s1) {
  const double length = Length(e);
  Element p = e;
  p.from = At(e, s0);
  p.to = At(e, s1);
  p.z0 = e.z0 + (e.z - e.z0) * s0 / length;
  p.z = e.z0 + (e.z - e.z0) * s1 / length;
  return p;
}

// The element a curve line makes from `from`: "L" a line, "C" an arc by the sign of its value (0 keeps
// the motion before it), any other type a rapid.
Element MakeElement(const CurveLine& p, char type, Point from, double z0, int previousMotion) {
  Element e;
  e.motion = type == 'L' ? 1 : type == 'C' ? (p.value > 0 ? 2 : p.value < 0 ? 3 : previousMotion) : 0;
  e.from = from;
  e.to = {p.x, p.y};
  e.centre = {p.cx, p.cy};
  e.z0 = z0;
  e.z = p.z;
  return e;
}

// A curve file read contour by contour. A contour is its start line (the file's first line, or the
// line after the point line that ended the contour before) and the lines after it up to its own point
// line or the end of the file. The look-ahead and the writer each read the file with one of these, so
// both see the same elements.
struct ContourLines {
  explicit ContourLines(const std::string& path) : file(path), reader(path) {}

  std::string file;
  CurveReader reader;
  std::size_t lineNumber = 0;
  Point last;
  double lastZ = 0;
  int motion = 1;      // the motion a "C" line of value 0 keeps: the entry's G01 at a contour's start
  bool ended = false;  // the current contour has ended
};

// The next line that is not blank: 1, 0 at the end of the file, -1 (reported) for a number no control
// takes.
int NextLine(Context& ctx, ContourLines& c, CurveLine& p, char& type) {
  std::string text;
  while (c.reader.Next(text)) {
    ++c.lineNumber;
    if (IsBlank(text)) continue;
    p = ParseCurveLine(text);
    if (!IsMachinable(p))
      return ctx.reporter.Reportf(-1, "エラー：曲線定義ファイル %s の %zu 行目に使えない数値があります",
                                  c.file.c_str(), c.lineNumber);
    type = p.type.empty() ? '\0' : p.type[0];
    return 1;
  }
  return 0;
}

// The start line of the next contour, whatever its type: 1, 0 at the end of the file, -1.
int NextStart(Context& ctx, ContourLines& c, CurveLine& start) {
  char type = 0;
  const int rc = NextLine(ctx, c, start, type);
  if (rc != 1) return rc;
  c.last = {start.x, start.y};
  c.lastZ = start.z;
  c.motion = 1;
  c.ended = false;
  return 1;
}

// The next element of the current contour: 1 (c.ended set when its line was the point line that ends
// the contour), 0 when the file ended, -1.
int NextElement(Context& ctx, ContourLines& c, Element& e) {
  CurveLine p;
  char type = 0;
  const int rc = NextLine(ctx, c, p, type);
  if (rc != 1) {
    c.ended = true;
    return rc;
  }
  e = MakeElement(p, type, c.last, c.lastZ, c.motion);
  c.last = e.to;
  c.lastZ = e.z;
  c.motion = e.motion;
  c.ended = type == 'P';
  return 1;
}

// What the writer must know of a contour before its approach.
struct ContourEnd {
  bool closed = false;  // it ends where it starts
  Point arrival;        // the direction of its last element that moves, at the end
  // The first line at least `longLine` long, counted in elements from the first element that moves
  // (0); -1 when there is none within kRunOnElements.
  long longLine = -1;
};

// The look-ahead: the elements of the contour after `start`.
int ScanContour(Context& ctx, ContourLines& ahead, const CurveLine& start, double longLine, ContourEnd& end) {
  Element e;
  Point last{start.x, start.y};
  long index = -1;  // -1 until the first element that moves
  while (!ahead.ended) {
    const int rc = NextElement(ctx, ahead, e);
    if (rc < 0) return -1;
    if (rc == 0) break;
    if (index >= 0 || Moves(e)) ++index;
    if (end.longLine < 0 && index >= 0 && index < static_cast<long>(kRunOnElements) && e.motion == 1 &&
        Length(e) >= longLine)
      end.longLine = index;
    if (!Moves(e)) continue;
    end.arrival = Tangent(e, Length(e));
    last = e.to;
  }
  end.closed = std::hypot(last.x - start.x, last.y - start.y) < kCoincident;
  return 0;
}

// A start where the contour turns toward the tool side, or back on itself.
bool IsInsideCorner(Point arrival, Point departure) {
  const double cross = arrival.x * departure.y - arrival.y * departure.x;
  const double dot = arrival.x * departure.x + arrival.y * departure.y;
  return cross > kCornerSine || (cross > -kCornerSine && dot < 0);
}

// How much of an element entered perpendicular at a point a control that starts its compensation at
// the intersection of the offset entry with the offset element leaves behind: the cutter radius on a
// line, less on a clockwise arc (the tool outside), more on an anticlockwise arc (the tool inside),
// whose offset arc must reach the offset entry at all: -1 when it does not.
double StartUpLength(const Element& e, double radius) {
  if (!IsArc(e)) return radius;
  const double r = Radius(e);
  if (e.motion == 2) return r * std::asin(radius / (r + radius));
  if (r < 2 * radius + kCoincident) return -1;
  return r * std::asin(radius / (r - radius));
}

// The values of the path that the process record gives.
struct Cutting {
  double radius = 0;    // the cutter radius
  double distance = 0;  // approach and retract distance: cutter radius + 1
  double feed = 0, plungeFeed = 0, rLevel = 0, startZ = 0;
  int offset = 0;  // D
};

// The path writer: WriteMoveBlock with the contour's state.
struct ContourPath {
  TextSink& out;
  MoveState state;
  MovePosition last;
  MoveFeed feed;
  // The approach, lead-in, run-on and retract points lie beside the contour: near the edge of the
  // control's range they can leave it though every point of the file lies within. The first such
  // block is kept here and nothing more is written.
  bool beyondRange = false;
  MovePosition beyond;

  void Move(int motion, double x, double y, double z, double i = 0, double j = 0) {
    if (beyondRange) return;
    MovePosition target{x, y, z, i, j};
    for (double v : {x, y, z, i, j})
      if (!std::isfinite(v) || std::fabs(v) > kLargestCoordinate) {
        beyondRange = true;
        beyond = target;
        return;
      }
    state.motion = motion;
    WriteMoveBlock(out, last, target, feed, state);
  }
  // An element of the curve as the file gives it; I and J from the previous point.
  void Write(const Element& e) {
    Move(e.motion, e.to.x, e.to.y, e.z, e.centre.x - last.x, e.centre.y - last.y);
  }
};

// The element a closed contour is entered on, where on it, and how far the closing runs on past that
// point: at the start point when the first element allows it (no inside corner there, and long enough
// for what an intersecting start-up leaves of it); otherwise at the middle of the first line at least
// twice the approach distance long, clear of the corners at its ends; failing that at the start point
// or, in an inside corner, at the middle of the first element.
struct Entry {
  long index = 0;  // elements from the first element that moves
  double at = 0;   // length along the element; -1: its middle, once it is read
  double runOn = 0;
};

Entry ChooseEntry(const Element& first, const ContourEnd& end, const Cutting& c) {
  const bool corner = IsInsideCorner(end.arrival, Tangent(first, 0));
  const double leaves = StartUpLength(first, c.radius);
  const double runOn = std::max(c.distance, leaves + 1);
  if (!corner && leaves >= 0 && Length(first) >= runOn) return {0, 0, runOn};
  if (end.longLine >= 0) return {end.longLine, -1, c.distance};
  return {0, corner ? Length(first) / 2 : 0, runOn};
}

// One contour from its start line to its end: approach, entry, elements, closing and retract.
int WriteContour(Context& ctx, ContourPath& path, ContourLines& lines, const ContourEnd& end,
                 const Cutting& c) {
  // The first element that moves; lines before it that go nowhere are passed over, and a contour
  // without one cuts nothing.
  Element first;
  bool found = false;
  while (!found && !lines.ended) {
    const int rc = NextElement(ctx, lines, first);
    if (rc < 0) return -1;
    if (rc == 0) break;
    found = Moves(first);
  }
  if (!found) return 0;

  // The entry element; the elements before it are cut at the closing. An open contour is entered on
  // a lead-in line a cutter radius + 1 before its start, extending its first element.
  Entry entry;
  std::vector<Element> before;
  Element on = first;
  if (end.closed) {
    entry = ChooseEntry(first, end, c);
    while (static_cast<long>(before.size()) < entry.index) {
      before.push_back(on);
      if (NextElement(ctx, lines, on) != 1) return -1;  // the look-ahead saw it
    }
    if (entry.at < 0) entry.at = Length(on) / 2;
    if (StartUpLength(on, c.radius) < 0)
      return ctx.reporter.Reportf(-1,
                                  "エラー：曲線定義ファイル %s の %zu 行目：円弧の半径 %s が工具径 %s "
                                  "の工具で補正を始めるには小さすぎます",
                                  lines.file.c_str(), lines.lineNumber,
                                  FormatNumber(Radius(on), false).c_str(),
                                  FormatNumber(2 * c.radius, false).c_str());
  }
  const double onLength = Length(on);
  const Point direction = Tangent(on, entry.at);
  const Point point = end.closed ? At(on, entry.at) : Along(on.from, direction, -c.distance);
  const double z = end.closed ? Piece(on, 0, entry.at).z : on.z0;
  const Point approach = Along(point, Left(direction), c.distance);

  // Rapid beside the entry point, down to the R level, plunge at twice the feed, and onto the entry
  // point with the compensation.
  path.Move(0, approach.x, approach.y, c.startZ);
  path.Move(0, approach.x, approach.y, z + c.rLevel);
  path.feed.current = c.plungeFeed;
  path.Move(1, approach.x, approach.y, z);
  path.feed.current = c.feed;
  path.state.compensation = 41;
  path.state.offset = c.offset;
  path.Move(1, point.x, point.y, z);
  if (!end.closed) path.Move(1, on.from.x, on.from.y, on.z0);
  path.Write(Piece(on, entry.at, onLength));

  // The rest of the contour, keeping the elements the run-on will need.
  std::vector<Element> kept;
  double keptLength = onLength;
  Element last = on;
  Element e;
  while (!lines.ended) {
    const int rc = NextElement(ctx, lines, e);
    if (rc < 0) return -1;
    if (rc == 0) break;
    path.Write(e);
    if (!Moves(e)) continue;
    last = e;
    if (end.closed && keptLength < entry.at + entry.runOn && kept.size() < kRunOnElements) {
      kept.push_back(e);
      keptLength += Length(e);
    }
  }

  // The closing. A closed contour cuts the elements before its entry element, then runs on along
  // it to `runOn` past the entry point; an open one runs off its end along its last direction.
  Point stop, leaving;
  if (end.closed) {
    for (const Element& b : before)
      path.Write(b);
    double remaining = entry.at + entry.runOn;
    const Element* runOn = &on;
    double runOnAt = std::min(onLength, remaining);
    path.Write(Piece(on, 0, runOnAt));
    remaining -= runOnAt;
    for (const Element& k : kept) {
      if (remaining <= 0) break;
      runOn = &k;
      runOnAt = std::min(Length(k), remaining);
      path.Write(Piece(k, 0, runOnAt));
      remaining -= runOnAt;
    }
    stop = At(*runOn, runOnAt);
    leaving = Tangent(*runOn, runOnAt);
  } else {
    leaving = Tangent(last, Length(last));
    stop = Along(last.to, leaving, c.distance);
    path.Move(1, stop.x, stop.y, path.last.z);
  }
  // Off the wall without the compensation and up to the start Z.
  const Point off = Along(stop, Left(leaving), c.distance);
  path.state.compensation = 40;
  path.Move(1, off.x, off.y, path.last.z);
  path.Move(0, off.x, off.y, c.startZ);
  return 0;
}

}  // namespace

int WriteEuklidContour(Context& ctx, TextSink& out, const std::string& section, const NcProcessRecord& rec,
                       const StartPosition& start) {
  // 1. The curve file, opened for the look-ahead and for the writing.
  std::string curveFile = ReadString(ctx.dbPath, section, "定義", kPathLimit);
  if (curveFile.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 曲線定義取得失敗", section.c_str(), "定義");
  ContourLines ahead(curveFile), lines(curveFile);
  if (!ahead.reader.IsOpen() || !lines.reader.IsOpen())
    return ctx.reporter.Reportf(-1, "エラー：曲線定義ファイル %s が開けません", curveFile.c_str());

  Cutting c;
  c.radius = rec.v[kProcDiameter] / 2;
  c.distance = c.radius + 1;
  c.feed = rec.v[kProcF];
  c.plungeFeed = nc::PlungeFeed(rec);
  c.rLevel = rec.v[kProcR];
  c.startZ = start.z;
  c.offset = nc::Whole(rec.v[kProcD]);
  ContourPath path{out, {}, {start.x, start.y, start.z, 0, 0}, {}, false, {}};

  // 2. Contour by contour: read ahead to its end, then write it.
  CurveLine first;
  for (;;) {
    const int rc = NextStart(ctx, ahead, first);
    if (rc <= 0) return rc;
    ContourEnd end;
    if (ScanContour(ctx, ahead, first, 2 * c.distance, end) != 0) return -1;
    if (NextStart(ctx, lines, first) != 1) return -1;
    if (WriteContour(ctx, path, lines, end, c) != 0) return -1;
    if (path.beyondRange)
      return ctx.reporter.Reportf(
          -1,
          "エラー：曲線定義ファイル %s の %zu 行目までの輪郭：工具の移動先 X%.3f Y%.3f が"
          "制御装置の範囲（±99999.999）を超えます",
          curveFile.c_str(), lines.lineNumber, path.beyond.x, path.beyond.y);
  }
}

}  // namespace talvorin
