// The contour program as a control cuts it: LinuxCNC's rs274 interprets the program of the shipped
// sample with its own cutter compensation, and the tool centre must run on the contour offset by the
// tool radius: every compensated move within 0.01 mm of it, the whole contour cut, nothing beyond it.
#include <cmath>
#include <numbers>

#include "EuklidTestSupport.h"
#include "Rs274.h"

namespace talvorin::test {
namespace {

constexpr double kTolerance = 0.01;
constexpr double kRadius = 3;  // the 6 mm end mill
constexpr double kDepth = -5;

using Points = std::vector<std::pair<double, double>>;

void AddLine(Points& points, double x0, double y0, double x1, double y1, double step = 0.02) {
  const int n = std::max(1, static_cast<int>(std::hypot(x1 - x0, y1 - y0) / step));
  for (int k = 0; k <= n; ++k)
    points.emplace_back(x0 + (x1 - x0) * k / n, y0 + (y1 - y0) * k / n);
}

// From angle a0 to a1 (degrees) about (cx, cy).
void AddArc(Points& points, double cx, double cy, double r, double a0, double a1, double step = 0.02) {
  const int n = std::max(1, static_cast<int>(std::fabs(a1 - a0) * std::numbers::pi / 180 * r / step));
  for (int k = 0; k <= n; ++k) {
    const double a = (a0 + (a1 - a0) * k / n) * std::numbers::pi / 180;
    points.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
}

// The sample contour (euklid/PLATE-CONTOUR.csv), clockwise from (0, 10), from `firstY` on along its
// first line.
Points SampleContour(double firstY = 10) {
  Points p;
  AddLine(p, 0, firstY, 0, 40);
  AddArc(p, 10, 40, 10, 180, 90);
  AddLine(p, 10, 50, 45, 50);
  AddArc(p, 55, 50, 10, 180, 360);
  AddLine(p, 65, 50, 80, 50);
  AddLine(p, 80, 50, 80, 10);
  AddArc(p, 70, 10, 10, 0, -90);
  AddLine(p, 70, 0, 10, 0);
  AddArc(p, 10, 10, 10, 270, 180);
  return p;
}

double DistanceToWall(const Points& wall, double x, double y) {
  double best = 1e9;
  for (const auto& [wx, wy] : wall)
    best = std::min(best, std::hypot(wx - x, wy - y));
  return best;
}

// Points along a move of the tool centre.
Points Along(const CanonMove& m) {
  Points p;
  if (!m.arc) {
    AddLine(p, m.x0, m.y0, m.x, m.y, 0.1);
    return p;
  }
  const double r = std::hypot(m.x0 - m.cx, m.y0 - m.cy);
  double a0 = std::atan2(m.y0 - m.cy, m.x0 - m.cx) * 180 / std::numbers::pi;
  double a1 = std::atan2(m.y - m.cy, m.x - m.cx) * 180 / std::numbers::pi;
  if (m.turn > 0 && a1 <= a0) a1 += 360;
  if (m.turn < 0 && a1 >= a0) a1 -= 360;
  AddArc(p, m.cx, m.cy, r, a0, a1, 0.1);
  return p;
}

class ContourInterpreter : public EuklidTest {
 protected:
  void SetUp() override {
    if (Rs274Path().empty())
      GTEST_SKIP()
          << "rs274 (Debian package linuxcnc-uspace) is not installed; scripts/install-deps.sh installs it";
  }
};

TEST_F(ContourInterpreter, CompensatedPathRunsOnTheContourOffsetByTheToolRadius) {
  // The sample's program as the user makes it: S45C, a 6 mm end mill as T7 with D7.
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, folder.File("euklid/PLATE-CONTOUR.csv")), 0);
  form.material = "S45C";
  form.toolDiameter = "6";
  ASSERT_EQ(EukToolDiameterEvent(ctx(), form), 0);
  form.toolNumber = "7";
  EukToolNumberEvent(form);
  ASSERT_EQ(SaveEuklidNcForm(ctx(), form, true), 0);
  ASSERT_EQ(MakeEuklidFanucNcdata(ctx()), 0);

  const Rs274Run run = RunRs274(folder.Read("ncdata/O" + form.programNumber + ".NC"), {{7, 6.0}});
  ASSERT_EQ(run.status, 0) << run.messages;
  const Points wall = SampleContour();

  // The whole contour is cut and never beyond it. The interpreter starts the compensation where the
  // offset of the entry move meets the offset of the first line, (-3, 13), where a FANUC control puts
  // the tool beside the start point, (-3, 10): the first 3 mm of the first line are the interpreter's
  // own strip (at most 0.34 mm), the rest of the wall is held to the radius.
  const WallReach reach = MeasureWall(run.moves, SampleContour(kRadius + 10), kDepth, 7);
  EXPECT_LE(reach.farthest, kRadius + kTolerance) << "a strip of the contour stays uncut";
  EXPECT_GE(reach.nearest, kRadius - kTolerance) << "cut beyond the contour";
  const WallReach whole = MeasureWall(run.moves, wall, kDepth, 7);
  EXPECT_LE(whole.farthest, kRadius + 0.34) << "more than the interpreter's entry strip stays uncut";
  EXPECT_GE(whole.nearest, kRadius - kTolerance) << "cut beyond the contour";

  // Every move at the depth between the lead-in and the lead-out runs on the offset contour.
  std::vector<const CanonMove*> cuts;
  for (const CanonMove& m : run.moves)
    if (m.feed && std::fabs(m.z0 - kDepth) < 1e-6 && std::fabs(m.z - kDepth) < 1e-6) cuts.push_back(&m);
  ASSERT_GE(cuts.size(), 11u);  // lead-in, nine elements and the corner arcs, lead-out
  int checked = 0;
  for (std::size_t k = 1; k + 1 < cuts.size(); ++k)
    for (const auto& [x, y] : Along(*cuts[k])) {
      const double d = DistanceToWall(wall, x, y);
      EXPECT_NEAR(d, kRadius, kTolerance) << "move " << k << " at X" << x << " Y" << y;
      ++checked;
    }
  EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace talvorin::test
