// The main program's command line: the start keyword ("sys", "proginf", "ver") and the EUKLID hand-off
// ("euklid", its file and "cseg" or "hole"), evaluated before the main window exists.
#pragma once

#include <string>
#include <vector>

namespace talvorin {

// Start keyword modes.
constexpr int kStartNormal = 0;
constexpr int kStartSystemInfo = 2;   // "sys": register the system information at once
constexpr int kStartProgramInfo = 3;  // "proginf": the program information screen at once
constexpr int kStartVersion = 4;      // "ver": the version box at once

struct StartArguments {
  int keywordMode = kStartNormal;
  // 0 when not started for EUKLID; else 1 for "euklid", + 1 when the file exists, + 30 for "cseg",
  // + 10 for "hole" (for example 32: a contour file to mill, the program closes afterwards).
  int euklidMode = 0;
  std::string euklidPath;  // the EUKLID input file with its full path, when it exists (at most 519 bytes)
};

// Evaluates the arguments after the program name. Keywords are compared without regard to ASCII
// case. One argument is a keyword; with two or more, the first may be "euklid", the second is the
// input file when it exists and the third adds "cseg" or "hole", whatever the first was. Anything
// else, and any argument after the third, is ignored. A relative path is taken from the current
// directory; a full path longer than 519 bytes is not taken: cutting it would name another file.
StartArguments EvaluateCommandLine(const std::vector<std::string>& args);

}  // namespace talvorin
