#include "shell/CommandLine.h"

#include <strings.h>

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
    if (args[1].size() <= 519 && PathExists(args[1])) {
      start.euklidMode += 1;
      start.euklidPath = args[1];
    }
    if (args.size() >= 3) {
      if (IsKeyword(args[2], "cseg")) start.euklidMode += 30;
      if (IsKeyword(args[2], "hole")) start.euklidMode += 10;
    }
  }
  return start;
}

}  // namespace talvorin
