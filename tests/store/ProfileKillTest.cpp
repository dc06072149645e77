// A writer killed at any moment leaves the old or the new file, never a torn one: a child process
// rewrites one key of a large file over and over and is killed at random moments.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestFolder;

// The whole file with the key holding `value`: a few hundred lines around it.
std::string ProfileWith(const std::string& value) {
  std::string text = "; 工具定義\r\n[before]\r\n";
  for (int i = 0; i < 150; ++i)
    text += Sprintf("line%d=工具 %d ゾ ソ\r\n", i, i);
  text += "\r\n[target]\r\nfirst=1\r\nkey=" + value + "\r\nlast=2\r\n; 終わり\r\n[after]\r\n";
  for (int i = 150; i < 300; ++i)
    text += Sprintf("line%d=%d.500\r\n", i, i);
  return Cp932(text);
}

TEST(ProfileKill, KilledWriterLeavesTheOldOrTheNewFile) {
  TestFolder folder;
  const std::string path = folder.File("profile.ini");
  // Two values of different CP932 lengths (4096 and 3000 bytes), so the two files differ in size.
  std::string first;
  for (int i = 0; i < 2048; ++i)
    first += "ゾ";
  const std::string second(3000, 'b');
  const std::string fileFirst = ProfileWith(first), fileSecond = ProfileWith(second);
  ASSERT_NE(fileFirst.size(), fileSecond.size());
  folder.Write("profile.ini", fileFirst);

  std::mt19937 random(20260603);
  std::uniform_int_distribution<int> delayMicroseconds(0, 2000);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  const pid_t parent = getpid();
  bool holdsFirst = true;
  int iterations = 0, changes = 0;
  for (; iterations < 300 && std::chrono::steady_clock::now() < deadline; ++iterations) {
    const std::string& now = holdsFirst ? first : second;
    const std::string& other = holdsFirst ? second : first;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Alternates the two values until killed; leaves by _exit only, never back into the test.
      for (unsigned n = 0;; ++n) {
        if (getppid() != parent) _exit(0);
        if (!WriteString(path, "target", "key", n % 2 == 0 ? other : now)) _exit(1);
      }
    }
    usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer failed, status " << status;

    std::string bytes = folder.Read("profile.ini");
    ASSERT_TRUE(bytes == fileFirst || bytes == fileSecond)
        << "iteration " << iterations << ": torn file of " << bytes.size() << " bytes (expected "
        << fileFirst.size() << " or " << fileSecond.size() << ")";
    bool nowFirst = bytes == fileFirst;
    EXPECT_EQ(ReadString(path, "target", "key", 8192), nowFirst ? first : second);
    EXPECT_EQ(ReadString(path, "after", "line299", 16), "299.500");
    if (nowFirst != holdsFirst) ++changes;
    holdsFirst = nowFirst;
  }

  int leftovers = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder.path()))
    if (e.path().filename().string().rfind(".profile.ini.", 0) == 0) ++leftovers;
  std::printf("%d kills, %d of them after a completed write changed the file, %d temporary files left\n",
              iterations, changes, leftovers);
  RecordProperty("kills", iterations);
  RecordProperty("changes", changes);
  RecordProperty("leftover_temporary_files", leftovers);
  // The writer must have got through whole writes at times, or nothing was tested.
  EXPECT_GT(changes, 0);
}

}  // namespace
}  // namespace talvorin
