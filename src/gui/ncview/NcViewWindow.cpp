#include "gui/ncview/NcViewWindow.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <chrono>

#include "gui/common/Binding.h"
#include "store/Numbers.h"

namespace talvorin::gui {
namespace {

constexpr std::uint64_t kPartBytes = 1 << 20;  // a part of the picture about every megabyte read
constexpr int kRefreshMs = 250;                // the picture follows the reading this often
constexpr int kPendingParts = 4;               // parts on their way to the window at most

QWidget* Captioned(const QString& caption, QWidget* view, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* label = new QLabel(caption, box);
  layout->addWidget(label);
  layout->addWidget(view, 1);
  return box;
}

QString Clock(double minutes, double factor) {
  const ClockTime t = ToClockTime(minutes, factor);
  return QString::fromStdString(Sprintf("%lld:%02lld:%02lld", t.hours, t.minutes, t.seconds));
}

QIcon Swatch(const QColor& colour, bool dashed) {
  QPixmap pixmap(24, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QPen(colour, 2, dashed ? Qt::DashLine : Qt::SolidLine));
  p.drawLine(1, 6, 23, 6);
  return QIcon(pixmap);
}

}  // namespace

NcViewWindow::NcViewWindow(const std::string& path, const NcViewSettings& settings, QWidget* parent)
    : QMainWindow(parent), path_(path), settings_(settings) {
  setObjectName(QStringLiteral("NCVIEWWINDOW"));
  setWindowTitle(
      QStringLiteral("ＮＣデータ描画 - %1").arg(QFileInfo(QString::fromStdString(path)).fileName()));
  model_.start = settings.start;
  model_.rates = settings.rates;

  text_ = new NcProgramText(model_, this);
  list_ = new QListView(this);
  list_->setObjectName(QStringLiteral("program"));
  list_->setAccessibleName(QStringLiteral("ＮＣデータ"));
  list_->setModel(text_);
  list_->setUniformItemSizes(true);
  list_->setFont(QFont(QStringLiteral("Noto Sans Mono CJK JP")));

  plan_ = new ToolpathWidget(model_, ViewPlane::kPlan, this);
  plan_->setObjectName(QStringLiteral("plan"));
  side_ = new ToolpathWidget(model_, ViewPlane::kSide, this);
  side_->setObjectName(QStringLiteral("side"));
  if (settings.hasBox) {
    plan_->SetMaterialBox(settings.box);
    side_->SetMaterialBox(settings.box);
  }
  legend_ = new QListWidget(this);
  legend_->setObjectName(QStringLiteral("legend"));
  legend_->setAccessibleName(QStringLiteral("工具"));
  legend_->setFlow(QListView::LeftToRight);
  legend_->setWrapping(true);
  legend_->setMaximumHeight(legend_->fontMetrics().height() * 2 + 14);

  auto* views = new QSplitter(Qt::Vertical, this);
  views->addWidget(Captioned(QStringLiteral("平面図 (X-Y)"), plan_, views));
  views->addWidget(Captioned(QStringLiteral("側面図 (X-Z)"), side_, views));
  views->setStretchFactor(0, 3);
  views->setStretchFactor(1, 2);
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(views, 1);
  rightLayout->addWidget(Captioned(QStringLiteral("工具（実線：切削、破線：早送り）"), legend_, right));
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(Captioned(QStringLiteral("ＮＣデータ"), list_, split));
  split->addWidget(right);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 2);
  split->setSizes({400, 880});
  setCentralWidget(split);

  auto* bar = addToolBar(QStringLiteral("表示"));
  bar->setObjectName(QStringLiteral("toolbar"));
  bar->setMovable(false);
  struct Command {
    const char* name;
    QString caption;
    std::function<void()> run;
  };
  const Command commands[] = {
      {"fit", QStringLiteral("全体表示"), [this] { plan_->ZoomToFit(), side_->ZoomToFit(); }},
      {"zoomin", QStringLiteral("拡大"), [this] { plan_->ZoomBy(1.5), side_->ZoomBy(1.5); }},
      {"zoomout", QStringLiteral("縮小"), [this] { plan_->ZoomBy(1 / 1.5), side_->ZoomBy(1 / 1.5); }},
      {"reload", QStringLiteral("再読み込み"), [this] { StartLoading(); }},
  };
  for (const Command& c : commands) {
    QAction* action = bar->addAction(c.caption);
    action->setObjectName(QString::fromLatin1(c.name));
    connect(action, &QAction::triggered, this, c.run);
  }

  times_ = new QLabel(this);
  times_->setObjectName(QStringLiteral("times"));
  project_ = new QLabel(this);
  project_->setObjectName(QStringLiteral("project"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 1000);
  progress_->setMaximumWidth(240);
  statusBar()->addWidget(times_, 1);
  statusBar()->addPermanentWidget(project_);
  statusBar()->addPermanentWidget(progress_);
  project_->setText(settings.dbPath.empty()
                        ? QStringLiteral("プロジェクトなし（開始点は NC テーブルの値）")
                        : QStringLiteral("プロジェクト %1")
                              .arg(QFileInfo(QString::fromStdString(settings.dbPath)).completeBaseName()));

  connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            plan_->HighlightLine(current.row());
            side_->HighlightLine(current.row());
          });
  connect(plan_, &ToolpathWidget::LineClicked, this, &NcViewWindow::ShowLine);
  connect(side_, &ToolpathWidget::LineClicked, this, &NcViewWindow::ShowLine);
  refresh_.setSingleShot(true);
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &NcViewWindow::Refresh);
  resize(1280, 760);
}

NcViewWindow::~NcViewWindow() {
  StopLoading();
}

void NcViewWindow::StopLoading() {
  if (stop_) stop_->store(true);
  if (worker_.joinable()) worker_.join();
}

void NcViewWindow::StartLoading() {
  StopLoading();
  ++generation_;
  model_ = ToolpathModel();
  model_.start = settings_.start;
  model_.rates = settings_.rates;
  loaded_ = false;
  loadError_.clear();
  text_->Open(path_);
  Refresh();
  progress_->setValue(0);
  progress_->show();
  times_->setText(QStringLiteral("読み込み中…"));

  stop_ = std::make_shared<std::atomic<bool>>(false);
  auto stop = stop_;
  auto pending = std::make_shared<std::atomic<int>>(0);  // parts sent and not yet taken
  const std::uint64_t generation = generation_;
  const std::string path = path_;
  const NcViewSettings settings = settings_;
  // Each part goes to the window through its event queue; the window drops the parts of a reading it
  // has stopped.
  worker_ = std::thread([this, stop, pending, generation, path, settings] {
    // The reading yields to the window's thread when the processors are busy.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
    auto sink = [&](ToolpathModel&& part, std::uint64_t done, std::uint64_t total) {
      // The reading waits while the window has parts to take: memory holds the model, not a queue.
      while (pending->load() >= kPendingParts && !stop->load())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      auto shared = std::make_shared<ToolpathModel>(std::move(part));
      ++*pending;
      QMetaObject::invokeMethod(
          this,
          [this, shared, pending, done, total, generation] {
            --*pending;
            if (generation == generation_) AddPart(*shared, done, total);
          },
          Qt::QueuedConnection);
      return !stop->load();
    };
    std::string error;
    const int result = ReadToolpathFile(path, settings.start, settings.rates, kPartBytes, sink, error);
    const QString text = QString::fromStdString(error);
    QMetaObject::invokeMethod(
        this,
        [this, result, text, generation] {
          if (generation == generation_) LoadFinished(result, text);
        },
        Qt::QueuedConnection);
  });
}

void NcViewWindow::AddPart(ToolpathModel& part, std::uint64_t done, std::uint64_t total) {
  const bool first = model_.lineCount == 0;
  AppendToolpath(model_, std::move(part));
  progress_->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
  // The first part at once (the first picture), then at most every kRefreshMs.
  if (first)
    Refresh();
  else if (!refresh_.isActive())
    refresh_.start();
}

void NcViewWindow::LoadFinished(int result, const QString& error) {
  refresh_.stop();
  loaded_ = result == 0;
  loadError_ = error;
  progress_->hide();
  Refresh();
  if (result < 0) {
    times_->setText(error);
    if (showError) showError(error);
    return;
  }
  UpdateTimes();
}

void NcViewWindow::Refresh() {
  text_->LinesChanged();
  plan_->ModelChanged();
  side_->ModelChanged();
  UpdateLegend();
}

void NcViewWindow::ShowLine(qint64 line) {
  if (line < 0 || line >= text_->rowCount()) return;
  const QModelIndex index = text_->index(static_cast<int>(line));
  list_->setCurrentIndex(index);
  list_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void NcViewWindow::UpdateLegend() {
  // Slot 0 (before the first tool change) only when something was drawn with it.
  bool noTool = false;
  for (std::size_t k = 0; k < model_.moves.size() && model_.moves[k].tool == 0 && !noTool; ++k)
    noTool = model_.moves[k].kind != MoveKind::kJump;
  const int entries = static_cast<int>(model_.tools.size()) - (noTool ? 0 : 1);
  if (legend_->count() == entries) return;
  legend_->clear();
  for (std::size_t slot = noTool ? 0 : 1; slot < model_.tools.size(); ++slot) {
    const ToolColour c = ToolSlotColour(slot);
    const QColor colour(c.red, c.green, c.blue);
    const QString name =
        slot == 0 ? QStringLiteral("工具なし") : QString::fromStdString(Sprintf("T%02d", model_.tools[slot]));
    auto* item = new QListWidgetItem(Swatch(colour, false), name, legend_);
    item->setData(Qt::UserRole, colour);
  }
}

void NcViewWindow::UpdateTimes() {
  const ToolpathTimes t = TimesOf(model_);
  const double lag = model_.rates.timeLag;
  QString text =
      QStringLiteral("早送時間 %1　切削時間 %2　工具時間 %3　加工時間 %4　早送距離 %5　切削距離 %6")
          .arg(Clock(t.rapid, lag), Clock(t.cutting, lag), Clock(t.tool, lag), Clock(t.total, lag),
               QString::fromStdString(Sprintf("%.3f", model_.totals.rapidDistance)),
               QString::fromStdString(Sprintf("%.3f", model_.totals.cuttingDistance)));
  if (!model_.faults.empty()) {
    std::uint32_t lines = 0, last = UINT32_MAX;
    for (const LineFault& f : model_.faults)
      if (f.line != last) ++lines, last = f.line;
    text += QStringLiteral("　エラー行 %1").arg(lines);
  }
  times_->setText(text);
}

}  // namespace talvorin::gui
