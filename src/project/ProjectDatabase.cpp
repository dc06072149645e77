#include "project/ProjectDatabase.h"

#include <sys/stat.h>

#include <algorithm>

#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

std::string DbSection(const char* stem, int n) {
  return Sprintf("%s%d", stem, n);
}

std::string ReadDb(const Context& ctx, const DbKey& key, std::string_view fallback) {
  return ReadStringOr(ctx.dbPath, key.section, key.key, key.limit, fallback);
}

std::string ReadDbWithLimit(const Context& ctx, const DbKey& key, std::size_t limit) {
  return ReadString(ctx.dbPath, key.section, key.key, limit);
}

int ReportMissingDbKey(Context& ctx, const DbKey& key, const char* what) {
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db %s", key.section, key.key, what);
}

std::string StoredFolderPath(const Installation& inst, const std::string& folder) {
  if (!folder.empty() && folder[0] == '/') return folder;
  return inst.programFolder + folder;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  // A leading "|" or "!" makes the FTP client run the rest as a command, a leading "-" reads as an
  // option to the programs the file is handed to.
  if (name[0] == '|' || name[0] == '!' || name[0] == '-') return false;
  for (char c : name)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  return true;
}

bool IsStoredPath(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return IsPlainFileName(slash == std::string_view::npos ? path : path.substr(slash + 1)) &&
         std::none_of(path.begin(), path.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

int ReportBadStoredPath(Context& ctx, const DbKey& key, const std::string& value) {
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s ファイル名が正しくありません", key.section, key.key,
                              value.c_str());
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

NcFilePath ReadNcFilePath(const Context& ctx) {
  NcFilePath nc;
  nc.folder = ReadDb(ctx, kDbNcFolder);
  nc.name = ReadDb(ctx, kDbNcFile);
  if (!nc.folder.empty()) nc.folder = StoredFolderPath(ctx.inst, nc.folder);
  nc.path = nc.folder + "/" + nc.name;
  return nc;
}

int ReportBadNcFileName(Context& ctx, const std::string& name) {
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s ＮＣファイル名が正しくありません", kDbNcFile.section,
                              kDbNcFile.key, name.c_str());
}

int GetNcFilePath(Context& ctx, NcFilePath& nc) {
  nc = ReadNcFilePath(ctx);
  if (nc.folder.empty()) return ReportMissingDbKey(ctx, kDbNcFolder, "NCフォルダ取得失敗");
  if (nc.name.empty()) return ReportMissingDbKey(ctx, kDbNcFile, "NCファイル取得失敗");
  if (!IsPlainFileName(nc.name)) return ReportBadNcFileName(ctx, nc.name);
  return 0;
}

StartText ReadStartText(const Context& ctx, std::string_view fallback) {
  return {ReadDb(ctx, kDbStartX, fallback), ReadDb(ctx, kDbStartY, fallback),
          ReadDb(ctx, kDbStartZ, fallback)};
}

int ReportMissingStart(Context& ctx, int axis) {
  return ReportMissingDbKey(ctx, *kDbStartKeys[axis], "スタート座標取得失敗");
}

int ReadMaterialBox(Context& ctx, double (&box)[6]) {
  const char axes[3] = {'X', 'Y', 'Z'};
  for (int k = 0; k < 6; ++k) {
    const bool max = k < 3;
    std::string key = Sprintf("%c%s", axes[k % 3], max ? "max" : "min");
    std::string text = ReadString(ctx.dbPath, kDbBoxSection, key, kDbBoxLimit);
    if (text.empty())
      return ctx.reporter.Reportf(
          -1, max ? "エラー：[%s] %s=%s 最大材料値取得失敗" : "エラー：[%s] %s=%s 最小材料値取得失敗",
          kDbBoxSection, key.c_str(), "");
    box[k] = AtoF(text);
  }
  return 0;
}

}  // namespace talvorin
