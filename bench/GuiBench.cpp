// The desktop program: time from process start to the main window shown (the real executable in a copy
// of the program folder), and appending to a message list that already holds 100,000 lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>

#include "gui/common/QtReporter.h"
#include "store/Profile.h"

namespace fs = std::filesystem;

namespace {

// The program folder copied, with the console switch on so that the program tells on standard output
// when it is up: with "sys" its last lines come from the system information, registered only after
// the window is shown.
void StartUpToWindowShown(benchmark::State& state) {
  QTemporaryDir dir;
  const fs::path folder = dir.path().toStdString();
  fs::copy(TALVORIN_PROGRAM_DIR, folder, fs::copy_options::recursive);
  fs::remove_all(folder / "Log");
  talvorin::WriteString((folder / "TALVORIN.ini").string(), "TALVORIN", "consol", "1");
  talvorin::WriteString((folder / "TALVORIN.ini").string(), "TALVORIN", "LogWriting", "0");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!env.contains("DISPLAY")) env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TMPDIR", dir.path());  // the single-instance socket of this copy
  const QString program = QString::fromStdString((folder / "talvorin").string());
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {"sys"});
    QByteArray out;
    while (!out.contains("FileDate=") && process.waitForReadyRead(10000))
      out += process.readAllStandardOutput();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (!out.contains("FileDate=")) state.SkipWithError("the window was not shown");
    state.SetIterationTime(seconds);
    process.kill();
    process.waitForFinished(5000);
  }
}
BENCHMARK(StartUpToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// One line appended to a shown list of 100,000 lines, with the repaint it causes.
void AppendToLongMessageList(benchmark::State& state) {
  talvorin::gui::QtReporter reporter(QStringLiteral("TALVORIN"));
  QTableView list;
  list.resize(800, 400);
  reporter.Bind(&list);
  list.show();
  for (int i = 0; i < 100000; ++i)
    reporter.Report("+++ 工程 " + std::to_string(i) + " の行", 0);
  QApplication::processEvents();
  long long n = 0;
  for (auto _ : state) {
    reporter.Report("+++ 追加の行 " + std::to_string(++n), 0);
    if (state.range(0)) QApplication::processEvents();
  }
  state.counters["lines"] = static_cast<double>(list.model()->rowCount());
}
BENCHMARK(AppendToLongMessageList)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
