// Tool numbers of the process rows: the magazine pocket of each row's tool after generation, and the
// rule applied when the user types a T field. Only rows 1 to 15 take part.
#include "process/Process.h"
#include "store/Numbers.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

// "G reads 41": the row is milled with cutter compensation and takes a D offset.
bool IsCompensated(const ProcessRow& row) {
  return AtoI(row.fields[kProcG]) == 41;
}

}  // namespace

int AssignToolNumbers(Context& ctx, ProcessForm& form) {
  for (int r = 1; r <= kStoredProcesses; ++r) {
    ProcessRow& row = form.Row(r);
    const std::string& name = row.fields[kProcName];
    if (name.empty()) continue;
    // 1. The pocket is found by name and diameter.
    const std::string& diameter = row.fields[kProcDiameter];
    if (diameter.empty()) return ctx.reporter.Reportf(-1, "エラー：%sの工具径取得失敗", name.c_str());
    // 2. A tool that is not in the magazine leaves the fields as they are.
    int n = FindToolNumber(ctx, name, diameter);
    if (n <= 0) continue;
    row.fields[kProcT] = Sprintf("%d", n);
    row.fields[kProcH] = Sprintf("%d", n);
    if (IsCompensated(row)) row.fields[kProcD] = Sprintf("%d", n);
  }
  return 0;
}

int CheckToolNumber(Context& ctx, ProcessForm& form, int r) {
  if (r < 1 || r > kStoredProcesses) return 0;
  ProcessRow& row = form.Row(r);

  // 1. The typed number, the row's tool and its offsets (H and D default to the tool number).
  if (row.fields[kProcT].empty()) return 0;
  int t = AtoI(row.fields[kProcT]);
  const std::string& name = row.fields[kProcName];
  if (name.empty()) return ctx.reporter.Report("エラー：工具名取得失敗", -1);
  double diameter = AtoF(row.fields[kProcDiameter]);
  int h = row.fields[kProcH].empty() ? t : AtoI(row.fields[kProcH]);
  int dh = row.fields[kProcD].empty() ? t : AtoI(row.fields[kProcD]);

  // 2. The number may be used already only by the same tool (name and diameter).
  for (int q = 1; q <= kStoredProcesses; ++q) {
    const ProcessRow& other = form.Row(q);
    if (q == r || other.fields[kProcT].empty() || AtoI(other.fields[kProcT]) != t) continue;
    if (other.fields[kProcName].empty()) break;
    if (other.fields[kProcDiameter].empty()) continue;
    if (other.fields[kProcName] == name && AtoF(other.fields[kProcDiameter]) == diameter) continue;
    ctx.reporter.Reportf(0, "エラー：工程[%d | %d] 工具番号 %d=%d が同じです", r, q, t, t);
    ctx.reporter.Reportf(0, "エラー：工程[%d] T=%d | 工具名 %s | 工具径 %.1f", r, t, name.c_str(), diameter);
    return ctx.reporter.Reportf(-1, "エラー：工程[%d] で工具番号 %d が既に使われてます", q, t);
  }

  // 3. Rows of the same tool without a number get it, with their offsets where they have none.
  for (int q = 1; q <= kStoredProcesses; ++q) {
    ProcessRow& other = form.Row(q);
    if (q == r || !other.fields[kProcT].empty()) continue;
    if (other.fields[kProcName].empty()) break;
    if (other.fields[kProcDiameter].empty()) continue;
    if (other.fields[kProcName] != name || AtoF(other.fields[kProcDiameter]) != diameter) continue;
    other.fields[kProcT] = Sprintf("%d", t);
    if (other.fields[kProcH].empty()) other.fields[kProcH] = Sprintf("%d", t);
    if (IsCompensated(other) && other.fields[kProcD].empty()) other.fields[kProcD] = Sprintf("%d", t);
  }

  // 4. The row's own offsets.
  row.fields[kProcH] = Sprintf("%d", h);
  if (IsCompensated(row)) row.fields[kProcD] = Sprintf("%d", dh);
  return 0;
}

}  // namespace talvorin
