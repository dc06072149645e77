#include "gui/common/QtReporter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>

#include "gui/common/Binding.h"

namespace talvorin::gui {

int MessageListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant MessageListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(lines_.size())) return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
    return lines_[static_cast<std::size_t>(index.row())];
  return {};
}

void MessageListModel::Append(const QString& line) {
  const int row = static_cast<int>(lines_.size());
  beginInsertRows(QModelIndex(), row, row);
  lines_.push_back(line);
  endInsertRows();
}

bool MessageListModel::Widen(int width) {
  if (width <= width_) return false;
  width_ = width;
  return true;
}

QtReporter::QtReporter(QString caption)
    : caption_(std::move(caption)), presenter_(&QtReporter::ShowMessageBox) {}

void QtReporter::Bind(QTableView* list) {
  list_ = list;
  list->horizontalHeader()->hide();
  list->verticalHeader()->hide();
  list->setShowGrid(false);
  list->setWordWrap(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QFontMetrics metrics(list->font());
  list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list->verticalHeader()->setDefaultSectionSize(metrics.height() + 2);
  list->setModel(&model_);
  // The list starts as wide as the longest-line record in half-width characters (60 unless the
  // program starts it elsewhere).
  model_.Widen(metrics.horizontalAdvance(QString(static_cast<qsizetype>(LongestLine()), QLatin1Char('0'))));
  list->setColumnWidth(0, model_.RowWidth());
}

void QtReporter::ShowLine(const std::string& line) {
  if (console_) {
    std::fprintf(console_, "%s\n", line.c_str());
    std::fflush(console_);
  }
  model_.Append(ToQt(line));
  // Scrolling lays the list out: once per turn of the event loop, not once per line.
  if (list_ && !scrollPending_) {
    scrollPending_ = true;
    QMetaObject::invokeMethod(
        list_,
        [this] {
          scrollPending_ = false;
          list_->scrollToBottom();
        },
        Qt::QueuedConnection);
  }
}

void QtReporter::WidenList(const std::string& text) {
  if (!list_) return;
  if (model_.Widen(QFontMetrics(list_->font()).horizontalAdvance(ToQt(text)) + 8))
    list_->setColumnWidth(0, model_.RowWidth());
}

void QtReporter::ShowBox(const std::string& text, int kind) {
  // A box opens over the modal screen in use, else over the window of the message list.
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent && list_) parent = list_->window();
  if (presenter_) presenter_(parent, caption_, ToQt(text), kind);
}

void QtReporter::ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int kind) {
  QMessageBox::Icon icon = kind < 0                 ? QMessageBox::Critical
                           : kind == kReportWarning ? QMessageBox::Warning
                                                    : QMessageBox::Information;
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace talvorin::gui
