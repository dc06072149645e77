// The block writer's modal rules, the point rotation and its rounding, the long-hole contours and the
// depth schedule with its clamps.
#include <cmath>

#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

// The block writer driven as a milling routine drives it.
struct Writer {
  StringSink sink;
  MovePosition last;
  MoveFeed feed;
  MoveState state;

  void Move(int motion, double x, double y, double z, double i = 0, double j = 0) {
    MovePosition target{x, y, z, i, j};
    state.motion = motion;
    WriteMoveBlock(sink, last, target, feed, state);
  }
};

TEST(WriteMoveBlock, FinishContourExample) {
  Writer w;
  w.last = {30, 10, -5, 0, 0};
  w.state.lastMotion = 1;
  w.feed = {300, 600};  // after the plunge G01 Z-5. F600
  w.state.compensation = 41;
  w.state.offset = 7;
  w.Move(1, 30, 15, -5);
  w.Move(1, 10, 15, -5);
  w.Move(3, 10, 5, -5, 0, -5);
  w.Move(1, 30, 5, -5);
  w.Move(3, 30, 15, -5, 0, 5);
  w.state.compensation = 40;
  w.Move(1, 30, 10, -5);
  w.Move(0, 30, 10, 50);
  EXPECT_EQ(w.sink.text, Program({"G41 Y15. D07 F300", "X10.", "G03 Y5. J-5.", "G01 X30.", "G03 Y15. J5.",
                                  "G40 G01 Y10.", "G00 Z50."}));
}

TEST(WriteMoveBlock, ModalRules) {
  struct Step {
    int motion;
    double x, y, z, i, j;
    double feed;
    int compensation, offset;
    const char* block;  // "" for no block
  };
  // One writer through all steps: each block depends on what the steps before it wrote.
  const Step steps[] = {
      // A first rapid writes no G00 (the approach block left the control in G00) and only moved axes.
      {0, 0, 20, 0, 0, 0, 0, 0, 0, "Y20."},
      // A rapid that goes nowhere, also when it differs below the printed precision, is no block.
      {0, 0, 20, 0, 0, 0, 0, 0, 0, ""},
      {0, 0.0004, 20.0004, 0, 0, 0, 0, 0, 0, ""},
      // Rapid with all three axes; values print in keep-point form.
      {0, 12.3456, -7.5, 3, 0, 0, 0, 0, 0, "X12.346 Y-7.5 Z3."},
      // The motion code when it changes, the feed in drop-point form when it changes.
      {1, 12.3456, -7.5, -2, 0, 0, 600, 0, 0, "G01 Z-2. F600"},
      {1, 20, -7.5, -2, 0, 0, 600, 0, 0, "X20."},
      {1, 20, -7.5, -2, 0, 0, 12.5, 0, 0, "F12.5"},
      // I and J only on arcs; a full circle has no end point.
      {3, 20, -7.5, -2, -5, 0, 12.5, 0, 0, "G03 I-5."},
      {1, 25, -7.5, -2, 3, 4, 12.5, 0, 0, "G01 X25."},
      // Compensation code first, offset after the axes, both once.
      {1, 25, 0, -2, 0, 0, 12.5, 41, 7, "G41 Y0. D07"},
      {1, 30, 0, -2, 0, 0, 12.5, 0, 0, "X30."},
      // A value within 0.001 of 0 is 0 ("-0." never appears).
      {1, -0.0004, 0, -2, 0, 0, 12.5, 0, 0, "X0."},
      {2, 5, 5, -2, 0.0009, 5, 12.5, 0, 0, "G02 X5. Y5. J5."},
      {1, 5, 5, -2, 0, 0, 12.5, 40, 0, "G40 G01"},
      // A rapid writes no feed; the next cutting block writes it again only when it changed.
      {0, 5, 5, 50, 0, 0, 99, 0, 0, "G00 Z50."},
      {1, 5, 5, 40, 0, 0, 12.5, 0, 0, "G01 Z40."},
  };
  Writer w;
  for (const Step& s : steps) {
    std::size_t before = w.sink.text.size();
    w.feed.current = s.feed;
    if (s.compensation) w.state.compensation = s.compensation;
    if (s.offset) w.state.offset = s.offset;
    w.Move(s.motion, s.x, s.y, s.z, s.i, s.j);
    std::string written = w.sink.text.substr(before);
    EXPECT_EQ(written, *s.block ? std::string(s.block) + "\r\n" : "") << s.block;
  }
  EXPECT_EQ(w.state.compensation, 0);
  EXPECT_EQ(w.state.offset, 0);
}

TEST(WriteMoveBlock, ArcOffsetsServeOneArcOnly) {
  Writer w;
  w.last = {10, 0, 0, 0, 0};
  MovePosition target{10, 0, 0, -10, 0};
  w.state.motion = 3;
  WriteMoveBlock(w.sink, w.last, target, w.feed, w.state);
  EXPECT_EQ(target.i, 0);
  EXPECT_EQ(w.last.i, 0);
  EXPECT_EQ(w.sink.text, Program({"G03 I-10."}));
}

TEST(RotatePoint, RoundsToThreeDecimals) {
  struct Case {
    PlanePoint point, centre;
    double degrees;
    PlanePoint expected;
  };
  const Case cases[] = {
      {{10, 0}, {0, 0}, 90, {0, 10}},      // cos 90 is not exactly 0: rounded away
      {{1, 0}, {0, 0}, 30, {0.866, 0.5}},  // 0.8660254
      {{1, 0}, {0, 0}, 45, {0.707, 0.707}},
      {{30, 10}, {20, 10}, 90, {20, 20}},
      {{30, 10}, {20, 10}, 180, {10, 10}},
      {{1.23456, 0}, {0, 0}, 0, {1.235, 0}},  // the rounding applies at 0 degrees too
      {{2, 1}, {0, 0}, -90, {1, -2}},
  };
  for (const Case& c : cases) {
    PlanePoint p = RotatePoint(c.point, c.centre, c.degrees);
    EXPECT_DOUBLE_EQ(p.x, c.expected.x) << c.degrees;
    EXPECT_DOUBLE_EQ(p.y, c.expected.y) << c.degrees;
  }
}

TEST(LongHoleContour, PointsMotionsAndArcOffsets) {
  // The centre line, the entry on the middle of the upper wall, the walls and end arcs, the upper wall
  // again up to 4 (the overlap) past the entry, back to the centre line.
  std::vector<ContourPoint> c = LongHoleContour(20, 10, 0, 0.2, 4);
  ASSERT_EQ(c.size(), 9u);
  const double expected[9][5] = {{-10, 0, 0, 0, 0},    {10, 0, 1, 0, 0},        {0, 4.8, 1, 0, 0},
                                 {-10, 4.8, 1, 0, 0},  {-10, -4.8, 3, 0, -4.8}, {10, -4.8, 1, 0, 0},
                                 {10, 4.8, 3, 0, 4.8}, {-4, 4.8, 1, 0, 0},      {10, 0, 1, 0, 0}};
  for (std::size_t k = 1; k < 9; ++k) {
    EXPECT_DOUBLE_EQ(c[k].x, expected[k][0]) << k;
    EXPECT_DOUBLE_EQ(c[k].y, expected[k][1]) << k;
    EXPECT_EQ(c[k].motion, static_cast<int>(expected[k][2])) << k;
    EXPECT_DOUBLE_EQ(c[k].i, expected[k][3]) << k;
    EXPECT_NEAR(c[k].j, expected[k][4], 1e-12) << k;
  }
  // Angle 90: point 1 of a slot of L 20 lies at (0, 10); the arcs' offsets turn with it.
  c = LongHoleContour(20, 10, 90, 0, 4);
  EXPECT_DOUBLE_EQ(c[1].x, 0);
  EXPECT_DOUBLE_EQ(c[1].y, 10);
  EXPECT_DOUBLE_EQ(c[2].x, -5);  // the entry (0, 5) turned
  EXPECT_DOUBLE_EQ(c[2].y, 0);
  EXPECT_DOUBLE_EQ(c[4].i, 5);  // point 0 (0, -10) minus point 3 (-5, -10)
  EXPECT_DOUBLE_EQ(c[4].j, 0);
  EXPECT_DOUBLE_EQ(c[6].i, -5);
  EXPECT_DOUBLE_EQ(c[7].y, -4);  // the overlap end (-4, 5) turned
  // Angle 30: rounded points, offsets from the rounded points.
  c = LongHoleContour(20, 10, 30, 0, 4);
  EXPECT_DOUBLE_EQ(c[3].x, -11.16);  // -8.660 - 2.5
  EXPECT_DOUBLE_EQ(c[3].y, -0.67);   // -5 + 4.330
  EXPECT_DOUBLE_EQ(c[4].i, c[0].x - c[3].x);
  EXPECT_DOUBLE_EQ(c[4].j, c[0].y - c[3].y);
  EXPECT_DOUBLE_EQ(c[7].x, -5.964);  // -3.464 - 2.5
  EXPECT_DOUBLE_EQ(c[7].y, 2.33);    // -2 + 4.330
  // A slot shorter than the cutter: the overlap stops at the end of the straight wall.
  c = LongHoleContour(6, 10, 0, 0, 4);
  EXPECT_DOUBLE_EQ(c[7].x, -3);
  EXPECT_DOUBLE_EQ(c[7].y, 5);
}

TEST(LongHoleContour, CounterboreRepeatsTheLoopOnItsWidth) {
  std::vector<ContourPoint> c = CounterboreLongHoleContour(20, 10, 16, 0, 0.5, 4);
  ASSERT_EQ(c.size(), 16u);
  EXPECT_DOUBLE_EQ(c[2].y, 4.5);
  const double cb[7][4] = {{0, 7.5, 1, 0},    {-10, 7.5, 1, 0}, {-10, -7.5, 3, -7.5}, {10, -7.5, 1, 0},
                           {10, 7.5, 3, 7.5}, {-4, 7.5, 1, 0},  {10, 0, 1, 0}};
  for (std::size_t k = 9; k < 16; ++k) {
    EXPECT_DOUBLE_EQ(c[k].x, cb[k - 9][0]) << k;
    EXPECT_DOUBLE_EQ(c[k].y, cb[k - 9][1]) << k;
    EXPECT_EQ(c[k].motion, static_cast<int>(cb[k - 9][2])) << k;
    EXPECT_DOUBLE_EQ(c[k].j, cb[k - 9][3]) << k;
  }
}

TEST(PassDepths, StepsAndClamps) {
  using V = std::vector<double>;
  // Q 3, Z -8, thickness 20.
  EXPECT_EQ(PassDepths(0, 3, -8, 20.0), (V{-3, -6, -8}));
  // One pass straight to the depth.
  EXPECT_EQ(PassDepths(0, 8, -8, 20.0), (V{-8}));
  // A through slot: -20 reaches the thickness, so the pass goes to -22 directly.
  EXPECT_EQ(PassDepths(0, 5, -22, 20.0), (V{-5, -10, -15, -22}));
  // Without the thickness clamp (counterbore stage, then the slot stage from the counterbore depth).
  EXPECT_EQ(PassDepths(0, 5, -22, std::nullopt), (V{-5, -10, -15, -20, -22}));
  EXPECT_EQ(PassDepths(0, 3, -4, std::nullopt), (V{-3, -4}));
  EXPECT_EQ(PassDepths(-4, 3, -10, std::nullopt), (V{-7, -10}));
  // A counterbore deeper than the slot: one pass at the slot depth.
  EXPECT_EQ(PassDepths(-10, 3, -8, std::nullopt), (V{-8}));
  // A step that cannot make progress gives no endless schedule.
  EXPECT_EQ(PassDepths(0, 0, -8, 20.0), V{});
  EXPECT_EQ(PassDepths(0, -3, -8, 20.0), V{});
  EXPECT_EQ(PassDepths(0, 1e-300, -8, 20.0), (V{-8}));
  EXPECT_EQ(PassDepths(0, NAN, -8, 20.0), V{});
}

}  // namespace
}  // namespace talvorin::test
