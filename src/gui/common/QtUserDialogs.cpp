#include "gui/common/QtUserDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/common/Binding.h"

namespace talvorin::gui {

bool QtUserDialogs::ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                               std::string& path) {
  QString filters = ToQt(filter);
  filters.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
  QFileDialog dialog(parent_, ToQt(title), ToQt(folder), filters);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = ToStd(dialog.selectedFiles().front());
  return true;
}

bool QtUserDialogs::AskYesNo(const std::string& text) {
  return QMessageBox::question(parent_, caption_, ToQt(text), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtUserDialogs::ChooseColour(Colour& colour) {
  QColor chosen = QColorDialog::getColor(QColor(colour.red, colour.green, colour.blue), parent_);
  if (!chosen.isValid()) return false;
  colour = {chosen.red(), chosen.green(), chosen.blue()};
  return true;
}

bool QtUserDialogs::ChooseProgram(const std::string& title, std::string& path) {
  for (;;) {
    QString chosen = QFileDialog::getOpenFileName(parent_, ToQt(title), QDir::homePath());
    if (chosen.isEmpty()) return false;
    QFileInfo info(chosen);
    if (info.isFile() && info.isExecutable()) {
      path = ToStd(chosen);
      return true;
    }
    QMessageBox::warning(parent_, caption_,
                         QStringLiteral("%1 は実行できるファイルではありません。").arg(chosen));
  }
}

}  // namespace talvorin::gui
