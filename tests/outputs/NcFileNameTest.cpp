// Every reader of the project's NC file takes "ncfile" as a file of the folder "ncpath", never as a way
// out of it: the time estimate, the TRYCUT hand-off, the transfer, the viewers and the editor refuse a
// name with "/" or a name "." or "..", with the message naming section, key and value, and neither
// read, start nor write anything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "mtime/MachiningTime.h"
#include "outputs/Jobs.h"
#include "outputs/Outputs.h"
#include "store/Profile.h"
#include "support/TestFolder.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

using test::TestFolder;

class NcFileName : public ::testing::Test {
 protected:
  NcFileName() {
    folder.WriteCp932("TALVORIN.ini",
                      "[TALVORIN]\r\nncviewer=" + folder.File("viewer") +
                          "\r\n[extension]\r\nFANUC=NC\r\n[NcdataTransfer]\r\nPROTOCOL=DNC\r\nDNC=" +
                          folder.File("dnc") + "\r\n[trycut]\r\nexeFile=C:\\TRYCUT\\TRY.EXE\r\n");
    folder.Write("viewer", "");
    folder.Write("dnc", "");
    folder.WriteCp932("db/P.dat",
                      "[machine]\r\nControlDevice=FANUC\r\nncpath=" + folder.File("ncdata") +
                          "\r\nncfile=O0012.NC\r\nonumber=12\r\ntrycutpath=" + folder.File("trycut") +
                          "\r\ntrycutfile=O0012\r\nStartX=0\r\nStartY=0\r\nStartZ=100\r\n"
                          "[trycut]\r\nXmax=100\r\nXmin=0\r\nYmax=50\r\nYmin=0\r\nZmax=0\r\nZmin=-10\r\n");
    folder.Write("ncdata/O0012.NC", "%\r\nO0012\r\nM30\r\n%\r\n");
    folder.Write("trycut/.keep", "");
    // What an escaping name would reach: a program beside the NC folder.
    folder.Write("O0099.NC", "%\r\nO0099\r\nG00 X100. Y100.\r\nM30\r\n%\r\n");
    ctx.dbPath = folder.File("db/P.dat");
  }

  // The single box of the last operation.
  std::string Box() const {
    return t.reporter.boxes.size() == 1 ? t.reporter.boxes[0].first : "(no single box)";
  }

  TestFolder folder;
  test::TestContext t{folder};
  RecordingPlatform platform;
  Context ctx{t.inst, t.reporter, platform, t.dialogs, ""};
};

TEST_F(NcFileName, EveryReaderRefusesANameThatLeavesTheNcFolder) {
  struct Reader {
    const char* name;
    int (*run)(Context&);
  };
  const Reader readers[] = {
      {"time", [](Context& c) { return Processing_Time(c, 1); }},
      {"trycut", [](Context& c) { return TrycutMain(c); }},
      {"transfer", [](Context& c) { return TransferNcFile(c); }},
      {"viewer", [](Context& c) { return ShowNcData(c); }},
      {"project viewer", [](Context& c) { return ShowProjectNcViewer(c); }},
      {"editor", [](Context& c) { return OpenNcFile(c); }},
  };
  for (const char* bad : {"../O0099.NC", "..", ".", "/etc/passwd", "sub/O0012.NC", "|touch${IFS}X", "!sh",
                          "-O0012.NC", "O00\t12.NC", "O0012.NC\x7f"}) {
    for (const Reader& reader : readers) {
      SCOPED_TRACE(std::string(reader.name) + " with " + bad);
      ASSERT_TRUE(WriteString(ctx.dbPath, "machine", "ncfile", bad));
      t.reporter = RecordingReporter();
      platform.calls.clear();
      EXPECT_EQ(reader.run(ctx), -1);
      EXPECT_EQ(Box(), std::string("エラー：[machine] ncfile=") + bad + " ＮＣファイル名が正しくありません");
      EXPECT_TRUE(platform.calls.empty());
      // Nothing of the estimate was stored.
      EXPECT_EQ(ReadString(ctx.dbPath, "machine", "Seconds_Time3", 16), "");
    }
  }
  // TRYCUT stopped at the batch file's NC line: no control, box or tool file.
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.CTL")));
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.box")));
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.ttl")));

  // The same readers with the plain name go on past the check.
  ASSERT_TRUE(WriteString(ctx.dbPath, "machine", "ncfile", "O0012.NC"));
  for (const Reader& reader : readers) {
    SCOPED_TRACE(reader.name);
    t.reporter = RecordingReporter();
    reader.run(ctx);
    for (const std::string& line : t.reporter.Lines())
      EXPECT_EQ(line.find("ＮＣファイル名が正しくありません"), std::string::npos) << line;
  }
}

TEST_F(NcFileName, TheEstimateReadsOnlyARegularFile) {
  // A FIFO in the NC file's place (nobody writes to it) and a folder: refused, never waited on. The
  // estimate runs in a child that an alarm ends, so a regression fails instead of hanging the suite.
  std::remove(folder.File("ncdata/O0012.NC").c_str());
  ASSERT_EQ(mkfifo(folder.File("ncdata/O0012.NC").c_str(), 0600), 0);
  folder.Write("ncdata/O0013.NC/keep", "");
  for (const char* name : {"O0012.NC", "O0013.NC"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(WriteString(ctx.dbPath, "machine", "ncfile", name));
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      alarm(10);
      RecordingReporter reporter;
      Context child{t.inst, reporter, platform, t.dialogs, ctx.dbPath};
      int calculation = 0;
      const bool refused = Processing_Time(child, 1, TimeProgress(), calculation) == 0 && calculation == -1 &&
                           reporter.boxes.size() == 1 &&
                           reporter.boxes[0].first ==
                               "エラー：ＮＣファイル " + folder.File("ncdata/") + name + " が開けません。";
      _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
}

TEST_F(NcFileName, TrycutRefusesABaseNameThatLeavesItsFolder) {
  ASSERT_TRUE(WriteString(ctx.dbPath, "machine", "trycutfile", "../O0012"));
  EXPECT_EQ(TrycutMain(ctx), -1);
  EXPECT_EQ(Box(), "エラー：[machine] trycutfile=../O0012 ファイル名が正しくありません");
  EXPECT_FALSE(PathExists(folder.File("O0012.bat")));
  EXPECT_TRUE(platform.calls.empty());
}

}  // namespace
}  // namespace talvorin
