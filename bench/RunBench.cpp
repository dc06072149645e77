// The main job as a user starts it: `talvorin-cli run EXAMPLE-FANUC` (and EXAMPLE-OSP) on a copy of
// the program folder, timed from start to exit as a whole process. Prints the median, the lowest and
// the highest wall time of 20 runs after one warm-up run.
//
// bench/run_bench [RUNS [TALVORIN-CLI]]   (another talvorin-cli, e.g. of an earlier build, to compare)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string cli = TALVORIN_CLI;

// One run of talvorin-cli with its output discarded; its exit status, or -1.
int RunCli(const std::string& folder, const std::string& project) {
  std::vector<std::string> args = {cli, "--folder", folder, "--quiet", "run", project};
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Measure(const std::string& folder, const std::string& project, int runs) {
  if (RunCli(folder, project) != 0) {
    std::fprintf(stderr, "talvorin-cli run %s failed\n", project.c_str());
    return false;
  }
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    int status = RunCli(folder, project);
    auto end = std::chrono::steady_clock::now();
    if (status != 0) {
      std::fprintf(stderr, "talvorin-cli run %s failed\n", project.c_str());
      return false;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const double median = runs % 2 ? ms[runs / 2] : (ms[runs / 2 - 1] + ms[runs / 2]) / 2;
  std::printf("run %-14s wall median %7.1f ms  min %7.1f ms  max %7.1f ms  (%d runs)\n", project.c_str(),
              median, ms.front(), ms.back(), runs);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  if (argc > 2) cli = argv[2];
  // A copy of the program folder, so that the runs change nothing of the build.
  char pattern[] = "/tmp/talvorin-run-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string folder = std::string(pattern) + "/TALVORIN/";
  fs::copy(TALVORIN_PROGRAM_DIR, folder, fs::copy_options::recursive);
  bool ok = Measure(folder, "EXAMPLE-FANUC", runs) && Measure(folder, "EXAMPLE-OSP", runs);
  fs::remove_all(pattern);
  return ok ? 0 : 1;
}
