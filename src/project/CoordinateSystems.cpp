// The coordinate systems screen: the list "CoordinateSystem0" upward of section "machine" of the
// program INI, from which the main window offers its coordinate systems.
#include <algorithm>

#include "project/Settings.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr const char* kMachine = "machine";
constexpr std::size_t kNameLimit = 15;
constexpr int kLoadedKeys = 21;  // keys 0 to 20 are read

// Order of the sorted list: ASCII letters compared without regard to case.
bool SortsBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
  });
}

// Adds `name` where the sorted list keeps it: after every entry that does not sort after it. The
// position it took.
int AddSorted(std::vector<std::string>& list, const std::string& name) {
  auto at = std::upper_bound(list.begin(), list.end(), name, SortsBefore);
  auto inserted = list.insert(at, name);  // may move the list: begin() only after it
  return static_cast<int>(inserted - list.begin());
}

}  // namespace

int LoadingCoordinateSystem(Context& ctx, CoordinateSystemForm& form, bool ask) {
  ctx.reporter.Report("!!! routine name : LoadingCoordinateSystem", 0);
  if (ask && !ctx.dialogs.AskYesNo("再読み込みしますか？")) return 0;
  form.systems.clear();
  form.selected = -1;
  for (int n = 0; n < kLoadedKeys; ++n) {
    std::string name =
        ReadString(ctx.inst.iniPath, kMachine, Sprintf("CoordinateSystem%d", n), kNameLimit + 1);
    if (name.empty()) break;
    AddSorted(form.systems, name);
  }
  return 0;
}

int RegisterCoordinateSystem(Context& ctx, CoordinateSystemForm& form) {
  std::string name = Cp932Cut(ForceUpperCase(form.entry), kNameLimit);
  if (name.empty()) return 0;
  for (const std::string& s : form.systems)
    if (EqualsIgnoringAsciiCase(s, name))
      return ctx.reporter.Reportf(-1, "エラー：座標系「%s」は既に登録されている", name.c_str());
  // The selection stays on its entry.
  if (AddSorted(form.systems, name) <= form.selected) ++form.selected;
  return 0;
}

void SelectCoordinateSystem(CoordinateSystemForm& form, int index) {
  if (index < 0 || index >= static_cast<int>(form.systems.size())) {
    form.selected = -1;
    return;
  }
  form.selected = index;
  form.entry = form.systems[static_cast<std::size_t>(index)];
}

int DeleteCoordinateSystem(Context& ctx, CoordinateSystemForm& form) {
  int index = form.selected;
  if (index < 0 || index >= static_cast<int>(form.systems.size())) return 0;
  form.systems.erase(form.systems.begin() + index);
  form.selected = -1;
  form.entry.clear();
  ctx.reporter.Reportf(0, "%d番目のデータ削除", index);
  return 0;
}

int SaveCoordinateSystem(Context& ctx, CoordinateSystemForm& form) {
  ctx.reporter.Report("!!! routine name : SaveCoordinateSystem", 0);
  if (form.systems.empty()) return ctx.reporter.Report("エラー：設定した座標系がありません", -1);
  if (form.systems.size() > static_cast<std::size_t>(kMaxCoordinateSystems))
    return ctx.reporter.Report("エラー：保存できる座標系は最大20個です", -1);
  // Keys 0 to 19: the entries in list order, then empty values that end the list.
  // The list in one replacement of the program INI.
  std::vector<ProfileChange> changes;
  for (int n = 0; n < kMaxCoordinateSystems; ++n) {
    std::string value =
        n < static_cast<int>(form.systems.size()) ? form.systems[static_cast<std::size_t>(n)] : "";
    changes.push_back({kMachine, Sprintf("CoordinateSystem%d", n), value});
  }
  if (WriteChanges(ctx.inst.iniPath, changes) < changes.size())
    return ctx.reporter.Reportf(-1, "エラー : [%s] 座標系書込み失敗", kMachine);
  return 0;
}

}  // namespace talvorin
