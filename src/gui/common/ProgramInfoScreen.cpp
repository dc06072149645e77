#include "gui/common/ProgramInfoScreen.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "shell/ProgramSetup.h"

namespace talvorin::gui {
namespace {

constexpr int kCloseCommand = 40202;

// The painted text: from 5 pixels left and 15 down, one row per line, cut with an ellipsis where a
// line does not fit.
class InfoText : public QWidget {
 public:
  InfoText(const QStringList& lines, QColor colour, QWidget* parent)
      : QWidget(parent), lines_(lines), colour_(colour) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFontMetrics metrics(font());
    int width = 0;
    for (const QString& line : lines_)
      width = std::max(width, metrics.horizontalAdvance(line));
    setMinimumSize(width + 20, 15 + metrics.lineSpacing() * static_cast<int>(lines_.size()) + 10);
    setAccessibleName(lines_.join(QLatin1Char('\n')));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(colour_);
    QFontMetrics metrics(font());
    int y = 15 + metrics.ascent();
    for (const QString& line : lines_) {
      painter.drawText(5, y, metrics.elidedText(line, Qt::ElideRight, width() - 10));
      y += metrics.lineSpacing();
    }
  }

 private:
  QStringList lines_;
  QColor colour_;
};

}  // namespace

ProgramInfoScreen::ProgramInfoScreen(const Installation& inst, const QString& text, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("PROGRAMINFODLG"));
  setWindowTitle(QStringLiteral("プログラム情報 【 Close with any Key 】"));
  lines_ = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ApplyColours(inst, this);

  auto* menu = new QMenuBar(this);
  QAction* close = menu->addAction(QStringLiteral("閉じる"));
  close->setObjectName(QString::number(kCloseCommand));
  close->setData(kCloseCommand);
  connect(close, &QAction::triggered, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu);
  layout->setContentsMargins(0, 0, 0, 0);
  const Colour& c = inst.textColour;
  layout->addWidget(new InfoText(lines_, QColor(c.red, c.green, c.blue), this));
}

void ProgramInfoScreen::keyPressEvent(QKeyEvent* event) {
  // Any key ends the screen.
  event->accept();
  accept();
}

ProgramInfoScreen* MakeProgramInfoScreen(const Installation& inst, const std::string& executablePath,
                                         QWidget* parent) {
  Timestamp fileDate;
  GetFileDate(executablePath, fileDate);
  std::string text = ProgramInformationText(TheBuildDate(), inst.buildNumber, fileDate);
  return new ProgramInfoScreen(inst, ToQt(text), parent);
}

}  // namespace talvorin::gui
