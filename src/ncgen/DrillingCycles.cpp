// The drilling cycles G81 to G84: one canned-cycle block at the first position of the hole group, the
// further positions as bare X/Y lines, and the cycle cancel. The process values are used as stored.
#include "ncgen/NcCommon.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

using nc::kCoordinateLimit;
using nc::Num;

namespace {

constexpr int kPositions = 100;         // positions 0 to 99
constexpr std::size_t kPcodeLimit = 8;  // "PCODE": 7 bytes

// A stored coordinate text of the hole group.
std::string Coordinate(Context& ctx, const std::string& section, char axis, int k) {
  return ReadString(ctx.dbPath, section, Sprintf("%c%d", axis, k), kCoordinateLimit);
}

// The stored texts of position 0; -1 (reported) when one is missing.
int FirstPosition(Context& ctx, const std::string& section, std::string& x, std::string& y) {
  x = Coordinate(ctx, section, 'X', 0);
  if (x.empty()) return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 座標取得失敗", section.c_str(), "X0");
  y = Coordinate(ctx, section, 'Y', 0);
  if (y.empty()) return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 座標取得失敗", section.c_str(), "Y0");
  return 0;
}

// Positions 1 to 99 as stored, up to the first whose X or Y is missing.
void FurtherPositions(Context& ctx, TextSink& out, const std::string& section) {
  for (int k = 1; k < kPositions; ++k) {
    std::string x = Coordinate(ctx, section, 'X', k);
    std::string y = Coordinate(ctx, section, 'Y', k);
    if (x.empty() || y.empty()) return;
    out.Line(Sprintf("X%s Y%s", x.c_str(), y.c_str()));
  }
}

std::string Pcode(Context& ctx) {
  return ReadString(ctx.inst.ncTableFile, "cycle", "PCODE", kPcodeLimit);
}

// The G82 block, with the dwell word between Z and F when "PCODE" is set.
std::string Cycle82Block(const std::string& x, const std::string& y, const NcProcessRecord& rec,
                         const std::string& pcode) {
  std::string r = Num(rec.v[kProcR]), z = Num(rec.v[kProcZ]);
  if (pcode.empty())
    return Sprintf("G98 G82 X%s Y%s R%s Z%s F%.0f", x.c_str(), y.c_str(), r.c_str(), z.c_str(),
                   rec.v[kProcF]);
  return Sprintf("G98 G82 X%s Y%s R%s Z%s %s F%.0f", x.c_str(), y.c_str(), r.c_str(), z.c_str(),
                 pcode.c_str(), rec.v[kProcF]);
}

// G81 and G83 share the frame; `block` forms the cycle block of position 0.
template <typename Block>
int SimpleCycle(Context& ctx, TextSink& out, NcProcessRecord& rec, Block block) {
  std::string section = ProcessHoleSection(rec);
  std::string x, y;
  if (FirstPosition(ctx, section, x, y) != 0) return -1;
  out.Line(block(x, y));
  FurtherPositions(ctx, out, section);
  out.Line("G80");
  return 0;
}

}  // namespace

int HoleCycle81(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : HoleCycle81", 0);
  return SimpleCycle(ctx, out, rec, [&rec](const std::string& x, const std::string& y) {
    return Sprintf("G98 G81 X%s Y%s R%s Z%s F%.0f", x.c_str(), y.c_str(), Num(rec.v[kProcR]).c_str(),
                   Num(rec.v[kProcZ]).c_str(), rec.v[kProcF]);
  });
}

int HoleCycle82(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : HoleCycle82", 0);
  std::string pcode = Pcode(ctx);
  return SimpleCycle(ctx, out, rec, [&rec, &pcode](const std::string& x, const std::string& y) {
    return Cycle82Block(x, y, rec, pcode);
  });
}

int HoleCycle83(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : HoleCycle83", 0);
  return SimpleCycle(ctx, out, rec, [&rec](const std::string& x, const std::string& y) {
    return Sprintf("G98 G83 X%s Y%s R%s Z%s Q%s F%.0f", x.c_str(), y.c_str(), Num(rec.v[kProcR]).c_str(),
                   Num(rec.v[kProcZ]).c_str(), Num(rec.v[kProcQ]).c_str(), rec.v[kProcF]);
  });
}

int HoleCycle84(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : HoleCycle84", 0);
  // 1-2. Feed per revolution (the feed is then the pitch), and position 0.
  const bool perRevolution = ReadInt(ctx.inst.ncTableFile, "tap", "RotationFeed", 0) == 1;
  std::string section = ProcessHoleSection(rec);
  std::string x, y;
  if (FirstPosition(ctx, section, x, y) != 0) return -1;
  // 3. G95 switches to feed per revolution; the pitch keeps its decimals.
  std::string feed = perRevolution ? Num(rec.v[kProcF]) : Sprintf("%.0f", rec.v[kProcF]);
  if (perRevolution) out.Line("G95");
  // 4. The cycle, the further positions, the cancel; 5. back to feed per minute.
  out.Line(Sprintf("G98 G84 X%s Y%s R%s Z%s F%s", x.c_str(), y.c_str(), Num(rec.v[kProcR]).c_str(),
                   Num(rec.v[kProcZ]).c_str(), feed.c_str()));
  FurtherPositions(ctx, out, section);
  out.Line("G80");
  if (perRevolution) out.Line("G94");
  return 0;
}

int CounterboreCycle82(Context& ctx, TextSink& out, NcProcessRecord& rec) {
  ctx.reporter.Report("!!! routine name : CounterboreCycle82", 0);
  // 1. The dwell word and the back-reverse switch.
  const std::string pcode = Pcode(ctx);
  std::vector<std::string> lines;
  if (ReadInt(ctx.inst.ncTableFile, "backreverse", "counterbore", 0) != 0)
    lines = nc::BackReverseLines(ctx, 100);
  std::string section = ProcessHoleSection(rec);
  // A counterbore process without a position would leave its holes uncut without a word: refused as
  // the other cycles refuse it.
  std::string x0, y0;
  if (FirstPosition(ctx, section, x0, y0) != 0) return -1;

  for (int k = 0; k < kPositions; ++k) {
    // 2. The position, reformatted ("12.000" is written 12.).
    std::string x = Coordinate(ctx, section, 'X', k);
    if (x.empty()) break;
    std::string y = Coordinate(ctx, section, 'Y', k);
    if (y.empty()) break;
    // 3. A complete cycle for this position.
    out.Line(Cycle82Block(Num(AtoF(x)), Num(AtoF(y)), rec, pcode));
    out.Line("G80");
    // 4. Back-reverse: spindle stop, the lines, a stop unless the lines hold one, the spindle again.
    if (lines.empty()) continue;
    out.Line("M05");
    bool hasStop = false;
    for (const std::string& line : lines) {
      out.Line(line);
      if (line.find("M05") != std::string::npos) hasStop = true;
    }
    if (!hasStop) out.Line("M05");
    out.Line(Sprintf("S%.0f M03", rec.v[kProcS]));
  }
  return 0;
}

}  // namespace talvorin
