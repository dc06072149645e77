// NC program generation of the largest project the system allows: six hole groups of ten positions
// each (drills, taps, end-mill counterbores, long holes, big holes, U-grooves), fifteen processes,
// the milling processes in many passes (Q 0.5 down to 20 mm). Reports the time of one whole program
// written to its file and the file size.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "ncgen/NcGen.h"
#include "shell/Context.h"
#include "store/Cp932.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

std::string Positions(const char* prefix, double x0, double y0, int count) {
  std::string text;
  for (int k = 0; k < count; ++k)
    text +=
        Sprintf("%sX%d=%.3f\n%sY%d=%.3f\n", prefix, k, x0 + 40.0 * (k % 5), prefix, k, y0 + 60.0 * (k / 5));
  return text;
}

std::string Process(int n, const char* tool, const char* diam, int t, int g, const char* z, const char* q,
                    const char* off, int group) {
  return Sprintf(
      "[ncproc%d]\ntool=%s\ndiam=%s\nT=%d\nH=%d\nD=%d\nS=1000\nF=200\nG=%d\nR=3\nZ=%s\nQ=%s\nOFF=%s\n"
      "定義=%d\n\n",
      n, tool, diam, t, t, t, g, z, q, off, group);
}

std::string ProjectText(const std::string& folder) {
  std::string text =
      "[material]\nX=400.\nY=300.\nZ=20.\n\n[machine]\nControlDevice=FANUC\nCoordinateSystem=G54\n"
      "onumber=1\nncpath=" +
      folder +
      "\nncfile=O0001.NC\nStartX=0.\nStartY=0.\nStartZ=50.\n\n"
      "[trycut]\nXmax=400\nXmin=0\nYmax=300\nYmin=0\nZmax=0\nZmin=-20\n\n";
  text +=
      "[hole1]\ncommand=ドリル穴 [DRILL]\nvariable0=8.5\nvariable1=20\n" + Positions("", 20, 20, 10) + "\n";
  text += "[hole2]\ncommand=タップ穴 [NTAP]\nvariable0=10\nvariable1=15\n" + Positions("", 30, 30, 10) + "\n";
  text +=
      "[hole3]\ncommand=ザグリ穴 [COUNTERBORE]\nvariable0=9\nvariable2=14\nvariable3=8.5\nvariable4=0.5\n" +
      Positions("", 40, 40, 10) + "\n";
  text += "[hole4]\ncommand=長穴 [LONGHOLE]\nvariable0=12\nvariable1=20\nvariable3=30\n" +
          Positions("C", 50, 50, 10) + "\n";
  text += "[hole5]\ncommand=大穴 [BIGHOLE]\nvariable0=30\nvariable2=1\n" + Positions("", 60, 60, 10) + "\n";
  text += "[hole6]\ncommand=Ｕ溝 [UGROOVE]\nvariable0=12\nvariable1=0\n" + Positions("", 70, 25, 10) + "\n";
  int n = 1;
  text += Process(n++, "センタードリル", "3", 1, 81, "-1", "", "", 1);
  text += Process(n++, "ドリル", "8.5", 2, 83, "-25", "3", "", 1);
  text += Process(n++, "タップ", "10", 3, 84, "-15", "", "", 2);
  text += Process(n++, "エンドミル", "14", 4, 82, "-8.5", "", "", 3);
  text += Process(n++, "面取カッター", "10", 5, 3, "-2", "", "", 3);
  text += Process(n++, "荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 4);
  text += Process(n++, "仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 4);
  text += Process(n++, "荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 5);
  text += Process(n++, "仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 5);
  text += Process(n++, "面取カッター", "10", 5, 3, "-2", "", "", 5);
  text += Process(n++, "荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 6);
  text += Process(n++, "仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 6);
  text += Process(n++, "ドリル", "8.5", 2, 81, "-25", "", "", 2);
  text += Process(n++, "ドリル", "8.5", 2, 81, "-25", "", "", 1);
  text += Process(n++, "ドリル", "8.5", 2, 81, "-25", "", "", 6);
  return text;
}

void BM_LargestProject(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "ncgen_bench_XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  folder += "/";
  std::filesystem::copy(TALVORIN_PROGRAM_DIR, folder, std::filesystem::copy_options::recursive);
  std::string project;
  Utf8ToCp932(ProjectText(folder), project);
  ReplaceWholeFile(folder + "P.dat", project);
  ReplaceWholeFile(folder + "NCformat.tbl", "");
  Installation inst;
  inst.programFolder = folder;
  inst.ncTableFile = folder + "NCformat.tbl";
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  for (auto _ : state) {
    RecordingReporter reporter;
    Context ctx{inst, reporter, platform, dialogs, folder + "P.dat"};
    if (MakeFanucNcdata(ctx) != 0) {
      state.SkipWithError("generation failed");
      break;
    }
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(folder + "O0001.NC"));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LargestProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
