// libFuzzer target for the NC viewer's toolpath: any bytes as an NC file, read in parts of a few bytes
// and put together as the viewer does, then drawn and hit-tested. Every property checked here is one
// the viewer relies on; a violation traps so that the fuzzer records the input.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "mtime/MachiningTime.h"
#include "mtime/NcLineReader.h"
#include "ncview/Toolpath.h"
#include "ncview/ToolpathView.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Equal, or both NaN: sums of absurd numbers may be NaN in both readings.
bool Same(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("ncview", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (!WriteAll(fd, data, size)) {
    close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  const NcPoint start{0, 0, 50};
  const TimeRates rates;

  // The viewer's reading, in parts of 7 bytes.
  ToolpathModel model;
  std::string error;
  auto sink = [&model](ToolpathModel&& part, std::uint64_t done, std::uint64_t total) {
    Check(done <= total);
    AppendToolpath(model, std::move(part));
    return true;
  };
  Check(ReadToolpathFile(path, start, rates, 7, sink, error) == 0);

  // The estimate's own reading of the same bytes gives the same sums.
  NcTimeState state = StartTimeState(rates, start);
  {
    lseek(fd, 0, SEEK_SET);
    NcLineReader reader(fd);
    std::string_view line;
    while (reader.Next(line))
      EstimateLine(state, line, NcLineReport());
  }
  close(fd);
  Check(Same(model.totals.rapidDistance, state.totals.rapidDistance));
  Check(Same(model.totals.cuttingDistance, state.totals.cuttingDistance));
  Check(Same(model.totals.rapidTime, state.totals.rapidTime));
  Check(Same(model.totals.cuttingTime, state.totals.cuttingTime));
  Check(model.totals.toolChanges == state.totals.toolChanges);
  Check(model.totals.spindleStarts == state.totals.spindleStarts);

  // Moves, holes and faults in line order, each on a line of the file; tool slots that exist.
  Check(model.lineStarts.size() == (model.lineCount + kLinesPerBlock - 1) / kLinesPerBlock);
  for (std::size_t k = 1; k < model.lineStarts.size(); ++k)
    Check(model.lineStarts[k] > model.lineStarts[k - 1] && model.lineStarts[k] <= size);
  for (std::size_t k = 0; k < model.moves.size(); ++k) {
    const ToolpathMove& m = model.moves[k];
    Check(m.line < model.lineCount);
    Check(k == 0 || model.moves[k - 1].line <= m.line);
    Check(m.tool < model.tools.size());
    Check(!std::isnan(m.x) && !std::isnan(m.y) && !std::isnan(m.z));  // only finite moves are kept
  }
  for (std::size_t k = 0; k < model.holes.size(); ++k) {
    Check(model.holes[k].line < model.lineCount);
    Check(k == 0 || model.holes[k - 1].line <= model.holes[k].line);
    Check(model.holes[k].cycle >= 81 && model.holes[k].cycle <= 84);
  }
  for (std::size_t k = 0; k < model.faults.size(); ++k) {
    Check(model.faults[k].line < model.lineCount);
    Check(k == 0 || model.faults[k - 1].line <= model.faults[k].line);
  }
  Check(model.chunkBoxes.size() == (model.moves.size() + kMovesPerChunk - 1) / kMovesPerChunk);

  // Drawn at the fit and zoomed in, the lines of every move and the line under a few pixels.
  for (ViewPlane plane : {ViewPlane::kPlan, ViewPlane::kSide}) {
    ViewMapping view = FitView(model.bounds, plane, 400, 300, 10);
    for (int zoom = 0; zoom < 2; ++zoom) {
      std::size_t pieces = 0;
      VisitMoves(model, view, 0, model.moves.size(), true, [&pieces](const DrawnPiece&) { ++pieces; });
      Check(pieces <= model.moves.size() * 65);
      VisitHoles(model, view, 0, model.holes.size(), true, [](const DrawnHole&) {});
      for (double px : {0.0, 200.0, 399.0}) {
        const long long line = LineAtPixel(model, view, px, 150, 5);
        Check(line >= -1 && line < static_cast<long long>(model.lineCount));
      }
      ZoomView(view, 50, 200, 150);
    }
  }
  for (std::uint32_t line = 0; line < model.lineCount && line < 64; ++line) {
    const auto [first, last] = MovesOfLine(model, line);
    Check(first <= last && last <= model.moves.size());
    for (std::size_t k = first; k < last; ++k)
      Check(model.moves[k].line == line && model.moves[k].kind != MoveKind::kJump);
  }
  return 0;
}
