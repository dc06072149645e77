// The message routine on a desktop: list lines go into the message list (a one-column table view over
// a model: rows of one fixed height, so appending and scrolling cost the same at any length), boxes are
// QMessageBox windows captioned with the program's name. A test replaces the box presenter so that no box
// waits for a click; with the console switch on, every list line is also printed to standard output.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QTableView>
#include <cstdio>
#include <functional>
#include <vector>

#include "store/Reporter.h"

namespace talvorin::gui {

// The lines of the message list, one column; its width is the width of the longest line seen, so the
// view's horizontal extent follows the longest line without measuring every row.
class MessageListModel : public QAbstractListModel {
 public:
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Append(const QString& line);
  // Widens the column to `width` pixels (never narrows); false when it was wide enough.
  bool Widen(int width);
  int RowWidth() const { return width_; }

 private:
  std::vector<QString> lines_;
  int width_ = 0;
};

class QtReporter : public Reporter {
 public:
  // Shows a box: kind -1 error, 1 information, 3 warning.
  using BoxPresenter =
      std::function<void(QWidget* parent, const QString& caption, const QString& text, int kind)>;

  // `caption`: the boxes' title, the program's name.
  explicit QtReporter(QString caption);

  // Shows the lines in `list` (both scroll bars, no headers, rows of one height) and makes its window
  // the boxes' parent.
  void Bind(QTableView* list);
  void SetBoxPresenter(BoxPresenter presenter) { presenter_ = std::move(presenter); }
  // Every list line from now on is also written to `out` (the console switch); nullptr stops it.
  void SetConsole(std::FILE* out) { console_ = out; }

  MessageListModel& Model() { return model_; }

  // The presenter used unless replaced: a modal QMessageBox with the kind's icon.
  static void ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int kind);

 protected:
  void ShowLine(const std::string& line) override;
  void ShowBox(const std::string& text, int kind) override;
  void WidenList(const std::string& text) override;

 private:
  QString caption_;
  MessageListModel model_;
  QTableView* list_ = nullptr;
  BoxPresenter presenter_;
  std::FILE* console_ = nullptr;
  bool scrollPending_ = false;
};

}  // namespace talvorin::gui
