// The contour program as a control cuts it: LinuxCNC's rs274 interprets the program with its own cutter
// compensation, which starts where the offset entry move meets the offset first element, and the tool
// centre must run on the contour offset by the tool radius: the whole wall cut (its start and the
// closing included), nothing beyond it, and every compensated move between the entry and the exit
// within 0.01 mm of the offset contour. The shipped sample and hand-made contours: one starting in an
// inside corner, one starting on an arc, a round pocket, a contour smaller than the run-on, an open one.
#include <cmath>
#include <numbers>

#include "EuklidTestSupport.h"
#include "Rs274.h"
#include "store/Numbers.h"

namespace talvorin::test {
namespace {

constexpr double kTolerance = 0.01;
constexpr double kRadius = 3;  // the 6 mm end mill
constexpr double kDepth = -5;
constexpr double kPi = std::numbers::pi;

using Points = std::vector<std::pair<double, double>>;

void AddLine(Points& points, double x0, double y0, double x1, double y1, double step = 0.02) {
  const int n = std::max(1, static_cast<int>(std::hypot(x1 - x0, y1 - y0) / step));
  for (int k = 0; k <= n; ++k)
    points.emplace_back(x0 + (x1 - x0) * k / n, y0 + (y1 - y0) * k / n);
}

// From angle a0 to a1 (degrees) about (cx, cy).
void AddArc(Points& points, double cx, double cy, double r, double a0, double a1, double step = 0.02) {
  const int n = std::max(1, static_cast<int>(std::fabs(a1 - a0) * kPi / 180 * r / step));
  for (int k = 0; k <= n; ++k) {
    const double a = (a0 + (a1 - a0) * k / n) * kPi / 180;
    points.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
}

// A contour as the test draws it: its start point, then lines and arcs. It gives the curve file's
// lines and, independently of the program, the points of its wall.
struct Segment {
  char type;  // 'L' or 'C'
  double x, y;
  double cx = 0, cy = 0, radius = 0;  // arc: centre, signed radius (> 0 clockwise)
};

struct Contour {
  double x0, y0;
  std::vector<Segment> segments;

  std::vector<std::string> CurveLines() const {
    std::vector<std::string> lines{Sprintf("P,%g,%g,%g,0,0,0", x0, y0, kDepth)};
    for (const Segment& s : segments)
      lines.push_back(Sprintf("%c,%g,%g,%g,%g,%g,%g", s.type, s.x, s.y, kDepth, s.cx, s.cy, s.radius));
    const Segment& end = segments.back();
    lines.push_back(Sprintf("P,%g,%g,%g,0,0,0", end.x, end.y, kDepth));
    return lines;
  }

  Points Wall() const {
    Points p;
    double x = x0, y = y0;
    for (const Segment& s : segments) {
      if (s.type == 'L') {
        AddLine(p, x, y, s.x, s.y);
      } else {
        const double r = std::fabs(s.radius);
        double a0 = std::atan2(y - s.cy, x - s.cx) * 180 / kPi;
        double a1 = std::atan2(s.y - s.cy, s.x - s.cx) * 180 / kPi;
        const bool full = std::hypot(s.x - x, s.y - y) < 1e-9;
        if (s.radius > 0 && (full || a1 >= a0)) a1 -= 360;  // clockwise: falling angles
        if (s.radius < 0 && (full || a1 <= a0)) a1 += 360;
        AddArc(p, s.cx, s.cy, r, a0, a1);
      }
      x = s.x, y = s.y;
    }
    return p;
  }
};

// The sample contour (euklid/PLATE-CONTOUR.csv), clockwise from (0, 10).
const Contour kSample{0,
                      10,
                      {{'L', 0, 40},
                       {'C', 10, 50, 10, 40, 10},
                       {'L', 45, 50},
                       {'C', 65, 50, 55, 50, -10},
                       {'L', 80, 50},
                       {'L', 80, 10},
                       {'C', 70, 0, 70, 10, 10},
                       {'L', 10, 0},
                       {'C', 0, 10, 10, 10, 10}}};

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
  double a0 = std::atan2(m.y0 - m.cy, m.x0 - m.cx) * 180 / kPi;
  double a1 = std::atan2(m.y - m.cy, m.x - m.cx) * 180 / kPi;
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

  // The program as the user makes it: S45C, a 6 mm end mill as T7 with D7.
  Rs274Run Run(const std::string& curve) {
    EuklidNcForm form;
    EXPECT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
    form.material = "S45C";
    form.toolDiameter = "6";
    EXPECT_EQ(EukToolDiameterEvent(ctx(), form), 0);
    form.toolNumber = "7";
    EukToolNumberEvent(form);
    EXPECT_EQ(SaveEuklidNcForm(ctx(), form, true), 0);
    EXPECT_EQ(MakeEuklidFanucNcdata(ctx()), 0);
    return RunRs274(folder.Read("ncdata/O" + form.programNumber + ".NC"), {{7, 6.0}});
  }

  Rs274Run Run(const Contour& contour) {
    std::string text;
    for (const std::string& line : contour.CurveLines())
      text += line + "\r\n";
    folder.Write("input/contour.csv", text);
    return Run(folder.File("input/contour.csv"));
  }

  // The wall cut whole and never beyond; every cutting move at the depth but the first and last
  // `leads` (entry and exit, and for an open contour its lead-in and run-off lines) on the offset
  // contour. The tool leaves its radius in a sharp inside corner: the wall within a tool radius of
  // one is only held to not being cut beyond.
  void ExpectWallCut(const Rs274Run& run, const Points& wall, std::size_t leads = 1,
                     Points insideCorners = {}) {
    ASSERT_EQ(run.status, 0) << run.messages;
    Points reachable;
    for (const auto& [x, y] : wall)
      if (DistanceToWall(insideCorners, x, y) > kRadius) reachable.emplace_back(x, y);
    EXPECT_LE(MeasureWall(run.moves, reachable, kDepth, 7).farthest, kRadius + kTolerance)
        << "a strip of the wall stays uncut";
    EXPECT_GE(MeasureWall(run.moves, wall, kDepth, 7).nearest, kRadius - kTolerance) << "cut beyond the wall";

    std::vector<const CanonMove*> cuts;
    for (const CanonMove& m : run.moves)
      if (m.feed && std::fabs(m.z0 - kDepth) < 1e-6 && std::fabs(m.z - kDepth) < 1e-6) cuts.push_back(&m);
    ASSERT_GT(cuts.size(), 2 * leads);
    for (std::size_t k = leads; k + leads < cuts.size(); ++k)
      for (const auto& [x, y] : Along(*cuts[k]))
        EXPECT_NEAR(DistanceToWall(wall, x, y), kRadius, kTolerance)
            << "move " << k << " at X" << x << " Y" << y;
  }
};

TEST_F(ContourInterpreter, SampleIsCutWholeFromItsStartThroughTheClosing) {
  const Rs274Run run = Run(folder.File("euklid/PLATE-CONTOUR.csv"));
  ExpectWallCut(run, kSample.Wall());
  // The interpreter starts beside (0, 13), 3 mm up the first line; the closing runs on to (0, 14).
  EXPECT_TRUE(Reaches(run.moves, -3, 13, kDepth));
  EXPECT_TRUE(Reaches(run.moves, -3, 14, kDepth));
}

TEST_F(ContourInterpreter, ContourStartingInAnInsideCorner) {
  // An L-shaped plate, clockwise from the corner of its notch (20, 20): beside that corner the tool
  // would stand in the wall x = 20, so it enters at (35, 20) and the corner is cut on the way round.
  const Contour l{
      20, 20, {{'L', 50, 20}, {'L', 50, 0}, {'L', 0, 0}, {'L', 0, 40}, {'L', 20, 40}, {'L', 20, 20}}};
  const Rs274Run run = Run(l);
  ExpectWallCut(run, l.Wall(), 1, {{20, 20}});
  EXPECT_TRUE(Reaches(run.moves, 23, 23, kDepth));  // the inside corner
}

TEST_F(ContourInterpreter, ContourStartingJustBeforeAnInsideCorner) {
  // The L-shaped plate from (20, 23): the interpreter would start 3 mm down, in the wall Y20.
  const Contour l{
      20,
      23,
      {{'L', 20, 20}, {'L', 50, 20}, {'L', 50, 0}, {'L', 0, 0}, {'L', 0, 40}, {'L', 20, 40}, {'L', 20, 23}}};
  ExpectWallCut(Run(l), l.Wall(), 1, {{20, 20}});
}

TEST_F(ContourInterpreter, ContourStartingOnAnArc) {
  // The sample started at (0, 40), on its first corner arc, clockwise.
  Contour arcFirst{0, 40, {kSample.segments.begin() + 1, kSample.segments.end()}};
  arcFirst.segments.push_back(kSample.segments.front());
  ExpectWallCut(Run(arcFirst), arcFirst.Wall());
}

TEST_F(ContourInterpreter, RoundPocketStartingOnAnAnticlockwiseArc) {
  // A pocket of radius 10 in two halves, the tool inside: the interpreter starts a quarter of a
  // radian along the first half, and the run-on covers it.
  const Contour pocket{10, 0, {{'C', -10, 0, 0, 0, -10}, {'C', 10, 0, 0, 0, -10}}};
  ExpectWallCut(Run(pocket), pocket.Wall());
}

TEST_F(ContourInterpreter, ContourSmallerThanTheRunOn) {
  // A 3 mm square boss: the run-on of 4 mm passes the first corner.
  const Contour boss{0, 0, {{'L', 0, 3}, {'L', 3, 3}, {'L', 3, 0}, {'L', 0, 0}}};
  const Rs274Run run = Run(boss);
  ExpectWallCut(run, boss.Wall());
  EXPECT_TRUE(Reaches(run.moves, 1, 6, kDepth));
}

TEST_F(ContourInterpreter, OpenContourIsCutFromItsStartToItsEnd) {
  // A wall along the X axis and up at X30 (an inside corner), entered along a lead-in line and left
  // along a run-off line, so its first and last millimetres are cut like the rest.
  const Contour open{0, 0, {{'L', 30, 0}, {'L', 30, 20}}};
  const Rs274Run run = Run(open);
  ExpectWallCut(run, open.Wall(), 2, {{30, 0}});
  EXPECT_TRUE(Reaches(run.moves, 27, 24, kDepth));
}

TEST_F(ContourInterpreter, EachContourOfAFileIsCutWhole) {
  // Two squares, each ended by its point line: each has its own approach and closing.
  const Contour near{0, 0, {{'L', 0, 10}, {'L', 10, 10}, {'L', 10, 0}, {'L', 0, 0}}};
  const Contour far{30, 0, {{'L', 30, 10}, {'L', 40, 10}, {'L', 40, 0}, {'L', 30, 0}}};
  std::string text;
  for (const Contour* contour : {&near, &far})
    for (const std::string& line : contour->CurveLines())
      text += line + "\r\n";
  folder.Write("input/two.csv", text);
  const Rs274Run run = Run(folder.File("input/two.csv"));
  ASSERT_EQ(run.status, 0) << run.messages;
  Points walls = near.Wall();
  const Points second = far.Wall();
  walls.insert(walls.end(), second.begin(), second.end());
  const WallReach reach = MeasureWall(run.moves, walls, kDepth, 7);
  EXPECT_LE(reach.farthest, kRadius + kTolerance) << "a strip of a wall stays uncut";
  EXPECT_GE(reach.nearest, kRadius - kTolerance) << "cut beyond a wall";
}

}  // namespace
}  // namespace talvorin::test
