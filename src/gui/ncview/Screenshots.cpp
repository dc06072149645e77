// talvorin-ncview-screenshots OUTDIR FILE: renders the NC viewer showing FILE to PNG files, once as it
// opens and once with a line of the program selected. Run in the program folder the file belongs to.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>

#include "gui/ncview/NcViewWindow.h"
#include "shell/Platform.h"
#include "shell/ProgramSetup.h"

using namespace talvorin;
using namespace talvorin::gui;

namespace {

bool Save(QWidget* widget, const QString& file) {
  QApplication::processEvents();
  const bool saved = widget->grab().save(file);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: talvorin-ncview-screenshots OUTDIR FILE\n");
    return 2;
  }
  Installation inst;
  PosixPlatform platform;
  SetupProgram(inst, platform.ExecutablePath(), TheBuildDate());
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  const std::string file = argv[2];
  NcViewWindow window(file, ReadNcViewSettings(inst, file));
  window.show();
  window.StartLoading();
  QElapsedTimer clock;
  clock.start();
  while (!window.Loaded() && window.LoadError().isEmpty() && clock.elapsed() < 60000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!window.Loaded()) {
    std::fprintf(stderr, "the program could not be read: %s\n", qPrintable(window.LoadError()));
    return 1;
  }
  bool ok = Save(&window, dir + "/nc-viewer.png");
  // The first line that moves, selected as a click on its row does.
  const ToolpathModel& model = window.Model();
  for (std::size_t k = 0; k < model.moves.size(); ++k) {
    if (model.moves[k].kind == MoveKind::kFeed || !model.holes.empty()) {
      const std::uint32_t line = model.holes.empty() ? model.moves[k].line : model.holes.front().line;
      window.ProgramList()->setCurrentIndex(window.ProgramList()->model()->index(static_cast<int>(line), 0));
      window.ProgramList()->scrollTo(window.ProgramList()->currentIndex(),
                                     QAbstractItemView::PositionAtCenter);
      break;
    }
  }
  ok = Save(&window, dir + "/nc-viewer-selected.png") && ok;
  return ok ? 0 : 1;
}
