// Lines of an NC file through a fixed buffer (the estimator's memory does not depend on the file), and
// the words and codes of one line read in a single pass over its bytes.
#include "mtime/NcLineReader.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "store/Numbers.h"

namespace talvorin {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNumberChar(char c) {
  return IsDigit(c) || c == '.' || c == '-';
}

// A run that the short form below does not cover ("-", "--5", more than 15 digits), as atof reads it.
double GeneralNumber(std::string_view run) {
  double v = 0;
  auto [ptr, ec] = std::from_chars(run.data(), run.data() + run.size(), v);
  if (ec == std::errc()) return v;
  if (ec == std::errc::result_out_of_range) return AtoF(run);  // atof's overflow and underflow values
  return 0;                                                    // no leading number
}

// The number whose run of digits, "." and "-" starts at p[k]; returns the end of the run, k itself
// when the run is empty (the word then has no number). The usual word, "-12.345", is read as it is
// scanned: at most 15 digits make the digits an exact integer and the power of ten exact too, so their
// one division is the correctly rounded value that atof gives. Inlined: it is the line loop's hottest step.
[[gnu::always_inline]] inline std::size_t ReadNumber(const char* p, std::size_t k, std::size_t n,
                                                     double& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const std::size_t begin = k;
  const bool negative = k < n && p[k] == '-';
  if (negative) ++k;
  std::uint64_t digits = 0;  // wraps harmlessly beyond 19 digits: such runs take the general way
  int count = 0, decimals = 0;
  for (; k < n && IsDigit(p[k]); ++k, ++count)
    digits = digits * 10 + static_cast<std::uint64_t>(p[k] - '0');
  // Trailing zeros of the decimals change nothing: the digits up to the last non-zero decimal give the
  // same quotient, and a whole number ("10." or "4.000") needs no division at all.
  std::uint64_t significant = digits;
  int places = 0;
  if (k < n && p[k] == '.') {
    for (++k; k < n && IsDigit(p[k]); ++k) {
      digits = digits * 10 + static_cast<std::uint64_t>(p[k] - '0');
      ++decimals;
      if (p[k] != '0') significant = digits, places = decimals;
    }
    count += decimals;
  }
  const std::size_t prefixEnd = k;
  while (k < n && IsNumberChar(p[k]))  // "1.2.3" or "1-2": atof stops at the second "." or "-"
    ++k;
  if (k == begin) return k;
  if (count > 0 && count <= 15) {
    double v = static_cast<double>(significant);
    if (places > 0) v /= kPowers[places];
    value = negative ? -v : v;
  } else {
    value = GeneralNumber(std::string_view(p + begin, prefixEnd - begin));
  }
  return k;
}

// The motion codes in priority order: the first that a line holds is its motion.
constexpr int kMotionCodes[] = {0, 1, 2, 3, 80, 81, 82, 83, 84};

// Bit of a G code in the motion mask, 0 for a code that is no motion code.
unsigned MotionBit(int code) {
  if (code <= 3) return 1u << code;
  if (code >= 80 && code <= 84) return 1u << (code - 76);
  return 0;
}

// What a byte means to the line's one loop.
enum ByteKind : std::uint8_t {
  kOther,
  kLeadByte,
  kOpen,
  kClose,
  kSpindle,
  kTool,
  kCode,
  kLineEnd,
  kWordKind
};

// kWordKind + NcWord for the letters of the modal words. With `lineEnd` a "\n" ends the line: the
// reader's pass over its buffer; a line given alone holds no line end, any "\n" in it is a byte.
constexpr std::array<std::uint8_t, 256> ByteKinds(bool lineEnd) {
  std::array<std::uint8_t, 256> kinds{};
  for (std::size_t c = 0x81; c <= 0xFC; ++c)  // the lead bytes of double-byte characters
    if (c <= 0x9F || c >= 0xE0) kinds[c] = kLeadByte;
  kinds['('] = kOpen;
  kinds[')'] = kClose;
  kinds['S'] = kSpindle;
  kinds['T'] = kTool;
  kinds['G'] = kinds['M'] = kCode;
  if (lineEnd) kinds['\n'] = kLineEnd;
  const char letters[kWordCount + 1] = "XYZIJRQPF";
  for (int word = 0; word < kWordCount; ++word)
    kinds[static_cast<unsigned char>(letters[word])] = static_cast<std::uint8_t>(kWordKind + word);
  return kinds;
}
constexpr std::array<std::uint8_t, 256> kLineKinds = ByteKinds(false);
constexpr std::array<std::uint8_t, 256> kBufferKinds = ByteKinds(true);

bool Holds(const char* p, std::size_t k, std::size_t n, std::string_view text) {
  return n - k >= text.size() && std::memcmp(p + k, text.data(), text.size()) == 0;
}

}  // namespace

bool NcLineReader::Fill() {
  begin_ = end_ = 0;
  if (eof_ || failed_) return false;
  ssize_t n;
  do {
    n = read(fd_, buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    failed_ = true;
    return false;
  }
  if (n == 0) {
    eof_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(n);
  bytesRead_ += static_cast<std::uint64_t>(n);
  return true;
}

bool NcLineReader::Next(std::string_view& line) {
  line_.clear();
  lineStart_ = bytesRead_ - (end_ - begin_);
  bool any = false;  // a byte of this line was seen
  bool cut = false;  // the line was longer than kMaxNcLine
  bool direct = false;
  for (;;) {
    if (begin_ == end_ && !Fill()) {
      if (failed_ || !any) return false;
      break;  // the last line of a file without a final line end
    }
    any = true;
    const char* p = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const char* newline = static_cast<const char*>(std::memchr(p, '\n', available));
    const std::size_t length = newline ? static_cast<std::size_t>(newline - p) : available;
    if (newline && line_.empty() && !cut) {
      // The whole line lies in the buffer: no copy.
      direct = true;
      if (length > kMaxNcLine) cut = true;
      line = std::string_view(p, cut ? kMaxNcLine : length);
      begin_ += length + 1;
      break;
    }
    const std::size_t room = kMaxNcLine - line_.size();
    if (length > room) cut = true;
    line_.append(p, length < room ? length : room);
    begin_ += length;
    if (newline) {
      ++begin_;
      break;
    }
  }
  if (!direct) line = line_;
  lineCut_ = cut;
  lineEnded_ = begin_ > 0 && buffer_[begin_ - 1] == '\n';
  if (cut) {
    ++longLines_;
  } else if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return true;
}

namespace {

// The words of the line at p, in one pass. With `kToLineEnd` the n bytes at p are the reader's buffer
// and the line ends at the first "\n" (`length` its position, n when there is none); otherwise the n
// bytes are the line. The bytes after a line's end are never a part of it: every look beyond a code
// ("G90 G17", "G15H", "G10 L2") and the test of a line's first three bytes wants bytes that are no
// "\n", and a number ends before one.
template <bool kToLineEnd>
void ReadWords(const char* p, const std::size_t n, std::size_t& length, NcLineWords& w) {
  constexpr const std::array<std::uint8_t, 256>& kByteKinds = kToLineEnd ? kBufferKinds : kLineKinds;
  w = NcLineWords();
  length = n;
  if (n > 0 && (p[0] == '%' || p[0] == 'O' || p[0] == 'N' || p[0] == 'T')) w.skip = true;
  if (n >= 3 && p[0] == 'M' && p[1] == '0' && (p[2] == '8' || p[2] == '9' || p[2] == '5')) w.skip = true;

  unsigned seen = 0;     // words met outside comments, with or without a number
  unsigned motions = 0;  // motion codes met, by MotionBit
  bool comment = false;
  for (std::size_t k = 0; k < n; ++k) {
    const char c = p[k];
    const std::uint8_t kind = kByteKinds[static_cast<unsigned char>(c)];
    if (kind == kOther) continue;  // blanks, digits and the rest: most bytes of a line
    if (kind >= kWordKind) {
      const unsigned bit = 1u << (kind - kWordKind);
      if (comment || (seen & bit)) continue;
      seen |= bit;
      const std::size_t end = ReadNumber(p, k + 1, n, w.values[kind - kWordKind]);
      if (end > k + 1) w.given |= bit;
      k = end - 1;
      continue;
    }
    switch (kind) {
      case kLeadByte:
        // Its trail byte is no letter. In the buffer a lead byte that ends its line has no trail byte.
        if (!kToLineEnd || (k + 1 < n && p[k + 1] != '\n')) ++k;
        break;
      case kLineEnd:
        length = k;
        k = n - 1;  // the loop ends
        break;
      case kOpen:
        comment = true;
        break;
      case kClose:
        comment = false;
        break;
      case kTool: {  // the first T outside comments
        if (comment || w.toolGiven) break;
        double tool = 0;
        const std::size_t end = ReadNumber(p, k + 1, n, tool);
        if (end > k + 1) w.toolGiven = true, w.tool = tool;
        k = end - 1;
        break;
      }
      case kSpindle: {  // every S with a number, comments included
        const std::size_t end = ReadNumber(p, k + 1, n, w.spindle);
        if (end > k + 1) w.spindleGiven = true;
        k = end - 1;
        break;
      }
      default: {  // G or M
        if (k + 2 >= n || !IsDigit(p[k + 1]) || !IsDigit(p[k + 2])) break;
        const int code = (p[k + 1] - '0') * 10 + (p[k + 2] - '0');
        const std::size_t after = k + 3;
        k += 2;
        if (c == 'M') {
          if (code == 0 || code == 1 || code == 2 || code == 30) w.skip = true;
          if (code == 2 || code == 30) w.programEnd = true;
          if (code == 6) w.toolChange = true;
          if (code == 3 || code == 29) w.spindleStart = true;
          break;
        }
        switch (code) {
          case 28:
          case 30:
            w.skip = true;
            break;
          case 90:
            if (Holds(p, after, n, " G17")) w.skip = true;
            break;
          case 43:
          case 54:
          case 55:
          case 56:  // "G56 H" too
          case 57:
            w.reset = true;
            break;
          case 15:
            if (Holds(p, after, n, "H")) w.reset = true;
            break;
          case 10:
            if (Holds(p, after, n, " L2")) w.reset = true;
            break;
          case 95:
            w.g95 = true;
            break;
          default:
            motions |= MotionBit(code);
            break;
        }
        break;
      }
    }
  }
  w.letters = seen;
  if (motions) {
    const int first = __builtin_ctz(motions);
    w.g80 = (motions >> 4) & 1u;
    w.motion = kMotionCodes[first] == 80 ? 0 : kMotionCodes[first];
  }
}

}  // namespace

NcLineWords ReadNcLine(std::string_view line) {
  std::size_t length;
  NcLineWords w;
  ReadWords<false>(line.data(), line.size(), length, w);
  return w;
}

bool NcLineReader::Next(std::string_view& line, NcLineWords& words) {
  if (begin_ == end_) Fill();
  if (begin_ < end_) {
    const char* p = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    std::size_t length;
    ReadWords<true>(p, available, length, words);
    if (length < available && length <= kMaxNcLine) {  // the line and its "\n" in the buffer
      lineStart_ = bytesRead_ - available;
      lineCut_ = false;
      lineEnded_ = true;
      begin_ += length + 1;
      line = std::string_view(p, length);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      return true;
    }
  }
  // The line's rest is still to be read, or it is cut: the words of the line as Next assembles it.
  if (!Next(line)) return false;
  words = ReadNcLine(line);
  return true;
}

}  // namespace talvorin
