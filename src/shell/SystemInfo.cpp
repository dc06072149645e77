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
  // Both keys in one replacement of the program INI; each is reported as written or not.
  Timestamp f;
  GetFileDate(ctx.platform.ExecutablePath(), f);
  const std::pair<const char*, std::string> keys[] = {
      {"Version", ShortVersion(ctx.inst.buildNumber)},
      {"FileDate",
       Sprintf("%d/%02d/%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second)}};
  ProfileEdit edit(ctx.inst.iniPath);
  bool collected[2];
  for (int i = 0; i < 2; ++i)
    collected[i] = edit.Write("system", keys[i].first, keys[i].second);
  const bool applied = edit.Apply();
  int result = 0;
  for (int i = 0; i < 2; ++i) {
    const auto& [key, value] = keys[i];
    if (collected[i] && applied)
      ctx.reporter.Reportf(0, "[%s] %s=%s", "system", key, value.c_str());
    else
      result = ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書き込み失敗", "system", key, value.c_str());
  }
  return result;
}

}  // namespace talvorin
