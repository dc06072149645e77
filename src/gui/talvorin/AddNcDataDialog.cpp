// The start and end lines screen "SETTINGADDNCDATADLG": the NC lines every program gets after its
// number or at its end, per controller.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "project/Settings.h"

namespace talvorin::gui {
namespace {

class AddNcDataScreen : public QDialog {
 public:
  AddNcDataScreen(Context& ctx, QWidget* mainWindow) : QDialog(mainWindow), ctx_(ctx) {
    setObjectName(QStringLiteral("SETTINGADDNCDATADLG"));
    setWindowTitle(QStringLiteral("ＮＣデータの冒頭・末尾追加"));
    Build();
    ApplyColours(ctx_.inst, this);
    OpenAddLines(ctx_, form_);
    WidgetsFromForm();
    // Closing empties entry, controller list and line list.
    connect(this, &QDialog::finished, this, [this] {
      CloseAddLines(form_);
      WidgetsFromForm();
    });
  }

 private:
  QPushButton* NewButton(int id, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    NameControl(button, id, caption);
    button->setAutoDefault(false);
    return button;
  }

  void Build() {
    auto* where = new QGroupBox(QStringLiteral("挿入する位置"), this);
    start_ = new QRadioButton(QStringLiteral("冒頭"), where);
    end_ = new QRadioButton(QStringLiteral("末尾"), where);
    NameControl(start_, 1230, QStringLiteral("冒頭"));
    NameControl(end_, 1231, QStringLiteral("末尾"));
    auto* whereLayout = new QHBoxLayout(where);
    whereLayout->addWidget(start_);
    whereLayout->addWidget(end_);
    auto* radios = new QButtonGroup(this);
    radios->addButton(start_);
    radios->addButton(end_);
    connect(start_, &QRadioButton::clicked, this, [this] { Load(); });
    connect(end_, &QRadioButton::clicked, this, [this] { Load(); });

    auto* device = new QGroupBox(QStringLiteral("使用制御装置"), this);
    controller_ = new QComboBox(device);
    NameControl(controller_, 1232, QStringLiteral("使用制御装置"));
    auto* deviceLayout = new QHBoxLayout(device);
    deviceLayout->addWidget(controller_);
    connect(controller_, &QComboBox::activated, this, [this] { Load(); });

    entry_ = new QLineEdit(this);
    NameControl(entry_, 1233, QStringLiteral("ＮＣコード"));
    entry_->setValidator(new FieldLimitValidator(static_cast<int>(kAddLineLimit), true, entry_));
    entry_->setMinimumWidth(entry_->fontMetrics().horizontalAdvance(QLatin1Char('G')) * 40);
    lines_ = new QListWidget(this);
    NameControl(lines_, 1234, QStringLiteral("追加するＮＣコード"));
    connect(lines_, &QListWidget::currentRowChanged, this, [this](int row) { form_.selectedLine = row; });
    QPushButton* insert = NewButton(1235, QStringLiteral("挿入ＮＣコード"));
    QPushButton* remove = NewButton(1236, QStringLiteral("削除ＮＣコード"));
    connect(insert, &QPushButton::clicked, this, [this] {
      FormFromWidgets();
      InsertAddLine(ctx_, form_);
      WidgetsFromForm();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
      FormFromWidgets();
      DeleteAddLine(form_);
      WidgetsFromForm();
    });
    // Return in the entry inserts it.
    connect(entry_, &QLineEdit::returnPressed, insert, &QPushButton::click);

    auto* top = new QHBoxLayout;
    top->addWidget(where);
    top->addWidget(device);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(insert);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "冒頭末尾追加",
        [this] {
          FormFromWidgets();
          SaveAddLines(ctx_, form_);
          WidgetsFromForm();
        },
        [this] { Load(); });
    layout->addLayout(top);
    layout->addWidget(CaptionFor(entry_, QStringLiteral("ＮＣコード"), this));
    layout->addWidget(entry_);
    layout->addLayout(buttons);
    layout->addWidget(lines_, 1);
  }

  void Load() {
    FormFromWidgets();
    LoadAddLines(ctx_, form_);
    WidgetsFromForm();
  }

  void FormFromWidgets() {
    form_.atStart = start_->isChecked();
    form_.controllerIndex = controller_->currentIndex();
    form_.entry = ToStd(entry_->text());
    form_.selectedLine = lines_->currentRow();
  }

  void WidgetsFromForm() {
    start_->setChecked(form_.atStart);
    end_->setChecked(!form_.atStart);
    controller_->clear();
    for (const std::string& c : form_.controllers)
      controller_->addItem(ToQt(c));
    controller_->setCurrentIndex(form_.controllerIndex);
    entry_->setText(ToQt(form_.entry));
    const int selected = form_.selectedLine;  // filling the list moves the current row
    lines_->clear();
    for (const std::string& line : form_.lines)
      lines_->addItem(ToQt(line));
    lines_->setCurrentRow(selected);
    form_.selectedLine = selected;
  }

  Context& ctx_;
  AddLinesForm form_;
  QRadioButton *start_ = nullptr, *end_ = nullptr;
  QComboBox* controller_ = nullptr;
  QLineEdit* entry_ = nullptr;
  QListWidget* lines_ = nullptr;
};

}  // namespace

QDialog* MakeAddNcDataScreen(Context& ctx, QWidget* mainWindow) {
  return new AddNcDataScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
