// The user dialogs of a desktop program: Qt's open-file dialog, a yes/no box, the colour chooser and
// a program chooser. They open over the window set as parent (the main window or the screen in use).
#pragma once

#include <QString>
#include <QWidget>

#include "shell/UserDialogs.h"

namespace talvorin::gui {

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QString caption) : caption_(std::move(caption)) {}
  // The window the dialogs open over.
  void SetParent(QWidget* parent) { parent_ = parent; }
  QWidget* Parent() const { return parent_; }

  // A typed name of a file that does not exist is accepted (callers test it); "All Files(*.*)" lists
  // every file, also those without a dot.
  bool ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                  std::string& path) override;
  bool AskYesNo(const std::string& text) override;
  bool ChooseColour(Colour& colour) override;
  // Starts in the home folder and lists every file; only an executable file is accepted.
  bool ChooseProgram(const std::string& title, std::string& path) override;

 private:
  QWidget* Owner() const;
  QString caption_;
  QWidget* parent_ = nullptr;
};

}  // namespace talvorin::gui
