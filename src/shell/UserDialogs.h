// The questions the system puts to its user: open-file dialog, yes/no box, colour chooser, program
// chooser. The GUI answers with Qt dialogs, talvorin-cli from its arguments.
#pragma once

#include <string>

#include "store/Installation.h"

namespace talvorin {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // Open-file dialog starting in `folder`, showing files matching `filter` ("*.dat"). False when
  // the user cancels; `path` is then unchanged.
  virtual bool ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                          std::string& path) = 0;
  // A yes/no question: true for yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Colour chooser starting at `colour`. False when cancelled; `colour` is then unchanged.
  virtual bool ChooseColour(Colour& colour) = 0;
  // Program chooser starting in the user's home folder, accepting any executable file. False when
  // cancelled; `path` is then unchanged.
  virtual bool ChooseProgram(const std::string& title, std::string& path) = 0;
};

// The dialogs of work that puts no question to a user (a reader in the background): every question
// is cancelled or answered no.
class NoDialogs : public UserDialogs {
 public:
  bool ChooseFile(const std::string&, const std::string&, const std::string&, std::string&) override {
    return false;
  }
  bool AskYesNo(const std::string&) override { return false; }
  bool ChooseColour(Colour&) override { return false; }
  bool ChooseProgram(const std::string&, std::string&) override { return false; }
};

}  // namespace talvorin
