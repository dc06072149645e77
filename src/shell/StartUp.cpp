#include <sys/stat.h>

#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

void WriteStartBanner(Context& ctx) {
  std::string rule;
  for (int i = 0; i < 30; ++i)
    rule += "_/";
  Timestamp now = ctx.platform.LocalTime();
  ctx.reporter.Report(rule, 0);
  ctx.reporter.Report("ブレンホルト　二次元ＣＡＭシステム", 0);
  ctx.reporter.Report(VersionLine(ctx.inst.buildNumber), 0);
  ctx.reporter.Reportf(0, "Start %d年 %d月 %d日 (%s) %d時 %d分 %d秒", now.year, now.month, now.day,
                       DayName(now.dayOfWeek).c_str(), now.hour, now.minute, now.second);
  ctx.reporter.Report(rule, 0);
}

int CreateFolders(Context& ctx) {
  for (const std::string& value : ReadNumberedList(ctx.inst.iniPath, "folder", "folder", 16, 10)) {
    std::string path = ctx.inst.programFolder + value;
    if (PathExists(path)) continue;
    ctx.reporter.Reportf(0, "--- フォルダ作成 %s", path.c_str());
    if (mkdir(path.c_str(), 0777) != 0)
      return ctx.reporter.Reportf(-1, "エラー：フォルダ %s 作成失敗", path.c_str());
  }
  return 0;
}

}  // namespace talvorin
