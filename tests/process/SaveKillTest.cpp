// A save killed at any moment leaves the project file as it was before the operation or as it is
// after it, never half a save: a child process saves fifteen process rows and the project header over
// and over, alternating two versions of each, and is killed at random moments.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>

#include "ProcessTestSupport.h"
#include "project/Project.h"
#include "store/Files.h"

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
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
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

}  // namespace
}  // namespace talvorin::test
