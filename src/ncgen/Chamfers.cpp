// Chamfers milled on a circle with the chamfer tool (operation code 3): the edge of a counterbore, of a
// big hole, and of a drilled hole whose chamfer is wider than the cutter.
#include <cmath>

#include "ncgen/NcCommon.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr int kChamferPositions = 100;     // X0/Y0 to X99/Y99
constexpr std::size_t kCommandLimit = 32;  // "command": 31 bytes here

// The hole's kind label; -1 (reported) when it is missing.
int ReadCommand(Context& ctx, const NcProcessRecord& rec, std::string& command) {
  const std::string section = ProcessHoleSection(rec);
  command = ReadString(ctx.dbPath, section, "command", kCommandLimit);
  if (command.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] command= 穴の種類の取得失敗", section.c_str());
  return 0;
}

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// Parameters 0 to 9 as numbers (missing: 0); a chamfer needs no check of parameter 0.
HoleParameters ReadParameters(Context& ctx, const NcProcessRecord& rec) {
  HoleParameters p{};
  for (int k = 0; k < kHoleParameters; ++k)
    p[static_cast<std::size_t>(k)] = AtoF(ReadString(ctx.dbPath, ProcessHoleSection(rec),
                                                     Sprintf("%s%d", "variable", k), nc::kCoordinateLimit));
  return p;
}

// One chamfer circle per position: in at `entry` from the centre, down to `depth` at three times the
// feed, out to the path radius, the full circle, back to `entry`, up at the feed.
void ChamferCircles(Context& ctx, TextSink& out, NcProcessRecord& rec, double entry, double depth, double r) {
  const double startZ = rec.v[kProcStartZ];
  nc::MoveWriter w(out, rec);
  for (const PlanePoint& at : nc::ReadPositions(ctx, ProcessHoleSection(rec), "", kChamferPositions)) {
    w.Rapid(at.x + entry, at.y, startZ);
    w.RapidZ(rec.v[kProcR]);
    w.SetFeed(nc::Round0(3 * rec.v[kProcF]));
    w.FeedZ(depth);
    w.SetFeed(rec.v[kProcF]);
    w.Feed(at.x + r, at.y);
    if (nc::Round3(r) != 0) w.Arc(at.x + r, at.y, -r, 0);  // a circle of radius 0 is no block
    w.Feed(at.x + entry, at.y);
    w.FeedZ(startZ);
  }
}

}  // namespace

int GetCounterboreChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : GetCounterboreChamferMill", 0);
  std::string command;
  if (ReadCommand(ctx, rec, command) != 0) return -1;
  if (!Contains(command, "COUNTERBORE") && !Contains(command, "ザグリ"))
    return ctx.reporter.Report("エラー：ザグリ穴ではありません", 0);
  const HoleParameters p = ReadParameters(ctx, rec);
  const double dc = p[2], h = std::fabs(p[3]), c = p[4];
  if (c <= 0) return ctx.reporter.Report("エラー：ザグリ穴に面取りはありません", -1);
  // The depth of the tool tip, at most 5 and above the counterbore floor.
  double t = c + dc / 2;
  if (t >= 6) t = 5;
  if (h < t) t = h - 0.5;
  return MakeCounterboreChamferMill(ctx, out, rec, t, dc / 2 - t + c);
}

int MakeCounterboreChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec, double t, double r) {
  ctx.reporter.Report("!!! routine name : MakeCounterboreChamferMill", 0);
  ChamferCircles(ctx, out, rec, 0, -t, r);
  return 0;
}

int BigHoleChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : BigHoleChamferMill", 0);
  std::string command;
  if (ReadCommand(ctx, rec, command) != 0) return -1;
  if (!Contains(command, "BIGHOLE") && !Contains(command, "大穴"))
    return ctx.reporter.Report("エラー：大穴ではありません", 0);
  const HoleParameters p = ReadParameters(ctx, rec);
  if (p[2] <= 0) return ctx.reporter.Report("エラー：大穴に面取りはありません", -1);
  // The tool tip at the process depth Z (negative) puts the edge on this radius.
  return MakeCircleChamferMill(ctx, out, rec, p[2] + p[0] / 2 + rec.v[kProcZ]);
}

int DrillChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : DrillChamferMill", 0);
  const HoleParameters p = ReadParameters(ctx, rec);
  const double hole = p[0], chamfer = p[2], depth = rec.v[kProcZ], cutter = rec.v[kProcDiameter];
  // The path radius of the big hole's circle chamfer. The tool enters at the hole's centre (the hole is
  // narrower than the cutter) and its tip must stay within the cone of the cutter: deeper than half its
  // diameter the shank would cut a wall instead of the chamfer.
  const double r = chamfer + hole / 2 + depth;
  if (!(chamfer > 0) || !(r >= 0) || !(-depth <= cutter / 2))
    return ctx.reporter.Reportf(-1, "エラー：[%s] 面取り %s は径 %s の面取カッター、深さ %s では削れません",
                                ProcessHoleSection(rec).c_str(), FormatNumber(chamfer, false).c_str(),
                                FormatNumber(cutter, false).c_str(), FormatNumber(depth, true).c_str());
  ChamferCircles(ctx, out, rec, 0, depth, r);
  return 0;
}

int MakeCircleChamferMill(Context& ctx, TextSink& out, NcProcessRecord& rec, double r) {
  ctx.reporter.Report("!!! routine name : MakeCircleChamferMill", 0);
  ChamferCircles(ctx, out, rec, r - rec.v[kProcDiameter] / 2, rec.v[kProcZ], r);
  return 0;
}

}  // namespace talvorin
