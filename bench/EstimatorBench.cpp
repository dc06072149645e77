// The machining time estimate over generated NC programs of 1 MB and 100 MB: megabytes read per
// second by Machining_Time_Calculation (rules, report and keys included) and the peak memory of the
// process after each size (memory stays flat when the 100 MB peak is no higher than the 1 MB one).
// The files live in a temporary folder under /tmp, removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "mtime/MachiningTime.h"
#include "shell/Context.h"
#include "store/Numbers.h"

using namespace talvorin;

namespace {

std::string folder;  // the temporary folder of this run, with a trailing "/"

// A program of about `megabytes` MB in the generator's FANUC dialect: per tool a change, a spindle
// start, then a long contour of lines and quarter arcs, a row of G81 holes, G83 pecks and G84 taps.
std::string TextFile(long megabytes) {
  static std::map<long, std::string> made;
  auto found = made.find(megabytes);
  if (found != made.end()) return found->second;
  std::string path = folder + Sprintf("O%04ld.NC", megabytes);
  std::ofstream text(path, std::ios::binary);  // written as it is formed: no large string here
  const long long target = megabytes * 1000000LL;
  long long written = 0;
  auto line = [&](const std::string& l) {
    text << l << "\r\n";
    written += static_cast<long long>(l.size()) + 2;
  };
  line("%");
  line("O0001");
  for (int tool = 1; written < target; ++tool) {
    line("G90 G17 G40 G49 G80");
    line(Sprintf("N%d", tool));
    line(Sprintf("(TOOL %d)", tool));
    line(Sprintf("T%02d", tool % 99 + 1));
    line("M06");
    line("G90 G00 G54 X0. Y0.");
    line(Sprintf("G43 H%02d Z50.", tool % 99 + 1));
    line("S1200 M03");
    line("M08");
    line("G01 Z-5. F300");
    for (int k = 0; k < 2000; ++k) {  // a contour of 1 mm lines and 2 mm quarter arcs
      const double x = k * 3.0;
      line(Sprintf("G01 X%.3f Y%.3f", x + 1, 0.0));
      line(Sprintf("G03 X%.3f Y%.3f I0. J2.", x + 3, 2.0));
      line(Sprintf("G02 X%.3f Y%.3f I2. J0.", x + 3, 0.0));
    }
    line("G00 Z50.");
    line("G98 G81 X10. Y10. R3. Z-15. F120");
    for (int k = 1; k < 500; ++k)
      line(Sprintf("X%.3f Y%.3f", 10.0 + k, 10.0 + (k % 7)));
    line("G80");
    line("G98 G83 X10. Y30. R3. Z-30. Q4. F100");
    for (int k = 1; k < 300; ++k)
      line(Sprintf("X%.3f", 10.0 + k));
    line("G80");
    line("G98 G84 X10. Y50. R5. Z-20. F1000");
    for (int k = 1; k < 300; ++k)
      line(Sprintf("X%.3f", 10.0 + k));
    line("G80");
    line("M09");
    line("M05");
    line("G91 G28 Z0.");
  }
  line("M30");
  line("%");
  made[megabytes] = path;
  return path;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_Estimate(benchmark::State& state) {
  const std::string path = TextFile(state.range(0));
  Installation inst;
  inst.programFolder = folder;
  inst.ncTableFile = folder + "NCformat.tbl";
  RecordingReporter reporter;
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  Context ctx{inst, reporter, platform, dialogs, folder + "P.dat"};
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    if (Machining_Time_Calculation(ctx, path, 0) != 0) {
      state.SkipWithError("the estimate failed");
      return;
    }
  }
  state.SetBytesProcessed(bytes * static_cast<std::int64_t>(state.iterations()));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_rss_kB"] = static_cast<double>(PeakKilobytes());
}
// 1 MB first: its peak is the reference the 100 MB run is compared with.
BENCHMARK(BM_Estimate)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/estimatorbench.XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  folder = std::string(pattern) + "/";
  {
    std::ofstream table(folder + "NCformat.tbl", std::ios::binary);
    table << "[processtime]\r\nG00FEED=3000\r\nCYCFEED=1000\r\nM06=6\r\nM03=0.3\r\nTIMELAG=1\r\n";
    std::ofstream db(folder + "P.dat", std::ios::binary);
    db << "[machine]\r\nStartX=0.\r\nStartY=0.\r\nStartZ=50.\r\n";
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
