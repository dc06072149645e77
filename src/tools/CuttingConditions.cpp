// Condition table lookups: spindle speed, feed and depth or peck per tool kind, material and diameter.
#include <cstdio>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

constexpr std::size_t kValueLimit = 16;  // values: 15 bytes

// How one kind is looked up and reported. The notice's "%s" is the path; for kinds without an entry
// the notice names the kind first.
struct ConditionKind {
  std::string_view kind;
  const char* notice;
  const char* failure;  // "%.2f" is the diameter
  std::vector<std::string_view> keys;
};

const std::vector<ConditionKind>& Kinds() {
  static const std::vector<ConditionKind> kinds = {
      {"cdrill",
       "... Center Drill Table File %s",
       "エラー：φ%.2f のセンタードリル加工条件がみつかりません。",
       {"S", "F", "Z"}},
      {"drill", "... Drill Table File %s", "エラー：φ%.2f の加工条件がみつかりません。", {"S", "F", "Q"}},
      {"chamfer", "... Chamfer Table File %s", "エラー：φ%.2f の加工条件がみつかりません。", {"S", "F"}},
      {"ntap", "... NTap Table File %s", "エラー：φ%.2f のタップ加工条件がみつかりません。", {"S", "F"}},
      {"reamer", "... Reamer Table File %s", "エラー：φ%.2f のリーマ加工条件がみつかりません。", {"S", "F"}},
  };
  return kinds;
}

const ConditionKind* FindKind(std::string_view kind) {
  for (const ConditionKind& k : Kinds())
    if (k.kind == kind) return &k;
  return nullptr;
}

}  // namespace

std::vector<std::string_view> CuttingConditionKeys(std::string_view kind) {
  const ConditionKind* k = FindKind(kind);
  return k ? k->keys : std::vector<std::string_view>{"S", "F"};
}

double* ConditionValue(CuttingCondition& values, std::string_view key) {
  if (key == "S") return &values.s;
  if (key == "F") return &values.f;
  if (key == "Z") return &values.z;
  if (key == "Q") return &values.q;
  return nullptr;
}

std::string ConditionTableFile(const Installation& inst, std::string_view kind, std::string_view material) {
  return ProgramFile(inst,
                     Sprintf("table/%s%s.tbl", std::string(kind).c_str(), std::string(material).c_str()));
}

int GetCuttingCondition(Context& ctx, std::string_view kind, std::string_view material, double diameter,
                        CuttingCondition& values) {
  const ConditionKind* k = FindKind(kind);
  std::string kindText(kind);

  // 1. The table of kind and material, named in the notice. A name holding "/" would lead out of
  //    the table folder: no table has such a name, so nothing is read.
  bool safe = kind.find('/') == std::string_view::npos && material.find('/') == std::string_view::npos;
  std::string path = safe ? ConditionTableFile(ctx.inst, kind, material)
                          : Sprintf("%stable/%s%s.tbl", ctx.inst.programFolder.c_str(), kindText.c_str(),
                                    std::string(material).c_str());
  if (k)
    ctx.reporter.Reportf(0, k->notice, path.c_str());
  else
    ctx.reporter.Reportf(0, "... %s Table File %s", kindText.c_str(), path.c_str());

  // 2. The section of the one-decimal diameter; every key of the kind, a missing one remembered.
  std::string section = Sprintf("%c%.1f", 'D', diameter);
  bool found = true;
  for (std::string_view key : CuttingConditionKeys(kind)) {
    std::string text = safe ? ReadString(path, section, key, kValueLimit) : std::string();
    if (text.empty()) {
      found = false;
      continue;
    }
    *ConditionValue(values, key) = AtoF(text);
  }

  // 3. Any key missing: the kind's message with the diameter.
  if (!found)
    return ctx.reporter.Reportf(-1, k ? k->failure : "エラー：φ%.2f の加工条件がみつかりません。", diameter);
  return 1;
}

}  // namespace talvorin
