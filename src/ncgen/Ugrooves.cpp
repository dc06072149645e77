// U-grooves: a slot open at one plate edge, ending in a half circle at the given position. A rough
// cut along the centre line when an allowance is left, then the contour with cutter compensation,
// both in passes down to the final depth.
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr int kGroovePositions = 100;  // X0/Y0 to X99/Y99

struct MaterialBox {
  double max[3] = {0, 0, 0}, min[3] = {0, 0, 0};  // X, Y, Z
};

// "Xmax", "Xmin", ... of section "trycut"; -1 (reported) at the first one missing.
int ReadMaterialBox(Context& ctx, MaterialBox& box) {
  const char axes[3] = {'X', 'Y', 'Z'};
  for (int k = 0; k < 3; ++k) {
    std::string key = Sprintf("%c%s", axes[k], "max");
    std::string value = ReadString(ctx.dbPath, "trycut", key, nc::kCoordinateLimit);
    if (value.empty())
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 最大材料値取得失敗", "trycut", key.c_str(), "");
    box.max[k] = AtoF(value);
    key = Sprintf("%c%s", axes[k], "min");
    value = ReadString(ctx.dbPath, "trycut", key, nc::kCoordinateLimit);
    if (value.empty())
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 最小材料値取得失敗", "trycut", key.c_str(), "");
    box.min[k] = AtoF(value);
  }
  return 0;
}

struct GroovePoint {
  int number;  // 0, 1 (rough), 10 to 14 (contour)
  int motion;
  double x, y;
};

}  // namespace

int UgrooveFRMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : UgrooveFRMill", 0);
  // 1. Thickness, one pass when Q is 0, the groove, the material box. Without the thickness the
  //    through-groove clamp would be meaningless: the program stops.
  double thickness = 0;
  if (nc::ReadThickness(ctx, thickness) != 0) return -1;
  if (rec.v[kProcQ] == 0) rec.v[kProcQ] = std::fabs(rec.v[kProcZ]);
  const std::string section = ProcessHoleSection(rec);
  HoleParameters p{};
  if (ReadHoleVariables(ctx, section, p) != 0) return -1;
  MaterialBox box;
  if (ReadMaterialBox(ctx, box) != 0) return -1;
  if (nc::CheckMillingRecord(ctx, rec) != 0) return -1;
  if (nc::CheckPassCount(ctx, rec, std::fabs(rec.v[kProcZ]), 0) != 0) return -1;

  const double d = rec.v[kProcDiameter], off = rec.v[kProcOff], startZ = rec.v[kProcStartZ];
  const double r = p[0] / 2 - off;
  const double angle = p[1];
  // A groove toward no plate edge would be left out without a word: refused.
  if (angle != 0 && angle != 90 && angle != 180 && angle != 270)
    return ctx.reporter.Reportf(-1, "エラー：[%s] Ｕ溝の向き %s は 0, 90, 180, 270 のいずれかです",
                                section.c_str(), FormatNumber(angle, false).c_str());
  if (nc::CheckSlotTool(ctx, rec, "Ｕ溝の溝幅", p[0]) != 0) return -1;
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  const std::vector<PlanePoint> positions = nc::ReadPositions(ctx, section, "", kGroovePositions);
  for (std::size_t k = 0; k < positions.size(); ++k) {
    const PlanePoint at = positions[k];
    // 2. The groove runs from the position to the plate edge the angle names.
    double length;
    if (angle == 0)
      length = at.x - box.min[0];
    else if (angle == 90)
      length = at.y - box.min[1];
    else if (angle == 180)
      length = box.max[0] - at.x;
    else  // 270
      length = box.max[1] - at.y;
    // 3. The contour toward -X, starting outside the edge by the tool radius and 2 mm.
    const double xo = -(d / 2) - length - 2;
    GroovePoint points[] = {{0, 0, xo, 0},  {1, 1, 0, 0},  {10, 0, xo, 0}, {11, 1, xo, -r},
                            {12, 1, 0, -r}, {13, 3, 0, r}, {14, 1, xo, r}};
    // 4. Turned clockwise for the other edges: 90 toward -Y, 180 toward +X, 270 toward +Y.
    if (angle != 0) {
      const double a = (360 - angle) * 3.141592653589793 / 180;
      for (GroovePoint& q : points) {
        const double x = q.x, y = q.y;
        q.x = x * std::cos(a) + y * std::sin(a);
        q.y = y * std::cos(a) - x * std::sin(a);
      }
    } else {
      for (const GroovePoint& q : points)
        ctx.reporter.Reportf(0, "/// [%d] G=%d X=%.3f Y=%.3f", q.number, q.motion, q.x, q.y);
    }
    // The half circle's centre is the position itself.
    const double i = -points[4].x, j = -points[4].y;
    // 5. Shifted to the position.
    for (GroovePoint& q : points) {
      q.x += at.x;
      q.y += at.y;
    }
    const GroovePoint &p0 = points[0], &p1 = points[1], &p10 = points[2];
    // 6. The rough cut along the centre line, pass by pass.
    if (off > 0) {
      double previous = 0;
      for (double z : depths) {
        if (k == 0) {
          w.last().x = p0.x - 1;  // the first position's rapids name both axes
          w.last().y = p0.y - 1;
        }
        w.Rapid(p0.x, p0.y, startZ);
        w.RapidZ(rec.v[kProcR] + previous);
        w.SetFeed(nc::PlungeFeed(rec));
        w.FeedZ(z);
        w.SetFeed(rec.v[kProcF]);
        w.Feed(p1.x, p1.y);
        previous = z;
      }
    }
    // The contour with compensation, pass by pass.
    double previous = 0;
    for (double z : depths) {
      if (k == 0) {
        w.last().x = p10.x - 1;
        w.last().y = p10.y - 1;
      }
      w.Rapid(p10.x, p10.y, startZ);
      w.RapidZ(rec.v[kProcR] + previous);
      w.SetFeed(nc::PlungeFeed(rec));
      w.FeedZ(z);
      w.SetFeed(rec.v[kProcF]);
      w.StartCompensation();
      w.Feed(points[3].x, points[3].y);
      w.Feed(points[4].x, points[4].y);
      w.Arc(points[5].x, points[5].y, i, j);
      w.Feed(points[6].x, points[6].y);
      w.CancelCompensation();
      w.Feed(p10.x, p10.y);
      w.RapidZ(startZ);
      previous = z;
    }
  }
  return 0;
}

}  // namespace talvorin
