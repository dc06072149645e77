// The circle screen: equally spaced hole positions on a circle, anticlockwise from +X.
#include <cmath>
#include <numbers>

#include "holes/Holes.h"
#include "store/Numbers.h"

namespace talvorin {

void SetRotationCount(CircleForm& circle) {
  if (!circle.step.empty()) {
    // A negative step runs clockwise round the same number of points; a step of 0 (or no number)
    // gives no count and leaves the field as it is.
    double points = 360.0 / std::fabs(AtoF(circle.step));
    if (std::isfinite(points)) circle.count = Sprintf("%.0f", points);
  }
  if (circle.start.empty()) circle.start = std::string("0");
}

int Circles2Angle_Calculation(Context& ctx, CircleForm& circle, ShapeForm& form) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : Circles2Angle_Calculation", 0);

  // 1. The rows are emptied first, also when an input is missing below.
  for (CoordinateRow& row : form.rows)
    row = CoordinateRow{};

  // 2-3. Every input field must be filled.
  const std::string* circleFields[] = {&circle.centreX, &circle.centreY, &circle.radius};
  for (int i = 0; i < 3; ++i)
    if (circleFields[i]->empty()) return rep.Reportf(-1, "エラー：[ID=%d] 円の情報取出失敗", 2400 + i);
  const std::string* angleFields[] = {&circle.step, &circle.start, &circle.count};
  for (int i = 0; i < 3; ++i)
    if (angleFields[i]->empty()) return rep.Reportf(-1, "エラー：[ID=%d] 角度情報取出失敗", 2403 + i);

  const double cx = AtoF(circle.centreX), cy = AtoF(circle.centreY), r = AtoF(circle.radius);
  const double step = AtoF(circle.step), start = AtoF(circle.start);
  // A step of 0 would put every point on the first one.
  if (step == 0) return rep.Report("エラー：[ID=2403] 分割角度 0 では円上の座標を計算できません", -1);
  // The whole number of points, at most one per row.
  double count = std::trunc(AtoF(circle.count));
  int points = count > 0 ? static_cast<int>(std::fmin(count, kCoordinateRows)) : 0;

  // 4. Point i at angle i * step + start; a coordinate that would print as "-0." shows as 0.
  for (int i = 0; i < points; ++i) {
    double a = (i * step + start) * std::numbers::pi / 180.0;
    double xy[] = {cx + r * std::cos(a), cy + r * std::sin(a)};
    for (double& v : xy)
      if (v > -0.0005 && v < 0) v = 0;
    form.rows[static_cast<std::size_t>(i)] = {FormatNumber(xy[0], true), FormatNumber(xy[1], true)};
  }
  return 0;
}

}  // namespace talvorin
