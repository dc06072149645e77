// The NC file in the editor and the viewers, the hole drawing program, and the transfer by DNC and by
// FTP: what is started with which arguments, the FTP control and command files, and every message.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "outputs/Outputs.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

// Keeps the two FTP files as they are when the command file is run, and leaves the client's replies
// as the script would.
class CapturingPlatform : public RecordingPlatform {
 public:
  std::string control, script;
  unsigned controlMode = 0, scriptMode = 0;
  std::string folder;
  // A server that took the login and the file.
  std::string replies =
      "220 ready\n331 Please specify the password.\n230 Login successful.\n"
      "150 Ok to send data.\n226 Transfer complete.\n221 Goodbye.\n";

  int RunCommandFile(const std::string& path, std::chrono::milliseconds pause) override {
    control = ReadRaw(folder + "ncdata/krvftp.ctl", controlMode);
    script = ReadRaw(path, scriptMode);
    if (std::FILE* log = std::fopen((folder + "ncdata/krvftp.log").c_str(), "wb")) {
      std::fwrite(replies.data(), 1, replies.size(), log);
      std::fclose(log);
    }
    return RecordingPlatform::RunCommandFile(path, pause);
  }

 private:
  static std::string ReadRaw(const std::string& path, unsigned& mode) {
    struct stat st;
    mode = stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "";
    std::string bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
      bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
  }
};

const char* kScript =
    "#!/bin/sh\n"
    "# TALVORIN: sends the NC file named in krvftp.ctl. Both files are removed before the client\n"
    "# starts (it reads the control file already opened), so that no copy of the password outlives\n"
    "# the transfer, even when it is killed.\n"
    "cd \"$(dirname \"$0\")\" || exit 1\n"
    "rm -f krvftp.log\n"
    "set -C\n"
    "exec 3< krvftp.ctl || exit 1\n"
    "rm -f krvftp.ctl krvftp.sh\n"
    "timeout 120 ftp -n -v <&3 > krvftp.log 2>&1\n";

class NcTransfer : public ::testing::Test {
 protected:
  NcTransfer() {
    platform.folder = folder.path();
    Restore();
    ctx.dbPath = folder.File("db/P.dat");
  }

  // The installation and project of every case.
  void Restore() {
    Ini("[TALVORIN]\r\neditor=/usr/bin/mousepad\r\nncviewer=" + folder.File("viewer") +
        "\r\n[extension]\r\nFANUC=NC\r\n[NcdataTransfer]\r\nPROTOCOL=FTP\r\nFTP=192.0.2.7\r\nftpuser=nc\r\n"
        "ftppass=secret\r\nftpextention=1\r\n");
    folder.Write("viewer", "");
    folder.WriteCp932("db/P.dat", "[machine]\r\nControlDevice=FANUC\r\nncpath=" + folder.File("ncdata") +
                                      "\r\nncfile=O0012.NC\r\nonumber=12\r\n");
    folder.Write("ncdata/O0012.NC", "%\r\nO0012\r\nM30\r\n%\r\n");
  }

  void Ini(const std::string& text) { folder.WriteCp932("TALVORIN.ini", text); }
  // The single error box of the last operation.
  std::string Box() const {
    return t.reporter.boxes.size() == 1 ? t.reporter.boxes[0].first : "(no single box)";
  }
  void Reset() {
    t.reporter = RecordingReporter();
    platform.calls.clear();
  }
  std::string Nc() const { return folder.File("ncdata/O0012.NC"); }

  TestFolder folder;
  test::TestContext t{folder};
  CapturingPlatform platform;
  Context ctx{t.inst, t.reporter, platform, t.dialogs, ""};
};

TEST_F(NcTransfer, OpenNcFileInTheEditor) {
  ASSERT_EQ(OpenNcFile(ctx), 0);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].what, "start");
  EXPECT_EQ(platform.calls[0].target, "/usr/bin/mousepad");
  EXPECT_EQ(platform.calls[0].args, std::vector<std::string>{Nc()});

  // No editor setting, or the Windows default: the desktop's program for the file.
  for (const char* setting : {"", "notepad.exe"}) {
    Reset();
    WriteString(folder.File("TALVORIN.ini"), "TALVORIN", "editor", setting);
    ASSERT_EQ(OpenNcFile(ctx), 0);
    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(platform.calls[0].what, "open");
    EXPECT_EQ(platform.calls[0].target, Nc());
  }

  Reset();
  platform.startResult = false;
  EXPECT_EQ(OpenNcFile(ctx), -1);
  EXPECT_EQ(Box(), "エラー：NCファイルが開けません");

  Reset();
  std::remove(Nc().c_str());
  EXPECT_EQ(OpenNcFile(ctx), -1);
  EXPECT_EQ(Box(), "エラー：" + Nc() + "\nＮＣファイルがありません。");
  EXPECT_EQ(t.reporter.Lines().back(), "ＮＣファイルがありません。");  // two list lines

  Reset();
  WriteString(ctx.dbPath, "machine", "ncfile", "");
  EXPECT_EQ(OpenNcFile(ctx), -1);
  EXPECT_EQ(Box(), "エラー：[machine] ncfile= | db NCファイル取得失敗");
  Reset();
  WriteString(ctx.dbPath, "machine", "ncpath", "");
  EXPECT_EQ(OpenNcFile(ctx), -1);
  EXPECT_EQ(Box(), "エラー：[machine] ncpath= | db NCフォルダ取得失敗");
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(NcTransfer, ShowNcDataInTheViewer) {
  ASSERT_EQ(ShowNcData(ctx), 0);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].target, folder.File("viewer"));
  EXPECT_EQ(platform.calls[0].args, std::vector<std::string>{Nc()});

  struct Case {
    const char* section;
    const char* key;
    std::string value;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"machine", "ncpath", "", "エラー：[machine] ncpath= | db NCフォルダ取得失敗"},
      {"machine", "ncfile", "", "エラー：[machine] ncfile= | db NCファイル取得失敗"},
      {"machine", "ncfile", "O9.NC", "エラー：NCファイル " + folder.File("ncdata/O9.NC") + " がありません。"},
      {"TALVORIN", "ncviewer", folder.File("none"),
       "エラー：実行ファイル " + folder.File("none") + " がありません。"},
      {"TALVORIN", "ncviewer", "",
       "エラー：[TALVORIN] ncviewer= | ini NCデータ描画プログラム設定されてません"},
  };
  for (const Case& c : cases) {
    Reset();
    Restore();
    std::string file = std::string(c.section) == "machine" ? ctx.dbPath : folder.File("TALVORIN.ini");
    WriteString(file, c.section, c.key, c.value);
    EXPECT_EQ(ShowNcData(ctx), -1) << c.message;
    EXPECT_EQ(Box(), c.message);
    EXPECT_TRUE(platform.calls.empty());
  }

  // Without a project database file nothing happens and nothing is said.
  Reset();
  ctx.dbPath = folder.File("db/NONE.dat");
  EXPECT_EQ(ShowNcData(ctx), 0);
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST_F(NcTransfer, AViewerNamedRelativelyIsTheProgramFoldersOwn) {
  // The shipped setting "talvorin-ncview": the viewer in the program folder, not one on PATH.
  WriteString(folder.File("TALVORIN.ini"), "TALVORIN", "ncviewer", "talvorin-ncview");
  folder.Write("talvorin-ncview", "");
  ASSERT_EQ(ShowNcData(ctx), 0) << Box();
  ASSERT_EQ(ShowNcViewer(ctx, Nc()), 0) << Box();
  ASSERT_EQ(platform.calls.size(), 2u);
  for (const auto& call : platform.calls) {
    EXPECT_EQ(call.target, folder.File("talvorin-ncview"));
    EXPECT_EQ(call.args, std::vector<std::string>{Nc()});
  }
  // A relative name that is no file of the program folder is looked for on PATH.
  Reset();
  WriteString(folder.File("TALVORIN.ini"), "TALVORIN", "ncviewer", "no-such-viewer");
  EXPECT_EQ(ShowNcData(ctx), -1);
  EXPECT_EQ(Box(), "エラー：実行ファイル no-such-viewer がありません。");
  Reset();
  EXPECT_EQ(ShowNcViewer(ctx, Nc()), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣビューワーがありません。");
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(NcTransfer, ShowNcViewerForAGivenOrAChosenFile) {
  ASSERT_EQ(ShowProjectNcViewer(ctx), 0);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].args, std::vector<std::string>{Nc()});

  // Without a file the user chooses one of the controller's extension in the program's NC folder.
  Reset();
  t.dialogs.files.push_back(Nc());
  ASSERT_EQ(ShowNcViewer(ctx, ""), 0);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].args, std::vector<std::string>{Nc()});

  Reset();  // cancelled
  EXPECT_EQ(ShowNcViewer(ctx, ""), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣファイルが選択されてません。");

  Reset();
  EXPECT_EQ(ShowNcViewer(ctx, folder.File("ncdata/O1.NC")), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣファイルがありません。");

  Reset();
  platform.startResult = false;
  EXPECT_EQ(ShowNcViewer(ctx, Nc()), -1);
  EXPECT_EQ(Box(), "エラー：NcViewerの実行に失敗");

  Reset();
  WriteString(folder.File("TALVORIN.ini"), "TALVORIN", "ncviewer", folder.File("gone"));
  EXPECT_EQ(ShowNcViewer(ctx, Nc()), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣビューワーがありません。");

  Reset();
  WriteString(ctx.dbPath, "machine", "ncfile", "");
  EXPECT_EQ(ShowProjectNcViewer(ctx), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣファイル取得失敗");
  Reset();
  WriteString(ctx.dbPath, "machine", "ncpath", "");
  EXPECT_EQ(ShowProjectNcViewer(ctx), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣデータのフォルダ取得失敗");
}

TEST_F(NcTransfer, StartHoleDrawing) {
  // A missing drawing program is a list line only.
  EXPECT_EQ(StartHoleDrawing(ctx), -1);
  EXPECT_TRUE(t.reporter.boxes.empty());
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：実行ファイル " + folder.File("quorvex") + " がありません。");

  Reset();
  folder.Write("quorvex", "");
  ASSERT_EQ(StartHoleDrawing(ctx), 0);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].target, folder.File("quorvex"));
  EXPECT_EQ(platform.calls[0].args, std::vector<std::string>{ctx.dbPath});

  Reset();
  platform.startResult = false;
  EXPECT_EQ(StartHoleDrawing(ctx), -1);
  EXPECT_EQ(Box(), "エラー：定義ファイルが開けません");

  Reset();
  ctx.dbPath = folder.File("db/NONE.dat");
  EXPECT_EQ(StartHoleDrawing(ctx), 0);
  EXPECT_TRUE(t.reporter.Lines().empty());
  EXPECT_TRUE(platform.calls.empty());
}

TEST_F(NcTransfer, FtpControlAndCommandFiles) {
  ASSERT_EQ(TransferNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.control, "open 192.0.2.7\nuser nc secret\nput O0012.NC\nls\nquit\n");
  EXPECT_EQ(platform.controlMode, 0600u);
  EXPECT_EQ(platform.script, kScript);
  ASSERT_EQ(platform.calls.size(), 1u);
  EXPECT_EQ(platform.calls[0].what, "run");
  EXPECT_EQ(platform.calls[0].target, folder.File("ncdata/krvftp.sh"));
  EXPECT_EQ(platform.calls[0].pauseMs, 500);
  // Temporary: gone after the run (here the fake does not run the script).
  EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.ctl")));
  EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.sh")));
  EXPECT_EQ(t.reporter.Lines().back(), "MCデータサーバへ転送");
  const std::vector<std::string>& lines = t.reporter.Lines();
  EXPECT_EQ(lines[lines.size() - 3], "ＮＣファイル → O0012.NC");
  EXPECT_EQ(lines[lines.size() - 2], "ＩＰアドレス → 192.0.2.7");

  // "ftpextention" 0: the program number name without extension.
  Reset();
  WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "ftpextention", "0");
  ASSERT_EQ(TransferNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.control, "open 192.0.2.7\nuser nc secret\nput O0012.NC O0012\nls\nquit\n");

  // An NC folder other than the program's "ncdata": the file is named by its full path.
  Reset();
  folder.Write("other/O0012.NC", "%\r\n");
  WriteString(ctx.dbPath, "machine", "ncpath", folder.File("other"));
  ASSERT_EQ(TransferNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.control,
            "open 192.0.2.7\nuser nc secret\nput " + folder.File("other/O0012.NC") + " O0012\nls\nquit\n");
  Reset();
  WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "ftpextention", "1");
  ASSERT_EQ(TransferNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.control,
            "open 192.0.2.7\nuser nc secret\nput " + folder.File("other/O0012.NC") + " O0012.NC\nls\nquit\n");

  // The client ended well but the server refused the login, or nothing answered: failures.
  for (const char* replies :
       {"220 ready\n530 Login incorrect.\n", "ftp: Can't connect\nNot connected.\n", ""}) {
    Reset();
    platform.replies = replies;
    EXPECT_EQ(TransferNcFile(ctx), -1) << replies;
    ASSERT_EQ(t.reporter.boxes.size(), 2u);
    EXPECT_EQ(t.reporter.boxes[0].first, "エラー：ファイル転送に失敗しました。");
    EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.log")));
  }
  platform.replies = "230 ok\n226 ok\n";

  // The command file that could not be run.
  Reset();
  platform.commandResult = 127;
  EXPECT_EQ(TransferNcFile(ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：ファイル転送に失敗しました。");
  EXPECT_EQ(t.reporter.boxes[1].first, "エラー：データサーバへのファイル転送に失敗しました。");
}

TEST_F(NcTransfer, RelativeNcFolderLiesInTheProgramFolder) {
  WriteString(ctx.dbPath, "machine", "ncpath", "ncdata");
  ASSERT_EQ(TransferNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.control, "open 192.0.2.7\nuser nc secret\nput O0012.NC\nls\nquit\n");
  Reset();
  ASSERT_EQ(OpenNcFile(ctx), 0) << Box();
  EXPECT_EQ(platform.calls.at(0).args, std::vector<std::string>{Nc()});
  Reset();
  ASSERT_EQ(ShowNcData(ctx), 0) << Box();
  EXPECT_EQ(platform.calls.at(0).args, std::vector<std::string>{Nc()});
}

TEST_F(NcTransfer, TransferMessages) {
  const std::string ini = folder.File("TALVORIN.ini");
  struct Case {
    const char* key;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"ftppass", "", "エラー：[NcdataTransfer] ftppass= | init FTPパスワード取得失敗"},
      {"ftpuser", "", "エラー：[NcdataTransfer] ftpuser= | init FTPユーザー取得失敗"},
      {"FTP", "", "エラー：[NcdataTransfer] FTP= | init IPアドレス取得失敗"},
      {"PROTOCOL", "dnc", "エラー：[NcdataTransfer] dnc= | init NCデータ転送ソフト取得失敗"},
      {"DNC", "/opt/none/dncsend", "エラー：転送ソフト /opt/none/dncsend が見つかりません"},
      {"PROTOCOL", "", "エラー：[NcdataTransfer] protocol= | init NCデータ転送方法取得失敗"},
  };
  for (const Case& c : cases) {
    Reset();
    WriteString(ini, "NcdataTransfer", c.key, c.value);
    EXPECT_EQ(TransferNcFile(ctx), -1) << c.message;
    EXPECT_EQ(t.reporter.boxes.at(0).first, c.message);
    EXPECT_TRUE(platform.calls.empty());
  }
  // The password never stays on disk.
  EXPECT_FALSE(PathExists(folder.File("ncdata/krvftp.ctl")));

  // Another method does nothing.
  Reset();
  WriteString(ini, "NcdataTransfer", "PROTOCOL", "USB");
  EXPECT_EQ(TransferNcFile(ctx), 0);
  EXPECT_TRUE(platform.calls.empty());

  // A missing NC file is reported before any transfer setting is looked at.
  Reset();
  Ini("[TALVORIN]\r\n");
  std::remove(Nc().c_str());
  EXPECT_EQ(TransferNcFile(ctx), -1);
  EXPECT_EQ(Box(), "エラー：ＮＣ計算が終了していません。");
}

TEST_F(NcTransfer, DncStopsTheOldTransferAndStartsTheProgram) {
  // Test scripts that record their arguments, run by the real platform.
  folder.Write("StopDNC.bat", "echo stopped >> \"" + folder.File("stop.log") + "\"\n");
  folder.Write("dncsend", "#!/bin/sh\necho \"$@\" > \"" + folder.File("dnc.log.tmp") + "\"\nmv \"" +
                              folder.File("dnc.log.tmp") + "\" \"" + folder.File("dnc.log") + "\"\n");
  chmod(folder.File("dncsend").c_str(), 0755);
  WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "PROTOCOL", "dnc");
  WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "DNC", folder.File("dncsend"));
  PosixPlatform posix;
  Context real{t.inst, t.reporter, posix, t.dialogs, ctx.dbPath};
  ASSERT_EQ(TransferNcFile(real), 0) << Box();
  EXPECT_EQ(folder.Read("stop.log"), "stopped\n");  // waited for
  // The transfer program runs on its own: wait for its record, 10 s at most.
  for (int k = 0; k < 200 && !PathExists(folder.File("dnc.log")); ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(folder.Read("dnc.log"), Nc() + "\n");
  const std::vector<std::string>& lines = t.reporter.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "DNCソフトウェアを閉じます。"), lines.end());
}

}  // namespace
}  // namespace talvorin
