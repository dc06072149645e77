// The FANUC program of a contour: the program frame of its single process around the compensated path.

#include "euklid/Euklid.h"
#include "ncgen/NcCommon.h"
#include "outputs/Outputs.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kToolNameLimit = 32;  // "tool": 31 bytes

}  // namespace

int MakeEuklidFanucNcdata(Context& ctx) {
  // 1-2.
  ctx.reporter.Report("!!! routine name : MakeEuklidFanucNcdata", 0);
  ProfileOperation operation;
  MachineData machine;
  if (GetMachinedata(ctx, machine) != 0) return -1;

  // 3. The program goes to a temporary file that replaces the NC file only when it is complete.
  TextFile file;
  if (!file.Replace(machine.path))
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s が開けません。", machine.path.c_str());
  // 4-5.
  file.Line("%");
  file.Line(Sprintf("O%04d", ReadInt(ctx.dbPath, "machine", "onumber", 1)));
  WriteUserLines(ctx, file, 0, "fanuc");

  // 6. The process record.
  const std::string section = "ncproc1";
  NcProcessRecord rec;
  rec.number = 1;
  rec.tool = ReadString(ctx.dbPath, section, "tool", kToolNameLimit);
  std::array<double, kProcessColumns> values{};
  if (rec.tool.empty() || ReadProcessValues(ctx, section, values) != 0) return -1;
  std::copy(values.begin(), values.end(), rec.v.begin());
  // A project file edited by hand may hold "nan" or 1e308: no word of the program may carry it.
  if (nc::CheckStoredValues(ctx, section, {"diam", "T", "H", "D", "S", "F", "R"}, nc::kCoordinateLimit) != 0)
    return -1;

  // 7-9. Sequence number, tool comment, tool change, approach block.
  WriteProcessHeader(ctx, file, 1, rec.tool);
  WriteToolChangeLines(ctx, file, "fanuc");
  file.Line(Sprintf("T%02d", nc::Whole(rec.v[kProcT])));
  file.Line("M06");
  WriteApproachBlockFanuc(ctx, file, machine.coordinate, machine.start, rec);

  // 10. The contour.
  if (WriteEuklidContour(ctx, file, section, rec, machine.start) != 0) return -1;

  // 11. Coolant and spindle off, back over the origin, the end lines.
  file.Line("M09");
  file.Line("M05");
  file.Line("X0. Y0.");
  WriteUserLines(ctx, file, 1, "fanuc");

  // 12.
  if (!file.Commit())
    return ctx.reporter.Reportf(-1, "エラー：ＮＣファイル %s の書き込み失敗", machine.path.c_str());
  ShowNcViewer(ctx, machine.path);
  return 0;
}

}  // namespace talvorin
