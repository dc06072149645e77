// Writes and file checks of the profile store per operation. The calls are counted where the store
// makes them: this program defines fsync, rename and stat itself, counts each call and passes it on to
// the C library's own.
// - BM_SaveNcProcess: one "工程保存" of fifteen rows into a project file: renames and flushes to disk
//   (of files, and of the folder that makes the rename last) per save, and its time.
// - BM_NcProgramReads: the NC program of the largest project (fifteen processes, six groups of ten
//   positions), a few hundred key reads: file checks (stat) per program, without and with the
//   operation scope that checks each file once.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "ncgen/NcGen.h"
#include "process/Process.h"
#include "project/Project.h"
#include "shell/Context.h"
#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Cp932.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "store/Reporter.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

std::atomic<long> renames{0}, fileSyncs{0}, folderSyncs{0}, stats{0};

template <typename F>
F Next(const char* name) {
  static_assert(sizeof(F) == sizeof(void*));
  void* f = dlsym(RTLD_NEXT, name);
  if (!f) abort();
  return reinterpret_cast<F>(f);
}

}  // namespace

extern "C" int fsync(int fd) {
  static const auto real = Next<int (*)(int)>("fsync");
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
    ++folderSyncs;
  else
    ++fileSyncs;
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto real = Next<int (*)(const char*, const char*)>("rename");
  ++renames;
  return real(from, to);
}

extern "C" int stat(const char* path, struct stat* st) noexcept {
  static const auto real = Next<int (*)(const char*, struct stat*)>("stat");
  ++stats;
  return real(path, st);
}

namespace {

// A copy of the built program folder in a temporary folder; empty when it cannot be made.
std::string ProgramFolderCopy() {
  std::string folder = (std::filesystem::temp_directory_path() / "save_bench_XXXXXX").string();
  if (!mkdtemp(folder.data())) return "";
  folder += "/";
  std::filesystem::copy(TALVORIN_PROGRAM_DIR, folder, std::filesystem::copy_options::recursive);
  return folder;
}

void BM_SaveNcProcess(benchmark::State& state) {
  const std::string folder = ProgramFolderCopy();
  if (folder.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  Installation inst;
  inst.programFolder = folder;
  inst.iniPath = folder + "TALVORIN.ini";
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  RecordingReporter reporter;
  Context ctx{inst, reporter, platform, dialogs, ""};
  MainForm header;
  header.projectName = "BENCH";
  header.sizeX = "400", header.sizeY = "300", header.sizeZ = "20";
  header.material = "S45C";
  header.controller = "FANUC";
  header.coordinateSystem = "G54";
  header.programNumber = "1000";
  if (NewSavedata(ctx, header) != 0) {
    state.SkipWithError("the project file could not be made");
    return;
  }
  ProcessForm form;
  const char* names[] = {"センタードリル", "ドリル", "面取カッター", "並目タップ", "リーマ"};
  for (int r = 1; r <= kStoredProcesses; ++r) {
    ProcessRow& row = form.Row(r);
    row.fields = {names[r % 5],
                  Sprintf("%d", 3 + r),
                  Sprintf("%d", r),
                  Sprintf("%d", r),
                  "",
                  Sprintf("%d", 500 + 10 * r),
                  Sprintf("%d", 60 + r),
                  "81",
                  "3",
                  Sprintf("-%d.5", r),
                  "3.",
                  "",
                  Sprintf("%d", 1 + r % 6)};
  }
  long saves = 0;
  const long renamesBefore = renames, fileSyncsBefore = fileSyncs, folderSyncsBefore = folderSyncs;
  for (auto _ : state) {
    if (SaveNcProcess(ctx, form) != 0) {
      state.SkipWithError("the save failed");
      break;
    }
    ++saves;
  }
  if (saves > 0) {
    state.counters["renames/save"] =
        static_cast<double>(renames - renamesBefore) / static_cast<double>(saves);
    state.counters["file fsyncs/save"] =
        static_cast<double>(fileSyncs - fileSyncsBefore) / static_cast<double>(saves);
    state.counters["folder fsyncs/save"] =
        static_cast<double>(folderSyncs - folderSyncsBefore) / static_cast<double>(saves);
  }
  state.counters["project bytes"] = static_cast<double>(std::filesystem::file_size(ctx.dbPath));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveNcProcess)->Unit(benchmark::kMillisecond);

std::string Positions(const char* prefix, double x0, double y0, int count) {
  std::string text;
  for (int k = 0; k < count; ++k)
    text +=
        Sprintf("%sX%d=%.3f\n%sY%d=%.3f\n", prefix, k, x0 + 40.0 * (k % 5), prefix, k, y0 + 60.0 * (k / 5));
  return text;
}

// The largest project, as the NC generation benchmark has it: six groups of ten positions, fifteen
// processes.
std::string LargestProject(const std::string& folder) {
  std::string text =
      "[material]\nX=400.\nY=300.\nZ=20.\n\n[machine]\nControlDevice=FANUC\nCoordinateSystem=G54\n"
      "onumber=1\nncpath=" +
      folder +
      "\nncfile=O0001.NC\nStartX=0.\nStartY=0.\nStartZ=50.\n\n"
      "[trycut]\nXmax=400\nXmin=0\nYmax=300\nYmin=0\nZmax=0\nZmin=-20\n\n";
  text += "[hole1]\ncommand=ドリル穴 [DRILL]\nvariable0=8.5\nvariable1=20\n" + Positions("", 20, 20, 10);
  text += "[hole2]\ncommand=タップ穴 [NTAP]\nvariable0=10\nvariable1=15\n" + Positions("", 30, 30, 10);
  text +=
      "[hole3]\ncommand=ザグリ穴 [COUNTERBORE]\nvariable0=9\nvariable2=14\nvariable3=8.5\nvariable4=0.5\n" +
      Positions("", 40, 40, 10);
  text += "[hole4]\ncommand=長穴 [LONGHOLE]\nvariable0=12\nvariable1=20\nvariable3=30\n" +
          Positions("C", 50, 50, 10);
  text += "[hole5]\ncommand=大穴 [BIGHOLE]\nvariable0=30\nvariable2=1\n" + Positions("", 60, 60, 10);
  text += "[hole6]\ncommand=Ｕ溝 [UGROOVE]\nvariable0=12\nvariable1=0\n" + Positions("", 70, 25, 10);
  const struct {
    const char *tool, *diam;
    int t, g;
    const char *z, *q, *off;
    int group;
  } rows[] = {{"センタードリル", "3", 1, 81, "-1", "", "", 1},
              {"ドリル", "8.5", 2, 83, "-25", "3", "", 1},
              {"タップ", "10", 3, 84, "-15", "", "", 2},
              {"エンドミル", "14", 4, 82, "-8.5", "", "", 3},
              {"面取カッター", "10", 5, 3, "-2", "", "", 3},
              {"荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 4},
              {"仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 4},
              {"荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 5},
              {"仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 5},
              {"面取カッター", "10", 5, 3, "-2", "", "", 5},
              {"荒取エンドミル", "10", 6, 41, "-20", "0.5", "0.2", 6},
              {"仕上エンドミル", "10", 7, 41, "-20", "0.5", "0", 6},
              {"ドリル", "8.5", 2, 81, "-25", "", "", 2},
              {"ドリル", "8.5", 2, 81, "-25", "", "", 1},
              {"ドリル", "8.5", 2, 81, "-25", "", "", 6}};
  int n = 1;
  for (const auto& r : rows)
    text += Sprintf(
        "[ncproc%d]\ntool=%s\ndiam=%s\nT=%d\nH=%d\nD=%d\nS=1000\nF=200\nG=%d\nR=3\nZ=%s\nQ=%s\nOFF=%s\n"
        "定義=%d\n\n",
        n++, r.tool, r.diam, r.t, r.t, r.t, r.g, r.z, r.q, r.off, r.group);
  return text;
}

// Argument 0: every read checks its file; 1: the generation runs as one operation.
void BM_NcProgramReads(benchmark::State& state) {
  const std::string folder = ProgramFolderCopy();
  if (folder.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::string project;
  Utf8ToCp932(LargestProject(folder), project);
  ReplaceWholeFile(folder + "P.dat", project);
  ReplaceWholeFile(folder + "NCformat.tbl", "");
  Installation inst;
  inst.programFolder = folder;
  inst.ncTableFile = folder + "NCformat.tbl";
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  long programs = 0;
  const long statsBefore = stats;
  for (auto _ : state) {
    RecordingReporter reporter;
    Context ctx{inst, reporter, platform, dialogs, folder + "P.dat"};
    int result;
    if (state.range(0) == 1) {
      ProfileOperation operation;
      result = MakeFanucNcdata(ctx);
    } else {
      result = MakeFanucNcdata(ctx);
    }
    if (result != 0) {
      state.SkipWithError("generation failed");
      break;
    }
    ++programs;
  }
  if (programs > 0) state.counters["stat/program"] = static_cast<double>(stats - statsBefore) / programs;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_NcProgramReads)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
