#include <sys/stat.h>

#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

int GetFileDate(const std::string& path, Timestamp& record) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) {
    record = Timestamp{};
    return -1;
  }
  record = TimestampFromTime(st.st_mtim.tv_sec);
  return 0;
}

int SystemInformation(Context& ctx) {
  ctx.reporter.Report("!!! routine name : SystemInformation", 0);
  ctx.reporter.Report("+++ システム情報の更新", 0);
  int result = 0;
  auto write = [&](const char* key, const std::string& value) {
    if (WriteString(ctx.inst.iniPath, "system", key, value)) {
      ctx.reporter.Reportf(0, "[%s] %s=%s", "system", key, value.c_str());
    } else {
      result = ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書き込み失敗", "system", key, value.c_str());
    }
  };
  write("Version", ShortVersion(ctx.inst.buildNumber));
  Timestamp f;
  GetFileDate(ctx.platform.ExecutablePath(), f);
  write("FileDate", Sprintf("%d/%02d/%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second));
  return result;
}

}  // namespace talvorin
