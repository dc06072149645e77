#include "gui/common/VersionBox.h"

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "shell/ProgramSetup.h"

namespace talvorin::gui {

const char* const kVersionNotice = "穴・溝加工のための二次元ＣＡＭシステムです。\nCopyright (C) Brenholt";

QMessageBox* MakeVersionBox(const Installation& inst, QWidget* parent) {
  const QString about = ToQt(AboutLine(TheBuildDate(), inst.buildNumber));
  const qsizetype hash = about.indexOf(QLatin1Char('#'));
  auto* box = new QMessageBox(parent);
  box->setObjectName(QStringLiteral("VERSIONBOX"));
  box->setWindowTitle(about.left(hash));
  box->setText(about.mid(hash + 1));
  box->setInformativeText(QString::fromUtf8(kVersionNotice));
  box->setIconPixmap(ProgramIcon().pixmap(48, 48));
  box->setStandardButtons(QMessageBox::Ok);
  return box;
}

}  // namespace talvorin::gui
