#include "store/Timestamp.h"

namespace talvorin {

Timestamp TimestampFromTime(std::time_t t) {
  struct tm lt {};
  localtime_r(&t, &lt);
  Timestamp ts;
  ts.year = lt.tm_year + 1900;
  ts.month = lt.tm_mon + 1;
  ts.day = lt.tm_mday;
  ts.hour = lt.tm_hour;
  ts.minute = lt.tm_min;
  ts.second = lt.tm_sec;
  ts.dayOfWeek = lt.tm_wday;
  return ts;
}

std::string DayName(int dayOfWeek) {
  static const char* const kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
  if (dayOfWeek < 0 || dayOfWeek > 6) return "";
  return kNames[dayOfWeek];
}

}  // namespace talvorin
