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

#include "GeneratedNcProgram.h"
#include "mtime/MachiningTime.h"
#include "shell/Context.h"
#include "store/Numbers.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

std::string folder;  // the temporary folder of this run, with a trailing "/"

// A program of about `megabytes` MB (bench/GeneratedNcProgram.h), made once per size.
std::string TextFile(long megabytes) {
  static std::map<long, std::string> made;
  auto found = made.find(megabytes);
  if (found != made.end()) return found->second;
  std::string path = folder + Sprintf("O%04ld.NC", megabytes);
  bench::WriteGeneratedNcProgram(path, megabytes);
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
