#include "testing/TestDoubles.h"

namespace talvorin {

bool RecordingPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  calls.push_back({"start", program, args});
  return startResult;
}

bool RecordingPlatform::OpenDocument(const std::string& path, std::chrono::milliseconds pause) {
  calls.push_back({"open", path, {}, static_cast<long long>(pause.count())});
  return startResult;
}

int RecordingPlatform::RunCommandFile(const std::string& path, std::chrono::milliseconds pause) {
  calls.push_back({"run", path, {}, static_cast<long long>(pause.count())});
  return commandResult;
}

std::string RecordingPlatform::FindProgram(const std::string& program) {
  return FindProgramIn(program, searchPath);
}

namespace {

template <typename T>
bool TakeFirst(std::deque<T>& queue, T& out) {
  if (queue.empty()) return false;
  out = std::move(queue.front());
  queue.pop_front();
  return true;
}

}  // namespace

bool ScriptedDialogs::ChooseFile(const std::string& title, const std::string& /*folder*/,
                                 const std::string& /*filter*/, std::string& path) {
  asked.push_back(title);
  return TakeFirst(files, path);
}

bool ScriptedDialogs::AskYesNo(const std::string& text) {
  asked.push_back(text);
  bool yes = false;
  return TakeFirst(answers, yes) && yes;
}

bool ScriptedDialogs::ChooseColour(Colour& colour) {
  asked.push_back("colour");
  return TakeFirst(colours, colour);
}

bool ScriptedDialogs::ChooseProgram(const std::string& title, std::string& path) {
  asked.push_back(title);
  return TakeFirst(programs, path);
}

}  // namespace talvorin
