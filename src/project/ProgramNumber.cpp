// The program number rule: numbers are handed out in turn from a range, wrapping to its start.
#include "project/Project.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

void NextProgramNumber(Context& ctx, MainForm& form) {
  std::string rule = ProgramFile(ctx.inst, "ncfile_rule.tbl");
  // Read and written under the rule file's lock: two programs starting a project at the same moment
  // take different numbers.
  ProfileLock lock(rule);
  int rangeMin = ReadInt(rule, "ncfile", "rangemin", 1000);
  int rangeMax = ReadInt(rule, "ncfile", "rangemax", 1099);
  int current = ReadInt(rule, "ncfile", "current", 0);
  if (current < rangeMin || current > rangeMax) current = rangeMin;
  form.programNumber = Sprintf("%d", current);
  // The stored value may be rangemax + 1: the next call starts again at rangemin. A missing rule file
  // is created by this write.
  if (!WriteString(rule, "ncfile", "current", Sprintf("%lld", static_cast<long long>(current) + 1)))
    ctx.reporter.Report("エラー：プログラム番号の保存失敗", -1);
}

}  // namespace talvorin
