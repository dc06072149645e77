#include "cli/CliSupport.h"

#include <utility>

#include "store/Numbers.h"

namespace talvorin {
namespace {

std::string Joined(const std::string& program, const std::vector<std::string>& args) {
  std::string text = program;
  for (const std::string& a : args)
    text += " " + a;
  return text;
}

template <typename T>
bool TakeAnswer(std::deque<T>& answers, T& out) {
  if (answers.empty()) return false;
  out = std::move(answers.front());
  answers.pop_front();
  return true;
}

}  // namespace

bool ArgumentDialogs::ChooseFile(const std::string& /*title*/, const std::string& /*folder*/,
                                 const std::string& /*filter*/, std::string& path) {
  return TakeAnswer(files, path);
}

bool ArgumentDialogs::AskYesNo(const std::string& /*text*/) {
  bool yes = false;
  return TakeAnswer(answers, yes) && yes;
}

bool ArgumentDialogs::ChooseColour(Colour& colour) {
  return TakeAnswer(colours, colour);
}

bool ArgumentDialogs::ChooseProgram(const std::string& /*title*/, std::string& path) {
  return TakeAnswer(programs, path);
}

void CliReporter::ShowLine(const std::string& line) {
  if (quiet) return;
  std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
}

void CliReporter::ShowBox(const std::string& text, int /*kind*/) {
  std::fprintf(err, "%s\n", text.c_str());
  std::fflush(err);
}

bool CliPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  if (open_) return PosixPlatform::StartProgram(program, args);
  rep_.Reportf(0, "... 起動省略 (--open で起動): %s", Joined(program, args).c_str());
  return true;
}

bool CliPlatform::OpenDocument(const std::string& path, std::chrono::milliseconds pause) {
  if (open_) return PosixPlatform::OpenDocument(path, pause);
  rep_.Reportf(0, "... 起動省略 (--open で起動): %s", Joined(documentOpener, {path}).c_str());
  return true;
}

bool CliArgs::TakeOption(const std::string& name, std::optional<std::string>& value) {
  for (std::size_t i = 0; i < positional.size(); ++i) {
    if (positional[i] != name) continue;
    if (i + 1 >= positional.size()) return false;
    value = positional[i + 1];
    positional.erase(positional.begin() + static_cast<long>(i),
                     positional.begin() + static_cast<long>(i) + 2);
    return true;
  }
  return true;
}

std::string CliFilePath(const Installation& inst, const std::string& file) {
  if (!file.empty() && file[0] == '/') return file;
  return ProgramFile(inst, file);
}

}  // namespace talvorin
