// The four files TRYCUT is started with, and its start through the batch file.
#include <array>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "process/Process.h"
#include "project/ProjectOutputs.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

constexpr std::size_t kPathLimit = 260;     // "trycutpath", "ncpath": 259 bytes
constexpr std::size_t kFileLimit = 128;     // "trycutfile", "ncfile": 127 bytes
constexpr std::size_t kProgramLimit = 520;  // "exeFile": 519 bytes
constexpr std::size_t kShortLimit = 16;     // start option, start point, box values, D, diam: 15 bytes
constexpr std::size_t kDeviceLimit = 32;    // "ControlDevice" as read here: 31 bytes
constexpr std::size_t kToolLimit = 32;      // "tool": 31 bytes
constexpr int kMaxTrycutProcesses = 99;
constexpr int kPens = 7;
constexpr const char* kCrLf = "\r\n";

// "%d" of a stored number: truncated toward zero, held to the int range.
int Truncated(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// "trycutpath" and "trycutfile" of section "machine".
int ReadTrycutNames(Context& ctx, std::string& folder, std::string& base) {
  folder = ReadString(ctx.dbPath, "machine", "trycutpath", kPathLimit);
  if (folder.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db フォルダ取得失敗", "machine", "trycutpath");
  base = ReadString(ctx.dbPath, "machine", "trycutfile", kFileLimit);
  if (base.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db ファイル名取得失敗", "machine", "trycutfile");
  folder = StoredFolderPath(ctx.inst, folder);
  return 0;
}

// The cutter and length lines of a tool by its name; false when no rule matches.
bool CutterLines(std::string_view tool, double diam, double depth, std::string& cutter, std::string& length) {
  const std::string name(tool);
  if (Contains(tool, "センタードリル")) {
    cutter = Sprintf("CUTTER/%.2f,0,0,%.2f,31,0,%.0f,\"%s\"", diam, diam, depth + 5, name.c_str());
    length = Sprintf("%13c%1s%.0f,%d,%d,%d", ' ', "LENGTH2/", depth + 20, 5, 10, 6);
  } else if (Contains(tool, "ドリル")) {
    cutter = Sprintf("CUTTER/%.2f,0,0,%.2f,31,0,%.0f,\"%s\"", diam, diam, depth + 5, name.c_str());
    length = Sprintf("%13c%s%.0f", ' ', "LENGTH/", depth + 20);
  } else if (Contains(tool, "面取")) {
    cutter = Sprintf("CUTTER/%.2f,0,0,%.2f,45,0,%.2f,\"%s\"", diam, diam, diam / 2, name.c_str());
    length = Sprintf("%13c%s%.0f", ' ', "LENGTH/", depth + 30);
  } else if (Contains(tool, "タップ") || Contains(tool, "リーマ") || Contains(tool, "エンドミル")) {
    cutter = Sprintf("CUTTER/%.2f,0,0,%.2f,0,0,%.0f,\"%s\"", diam, diam, depth + 5, name.c_str());
    length = Sprintf("%13c%s%.0f", ' ', "LENGTH/", depth + 20);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int MakeTrycutBatchFile(Context& ctx, const std::string& folder, const std::string& base,
                        std::string& batchPath) {
  Reporter& rep = ctx.reporter;
  std::string exe = ReadString(ctx.inst.iniPath, "trycut", "exeFile", kProgramLimit);
  if (exe.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | db TRYCUTファイル取得失敗", "trycut", "exeFile");
  std::string option = ReadString(ctx.inst.iniPath, "trycut", "StartOption", kShortLimit, "/x2");

  batchPath = Sprintf("%s/%s.bat", folder.c_str(), base.c_str());
  OutputFile bat;
  if (!bat.Create(batchPath, kCrLf)) return rep.Report("エラー：TRYCUT バッチファイルが開けません", -1);
  bat.Line("@echo off");
  bat.Line("");
  bat.Line(Sprintf("set EXEFILE=%s", exe.c_str()));
  bat.Line("");
  bat.Line("set TRYPATH=%~dp0");  // the batch file's own folder
  bat.Line("");
  bat.Line(Sprintf("set CTLFILE=%s.CTL", base.c_str()));
  bat.Line(Sprintf("set TTLFILE=%s.ttl", base.c_str()));
  bat.Line(Sprintf("set BOXFILE=%s.box", base.c_str()));
  bat.Line("");

  // A missing NC file name leaves the batch file as far as it was written.
  std::string ncfile = ReadString(ctx.dbPath, "machine", "ncfile", kFileLimit);
  if (ncfile.empty()) {
    bat.Close();
    return rep.Reportf(-1, "エラー：[%s] %s= | db NCファイル取得失敗", "machine", "ncfile");
  }
  std::string ncpath = ReadString(ctx.dbPath, "machine", "ncpath", kPathLimit);
  if (ncpath.empty()) {
    bat.Close();
    return rep.Reportf(-1, "エラー：[%s] %s= | db NCフォルダ取得失敗", "machine", "ncpath");
  }
  bat.Line(Sprintf("set NCDFILE=%s/%s", StoredFolderPath(ctx.inst, ncpath).c_str(), ncfile.c_str()));
  bat.Line("");
  bat.Line("cd /d %TRYPATH%");
  bat.Line("");

  // The start point as stored, "0" for an axis that is not set.
  std::array<std::string, 3> start;
  const char axes[3] = {'X', 'Y', 'Z'};
  for (std::size_t a = 0; a < 3; ++a)
    start[a] = ReadString(ctx.dbPath, "machine", Sprintf("%s%c", "Start", axes[a]), kShortLimit, "0");
  bat.Line(
      Sprintf("start %%EXEFILE%% %s /s (%s,%s,%s) /d %%BOXFILE%% /t %%TTLFILE%% /c %%CTLFILE%% %%NCDFILE%%",
              option.c_str(), start[0].c_str(), start[1].c_str(), start[2].c_str()));
  if (!bat.Close()) return rep.Report("エラー：TRYCUT バッチファイルが開けません", -1);
  return 0;
}

int SettingTrycutCTLfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  std::string device = ReadString(ctx.dbPath, "machine", "ControlDevice", kDeviceLimit);
  if (device.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | db 制御装置取得失敗", "machine", "ControlDevice");
  const char* templateName = "FANUC.CTL";
  if (Contains(device, "FANUC")) {
    templateName = "FANUC.CTL";
  } else if (Contains(device, "OSP")) {
    templateName = "OSP.CTL";
  } else {
    rep.Report("制御装置未サポートのためFANUCに設定", 0);
  }

  // The template is copied byte for byte; a last line without its line end gets one, so that the
  // first MEMORY line stands on a line of its own.
  const std::string path = Sprintf("%s/%s.CTL", folder.c_str(), base.c_str());
  std::string bytes;
  OutputFile copy;
  if (!ReadWholeFile(ProgramFile(ctx.inst, templateName), bytes) || !copy.Create(path, kCrLf))
    return rep.Report("エラー：CTLファイルのコピー失敗", -1);
  copy.Raw(bytes);
  if (!bytes.empty() && bytes.back() != '\n') copy.Raw(kCrLf);
  if (!copy.Close()) return rep.Report("エラー：CTLファイルのコピー失敗", -1);

  OutputFile ctl;
  if (!ctl.Append(path, kCrLf)) return rep.Report("エラー：TRYCUTコントロールファイルが開けません", -1);
  for (int n = 1; n <= kMaxTrycutProcesses; ++n) {
    std::string section = Sprintf("%s%d", "ncproc", n);
    if (ReadString(ctx.dbPath, section, "tool", kToolLimit).empty()) break;
    std::string d = ReadString(ctx.dbPath, section, "D", kShortLimit);
    std::string diam = ReadString(ctx.dbPath, section, "diam", kShortLimit);
    if (d.empty() || diam.empty()) continue;
    ctl.Line(Sprintf("MEMORY D%02d = %.3f", AtoI(d), AtoF(diam) / 2));
  }
  if (!ctl.Close()) return rep.Report("エラー：TRYCUTコントロールファイルが開けません", -1);
  return 0;
}

int SettingTrycutBOXfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  double values[6];
  const char axes[3] = {'X', 'Y', 'Z'};
  for (int k = 0; k < 6; ++k) {
    const bool max = k < 3;
    std::string key = Sprintf("%c%s", axes[k % 3], max ? "max" : "min");
    std::string text = ReadString(ctx.dbPath, "trycut", key, kShortLimit);
    if (text.empty())
      return rep.Reportf(
          -1, max ? "エラー：[%s] %s=%s 最大材料値取得失敗" : "エラー：[%s] %s=%s 最小材料値取得失敗",
          "trycut", key.c_str(), "");
    values[k] = AtoF(text);
  }
  OutputFile box;
  if (!box.Create(Sprintf("%s/%s.box", folder.c_str(), base.c_str()), kCrLf))
    return rep.Report("エラー：TRYCUT 材料定義ファイルが開けません", -1);
  box.Line(Sprintf("+BOX(%.3f %.3f %.3f %.3f %.3f %.3f)", values[0], values[1], values[2], values[3],
                   values[4], values[5]));
  if (!box.Close()) return rep.Report("エラー：TRYCUT 材料定義ファイルが開けません", -1);
  return 0;
}

int SettingTrycutTTLfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  OutputFile ttl;
  if (!ttl.Create(Sprintf("%s/%s.ttl", folder.c_str(), base.c_str()), kCrLf))
    return rep.Report("エラー：TRYCUT 工具設定ファイルが開けません", -1);
  for (int n = 1; n <= kMaxTrycutProcesses; ++n) {
    std::string section = Sprintf("%s%d", "ncproc", n);
    std::string tool = ReadString(ctx.dbPath, section, "tool", kToolLimit);
    if (tool.empty()) break;
    std::array<double, kProcessColumns> values{};
    if (ReadProcessValues(ctx, section, values) != 0) {
      ttl.Close();
      return -1;
    }
    const int t = Truncated(values[kProcT]);
    const double diam = values[kProcDiameter];
    const double depth = std::fabs(values[kProcZ]);
    if (n == 1) ttl.Line(Sprintf("INI = MAGAZINE%02d", t));
    ttl.Text(Sprintf("MAGAZINE%02d = ", t));  // the cutter line follows on the same line
    std::string cutter, length;
    if (CutterLines(tool, diam, depth, cutter, length)) {
      ttl.Line(cutter);
      ttl.Line(length);
    }
    ttl.Line(Sprintf("%13cPEN/%d", ' ', (n - 1) % kPens + 1));
  }
  ttl.Line("");
  if (!ttl.Close()) return rep.Report("エラー：TRYCUT 工具設定ファイルが開けません", -1);
  return 0;
}

int TrycutMain(Context& ctx) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : TrycutMain", 0);
  std::string folder, base, batch;
  if (ReadTrycutNames(ctx, folder, base) != 0) return -1;
  if (MakeTrycutBatchFile(ctx, folder, base, batch) != 0) return -1;
  if (SettingTrycutCTLfile(ctx, folder, base) != 0) return -1;
  if (SettingTrycutBOXfile(ctx, folder, base) != 0) return -1;
  if (SettingTrycutTTLfile(ctx, folder, base) != 0) return -1;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (!ctx.platform.OpenDocument(batch)) return rep.Report("エラー：TRYCUTの実行に失敗", -1);
  return 0;
}

int reRunTRYCUT(Context& ctx) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : reRunTRYCUT", 0);
  std::string folder, base;
  if (ReadTrycutNames(ctx, folder, base) != 0) return -1;
  std::string batch = Sprintf("%s/%s.bat", folder.c_str(), base.c_str());
  if (!PathExists(batch) || !ctx.platform.OpenDocument(batch))
    return rep.Report("エラー：TRYCUT2000の再実行に失敗しました。", -1);
  return 0;
}

}  // namespace talvorin
