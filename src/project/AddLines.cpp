// The start and end lines screen: NC lines that every program gets after its number ("StartLine")
// and at its end ("EndLine"), per controller, in the NC table file.
#include "project/Settings.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

std::string AddLinesForm::Controller() const {
  if (controllerIndex < 0 || controllerIndex >= static_cast<int>(controllers.size())) return "";
  return controllers[static_cast<std::size_t>(controllerIndex)];
}

std::string ForceUpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

int OpenAddLines(Context& ctx, AddLinesForm& form) {
  form.atStart = true;
  form.controllers = {"FANUC", "OSP"};
  form.controllerIndex = 0;
  return LoadAddLines(ctx, form);
}

int LoadAddLines(Context& ctx, AddLinesForm& form) {
  form.lines.clear();
  form.selectedLine = -1;
  std::string controller = form.Controller();
  if (controller.empty()) return 0;
  for (int n = 0; n < kMaxAddLines; ++n) {
    std::string line = ReadString(ctx.inst.ncTableFile, form.Section(),
                                  Sprintf("%s%d", controller.c_str(), n), kAddLineLimit + 1);
    if (line.empty()) break;
    form.lines.push_back(line);
  }
  return 0;
}

int InsertAddLine(Context& ctx, AddLinesForm& form) {
  std::string line = Cp932Cut(ForceUpperCase(form.entry), kAddLineLimit);
  if (line.empty()) return 0;
  // A reader takes at most 30 lines: a 31st would be saved and never read again.
  if (form.lines.size() >= static_cast<std::size_t>(kMaxAddLines))
    return ctx.reporter.Reportf(-1, "エラー：追加できるＮＣコードは最大%d行です", kMaxAddLines);
  int count = static_cast<int>(form.lines.size());
  if (form.selectedLine >= 0 && form.selectedLine < count) {
    form.lines.insert(form.lines.begin() + form.selectedLine, line);
    ++form.selectedLine;  // the selection stays on its line
  } else {
    form.lines.push_back(line);
  }
  form.entry.clear();
  return 0;
}

void DeleteAddLine(AddLinesForm& form) {
  if (form.selectedLine < 0 || form.selectedLine >= static_cast<int>(form.lines.size())) return;
  form.lines.erase(form.lines.begin() + form.selectedLine);
  form.selectedLine = -1;
}

int SaveAddLines(Context& ctx, AddLinesForm& form) {
  if (form.lines.empty()) return ctx.reporter.Report("Error : List Window is Empty", -1);
  if (form.lines.size() > static_cast<std::size_t>(kMaxAddLines))
    return ctx.reporter.Reportf(-1, "エラー：追加できるＮＣコードは最大%d行です", kMaxAddLines);
  std::string section = form.Section();
  std::string controller = form.Controller();
  // Keys 0 to n-1, then key n empty: it ends the list for every reader, whatever lies beyond it.
  std::vector<std::string> values = form.lines;
  values.emplace_back();
  // The list in one replacement of the table file.
  std::vector<ProfileChange> changes;
  for (std::size_t n = 0; n < values.size(); ++n)
    changes.push_back({section, Sprintf("%s%zu", controller.c_str(), n), Cp932Cut(values[n], kAddLineLimit)});
  const std::size_t written = WriteChanges(ctx.inst.ncTableFile, changes);
  if (written < changes.size()) {
    const ProfileChange& c = changes[written];
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s | table | 書込失敗", c.section.c_str(), c.key.c_str(),
                                c.value.c_str());
  }
  form.lines.clear();
  form.selectedLine = -1;
  ctx.reporter.Report("設定値を保存しました。", 1);
  return 0;
}

void CloseAddLines(AddLinesForm& form) {
  form.entry.clear();
  form.controllers.clear();
  form.controllerIndex = -1;
  form.lines.clear();
  form.selectedLine = -1;
}

}  // namespace talvorin
