// The compensated path along an EUKLID curve file: the approach beside each contour's first point,
// the lines and arcs with cutter radius compensation, and the retract at each contour's end point.
#include <cmath>
#include <numbers>

#include "euklid/Euklid.h"
#include "lindrel/CurveFile.h"
#include "ncgen/NcCommon.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kPathLimit = 520;  // "定義": 519 bytes

// A line holding nothing but blanks carries no segment.
bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
}

// The largest coordinate a control takes (eight digits, three of them decimals).
constexpr double kLargestCoordinate = 99999.999;

// Numbers a block can carry: finite and within the control's range. "nan", "inf" or 1e308 would make
// words no control reads.
bool IsMachinable(const CurveLine& p) {
  for (double v : {p.x, p.y, p.z, p.cx, p.cy, p.value})
    if (!std::isfinite(v) || std::fabs(v) > kLargestCoordinate) return false;
  return true;
}

// The path writer: WriteMoveBlock with the contour's state.
struct ContourPath {
  TextSink& out;
  MoveState state;
  MovePosition last;
  MoveFeed feed;

  void Move(int motion, double x, double y, double z, double i = 0, double j = 0) {
    state.motion = motion;
    MovePosition target{x, y, z, i, j};
    WriteMoveBlock(out, last, target, feed, state);
  }
};

// The point d beside p in the direction `value` + 90 degrees: where the tool comes in and leaves.
void ApproachPoint(const CurveLine& p, double distance, double& x, double& y) {
  double angle = p.value + 90;
  if (angle > 360) angle -= 360;
  double rad = angle * std::numbers::pi / 180;
  x = p.x + distance * std::cos(rad);
  y = p.y + distance * std::sin(rad);
}

}  // namespace

int WriteEuklidContour(Context& ctx, TextSink& out, const std::string& section, const NcProcessRecord& rec,
                       const StartPosition& start) {
  // 1. The curve file.
  std::string curveFile = ReadString(ctx.dbPath, section, "定義", kPathLimit);
  if (curveFile.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 曲線定義取得失敗", section.c_str(), "定義");
  CurveReader reader(curveFile);
  if (!reader.IsOpen())
    return ctx.reporter.Reportf(-1, "エラー：曲線定義ファイル %s が開けません", curveFile.c_str());

  const double diam = rec.v[kProcDiameter], feed = rec.v[kProcF], rLevel = rec.v[kProcR];
  const int offset = nc::Whole(rec.v[kProcD]);
  const double distance = diam / 2 + 1;
  const double plungeFeed = AtoF(Sprintf("%.0f", 2 * feed));
  ContourPath path{out, {}, {start.x, start.y, start.z, 0, 0}, {}};

  // 2. Segment by segment. A contour starts at the first line and again after each point line that
  //    ended the one before.
  std::string text;
  bool contourStart = true;
  std::size_t lineNumber = 0;
  while (reader.Next(text)) {
    ++lineNumber;
    if (IsBlank(text)) continue;
    CurveLine p = ParseCurveLine(text);
    if (!IsMachinable(p))
      return ctx.reporter.Reportf(-1, "エラー：曲線定義ファイル %s の %zu 行目に使えない数値があります",
                                  curveFile.c_str(), lineNumber);
    const char type = p.type.empty() ? '\0' : p.type[0];
    if (contourStart) {
      // Rapid beside the start point, down to the R level, plunge at twice the feed, and onto the
      // contour with the compensation.
      double ax, ay;
      ApproachPoint(p, distance, ax, ay);
      path.Move(0, ax, ay, start.z);
      path.Move(0, ax, ay, p.z + rLevel);
      path.feed.current = plungeFeed;
      path.Move(1, ax, ay, p.z);
      path.feed.current = feed;
      path.state.compensation = 41;
      path.state.offset = offset;
      path.Move(1, p.x, p.y, p.z);
      contourStart = false;
      continue;
    }
    if (type == 'L') {
      path.Move(1, p.x, p.y, p.z);
    } else if (type == 'C') {
      int motion = p.value > 0 ? 2 : p.value < 0 ? 3 : path.state.motion;
      path.Move(motion, p.x, p.y, p.z, p.cx - path.last.x, p.cy - path.last.y);
    } else {
      path.Move(0, p.x, p.y, p.z);
    }
    if (type == 'P') {
      // The end of a contour: off the contour without the compensation and up to the start Z. A
      // further line starts the next contour with its own approach.
      double rx, ry;
      ApproachPoint(p, distance, rx, ry);
      path.state.compensation = 40;
      path.Move(1, rx, ry, path.last.z);
      path.Move(0, rx, ry, start.z);
      contourStart = true;
    }
  }
  // 3.
  return 0;
}

}  // namespace talvorin
