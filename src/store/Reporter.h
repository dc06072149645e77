// The message routine through which every operation reports progress and failure. The message list it
// holds is the source of the daily log; front ends decide how lines and boxes are shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace talvorin {

// Kinds of a report: -1 error (box), 0 list only, 1 information (box), 2 list only, 3 warning (box).
constexpr int kReportError = -1;
constexpr int kReportList = 0;
constexpr int kReportInfo = 1;
constexpr int kReportQuiet = 2;
constexpr int kReportWarning = 3;

class Reporter {
 public:
  virtual ~Reporter() = default;

  // The system's ReportMessage: the text is split at each "\n", every piece becomes one line at the
  // end of the message list; kinds below 0, 1 and 3 also show the whole text in a box. Returns `kind`,
  // so that reporting an error and failing is one step: `return rep.Report(text, -1);`.
  int Report(std::string_view text, int kind);

  // Report() of a printf-formatted text.
  int Reportf(int kind, const char* format, ...) __attribute__((format(printf, 3, 4)));

  const std::vector<std::string>& Lines() const { return lines_; }

  // Reports of kind error (< 0) so far: an operation that goes on after an error it reported (a
  // generation leaving a row out) is judged by the count before and after it.
  std::size_t Errors() const { return errors_; }

  // Length in CP932 bytes of the longest single-line text seen so far (starts at 60).
  std::size_t LongestLine() const { return longest_; }
  // The longest-line record a program starts from (60 for the main program, 70 for the drawing
  // programs); only lines longer than it widen the list.
  void SetLongestLine(std::size_t bytes) { longest_ = bytes; }

 protected:
  // A new line at the end of the list (the view scrolls it into view).
  virtual void ShowLine(const std::string& /*line*/) {}
  // A message box with the whole text; kind < 0 error icon, 1 information, 3 warning.
  virtual void ShowBox(const std::string& /*text*/, int /*kind*/) {}
  // A single-line text longer than any before: the view widens its horizontal scroll extent.
  virtual void WidenList(const std::string& /*text*/) {}

 private:
  std::vector<std::string> lines_;
  std::size_t longest_ = 60;
  std::size_t errors_ = 0;
};

}  // namespace talvorin
