// NC program lines as the machining time estimate reads them: the lines of a file through a fixed
// buffer, and the words and codes of one line in one pass over its bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvorin {

struct NcLineWords;

// Lines of an NC file through a fixed buffer. A line ends at "\n"; a "\r" before it is dropped. A line
// longer than kMaxNcLine bytes is cut there, the rest of it skipped and counted in LongLines().
class NcLineReader {
 public:
  static constexpr std::size_t kMaxNcLine = 1024;

  explicit NcLineReader(int fd) : fd_(fd) {}
  // The next line; false at the end of the file or on a read error (Failed()).
  bool Next(std::string_view& line);
  // The next line and its words (as ReadNcLine reads them), in one pass over the line's bytes when the
  // line lies whole in the buffer, as nearly every line does: the pass that reads the words also finds
  // the line end. A line across two fills of the buffer or longer than kMaxNcLine is read as Next does
  // and then its words.
  bool Next(std::string_view& line, NcLineWords& words);
  bool Failed() const { return failed_; }
  std::uint64_t BytesRead() const { return bytesRead_; }
  long long LongLines() const { return longLines_; }
  // Of the line last returned: its offset in the file, whether it was cut at kMaxNcLine, and whether
  // a "\n" ended it (false only for the last line of a file that ends inside a line).
  std::uint64_t LineStart() const { return lineStart_; }
  bool LineCut() const { return lineCut_; }
  bool LineEnded() const { return lineEnded_; }

 private:
  bool Fill();

  int fd_;
  std::array<char, 64 * 1024> buffer_{};
  std::size_t begin_ = 0, end_ = 0;  // unread bytes of buffer_
  std::string line_;                 // the line being returned, at most kMaxNcLine bytes
  bool eof_ = false, failed_ = false;
  std::uint64_t bytesRead_ = 0;
  long long longLines_ = 0;
  std::uint64_t lineStart_ = 0;
  bool lineCut_ = false, lineEnded_ = false;
};

// The address words of a line that carry a modal value, in the order of NcLineWords::values.
enum NcWord { kWordX, kWordY, kWordZ, kWordI, kWordJ, kWordR, kWordQ, kWordP, kWordF, kWordCount };

// What one line (CP932 bytes, without its line end) holds. Codes are found anywhere in the line,
// comments included, at each "G" or "M" followed by two digits that is a character of its own (never
// the trail byte of a double-byte character). Words are read outside comments, which run from "(" to
// ")" or to the end of the line. Letters are upper case only; a word's number is the run of digits,
// "." and "-" after its letter, read as atof reads it (its longest numeric prefix, else 0).
struct NcLineWords {
  // Begins with "%", "O", "N", "T", "M08", "M09" or "M05", or holds M00, M01, M02, M30, G28, G30
  // or "G90 G17": a line that moves nothing.
  bool skip = false;
  bool reset = false;         // G54 to G57, G43, "G15H" or "G10 L2": a coordinate system or tool offset
  bool toolChange = false;    // M06
  bool spindleStart = false;  // M03 or M29
  bool g80 = false;
  bool g95 = false;
  // The first of G00, G01, G02, G03, G80, G81, G82, G83, G84 in the line (in this order) as 0, 1, 2,
  // 3, 0, 81, 82, 83, 84; -1 when the line holds none.
  int motion = -1;
  bool spindleGiven = false;  // an "S" with a number, comments included; the last one counts
  double spindle = 0;
  bool programEnd = false;  // M02 or M30
  // The first "T" outside comments, when it has a number: the tool that the next M06 puts in.
  bool toolGiven = false;
  double tool = 0;
  // Letters of the words met outside comments, with or without a number (bit 1 << NcWord): a bit
  // here that is not in `given` is a word whose number is missing.
  unsigned letters = 0;
  // The first X, Y, Z, I, J, R, Q, P and F outside comments: bit 1 << NcWord set in `given` when that
  // word has a number (a later word of the same letter is ignored even when the first had none).
  unsigned given = 0;
  // The numbers of the words in `given`, 0 for the others. ReadNcLine and NcLineReader::Next set the
  // whole record by value-initialising it, which GCC zeroes with a few vector stores; a default
  // initialiser here makes it clear the record with one "rep stos", a tenth of the estimator's time.
  std::array<double, kWordCount> values;

  bool Has(NcWord word) const { return (given >> word) & 1u; }
};

NcLineWords ReadNcLine(std::string_view line);

}  // namespace talvorin
