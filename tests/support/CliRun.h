// Runs a program as a black box: standard input from /dev/null, standard output and error captured.
#pragma once

#include <string>
#include <vector>

namespace talvorin::test {

struct CliResult {
  int status = -1;  // exit status; -1 when it could not be started or did not exit normally
  std::string out, err;
};

// argv[0] is the program's path.
CliResult RunProgram(std::vector<std::string> argv);

}  // namespace talvorin::test
