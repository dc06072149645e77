// Number text and text-to-number conversions shared by every subsystem.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace talvorin {

// The system's number text: "%.3f", then "0" removed from the right end; when the removal reaches the
// decimal point the point stays (keepPoint) or goes (drop-point). The first character is never removed.
// Keep-point: 100 -> "100.", 12.5 -> "12.5", 0 -> "0.", -12.3456 -> "-12.346". Drop-point: 100 -> "100".
std::string FormatNumber(double value, bool keepPoint);

// C's atof and atoi in the "C" locale whatever the process locale is: leading blanks skipped, then the
// longest numeric prefix; 0 when there is none. AtoI saturates at the int range instead of overflowing.
double AtoF(std::string_view text);
int AtoI(std::string_view text);

// The largest magnitude of a coordinate, depth or size that a control takes: eight digits, three of
// them decimals.
constexpr double kLargestMachineValue = 99999.999;

// A text that the system may take as a number and keep: AtoF gives a finite value whose number text
// (drop-point) has at most `bytes` bytes, so it reads back as it was entered. "nan", "inf" and "1e308"
// (310 digits) are not.
bool IsStorableNumber(std::string_view text, std::size_t bytes);

// snprintf into a std::string; the compiler checks the arguments against the format.
// Formatting happens in the "C" locale.
std::string Sprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string VSprintf(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace talvorin
