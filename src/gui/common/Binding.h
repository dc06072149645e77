// Small helpers that bind a screen's widgets to its form: text conversion, finding a control by its
// id, the validators of upper-case and digits-only fields, captions as accessible names, and the hook
// through which a window runs its modal screens (replaced in tests, so no test waits on one).
#pragma once

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QString>
#include <QValidator>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace talvorin::gui {

inline QString ToQt(const std::string& utf8) {
  return QString::fromStdString(utf8);
}
inline std::string ToStd(const QString& text) {
  return text.toStdString();
}

// The control whose objectName is `id` as decimal text ("1100"); nullptr when there is none.
template <class W = QWidget>
W* FindControl(const QObject* root, int id) {
  return root->findChild<W*>(QString::number(id));
}

// Forces typed and pasted text to upper case (Latin letters, full-width ones included).
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// Accepts the digits 0-9 only (an empty field too).
QValidator* DigitsOnlyValidator(QObject* parent);

// A label for `field` with the screen's caption: the label is the field's buddy and the caption is also
// the field's accessible name, so screen readers and desktop automation find the field by it.
QLabel* CaptionFor(QWidget* field, const QString& caption, QWidget* parent);

// Sets the id as objectName and the accessible name of a control.
void NameControl(QWidget* control, int id, const QString& accessibleName);

// An editable drop-down list: its entries (the list is rebuilt only when they changed) and the shown
// text; the entry equal to the text becomes the current one.
void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& text);

// Runs `left` each time `field` loses the keyboard focus (the system's "field left" events), whether
// its text changed or not.
void OnFocusOut(QWidget* field, std::function<void()> left);

// A command of a screen's menu or bar (`menu` is a QMenu or a QMenuBar): a QAction with the caption,
// named and carrying the command id, that runs `run` in `context`. A non-empty `key` is its keyboard
// route, named in its tool tip.
QAction* AddCommand(QWidget* menu, int id, const char* caption, const QKeySequence& key, QObject* context,
                    std::function<void()> run);

// How a window runs its modal screens and boxes: exec() unless a test replaces it. The result is the
// dialog's result code.
struct ScreenRunner {
  std::function<int(QDialog&)> run;
  int Run(QDialog& dialog) const { return run ? run(dialog) : dialog.exec(); }
};

}  // namespace talvorin::gui
