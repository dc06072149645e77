#include "gui/companions/DxfOutWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

#include "gui/common/WindowLook.h"
#include "lindrel/EuklidDrawing.h"
#include "quorvex/HoleDrawing.h"
#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

void HoleDrawingPaths(Context& ctx, std::string& source, std::string& drawing) {
  source = ctx.dbPath;
  Reporter silent;  // the export run reports what is missing; the fields just stay empty
  if (ctx.dbPath.empty() || HoleDrawingPath(ctx, silent, drawing) != 0) drawing.clear();
}

void EuklidDrawingPaths(Context& ctx, std::string& source, std::string& drawing) {
  source = ctx.dbPath.empty() ? "" : ReadString(ctx.dbPath, "TALVORIN", "csvfile", 520);
  drawing = ctx.dbPath.empty() ? "" : ReadString(ctx.dbPath, "TALVORIN", "dxffile", 520);
}

QLineEdit* NewPathField(int id, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  NameControl(edit, id, QString());
  edit->setReadOnly(true);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
  return edit;
}

}  // namespace

const CompanionProgram& QuorvexWindowProgram() {
  static const CompanionProgram program{
      QuorvexProgram(), ExportHoleDrawing, "ＣＡＭファイル", HoleDrawingPaths, false, nullptr};
  return program;
}

const CompanionProgram& LindrelWindowProgram() {
  static const CompanionProgram program{
      LindrelProgram(), ExportEuklidDrawing, "CSV ファイル", EuklidDrawingPaths, true, WantsConsole};
  return program;
}

DxfOutWindow::DxfOutWindow(Context& ctx, QtReporter& reporter, const CompanionProgram& program,
                           ScreenRunner runner)
    : ctx_(ctx), reporter_(reporter), program_(program), runner_(std::move(runner)) {
  setObjectName(QStringLiteral("DXFOUTDIALOG"));
  setWindowTitle(QString::fromUtf8(program_.identity.caption));
  setAcceptDrops(true);
  BuildControls();
  BuildMenu();
}

void DxfOutWindow::BuildControls() {
  auto* central = new QWidget(this);
  source_ = NewPathField(1010, central);
  drawing_ = NewPathField(1011, central);
  auto* fields = new QGridLayout;
  fields->addWidget(CaptionFor(source_, QString::fromUtf8(program_.sourceCaption), central), 0, 0);
  fields->addWidget(source_, 0, 1);
  fields->addWidget(CaptionFor(drawing_, QStringLiteral("図面ファイル"), central), 1, 0);
  fields->addWidget(drawing_, 1, 1);

  list_ = new QTableView(central);
  NameControl(list_, 1000, QStringLiteral("メッセージ"));
  list_->setMinimumHeight((list_->fontMetrics().height() + 2) * 12);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(fields);
  layout->addWidget(list_, 1);
  setCentralWidget(central);
}

void DxfOutWindow::BuildMenu() {
  auto* bar = new QMenuBar(this);
  bar->setObjectName(QStringLiteral("PROGMENU"));
  std::map<std::string, QMenu*> menus;
  for (const CompanionCommand& command : CompanionCommands(program_)) {
    if (command.menu[0] == '\0') continue;
    QMenu*& menu = menus[command.menu];
    if (!menu) menu = bar->addMenu(QString::fromUtf8(command.menu));
    const int id = command.id;
    QAction* action = menu->addAction(QString::fromUtf8(command.caption));
    action->setObjectName(QString::number(id));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  }
  setMenuBar(bar);
}

void DxfOutWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  const Timestamp now = ctx_.platform.LocalTime();
  const std::string texts[2] = {Sprintf("%d年 %d月 %d日 (%s) %d時 %d分", now.year, now.month, now.day,
                                        DayName(now.dayOfWeek).c_str(), now.hour, now.minute),
                                VersionLine(ctx_.inst.buildNumber)};
  for (std::size_t i = 0; i < 2; ++i) {
    auto* part = new QLabel(ToQt(texts[i]), bar);
    part->setObjectName(QStringLiteral("status%1").arg(i + 1));
    part->setFrameShape(QFrame::Panel);
    part->setFrameShadow(QFrame::Sunken);
    bar->addWidget(part, i == 1 ? 1 : 0);
  }
}

void DxfOutWindow::Create() {
  setWindowIcon(ProgramIcon());
  ApplyColours(ctx_.inst, this);
  BuildStatusBar();
  layout()->activate();
  resize(sizeHint().expandedTo(minimumSizeHint()));
  PlaceOnScreen(ctx_.inst, this);
  // The start-up lines set the list's longest-line record before the list takes its first width.
  WriteDrawingProgramBanner(ctx_, program_.identity);
  reporter_.Bind(list_);
  ShowPaths();
}

void DxfOutWindow::ShowPaths() {
  std::string source, drawing;
  program_.paths(ctx_, source, drawing);
  source_->setText(ToQt(source));
  drawing_->setText(ToQt(drawing));
}

int DxfOutWindow::ExportDrawing() {
  ShowPaths();
  const int result = program_.exportRun(ctx_, ReadElementColor(ctx_.inst.iniPath));
  ShowPaths();
  return result;
}

void DxfOutWindow::ExportFiles(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    ctx_.dbPath = file;
    RunCommand(40020);
  }
}

bool DxfOutWindow::RunCommand(int id) {
  for (const CompanionCommand& command : CompanionCommands(program_)) {
    if (command.id != id) continue;
    command.run(*this);
    return true;
  }
  return false;
}

void DxfOutWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void DxfOutWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.push_back(ToStd(url.toLocalFile()));
  event->acceptProposedAction();
  // After the drop has ended: an error box of a run must not hold the drag source waiting.
  QMetaObject::invokeMethod(
      this, [this, files] { ExportFiles(files); }, Qt::QueuedConnection);
}

}  // namespace talvorin::gui
