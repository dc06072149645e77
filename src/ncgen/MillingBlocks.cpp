// The block writer of every milling body, the point rotation, the long-hole contours and the depth
// schedule of the passes.
#include <algorithm>
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"

namespace talvorin {

using nc::Round3;

void WriteMoveBlock(TextSink& out, MovePosition& last, MovePosition& target, MoveFeed& feed,
                    MoveState& state) {
  // 1. The distances of the three axes, rounded as they print.
  const double distance[3] = {Round3(target.x - last.x), Round3(target.y - last.y),
                              Round3(target.z - last.z)};
  // 2. A rapid that goes nowhere is no block.
  if (state.motion == 0 && distance[0] == 0 && distance[1] == 0 && distance[2] == 0) return;

  std::string block;
  auto word = [&block](const std::string& w) {
    if (!block.empty()) block += ' ';
    block += w;
  };
  // 3. Pending compensation code first, once.
  if (state.compensation != 0) {
    word(Sprintf("G%d", state.compensation));
    state.compensation = 0;
  }
  // 4. The motion code when it changes (modal).
  if (state.motion != state.lastMotion) {
    word(Sprintf("G%02d", state.motion));
    state.lastMotion = state.motion;
  }
  // 5. Axis words of the axes that move, arc centre offsets that are not 0; values within 0.001 of 0
  //    are 0. I and J serve one arc only.
  auto snap = [](double& v) {
    if (v > -0.001 && v < 0.001) v = 0;
  };
  double* axis[3] = {&target.x, &target.y, &target.z};
  const char letter[3] = {'X', 'Y', 'Z'};
  for (int k = 0; k < 3; ++k) {
    snap(*axis[k]);
    if (distance[k] != 0) word(letter[k] + FormatNumber(*axis[k], true));
  }
  if (state.motion == 2 || state.motion == 3) {
    snap(target.i);
    snap(target.j);
    if (target.i != 0) word("I" + FormatNumber(target.i, true));
    if (target.j != 0) word("J" + FormatNumber(target.j, true));
    target.i = 0;
    target.j = 0;
  }
  last = target;
  // 6. Pending offset number, once.
  if (state.offset != 0) {
    word(Sprintf("D%02d", state.offset));
    state.offset = 0;
  }
  // 7. The feed of a cutting block when it changed, in drop-point form.
  if (state.motion != 0 && feed.current != feed.written) {
    word("F" + FormatNumber(feed.current, false));
    feed.written = feed.current;
  }
  // 8.
  if (!block.empty()) out.Line(block);
}

PlanePoint RotatePoint(PlanePoint point, PlanePoint centre, double degrees) {
  const double a = degrees * 3.141592653589793 / 180;
  const double dx = point.x - centre.x, dy = point.y - centre.y;
  return {Round3(centre.x + std::cos(a) * dx - std::sin(a) * dy),
          Round3(centre.y + std::sin(a) * dx + std::cos(a) * dy)};
}

namespace {

// The contour points with their motions, turned about the centre when the angle is not 0, and the arc
// offsets of the G03 points: the end-arc centre (point 0 or point 1) minus the previous point.
struct RawPoint {
  double x, y;
  int motion;
  int centre;  // index of the arc centre, -1 for straight moves
};

std::vector<ContourPoint> Finish(const std::vector<RawPoint>& raw, double angle) {
  std::vector<ContourPoint> points;
  for (const RawPoint& r : raw) {
    PlanePoint p{r.x, r.y};
    if (angle != 0) p = RotatePoint(p, {0, 0}, angle);
    points.push_back({p.x, p.y, r.motion, 0, 0});
  }
  for (std::size_t k = 1; k < raw.size(); ++k) {
    if (raw[k].centre < 0) continue;
    const ContourPoint& c = points[static_cast<std::size_t>(raw[k].centre)];
    points[k].i = c.x - points[k - 1].x;
    points[k].j = c.y - points[k - 1].y;
  }
  return points;
}

// The centre line (points 0 and 1), then the compensated loop: the entry onto the middle of the upper
// wall (2), the walls and end arcs (3 to 6), the upper wall again up to `overlap` past the entry (7),
// and back to point 1 (8). Entering on a straight wall and cutting past the entry point by the cutter
// radius cuts the whole wall whichever way the control starts its compensation (at the offset of the
// entry point or where the offset entry meets the offset wall); the overlap stays on the straight wall.
std::vector<RawPoint> SlotPoints(double length, double r, double overlap) {
  const double h = length / 2;
  const double o = std::min(overlap, h);
  return {
      {-h, 0, 0, -1}, {h, 0, 1, -1}, {0, r, 1, -1},  {-h, r, 1, -1}, {-h, -r, 3, 0},
      {h, -r, 1, -1}, {h, r, 3, 1},  {-o, r, 1, -1}, {h, 0, 1, -1},
  };
}

}  // namespace

std::vector<ContourPoint> LongHoleContour(double length, double width, double angle, double allowance,
                                          double overlap) {
  return Finish(SlotPoints(length, width / 2 - allowance, overlap), angle);
}

std::vector<ContourPoint> CounterboreLongHoleContour(double length, double width, double cbWidth,
                                                     double angle, double allowance, double overlap) {
  std::vector<RawPoint> raw = SlotPoints(length, width / 2 - allowance, overlap);
  std::vector<RawPoint> counterbore = SlotPoints(length, cbWidth / 2 - allowance, overlap);
  // Points 9 to 15 repeat points 2 to 8 on the counterbore walls.
  raw.insert(raw.end(), counterbore.begin() + 2, counterbore.end());
  return Finish(raw, angle);
}

std::vector<double> PassDepths(double from, double step, double limit, std::optional<double> thickness) {
  std::vector<double> depths;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(from) || !std::isfinite(limit)) return depths;
  double z = from;
  do {
    // Depths are written with three decimals: each pass depth is the printed one, and a step too
    // small to change it ends at the limit instead of repeating forever.
    const double next = Round3(z - step);
    z = next < z ? next : limit;
    if ((thickness && z <= -*thickness) || z < limit) z = limit;
    depths.push_back(z);
  } while (z != limit);
  return depths;
}

}  // namespace talvorin
