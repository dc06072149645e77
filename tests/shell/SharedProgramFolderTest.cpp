// The program folder shared by the programmers of one workstation: the programs create group-writable
// files whatever the user's umask, and a program started through a link in another folder (as
// /usr/bin/talvorin-cli is) still works in the folder of the executable the link points to.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "shell/ProgramSetup.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace talvorin {
namespace {

using test::TestFolder;

// Sets a umask for one scope and restores the one before.
struct ScopedUmask {
  explicit ScopedUmask(mode_t mask) : before(umask(mask)) {}
  ~ScopedUmask() { umask(before); }
  mode_t before;
};

mode_t CurrentUmask() {
  mode_t mask = umask(0);
  umask(mask);
  return mask;
}

mode_t Permissions(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

TEST(SharedProgramFolder, SetupMakesCreatedFilesGroupWritable) {
  ScopedUmask restore(077);
  TestFolder folder;
  Installation inst;
  SetupProgram(inst, folder.path() + "talvorin", {2026, 6, 3});
  EXPECT_EQ(CurrentUmask(), 002u);
}

TEST(SharedProgramFolder, MainJobThroughALinkWritesGroupWritableFilesIntoTheProgramFolder) {
  TestFolder program;
  test::CopyProgramFolder(program);
  fs::copy_file(TALVORIN_CLI, program.File("talvorin-cli"));
  TestFolder bin;
  fs::create_symlink(program.File("talvorin-cli"), bin.File("talvorin-cli"));

  test::CliResult r;
  {
    // A user whose own umask shares nothing, as a login shell may have it.
    ScopedUmask restore(077);
    r = test::RunProgram({bin.File("talvorin-cli"), "run", "EXAMPLE-FANUC"});
  }
  ASSERT_EQ(r.status, 0) << r.out << r.err;

  // Everything lies in the folder of the executable, nothing beside the link.
  EXPECT_EQ(Permissions(program.File("ncdata/O1001.NC")), 0664u);
  EXPECT_EQ(Permissions(program.File("db/EXAMPLE-FANUC.html")), 0664u);
  EXPECT_EQ(Permissions(program.File("db/EXAMPLE-FANUC.dxf")), 0664u);
  // Folders of section "folder" and the log folder, created at start: the group may add files.
  for (const char* name : {"ncdata", "trycut", "dxf", "Log"})
    EXPECT_EQ(Permissions(program.File(name)), 0775u) << name;
  for (const fs::directory_entry& e : fs::directory_iterator(program.File("Log")))
    EXPECT_EQ(Permissions(e.path().string()), 0664u) << e.path();
  std::size_t besideLink = 0;
  for ([[maybe_unused]] const fs::directory_entry& e : fs::directory_iterator(bin.path()))
    ++besideLink;
  EXPECT_EQ(besideLink, 1u);
}

}  // namespace
}  // namespace talvorin
