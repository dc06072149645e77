// One screen of the main program shown over a stand-in main window, in a copy of the shipped
// installation: controls found by id, typing, commands of its menus, the boxes it showed and the
// files it wrote.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <memory>

#include "gui/GuiTestSupport.h"
#include "store/Profile.h"

namespace talvorin::test {

// Types `text` into the focused field: Latin text key by key, Japanese text committed as an input
// method commits it.
inline void TypeText(QWidget* field, const QString& text) {
  bool latin = true;
  for (QChar c : text)
    latin = latin && c.unicode() < 0x80;
  if (latin) {
    QTest::keyClicks(field, text);
    return;
  }
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(field, &commit);
}

struct ScreenFixture {
  using Maker = std::function<QDialog*(Context&, QWidget*)>;

  // `prepare` changes the program folder before the screen opens.
  explicit ScreenFixture(const Maker& make, const std::function<void(ScreenFixture&)>& prepare = {}) {
    CopyProgramFolder(folder);
    t = std::make_unique<GuiTestContext>(folder);
    if (SetNcTableFile(t->inst, t->reporter, t->inst.ncTableFile) != 0) qFatal("no NC table");
    if (prepare) prepare(*this);
    main = std::make_unique<QWidget>();
    main->resize(400, 300);
    dialog.reset(make(t->ctx, main.get()));
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) qFatal("screen not shown");
  }
  template <class W = QWidget>
  W* Control(int id) {
    W* w = dialog->findChild<W*>(QString::number(id));
    if (!w) qFatal("control %d missing", id);
    return w;
  }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(id); }
  void Type(int id, const QString& text) {
    QLineEdit* edit = Edit(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
  }
  void Click(int id) { QTest::mouseClick(Control(id), Qt::LeftButton); }
  // The menu or bar command `id` of the screen.
  void Command(int id) {
    QAction* action = dialog->findChild<QAction*>(QString::number(id));
    if (!action) qFatal("command %d missing", id);
    action->trigger();
  }
  QString LastBox() const { return t->boxes.empty() ? QString() : t->boxes.back().first; }
  // Whether a list line equals `line`.
  bool HasLine(const std::string& line) const {
    for (const std::string& l : t->reporter.Lines())
      if (l == line) return true;
    return false;
  }
  std::string Ini(const char* section, const char* key) {
    return ReadString(t->inst.iniPath, section, key, 520);
  }
  std::string Table(const char* section, const char* key) {
    return ReadString(t->inst.ncTableFile, section, key, 80);
  }

  TestFolder folder;
  std::unique_ptr<GuiTestContext> t;
  std::unique_ptr<QWidget> main;
  std::unique_ptr<QDialog> dialog;
};

}  // namespace talvorin::test
