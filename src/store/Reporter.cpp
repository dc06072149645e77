#include "store/Reporter.h"

#include <cstdarg>

#include "store/Cp932.h"
#include "store/Numbers.h"

namespace talvorin {

int Reporter::Report(std::string_view text, int kind) {
  std::size_t start = 0;
  for (;;) {
    std::size_t nl = text.find('\n', start);
    std::string line(text.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start));
    lines_.push_back(line);
    ShowLine(line);
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  if (text.find('\n') == std::string_view::npos) {
    std::size_t len = Cp932Length(text);
    if (len > longest_) {
      longest_ = len;
      WidenList(std::string(text));
    }
  }
  if (kind < 0) ++errors_;
  if (kind < 0 || kind == kReportInfo || kind == kReportWarning) ShowBox(std::string(text), kind);
  return kind;
}

int Reporter::Reportf(int kind, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = VSprintf(format, args);
  va_end(args);
  return Report(text, kind);
}

}  // namespace talvorin
