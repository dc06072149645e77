#include "gui/common/QtReporter.h"

#include <QFontMetrics>
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
  if (role == Qt::SizeHintRole) return QSize(width_, height_);
  return {};
}

void MessageListModel::Append(const QString& line) {
  const int row = static_cast<int>(lines_.size());
  beginInsertRows(QModelIndex(), row, row);
  lines_.push_back(line);
  endInsertRows();
}

void MessageListModel::Widen(int width) {
  if (width <= width_) return;
  width_ = width;
  // The view takes the uniform row size from the first row.
  if (!lines_.empty()) emit dataChanged(index(0), index(0), {Qt::SizeHintRole});
}

QtReporter::QtReporter(QString caption)
    : caption_(std::move(caption)), presenter_(&QtReporter::ShowMessageBox) {}

void QtReporter::Bind(QListView* list) {
  list_ = list;
  list->setUniformItemSizes(true);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QFontMetrics metrics(list->font());
  model_.SetRowHeight(metrics.height() + 2);
  // The list starts as wide as 60 half-width characters, the routine's starting width.
  model_.Widen(metrics.horizontalAdvance(QString(60, QLatin1Char('0'))));
  list->setModel(&model_);
}

void QtReporter::ShowLine(const std::string& line) {
  if (console_) {
    std::fprintf(console_, "%s\n", line.c_str());
    std::fflush(console_);
  }
  model_.Append(ToQt(line));
  if (list_) list_->scrollToBottom();
}

void QtReporter::WidenList(const std::string& text) {
  if (!list_) return;
  model_.Widen(QFontMetrics(list_->font()).horizontalAdvance(ToQt(text)) + 8);
}

void QtReporter::ShowBox(const std::string& text, int kind) {
  QWidget* parent = list_ ? list_->window() : nullptr;
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
