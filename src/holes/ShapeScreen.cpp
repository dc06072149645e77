// The shape-entry screen of one hole group: opening it from the main window, the kind selector filled
// from the hole-command table, and choosing a kind.
#include "holes/Holes.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// The hole-command table of key "command" of section "table".
int CommandTable(Context& ctx, std::string& table) {
  return GetTableFile(ctx.inst, ctx.reporter, "command", table);
}

}  // namespace

int OpenShapeInput(Context& ctx, MainForm& main, int group, const std::function<int(int group)>& runScreen) {
  // 1. A hole group belongs to a project: the project file is created first.
  if (!PathExists(ctx.dbPath) && NewSavedata(ctx, main) != 0) return -1;
  // 2. The screen itself (modal in the GUI).
  int result = runScreen(group);
  // 3. The group buttons show what the screen saved.
  RefreshGroupCaptions(ctx, main);
  return result;
}

int OpenShapeScreen(Context& ctx, ShapeForm& form, int group) {
  int filled = FillKindSelector(ctx, form);
  int read = ReadShapeDefine(ctx, form, group);
  return filled == 0 && read == 0 ? 0 : -1;
}

int FillKindSelector(Context& ctx, ShapeForm& form) {
  form.kinds.clear();
  std::string table;
  if (CommandTable(ctx, table) != 0) return -1;
  int index = ReadInt(table, "command", "index", 10);
  form.kinds = ReadNumberedList(table, "command", "command", kTableTextBytes + 1, index + 1);
  return 0;
}

int ShowKindCaptions(Context& ctx, ShapeForm& form, std::string_view word) {
  form.params.fill("");
  form.captions.fill("-");
  std::string table;
  if (CommandTable(ctx, table) != 0) return -1;
  const std::string stem(word);
  for (int i = 0; i < kHoleParameters; ++i) {
    std::string caption = ReadString(table, stem, Sprintf("%s%d", stem.c_str(), i), kTableTextBytes + 1);
    if (!caption.empty()) form.captions[static_cast<std::size_t>(i)] = caption;
  }
  return 0;
}

int ChooseKind(Context& ctx, ShapeForm& form) {
  Reporter& rep = ctx.reporter;
  std::string label = Cp932Cut(form.kind, kKindLabelBytes);
  if (label.empty()) return rep.Report("エラー：加工命令の取り出し失敗[1]", -1);
  std::string word = GetKindWord(label);
  if (word.empty()) return rep.Report("エラー：加工命令の取り出し失敗[2]", -1);
  if (ShowKindCaptions(ctx, form, word) != 0) return -1;
  return GetDefaultValue(ctx, word, form.params);
}

}  // namespace talvorin
