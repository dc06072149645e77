#include "store/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace talvorin {
namespace {

// One conversion descriptor per direction and thread; opening one costs more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return cd_;
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

 private:
  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

Converter& Encoder() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

// Converts as much as possible; returns the number of input bytes consumed and leaves errno set from
// the failing iconv call when the input was not consumed completely.
std::size_t Convert(Converter& conv, std::string_view in, std::string& out) {
  iconv_t cd = conv.get();
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
  }
  return in.size() - inLeft;
}

// Length in bytes of the UTF-8 sequence starting with `c` (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char c) {
  if (c < 0xC0) return 1;
  if (c < 0xE0) return 2;
  if (c < 0xF0) return 3;
  return 4;
}

// CP932 width of one UTF-8 character: 1 for ASCII, half-width katakana (U+FF61-U+FF9F) and the two
// characters the encoder writes as single bytes (U+00A5 yen sign as 5C, U+203E overline as 7E), else 2.
std::size_t Cp932Width(std::string_view ch) {
  unsigned char c0 = ch[0];
  if (c0 < 0x80) return 1;
  if (ch == "\u00A5" || ch == "\u203E") return 1;
  if (ch.size() == 3 && c0 == 0xEF) {
    unsigned cp = ((c0 & 0x0F) << 12) | ((static_cast<unsigned char>(ch[1]) & 0x3F) << 6) |
                  (static_cast<unsigned char>(ch[2]) & 0x3F);
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;
  }
  return 2;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Converter& conv = Decoder();
  while (!bytes.empty()) {
    std::size_t used = conv.ok() ? Convert(conv, bytes, out) : 0;
    bytes.remove_prefix(used);
    if (bytes.empty()) break;
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not decode
    bytes.remove_prefix(1);
  }
  return out;
}

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
  out.clear();
  if (IsAscii(utf8)) {
    out.assign(utf8);
    return true;
  }
  Converter& conv = Encoder();
  if (!conv.ok()) return false;
  return Convert(conv, utf8, out) == utf8.size();
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
  std::string out;
  if (Utf8ToCp932(utf8, out)) return out;
  // Character by character, so that one unencodable character costs only itself.
  out.clear();
  std::string piece;
  while (!utf8.empty()) {
    std::size_t n = std::min(Utf8SequenceLength(utf8[0]), utf8.size());
    if (Utf8ToCp932(utf8.substr(0, n), piece))
      out += piece;
    else
      out += '?';
    utf8.remove_prefix(n);
  }
  return out;
}

std::size_t Cp932Length(std::string_view utf8) {
  std::size_t width = 0;
  while (!utf8.empty()) {
    std::size_t n = std::min(Utf8SequenceLength(utf8[0]), utf8.size());
    width += Cp932Width(utf8.substr(0, n));
    utf8.remove_prefix(n);
  }
  return width;
}

std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes) {
  std::size_t width = 0, pos = 0;
  while (pos < utf8.size()) {
    std::size_t n = std::min(Utf8SequenceLength(utf8[pos]), utf8.size() - pos);
    std::size_t w = Cp932Width(utf8.substr(pos, n));
    if (width + w > maxBytes) break;
    width += w;
    pos += n;
  }
  return std::string(utf8.substr(0, pos));
}

std::string_view Cp932CutBytes(std::string_view bytes, std::size_t maxBytes) {
  if (bytes.size() <= maxBytes) return bytes;
  std::size_t pos = 0;
  while (pos < maxBytes) {
    std::size_t n = IsCp932LeadByte(bytes[pos]) ? 2 : 1;
    if (pos + n > maxBytes) break;
    pos += n;
  }
  return bytes.substr(0, pos);
}

std::string Cp932PadRight(std::string_view utf8, std::size_t width) {
  std::string out(utf8);
  std::size_t len = Cp932Length(utf8);
  if (len < width) out.append(width - len, ' ');
  return out;
}

std::string Cp932PadLeft(std::string_view utf8, std::size_t width) {
  std::size_t len = Cp932Length(utf8);
  std::string out;
  if (len < width) out.assign(width - len, ' ');
  out += utf8;
  return out;
}

}  // namespace talvorin
