#include "gui/common/VersionBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "shell/ProgramSetup.h"

namespace talvorin::gui {

const char* const kVersionNotice = "穴・溝加工のための二次元ＣＡＭシステムです。\nCopyright (C) Brenholt";

QDialog* MakeVersionBox(const Installation& inst, QWidget* parent, const QString& title) {
  const QString about = ToQt(AboutLine(TheBuildDate(), inst.buildNumber));
  const qsizetype hash = about.indexOf(QLatin1Char('#'));
  auto* box = new QDialog(parent);
  box->setObjectName(QStringLiteral("VERSIONBOX"));
  box->setWindowTitle(title.isEmpty() ? about.left(hash) : title);
  auto* icon = new QLabel(box);
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  // Lines are kept whole: the box is as wide as its longest line.
  auto* version = new QLabel(about.mid(hash + 1), box);
  version->setObjectName(QStringLiteral("version"));
  auto* notice = new QLabel(QString::fromUtf8(kVersionNotice), box);
  notice->setObjectName(QStringLiteral("notice"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  auto* layout = new QGridLayout(box);
  layout->setHorizontalSpacing(16);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(version, 0, 1);
  layout->addWidget(notice, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return box;
}

}  // namespace talvorin::gui
