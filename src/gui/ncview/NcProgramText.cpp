#include "gui/ncview/NcProgramText.h"

#include <fcntl.h>
#include <unistd.h>

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <array>

#include "mtime/NcLineReader.h"
#include "store/Cp932.h"

namespace talvorin::gui {
namespace {

const QColor kFaultBackground(255, 215, 215);
const QColor kFaultText(170, 0, 0);

// Bytes that a text line cannot show: control characters become "?" (the line is marked for them).
std::string Showable(std::string bytes) {
  for (char& c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != '\t') || u == 0x7F) c = '?';
  }
  return bytes;
}

}  // namespace

NcProgramText::NcProgramText(const ToolpathModel& model, QObject* parent)
    : QAbstractListModel(parent), model_(model) {}

NcProgramText::~NcProgramText() {
  if (fd_ >= 0) close(fd_);
}

bool NcProgramText::Open(const std::string& path) {
  beginResetModel();
  if (fd_ >= 0) close(fd_);
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  rows_ = 0;
  cachedBlock_ = SIZE_MAX;
  endResetModel();
  return fd_ >= 0;
}

void NcProgramText::LinesChanged() {
  const int count = static_cast<int>(std::min<std::uint32_t>(model_.lineCount, INT32_MAX));
  cachedBlock_ = SIZE_MAX;  // the last block may have grown
  if (count > rows_) {
    beginInsertRows(QModelIndex(), rows_, count - 1);
    rows_ = count;
    endInsertRows();
  } else if (count < rows_) {
    beginResetModel();
    rows_ = count;
    endResetModel();
  } else if (count > 0) {
    emit dataChanged(index(0), index(count - 1));
  }
}

int NcProgramText::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

void NcProgramText::ReadBlock(std::size_t block) const {
  cachedLines_.clear();
  cachedBlock_ = block;
  if (fd_ < 0 || block >= model_.lineStarts.size()) return;
  std::uint64_t offset = model_.lineStarts[block];
  const std::uint64_t stop = block + 1 < model_.lineStarts.size() ? model_.lineStarts[block + 1] : UINT64_MAX;
  // Lines as the reader keeps them: at most kMaxNcLine bytes each, a final "\r" dropped.
  std::string line;
  bool cut = false;
  std::array<char, 64 * 1024> buffer;
  while (cachedLines_.size() < kLinesPerBlock && offset < stop) {
    const ssize_t n = pread(fd_, buffer.data(), buffer.size(), static_cast<off_t>(offset));
    if (n <= 0) break;
    for (ssize_t k = 0; k < n && cachedLines_.size() < kLinesPerBlock; ++k) {
      const char c = buffer[static_cast<std::size_t>(k)];
      if (c == '\n') {
        if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
        cachedLines_.push_back(QString::fromStdString(Cp932ToUtf8(Showable(line))));
        line.clear();
        cut = false;
      } else if (line.size() < NcLineReader::kMaxNcLine) {
        line.push_back(c);
      } else {
        cut = true;
      }
    }
    offset += static_cast<std::uint64_t>(n);
  }
  if (cachedLines_.size() < kLinesPerBlock && !line.empty())  // the last line, without a line end
    cachedLines_.push_back(QString::fromStdString(Cp932ToUtf8(Showable(line))));
}

QString NcProgramText::LineText(int row) const {
  if (row < 0 || row >= rows_) return QString();
  const std::size_t block = static_cast<std::size_t>(row) / kLinesPerBlock;
  if (block != cachedBlock_) ReadBlock(block);
  const std::size_t at = static_cast<std::size_t>(row) % kLinesPerBlock;
  return at < cachedLines_.size() ? cachedLines_[at] : QString();
}

QVariant NcProgramText::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return QVariant();
  const auto line = static_cast<std::uint32_t>(index.row());
  switch (role) {
    case Qt::DisplayRole: {
      QString text = QStringLiteral("%1  %2").arg(index.row() + 1, 6).arg(LineText(index.row()));
      const std::vector<NcLineFault> faults = FaultsOfLine(model_, line);
      for (std::size_t k = 0; k < faults.size(); ++k)
        text += (k == 0 ? QStringLiteral("　◀ ") : QStringLiteral("、")) +
                QString::fromUtf8(NcLineFaultText(faults[k]));
      return text;
    }
    case Qt::ToolTipRole: {
      QStringList reasons;
      for (NcLineFault f : FaultsOfLine(model_, line))
        reasons << QString::fromUtf8(NcLineFaultText(f));
      return reasons.isEmpty() ? QVariant() : QVariant(reasons.join(QStringLiteral("\n")));
    }
    case Qt::BackgroundRole:
      return FaultsOfLine(model_, line).empty() ? QVariant() : QVariant(QBrush(kFaultBackground));
    case Qt::ForegroundRole:
      return FaultsOfLine(model_, line).empty() ? QVariant() : QVariant(QBrush(kFaultText));
    default:
      return QVariant();
  }
}

}  // namespace talvorin::gui
