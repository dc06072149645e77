// talvorin-cli "nc" and "run" as a black box on a copy of the shipped program folder: the shipped
// example projects become programs that the independent reader accepts, a project without stored
// processes is planned first, and failures leave no program.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <regex>

#include "NcTestSupport.h"
#include "store/Profile.h"

extern char** environ;

namespace talvorin::test {
namespace {

struct CliResult {
  int status = -1;
  std::string out, err;
};

class NcCli : public ::testing::Test {
 protected:
  NcCli() { CopyProgramFolder(folder); }

  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
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
    pid_t pid;
    CliResult r;
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

  // The number of stored processes of a project.
  int StoredProcesses(const std::string& project) {
    int n = 0;
    while (!ReadString(folder.File("db/" + project + ".dat"), Sprintf("ncproc%d", n + 1), "tool", 32).empty())
      ++n;
    return n;
  }

  static int Count(const std::string& text, const std::string& pattern) {
    std::regex re(pattern);
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
  }

  TestFolder folder, output;
};

TEST_F(NcCli, ShippedExamplesBecomeSoundPrograms) {
  struct Example {
    const char* name;
    const char* file;
    const char* lengthOffset;
  };
  for (const Example& e : {Example{"EXAMPLE-FANUC", "ncdata/O1001.NC", "G43 H"},
                           Example{"EXAMPLE-OSP", "ncdata/O1002.MIN", "G56 H"}}) {
    int processes = StoredProcesses(e.name);
    EXPECT_GE(processes, 14) << e.name;
    CliResult r = Run({"run", e.name});
    ASSERT_EQ(r.status, 0) << r.err;
    // The NC program and the process sheet; the hole drawing and the TRYCUT batch file beside them.
    std::string project = e.name;
    EXPECT_EQ(r.out, folder.File(e.file) + "\n" + folder.File("db/" + project + ".html") + "\n");
    EXPECT_TRUE(PathExists(folder.File("db/" + project + ".dxf"))) << e.name;
    // Planning did not run again: the stored processes stay as shipped.
    EXPECT_EQ(StoredProcesses(e.name), processes);
    std::string nc = folder.ReadCp932(e.file);
    EXPECT_EQ(CheckNcProgram(nc), std::vector<std::string>{}) << e.name;
    EXPECT_EQ(Count(nc, "\r\nN[0-9]+\r\n"), processes) << e.name;
    EXPECT_EQ(Count(nc, "\r\n" + std::string(e.lengthOffset)), processes) << e.name;
    // Every hole kind of the plate has its body.
    EXPECT_NE(nc.find("G98 G8"), std::string::npos);
    EXPECT_NE(nc.find("G41"), std::string::npos);
  }
  // Between them the examples hold every hole kind, and each kind's bodies appear.
  std::string fanuc = folder.ReadCp932("ncdata/O1001.NC"), osp = folder.ReadCp932("ncdata/O1002.MIN");
  for (const char* kind :
       {"DRILL", "NTAP", "REAMER", "COUNTERBORE", "LONGHOLE", "CBLONGHOLE", "UGROOVE", "BIGHOLE"}) {
    bool found = false;
    for (const char* project : {"EXAMPLE-FANUC", "EXAMPLE-OSP"})
      for (int g = 1; g <= 6; ++g)
        found = found || GetKindWord(ReadString(folder.File(std::string("db/") + project + ".dat"),
                                                Sprintf("hole%d", g), "command", 48)) == kind;
    EXPECT_TRUE(found) << kind;
  }
  EXPECT_NE(fanuc.find(" M29\r\n"), std::string::npos);  // rigid tapping
  EXPECT_NE(fanuc.find("G98 G84"), std::string::npos);
  EXPECT_NE(osp.find("\r\nG15H01\r\n"), std::string::npos);
  EXPECT_NE(osp.find("\r\nG71 Z50. M53\r\n"), std::string::npos);
}

TEST_F(NcCli, NcWritesTheSameProgramAsRun) {
  ASSERT_EQ(Run({"run", "EXAMPLE-FANUC"}).status, 0);
  std::string first = folder.Read("ncdata/O1001.NC");
  CliResult r = Run({"nc", "example-fanuc"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.File("ncdata/O1001.NC") + "\n");
  EXPECT_EQ(folder.Read("ncdata/O1001.NC"), first);
  EXPECT_EQ(Run({"nc", folder.File("db/EXAMPLE-FANUC.dat")}).status, 0);
}

TEST_F(NcCli, RunPlansAProjectWithoutStoredProcesses) {
  ASSERT_EQ(Run({"new", "PLATE", "--size", "100,80,15", "--material", "SS400", "--controller", "FANUC",
                 "--coord", "G54", "--onumber", "33"})
                .status,
            0);
  ASSERT_EQ(Run({"hole", "PLATE", "--group", "1", "--kind", "DRILL", "--set", "0=6.8", "--at", "20,20",
                 "--at", "80,60"})
                .status,
            0);
  EXPECT_EQ(StoredProcesses("PLATE"), 0);
  // "nc" alone writes the frame of a project without processes.
  CliResult r = Run({"nc", "PLATE"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(folder.ReadCp932("ncdata/O0033.NC"), "\r\nN[0-9]+\r\n"), 0);

  r = Run({"run", "PLATE"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The NC program, then the process sheet; the hole drawing lies beside the project.
  EXPECT_EQ(r.out, folder.File("ncdata/O0033.NC") + "\n" + folder.File("db/PLATE.html") + "\n");
  EXPECT_TRUE(PathExists(folder.File("db/PLATE.dxf")));
  EXPECT_EQ(StoredProcesses("PLATE"), 2);  // centre drill and drill
  std::string nc = folder.ReadCp932("ncdata/O0033.NC");
  EXPECT_EQ(CheckNcProgram(nc), std::vector<std::string>{});
  EXPECT_NE(nc.find("\r\nG98 G81 X20. Y20. "), std::string::npos);
  EXPECT_NE(nc.find("\r\nG98 G83 X20. Y20. "), std::string::npos);
  EXPECT_NE(nc.find("\r\nX80. Y60.\r\n"), std::string::npos);
}

TEST_F(NcCli, FailuresAndUsage) {
  // A process whose hole group lost its kind: exit 1, the error on standard error, no program.
  std::string db = folder.File("db/EXAMPLE-OSP.dat");
  ASSERT_TRUE(DeleteKey(db, "hole4", "command"));
  CliResult r = Run({"nc", "EXAMPLE-OSP"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("エラー：加工命令取り出し失敗"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.File("ncdata/O1002.MIN")));

  EXPECT_EQ(Run({"nc"}).status, 2);
  EXPECT_EQ(Run({"run", "A", "B"}).status, 2);
  r = Run({"nc", "NO-SUCH-PROJECT"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
}

}  // namespace
}  // namespace talvorin::test
