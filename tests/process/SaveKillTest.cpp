// A save killed at any moment leaves the project file as it was before the operation or as it is
// after it, never half a save: a child process saves fifteen process rows and the project header over
// and over, alternating two versions of each, and is killed at random moments. Then talvorin-cli's
// "plan" and "run" are killed at random moments on a project without processes.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>

#include "ProcessTestSupport.h"
#include "project/Project.h"
#include "store/Files.h"
#include "support/CliRun.h"

extern char** environ;

namespace talvorin::test {
namespace {

class SaveKill : public ProcessTest {
 protected:
  // Fifteen complete rows; `variant` changes names and numbers so the two versions differ in every
  // record and in their lengths.
  ProcessForm Rows(int variant) {
    form = ProcessForm();
    const char* names[] = {"センタードリル", "ドリル", "面取カッター", "並目タップ", "リーマ"};
    for (int r = 1; r <= kStoredProcesses; ++r) {
      int v = r + variant * 100;
      Type(r, Sprintf("%s|%d|%d|%d||%d|%d|%s|3|-%d.%d|%d.||%d", names[(r + variant) % 5], 3 + r, r, r,
                      500 + v * 10, 60 + v, variant ? "73" : "81", v, variant * 5, 1 + variant, 1 + r % 6));
    }
    return form;
  }
  static MainForm Header(int variant) {
    MainForm m;
    m.projectName = variant ? "JOB" : "JOB-SECOND-VERSION";
    m.product = variant ? "ブラケット" : "ベースプレート右側";
    m.sizeX = variant ? "200" : "1250.5";
    m.sizeY = variant ? "150" : "800";
    m.sizeZ = variant ? "20" : "32.25";
    m.material = "S45C";
    m.origin = "左下";
    m.controller = "FANUC";
    m.coordinateSystem = variant ? "G54" : "G55";
    m.programNumber = variant ? "1000" : "1099";
    return m;
  }
};

TEST_F(SaveKill, AKilledSaveLeavesTheProjectFileAsBeforeOrAfterTheOperation) {
  const ProcessForm rows[2] = {Rows(0), Rows(1)};
  const MainForm headers[2] = {Header(0), Header(1)};
  const std::string path = t.ctx.dbPath;
  const std::string initial = folder.Read("db/JOB.dat");

  // One round: rows 0, header 0, rows 1, header 1. Every file a save can leave, found by running
  // rounds without a kill until no new one appears.
  auto runOperation = [&](int k) {
    ProcessForm f = rows[(k / 2) % 2];
    MainForm m = headers[(k / 2) % 2];
    return k % 2 == 0 ? SaveNcProcess(t.ctx, f) : SaveTALVORINdata(t.ctx, m, 1);
  };
  std::set<std::string> states = {initial};
  const auto started = std::chrono::steady_clock::now();
  for (int k = 0; k < 12; ++k) {
    ASSERT_EQ(runOperation(k), 0) << "operation " << k;
    states.insert(folder.Read("db/JOB.dat"));
  }
  const auto perOperation = (std::chrono::steady_clock::now() - started) / 12;
  // The initial file, the first rows under the initial header, and each pair of rows and header.
  ASSERT_EQ(states.size(), 6u);
  ASSERT_TRUE(t.reporter.boxes.empty());

  std::mt19937 random(20261209);
  const long long span = std::max<long long>(
      200, 5 * std::chrono::duration_cast<std::chrono::microseconds>(perOperation).count());
  std::uniform_int_distribution<long long> delayMicroseconds(0, span);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  const pid_t parent = getpid();
  std::set<std::string> seen;
  int iterations = 0;
  for (; iterations < 300 && std::chrono::steady_clock::now() < deadline; ++iterations) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves until killed; leaves by _exit only, never back into the test.
      for (int k = iterations % 4;; ++k) {
        if (getppid() != parent) _exit(0);
        if (runOperation(k) != 0) _exit(1);
      }
    }
    usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saver failed, status " << status;

    std::string bytes = folder.Read("db/JOB.dat");
    ASSERT_TRUE(states.count(bytes)) << "iteration " << iterations << ": a file no save leaves, "
                                     << bytes.size() << " bytes";
    seen.insert(bytes);
  }
  EXPECT_GE(iterations, 100);
  // The kills fell in different operations: the file was left in several states.
  EXPECT_GE(seen.size(), 4u);
  // A killed save leaves its temporary file behind, never a second project file.
  EXPECT_EQ(ReadString(path, "machine", "ControlDevice", 16), "FANUC");
}

// "plan" and "run" of talvorin-cli killed at random moments: the project file is always exactly one
// that a whole step leaves (unplanned, planned, planned with the time keys), never a mix.
class CommandKill : public ::testing::Test {
 protected:
  CommandKill() { CopyProgramFolder(folder); }

  std::vector<std::string> Command(const char* command) const {
    return {TALVORIN_CLI, "--folder", folder.path(), "--quiet", command, "P"};
  }
  void Ok(std::vector<std::string> args) const {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    CliResult r = RunProgram(all);
    ASSERT_EQ(r.status, 0) << args[0] << "\n" << r.err;
  }
  // Starts the command with its output thrown away; its process id.
  pid_t Start(const char* command) const {
    std::vector<std::string> argv = Command(command);
    std::vector<char*> args;
    for (std::string& a : argv)
      args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  TestFolder folder;
};

TEST_F(CommandKill, AKilledPlanOrRunLeavesTheProjectFileWhole) {
  // A plate of four kinds: fifteen rows to plan, a program with milling bodies to write.
  Ok({"new", "P", "--size", "200,150,20", "--material", "SS400", "--controller", "FANUC", "--coord", "G54"});
  Ok({"hole", "P", "--group", "1", "--kind", "DRILL", "--set", "0=10", "--set", "2=0.5", "--at", "20,20",
      "--at", "40,20"});
  Ok({"hole", "P", "--group", "2", "--kind", "NTAP", "--set", "0=6", "--at", "40,60"});
  Ok({"hole", "P", "--group", "3", "--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--at", "100,50"});
  Ok({"hole", "P", "--group", "4", "--kind", "BIGHOLE", "--set", "0=40", "--set", "6=10", "--at", "150,100"});
  const std::string unplanned = folder.Read("db/P.dat");

  // The files whole steps leave: planned; planned with the time keys of the written program.
  const auto started = std::chrono::steady_clock::now();
  Ok({"plan", "P"});
  const std::string planned = folder.Read("db/P.dat");
  folder.Write("db/P.dat", unplanned);
  Ok({"run", "P"});
  const auto perRun = std::chrono::steady_clock::now() - started;
  const std::string ran = folder.Read("db/P.dat");
  ASSERT_NE(planned, unplanned);
  ASSERT_NE(ran, planned);
  const std::set<std::string> whole = {unplanned, planned, ran};

  std::mt19937 random(20261210);
  const long long span =
      std::max<long long>(1000, std::chrono::duration_cast<std::chrono::microseconds>(perRun).count());
  std::uniform_int_distribution<long long> delayMicroseconds(0, span);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::set<std::string> seen;
  int kills = 0, rounds = 0;
  for (int k = 0; k < 80 && std::chrono::steady_clock::now() < deadline; ++k, ++rounds) {
    const char* command = k % 2 == 0 ? "plan" : "run";
    folder.Write("db/P.dat", unplanned);
    pid_t child = Start(command);
    ASSERT_GT(child, 0);
    usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) {
      ++kills;
    } else {
      ASSERT_EQ(WEXITSTATUS(status), 0) << command;
    }

    const std::string bytes = folder.Read("db/P.dat");
    ASSERT_TRUE(whole.count(bytes)) << command << " " << k << ": a file no whole step leaves, "
                                    << bytes.size() << " bytes";
    // "plan" never writes the time keys.
    if (k % 2 == 0) {
      ASSERT_NE(bytes, ran);
    }
    seen.insert(bytes);
  }
  // The delays lie within a plan and a run together, so a good part of the rounds ends in a kill (a
  // fifth or more here, fewer on a loaded machine, where the start of a program takes longer); a
  // loaded machine also runs fewer rounds before the deadline.
  EXPECT_GE(kills, 5);
  EXPECT_GE(kills * 8, rounds);
  // The kills fell before, between and after the steps.
  EXPECT_GE(seen.size(), 2u);
}

}  // namespace
}  // namespace talvorin::test
