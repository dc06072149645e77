// talvorin-ncview FILE: the NC viewer of the suite, started by the main program with the NC file as
// its only argument. Without one, the user chooses the file.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/common/WindowLook.h"
#include "gui/ncview/NcViewWindow.h"
#include "shell/Platform.h"
#include "shell/ProgramSetup.h"

using namespace talvorin;
using namespace talvorin::gui;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The menu entry of the package: desktops match the window to it by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("talvorin-ncview"));
  UseJapaneseQtTexts();
  Installation inst;
  PosixPlatform platform;
  SetupProgram(inst, platform.ExecutablePath(), TheBuildDate());

  // The path as given (bytes): a file name in any encoding is opened as it is.
  std::string file = argc >= 2 ? std::string(argv[1]) : std::string();
  if (file.empty()) {
    const QString chosen = QFileDialog::getOpenFileName(
        nullptr, QStringLiteral("ＮＣファイルを開く"), QString::fromStdString(inst.programFolder + "ncdata"),
        QStringLiteral("ＮＣファイル (*.NC *.nc *.MIN *.min *.ncd);;すべてのファイル (*)"));
    if (chosen.isEmpty()) return 0;
    file = chosen.toStdString();
  }

  const NcViewSettings settings = ReadNcViewSettings(inst, file);
  NcViewWindow window(file, settings);
  window.setWindowIcon(ProgramIcon());
  window.showError = [&window](const QString& text) {
    QMessageBox::critical(&window, QStringLiteral("talvorin-ncview"), text);
  };
  window.show();
  window.StartLoading();
  return app.exec();
}
