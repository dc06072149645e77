// The NC file after generation: shown in the editor or the NC viewer, sent to the machine by a DNC
// program or by FTP; and the hole drawing program started on the project.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "outputs/Outputs.h"
#include "project/Project.h"
#include "project/ProjectDatabase.h"
#include "store/Ascii.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kProgramLimit = 520;  // program paths and the transfer setting: 519 bytes
constexpr std::size_t kShortLimit = 16;     // method, controller, extension: 15 bytes
constexpr std::size_t kFtpLimit = 32;       // FTP user and password: 31 bytes
constexpr const char* kTransferSection = "NcdataTransfer";

// The command file of the upload: a fixed script, nothing in it comes from data but the time limit
// (a whole number). In its own folder it opens the control file and removes it and itself before the
// client starts (so that no copy of the password outlives a killed transfer), runs the FTP client on
// what it opened with its replies into krvftp.log (created anew: a file or link already there makes
// it fail), and gives the client up after the time limit (a server that accepts and never answers).
constexpr const char* kFtpScript =
    "#!/bin/sh\n"
    "# TALVORIN: sends the NC file named in krvftp.ctl. Both files are removed before the client\n"
    "# starts (it reads the control file already opened), so that no copy of the password outlives\n"
    "# the transfer, even when it is killed.\n"
    "cd \"$(dirname \"$0\")\" || exit 1\n"
    "rm -f krvftp.log\n"
    "set -C\n"
    "exec 3< krvftp.ctl || exit 1\n"
    "rm -f krvftp.ctl krvftp.sh\n"
    "timeout %d ftp -n -v <&3 > krvftp.log 2>&1\n";

constexpr int kFtpTimeLimit = 120;  // seconds, when "ftptimeout" is not set
constexpr int kTimedOut = 124;      // the exit status of timeout(1) when it stopped the client

// The client's exit status says nothing of the transfer (it ends with 0 when the server refused the
// connection, the login or the file): the upload counts only when the server accepted the login and
// confirmed a transfer, and refused nothing.
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool UploadConfirmed(const std::string& log) {
  bool loggedIn = false, transferred = false;
  std::size_t from = 0;
  while (from < log.size()) {
    std::size_t end = log.find('\n', from);
    if (end == std::string::npos) end = log.size();
    std::string_view line(log.data() + from, end - from);
    from = end + 1;
    if (line.starts_with("Not connected")) return false;
    if (line.size() < 4 || line[0] < '1' || line[0] > '5' || !IsDigit(line[1]) || !IsDigit(line[2]) ||
        (line[3] != ' ' && line[3] != '-'))
      continue;
    if (line[0] == '4' || line[0] == '5') return false;
    if (line.starts_with("230")) loggedIn = true;
    if (line.starts_with("226")) transferred = true;
  }
  return loggedIn && transferred;
}

// The same folder, whatever way it is written.
bool SameFolder(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// The program a viewer setting names: a relative name of a file in the program folder is that file
// (the suite's own "talvorin-ncview"); anything else is found as the platform finds programs (an
// absolute path, or a name on PATH). Empty when there is no such program.
std::string SettingProgram(Context& ctx, const std::string& value) {
  if (!value.empty() && value.front() != '/') {
    std::string local = ProgramFile(ctx.inst, value);
    if (PathExists(local)) return local;
  }
  return ctx.platform.FindProgram(value).empty() ? std::string() : value;
}

bool HasBlankOrQuote(std::string_view text) {
  for (char c : text)
    if (c == ' ' || c == '\t' || c == '"' || c == '\'') return true;
  return false;
}

}  // namespace

int OpenNcFile(Context& ctx) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : OpenNcFile", 0);
  NcFilePath nc;
  if (GetNcFilePath(ctx, nc) != 0) return -1;
  const std::string& path = nc.path;
  if (!PathExists(path)) return rep.Reportf(-1, "エラー：%s\nＮＣファイルがありません。", path.c_str());
  // Without an editor setting (or with the Windows default) the desktop's own program opens the file.
  std::string editor = ReadString(ctx.inst.iniPath, "TALVORIN", "editor", kProgramLimit);
  bool started = editor.empty() || EqualsIgnoringAsciiCase(editor, "notepad.exe")
                     ? ctx.platform.OpenDocument(path)
                     : ctx.platform.StartProgram(editor, {path});
  if (!started) return rep.Report("エラー：NCファイルが開けません", -1);
  return 0;
}

int ShowNcData(Context& ctx) {
  if (ctx.dbPath.empty() || !PathExists(ctx.dbPath)) return 0;
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : ShowNcData", 0);
  std::string viewer = ReadString(ctx.inst.iniPath, "TALVORIN", "ncviewer", kProgramLimit);
  if (viewer.empty())
    return rep.Reportf(-1, "エラー：[%s] ncviewer= | ini NCデータ描画プログラム設定されてません", "TALVORIN");
  const std::string program = SettingProgram(ctx, viewer);
  if (program.empty()) return rep.Reportf(-1, "エラー：実行ファイル %s がありません。", viewer.c_str());
  const NcFilePath nc = ReadNcFilePath(ctx);
  if (nc.name.empty()) return rep.Reportf(-1, "エラー：[%s] ncfile= | db NCファイル取得失敗", "machine");
  if (nc.folder.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | db NCフォルダ取得失敗", "machine", "ncpath");
  if (!IsPlainFileName(nc.name)) return ReportBadNcFileName(ctx, nc.name);
  const std::string& path = nc.path;
  if (!PathExists(path)) return rep.Reportf(-1, "エラー：NCファイル %s がありません。", path.c_str());
  if (!ctx.platform.StartProgram(program, {path}))
    return rep.Report("エラー：NCファイルの描画ができません", -1);
  return 0;
}

int ShowNcViewer(Context& ctx, const std::string& file) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : ShowNcViewer", 0);
  std::string viewer = ReadString(ctx.inst.iniPath, "TALVORIN", "ncviewer", kProgramLimit);
  if (viewer.empty())
    return rep.Reportf(-1, "エラー：[%s] ncviewer= | ini NCデータ描画プログラム設定されてません", "TALVORIN");
  const std::string program = SettingProgram(ctx, viewer);
  if (program.empty()) return rep.Report("エラー：ＮＣビューワーがありません。", -1);
  std::string path = file;
  if (path.empty()) {
    std::string controller = ReadStringOr(ctx.dbPath, "machine", "ControlDevice", kShortLimit, "FANUC");
    std::string extension = ReadStringOr(ctx.inst.iniPath, "extension", controller, kShortLimit, "ncd");
    if (ChooseFile(ctx, path, extension, ctx.inst.programFolder + "ncdata") != 1)
      return rep.Report("エラー：ＮＣファイルが選択されてません。", -1);
  }
  if (!PathExists(path)) return rep.Report("エラー：ＮＣファイルがありません。", -1);
  if (!ctx.platform.StartProgram(program, {path})) return rep.Report("エラー：NcViewerの実行に失敗", -1);
  return 0;
}

int ShowProjectNcViewer(Context& ctx) {
  const NcFilePath nc = ReadNcFilePath(ctx);
  if (nc.folder.empty()) return ctx.reporter.Report("エラー：ＮＣデータのフォルダ取得失敗", -1);
  if (nc.name.empty()) return ctx.reporter.Report("エラー：ＮＣファイル取得失敗", -1);
  if (!IsPlainFileName(nc.name)) return ReportBadNcFileName(ctx, nc.name);
  return ShowNcViewer(ctx, nc.path);
}

int StartHoleDrawing(Context& ctx) {
  if (ctx.dbPath.empty() || !PathExists(ctx.dbPath)) return 0;
  std::string program = ProgramFile(ctx.inst, "quorvex");
  if (!PathExists(program)) {
    ctx.reporter.Reportf(0, "エラー：実行ファイル %s がありません。", program.c_str());
    return -1;
  }
  if (!ctx.platform.StartProgram(program, {ctx.dbPath}))
    return ctx.reporter.Report("エラー：定義ファイルが開けません", -1);
  return 0;
}

void StopDnc(Context& ctx) {
  ctx.reporter.Report("DNCソフトウェアを閉じます。", 0);
  std::string stop = ProgramFile(ctx.inst, "StopDNC.bat");
  if (PathExists(stop)) ctx.platform.RunCommandFile(stop);
}

int TransferNcFile(Context& ctx) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : TransferNcFile", 0);
  NcFilePath nc;
  if (GetNcFilePath(ctx, nc) != 0) return -1;
  const std::string& path = nc.path;
  if (!PathExists(path)) return rep.Report("エラー：ＮＣ計算が終了していません。", -1);

  std::string method = ReadString(ctx.inst.iniPath, kTransferSection, "protocol", kShortLimit);
  if (method.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | init NCデータ転送方法取得失敗", kTransferSection, "protocol");
  std::string setting = ReadString(ctx.inst.iniPath, kTransferSection, method, kProgramLimit);

  if (EqualsIgnoringAsciiCase(method, "DNC")) {
    if (setting.empty())
      return rep.Reportf(-1, "エラー：[%s] %s= | init NCデータ転送ソフト取得失敗", kTransferSection,
                         method.c_str());
    if (ctx.platform.FindProgram(setting).empty())
      return rep.Reportf(-1, "エラー：転送ソフト %s が見つかりません", setting.c_str());
    StopDnc(ctx);
    if (!ctx.platform.StartProgram(setting, {path})) return rep.Report("エラー：ＮＣファイルの転送失敗", -1);
    return 0;
  }
  if (EqualsIgnoringAsciiCase(method, "FTP")) {
    if (setting.empty())
      return rep.Reportf(-1, "エラー：[%s] %s= | init IPアドレス取得失敗", kTransferSection, method.c_str());
    if (FtpTransfer(ctx, kTransferSection, nc.folder, nc.name, setting) != 0)
      return rep.Report("エラー：データサーバへのファイル転送に失敗しました。", -1);
    rep.Reportf(0, "ＮＣファイル → %s\nＩＰアドレス → %s\nMCデータサーバへ転送", nc.name.c_str(),
                setting.c_str());
    return 0;
  }
  return 0;  // another method: nothing to do
}

int FtpTransfer(Context& ctx, std::string_view section, const std::string& folder, const std::string& name,
                const std::string& address) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : FtpTransfer", 0);
  const std::string sectionText(section);
  std::string user = ReadString(ctx.inst.iniPath, section, "ftpuser", kFtpLimit);
  if (user.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | init FTPユーザー取得失敗", sectionText.c_str(), "ftpuser");
  std::string password = ReadString(ctx.inst.iniPath, section, "ftppass", kFtpLimit);
  if (password.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | init FTPパスワード取得失敗", sectionText.c_str(), "ftppass");

  // The client runs in the program folder's "ncdata" folder: a file of another folder is named with
  // its full path, so that the file sent is always the project's own.
  const std::string ncdata = ctx.inst.programFolder + "ncdata";
  const bool inNcdata = SameFolder(folder, ncdata);
  std::string local = inNcdata ? name : Sprintf("%s/%s", folder.c_str(), name.c_str());
  if (HasBlankOrQuote(local))
    return rep.Reportf(-1, "エラー：ＮＣファイル %s は空白を含むため転送できません", local.c_str());
  std::string put;
  if (ReadInt(ctx.inst.iniPath, section, "ftpextention", 1) != 0)
    put = inNcdata ? Sprintf("put %s", name.c_str()) : Sprintf("put %s %s", local.c_str(), name.c_str());
  else
    put = Sprintf("put %s O%04d", local.c_str(), ReadInt(ctx.dbPath, "machine", "onumber", 1));

  const std::string control = Sprintf("%s%s/%s", ctx.inst.programFolder.c_str(), "ncdata", "krvftp.ctl");
  const std::string command = Sprintf("%s%s/%s", ctx.inst.programFolder.c_str(), "ncdata", "krvftp.sh");
  auto removeBoth = [&] {
    unlink(control.c_str());
    unlink(command.c_str());
  };
  TextFile ctl({TextEncoding::kCp932, "\n"});
  if (!ctl.CreatePrivate(control))
    return rep.Reportf(-1, "エラー：ファイル %s が開けません", control.c_str());
  ctl.Line(Sprintf("open %s", address.c_str()));
  ctl.Line(Sprintf("user %s %s", user.c_str(), password.c_str()));
  ctl.Line(put);
  ctl.Line("ls");
  ctl.Line("quit");
  if (!ctl.Commit()) {
    removeBoth();
    return rep.Reportf(-1, "エラー：ファイル %s が開けません", control.c_str());
  }
  TextFile sh({TextEncoding::kCp932, "\n"});
  if (!sh.CreatePrivate(command)) {
    removeBoth();
    return rep.Reportf(-1, "エラー：ファイル %s が開けません", command.c_str());
  }
  const int limit = std::clamp(ReadInt(ctx.inst.iniPath, section, "ftptimeout", kFtpTimeLimit), 1, 3600);
  sh.Raw(Sprintf(kFtpScript, limit));
  if (!sh.Commit()) {
    removeBoth();
    return rep.Reportf(-1, "エラー：ファイル %s が開けません", command.c_str());
  }

  // The client starts half a second after the files are written, as the transfer always has: a data
  // server that has just closed the previous upload's session gets that moment before the next login.
  const std::string logPath = Sprintf("%s%s/%s", ctx.inst.programFolder.c_str(), "ncdata", "krvftp.log");
  int status = ctx.platform.RunCommandFile(command, std::chrono::milliseconds(500));
  removeBoth();  // the script removes them; a script that did not run must not leave the password
  std::string log;
  ReadWholeFile(logPath, log);
  unlink(logPath.c_str());
  if (status == kTimedOut)
    return rep.Reportf(-1, "エラー：データサーバ %s が %d 秒以内に応答しません", address.c_str(), limit);
  if (status != 0) return rep.Report("エラー：ファイル転送に失敗しました。", -1);
  if (!UploadConfirmed(log)) {
    // The server's own words say why.
    rep.Report(log.empty() ? std::string("... 転送の応答なし") : log, 0);
    return rep.Report("エラー：ファイル転送に失敗しました。", -1);
  }
  return 0;
}

}  // namespace talvorin
