#include "gui/common/Binding.h"

#include <QEvent>
#include <QRegularExpressionValidator>

namespace talvorin::gui {

namespace {

class FocusOutFilter : public QObject {
 public:
  FocusOutFilter(QObject* parent, std::function<void()> left) : QObject(parent), left_(std::move(left)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) left_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> left_;
};

}  // namespace

void OnFocusOut(QWidget* field, std::function<void()> left) {
  field->installEventFilter(new FocusOutFilter(field, std::move(left)));
}

QValidator::State UpperCaseValidator::validate(QString& input, int& /*pos*/) const {
  input = input.toUpper();
  return Acceptable;
}

QValidator* DigitsOnlyValidator(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), parent);
}

QLabel* CaptionFor(QWidget* field, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(field);
  field->setAccessibleName(caption);
  return label;
}

void NameControl(QWidget* control, int id, const QString& accessibleName) {
  control->setObjectName(QString::number(id));
  if (!accessibleName.isEmpty()) control->setAccessibleName(accessibleName);
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& text) {
  bool same = combo->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < combo->count(); ++i)
    same = combo->itemText(i) == ToQt(entries[static_cast<std::size_t>(i)]);
  if (!same) {
    combo->clear();
    for (const std::string& entry : entries)
      combo->addItem(ToQt(entry));
  }
  // The entry showing the text is the current one, so the arrow keys move on from it.
  const QString shown = ToQt(text);
  combo->setCurrentIndex(shown.isEmpty() ? -1 : combo->findText(shown, Qt::MatchExactly));
  combo->setEditText(shown);
}

QAction* AddCommand(QWidget* menu, int id, const char* caption, const QKeySequence& key, QObject* context,
                    std::function<void()> run) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::number(id));
  action->setData(id);
  if (!key.isEmpty()) {
    action->setShortcut(key);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(action->text(), key.toString(QKeySequence::NativeText)));
  }
  QObject::connect(action, &QAction::triggered, context, std::move(run));
  return action;
}

}  // namespace talvorin::gui
