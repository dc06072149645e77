#include "shell/UserDialogs.h"

namespace talvorin {

bool ScriptedDialogs::ChooseFile(const std::string& title, const std::string& /*folder*/,
                                 const std::string& /*filter*/, std::string& path) {
  asked.push_back(title);
  if (files.empty()) return false;
  path = files.front();
  files.pop_front();
  return true;
}

bool ScriptedDialogs::AskYesNo(const std::string& text) {
  asked.push_back(text);
  if (answers.empty()) return false;
  bool yes = answers.front();
  answers.pop_front();
  return yes;
}

bool ScriptedDialogs::ChooseColour(Colour& colour) {
  asked.push_back("colour");
  if (colours.empty()) return false;
  colour = colours.front();
  colours.pop_front();
  return true;
}

bool ScriptedDialogs::ChooseProgram(const std::string& title, std::string& path) {
  asked.push_back(title);
  if (programs.empty()) return false;
  path = programs.front();
  programs.pop_front();
  return true;
}

}  // namespace talvorin
