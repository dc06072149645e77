// The EUKLID hole file: one circle per line, "type,diameter,x,y,z"; the circle lines fill the rows of
// the hole form.
#include <fstream>

#include "euklid/Euklid.h"
#include "project/ProjectDatabase.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kFieldBytes = 15;  // diameter and coordinates as read

// The fields of a hole-file line as "%[^,],%[^,],%[^,],%[^,],%s" scans them: each of the first four
// runs to the next comma and must not be empty, the fifth is the first blank-delimited word after the
// fourth comma. The scan stops at the first field that does not match; the rest stay empty.
struct HoleLine {
  std::string type, diameter, x, y, z;
};
HoleLine ParseHoleLine(std::string_view line) {
  HoleLine h;
  std::string* fields[4] = {&h.type, &h.diameter, &h.x, &h.y};
  std::size_t pos = 0;
  for (std::string* f : fields) {
    std::size_t comma = line.find(',', pos);
    if (comma == std::string_view::npos || comma == pos) return h;
    *f = std::string(line.substr(pos, comma - pos));
    pos = comma + 1;
  }
  std::size_t begin = line.find_first_not_of(" \t\r\n\v\f", pos);
  if (begin == std::string_view::npos) return h;
  std::size_t end = line.find_first_of(" \t\r\n\v\f", begin);
  h.z = std::string(line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
  return h;
}

bool IsCircleLine(const HoleLine& h) {
  return h.type == "C" || h.type == "c";
}

// A field text of the file (CP932) as a row holds it: at most 15 bytes, never a split character.
std::string FieldText(const std::string& bytes) {
  return Cp932ToUtf8(Cp932CutBytes(bytes, kFieldBytes));
}

}  // namespace

int ReadEuklidHoleFile(Context& ctx, EuklidHoleForm& form, const std::string& inputPath) {
  std::ifstream file(inputPath, std::ios::binary);
  if (!file)
    return ctx.reporter.Reportf(-1, "エラー：EUKLID 穴加工定義ファイル %s が開けません", inputPath.c_str());
  // The circles first: a list longer than the form is refused before a row is filled. Only the rows'
  // worth is kept; the rest is counted.
  std::vector<HoleLine> circles;
  std::size_t total = 0;
  std::string line;
  while (std::getline(file, line)) {
    HoleLine h = ParseHoleLine(line);
    if (!IsCircleLine(h)) continue;
    if (++total <= static_cast<std::size_t>(kEuklidHoleRows)) circles.push_back(std::move(h));
  }
  if (total > static_cast<std::size_t>(kEuklidHoleRows))
    return ctx.reporter.Reportf(-1, "エラー：EUKLID 穴加工定義ファイル %s の円が %zu 個あります（%d 個まで）",
                                inputPath.c_str(), total, kEuklidHoleRows);
  for (std::size_t r = 0; r < circles.size(); ++r) {
    EuklidHoleRow& row = form.rows[r];
    row.diameter = FieldText(circles[r].diameter);
    row.x = FieldText(circles[r].x);
    row.y = FieldText(circles[r].y);
    row.z = FieldText(circles[r].z);
  }
  const std::string count = Sprintf("%zu", circles.size());
  if (WriteString(ctx.dbPath, kDbHoleSection, "count", count)) return 0;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書込み失敗", kDbHoleSection, "count", count.c_str());
}

}  // namespace talvorin
