// Runs a program as a black box: standard input from /dev/null, standard output and error captured.
#pragma once

#include <string>
#include <vector>

namespace talvorin::test {

struct CliResult {
  int status = -1;  // exit status; -1 when it could not be started or did not exit normally
  std::string out, err;
};

// argv[0] is the program's path. `environment` entries ("NAME=value") replace or add to the test's own
// environment for the child.
CliResult RunProgram(std::vector<std::string> argv, const std::vector<std::string>& environment = {});

}  // namespace talvorin::test
