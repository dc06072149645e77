// The four files TRYCUT is started with, and its start through the batch file.
#include <array>
#include <chrono>
#include <cmath>
#include <limits>

#include "process/Process.h"
#include "project/ControllerFamily.h"
#include "project/ProjectDatabase.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "store/TextSink.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

constexpr std::size_t kProgramLimit = 520;  // "exeFile": 519 bytes
constexpr std::size_t kShortLimit = 16;     // start option, start point, box values, D, diam: 15 bytes
constexpr std::size_t kDeviceLimit = 32;    // "ControlDevice" as read here: 31 bytes
constexpr std::size_t kToolLimit = 32;      // "tool": 31 bytes
constexpr int kMaxTrycutProcesses = 99;
constexpr int kPens = 7;

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
  folder = ReadDb(ctx, kDbTrycutFolder);
  if (folder.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db フォルダ取得失敗", "machine", "trycutpath");
  base = ReadDb(ctx, kDbTrycutFile);
  if (base.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db ファイル名取得失敗", "machine", "trycutfile");
  // The base name names files of the TRYCUT folder, never a way out of it.
  if (!IsPlainFileName(base))
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s ファイル名が正しくありません", "machine",
                                "trycutfile", base.c_str());
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
  std::string option = ReadStringOr(ctx.inst.iniPath, "trycut", "StartOption", kShortLimit, "/x2");

  batchPath = Sprintf("%s/%s.bat", folder.c_str(), base.c_str());
  TextFile bat;
  if (!bat.Replace(batchPath)) return rep.Report("エラー：TRYCUT バッチファイルが開けません", -1);
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
  const NcFilePath nc = ReadNcFilePath(ctx);
  if (nc.name.empty()) {
    bat.Commit();
    return rep.Reportf(-1, "エラー：[%s] %s= | db NCファイル取得失敗", "machine", "ncfile");
  }
  if (nc.folder.empty()) {
    bat.Commit();
    return rep.Reportf(-1, "エラー：[%s] %s= | db NCフォルダ取得失敗", "machine", "ncpath");
  }
  if (!IsPlainFileName(nc.name)) {
    bat.Commit();
    return ReportBadNcFileName(ctx, nc.name);
  }
  bat.Line(Sprintf("set NCDFILE=%s", nc.path.c_str()));
  bat.Line("");
  bat.Line("cd /d %TRYPATH%");
  bat.Line("");

  // The start point as stored, "0" for an axis that is not set.
  const StartText start = ReadStartText(ctx, "0");
  bat.Line(
      Sprintf("start %%EXEFILE%% %s /s (%s,%s,%s) /d %%BOXFILE%% /t %%TTLFILE%% /c %%CTLFILE%% %%NCDFILE%%",
              option.c_str(), start.x.c_str(), start.y.c_str(), start.z.c_str()));
  if (!bat.Commit()) return rep.Report("エラー：TRYCUT バッチファイルが開けません", -1);
  return 0;
}

int SettingTrycutCTLfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  std::string device = ReadString(ctx.dbPath, "machine", "ControlDevice", kDeviceLimit);
  if (device.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= | db 制御装置取得失敗", "machine", "ControlDevice");
  const ControllerFamily& family = FamilyOf(device);
  if (family.kind == ControllerKind::kUnknown) rep.Report("制御装置未サポートのためFANUCに設定", 0);
  const char* templateName = family.trycutTemplate;

  // The template is copied byte for byte; a last line without its line end gets one, so that the
  // first MEMORY line stands on a line of its own.
  const std::string path = Sprintf("%s/%s.CTL", folder.c_str(), base.c_str());
  std::string bytes;
  TextFile ctl;
  if (!ReadWholeFile(ProgramFile(ctx.inst, templateName), bytes) || !ctl.Replace(path))
    return rep.Report("エラー：CTLファイルのコピー失敗", -1);
  ctl.Raw(bytes);
  if (!bytes.empty() && bytes.back() != '\n') ctl.Raw("\r\n");
  std::string toolKey, dKey, diamKey;
  if (GetProcessKeyName(ctx, kProcName, toolKey) != 0 || GetProcessKeyName(ctx, kProcD, dKey) != 0 ||
      GetProcessKeyName(ctx, kProcDiameter, diamKey) != 0)
    return -1;
  for (int n = 1; n <= kMaxTrycutProcesses; ++n) {
    std::string section = ProcessSection(n);
    if (ReadString(ctx.dbPath, section, toolKey, kToolLimit).empty()) break;
    std::string d = ReadString(ctx.dbPath, section, dKey, kShortLimit);
    std::string diam = ReadString(ctx.dbPath, section, diamKey, kShortLimit);
    if (d.empty() || diam.empty()) continue;
    ctl.Line(Sprintf("MEMORY D%02d = %.3f", AtoI(d), AtoF(diam) / 2));
  }
  if (!ctl.Commit()) return rep.Report("エラー：TRYCUTコントロールファイルが開けません", -1);
  return 0;
}

int SettingTrycutBOXfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  double values[6];
  if (ReadMaterialBox(ctx, values) != 0) return -1;
  TextFile box;
  if (!box.Replace(Sprintf("%s/%s.box", folder.c_str(), base.c_str())))
    return rep.Report("エラー：TRYCUT 材料定義ファイルが開けません", -1);
  box.Line(Sprintf("+BOX(%.3f %.3f %.3f %.3f %.3f %.3f)", values[0], values[1], values[2], values[3],
                   values[4], values[5]));
  if (!box.Commit()) return rep.Report("エラー：TRYCUT 材料定義ファイルが開けません", -1);
  return 0;
}

int SettingTrycutTTLfile(Context& ctx, const std::string& folder, const std::string& base) {
  Reporter& rep = ctx.reporter;
  TextFile ttl;
  if (!ttl.Replace(Sprintf("%s/%s.ttl", folder.c_str(), base.c_str())))
    return rep.Report("エラー：TRYCUT 工具設定ファイルが開けません", -1);
  std::string toolKey;
  if (GetProcessKeyName(ctx, kProcName, toolKey) != 0) {
    ttl.Discard();
    return -1;
  }
  for (int n = 1; n <= kMaxTrycutProcesses; ++n) {
    std::string section = ProcessSection(n);
    std::string tool = ReadString(ctx.dbPath, section, toolKey, kToolLimit);
    if (tool.empty()) break;
    std::array<double, kProcessColumns> values{};
    if (ReadProcessValues(ctx, section, values) != 0) {
      ttl.Commit();  // the tool file as far as it was written
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
  if (!ttl.Commit()) return rep.Report("エラー：TRYCUT 工具設定ファイルが開けません", -1);
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
  // TRYCUT reads the four files as soon as it starts; it is started 100 ms after they were written.
  if (!ctx.platform.OpenDocument(batch, std::chrono::milliseconds(100)))
    return rep.Report("エラー：TRYCUTの実行に失敗", -1);
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
