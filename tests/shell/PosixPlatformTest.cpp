#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "shell/Platform.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

// Waits (bounded) for a file that a started program writes.
bool AppearsWithin(const std::string& path, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (PathExists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(PosixPlatform, StartsAProgramWithArgumentsWithoutAShell) {
  TestFolder folder;
  PosixPlatform p;
  // The argument is passed as one word: no shell splits or expands it.
  std::string target = folder.File("a b $(x).txt");
  EXPECT_TRUE(p.StartProgram("touch", {target}));
  EXPECT_TRUE(AppearsWithin(target, std::chrono::seconds(5)));
}

TEST(PosixPlatform, AProgramThatDoesNotExistFailsToStart) {
  PosixPlatform p;
  EXPECT_FALSE(p.StartProgram("/nonexistent/talvorin-viewer", {}));
  EXPECT_FALSE(p.StartProgram("talvorin-no-such-program", {"x"}));
}

TEST(PosixPlatform, DocumentsOpenWithTheConfiguredOpener) {
  TestFolder folder;
  PosixPlatform p;
  p.documentOpener = "touch";  // stands in for xdg-open: "opens" the document by creating it
  EXPECT_TRUE(p.OpenDocument(folder.File("sheet.html")));
  EXPECT_TRUE(AppearsWithin(folder.File("sheet.html"), std::chrono::seconds(5)));
}

TEST(PosixPlatform, CommandFilesRunWithShAndAreWaitedFor) {
  TestFolder folder;
  folder.Write("close.sh", "echo done > \"$(dirname \"$0\")/out.txt\"\nexit 3\n");
  PosixPlatform p;
  EXPECT_EQ(p.RunCommandFile(folder.File("close.sh")), 3);
  EXPECT_EQ(folder.Read("out.txt"), "done\n");  // already there: the run was waited for
  EXPECT_GT(p.RunCommandFile(folder.File("missing.sh")), 0);  // sh reports the missing file
}

TEST(PosixPlatform, ComputerNameFromTheEnvironmentElseTheHost) {
  PosixPlatform p;
  const char* saved = std::getenv("COMPUTERNAME");
  std::string keep = saved ? saved : "";
  setenv("COMPUTERNAME", "KOUBA-PC01", 1);
  EXPECT_EQ(p.ComputerName(), "KOUBA-PC01");
  unsetenv("COMPUTERNAME");
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(p.ComputerName(), host);
  if (saved) setenv("COMPUTERNAME", keep.c_str(), 1);
}

TEST(PosixPlatform, ExecutablePathIsThisTest) {
  PosixPlatform p;
  std::string exe = p.ExecutablePath();
  EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "shell_tests");
}

}  // namespace
}  // namespace talvorin
