// The FANUC program of a contour: the program frame of the single process and the compensated path
// along the EUKLID curve file.
#include <cmath>
#include <numbers>

#include "euklid/Euklid.h"
#include "lindrel/CurveFile.h"
#include "outputs/Outputs.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kToolNameLimit = 32;  // "tool": 31 bytes
constexpr std::size_t kPathLimit = 520;     // "定義": 519 bytes

// A value truncated toward zero as "%d" prints a converted double; out-of-range values clamp.
int Truncated(double v) {
  if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(v);
}

// A line holding nothing but blanks carries no segment.
bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r") == std::string::npos;
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
  const int offset = Truncated(rec.v[kProcD]);
  const double distance = diam / 2 + 1;
  const double plungeFeed = AtoF(Sprintf("%.0f", 2 * feed));
  ContourPath path{out, {}, {start.x, start.y, start.z, 0, 0}, {}};

  // 2. Segment by segment. A contour starts at the first line and again after each point line that
  //    ended the one before.
  std::string text;
  bool contourStart = true;
  while (reader.Next(text)) {
    if (IsBlank(text)) continue;
    CurveLine p = ParseCurveLine(text);
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

int MakeEuklidFanucNcdata(Context& ctx) {
  // 1-2.
  ctx.reporter.Report("!!! routine name : MakeEuklidFanucNcdata", 0);
  ProfileOperation operation;
  MachineData machine;
  if (GetMachinedata(ctx, machine) != 0) return -1;

  // 3. The program goes to a temporary file that replaces the NC file only when it is complete.
  TextFile file;
  if (!file.Replace(machine.path))
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s が開けません。", machine.path.c_str());
  // 4-5.
  file.Line("%");
  file.Line(Sprintf("O%04d", ReadInt(ctx.dbPath, "machine", "onumber", 1)));
  WriteUserLines(ctx, file, 0, "fanuc");

  // 6. The process record.
  const std::string section = "ncproc1";
  NcProcessRecord rec;
  rec.number = 1;
  rec.tool = ReadString(ctx.dbPath, section, "tool", kToolNameLimit);
  std::array<double, kProcessColumns> values{};
  if (rec.tool.empty() || ReadProcessValues(ctx, section, values) != 0) return -1;
  std::copy(values.begin(), values.end(), rec.v.begin());

  // 7-9. Sequence number, tool comment, tool change, approach block.
  WriteProcessHeader(ctx, file, 1, rec.tool);
  WriteToolChangeLines(ctx, file, "fanuc");
  file.Line(Sprintf("T%02d", Truncated(rec.v[kProcT])));
  file.Line("M06");
  WriteApproachBlockFanuc(ctx, file, machine.coordinate, machine.start, rec);

  // 10. The contour.
  if (WriteEuklidContour(ctx, file, section, rec, machine.start) != 0) return -1;

  // 11. Coolant and spindle off, back over the origin, the end lines.
  file.Line("M09");
  file.Line("M05");
  file.Line("X0. Y0.");
  WriteUserLines(ctx, file, 1, "fanuc");

  // 12.
  if (!file.Commit())
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s の書き込み失敗", machine.path.c_str());
  ShowNcViewer(ctx, machine.path);
  return 0;
}

}  // namespace talvorin
