#include "ncgen/NcCommon.h"

#include <climits>
#include <cmath>

#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin::nc {

double Round3(double v) {
  return AtoF(Sprintf("%.3f", v));
}

double Round0(double v) {
  return AtoF(Sprintf("%.0f", v));
}

int Whole(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

std::string Num(double v) {
  return FormatNumber(v, true);
}

std::vector<PlanePoint> ReadPositions(Context& ctx, std::string_view section, std::string_view prefix,
                                      int count) {
  std::vector<PlanePoint> points;
  const std::string p(prefix);
  for (int k = 0; k < count; ++k) {
    std::string x = ReadString(ctx.dbPath, section, Sprintf("%sX%d", p.c_str(), k), kCoordinateLimit);
    std::string y = ReadString(ctx.dbPath, section, Sprintf("%sY%d", p.c_str(), k), kCoordinateLimit);
    if (x.empty() || y.empty()) break;
    points.push_back({AtoF(x), AtoF(y)});
  }
  return points;
}

std::vector<std::string> BackReverseLines(Context& ctx, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string line =
        ReadString(ctx.inst.ncTableFile, "backreverse", Sprintf("%s%d", "ncdata", i), kLineLimit);
    if (line.empty()) break;
    lines.push_back(line);
  }
  return lines;
}

bool IsMachineValue(double v) {
  return std::isfinite(v) && std::fabs(v) <= kLargestMachineValue;
}

bool IsNcWordText(std::string_view text) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t k = 0;
  if (text.empty()) return false;
  while (k < text.size()) {
    if (!letter(text[k++])) return false;
    if (k < text.size() && (text[k] == '-' || text[k] == '+')) ++k;
    std::size_t digits = 0, points = 0;
    for (; k < text.size() && (digit(text[k]) || text[k] == '.'); ++k)
      text[k] == '.' ? ++points : ++digits;
    if (digits == 0 || points > 1) return false;
    if (k < text.size() && text[k] == ' ') {
      if (++k == text.size()) return false;
    }
  }
  return true;
}

int CheckStoredValues(Context& ctx, std::string_view section, const std::vector<std::string>& keys,
                      std::size_t limit) {
  for (const std::string& key : keys) {
    std::string text = ReadString(ctx.dbPath, section, key, limit);
    if (text.empty() || IsMachineValue(AtoF(text))) continue;
    return ctx.reporter.Reportf(-1, "エラー：[%.*s] %s=%s 数値が範囲外です", static_cast<int>(section.size()),
                                section.data(), key.c_str(), text.c_str());
  }
  return 0;
}

int CheckHoleGroupValues(Context& ctx, std::string_view section) {
  std::vector<std::string> keys;
  for (int i = 0; i < kHoleParameters; ++i)
    keys.push_back(Sprintf("%s%d", "variable", i));
  for (const char* prefix : {"", "C"})
    for (int k = 0; k < kCoordinateRows; ++k) {
      keys.push_back(Sprintf("%sX%d", prefix, k));
      keys.push_back(Sprintf("%sY%d", prefix, k));
    }
  return CheckStoredValues(ctx, section, keys, kCoordinateLimit);
}

int CheckPassCount(Context& ctx, const NcProcessRecord& rec, double depth, double perPass) {
  // 200,000 blocks for the ten positions of a group, some 5 MB of program: a 500 mm hole cleared by a
  // 10 mm cutter in a hundred passes takes about 11,000 per position.
  constexpr double kBlocksPerPosition = 20000;
  constexpr double kBlocksPerPass = 10;  // plunge, lead-in, wall, lead-out, retract
  const double passes = std::ceil(depth / rec.v[kProcQ]);
  if (passes * (perPass + kBlocksPerPass) <= kBlocksPerPosition) return 0;
  std::string diameterKey, stepKey;
  if (GetProcessKeyName(ctx, kProcDiameter, diameterKey) != 0 || GetProcessKeyName(ctx, kProcQ, stepKey) != 0)
    return -1;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s %s=%s では移動指令が多すぎます",
                              ProcessSection(rec.number).c_str(), diameterKey.c_str(),
                              FormatNumber(rec.v[kProcDiameter], false).c_str(), stepKey.c_str(),
                              FormatNumber(rec.v[kProcQ], false).c_str());
}

int CheckSlotTool(Context& ctx, const NcProcessRecord& rec, const char* what, double width) {
  if (width - 2 * rec.v[kProcOff] > rec.v[kProcDiameter]) return 0;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s %s に対して工具 T%02d の径 %s が大きすぎます",
                              ProcessHoleSection(rec).c_str(), what, FormatNumber(width, false).c_str(),
                              Whole(rec.v[kProcT]), FormatNumber(rec.v[kProcDiameter], false).c_str());
}

int ReadThickness(Context& ctx, double& thickness) {
  std::string value = ReadString(ctx.dbPath, "material", "Z", kCoordinateLimit);
  if (value.empty()) return ctx.reporter.Report("エラー：[material] Z= | db 材料寸法（厚み）読込失敗", -1);
  if (CheckStoredValues(ctx, "material", {"Z"}, kCoordinateLimit) != 0) return -1;
  thickness = AtoF(value);
  return 0;
}

int CheckMillingRecord(Context& ctx, const NcProcessRecord& rec) {
  std::string section = ProcessSection(rec.number);
  struct Check {
    ProcessColumn column;
    const char* message;
  };
  // A missing offset number would write "D999", a missing allowance a contour 999 mm inside the wall.
  const Check missing[] = {
      {kProcD, "エラー：[%s] %s= | db 工具径補正番号取得失敗"},
      {kProcOff, "エラー：[%s] %s= | db 仕上代取得失敗"},
  };
  for (const Check& c : missing) {
    if (rec.v[c.column] != kNotSet) continue;
    std::string key;
    if (GetProcessKeyName(ctx, c.column, key) != 0) return -1;
    return ctx.reporter.Reportf(-1, c.message, section.c_str(), key.c_str());
  }
  // The widening circles step by the tool diameter and the passes by Q: neither may stand still.
  const Check unusable[] = {
      {kProcDiameter, "エラー：[%s] %s=%s 工具径が正しくありません"},
      {kProcQ, "エラー：[%s] %s=%s 切込み量が正しくありません"},
  };
  for (const Check& c : unusable) {
    // Positive as the control reads it: 1e-9 is written as 0.
    double value = rec.v[c.column];
    if (std::isfinite(value) && Round3(value) > 0) continue;
    std::string key;
    if (GetProcessKeyName(ctx, c.column, key) != 0) return -1;
    return ctx.reporter.Reportf(-1, c.message, section.c_str(), key.c_str(),
                                FormatNumber(value, false).c_str());
  }
  return 0;
}

double PlungeFeed(const NcProcessRecord& rec) {
  return Round0(2 * rec.v[kProcF]);
}

MoveWriter::MoveWriter(TextSink& out, const NcProcessRecord& rec) : out_(out), offset_(Whole(rec.v[kProcD])) {
  last_.x = rec.startX;
  last_.y = rec.startY;
  last_.z = rec.v[kProcStartZ];
}

void MoveWriter::StartCompensation() {
  state_.compensation = 41;
  state_.offset = offset_;
}

void MoveWriter::Move(int motion, MovePosition target) {
  state_.motion = motion;
  WriteMoveBlock(out_, last_, target, feed_, state_);
}

void MoveWriter::Rapid(double x, double y, double z) {
  Move(0, {x, y, z, 0, 0});
}

void MoveWriter::RapidZ(double z) {
  Move(0, {last_.x, last_.y, z, 0, 0});
}

void MoveWriter::Feed(double x, double y) {
  Move(1, {x, y, last_.z, 0, 0});
}

void MoveWriter::FeedZ(double z) {
  Move(1, {last_.x, last_.y, z, 0, 0});
}

void MoveWriter::Arc(double x, double y, double i, double j) {
  Move(3, {x, y, last_.z, i, j});
}

void MoveWriter::Contour(const std::vector<ContourPoint>& points, std::size_t from, std::size_t to,
                         PlanePoint at) {
  for (std::size_t k = from; k <= to; ++k) {
    const ContourPoint& p = points[k];
    if (p.motion == 3)
      Arc(at.x + p.x, at.y + p.y, p.i, p.j);
    else
      Feed(at.x + p.x, at.y + p.y);
  }
}

}  // namespace talvorin::nc
