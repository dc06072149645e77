#include "shell/Platform.h"

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

}  // namespace talvorin
