// The EUKLID contour program on a generated curve file: seconds for the whole program (form's process
// read, frame, compensated path, file replaced) and the peak memory of the process, for 100,000 and
// 1,000,000 segments (memory stays flat when the second peak is no higher than the first). The files
// live in a temporary folder under /tmp, removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "euklid/Euklid.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

std::string folder;  // the temporary folder of this run, with a trailing "/"

// A serpentine contour of `segments` segments after its start point: rows of 1,000 segments of 1 mm,
// lines and half-circle arcs in turn, each row 1 mm above the last, and the end point.
std::string CurveFile(long segments) {
  std::string path = folder + Sprintf("curve%ld.csv", segments);
  if (std::filesystem::exists(path)) return path;
  std::ofstream text(path, std::ios::binary);
  text << "P,0.,0.,-5.,0.,0.,90.\r\n";
  double x = 0, y = 0, step = 1;
  for (long i = 1; i <= segments; ++i) {
    if (i % 1000 == 0) {
      y += 1;
      step = -step;
      text << Sprintf("L,%s,%s,-5.,0.,0.,0.\r\n", FormatNumber(x, true).c_str(),
                      FormatNumber(y, true).c_str());
      continue;
    }
    x += step;
    if (i % 2)
      text << Sprintf("L,%s,%s,-5.,0.,0.,0.\r\n", FormatNumber(x, true).c_str(),
                      FormatNumber(y, true).c_str());
    else
      text << Sprintf("C,%s,%s,-5.,%s,%s,0.5\r\n", FormatNumber(x, true).c_str(),
                      FormatNumber(y, true).c_str(), FormatNumber(x - step / 2, true).c_str(),
                      FormatNumber(y, true).c_str());
  }
  text << Sprintf("P,%s,%s,-5.,0.,0.,0.\r\n", FormatNumber(x, true).c_str(), FormatNumber(y, true).c_str());
  return path;
}

long PeakRssKb() {
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

// The project of the contour form: machine, start position and the finishing end-mill process.
std::string Project(long segments, const std::string& curve) {
  const std::string db = folder + Sprintf("EUK%ld.dat", segments);
  const std::pair<const char*, const char*> machine[] = {
      {"ControlDevice", "FANUC"}, {"CoordinateSystem", "G54"},
      {"onumber", "1"},           {"ncfile", "O0001.NC"},
      {"StartX", "0."},           {"StartY", "0."},
      {"StartZ", "50."}};
  for (const auto& [key, value] : machine)
    WriteString(db, "machine", key, value);
  WriteString(db, "machine", "ncpath", folder.substr(0, folder.size() - 1));
  const std::pair<const char*, std::string> process[] = {{"tool", "仕上エンドミル"},
                                                         {"diam", "6"},
                                                         {"T", "7"},
                                                         {"H", "7"},
                                                         {"D", "7"},
                                                         {"S", "4770"},
                                                         {"F", "288"},
                                                         {"G", "41"},
                                                         {"R", "2"},
                                                         {"Z", ""},
                                                         {"Q", ""},
                                                         {"OFF", "0"},
                                                         {"定義", curve}};
  for (const auto& [key, value] : process)
    WriteString(db, "ncproc1", key, value);
  return db;
}

void BM_EuklidContourProgram(benchmark::State& state) {
  const long segments = state.range(0);
  const std::string db = Project(segments, CurveFile(segments));
  Installation inst;
  inst.programFolder = TALVORIN_PROGRAM_DIR "/";  // the shipped NC table and process keys
  inst.iniPath = inst.programFolder + "TALVORIN.ini";
  RecordingReporter setup;
  if (SetNcTableFile(inst, setup, inst.ncTableFile) != 0) {
    state.SkipWithError("no NC table in the program folder");
    return;
  }
  RecordingPlatform platform;  // the NC viewer is recorded, not started
  ScriptedDialogs dialogs;
  const long rssBefore = PeakRssKb();
  for (auto _ : state) {
    RecordingReporter reporter;
    Context ctx{inst, reporter, platform, dialogs, db};
    if (MakeEuklidFanucNcdata(ctx) != 0) {
      state.SkipWithError(reporter.Lines().empty() ? "program failed" : reporter.Lines().back().c_str());
      return;
    }
  }
  state.counters["segments_per_s"] =
      benchmark::Counter(static_cast<double>(segments * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["nc_MB"] = static_cast<double>(std::filesystem::file_size(folder + "O0001.NC")) / 1e6;
  state.counters["peak_rss_MB"] = static_cast<double>(PeakRssKb()) / 1024;
  state.counters["rss_growth_MB"] = static_cast<double>(PeakRssKb() - rssBefore) / 1024;
}
BENCHMARK(BM_EuklidContourProgram)->Arg(100000)->Arg(1000000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string name = "/tmp/euklid_bench.XXXXXX";
  if (!mkdtemp(name.data())) {
    std::perror("euklid_bench: mkdtemp");
    return 1;
  }
  folder = name + "/";
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
