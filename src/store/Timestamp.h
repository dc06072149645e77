// The timestamp record of the system and the day names.
#pragma once

#include <ctime>
#include <string>

namespace talvorin {

struct Timestamp {
  int year = 0, month = 0, day = 0;      // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0;  // local time
  int dayOfWeek = 0;                     // 0 = Sunday
};

// Local time of a time value.
Timestamp TimestampFromTime(std::time_t t);

// "日" "月" "火" "水" "木" "金" "土" for 0 (Sunday) to 6; "" outside that range.
std::string DayName(int dayOfWeek);

}  // namespace talvorin
