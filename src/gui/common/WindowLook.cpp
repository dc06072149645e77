#include "gui/common/WindowLook.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTranslator>

#include "shell/ProgramSetup.h"

namespace talvorin::gui {

void PlaceOnScreen(const Installation& inst, QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window->frameGeometry().size();
  WindowPlacement place = PlaceWindow(inst, area.width(), area.height(), 0, size.width(), size.height());
  window->move(area.x() + place.left, area.y() + place.top);
}

void TakeSavedLook(Installation& inst, const Colours& stored, QWidget* window, QWidget* screen) {
  inst.windowColour = stored.window;
  inst.textColour = stored.text;
  if (window) {
    PlaceOnScreen(inst, window);
    ApplyColours(inst, window);
  }
  ApplyColours(inst, screen);
}

void ApplyColours(const Installation& inst, QWidget* window) {
  QPalette palette = window->palette();
  const Colour& back = inst.windowColour;
  const Colour& text = inst.textColour;
  palette.setColor(QPalette::Window, QColor(back.red, back.green, back.blue));
  palette.setColor(QPalette::WindowText, QColor(text.red, text.green, text.blue));
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

QIcon ProgramIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 50, 90), 3));
  painter.setBrush(QColor(160, 175, 195));
  painter.drawRoundedRect(QRectF(4, 10, 56, 44), 4, 4);
  painter.setBrush(QColor(30, 50, 90));
  painter.setPen(Qt::NoPen);
  for (int x : {16, 32, 48})
    for (int y : {22, 42})
      painter.drawEllipse(QPointF(x, y), 5, 5);
  painter.end();
  return QIcon(pixmap);
}

bool UseJapaneseQtTexts() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace talvorin::gui
