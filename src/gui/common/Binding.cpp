#include "gui/common/Binding.h"

#include <QRegularExpressionValidator>

namespace talvorin::gui {

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

}  // namespace talvorin::gui
