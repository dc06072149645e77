// The toolpath mapped to a view's pixels: fitting and zooming, the pieces worth drawing at the zoom,
// and the line under a pixel.
#include "ncview/ToolpathView.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace talvorin {
namespace {

constexpr double kDegrees = 180.0 / 3.141592653589793;
constexpr double kMinScale = 1e-4, kMaxScale = 1e5;
// Pixels beyond the view's edge that still count as inside (thick pens, hole marks).
constexpr double kEdge = 8;

bool IsArc(const ToolpathMove& m) {
  return m.kind == MoveKind::kArcCw || m.kind == MoveKind::kArcCcw;
}

struct Pixel {
  double x = 0, y = 0;
};

Pixel ToPixel(const ViewMapping& v, double x, double y, double z) {
  return {v.PixelX(v.U(x, y)), v.PixelY(v.V(y, z))};
}

// The chunk's box in pixels overlaps the view (with the edge allowance).
bool ChunkVisible(const ViewMapping& v, const ToolpathBox& box, double allowance) {
  if (box.empty) return false;
  const double left = v.PixelX(box.minX), right = v.PixelX(box.maxX);
  const double bottomV = v.plane == ViewPlane::kPlan ? box.minY : box.minZ;
  const double topV = v.plane == ViewPlane::kPlan ? box.maxY : box.maxZ;
  const double top = v.PixelY(topV), bottom = v.PixelY(bottomV);
  return right >= -allowance && left <= v.width + allowance && bottom >= -allowance &&
         top <= v.height + allowance;
}

// Pixels are kept as floats for the painter: a point far outside is held where floats still work.
float Clamp(double p) {
  return static_cast<float>(std::clamp(p, -1e7, 1e7));
}

bool SamePixel(const Pixel& a, const Pixel& b) {
  return std::fabs(a.x - b.x) < 1 && std::fabs(a.y - b.y) < 1;
}

// Distance from p to the segment a-b.
double SegmentDistance(const Pixel& p, const Pixel& a, const Pixel& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Points along an arc move for the side view and for hit tests: `count` + 1 points from its start to
// its end, Z following the sweep.
template <class Visit>
void ArcPoints(const NcPoint& from, const ToolpathMove& m, int count, Visit visit) {
  const double radius = std::hypot(from.x - m.cx, from.y - m.cy);
  const double start = std::atan2(from.y - m.cy, from.x - m.cx);
  const double sweep = ArcSweep(from, m) / kDegrees;
  for (int k = 0; k <= count; ++k) {
    const double t = static_cast<double>(k) / count;
    const double a = start + sweep * t;
    visit(m.cx + radius * std::cos(a), m.cy + radius * std::sin(a), from.z + (m.z - from.z) * t);
  }
}

}  // namespace

ViewMapping FitView(const ToolpathBox& box, ViewPlane plane, int width, int height, int margin) {
  ViewMapping v;
  v.plane = plane;
  v.width = width;
  v.height = height;
  double u0 = -50, u1 = 50, w0 = -50, w1 = 50;
  if (!box.empty) {
    u0 = box.minX, u1 = box.maxX;
    w0 = plane == ViewPlane::kPlan ? box.minY : box.minZ;
    w1 = plane == ViewPlane::kPlan ? box.maxY : box.maxZ;
  }
  const double spanU = std::max(u1 - u0, 1e-3), spanV = std::max(w1 - w0, 1e-3);
  const double usableW = std::max(width - 2 * margin, 1), usableH = std::max(height - 2 * margin, 1);
  v.scale = std::clamp(std::min(usableW / spanU, usableH / spanV), kMinScale, kMaxScale);
  // The box's centre in the view's centre.
  v.originX = width / 2.0 - v.scale * (u0 + u1) / 2;
  v.originY = height / 2.0 + v.scale * (w0 + w1) / 2;
  return v;
}

void ZoomView(ViewMapping& v, double factor, double px, double py) {
  const double scale = std::clamp(v.scale * factor, kMinScale, kMaxScale);
  const double u = (px - v.originX) / v.scale, w = (v.originY - py) / v.scale;
  v.scale = scale;
  v.originX = px - scale * u;
  v.originY = py + scale * w;
}

void VisitMoves(const ToolpathModel& model, const ViewMapping& v, std::size_t first, std::size_t last,
                bool merge, const std::function<void(const DrawnPiece&)>& draw) {
  last = std::min(last, model.moves.size());
  Pixel anchor;
  bool anchored = false;  // anchor is where the last drawn piece ended
  std::size_t k = first;
  while (k < last) {
    const std::size_t chunk = k / kMovesPerChunk;
    const std::size_t chunkEnd = std::min(last, (chunk + 1) * kMovesPerChunk);
    if (chunk < model.chunkBoxes.size() && !ChunkVisible(v, model.chunkBoxes[chunk], kEdge)) {
      anchored = false;
      k = chunkEnd;
      continue;
    }
    NcPoint from = MoveStart(model, k);
    for (; k < chunkEnd; ++k) {
      const ToolpathMove& m = model.moves[k];
      const NcPoint to{m.x, m.y, m.z};
      DrawnPiece piece;
      piece.tool = m.tool;
      piece.rapid = m.kind == MoveKind::kRapid;
      const Pixel a = ToPixel(v, from.x, from.y, from.z), b = ToPixel(v, to.x, to.y, to.z);
      if (m.kind == MoveKind::kJump) {
        anchored = false;
      } else if (IsArc(m) && v.plane == ViewPlane::kPlan &&
                 std::hypot(from.x - m.cx, from.y - m.cy) * v.scale >= 2) {
        const double radius = std::hypot(from.x - m.cx, from.y - m.cy);
        const Pixel c = ToPixel(v, m.cx, m.cy, 0);
        piece.arc = true;
        piece.x0 = Clamp(a.x), piece.y0 = Clamp(a.y), piece.x1 = Clamp(b.x), piece.y1 = Clamp(b.y);
        piece.cx = Clamp(c.x), piece.cy = Clamp(c.y);
        piece.radius = static_cast<float>(radius * v.scale);
        piece.start = static_cast<float>(std::atan2(from.y - m.cy, from.x - m.cx) * kDegrees);
        piece.sweep = static_cast<float>(ArcSweep(from, m));
        draw(piece);
        anchor = b, anchored = true;
      } else if (IsArc(m) && std::hypot(from.x - m.cx, from.y - m.cy) * v.scale >= 2) {
        // The side view of an arc: lines through its points, about one per four pixels of radius.
        const double radius = std::hypot(from.x - m.cx, from.y - m.cy) * v.scale;
        const int count = static_cast<int>(std::clamp(radius / 4, 4.0, 64.0));
        Pixel previous = a;
        bool firstPoint = true;
        ArcPoints(from, m, count, [&](double x, double y, double z) {
          const Pixel p = ToPixel(v, x, y, z);
          if (!firstPoint && !(merge && SamePixel(previous, p))) {
            piece.x0 = Clamp(previous.x), piece.y0 = Clamp(previous.y);
            piece.x1 = Clamp(p.x), piece.y1 = Clamp(p.y);
            draw(piece);
            previous = p;
          }
          firstPoint = false;
        });
        anchor = b, anchored = true;
      } else {
        // A line (or an arc too small to show as one): from the anchor when it is within a pixel of
        // the start, merged away when it ends within a pixel of the anchor.
        const Pixel begin = merge && anchored && SamePixel(anchor, a) ? anchor : a;
        if (!(merge && SamePixel(begin, b))) {
          piece.x0 = Clamp(begin.x), piece.y0 = Clamp(begin.y), piece.x1 = Clamp(b.x), piece.y1 = Clamp(b.y);
          draw(piece);
          anchor = b;
        } else {
          anchor = begin;
        }
        anchored = true;
      }
      from = to;
    }
  }
}

void VisitHoles(const ToolpathModel& model, const ViewMapping& v, std::size_t first, std::size_t last,
                bool merge, const std::function<void(const DrawnHole&)>& draw) {
  last = std::min(last, model.holes.size());
  std::unordered_set<std::uint64_t> drawn;  // pixels of the marks drawn, with their tool
  for (std::size_t k = first; k < last; ++k) {
    const HoleMark& h = model.holes[k];
    DrawnHole mark;
    mark.tool = h.tool;
    mark.x = Clamp(v.PixelX(h.x));
    if (v.plane == ViewPlane::kPlan) {
      mark.top = mark.r = mark.bottom = Clamp(v.PixelY(h.y));
    } else {
      mark.top = Clamp(v.PixelY(h.top));
      mark.r = Clamp(v.PixelY(h.r));
      mark.bottom = Clamp(v.PixelY(h.bottom));
    }
    const float upper = std::min(mark.top, mark.bottom), lower = std::max(mark.top, mark.bottom);
    if (mark.x < -kEdge || mark.x > v.width + kEdge || lower < -kEdge || upper > v.height + kEdge) continue;
    if (merge) {
      const auto px = static_cast<std::uint64_t>(static_cast<std::int64_t>(mark.x) & 0xFFFF);
      const auto pt = static_cast<std::uint64_t>(static_cast<std::int64_t>(mark.top) & 0xFFFF);
      const auto pb = static_cast<std::uint64_t>(static_cast<std::int64_t>(mark.bottom) & 0xFFFF);
      const std::uint64_t key = px | pt << 16 | pb << 32 | static_cast<std::uint64_t>(h.tool) << 48;
      if (!drawn.insert(key).second) continue;
    }
    draw(mark);
  }
}

long long LineAtPixel(const ToolpathModel& model, const ViewMapping& v, double px, double py,
                      double tolerance) {
  const Pixel p{px, py};
  double best = tolerance;
  long long line = -1;
  ViewMapping near = v;  // the view reduced to the pixels about p, for the chunk test
  near.originX -= px - tolerance;
  near.originY -= py - tolerance;
  near.width = near.height = static_cast<int>(2 * tolerance + 1);
  for (std::size_t chunk = 0; chunk < model.chunkBoxes.size(); ++chunk) {
    if (!ChunkVisible(near, model.chunkBoxes[chunk], 0)) continue;
    const std::size_t first = chunk * kMovesPerChunk;
    const std::size_t last = std::min(model.moves.size(), first + kMovesPerChunk);
    NcPoint from = MoveStart(model, first);
    for (std::size_t k = first; k < last; ++k) {
      const ToolpathMove& m = model.moves[k];
      if (m.kind != MoveKind::kJump) {
        double distance;
        if (IsArc(m)) {
          distance = tolerance + 1;
          Pixel previous{};
          bool firstPoint = true;
          ArcPoints(from, m, 64, [&](double x, double y, double z) {
            const Pixel q = ToPixel(v, x, y, z);
            if (!firstPoint) distance = std::min(distance, SegmentDistance(p, previous, q));
            previous = q;
            firstPoint = false;
          });
        } else {
          distance = SegmentDistance(p, ToPixel(v, from.x, from.y, from.z), ToPixel(v, m.x, m.y, m.z));
        }
        if (distance < best) best = distance, line = m.line;
      }
      from = {m.x, m.y, m.z};
    }
  }
  for (const HoleMark& h : model.holes) {
    const Pixel top = ToPixel(v, h.x, h.y, h.top), bottom = ToPixel(v, h.x, h.y, h.bottom);
    const double distance = SegmentDistance(p, top, bottom);
    if (distance < best) best = distance, line = h.line;
  }
  return line;
}

}  // namespace talvorin
