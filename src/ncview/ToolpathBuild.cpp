// The toolpath of an NC file: each line read once by the estimate's line reader, applied to the
// estimate's state, and what it moved recorded as moves and holes; faulty lines are marked and the
// reading goes on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "mtime/NcLineReader.h"
#include "ncview/Toolpath.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr double kSamePoint = 1e-6;        // the pen is where a move starts: no jump needed
constexpr double kCircleTolerance = 0.01;  // end radius off the start radius by more: marked
constexpr std::size_t kMaxToolSlots = 4096;
constexpr std::uint64_t kLoadPartBytes = 1 << 20;

void Mark(ToolpathBuilder& b, std::uint32_t line, NcLineFault fault) {
  b.model.faults.push_back({line, fault});
}

// A control character (tab aside) or a byte sequence that is no CP932 character.
bool HasBadByte(std::string_view line) {
  const std::size_t n = line.size();
  for (std::size_t k = 0; k < n; ++k) {
    const auto c = static_cast<unsigned char>(line[k]);
    if (c >= 0x20 && c < 0x7F) continue;
    if (c == '\t') continue;
    if (c >= 0xA1 && c <= 0xDF) continue;  // half-width katakana
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      if (k + 1 >= n) return true;
      const auto t = static_cast<unsigned char>(line[k + 1]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return true;
      ++k;
      continue;
    }
    return true;
  }
  return false;
}

// A T word as a tool number: what no magazine holds is held to 0 or 99999999.
int ToolNumber(double t) {
  if (!(t >= 0)) return 0;
  if (t > 99999999) return 99999999;
  return static_cast<int>(t);
}

std::uint16_t ToolSlot(ToolpathModel& m, int number) {
  for (std::size_t k = 0; k < m.tools.size(); ++k)
    if (m.tools[k] == number) return static_cast<std::uint16_t>(k);
  if (m.tools.size() >= kMaxToolSlots) return 0;
  m.tools.push_back(number);
  return static_cast<std::uint16_t>(m.tools.size() - 1);
}

bool SamePoint(const NcPoint& a, const NcPoint& b) {
  return std::fabs(a.x - b.x) < kSamePoint && std::fabs(a.y - b.y) < kSamePoint &&
         std::fabs(a.z - b.z) < kSamePoint;
}

void Record(ToolpathBuilder& b, MoveKind kind, const NcPoint& to, std::uint32_t line, double cx = 0,
            double cy = 0) {
  ToolpathMove move;
  move.x = static_cast<float>(to.x);
  move.y = static_cast<float>(to.y);
  move.z = static_cast<float>(to.z);
  move.cx = static_cast<float>(cx);
  move.cy = static_cast<float>(cy);
  move.line = line;
  move.tool = b.tool;
  move.kind = kind;
  b.model.moves.push_back(move);
  // The pen as the picture holds it: in floats, so that the next move's start compares with it.
  b.pen = {move.x, move.y, move.z};
}

NcPoint AsFloats(const NcPoint& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

// The move of a line that moved, with its hole and its faults.
void RecordMotion(ToolpathBuilder& b, const NcLineMotion& m, std::uint32_t line) {
  const NcPoint from = AsFloats(m.from);
  if (!SamePoint(from, b.pen)) Record(b, MoveKind::kJump, m.from, line);
  switch (m.motion) {
    case 0:  // a move of no length (a lone G80, a repeated point) draws nothing
      if (!SamePoint(AsFloats(m.to), from)) Record(b, MoveKind::kRapid, m.to, line);
      return;
    case 1:
      if (m.feed <= 0) Mark(b, line, NcLineFault::kNoFeed);
      if (!SamePoint(AsFloats(m.to), from)) Record(b, MoveKind::kFeed, m.to, line);
      return;
    case 2:
    case 3: {
      if (m.feed <= 0) Mark(b, line, NcLineFault::kNoFeed);
      const bool fullCircle = std::fabs(m.to.x - m.from.x) < 0.001 && std::fabs(m.to.y - m.from.y) < 0.001;
      const double radius = std::sqrt(m.i * m.i + m.j * m.j);
      if (!(radius > 0) || !std::isfinite(radius)) {
        Mark(b, line, NcLineFault::kArcWithoutCentre);
        if (!fullCircle) Record(b, MoveKind::kFeed, m.to, line);
        return;
      }
      const double cx = m.from.x + m.i, cy = m.from.y + m.j;
      const double endRadius = std::hypot(m.to.x - cx, m.to.y - cy);
      if (!(std::fabs(endRadius - radius) <= kCircleTolerance)) Mark(b, line, NcLineFault::kArcEndOffCircle);
      Record(b, m.motion == 2 ? MoveKind::kArcCw : MoveKind::kArcCcw, m.to, line, cx, cy);
      return;
    }
    default: {  // a canned cycle: positioning at the current level, then the hole
      if (m.feed <= 0) Mark(b, line, NcLineFault::kNoFeed);
      if (m.to.z > m.r) Mark(b, line, NcLineFault::kCycleDepthAboveR);
      Record(b, MoveKind::kRapid, NcPoint{m.to.x, m.to.y, m.from.z}, line);
      HoleMark hole;
      hole.x = static_cast<float>(m.to.x);
      hole.y = static_cast<float>(m.to.y);
      hole.top = static_cast<float>(b.time.start.z);
      hole.r = static_cast<float>(m.r);
      hole.bottom = static_cast<float>(m.to.z);
      hole.line = line;
      hole.tool = b.tool;
      hole.cycle = static_cast<std::uint8_t>(m.motion);
      b.model.holes.push_back(hole);
      return;
    }
  }
}

// The bounds of a move from `from`: both ends, and the whole circle of an arc.
void AddMoveBounds(ToolpathBox& box, const NcPoint& from, const ToolpathMove& m) {
  if (m.kind == MoveKind::kJump) {
    box.Add(m.x, m.y, m.z);
    return;
  }
  box.Add(from.x, from.y, from.z);
  box.Add(m.x, m.y, m.z);
  if (m.kind == MoveKind::kArcCw || m.kind == MoveKind::kArcCcw) {
    const double r = std::hypot(from.x - m.cx, from.y - m.cy);
    box.Add(m.cx - r, m.cy - r, m.z);
    box.Add(m.cx + r, m.cy + r, m.z);
  }
}

bool IsFinite(const NcPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

const char* NcLineFaultText(NcLineFault fault) {
  switch (fault) {
    case NcLineFault::kLongLine:
      return "行が長すぎます（1024 バイトを超えた部分は読んでいません）";
    case NcLineFault::kBadCharacter:
      return "ＮＣデータに使えない文字があります";
    case NcLineFault::kWordWithoutNumber:
      return "数値のないアドレスがあります";
    case NcLineFault::kArcWithoutCentre:
      return "円弧の中心 (I, J) がありません（直線で描いています）";
    case NcLineFault::kArcEndOffCircle:
      return "円弧の終点が円の上にありません";
    case NcLineFault::kCycleDepthAboveR:
      return "穴あけサイクルの Z が R 点より上です";
    case NcLineFault::kNoFeed:
      return "送り速度 F が 0 以下です（時間に含めていません）";
    case NcLineFault::kUnfinishedLine:
      return "ファイルが行の途中で終わっています";
    case NcLineFault::kNoProgramEnd:
      return "プログラムの終わり (M30, M02, %) がありません";
  }
  return "";
}

void ToolpathBox::Add(double x, double y, double z) {
  // A point of absurd numbers would make every picture empty: the bounds keep to finite points.
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return;
  if (empty) {
    minX = maxX = x;
    minY = maxY = y;
    minZ = maxZ = z;
    empty = false;
    return;
  }
  minX = std::min(minX, x), maxX = std::max(maxX, x);
  minY = std::min(minY, y), maxY = std::max(maxY, y);
  minZ = std::min(minZ, z), maxZ = std::max(maxZ, z);
}

void ToolpathBox::Add(const ToolpathBox& other) {
  if (other.empty) return;
  Add(other.minX, other.minY, other.minZ);
  Add(other.maxX, other.maxY, other.maxZ);
}

ToolpathTimes TimesOf(const ToolpathModel& model) {
  ToolpathTimes t;
  t.rapid = model.totals.rapidTime;
  t.cutting = model.totals.cuttingTime;
  t.tool = ToolTime(model.rates, model.totals);
  t.total = t.rapid + t.cutting + t.tool;
  return t;
}

ToolpathBuilder StartToolpath(const NcPoint& start, const TimeRates& rates) {
  ToolpathBuilder b;
  b.time = StartTimeState(rates, start);
  b.model.start = start;
  b.model.rates = rates;
  b.model.tools.push_back(0);
  b.pen = AsFloats(start);
  return b;
}

void AddToolpathLine(ToolpathBuilder& b, std::string_view line, std::uint64_t offset, bool cut, bool ended) {
  const std::uint32_t n = b.line;
  if (b.line < UINT32_MAX) ++b.line;
  b.lastLineStart = offset;
  if (n % kLinesPerBlock == 0) b.model.lineStarts.push_back(offset);
  if (cut) Mark(b, n, NcLineFault::kLongLine);
  if (HasBadByte(line)) Mark(b, n, NcLineFault::kBadCharacter);

  const NcLineWords w = ReadNcLine(line);
  if (w.letters & ~w.given) Mark(b, n, NcLineFault::kWordWithoutNumber);
  if (w.toolGiven) b.calledTool = w.tool;
  if (w.toolChange) b.tool = ToolSlot(b.model, ToolNumber(b.calledTool));
  if (w.programEnd || (n > 0 && !line.empty() && line[0] == '%')) b.programEnd = true;

  NcLineMotion m;
  EstimateWords(b.time, w, line, NcLineReport(), &m);
  // A move to or from a point of absurd numbers cannot be drawn; its line still counts in the sums.
  if (m.moved && IsFinite(m.from) && IsFinite(m.to)) RecordMotion(b, m, n);
  if (!ended) Mark(b, n, NcLineFault::kUnfinishedLine);
  b.model.lineCount = b.line;
  b.model.totals = b.time.totals;
}

void FinishToolpath(ToolpathBuilder& b) {
  if (b.line > 0 && !b.programEnd) Mark(b, b.line - 1, NcLineFault::kNoProgramEnd);
}

ToolpathModel TakeToolpathPart(ToolpathBuilder& b) {
  ToolpathModel part = std::move(b.model);
  b.model = ToolpathModel();
  b.model.start = part.start;
  b.model.rates = part.rates;
  b.model.tools = part.tools;
  b.model.lineCount = part.lineCount;
  b.model.totals = part.totals;
  return part;
}

void AppendToolpath(ToolpathModel& model, ToolpathModel&& part) {
  const std::size_t first = model.moves.size();
  if (first == 0) model.start = part.start;
  NcPoint pen = AsFloats(model.start);
  if (first > 0) {
    const ToolpathMove& last = model.moves.back();
    pen = {last.x, last.y, last.z};
  }
  for (std::size_t k = 0; k < part.moves.size(); ++k) {
    const ToolpathMove& m = part.moves[k];
    const std::size_t index = first + k;
    if (index / kMovesPerChunk >= model.chunkBoxes.size()) model.chunkBoxes.emplace_back();
    AddMoveBounds(model.chunkBoxes.back(), pen, m);
    if (m.kind != MoveKind::kJump) AddMoveBounds(model.bounds, pen, m);
    model.moves.push_back(m);
    pen = {m.x, m.y, m.z};
  }
  for (const HoleMark& h : part.holes) {
    model.bounds.Add(h.x, h.y, h.top);
    model.bounds.Add(h.x, h.y, h.bottom);
    model.holes.push_back(h);
  }
  model.faults.insert(model.faults.end(), part.faults.begin(), part.faults.end());
  model.lineStarts.insert(model.lineStarts.end(), part.lineStarts.begin(), part.lineStarts.end());
  model.tools = std::move(part.tools);
  model.lineCount = part.lineCount;
  model.bytesRead = part.bytesRead;
  model.totals = part.totals;
  model.rates = part.rates;
  model.start = part.start;
}

int ReadToolpathFile(const std::string& path, const NcPoint& start, const TimeRates& rates,
                     std::uint64_t partBytes, const ToolpathPartSink& sink, std::string& error) {
  // O_NONBLOCK: a FIFO in the file's place must not block the open; only regular files are read.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (fd >= 0) close(fd);
    error = Sprintf("エラー：ＮＣファイル %s が開けません。", path.c_str());
    return -1;
  }
  const auto total = static_cast<std::uint64_t>(st.st_size);
  ToolpathBuilder builder = StartToolpath(start, rates);
  NcLineReader reader(fd);
  std::string_view line;
  std::uint64_t next = partBytes;
  int result = 0;
  while (reader.Next(line)) {
    AddToolpathLine(builder, line, reader.LineStart(), reader.LineCut(), reader.LineEnded());
    const std::uint64_t done = reader.LineStart();
    if (done >= next) {
      next = partBytes > UINT64_MAX - done ? UINT64_MAX : done + partBytes;
      builder.model.bytesRead = done;
      if (!sink(TakeToolpathPart(builder), done, total)) {
        result = 1;
        break;
      }
    }
  }
  const bool failed = reader.Failed();
  close(fd);
  if (failed) {
    error = Sprintf("エラー：ＮＣファイル %s が開けません。", path.c_str());
    return -1;
  }
  if (result == 1) return 1;
  FinishToolpath(builder);
  builder.model.bytesRead = reader.BytesRead();
  return sink(TakeToolpathPart(builder), reader.BytesRead(), total) ? 0 : 1;
}

int LoadToolpath(const std::string& path, const NcPoint& start, const TimeRates& rates, ToolpathModel& model,
                 std::string& error) {
  model = ToolpathModel();
  model.start = start;
  model.rates = rates;
  auto sink = [&model](ToolpathModel&& part, std::uint64_t, std::uint64_t) {
    AppendToolpath(model, std::move(part));
    return true;
  };
  // In parts of a megabyte: the model grows part by part instead of holding a second copy of it all.
  return ReadToolpathFile(path, start, rates, kLoadPartBytes, sink, error);
}

}  // namespace talvorin
