#include "gui/talvorin/MainWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <map>

#include "gui/common/WindowLook.h"
#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

constexpr const char* kCaption = "二次元ＮＣ加工システム / ブレンホルト";
constexpr const char* kStatusNotice = "穴・溝加工 二次元ＣＡＭ";

QLineEdit* NewEdit(int id, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  NameControl(edit, id, QString());
  return edit;
}

QComboBox* NewCombo(int id, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  NameControl(combo, id, QString());
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setValidator(new UpperCaseValidator(combo));
  combo->setMinimumContentsLength(10);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

}  // namespace

MainWindow::MainWindow(Context& ctx, QtReporter& reporter, ScreenRunner runner)
    : ctx_(ctx), reporter_(reporter), runner_(std::move(runner)) {
  setObjectName(QStringLiteral("TALVORINMAINDLG"));
  setWindowTitle(QString::fromUtf8(kCaption));
  BuildControls();
  BuildMenu();
}

void MainWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* fields = new QGridLayout;
  project_ = NewEdit(1100, central);
  project_->setValidator(new UpperCaseValidator(project_));
  product_ = NewEdit(1101, central);
  product_->setValidator(new UpperCaseValidator(product_));
  fields->addWidget(CaptionFor(project_, QStringLiteral("プロジェクト名"), central), 0, 0);
  fields->addWidget(project_, 0, 1, 1, 7);
  fields->addWidget(CaptionFor(product_, QStringLiteral("商品名／加工物"), central), 1, 0);
  fields->addWidget(product_, 1, 1, 1, 7);

  // Material block: one caption, three fields named with their axis.
  auto* sizes = new QHBoxLayout;
  const char* axes[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    QLineEdit* edit = NewEdit(1110 + i, central);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 16);
    QLabel* axis = CaptionFor(edit, QString::fromUtf8(axes[i]), central);
    edit->setAccessibleName(QStringLiteral("材料寸法 %1").arg(QString::fromUtf8(axes[i])));
    sizes->addWidget(axis);
    sizes->addWidget(edit);
    size_[static_cast<std::size_t>(i)] = edit;
  }
  fields->addWidget(new QLabel(QStringLiteral("材料寸法"), central), 2, 0);
  fields->addLayout(sizes, 2, 1, 1, 3);
  material_ = NewCombo(1113, central);
  fields->addWidget(CaptionFor(material_, QStringLiteral("材 質"), central), 2, 4);
  fields->addWidget(material_, 2, 5, 1, 3);

  origin_ = NewCombo(1120, central);
  controller_ = NewCombo(1121, central);
  coordinates_ = NewCombo(1122, central);
  programNumber_ = NewEdit(1123, central);
  programNumber_->setValidator(DigitsOnlyValidator(programNumber_));
  programNumber_->setMaximumWidth(programNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                                  16);
  fields->addWidget(CaptionFor(origin_, QStringLiteral("加工原点"), central), 3, 0);
  fields->addWidget(origin_, 3, 1);
  fields->addWidget(CaptionFor(controller_, QStringLiteral("制御装置"), central), 3, 2);
  fields->addWidget(controller_, 3, 3);
  fields->addWidget(CaptionFor(coordinates_, QStringLiteral("座標系"), central), 3, 4);
  fields->addWidget(coordinates_, 3, 5);
  fields->addWidget(CaptionFor(programNumber_, QStringLiteral("Ｏ番号"), central), 3, 6);
  fields->addWidget(programNumber_, 3, 7);
  // A confirmed choice of controller refills the coordinate systems.
  connect(controller_, &QComboBox::activated, this, [this] { RunCommand(1121); });

  // The six hole-group buttons in two rows of three: a loaded group shows its command text.
  auto* buttons = new QGridLayout;
  for (int n = 1; n <= 6; ++n) {
    auto* button = new QPushButton(QStringLiteral("[%1]").arg(n, 2, 10, QLatin1Char('0')), central);
    NameControl(button, 2000 + n, QString());
    const int id = 2000 + n;
    connect(button, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
    buttons->addWidget(button, (n - 1) / 3, (n - 1) % 3);
    groups_[static_cast<std::size_t>(n - 1)] = button;
  }

  list_ = new QTableView(central);
  NameControl(list_, 1000, QStringLiteral("メッセージ"));
  list_->setMinimumHeight((list_->fontMetrics().height() + 2) * 14);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(list_, 1);
  setCentralWidget(central);
}

namespace {

// Keys of the everyday commands, the same letters as on the working screens (Ctrl+S saves, Ctrl+M makes
// the NC program, Ctrl+Q ends).
QKeySequence CommandKey(int id) {
  switch (id) {
    case 40001:
      return QKeySequence(Qt::CTRL | Qt::Key_L);
    case 40002:
      return QKeySequence(Qt::CTRL | Qt::Key_S);
    case 40055:
      return QKeySequence(Qt::CTRL | Qt::Key_O);
    case 40009:
      return QKeySequence(Qt::CTRL | Qt::Key_Q);
    case 40023:
      return QKeySequence(Qt::CTRL | Qt::Key_P);
    case 40052:
      return QKeySequence(Qt::CTRL | Qt::Key_M);
    case 40053:
      return QKeySequence(Qt::CTRL | Qt::Key_T);
    case 40054:
      return QKeySequence(Qt::CTRL | Qt::Key_R);
    case 40022:
      return QKeySequence(Qt::CTRL | Qt::Key_D);
    case 40024:
      return QKeySequence(Qt::CTRL | Qt::Key_G);
    case 40090:
      return QKeySequence(Qt::Key_F1);
    default:
      return QKeySequence();
  }
}

}  // namespace

void MainWindow::BuildMenu() {
  auto* bar = new QMenuBar(this);
  bar->setObjectName(QStringLiteral("MAINPROGMENU"));
  std::map<std::string, QMenu*> menus;
  std::vector<QAction*> barItems;
  for (const MainCommand& command : MainCommands()) {
    if (command.menu[0] == '\0') continue;
    // "ファイル/閉じる": a submenu under its top menu.
    const std::string path = command.menu;
    QMenu*& menu = menus[path];
    if (!menu) {
      const std::size_t slash = path.find('/');
      if (slash == std::string::npos) {
        menu = bar->addMenu(ToQt(path));
      } else {
        QMenu*& top = menus[path.substr(0, slash)];
        if (!top) top = bar->addMenu(ToQt(path.substr(0, slash)));
        menu = top->addMenu(ToQt(path.substr(slash + 1)));
      }
    }
    const int id = command.id;
    QAction* action = menu->addAction(QString::fromUtf8(command.caption));
    action->setObjectName(QString::number(id));
    action->setData(id);
    action->setShortcut(CommandKey(id));
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    if (command.barCaption[0] != '\0') {
      auto* item = new QAction(QString::fromUtf8(command.barCaption), bar);
      item->setObjectName(QString::number(id));
      item->setData(id);
      connect(item, &QAction::triggered, this, [this, id] { RunCommand(id); });
      barItems.push_back(item);
    }
  }
  // The bar's right part repeats the everyday commands with bracketed captions.
  for (QAction* item : barItems)
    bar->addAction(item);
  setMenuBar(bar);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  const Timestamp now = ctx_.platform.LocalTime();
  const std::string texts[3] = {Sprintf("%d年 %d月 %d日 (%s) %d時 %d分", now.year, now.month, now.day,
                                        DayName(now.dayOfWeek).c_str(), now.hour, now.minute),
                                VersionLine(ctx_.inst.buildNumber), kStatusNotice};
  for (std::size_t i = 0; i < 3; ++i) {
    auto* part = new QLabel(ToQt(texts[i]), bar);
    part->setObjectName(QStringLiteral("status%1").arg(i + 1));
    part->setFrameShape(QFrame::Panel);
    part->setFrameShadow(QFrame::Sunken);
    bar->addWidget(part, i == 2 ? 1 : 0);
    status_[i] = part;
  }
  LayOutStatusBar();
}

void MainWindow::LayOutStatusBar() {
  if (!status_[0]) return;
  // Right edges at 23 % and 53 % of the window width, each truncated to whole pixels; the third part
  // takes the rest.
  const int width = this->width();
  const int first = width * 23 / 100;
  const int second = width * 53 / 100;
  status_[0]->setFixedWidth(first);
  status_[1]->setFixedWidth(second - first);
  status_[2]->setMinimumWidth(0);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  LayOutStatusBar();
}

bool MainWindow::Create() {
  setWindowIcon(ProgramIcon());
  ApplyColours(ctx_.inst, this);
  // The dialog's 350 x 170 units in the window's font, or what the controls need when that is more.
  const QFontMetrics metrics(font());
  const QSize units(350 * metrics.averageCharWidth() / 4, 170 * metrics.height() / 8);
  // Wide enough for the whole menu bar on one line and the status bar's texts.
  const QSize needed(menuBar()->sizeHint().width() + 16, 0);
  layout()->activate();
  resize(units.expandedTo(sizeHint()).expandedTo(minimumSizeHint()).expandedTo(needed));
  PlaceOnScreen(ctx_.inst, this);
  BuildStatusBar();
  reporter_.Bind(list_);
  FillMachineChoices(ctx_, form_);
  WidgetsFromForm();
  WriteStartBanner(ctx_);
  CreateFolders(ctx_);
  if (SetNcTableFile(ctx_.inst, ctx_.reporter, ctx_.inst.ncTableFile) != 0) return false;
  return true;
}

void MainWindow::FormFromWidgets() {
  form_.projectName = ToStd(project_->text());
  form_.product = ToStd(product_->text());
  form_.sizeX = ToStd(size_[0]->text());
  form_.sizeY = ToStd(size_[1]->text());
  form_.sizeZ = ToStd(size_[2]->text());
  form_.material = ToStd(material_->currentText());
  form_.origin = ToStd(origin_->currentText());
  form_.controller = ToStd(controller_->currentText());
  form_.coordinateSystem = ToStd(coordinates_->currentText());
  form_.programNumber = ToStd(programNumber_->text());
}

void MainWindow::WidgetsFromForm() {
  project_->setText(ToQt(form_.projectName));
  product_->setText(ToQt(form_.product));
  size_[0]->setText(ToQt(form_.sizeX));
  size_[1]->setText(ToQt(form_.sizeY));
  size_[2]->setText(ToQt(form_.sizeZ));
  FillCombo(material_, form_.materials, form_.material);
  FillCombo(origin_, form_.origins, form_.origin);
  FillCombo(controller_, form_.controllers, form_.controller);
  FillCombo(coordinates_, form_.coordinateSystems, form_.coordinateSystem);
  programNumber_->setText(ToQt(form_.programNumber));
  for (std::size_t i = 0; i < 6; ++i)
    if (!form_.groupCaptions[i].empty()) groups_[i]->setText(ToQt(form_.groupCaptions[i]));
  if (!form_.title.empty()) setWindowTitle(ToQt(form_.title));
}

bool MainWindow::RunCommand(int id) {
  for (const MainCommand& command : MainCommands()) {
    if (command.id != id) continue;
    // One command is one operation: each profile file is checked against the disk once.
    ProfileOperation operation;
    command.run(*this);
    return true;
  }
  return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The day's log from the message list, once; started programs keep running.
  if (!logWritten_) {
    logWritten_ = true;
    WriteLogFile(ctx_);
  }
  event->accept();
}

}  // namespace talvorin::gui
