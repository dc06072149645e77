// The program information screen ("PROGRAMINFODLG"): the developer, software, version, build date
// and notice rows painted in the text colour over the window colour, closed by any key, its menu item
// "閉じる" or the close box.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "store/Installation.h"

namespace talvorin::gui {

class ProgramInfoScreen : public QDialog {
 public:
  // `text`: the screen's lines separated by "\n" (ProgramInformationText).
  ProgramInfoScreen(const Installation& inst, const QString& text, QWidget* parent);
  const QStringList& Lines() const { return lines_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QStringList lines_;
};

// The screen of the running program: its text from the build date, build number and the executable's
// last-write time.
ProgramInfoScreen* MakeProgramInfoScreen(const Installation& inst, const std::string& executablePath,
                                         QWidget* parent);

}  // namespace talvorin::gui
