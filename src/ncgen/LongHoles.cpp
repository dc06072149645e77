// Long holes (a slot with two half-round ends) and counterbored long holes, milled with cutter radius
// compensation in passes down to the final depth. The contour is computed once per process about the
// slot centre and shifted to each slot position.
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr int kSlotPositions = 10;  // centres CX0/CY0 to CX9/CY9

std::vector<PlanePoint> SlotCentres(Context& ctx, const NcProcessRecord& rec) {
  return nc::ReadPositions(ctx, ProcessHoleSection(rec), "C", kSlotPositions);
}

// How far the compensated loop overlaps its entry: the cutter radius.
double CutterRadius(const NcProcessRecord& rec) {
  return rec.v[kProcDiameter] / 2;
}

// The compensated loop of one wall (its entry point `first`): on with the entry, the walls, end arcs
// and the overlap, off on the way back to the centre line.
void WallLoop(nc::MoveWriter& w, const std::vector<ContourPoint>& c, std::size_t first, PlanePoint at) {
  w.StartCompensation();
  w.Contour(c, first, first + 5, at);
  w.CancelCompensation();
  w.Contour(c, first + 6, first + 6, at);
}

// One pass of a stage: down to `z` at the plunge feed from R above the previous pass depth.
void Plunge(nc::MoveWriter& w, const NcProcessRecord& rec, double previous, double z) {
  w.RapidZ(rec.v[kProcR] + previous);
  w.SetFeed(nc::PlungeFeed(rec));
  w.FeedZ(z);
}

// The entry routines' common steps: the hole group, Q of 0 as one pass to full depth, the record's
// milling values.
int PrepareSlot(Context& ctx, NcProcessRecord& rec, HoleParameters& p) {
  if (ReadHoleVariables(ctx, ProcessHoleSection(rec), p) != 0) return -1;
  if (rec.v[kProcQ] == 0) rec.v[kProcQ] = std::fabs(rec.v[kProcZ]);
  if (nc::CheckMillingRecord(ctx, rec) != 0) return -1;
  return nc::CheckSlotTool(ctx, rec, "長穴の溝幅", p[0]);
}

}  // namespace

int LongHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : LongHoleMill", 0);
  HoleParameters p{};
  if (PrepareSlot(ctx, rec, p) != 0) return -1;
  if (nc::CheckPassCount(ctx, rec, std::fabs(rec.v[kProcZ]), 0) != 0) return -1;
  // Without the thickness the through-slot clamp would be meaningless: the program stops.
  double thickness = 0;
  if (nc::ReadThickness(ctx, thickness) != 0) return -1;
  if (rec.v[kProcOff] != 0) return LongHoleRoughMill(ctx, out, rec, p, thickness);
  return LongHoleFinishMill(ctx, out, rec, p, thickness);
}

int LongHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                       double thickness) {
  ctx.reporter.Report("!!! routine name : LongHoleFinishMill", 0);
  const std::vector<ContourPoint> c = LongHoleContour(p[1], p[0], p[3], rec.v[kProcOff], CutterRadius(rec));
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : SlotCentres(ctx, rec)) {
    double previous = 0;
    for (double z : depths) {
      // 1-3. Over point 1, down to R above the last pass, plunge.
      w.Rapid(at.x + c[1].x, at.y + c[1].y, w.last().z);
      Plunge(w, rec, previous, z);
      // 4. The walls and end arcs with compensation; 5. back to the centre line without it.
      w.SetFeed(rec.v[kProcF]);
      WallLoop(w, c, 2, at);
      // 6.
      w.RapidZ(rec.v[kProcStartZ]);
      previous = z;
    }
  }
  w.Rapid(0, 0, w.last().z);
  return 0;
}

int LongHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p,
                      double thickness) {
  ctx.reporter.Report("!!! routine name : LongHoleRoughMill", 0);
  const std::vector<ContourPoint> c = LongHoleContour(p[1], p[0], p[3], rec.v[kProcOff], CutterRadius(rec));
  const std::vector<double> depths = PassDepths(0, rec.v[kProcQ], rec.v[kProcZ], thickness);
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : SlotCentres(ctx, rec)) {
    double previous = 0;
    for (double z : depths) {
      // 1. Over point 0, down, plunge; 2. along the centre line.
      w.Rapid(at.x + c[0].x, at.y + c[0].y, w.last().z);
      Plunge(w, rec, previous, z);
      w.SetFeed(rec.v[kProcF]);
      w.Contour(c, 1, 1, at);
      // 3-4. The walls and end arcs with compensation, back to the centre line without it.
      WallLoop(w, c, 2, at);
      w.RapidZ(rec.v[kProcStartZ]);
      previous = z;
    }
  }
  w.Rapid(0, 0, w.last().z);
  return 0;
}

int CounterboreLongHoleMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : CounterboreLongHoleMill", 0);
  HoleParameters p{};
  if (PrepareSlot(ctx, rec, p) != 0) return -1;
  // The counterbore's passes down to its depth, then the slot's from there.
  if (nc::CheckPassCount(ctx, rec, std::fabs(rec.v[kProcZ]) + 2 * std::fabs(p[5]), 0) != 0) return -1;
  if (rec.v[kProcOff] != 0) return CounterboreLongHoleRoughMill(ctx, out, rec, p);
  return CounterboreLongHoleFinishMill(ctx, out, rec, p);
}

int CounterboreLongHoleFinishMill(Context& ctx, TextSink& out, NcProcessRecord& rec,
                                  const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : CounterboreLongHoleFinishMill", 0);
  const std::vector<ContourPoint> c =
      CounterboreLongHoleContour(p[1], p[0], p[4], p[3], rec.v[kProcOff], CutterRadius(rec));
  const double counterbore = -p[5];
  const std::vector<double> upper = PassDepths(0, rec.v[kProcQ], counterbore, std::nullopt);
  const std::vector<double> lower = PassDepths(counterbore, rec.v[kProcQ], rec.v[kProcZ], std::nullopt);
  // 1. The counterbore, its loop from point 9; 2. the slot below it from the counterbore depth, its
  //    loop from point 2.
  struct Stage {
    const std::vector<double>& depths;
    double from;
    std::size_t first;
  };
  const Stage stages[] = {{upper, 0, 9}, {lower, counterbore, 2}};
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : SlotCentres(ctx, rec)) {
    for (const Stage& s : stages) {
      double previous = s.from;
      for (double z : s.depths) {
        w.Rapid(at.x + c[1].x, at.y + c[1].y, w.last().z);
        Plunge(w, rec, previous, z);
        w.SetFeed(rec.v[kProcF]);
        WallLoop(w, c, s.first, at);
        w.RapidZ(rec.v[kProcStartZ]);
        previous = z;
      }
    }
  }
  w.Rapid(0, 0, w.last().z);
  return 0;
}

int CounterboreLongHoleRoughMill(Context& ctx, TextSink& out, NcProcessRecord& rec, const HoleParameters& p) {
  ctx.reporter.Report("!!! routine name : CounterboreLongHoleRoughMill", 0);
  const std::vector<ContourPoint> c =
      CounterboreLongHoleContour(p[1], p[0], p[4], p[3], rec.v[kProcOff], CutterRadius(rec));
  const double counterbore = -p[5];
  const std::vector<double> upper = PassDepths(0, rec.v[kProcQ], counterbore, std::nullopt);
  const std::vector<double> lower = PassDepths(counterbore, rec.v[kProcQ], rec.v[kProcZ], std::nullopt);
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : SlotCentres(ctx, rec)) {
    // 1. Counterbore stage: the centre line, the slot walls, then the counterbore walls.
    double previous = 0;
    for (double z : upper) {
      w.Rapid(at.x + c[0].x, at.y + c[0].y, w.last().z);
      Plunge(w, rec, previous, z);
      w.SetFeed(rec.v[kProcF]);
      w.Contour(c, 1, 1, at);
      WallLoop(w, c, 2, at);
      WallLoop(w, c, 9, at);
      w.RapidZ(rec.v[kProcStartZ]);
      previous = z;
    }
    // 2. Slot stage from the counterbore depth: the centre line and the slot walls.
    previous = counterbore;
    for (double z : lower) {
      w.Rapid(at.x + c[0].x, at.y + c[0].y, w.last().z);
      Plunge(w, rec, previous, z);
      w.SetFeed(rec.v[kProcF]);
      w.Contour(c, 1, 1, at);
      WallLoop(w, c, 2, at);
      w.RapidZ(rec.v[kProcStartZ]);
      previous = z;
    }
  }
  w.Rapid(0, 0, w.last().z);
  return 0;
}

}  // namespace talvorin
