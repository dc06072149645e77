// Big holes: a round hole too large for a drill, cleared by widening circles and milled to size with
// cutter compensation (rough), or milled to size through lead-in and lead-out arcs (finish).
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr int kBigHolePositions = 10;  // X0/Y0 to X9/Y9

// A hole the tool cannot mill: no clearing circle fits between the centre and the wall (rough), or
// the lead arc would be no larger than the tool (finish), which the controller's cutter compensation
// refuses. Refused before anything is written.
int RefuseTool(Context& ctx, const NcProcessRecord& rec) {
  return ctx.reporter.Reportf(-1, "エラー：[%s] 大穴の穴径に対して工具径 %s が大きすぎます",
                              ProcessHoleSection(rec).c_str(),
                              FormatNumber(rec.v[kProcDiameter], false).c_str());
}

}  // namespace

int BigHoleMill(Context& ctx, NcSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : BigHoleMill", 0);
  HoleParameters p{};
  if (ReadHoleVariables(ctx, ProcessHoleSection(rec), p) != 0) return -1;
  if (rec.v[kProcQ] == 0) rec.v[kProcQ] = std::fabs(rec.v[kProcZ]);
  if (nc::CheckMillingRecord(ctx, rec) != 0) return -1;
  // Without the thickness the through-hole clamp would be meaningless: the program stops.
  double thickness = 0;
  if (nc::ReadThickness(ctx, thickness) != 0) return -1;
  if (rec.v[kProcOff] != 0) return BigHoleRoughMill(ctx, out, rec, p, thickness);
  return BigHoleFinishMill(ctx, out, rec, p, thickness);
}

int BigHoleRoughMill(Context& ctx, NcSink& out, NcProcessRecord& rec, const HoleParameters& p,
                     double thickness) {
  ctx.reporter.Report("!!! routine name : BigHoleRoughMill", 0);
  const double d = rec.v[kProcDiameter], f = rec.v[kProcF], startZ = rec.v[kProcStartZ];
  const double rf = p[0] / 2 - rec.v[kProcOff];  // the wall, the allowance left on it
  const double rhoMax = rf - d / 2 - 1;          // the widest clearing circle
  if (!(rhoMax > 0)) return RefuseTool(ctx, rec);
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  w.SetFeed(f);
  for (const PlanePoint& at : nc::ReadPositions(ctx, ProcessHoleSection(rec), "", kBigHolePositions)) {
    for (double z : depths) {
      // 1-3. Over the centre, down to R, into the material at F.
      w.Rapid(at.x, at.y, startZ);
      w.RapidZ(rec.v[kProcR]);
      w.FeedZ(z);
      // 4. Full circles widening by half the tool diameter up to rhoMax.
      for (double rho = 0; rho != rhoMax;) {
        rho = rho + 0.5 * d;
        if (rho > rhoMax) rho = rhoMax;
        w.Feed(at.x + rho, at.y);
        w.Arc(at.x + rho, at.y, -rho, 0);
      }
      // 5. The wall with compensation; 6. away from it as the compensation ends; 7. up.
      w.StartCompensation();
      w.Feed(at.x + rf, at.y);
      w.Arc(at.x + rf, at.y, -rf, 0);
      w.CancelCompensation();
      w.Feed(at.x + rf - (d / 2 + 0.5), at.y);
      w.RapidZ(startZ);
    }
  }
  return 0;
}

int BigHoleFinishMill(Context& ctx, NcSink& out, NcProcessRecord& rec, const HoleParameters& p,
                      double thickness) {
  ctx.reporter.Report("!!! routine name : BigHoleFinishMill", 0);
  const double startZ = rec.v[kProcStartZ];
  const double rf = p[0] / 2 - rec.v[kProcOff];
  const double e = rec.v[kProcDiameter] / 2;
  const double h = (rf - e) / 2 + e;  // the lead arc radius
  const double l = h * std::sin(45 * 3.141592653589793 / 180);
  if (!(rf > e)) return RefuseTool(ctx, rec);
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : nc::ReadPositions(ctx, ProcessHoleSection(rec), "", kBigHolePositions)) {
    const double x0 = at.x + rf - h;
    double previous = 0;
    for (double z : depths) {
      // 1-3. Over point 0, down to R above the previous pass (the depth already cut there: a rapid
      //      to R above this pass would go into material the finish meets uncut when no rough pass
      //      cleared the hole), plunge at twice the feed.
      w.Rapid(x0, at.y, startZ);
      w.RapidZ(rec.v[kProcR] + previous);
      w.SetFeed(nc::PlungeFeed(rec));
      w.FeedZ(z);
      // 4. Lead-in with compensation, lead arc onto the wall, the wall, lead arc off, lead-out.
      w.SetFeed(rec.v[kProcF]);
      w.StartCompensation();
      w.Feed(x0 + l, at.y - l);
      w.Arc(at.x + rf, at.y, -l, l);
      w.Arc(at.x + rf, at.y, -rf, 0);
      w.Arc(x0 + l, at.y + l, -h, 0);
      w.CancelCompensation();
      w.Feed(x0, at.y);
      // 5.
      w.RapidZ(startZ);
      previous = z;
    }
  }
  return 0;
}

}  // namespace talvorin
