// The NC viewer reading generated programs of 1 MB and 100 MB (bench/GeneratedNcProgram.h) on Qt's
// offscreen platform: seconds from the start of the reading to the first picture drawn, seconds to
// the whole file read, the longest time the window's event loop was held during the reading, the time
// of one whole redraw of the plan fitted and zoomed in (drawn in slices of about 30 ms, the event loop
// turning between them), and the process's peak memory after each size.
// The files live in a temporary folder under /tmp, removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <map>
#include <string>

#include "GeneratedNcProgram.h"
#include "gui/ncview/NcViewWindow.h"

using namespace talvorin;
using namespace talvorin::gui;

namespace {

std::string folder;  // the temporary folder of this run, with a trailing "/"

std::string ProgramFile(long megabytes) {
  static std::map<long, std::string> made;
  auto found = made.find(megabytes);
  if (found != made.end()) return found->second;
  std::string path = folder + Sprintf("O%04ld.NC", megabytes);
  bench::WriteGeneratedNcProgram(path, megabytes);
  made[megabytes] = path;
  return path;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

void BM_ViewerLoad(benchmark::State& state) {
  const std::string path = ProgramFile(state.range(0));
  NcViewSettings settings;
  settings.start = {0, 0, 50};
  double firstPicture = 0, load = 0, stall = 0, fitRedraw = 0, zoomRedraw = 0;
  std::size_t moves = 0, pieces = 0;
  for (auto _ : state) {
    NcViewWindow window(path, settings);
    window.show();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    window.StartLoading();
    firstPicture = load = stall = 0;
    while (!window.Loaded() && window.LoadError().isEmpty()) {
      QElapsedTimer step;
      step.start();
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      stall = std::max(stall, static_cast<double>(step.nsecsElapsed()) / 1e6);
      if (firstPicture == 0 && window.PlanView()->DrawnPieces() > 0)
        firstPicture = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    QApplication::processEvents();
    load = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (!window.Loaded()) {
      state.SkipWithError("the program could not be read");
      return;
    }
    // One whole redraw of the plan: fitted, then zoomed in eight times about its centre.
    ToolpathWidget* plan = window.PlanView();
    auto wholeRedraw = [plan] {
      QElapsedTimer redraw;
      redraw.start();
      do
        plan->repaint();
      while (!plan->PictureComplete());
      return static_cast<double>(redraw.nsecsElapsed()) / 1e6;
    };
    plan->ZoomToFit();
    fitRedraw = wholeRedraw();
    pieces = plan->DrawnPieces();
    plan->ZoomBy(8);
    zoomRedraw = wholeRedraw();
    moves = window.Model().moves.size();
  }
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  state.counters["first_picture_s"] = firstPicture;
  state.counters["load_s"] = load;
  state.counters["longest_stall_ms"] = stall;
  state.counters["fit_redraw_ms"] = fitRedraw;
  state.counters["zoom8_redraw_ms"] = zoomRedraw;
  state.counters["moves"] = static_cast<double>(moves);
  state.counters["fit_pieces"] = static_cast<double>(pieces);
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
// 1 MB first: its peak is the reference the 100 MB run is compared with.
BENCHMARK(BM_ViewerLoad)->Arg(1)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (!getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  char pattern[] = "/tmp/ncviewbench.XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  folder = std::string(pattern) + "/";
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}
