#include "shell/Platform.h"

namespace talvorin {

bool RecordingPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  calls.push_back({"start", program, args});
  return startResult;
}

bool RecordingPlatform::OpenDocument(const std::string& path) {
  calls.push_back({"open", path, {}});
  return startResult;
}

int RecordingPlatform::RunCommandFile(const std::string& path) {
  calls.push_back({"run", path, {}});
  return commandResult;
}

}  // namespace talvorin
