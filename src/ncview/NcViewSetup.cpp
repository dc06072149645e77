// The project of an NC file and the values the viewer takes from it and from the NC table file.
#include "ncview/NcViewSetup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "project/ProjectDatabase.h"
#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Ascii.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kExtensionLimit = 16;
constexpr std::size_t kNumberLimit = 16;

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// The names in `folder` that end in "." + extension (letter case ignored), sorted.
std::vector<std::string> FilesWithExtension(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return names;
  const std::string suffix = "." + extension;
  while (dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.size() <= suffix.size()) continue;
    if (!EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - suffix.size()), suffix))
      continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string FindProjectOfNcFile(const Installation& inst, const std::string& ncFile) {
  Reporter quiet;
  std::string folder;
  if (GetFolderPath(inst, quiet, 0, folder) != 0) return "";
  const std::string extension = ReadStringOr(inst.iniPath, "extension", "camdbfile", kExtensionLimit, "dat");
  Installation copy = inst;
  PosixPlatform platform;
  NoDialogs dialogs;
  for (const std::string& name : FilesWithExtension(folder, extension)) {
    Context ctx{copy, quiet, platform, dialogs, folder + "/" + name};
    const NcFilePath nc = ReadNcFilePath(ctx);
    if (nc.folder.empty() || !IsPlainFileName(nc.name)) continue;
    if (SameFile(nc.path, ncFile)) return ctx.dbPath;
  }
  return "";
}

NcViewSettings ReadNcViewSettings(Installation& inst, const std::string& ncFile) {
  NcViewSettings s;
  Reporter rep;  // its lines are the notes
  PosixPlatform platform;
  NoDialogs dialogs;
  Context ctx{inst, rep, platform, dialogs, ""};
  if (inst.ncTableFile.empty()) SetNcTableFile(inst, rep, inst.ncTableFile);
  s.rates = ReadTimeRates(ctx);
  s.dbPath = FindProjectOfNcFile(inst, ncFile);
  ctx.dbPath = s.dbPath;
  if (!s.dbPath.empty()) {
    const StartText text = ReadStartText(ctx, "");
    s.start = {AtoF(text.x), AtoF(text.y), AtoF(text.z)};
    s.hasBox = ReadMaterialBox(ctx, s.box) == 0;
  } else {
    // No project: the start position that new projects get.
    const char* keys[3] = {"StartX", "StartY", "StartZ"};
    double* axes[3] = {&s.start.x, &s.start.y, &s.start.z};
    for (int k = 0; k < 3; ++k)
      *axes[k] = AtoF(ReadString(inst.ncTableFile, "NcFormat", keys[k], kNumberLimit));
  }
  s.notes = rep.Lines();
  return s;
}

}  // namespace talvorin
