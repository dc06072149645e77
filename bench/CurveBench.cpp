// The contour drawing on a generated curve file: entities written per second and the peak memory of
// the process, for 100,000 and 1,000,000 segments (memory stays flat when the second peak is no
// higher than the first), and the same drawing written by ezdxf (Debian's python3-ezdxf under
// /usr/bin/python3) for comparison, run once on the 1,000,000-segment file and stopped after ten
// minutes. The files live in a temporary folder under /tmp, removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "lindrel/EuklidDrawing.h"
#include "store/Numbers.h"
#include "testing/TestDoubles.h"

extern char** environ;

using namespace talvorin;

namespace {

std::string folder;  // the temporary folder of this run, with a trailing "/"

// A serpentine contour of `segments` segments after its start point: rows of 1,000 segments of 1 mm,
// lines and half-circle arcs in turn, each row 1 mm above the last, so about 500 x 1,000 mm.
std::string CurveFile(long segments) {
  static std::map<long, std::string> made;
  auto found = made.find(segments);
  if (found != made.end()) return found->second;
  std::string path = folder + Sprintf("curve%ld.csv", segments);
  // Written as it is formed, so that the benchmark's own peak memory stays that of the export.
  std::ofstream text(path, std::ios::binary);
  text << "P,0.,0.,-5.,0.,0.,90.\n";
  double x = 0, y = 0, step = 1;
  for (long i = 1; i <= segments; ++i) {
    if (i % 1000 == 0) {  // up to the next row, which runs the other way
      y += 1;
      step = -step;
      text << Sprintf("L,%s,%s,-5.,0.,0.,0.\n", FormatNumber(x, true).c_str(), FormatNumber(y, true).c_str());
      continue;
    }
    x += step;
    if (i % 2)
      text << Sprintf("L,%s,%s,-5.,0.,0.,0.\n", FormatNumber(x, true).c_str(), FormatNumber(y, true).c_str());
    else
      text << Sprintf("C,%s,%s,-5.,%s,%s,0.5\n", FormatNumber(x, true).c_str(), FormatNumber(y, true).c_str(),
                      FormatNumber(x - step / 2, true).c_str(), FormatNumber(y, true).c_str());
  }
  made[segments] = path;
  return path;
}

long PeakRssKb() {
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

// Entities of a written drawing: LINE, ARC and CIRCLE.
long CountEntities(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  long n = 0;
  bool code0 = false;
  while (std::getline(in, line)) {
    if (code0 && (line == "LINE\r" || line == "ARC\r" || line == "CIRCLE\r")) ++n;
    code0 = line == "  0\r";
  }
  return n;
}

void BM_LindrelExport(benchmark::State& state) {
  const long segments = state.range(0);
  std::string curve = CurveFile(segments);
  std::string dxf = folder + Sprintf("curve%ld.dxf", segments);
  std::string db = folder + Sprintf("curve%ld.dat", segments);
  std::ofstream(db, std::ios::binary) << "[TALVORIN]\r\ndxffile=" << dxf << "\r\ncsvfile=" << curve << "\r\n";
  Installation inst;
  inst.programFolder = TALVORIN_PROGRAM_DIR "/";  // the shipped table section
  inst.iniPath = folder + "lindrel.ini";
  RecordingPlatform platform;  // the viewer is recorded, not started
  ScriptedDialogs dialogs;
  const long rssBefore = PeakRssKb();
  for (auto _ : state) {
    RecordingReporter reporter;
    Context ctx{inst, reporter, platform, dialogs, db};
    if (ExportEuklidDrawing(ctx, ElementColor{}) != 0) {
      state.SkipWithError(reporter.Lines().empty() ? "export failed" : reporter.Lines().back().c_str());
      return;
    }
  }
  const long entities = CountEntities(dxf);
  state.counters["entities"] = static_cast<double>(entities);
  state.counters["entities_per_s"] =
      benchmark::Counter(static_cast<double>(entities * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["dxf_MB"] = static_cast<double>(std::filesystem::file_size(dxf)) / 1e6;
  state.counters["peak_rss_MB"] = static_cast<double>(PeakRssKb()) / 1024;
  state.counters["rss_growth_MB"] = static_cast<double>(PeakRssKb() - rssBefore) / 1024;
}
BENCHMARK(BM_LindrelExport)->Arg(100000)->Arg(1000000)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same drawing with ezdxf: extents over the contour, LINE-n / ARC-n layers, axes and origin mark.
constexpr const char* kEzdxfScript = R"PY(
import math, sys
import ezdxf

curve, out = sys.argv[1], sys.argv[2]

def fields(line):
    p = line.rstrip("\r\n").split(",")
    return p[0], float(p[1]), float(p[2]), float(p[4]), float(p[5]), float(p[6])

mn, mx = [0.0, 0.0], [0.0, 0.0]
with open(curve, encoding="cp932") as f:
    for line in f:
        t, x, y, cx, cy, v = fields(line)
        pts = [(x, y)] + ([(cx + v, cy), (cx, cy + v), (cx - v, cy), (cx, cy - v)] if t == "C" else [])
        for px, py in pts:
            mn = [min(mn[0], px), min(mn[1], py)]
            mx = [max(mx[0], px), max(mx[1], py)]
s = (mx[0] - mn[0], mx[1] - mn[1])
doc = ezdxf.new("R12")
doc.header["$EXTMIN"] = (mn[0] - 0.2 * s[0], mn[1] - 0.2 * s[1], 0)
doc.header["$EXTMAX"] = (mx[0] + 0.2 * s[0], mx[1] + 0.2 * s[1], 0)
msp = doc.modelspace()

def angle(cx, cy, x, y):
    return math.degrees(math.atan2(y - cy, x - cx)) % 360

px = py = 0.0
with open(curve, encoding="cp932") as f:
    for n, line in enumerate(f, 1):
        t, x, y, cx, cy, v = fields(line)
        attribs = {"linetype": "CONTINUOUS", "color": 0}
        if n > 1 and t == "L":
            msp.add_line((px, py), (x, y), dxfattribs=dict(attribs, layer=f"LINE-{n}"))
        elif n > 1 and t == "C":
            a, b = angle(cx, cy, px, py), angle(cx, cy, x, y)
            start, end = (b, a) if v >= 0 else (a, b)
            msp.add_arc((cx, cy), abs(v), start, end, dxfattribs=dict(attribs, layer=f"ARC-{n}"))
        px, py = x, y
axes = {"layer": "基準線", "linetype": "CENTER", "color": 2}
msp.add_line((mn[0] - 0.2 * s[0], 0), (mx[0] + 0.2 * s[0], 0), dxfattribs=axes)
msp.add_line((0, mn[1] - 0.2 * s[1]), (0, mx[1] + 0.2 * s[1]), dxfattribs=axes)
r = 0.05 * (s[0] + s[1]) / 2
mark = {"layer": "原点", "linetype": "CONTINUOUS", "color": 1}
msp.add_circle((0, 0), r, dxfattribs=mark)
t = 0.1
while t < r:
    msp.add_arc((0, 0), t, 0, 90, dxfattribs=mark)
    msp.add_arc((0, 0), t, 180, 270, dxfattribs=mark)
    t += 0.1
msp.add_line((-2 * r, 0), (2 * r, 0), dxfattribs=mark)
msp.add_line((0, -2 * r), (0, 2 * r), dxfattribs=mark)
doc.saveas(out, encoding="cp932")
print(len(msp))
)PY";

constexpr std::chrono::seconds kEzdxfLimit{600};

void BM_EzdxfWrite(benchmark::State& state) {
  const long segments = state.range(0);
  std::string curve = CurveFile(segments);
  std::string script = folder + "ezdxf_curve.py";
  std::ofstream(script, std::ios::binary) << kEzdxfScript;
  std::string out = folder + Sprintf("ezdxf%ld.dxf", segments), printed = folder + "ezdxf.out";
  for (auto _ : state) {
    std::vector<std::string> args{"/usr/bin/python3", script, curve, out};
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    auto start = std::chrono::steady_clock::now();
    pid_t pid;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      state.SkipWithError("/usr/bin/python3 cannot be started");
      return;
    }
    int status = 0;
    struct rusage ru {};
    bool killed = false;
    while (wait4(pid, &status, WNOHANG, &ru) == 0) {
      if (std::chrono::steady_clock::now() - start > kEzdxfLimit && !killed) {
        kill(pid, SIGKILL);
        killed = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (killed || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError(killed ? "ezdxf stopped after the time limit"
                                 : "ezdxf run failed (is python3-ezdxf installed?)");
      return;
    }
    std::ifstream in(printed);
    long entities = 0;
    in >> entities;
    state.counters["entities"] = static_cast<double>(entities);
    state.counters["entities_per_s"] = static_cast<double>(entities) / seconds;
    state.counters["child_peak_rss_MB"] = static_cast<double>(ru.ru_maxrss) / 1024;
    state.counters["dxf_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
  }
}
BENCHMARK(BM_EzdxfWrite)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string name = "/tmp/curve_bench.XXXXXX";
  if (!mkdtemp(name.data())) {
    std::perror("curve_bench: mkdtemp");
    return 1;
  }
  folder = name + "/";
  std::ofstream(folder + "lindrel.ini", std::ios::binary) << "[lindrel]\r\nviewer=/usr/bin/true\r\n";
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
