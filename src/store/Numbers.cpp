#include "store/Numbers.h"

#include <locale.h>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace talvorin {
namespace {

// The "C" locale, so that a user's locale with a decimal comma never changes number text.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

std::string FormatNumber(double value, bool keepPoint) {
  // std::to_chars with a precision gives exactly printf's "%.3f" digits (in the "C" locale), without
  // printf's format parsing and locale switch: this runs for every coordinate of an NC program.
  // The longest text is DBL_MAX: a sign, 309 digits, the point and three decimals.
  char buffer[320];
  const auto [last, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (error != std::errc()) return Sprintf("%.3f", value);
  std::size_t end = static_cast<std::size_t>(last - buffer);
  while (end > 1 && buffer[end - 1] == '0')
    --end;
  if (end > 1 && buffer[end - 1] == '.' && !keepPoint) --end;
  return std::string(buffer, end);
}

double AtoF(std::string_view text) {
  std::string s(text);
  return strtod_l(s.c_str(), nullptr, CLocale());
}

bool IsStorableNumber(std::string_view text, std::size_t bytes) {
  const double value = AtoF(text);
  return std::isfinite(value) && FormatNumber(value, false).size() <= bytes;
}

int AtoI(std::string_view text) {
  std::string s(text);
  long v = strtol_l(s.c_str(), nullptr, 10, CLocale());
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

std::string VSprintf(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  // The "C" locale for this call only: a GUI toolkit may have set the user's locale process-wide.
  locale_t previous = uselocale(CLocale());
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(n));
  }
  uselocale(previous);
  return out;
}

std::string Sprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = VSprintf(format, args);
  va_end(args);
  return out;
}

}  // namespace talvorin
