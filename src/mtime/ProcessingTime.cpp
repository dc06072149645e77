// The machining time of the project's NC program: the rate table, the pass over the file, the report
// lines, the keys of section "machine" and the summary box.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>

#include "mtime/MachiningTime.h"
#include "project/ProjectDatabase.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kNumberLimit = 16;  // rate values: 15 bytes
constexpr std::size_t kLabelWidth = 15;   // "%15s" of the report, in CP932 bytes
constexpr std::uint64_t kProgressStep = 1 << 20;

// One rate of the table: the number of its key, or the default (reported) when the key is missing.
// A rapid or peck rate that is not above 0 cannot time a move and counts as missing.
double ReadRate(Context& ctx, const char* key, double fallback, bool mustBePositive) {
  std::string text = ReadString(ctx.inst.ncTableFile, "processtime", key, kNumberLimit);
  if (!text.empty()) {
    double value = AtoF(text);
    if (!mustBePositive || value > 0) return value;
  }
  ctx.reporter.Reportf(0, "エラー：[%s] %s= | table 取得失敗", "processtime", key);
  return fallback;
}

// The open file, closed on every way out.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

std::string TimeLine(const char* label, const ClockTime& t) {
  return Sprintf("%s : %lld時間%2lld分%2lld秒", Cp932PadLeft(label, kLabelWidth).c_str(), t.hours, t.minutes,
                 t.seconds);
}

}  // namespace

TimeRates ReadTimeRates(Context& ctx) {
  TimeRates defaults;
  TimeRates rates;
  rates.rapidFeed = ReadRate(ctx, "G00FEED", defaults.rapidFeed, true);
  rates.cycleFeed = ReadRate(ctx, "CYCFEED", defaults.cycleFeed, true);
  rates.toolChange = ReadRate(ctx, "M06", defaults.toolChange, false);
  rates.spindleStart = ReadRate(ctx, "M03", defaults.spindleStart, false);
  rates.timeLag = ReadRate(ctx, "TIMELAG", defaults.timeLag, false);
  return rates;
}

ClockTime ToClockTime(double minutes, double factor) {
  double seconds = std::trunc(minutes * factor * 60);
  // A file of absurd numbers must not overflow the conversion: such times saturate.
  constexpr double kMax = static_cast<double>(std::numeric_limits<long long>::max() / 2);
  if (std::isnan(seconds)) seconds = 0;
  if (seconds > kMax) seconds = kMax;
  if (seconds < -kMax) seconds = -kMax;
  long long s = static_cast<long long>(seconds);
  ClockTime t;
  t.hours = s / 3600;
  t.minutes = s % 3600 / 60;
  t.seconds = s % 60;
  return t;
}

int Machining_Time_Calculation(Context& ctx, const std::string& path, int mode) {
  return Machining_Time_Calculation(ctx, path, mode, TimeProgress());
}

int Machining_Time_Calculation(Context& ctx, const std::string& path, int mode,
                               const TimeProgress& progress) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : Machining_Time_Calculation", 0);
  const TimeRates rates = ReadTimeRates(ctx);

  const StartText text = ReadStartText(ctx, "");
  const std::string* texts[3] = {&text.x, &text.y, &text.z};
  NcPoint start;
  double* axes[3] = {&start.x, &start.y, &start.z};
  for (int a = 0; a < 3; ++a) {
    if (texts[a]->empty()) return ReportMissingStart(ctx, a);
    *axes[a] = AtoF(*texts[a]);
  }

  Descriptor file;
  // O_NONBLOCK: a FIFO in the NC file's place must not block the open; it is refused below as every
  // file that is not a regular one (reads of a regular file are not affected by the flag).
  file.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st;
  if (file.fd < 0 || fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
    return rep.Reportf(-1, "エラー：ＮＣファイル %s が開けません。", path.c_str());
  const std::uint64_t total = static_cast<std::uint64_t>(st.st_size);

  NcTimeState state = StartTimeState(rates, start);
  NcLineReport report = [&rep](const std::string& text) { rep.Report(text, 0); };
  NcLineReader reader(file.fd);
  std::string_view line;
  NcLineWords words;
  std::uint64_t nextProgress = kProgressStep;
  while (reader.Next(line, words)) {
    EstimateWords(state, words, line, report, nullptr);
    if (progress && reader.BytesRead() >= nextProgress) {
      progress(reader.BytesRead(), total);
      nextProgress = reader.BytesRead() + kProgressStep;
    }
  }
  if (reader.Failed()) return rep.Reportf(-1, "エラー：ＮＣファイル %s が開けません。", path.c_str());
  if (progress) progress(reader.BytesRead(), total);

  const MachiningTotals& sum = state.totals;
  if (reader.LongLines() > 0)
    rep.Reportf(0, "警告：%zu バイトを超える行が %lld 行あります。超えた部分は計算していません",
                NcLineReader::kMaxNcLine, reader.LongLines());
  if (sum.untimedMoves > 0)
    rep.Reportf(0, "警告：送り速度が 0 以下の切削移動が %lld 行あります。その時間は含めていません",
                sum.untimedMoves);

  // Rapid, cutting, tool and total time in minutes.
  const double toolTime = ToolTime(rates, sum);
  const double times[4] = {sum.rapidTime, sum.cuttingTime, toolTime,
                           sum.rapidTime + sum.cuttingTime + toolTime};
  ClockTime clocks[4];
  for (int k = 0; k < 4; ++k)
    clocks[k] = ToClockTime(times[k], rates.timeLag);

  // A program of absurd numbers (X1e308, a rate of 0 in the table) gives an infinite distance or time:
  // nothing of it is stored.
  for (double v : {sum.rapidDistance, sum.cuttingDistance, times[0], times[1], times[2], times[3]})
    if (!std::isfinite(v))
      return rep.Reportf(-1, "エラー：ＮＣファイル %s の距離または時間が計算できません", path.c_str());

  rep.Report("-----", 0);
  rep.Reportf(0, "%s : %s", Cp932PadLeft("ファイル", kLabelWidth).c_str(), path.c_str());
  rep.Reportf(0, "%s : %.3f", Cp932PadLeft("早送距離", kLabelWidth).c_str(), sum.rapidDistance);
  rep.Reportf(0, "%s : %.3f", Cp932PadLeft("切削距離", kLabelWidth).c_str(), sum.cuttingDistance);
  const char* labels[4] = {"早送時間", "切削時間", "工具時間", "加工時間"};
  for (int k = 0; k < 4; ++k)
    rep.Report(TimeLine(labels[k], clocks[k]), 0);
  rep.Report("-----", 0);

  // The ten time keys in one replacement of the project file; a refused key ends the step with the
  // keys before it written.
  ProfileEdit edit(ctx.dbPath);
  auto write = [&](const std::string& key, const std::string& value) {
    if (edit.Write(kDbTimeSection, key, value)) return true;
    rep.Reportf(-1, "エラー：[%s] %s=%s 書込失敗", kDbTimeSection, key.c_str(), value.c_str());
    return false;
  };
  auto writeTimes = [&] {
    const double distances[2] = {sum.rapidDistance, sum.cuttingDistance};
    for (int k = 0; k < 2; ++k)
      if (!write(Sprintf("%s%d", kDbDistanceStem, k), FormatNumber(distances[k], true))) return false;
    for (int k = 0; k < 4; ++k)
      if (!write(Sprintf("%s%d", kDbSecondsStem, k), Sprintf("%.0f", times[k] * 60))) return false;
    for (int k = 0; k < 4; ++k) {
      const ClockTime& t = clocks[k];
      if (!write(Sprintf("%s%d", kDbClockStem, k),
                 Sprintf("%lld:%02lld:%02lld", t.hours, t.minutes, t.seconds)))
        return false;
    }
    return true;
  };
  const bool written = writeTimes();
  if (!edit.Apply()) {
    const ProfileChange& c = edit.Changes().front();
    return rep.Reportf(-1, "エラー：[%s] %s=%s 書込失敗", kDbTimeSection, c.key.c_str(), c.value.c_str());
  }
  if (!written) return -1;

  if (mode == 1) {
    const ClockTime& t = clocks[3];
    rep.Reportf(1, "ファイル : %s\n早送距離 : %.3f\n切削距離 : %.3f\n加工時間 : %lld:%02lld:%02lld",
                path.c_str(), sum.rapidDistance, sum.cuttingDistance, t.hours, t.minutes, t.seconds);
  }
  return 0;
}

int Processing_Time(Context& ctx, int mode) {
  int calculation = -1;
  return Processing_Time(ctx, mode, TimeProgress(), calculation);
}

int Processing_Time(Context& ctx, int mode, const TimeProgress& progress, int& calculation) {
  calculation = -1;
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : Processing_Time", 0);
  NcFilePath nc;
  if (GetNcFilePath(ctx, nc) != 0) return -1;
  const std::string& path = nc.path;
  if (!PathExists(path)) return rep.Report("エラー：ＮＣ計算が終了していません。", -1);
  calculation = Machining_Time_Calculation(ctx, path, mode, progress);
  return 0;
}

}  // namespace talvorin
