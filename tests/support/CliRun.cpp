#include "support/CliRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "support/TestFolder.h"

extern char** environ;

namespace talvorin::test {

CliResult RunProgram(std::vector<std::string> argv, const std::vector<std::string>& environment) {
  TestFolder output;
  std::vector<char*> args;
  for (std::string& a : argv)
    args.push_back(a.data());
  args.push_back(nullptr);
  std::vector<std::string> variables = environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& v : environment)
      replaced = replaced || v.rfind(name, 0) == 0;
    if (!replaced) variables.push_back(entry);
  }
  std::vector<char*> env;
  for (std::string& v : variables)
    env.push_back(v.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, output.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  CliResult r;
  pid_t pid;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data()) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  r.out = output.Read("out");
  r.err = output.Read("err");
  return r;
}

}  // namespace talvorin::test
