// Questions to a read toolpath: where a move starts, which moves, holes and faults a line has, the
// sweep of an arc, the colour of a tool.
#include <algorithm>
#include <cmath>

#include "ncview/Toolpath.h"

namespace talvorin {

NcPoint MoveStart(const ToolpathModel& model, std::size_t index) {
  if (index == 0 || index > model.moves.size()) {
    return {static_cast<float>(model.start.x), static_cast<float>(model.start.y),
            static_cast<float>(model.start.z)};
  }
  const ToolpathMove& m = model.moves[index - 1];
  return {m.x, m.y, m.z};
}

std::pair<std::size_t, std::size_t> MovesOfLine(const ToolpathModel& model, std::uint32_t line) {
  auto lower = std::lower_bound(model.moves.begin(), model.moves.end(), line,
                                [](const ToolpathMove& m, std::uint32_t l) { return m.line < l; });
  auto upper = std::upper_bound(lower, model.moves.end(), line,
                                [](std::uint32_t l, const ToolpathMove& m) { return l < m.line; });
  // A jump that opens the line is not one of its moves.
  while (lower != upper && lower->kind == MoveKind::kJump)
    ++lower;
  return {static_cast<std::size_t>(lower - model.moves.begin()),
          static_cast<std::size_t>(upper - model.moves.begin())};
}

std::pair<std::size_t, std::size_t> HolesOfLine(const ToolpathModel& model, std::uint32_t line) {
  auto lower = std::lower_bound(model.holes.begin(), model.holes.end(), line,
                                [](const HoleMark& h, std::uint32_t l) { return h.line < l; });
  auto upper = std::upper_bound(lower, model.holes.end(), line,
                                [](std::uint32_t l, const HoleMark& h) { return l < h.line; });
  return {static_cast<std::size_t>(lower - model.holes.begin()),
          static_cast<std::size_t>(upper - model.holes.begin())};
}

std::vector<NcLineFault> FaultsOfLine(const ToolpathModel& model, std::uint32_t line) {
  auto lower = std::lower_bound(model.faults.begin(), model.faults.end(), line,
                                [](const LineFault& f, std::uint32_t l) { return f.line < l; });
  std::vector<NcLineFault> faults;
  for (; lower != model.faults.end() && lower->line == line; ++lower)
    faults.push_back(lower->fault);
  return faults;
}

double ArcSweep(const NcPoint& from, const ToolpathMove& arc) {
  const bool clockwise = arc.kind == MoveKind::kArcCw;
  if (std::fabs(arc.x - from.x) < 0.001 && std::fabs(arc.y - from.y) < 0.001)
    return clockwise ? -360.0 : 360.0;
  constexpr double kDegrees = 180.0 / 3.141592653589793;
  const double cx = arc.cx, cy = arc.cy;  // in double: float arguments would take atan2's float form
  const double start = std::atan2(from.y - cy, from.x - cx) * kDegrees;
  const double end = std::atan2(arc.y - cy, arc.x - cx) * kDegrees;
  double sweep = end - start;  // -360 < sweep < 360
  if (clockwise) {
    if (sweep >= 0) sweep -= 360.0;
  } else if (sweep <= 0) {
    sweep += 360.0;
  }
  return sweep;
}

ToolColour ToolSlotColour(std::size_t slot) {
  static constexpr ToolColour kColours[] = {
      {0, 0, 0},       // slot 0: before the first tool change
      {0, 90, 200},    // blue
      {210, 40, 40},   // red
      {0, 150, 60},    // green
      {200, 110, 0},   // orange
      {140, 40, 170},  // purple
      {0, 150, 160},   // teal
      {170, 130, 0},   // ochre
      {220, 0, 140},   // magenta
      {90, 90, 90},    // grey
      {120, 70, 20},   // brown
      {80, 160, 0},    // yellow-green
      {40, 40, 140},   // navy
  };
  constexpr std::size_t kCount = sizeof kColours / sizeof kColours[0];
  if (slot == 0) return kColours[0];
  return kColours[1 + (slot - 1) % (kCount - 1)];
}

}  // namespace talvorin
