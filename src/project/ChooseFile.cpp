// The open-file dialog of the system.
#include <sys/stat.h>

#include "project/Project.h"
#include "store/Cp932.h"
#include "store/Numbers.h"

namespace talvorin {

int ChooseFile(Context& ctx, std::string& out, std::string_view extension, const std::string& initialFolder) {
  std::string ext(extension);
  // Two filters: files of the extension, and all files (in the form Qt's file dialog takes).
  std::string filter = Sprintf("%s Files(*.%s);;All Files(*.*)", ext.c_str(), ext.c_str());
  std::string path;
  if (!ctx.dialogs.ChooseFile("ファイルを開く", initialFolder, filter, path)) return 0;
  // The dialog accepts a path of at most 519 bytes in an existing folder; the file itself need not
  // exist (callers test it).
  if (path.empty() || path.back() == '/') return 0;
  if (Cp932Length(path) > 519) {
    ctx.reporter.Report("... ファイル名が長すぎます", 0);
    return 0;
  }
  std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  struct stat st;
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    ctx.reporter.Reportf(0, "... フォルダ %s がありません", folder.c_str());
    return 0;
  }
  out = path;
  return 1;
}

}  // namespace talvorin
