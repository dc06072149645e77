// The process screen "NCPROCESSINGDLG": thirty process rows under fourteen headings in a vertically
// scrolled area, the menu "ファイル" and the command bar. Rows 1 to 15 are the processes that are
// saved, read and made into the NC program; the T field of those rows checks and spreads the tool
// number when it is left.
#include "gui/talvorin/ProcessDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "outputs/Jobs.h"
#include "outputs/Outputs.h"

namespace talvorin::gui {
namespace {

// Width of each column in average characters ('0'), and the CP932 bytes a field takes. The name
// column is a list of up to 31-byte names.
struct Column {
  int chars;
  int bytes;
};
constexpr std::array<Column, kProcessColumns> kColumns = {{
    {16, 31},  // 工具名
    {6, 15},   // 径
    {3, 15},   // T
    {3, 15},   // H
    {3, 15},   // D
    {6, 15},   // S
    {6, 15},   // F
    {3, 15},   // G
    {5, 15},   // R
    {8, 15},   // Z
    {6, 15},   // Q
    {6, 15},   // OFF
    {3, 15},   // 定義
}};
constexpr int kRowCaptionChars = 5;  // "[01]"
constexpr int kVisibleRows = 16;     // rows shown at once; the rest by scrolling

// A process name is chosen from the list only; Delete or Backspace takes it away, so the row is left
// out when saving.
class NameListKeys : public QObject {
 public:
  NameListKeys(QObject* parent, UnsavedChanges*& changes) : QObject(parent), changes_(changes) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Delete && key != Qt::Key_Backspace) return false;
    auto* list = static_cast<QComboBox*>(watched);
    if (list->currentIndex() != -1) changes_->Changed();
    list->setCurrentIndex(-1);
    return true;
  }

 private:
  UnsavedChanges*& changes_;  // the screen's, made after its rows
};

// The list of a row: its entries and the shown name. A stored name that the tool list no longer holds
// is kept as an extra entry, so reading and saving again never drops the process.
void ShowName(QComboBox* list, const std::vector<std::string>& entries, const std::string& name) {
  std::vector<std::string> shown = entries;
  if (!name.empty() && std::find(shown.begin(), shown.end(), name) == shown.end()) shown.push_back(name);
  bool same = list->count() == static_cast<int>(shown.size());
  for (int i = 0; same && i < list->count(); ++i)
    same = list->itemText(i) == ToQt(shown[static_cast<std::size_t>(i)]);
  if (!same) {
    list->clear();
    for (const std::string& entry : shown)
      list->addItem(ToQt(entry));
  }
  list->setCurrentIndex(name.empty() ? -1 : list->findText(ToQt(name), Qt::MatchExactly));
}

class ProcessScreen : public QDialog {
 public:
  ProcessScreen(Context& ctx, ProcessForm& form, QWidget* mainWindow)
      : QDialog(mainWindow), ctx_(ctx), form_(form) {
    setObjectName(QStringLiteral("NCPROCESSINGDLG"));
    setWindowTitle(QStringLiteral("加工工程作成"));
    Build();
    ApplyColours(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    WidgetsFromForm();
  }

  void reject() override {
    if (changes_->MayClose()) QDialog::reject();
  }

 private:
  QWidget* BuildRows() {
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setHorizontalSpacing(4);
    grid->setContentsMargins(0, 0, 0, 0);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // Created row by row, left to right, so Tab runs in reading order.
    for (int r = 1; r <= kProcessRows; ++r) {
      const QString caption = QStringLiteral("[%1]").arg(r, 2, 10, QLatin1Char('0'));
      auto* label = new QLabel(caption, rows);
      label->setFixedWidth(digit * kRowCaptionChars);
      grid->addWidget(label, r, 0);
      auto& fields = fields_[static_cast<std::size_t>(r - 1)];
      for (int c = 0; c < kProcessColumns; ++c) {
        const Column& column = kColumns[static_cast<std::size_t>(c)];
        const QString name = caption + QLatin1Char(' ') +
                             QString::fromUtf8(kProcessHeadings[static_cast<std::size_t>(c)].data());
        QWidget* field = nullptr;
        if (c == kProcName) {
          auto* list = new QComboBox(rows);
          list->installEventFilter(new NameListKeys(list, changes_));
          names_[static_cast<std::size_t>(r - 1)] = list;
          field = list;
        } else {
          auto* edit = new QLineEdit(rows);
          edit->setValidator(new FieldLimitValidator(column.bytes, false, edit));
          fields[static_cast<std::size_t>(c)] = edit;
          field = edit;
        }
        NameControl(field, ProcessFieldId(r, c), name);
        field->setFixedWidth(digit * column.chars + 12);
        grid->addWidget(field, r, c + 1);
      }
      label->setBuddy(names_[static_cast<std::size_t>(r - 1)]);
      if (r <= kStoredProcesses) OnFocusOut(fields[kProcT], [this, r] { CheckTool(r); });
    }
    grid->setColumnStretch(kProcessColumns + 1, 1);
    grid->setRowStretch(kProcessRows + 1, 1);
    return rows;
  }

  QWidget* BuildHeadings() {
    auto* headings = new QWidget(this);
    auto* grid = new QGridLayout(headings);
    grid->setHorizontalSpacing(4);
    grid->setContentsMargins(0, 0, 0, 0);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    auto* first = new QLabel(QStringLiteral("工程"), headings);
    first->setFixedWidth(digit * kRowCaptionChars);
    grid->addWidget(first, 0, 0);
    for (int c = 0; c < kProcessColumns; ++c) {
      auto* heading =
          new QLabel(QString::fromUtf8(kProcessHeadings[static_cast<std::size_t>(c)].data()), headings);
      heading->setFixedWidth(digit * kColumns[static_cast<std::size_t>(c)].chars + 12);
      heading->setAlignment(Qt::AlignCenter);
      grid->addWidget(heading, 0, c + 1);
    }
    grid->setColumnStretch(kProcessColumns + 1, 1);
    return headings;
  }

  void Build() {
    auto* layout = new QVBoxLayout(this);
    BuildMenu(layout);
    layout->addWidget(BuildHeadings());
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PROCESSROWS"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The keyboard goes to the rows, never to the area around them: the screen opens in row 1.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(BuildRows());
    layout->addWidget(scroll_, 1);
    // Wide enough for every column and the scroll bar; tall enough for sixteen rows.
    QWidget* rows = scroll_->widget();
    const int rowHeight = rows->sizeHint().height() / kProcessRows;
    scroll_->setMinimumWidth(rows->sizeHint().width() + scroll_->verticalScrollBar()->sizeHint().width());
    scroll_->setMinimumHeight(rowHeight * kVisibleRows);
    scroll_->verticalScrollBar()->setSingleStep(rowHeight);
  }

  // The menu "ファイル" and the command bar; every command also has a key.
  void BuildMenu(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("NCPROCESSINGMENU"));
    bar->setNativeMenuBar(false);
    struct Item {
      int id;
      const char* caption;
      QKeySequence key;
      void (ProcessScreen::*run)();
    };
    const Item fileItems[] = {
        {kCmdOpenNcFile, "NCファイルを開く", QKeySequence(Qt::CTRL | Qt::Key_O), &ProcessScreen::OpenFile},
        {kCmdInitProcesses, "工程初期化", QKeySequence(Qt::CTRL | Qt::Key_I), &ProcessScreen::Initialise},
        {kCmdReadProcesses, "工程読込", QKeySequence(Qt::CTRL | Qt::Key_L), &ProcessScreen::Read},
        {kCmdCloseProcesses, "工程終了", QKeySequence(), &ProcessScreen::Close},
    };
    const Item barItems[] = {
        {kCmdSaveProcesses, "【工程保存】", QKeySequence(Qt::CTRL | Qt::Key_S), &ProcessScreen::Save},
        {kCmdCreateNcData, "【NCデータ作成】", QKeySequence(Qt::CTRL | Qt::Key_M), &ProcessScreen::CreateNc},
        {kCmdTransferNcData, "【NCデータ転送】", QKeySequence(Qt::CTRL | Qt::Key_T),
         &ProcessScreen::Transfer},
        {kCmdRerunTrycut, "【TRYCUT再実行】", QKeySequence(Qt::CTRL | Qt::Key_R), &ProcessScreen::Trycut},
        {kCmdShowDrawing, "【図面表示】", QKeySequence(Qt::CTRL | Qt::Key_D), &ProcessScreen::Drawing},
        {kCmdDrawNcData, "【NCデータ描画】", QKeySequence(Qt::CTRL | Qt::Key_G), &ProcessScreen::NcViewer},
        {kCmdCloseProcesses, "【工程終了】", QKeySequence(Qt::CTRL | Qt::Key_Q), &ProcessScreen::Close},
    };
    QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
    auto add = [this](QWidget* where, const Item& item) {
      auto* action = new QAction(QString::fromUtf8(item.caption), where);
      action->setObjectName(QString::number(item.id));
      action->setData(item.id);
      if (!item.key.isEmpty()) {
        action->setShortcut(item.key);
        action->setShortcutContext(Qt::WindowShortcut);
      }
      connect(action, &QAction::triggered, this, item.run);
      where->addAction(action);
    };
    for (const Item& item : fileItems)
      add(file, item);
    for (const Item& item : barItems)
      add(bar, item);
    // F10 opens the menu "ファイル" from the keyboard.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [bar, file] { bar->setActiveAction(file->menuAction()); });
    addAction(menuKey);
    layout->setMenuBar(bar);
  }

  // --- Commands ---

  void Read() {
    FormFromWidgets();
    if (ReadNcProcess(ctx_, form_) == 0) changes_->Saved();
    WidgetsFromForm();
  }
  void Save() {
    FormFromWidgets();
    int skipped = 0;
    // What was saved is no longer a change; a row kept out for an empty field still is.
    if (SaveNcProcess(ctx_, form_, skipped) == 0 && skipped == 0) changes_->Saved();
    WidgetsFromForm();
  }
  void CreateNc() {
    FormFromWidgets();
    // Creation mode saves the rows first, NC-creation mode reads the stored ones.
    if (CreateNcData(ctx_, form_, CreateNcProgramWithFollowUps) == 0) changes_->Saved();
    WidgetsFromForm();
  }
  void Initialise() {
    FormFromWidgets();
    InitNcProcess(ctx_, form_);
    changes_->Saved();
    WidgetsFromForm();
  }
  void OpenFile() { OpenNcFile(ctx_); }
  void Transfer() { TransferNcFile(ctx_); }
  void Trycut() { RerunTrycut(ctx_); }
  void Drawing() { ShowHoleDrawing(ctx_); }
  void NcViewer() { ShowNcData(ctx_); }
  void Close() { reject(); }

  void CheckTool(int row) {
    FormFromWidgets();
    CheckToolNumber(ctx_, form_, row);
    WidgetsFromForm();
  }

  // --- Form and widgets ---

  void FormFromWidgets() {
    for (std::size_t r = 0; r < form_.rows.size(); ++r) {
      auto& fields = form_.rows[r].fields;
      fields[kProcName] = ToStd(names_[r]->currentText());
      for (std::size_t c = 1; c < fields.size(); ++c)
        fields[c] = ToStd(fields_[r][c]->text());
    }
  }

  void WidgetsFromForm() {
    for (std::size_t r = 0; r < form_.rows.size(); ++r) {
      const ProcessRow& row = form_.rows[r];
      ShowName(names_[r], row.names, row.fields[kProcName]);
      for (std::size_t c = 1; c < row.fields.size(); ++c) {
        const QString text = ToQt(row.fields[c]);
        // Unchanged fields keep their cursor and selection (the field the focus went to included).
        if (fields_[r][c]->text() != text) fields_[r][c]->setText(text);
      }
    }
  }

  Context& ctx_;
  ProcessForm& form_;
  UnsavedChanges* changes_ = nullptr;
  std::array<QComboBox*, kProcessRows> names_{};
  std::array<std::array<QLineEdit*, kProcessColumns>, kProcessRows> fields_{};  // [0] unused: the list
  QScrollArea* scroll_ = nullptr;
};

}  // namespace

QDialog* MakeProcessScreen(Context& ctx, ProcessForm& form, QWidget* mainWindow) {
  return new ProcessScreen(ctx, form, mainWindow);
}

}  // namespace talvorin::gui
