// talvorin-cli "trycut", "sheet", "edit", "view" and "transfer" as black boxes on the shipped FANUC
// example after "run": the files each writes, checked for their required structure, what is started
// and the exit status.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "shell/Platform.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

extern char** environ;

namespace talvorin::test {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++n;
  return n;
}

class OutputCli : public ::testing::Test {
 protected:
  OutputCli() {
    CopyProgramFolder(folder);
    db = folder.File("db/EXAMPLE-FANUC.dat");
    EXPECT_TRUE(WriteString(db, "machine", "ncpath", folder.File("ncdata")));
    EXPECT_TRUE(WriteString(db, "machine", "trycutpath", folder.File("trycut")));
  }
  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
  }

  TestFolder folder;
  std::string db;
};

TEST_F(OutputCli, TrycutFilesAndSheetOfTheExample) {
  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  CliResult r = Run({"trycut", db});
  ASSERT_EQ(r.status, 0) << r.err;
  // TRYCUT is only named without --open.
  EXPECT_NE(r.out.find("起動省略 (--open で起動): xdg-open " + folder.File("trycut/O1001.bat")),
            std::string::npos)
      << r.out;
  const std::string bat = folder.Read("trycut/O1001.bat");
  EXPECT_TRUE(bat.starts_with("@echo off\r\n\r\nset EXEFILE="));
  EXPECT_NE(bat.find("set NCDFILE=" + folder.File("ncdata") + "/O1001.NC\r\n\r\ncd /d %TRYPATH%\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(
      bat.find("start %EXEFILE% /x2 /s (0.,0.,50.) /d %BOXFILE% /t %TTLFILE% /c %CTLFILE% %NCDFILE%\r\n"),
      std::string::npos);
  EXPECT_EQ(folder.Read("trycut/O1001.box"), "+BOX(200.000 150.000 0.000 0.000 0.000 -20.000)\r\n");
  // The shipped template, then the four end mills' radius offsets (diameters 8, 8, 16, 16).
  const std::string ctl = folder.Read("trycut/O1001.CTL");
  EXPECT_EQ(ctl.substr(0, folder.Read("FANUC.CTL").size()), folder.Read("FANUC.CTL"));
  EXPECT_EQ(ctl.substr(folder.Read("FANUC.CTL").size()),
            "MEMORY D27 = 4.000\r\nMEMORY D28 = 4.000\r\nMEMORY D29 = 8.000\r\nMEMORY D30 = 8.000\r\n");
  // Process 1 is the centre drill T1 (diameter 3, Z -1); 15 processes, pens 1-7, 1-7, 1.
  const std::string ttl = folder.ReadCp932("trycut/O1001.ttl");
  const std::string blanks(13, ' ');
  EXPECT_TRUE(
      ttl.starts_with("INI = MAGAZINE01\r\nMAGAZINE01 = CUTTER/3.00,0,0,3.00,31,0,6,\"センタードリル\"\r\n" +
                      blanks + "LENGTH2/21,5,10,6\r\n" + blanks + "PEN/1\r\nMAGAZINE14 = "))
      << ttl;
  EXPECT_EQ(Count(ttl, "MAGAZINE"), 16u);
  EXPECT_EQ(Count(ttl, blanks + "PEN/1\r\n"), 3u);
  EXPECT_EQ(Count(ttl, blanks + "PEN/7\r\n"), 2u);
  EXPECT_TRUE(ttl.ends_with(blanks + "PEN/1\r\n\r\n"));  // the 15th process, then the empty line

  r = Run({"--quiet", "sheet", db});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.File("db/EXAMPLE-FANUC.html") + "\n");
  const std::string sheet = folder.ReadCp932("db/EXAMPLE-FANUC.html");
  EXPECT_EQ(sheet.find('\r'), std::string::npos);  // LF line ends
  EXPECT_NE(sheet.find("<title>EXAMPLE-FANUC HTML 加工指示書</title>\n"), std::string::npos);
  EXPECT_EQ(Count(sheet, "<tr class=\"title1\">\n"), 2u);
  EXPECT_EQ(Count(sheet, "<tr class=\"line1\">\n"), 8u);  // processes 1, 3, ..., 15
  EXPECT_EQ(Count(sheet, "<tr class=\"line0\">\n"), 7u);
  EXPECT_NE(sheet.find("<tr class=\"line1\">\n<td>ドリル穴 </td>\n<td>センタードリル</td>\n"),
            std::string::npos);
  EXPECT_TRUE(sheet.ends_with("</tr>\n\n</table>\n\n</body>\n</html>\n"));
}

TEST_F(OutputCli, EditorViewerAndDncTransfer) {
  // Before any program: the transfer names the missing calculation first.
  CliResult r = Run({"--quiet", "transfer", db});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ＮＣ計算が終了していません。\n");

  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  const std::string nc = folder.File("ncdata/O1001.NC");
  r = Run({"edit", db});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("起動省略 (--open で起動): "), std::string::npos);
  EXPECT_NE(r.out.find(" " + nc + "\n"), std::string::npos);

  // DNC, for real without --open: "StopDNC.bat" is run and waited for, then the transfer program gets
  // the file.
  folder.Write("StopDNC.bat", "echo stopped >> \"$(dirname \"$0\")/dnc.log\"\n");
  folder.Write("dncsend", "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/dnc.log\"\n");
  ASSERT_EQ(chmod(folder.File("dncsend").c_str(), 0755), 0);
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "protocol", "dnc"));
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "DNC", folder.File("dncsend")));
  r = Run({"--quiet", "transfer", db});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string expected = "stopped\n" + nc + "\n";
  for (int k = 0; k < 100 && folder.Read("dnc.log") != expected; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(folder.Read("dnc.log"), expected);

  EXPECT_EQ(Run({"sheet"}).status, 2);
  EXPECT_EQ(Run({"transfer", folder.File("db/NONE.dat")}).status, 1);
}

TEST_F(OutputCli, LinksPlantedAtGeneratedFilesAreReplacedNotWrittenThrough) {
  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  // Another user's links in the places of the files the commands write, all pointing at one file.
  TestFolder elsewhere;
  elsewhere.Write("victim", "untouched\n");
  const std::string victim = elsewhere.File("victim");
  const char* planted[] = {"trycut/O1001.bat", "trycut/O1001.ttl", "db/EXAMPLE-FANUC.html",
                           "ncdata/krvftp.ctl", "db/EXAMPLE-FANUC.dat.bak"};
  for (const char* relative : planted) {
    std::remove(folder.File(relative).c_str());
    ASSERT_EQ(symlink(victim.c_str(), folder.File(relative).c_str()), 0) << relative;
  }
  // A private project: its backup stays private.
  ASSERT_EQ(chmod(db.c_str(), 0600), 0);

  EXPECT_EQ(Run({"--quiet", "trycut", db}).status, 0);
  EXPECT_EQ(Run({"--quiet", "sheet", db}).status, 0);
  // FTP to a closed port of this machine: the control file is made whatever the outcome.
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "protocol", "FTP"));
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "FTP", "127.0.0.1 9"));
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "ftpuser", "nc"));
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "ftppass", "secret"));
  Run({"--quiet", "transfer", db});
  const std::string before = folder.Read("db/EXAMPLE-FANUC.dat");
  CliResult r = Run({"--quiet", "new", "EXAMPLE-FANUC", "--size", "200,150,20", "--material", "SS400",
                     "--controller", "FANUC", "--coord", "G54"});
  EXPECT_EQ(r.status, 0) << r.err;

  EXPECT_EQ(elsewhere.Read("victim"), "untouched\n");
  for (const char* relative :
       {"trycut/O1001.bat", "trycut/O1001.ttl", "db/EXAMPLE-FANUC.html", "db/EXAMPLE-FANUC.dat.bak"}) {
    struct stat st;
    ASSERT_EQ(lstat(folder.File(relative).c_str(), &st), 0) << relative;
    EXPECT_TRUE(S_ISREG(st.st_mode)) << relative;
  }
  EXPECT_TRUE(folder.Read("trycut/O1001.bat").starts_with("@echo off\r\n"));
  EXPECT_NE(folder.ReadCp932("db/EXAMPLE-FANUC.html").find("<title>EXAMPLE-FANUC HTML 加工指示書</title>"),
            std::string::npos);
  EXPECT_EQ(folder.Read("db/EXAMPLE-FANUC.dat.bak"), before);
  struct stat bak;
  ASSERT_EQ(stat(folder.File("db/EXAMPLE-FANUC.dat.bak").c_str(), &bak), 0);
  EXPECT_EQ(bak.st_mode & 0777, 0600u);
  // Neither the control file with the password nor the link is left.
  struct stat ctl;
  EXPECT_NE(lstat(folder.File("ncdata/krvftp.ctl").c_str(), &ctl), 0);
}

TEST_F(OutputCli, TemporaryFilesOfAKilledRunGoAtTheNextWriteInTheirFolder) {
  // What a killed save and a killed sheet leave, an hour old, beside a write in progress (fresh) and a
  // file of the user's own.
  folder.Write("db/.EXAMPLE-FANUC.dat.Ab12Cd", "half a save");
  folder.Write("db/.EXAMPLE-FANUC.html.x9Y8z7", "half a sheet");
  folder.Write("db/.EXAMPLE-FANUC.dat.Fresh1", "being written");
  folder.Write("db/.notes", "mine");
  const struct timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  for (const char* old : {"db/.EXAMPLE-FANUC.dat.Ab12Cd", "db/.EXAMPLE-FANUC.html.x9Y8z7", "db/.notes"})
    ASSERT_EQ(utimensat(AT_FDCWD, folder.File(old).c_str(), hourAgo, 0), 0);
  // A read leaves them.
  ASSERT_EQ(Run({"--quiet", "load", db}).status, 0);
  EXPECT_TRUE(PathExists(folder.File("db/.EXAMPLE-FANUC.dat.Ab12Cd")));

  ASSERT_EQ(Run({"--quiet", "sheet", db}).status, 0);
  EXPECT_FALSE(PathExists(folder.File("db/.EXAMPLE-FANUC.dat.Ab12Cd")));
  EXPECT_FALSE(PathExists(folder.File("db/.EXAMPLE-FANUC.html.x9Y8z7")));
  EXPECT_EQ(folder.Read("db/.EXAMPLE-FANUC.dat.Fresh1"), "being written");
  EXPECT_EQ(folder.Read("db/.notes"), "mine");
}

TEST_F(OutputCli, AKilledFtpTransferLeavesNoControlFileWithThePassword) {
  const char* path = std::getenv("PATH");
  if (FindProgramIn("ftp", path ? path : "").empty())
    GTEST_SKIP() << "no ftp client installed (Debian package tnftp)";
  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  // A server on this machine that takes the connection and never answers: the client waits.
  int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(server, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(server, 4), 0);
  ASSERT_EQ(getsockname(server, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string ini = folder.File("TALVORIN.ini");
  ASSERT_TRUE(WriteString(ini, "NcdataTransfer", "protocol", "FTP"));
  ASSERT_TRUE(
      WriteString(ini, "NcdataTransfer", "FTP", "127.0.0.1 " + std::to_string(ntohs(address.sin_port))));
  ASSERT_TRUE(WriteString(ini, "NcdataTransfer", "ftpuser", "nc"));
  ASSERT_TRUE(WriteString(ini, "NcdataTransfer", "ftppass", "secret"));

  // The transfer in a process group of its own, killed whole while the client waits.
  std::vector<std::string> argv{TALVORIN_CLI, "--folder", folder.path(), "--quiet", "transfer", db};
  std::vector<char*> args;
  for (std::string& a : argv)
    args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  // The client is connected once the server has a connection waiting.
  pollfd waiting{server, POLLIN, 0};
  const bool connected = poll(&waiting, 1, 10000) == 1;
  kill(-pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  close(server);
  ASSERT_TRUE(connected) << "the FTP client did not connect";
  EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.sh")));
}

}  // namespace
}  // namespace talvorin::test
