#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "shell/Platform.h"

extern char** environ;

namespace talvorin {
namespace {

// argv for exec: pointers into `args`, ending in nullptr. Built before fork: the child only uses it.
std::vector<char*> ArgumentVector(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

bool PosixPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(all);

  // Double fork: the started program is adopted by init, so it outlives us and leaves no zombie.
  // The intermediate child reports posix_spawnp's result through a pipe.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    posix_spawnattr_destroy(&attr);
    return false;
  }
  if (child == 0) {
    pid_t grandchild;
    int rc = posix_spawnp(&grandchild, program.c_str(), nullptr, &attr, argv.data(), environ);
    ssize_t ignored = write(fds[1], &rc, sizeof rc);
    (void)ignored;
    _exit(0);
  }
  close(fds[1]);
  posix_spawnattr_destroy(&attr);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int rc = -1;
  ssize_t n;
  do {
    n = read(fds[0], &rc, sizeof rc);
  } while (n < 0 && errno == EINTR);
  close(fds[0]);
  return n == static_cast<ssize_t>(sizeof rc) && rc == 0;
}

bool PosixPlatform::OpenDocument(const std::string& path, std::chrono::milliseconds pause) {
  if (pause.count() > 0) std::this_thread::sleep_for(pause);
  return StartProgram(documentOpener, {path});
}

int PosixPlatform::RunCommandFile(const std::string& path, std::chrono::milliseconds pause) {
  if (pause.count() > 0) std::this_thread::sleep_for(pause);
  std::vector<std::string> all{"/bin/sh", path};
  std::vector<char*> argv = ArgumentVector(all);
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string PosixPlatform::FindProgram(const std::string& program) {
  const char* path = std::getenv("PATH");
  return FindProgramIn(program, path ? path : "/usr/bin:/bin");
}

std::string FindProgramIn(const std::string& program, std::string_view searchPath) {
  if (program.empty()) return "";
  struct stat st;
  if (program.find('/') != std::string::npos) return stat(program.c_str(), &st) == 0 ? program : "";
  std::size_t from = 0;
  for (;;) {
    std::size_t to = searchPath.find(':', from);
    std::string_view dir =
        searchPath.substr(from, to == std::string_view::npos ? std::string_view::npos : to - from);
    std::string candidate(dir.empty() ? std::string_view(".") : dir);
    candidate.push_back('/');
    candidate.append(program);
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (to == std::string_view::npos) return "";
    from = to + 1;
  }
}

std::string PosixPlatform::ComputerName() {
  const char* name = std::getenv("COMPUTERNAME");
  if (name && *name) return name;
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return "";
  return host;
}

Timestamp PosixPlatform::LocalTime() {
  return TimestampFromTime(std::time(nullptr));
}

std::string PosixPlatform::ExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace talvorin
