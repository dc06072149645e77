// Big holes: a round hole too large for a drill, cleared by widening circles and milled to size with
// cutter compensation (rough), or milled to size (finish); both reach the wall through a lead-in line
// and arc and overlap the closing of the circle.
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr int kBigHolePositions = 10;  // X0/Y0 to X9/Y9

// A hole the tool cannot mill with compensation: the lead arc onto the wall (half the wall radius) must
// be larger than the tool radius for the control to reach the wall along it, so the wall radius must
// exceed the tool diameter. Refused before anything is written.
int RefuseTool(Context& ctx, const NcProcessRecord& rec, double holeDiameter) {
  return ctx.reporter.Reportf(-1, "エラー：[%s] 大穴の穴径 %s に対して工具 T%02d の径 %s が大きすぎます",
                              ProcessHoleSection(rec).c_str(), FormatNumber(holeDiameter, false).c_str(),
                              nc::Whole(rec.v[kProcT]), FormatNumber(rec.v[kProcDiameter], false).c_str());
}

// The wall of radius `rf` about `at` with compensation: a straight lead-in along +X onto a quarter lead
// arc of radius rf / 2 that meets the wall tangentially at (rf, 0), the full circle, a quarter circle
// more, then off towards the centre. The lead-in is a straight element tangent to an arc larger than
// the tool, so every start-up type reaches the wall at (rf, 0); the quarter past it overlaps the
// closing by more than the tool radius. Starts with the tool at (0, -rf / 2).
void CompensatedWall(nc::MoveWriter& w, PlanePoint at, double rf) {
  const double lead = rf / 2;
  w.StartCompensation();
  w.Feed(at.x + rf - lead, at.y - lead);
  w.Arc(at.x + rf, at.y, 0, lead);
  w.Arc(at.x + rf, at.y, -rf, 0);
  w.Arc(at.x, at.y + rf, -rf, 0);
  w.CancelCompensation();
  w.Feed(at.x, at.y + rf - lead);
}

}  // namespace

int BigHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
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

int BigHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                     double thickness) {
  ctx.reporter.Report("!!! routine name : BigHoleRoughMill", 0);
  const double d = rec.v[kProcDiameter], f = rec.v[kProcF], startZ = rec.v[kProcStartZ];
  const double rf = p[0] / 2 - rec.v[kProcOff];  // the wall, the allowance left on it
  const double rhoMax = rf - d / 2 - 1;          // the widest clearing circle
  if (!(rhoMax > 0) || !(rf > d)) return RefuseTool(ctx, rec, p[0]);
  if (nc::CheckPassCount(ctx, rec, std::fabs(rec.v[kProcZ]), 2 * std::ceil(rhoMax / (0.5 * d))) != 0)
    return -1;
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
      // 5. To the start of the lead-in; 6. the wall with compensation; 7. up.
      w.Feed(at.x, at.y - rf / 2);
      CompensatedWall(w, at, rf);
      w.RapidZ(startZ);
    }
  }
  return 0;
}

int BigHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                      double thickness) {
  ctx.reporter.Report("!!! routine name : BigHoleFinishMill", 0);
  const double startZ = rec.v[kProcStartZ];
  const double rf = p[0] / 2 - rec.v[kProcOff];
  if (!(rf > rec.v[kProcDiameter])) return RefuseTool(ctx, rec, p[0]);
  if (nc::CheckPassCount(ctx, rec, std::fabs(rec.v[kProcZ]), 0) != 0) return -1;
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : nc::ReadPositions(ctx, ProcessHoleSection(rec), "", kBigHolePositions)) {
    double previous = 0;
    for (double z : depths) {
      // 1-3. Over the start of the lead-in, down to R above the previous pass (the depth already cut
      //      there: a rapid to R above this pass would go into material the finish meets uncut when
      //      no rough pass cleared the hole), plunge at twice the feed.
      w.Rapid(at.x, at.y - rf / 2, startZ);
      w.RapidZ(rec.v[kProcR] + previous);
      w.SetFeed(nc::PlungeFeed(rec));
      w.FeedZ(z);
      // 4. The wall with compensation; 5. up.
      w.SetFeed(rec.v[kProcF]);
      CompensatedWall(w, at, rf);
      w.RapidZ(startZ);
      previous = z;
    }
  }
  return 0;
}

}  // namespace talvorin
