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

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, int index,
               const std::string& text) {
  combo->clear();
  for (const std::string& entry : entries)
    combo->addItem(ToQt(entry));
  combo->setCurrentIndex(index);
  combo->setEditText(ToQt(text));
}

}  // namespace talvorin::gui
