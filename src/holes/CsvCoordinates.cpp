// Hole positions from a CSV file: one "X,Y" pair per line into the coordinate rows.
#include <sys/stat.h>

#include <fstream>

#include "holes/Holes.h"
#include "store/Cp932.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

constexpr std::size_t kCsvLineBytes = 63;

// The field of `line` that starts at `from` and runs to the next comma or the end.
std::string_view Field(std::string_view line, std::size_t from) {
  if (from > line.size()) return {};
  std::string_view rest = line.substr(from);
  return rest.substr(0, rest.find(','));
}

}  // namespace

int ReadCsvCoordinates(Context& ctx, ShapeForm& form) {
  Reporter& rep = ctx.reporter;

  // 1. The file.
  std::string path;
  if (ChooseFile(ctx, path, "csv", ctx.inst.programFolder) != 1)
    return rep.Report("エラー：CSVファイルの取り込みを中止します。", -1);

  // 2. A folder or a missing file cannot be read.
  struct stat st;
  std::ifstream in;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) in.open(path, std::ios::binary);
  if (!in.is_open()) return rep.Reportf(-1, "エラー：CSV座標ファイル %s が開けません", path.c_str());

  // 3. Every line is data: X before the first comma, Y up to the next one; text without a number
  // reads as 0. Only the first ten lines fill rows.
  // A number the rows cannot hold ("nan", "inf", 1e308) refuses the whole file: no row changes.
  std::array<CoordinateRow, kCoordinateRows> rows = form.rows;
  std::string line;
  for (int k = 0; k < kCoordinateRows && std::getline(in, line); ++k) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A spreadsheet's UTF-8 export starts with a byte-order mark; it is not part of the first X.
    if (k == 0 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    std::string_view text = Cp932CutBytes(line, kCsvLineBytes);
    std::string_view x = Cp932CutBytes(Field(text, 0), kValueBytes);
    std::size_t comma = text.find(',');
    std::string_view y = comma == std::string_view::npos ? std::string_view{}
                                                         : Cp932CutBytes(Field(text, comma + 1), kValueBytes);
    for (std::string_view value : {x, y})
      if (!IsStorableNumber(value, kValueBytes))
        return rep.Reportf(-1, "エラー：CSV座標ファイル %s の %d 行目 %.*s は座標になりません", path.c_str(),
                           k + 1, static_cast<int>(value.size()), value.data());
    CoordinateRow& row = rows[static_cast<std::size_t>(k)];
    row.x = FormatNumber(AtoF(x), true);
    row.y = FormatNumber(AtoF(y), true);
  }
  form.rows = rows;
  // 4. Rows beyond the last line keep their contents.
  return 0;
}

}  // namespace talvorin
