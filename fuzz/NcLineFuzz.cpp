// libFuzzer target for the estimator's line reader: any bytes as an NC file, read line by line through
// the reader's fixed buffer and applied to the estimator's state. Every property checked here is one
// the estimate relies on; a violation traps so that the fuzzer records the input.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mtime/MachiningTime.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The same double, NaN included.
bool SameNumber(double a, double b) {
  return a == b || (a != a && b != b);
}

// Writes all of `data` to `fd`.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("ncline", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (!WriteAll(fd, data, size) || lseek(fd, 0, SEEK_SET) != 0) {
    close(fd);
    return 0;
  }
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // Expected lines: one per "\n", plus a last one without a line end when bytes follow the last "\n".
  std::size_t expectedLines = 0;
  for (char c : input)
    if (c == '\n') ++expectedLines;
  if (!input.empty() && input.back() != '\n') ++expectedLines;

  NcTimeState state = StartTimeState(TimeRates(), NcPoint{0, 0, 50});
  NcLineReader reader(fd);
  std::string_view line;
  std::size_t lines = 0, offset = 0;
  long long longLines = 0;
  while (reader.Next(line)) {
    ++lines;
    Check(line.size() <= NcLineReader::kMaxNcLine);
    Check(line.find('\n') == std::string_view::npos);
    // The line is the start of the input's line at `offset`, its final "\r" dropped unless cut.
    const std::size_t end = input.find('\n', offset);
    const std::string_view source =
        input.substr(offset, end == std::string_view::npos ? input.npos : end - offset);
    if (source.size() > NcLineReader::kMaxNcLine) {
      ++longLines;
      Check(line == source.substr(0, NcLineReader::kMaxNcLine));
    } else if (!source.empty() && source.back() == '\r') {
      Check(line == source.substr(0, source.size() - 1));
    } else {
      Check(line == source);
    }
    offset = end == std::string_view::npos ? input.size() : end + 1;

    EstimateLine(state, line, [](const std::string& text) { Check(!text.empty()); });
    const MachiningTotals& t = state.totals;
    // Sums only grow, or turn into infinities or NaN from absurd numbers; they never crash.
    Check(t.toolChanges >= 0 && t.spindleStarts >= 0);
    Check(state.motion == 0 || state.motion == 1 || state.motion == 2 || state.motion == 3 ||
          (state.motion >= 81 && state.motion <= 84));
  }
  Check(!reader.Failed());
  Check(lines == expectedLines);
  Check(reader.BytesRead() == size);
  Check(reader.LongLines() == longLines);

  // The estimator's one pass, which finds the line end while it reads the words, gives the same lines
  // and the words that ReadNcLine reads in each of them alone.
  if (lseek(fd, 0, SEEK_SET) != 0) {
    close(fd);
    return 0;
  }
  NcLineReader lines2(fd);
  NcLineWords words;
  std::size_t count = 0;
  offset = 0;
  while (lines2.Next(line, words)) {
    ++count;
    const std::size_t end = input.find('\n', offset);
    const std::string_view source =
        input.substr(offset, end == std::string_view::npos ? input.npos : end - offset);
    Check(line.size() <= source.size() && source.substr(0, line.size()) == line);
    Check(lines2.LineStart() == offset);
    offset = end == std::string_view::npos ? input.size() : end + 1;
    const NcLineWords alone = ReadNcLine(line);
    Check(words.skip == alone.skip && words.reset == alone.reset && words.toolChange == alone.toolChange &&
          words.spindleStart == alone.spindleStart && words.g80 == alone.g80 && words.g95 == alone.g95 &&
          words.motion == alone.motion && words.programEnd == alone.programEnd);
    Check(words.spindleGiven == alone.spindleGiven && words.toolGiven == alone.toolGiven &&
          words.letters == alone.letters && words.given == alone.given);
    if (words.spindleGiven) Check(SameNumber(words.spindle, alone.spindle));
    if (words.toolGiven) Check(SameNumber(words.tool, alone.tool));
    for (int word = 0; word < kWordCount; ++word)
      Check(SameNumber(words.values[word], alone.values[word]));
  }
  Check(!lines2.Failed());
  Check(count == expectedLines);
  close(fd);
  return 0;
}
