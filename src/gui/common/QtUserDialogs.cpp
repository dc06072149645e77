#include "gui/common/QtUserDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/common/Binding.h"

namespace talvorin::gui {

QWidget* QtUserDialogs::Owner() const {
  // A modal screen in use owns the dialog, so it opens over that screen and not behind it.
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : parent_;
}

bool QtUserDialogs::ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                               std::string& path) {
  QString filters = ToQt(filter);
  filters.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
  QFileDialog dialog(Owner(), ToQt(title), ToQt(folder), filters);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = ToStd(dialog.selectedFiles().front());
  return true;
}

bool QtUserDialogs::AskYesNo(const std::string& text) {
  return QMessageBox::question(Owner(), caption_, ToQt(text), QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtUserDialogs::ChooseColour(Colour& colour) {
  QColor chosen = QColorDialog::getColor(QColor(colour.red, colour.green, colour.blue), Owner());
  if (!chosen.isValid()) return false;
  colour = {chosen.red(), chosen.green(), chosen.blue()};
  return true;
}

bool QtUserDialogs::ChooseProgram(const std::string& title, std::string& path) {
  for (;;) {
    QString chosen = QFileDialog::getOpenFileName(Owner(), ToQt(title), QDir::homePath());
    if (chosen.isEmpty()) return false;
    QFileInfo info(chosen);
    if (info.isFile() && info.isExecutable()) {
      path = ToStd(chosen);
      return true;
    }
    QMessageBox::warning(Owner(), caption_,
                         QStringLiteral("%1 は実行できるファイルではありません。").arg(chosen));
  }
}

}  // namespace talvorin::gui
