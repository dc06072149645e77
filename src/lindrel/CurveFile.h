// The EUKLID curve file as the contour converter reads it: text, one segment per line, seven
// comma-separated fields "type,x,y,z,cx,cy,value".
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace talvorin {

// Bytes of a line that are looked at; the rest of a longer line is skipped. A real line holds at most
// 7 + 6 * 16 bytes.
constexpr std::size_t kCurveLineLimit = 4096;

struct CurveLine {
  std::string type;            // field 1, compared whole and exactly: "L" line, "C" arc or circle
  double x = 0, y = 0, z = 0;  // end point of the segment (for a point line the point itself)
  double cx = 0, cy = 0;       // centre of an arc
  double value = 0;            // arc: signed radius, >= 0 clockwise; point: direction in degrees
};

// The fields as "%[^,],%[^,],%[^,],%[^,],%[^,],%[^,],%s" scans them: each of the first six runs to the
// next comma and must not be empty, the seventh is the first blank-delimited word after the sixth
// comma. The scan stops at the first field that does not match; that field and the ones after it are
// empty, and empty fields read as 0 (numbers are converted as C's atof does).
CurveLine ParseCurveLine(std::string_view line);

// Reads a curve file line by line in bounded memory.
class CurveReader {
 public:
  explicit CurveReader(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  // The next line without its line feed and without a carriage return before it, cut at a NUL byte
  // and to kCurveLineLimit bytes. A last line without a line feed is read whole. False at the end.
  bool Next(std::string& line);

 private:
  bool Fill();

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  std::string buffer_;
  std::size_t pos_ = 0, end_ = 0;
};

}  // namespace talvorin
