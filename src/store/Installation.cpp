#include "store/Installation.h"
#include "store/Ascii.h"

#include <dirent.h>

#include <memory>

#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

namespace {

// The entry of `folder` (ending in "/") named `name` up to ASCII letter case; `name` when none is.
std::string FindEntry(const std::string& folder, std::string_view name) {
  std::string exact = folder + std::string(name);
  if (PathExists(exact)) return std::string(name);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return std::string(name);
  while (struct dirent* entry = readdir(dir.get())) {
    if (EqualsIgnoringAsciiCase(entry->d_name, name)) return entry->d_name;
  }
  return std::string(name);
}

}  // namespace

std::string ProgramFile(const Installation& inst, std::string_view name) {
  std::string path = inst.programFolder;
  while (!name.empty()) {
    std::size_t slash = name.find('/');
    std::string_view part = name.substr(0, slash);
    path += FindEntry(path, part);
    if (slash == std::string_view::npos) break;
    path += '/';
    name.remove_prefix(slash + 1);
  }
  return path;
}

int GetFolderPath(const Installation& inst, Reporter& rep, int n, std::string& out) {
  std::string key = Sprintf("%s%d", "folder", n);
  std::string value = ReadString(inst.iniPath, "folder", key, 16);
  if (value.empty()) return rep.Reportf(-1, "エラー：[%s] %s= | db フォルダ取得失敗", "folder", key.c_str());
  out = inst.programFolder + value;
  return 0;
}

int SetNcTableFile(const Installation& inst, Reporter& rep, std::string& path) {
  std::string value = ReadString(inst.iniPath, "table", "ncformat", 260);
  if (value.empty()) return rep.Report("エラー：[table] ncformat= | ＮＣテーブル定義がありません", -1);
  std::string found = ProgramFile(inst, value);
  if (!PathExists(found)) return rep.Reportf(-1, "エラー：ＮＣテーブル %s がありません", found.c_str());
  path = found;
  return 0;
}

int GetTableFile(const Installation& inst, Reporter& rep, std::string_view name, std::string& path) {
  std::string value = ReadString(inst.iniPath, "table", name, 48);
  if (value.empty()) return rep.Reportf(-1, "エラー：[table] %s= の取り出し失敗", std::string(name).c_str());
  path = ProgramFile(inst, value);
  return 0;
}

}  // namespace talvorin
