// The program text beside the toolpath: one row per line of the file, read from the file only for the
// rows shown (a 100 MB program is not held in memory), decoded from CP932, numbered from 1; a marked
// line is tinted and ends with its reasons.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <string>
#include <vector>

#include "ncview/Toolpath.h"

namespace talvorin::gui {

class NcProgramText : public QAbstractListModel {
 public:
  explicit NcProgramText(const ToolpathModel& model, QObject* parent = nullptr);
  ~NcProgramText() override;

  // Reads the lines of `path` from now on; false when it cannot be opened.
  bool Open(const std::string& path);
  // The rows follow the model's line count (lines were read or the model was replaced).
  void LinesChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // The text of line `row` (0 first) as read from the file, without number or marks.
  QString LineText(int row) const;

 private:
  void ReadBlock(std::size_t block) const;

  const ToolpathModel& model_;
  int fd_ = -1;
  int rows_ = 0;
  mutable std::size_t cachedBlock_ = SIZE_MAX;
  mutable std::vector<QString> cachedLines_;
};

}  // namespace talvorin::gui
