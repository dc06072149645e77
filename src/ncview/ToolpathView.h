// The toolpath as a view shows it: the plan (X, Y) or the side (X, Z) mapped to pixels, the pieces
// to draw at that zoom (what falls within one pixel of the last drawn point is merged, what lies
// outside the view is left out, so the drawing stays bounded by the view's pixels), and the line
// under a pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "ncview/Toolpath.h"

namespace talvorin {

enum class ViewPlane : std::uint8_t { kPlan, kSide };  // X-Y seen from above, X-Z seen from the front

// Model millimetres to pixels: u = X, v = Y (plan) or Z (side); pixel = (originX + scale u,
// originY - scale v), so that Y and Z point up.
struct ViewMapping {
  ViewPlane plane = ViewPlane::kPlan;
  double scale = 1;  // pixels per mm
  double originX = 0, originY = 0;
  int width = 0, height = 0;

  double PixelX(double u) const { return originX + scale * u; }
  double PixelY(double v) const { return originY - scale * v; }
  double U(double x, double) const { return x; }
  double V(double y, double z) const { return plane == ViewPlane::kPlan ? y : z; }
};

// The mapping that shows all of `box` in a view of width x height pixels with `margin` pixels
// around; an empty box shows 100 mm about the origin.
ViewMapping FitView(const ToolpathBox& box, ViewPlane plane, int width, int height, int margin);

// Zooms by `factor` about pixel (px, py), which keeps showing the same point; the scale is held to
// 1e-4 to 1e5 pixels per mm.
void ZoomView(ViewMapping& view, double factor, double px, double py);

// One piece to draw, in pixels.
struct DrawnPiece {
  std::uint16_t tool = 0;  // tool slot
  bool rapid = false;      // rapids dashed, the rest solid
  bool arc = false;        // an arc about (cx, cy) of `radius`, from `start` degrees over `sweep`
                           // degrees (counter-clockwise positive, as seen); else a line
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  float cx = 0, cy = 0, radius = 0, start = 0, sweep = 0;
};

// The pieces of moves [first, last) that can be seen in the view. With `merge`, a move that ends
// within one pixel of the last drawn point is merged into the next; arcs smaller than two pixels
// become lines. The side view draws arcs as lines through points of the arc.
void VisitMoves(const ToolpathModel& model, const ViewMapping& view, std::size_t first, std::size_t last,
                bool merge, const std::function<void(const DrawnPiece&)>& draw);

// One hole mark in pixels: plan view at (x, top) -- `top` is the Y pixel -- side view the vertical line
// at x from `top` (initial level) over `r` to `bottom`.
struct DrawnHole {
  std::uint16_t tool = 0;
  float x = 0, top = 0, r = 0, bottom = 0;
};

// The hole marks of holes [first, last) in the view; with `merge`, a mark drawn on the same pixels
// as one before it is left out.
void VisitHoles(const ToolpathModel& model, const ViewMapping& view, std::size_t first, std::size_t last,
                bool merge, const std::function<void(const DrawnHole&)>& draw);

// The source line of the move or hole nearest to pixel (px, py) within `tolerance` pixels; -1 when
// none is that near.
long long LineAtPixel(const ToolpathModel& model, const ViewMapping& view, double px, double py,
                      double tolerance);

}  // namespace talvorin
