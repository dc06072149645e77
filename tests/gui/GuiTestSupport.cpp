#include "gui/GuiTestSupport.h"

#include <QAccessible>

#include "shell/ProgramSetup.h"

namespace talvorin::test {
namespace {

QAccessibleInterface* Search(QAccessibleInterface* node, const QString& caption, QStringList* names,
                             int depth) {
  if (!node || depth > 30) return nullptr;
  const QString name = node->text(QAccessible::Name);
  if (names) names->append(name);
  if (!names && name == caption) return node;
  for (int i = 0; i < node->childCount(); ++i)
    if (QAccessibleInterface* found = Search(node->child(i), caption, names, depth + 1)) return found;
  return nullptr;
}

}  // namespace

GuiTestContext::GuiTestContext(const TestFolder& folder) : ctx{inst, reporter, platform, dialogs, ""} {
  platform.executablePath = folder.path() + "talvorin";
  SetupProgram(inst, platform.executablePath, BuildDate{2026, 6, 3});
  reporter.SetBoxPresenter(
      [this](QWidget*, const QString&, const QString& text, int kind) { boxes.emplace_back(text, kind); });
}

QAccessibleInterface* FindByCaption(QWidget* root, const QString& caption) {
  return Search(QAccessible::queryAccessibleInterface(root), caption, nullptr, 0);
}

QStringList AccessibleNames(QWidget* root) {
  QStringList names;
  Search(QAccessible::queryAccessibleInterface(root), QString(), &names, 0);
  return names;
}

}  // namespace talvorin::test
