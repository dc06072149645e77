#include "dxf/DxfCheck.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/TestFolder.h"

extern char** environ;

namespace talvorin::test {

std::string Groups(std::string_view pairs) {
  std::string out;
  while (!pairs.empty()) {
    std::size_t nl = pairs.find('\n');
    std::string_view line = pairs.substr(0, nl);
    pairs.remove_prefix(nl == std::string_view::npos ? pairs.size() : nl + 1);
    if (line.empty()) continue;
    std::size_t bar = line.find('|');
    if (bar == std::string_view::npos) {
      ADD_FAILURE() << "no '|' in " << line;
      continue;
    }
    out += line.substr(0, bar);
    out += "\r\n";
    out += line.substr(bar + 1);
    out += "\r\n";
  }
  return out;
}

ProgramResult RunProgram(const std::vector<std::string>& args) {
  TestFolder output;
  std::vector<std::string> all = args;
  std::vector<char*> argv;
  for (std::string& a : all)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, output.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  ProgramResult r;
  pid_t pid;
  if (posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  r.out = output.Read("out");
  r.err = output.Read("err");
  return r;
}

std::string CheckDxf(const std::string& path, bool countsOnly) {
  std::vector<std::string> argv{"/usr/bin/python3", TALVORIN_CHECK_DXF};
  if (countsOnly) argv.push_back("--counts");
  argv.push_back(path);
  ProgramResult r = RunProgram(argv);
  EXPECT_EQ(r.status, 0) << "check_dxf.py on " << path << ": " << r.err;
  return r.out;
}

std::vector<std::string> ReportLines(const std::string& report, std::string_view prefix) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < report.size()) {
    std::size_t nl = report.find('\n', pos);
    std::string line = report.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
    if (nl == std::string::npos) break;
    pos = nl + 1;
  }
  return lines;
}

}  // namespace talvorin::test
