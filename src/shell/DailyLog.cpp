#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shell/ProgramSetup.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

int WriteLogFile(Context& ctx) {
  // 1. Only with "LogWriting" exactly 1 and something to write.
  if (ReadInt(ctx.inst.iniPath, "TALVORIN", "LogWriting", 0) != 1) return 0;
  const std::vector<std::string>& lines = ctx.reporter.Lines();
  if (lines.empty()) return 0;

  // 2. The log folder.
  std::string folder = Sprintf("%s%s", ctx.inst.programFolder.c_str(), "Log");
  if (!PathExists(folder) && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
    return ctx.reporter.Reportf(-1, "フォルダ %s 作成失敗", folder.c_str());

  // 3. One file per day, appended to.
  Timestamp now = ctx.platform.LocalTime();
  std::string file = Sprintf("%s/%s%d%02d%02d.log", folder.c_str(), "TALVORIN", now.year, now.month, now.day);

  // 4. The block: rule, header with the computer's name and the time, rule, every list line, an
  //    empty line. Built whole and appended with one write, so blocks of two runs never interleave.
  std::string rule(70, '-');
  std::string block = rule + "\r\n";
  block += Sprintf("%10s%s ・ %d年 %d月 %d日  %d時 %d分 %d秒\r\n", " ", ctx.platform.ComputerName().c_str(),
                   now.year, now.month, now.day, now.hour, now.minute, now.second);
  block += rule + "\r\n";
  for (const std::string& line : lines) block += line + "\r\n";
  block += "\r\n";
  std::string bytes = Utf8ToCp932Lossy(block);

  int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return ctx.reporter.Reportf(-1, "ログファイル %s 作成失敗", file.c_str());
  std::string_view rest = bytes;
  bool ok = true;
  while (ok && !rest.empty()) {
    ssize_t n = write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) rest.remove_prefix(static_cast<std::size_t>(n));
  }
  ok = (close(fd) == 0) && ok;
  if (!ok) return ctx.reporter.Reportf(-1, "ログファイル %s 作成失敗", file.c_str());
  return 0;
}

}  // namespace talvorin
