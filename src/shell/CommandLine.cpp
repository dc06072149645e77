#include "shell/CommandLine.h"

#include <strings.h>

#include <filesystem>

#include "store/Profile.h"

namespace talvorin {
namespace {

bool IsKeyword(const std::string& arg, const char* keyword) {
  return strcasecmp(arg.c_str(), keyword) == 0;
}

}  // namespace

StartArguments EvaluateCommandLine(const std::vector<std::string>& args) {
  StartArguments start;
  if (args.size() == 1) {
    const std::string& arg = args[0];
    if (IsKeyword(arg, "euklid")) start.euklidMode = 1;
    if (IsKeyword(arg, "sys")) start.keywordMode = kStartSystemInfo;
    if (IsKeyword(arg, "proginf")) start.keywordMode = kStartProgramInfo;
    if (IsKeyword(arg, "ver")) start.keywordMode = kStartVersion;
  } else if (args.size() >= 2) {
    if (IsKeyword(args[0], "euklid")) start.euklidMode = 1;
    // The file is kept with its full path: the project records it, and a path relative to the
    // directory the program was started in would name nothing once the project is opened elsewhere.
    std::error_code error;
    const std::string path = std::filesystem::absolute(args[1], error).lexically_normal().string();
    if (!error && path.size() <= 519 && PathExists(path)) {
      start.euklidMode += 1;
      start.euklidPath = path;
    }
    if (args.size() >= 3) {
      if (IsKeyword(args[2], "cseg")) start.euklidMode += 30;
      if (IsKeyword(args[2], "hole")) start.euklidMode += 10;
    }
  }
  return start;
}

}  // namespace talvorin
