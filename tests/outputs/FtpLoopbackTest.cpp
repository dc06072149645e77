// The FTP transfer for real: a vsftpd of this test on 127.0.0.1 at a free port takes anonymous
// uploads into a temporary folder; TransferNcFile runs the platform's ftp client (tnftp) on it. The
// server runs in the foreground as a child, under a 60 s timeout, and is killed at the end.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "outputs/Outputs.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

extern char** environ;

namespace talvorin {
namespace {

using test::TestFolder;

// A port that nothing listens on now.
int FreePort() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  close(s);
  return port;
}

bool Accepts(int port) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

std::string FindProgram(const char* name) {
  for (const char* dir :
       {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/", "/usr/local/sbin/", "/usr/local/bin/"}) {
    std::string path = std::string(dir) + name;
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return "";
}

class FtpLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string vsftpd = FindProgram("vsftpd");
    if (vsftpd.empty())
      GTEST_SKIP() << "vsftpd is not installed (Debian package vsftpd): no FTP server to test against";
    if (FindProgram("ftp").empty()) GTEST_SKIP() << "no ftp client installed (Debian package tnftp)";
    port = FreePort();
    ASSERT_GT(port, 0);
    server.Write("upload/.keep", "");
    server.Write("empty/.keep", "");
    chmod(server.File("upload").c_str(), 0755);
    // Anonymous uploads into upload/, mapped to the launching user, without the sandboxes a container
    // may not allow.
    server.Write("vsftpd.conf",
                 "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(port) +
                     "\nbackground=NO\nanonymous_enable=YES\nlocal_enable=NO\nwrite_enable=YES\n"
                     "anon_upload_enable=YES\nno_anon_password=YES\nanon_root=" +
                     server.File("upload") +
                     "\nanon_umask=022\npasv_enable=YES\npasv_address=127.0.0.1\nconnect_from_port_20=NO\n"
                     "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\nrun_as_launching_user=YES\n"
                     "secure_chroot_dir=" +
                     server.File("empty") + "\nxferlog_enable=NO\nsyslog_enable=NO\nvsftpd_log_file=" +
                     server.File("vsftpd.log") + "\n");
    std::string timeout = FindProgram("timeout");
    std::vector<std::string> args;
    if (!timeout.empty()) args = {timeout, "60"};
    args.push_back(vsftpd);
    args.push_back(server.File("vsftpd.conf"));
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, server.File("stdout.log").c_str(), O_WRONLY | O_CREAT,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(rc, 0);
    for (int k = 0; k < 100 && !Accepts(port); ++k) {
      int status;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        GTEST_SKIP() << "vsftpd cannot run here: " << server.Read("stdout.log");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(Accepts(port)) << server.Read("stdout.log");

    program.WriteCp932("TALVORIN.ini",
                       "[NcdataTransfer]\r\nPROTOCOL=FTP\r\nFTP=127.0.0.1 " + std::to_string(port) +
                           "\r\nftpuser=anonymous\r\nftppass=nc@example.com\r\nftpextention=1\r\n");
    program.WriteCp932("db/P.dat", "[machine]\r\nncpath=" + program.File("ncdata") +
                                       "\r\nncfile=O0012.NC\r\nonumber=12\r\n");
    program.WriteCp932("ncdata/O0012.NC",
                       "%\r\nO0012\r\n(ドリル 6.8)\r\nG90 G00 G54 X0. Y0.\r\nM30\r\n%\r\n");
  }

  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGTERM);
      int status;
      waitpid(pid, &status, 0);
    }
  }

  TestFolder server, program;
  test::TestContext t{program};
  PosixPlatform platform;
  Context ctx{t.inst, t.reporter, platform, t.dialogs, ""};
  int port = 0;
  pid_t pid = -1;
};

TEST_F(FtpLoopback, UploadsUnderItsNameAndUnderTheProgramNumber) {
  ctx.dbPath = program.File("db/P.dat");
  const std::string sent = program.Read("ncdata/O0012.NC");
  ASSERT_EQ(TransferNcFile(ctx), 0) << (t.reporter.boxes.empty() ? "" : t.reporter.boxes[0].first);
  EXPECT_EQ(server.Read("upload/O0012.NC"), sent);
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.sh")));

  WriteString(program.File("TALVORIN.ini"), "NcdataTransfer", "ftpextention", "0");
  ASSERT_EQ(TransferNcFile(ctx), 0);
  EXPECT_EQ(server.Read("upload/O0012"), sent);
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.sh")));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

// The client ends with 0 whatever the server said: the transfer is judged by the server's replies.
TEST_F(FtpLoopback, AnUploadTheServerRefusesIsAFailure) {
  ctx.dbPath = program.File("db/P.dat");
  // A folder where the file would go: the server refuses to store it.
  server.Write("upload/O0012.NC/.keep", "");
  EXPECT_EQ(TransferNcFile(ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：ファイル転送に失敗しました。");
  EXPECT_EQ(t.reporter.boxes[1].first, "エラー：データサーバへのファイル転送に失敗しました。");
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.sh")));
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.log")));
}

TEST_F(FtpLoopback, ARefusedConnectionIsAFailure) {
  ctx.dbPath = program.File("db/P.dat");
  const int closed = FreePort();
  ASSERT_GT(closed, 0);
  WriteString(program.File("TALVORIN.ini"), "NcdataTransfer", "FTP", "127.0.0.1 " + std::to_string(closed));
  EXPECT_EQ(TransferNcFile(ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：ファイル転送に失敗しました。");
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.ctl")));
}

TEST_F(FtpLoopback, AServerThatNeverAnswersIsGivenUpAfterTheTimeLimit) {
  ctx.dbPath = program.File("db/P.dat");
  // A listener of this test that accepts connections (the kernel completes them) and never answers.
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len), 0);
  const std::string address = "127.0.0.1 " + std::to_string(ntohs(a.sin_port));
  WriteString(program.File("TALVORIN.ini"), "NcdataTransfer", "FTP", address);
  WriteString(program.File("TALVORIN.ini"), "NcdataTransfer", "ftptimeout", "2");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(TransferNcFile(ctx), -1);
  const auto took = std::chrono::steady_clock::now() - started;
  close(listener);
  EXPECT_LT(took, std::chrono::seconds(20));
  ASSERT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：データサーバ " + address + " が 2 秒以内に応答しません");
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(program.File("ncdata/krvftp.sh")));
}

}  // namespace
}  // namespace talvorin
