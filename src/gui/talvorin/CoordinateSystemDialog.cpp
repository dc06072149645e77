// The coordinate systems screen "REGCOORDINATESYSDLG": the sorted list of coordinate systems that the
// main window offers, kept in the program INI.
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "project/Settings.h"

namespace talvorin::gui {
namespace {

class CoordinateSystemScreen : public QDialog {
 public:
  CoordinateSystemScreen(Context& ctx, QWidget* mainWindow) : QDialog(mainWindow), ctx_(ctx) {
    setObjectName(QStringLiteral("REGCOORDINATESYSDLG"));
    setWindowTitle(QStringLiteral("座標系追加・編集"));
    Build();
    ApplyColours(ctx_.inst, this);
    Load(false);
  }

 private:
  QPushButton* NewButton(int id, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    NameControl(button, id, caption);
    button->setAutoDefault(false);
    return button;
  }

  void Build() {
    entry_ = new QLineEdit(this);
    NameControl(entry_, 1502, QString());
    entry_->setValidator(new FieldLimitValidator(15, true, entry_));
    list_ = new QListWidget(this);
    NameControl(list_, 1503, QStringLiteral("登録済みの座標系"));
    // Selecting an entry (mouse or arrow keys) copies it into the entry field.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (filling_) return;
      FormFromWidgets();
      SelectCoordinateSystem(form_, row);
      WidgetsFromForm();
    });
    QPushButton* add = NewButton(1500, QStringLiteral("座標系　登録"));
    QPushButton* remove = NewButton(1501, QStringLiteral("座標系　削除"));
    connect(add, &QPushButton::clicked, this, [this] {
      FormFromWidgets();
      RegisterCoordinateSystem(ctx_, form_);
      WidgetsFromForm();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
      FormFromWidgets();
      DeleteCoordinateSystem(ctx_, form_);
      WidgetsFromForm();
    });
    connect(entry_, &QLineEdit::returnPressed, add, &QPushButton::click);

    auto* grid = new QGridLayout;
    grid->addWidget(CaptionFor(entry_, QStringLiteral("座標系"), this), 0, 0);
    grid->addWidget(entry_, 0, 1);
    grid->addWidget(add, 1, 1);
    grid->addWidget(remove, 2, 1);
    grid->addWidget(list_, 0, 2, 4, 1);
    grid->setRowStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "座標系追加",
        [this] {
          FormFromWidgets();
          SaveCoordinateSystem(ctx_, form_);
          WidgetsFromForm();
        },
        [this] { Load(true); });
    layout->addLayout(grid);
  }

  void Load(bool ask) {
    FormFromWidgets();
    LoadingCoordinateSystem(ctx_, form_, ask);
    WidgetsFromForm();
  }

  void FormFromWidgets() {
    form_.entry = ToStd(entry_->text());
    form_.selected = list_->currentRow();
  }

  void WidgetsFromForm() {
    filling_ = true;
    entry_->setText(ToQt(form_.entry));
    list_->clear();
    for (const std::string& system : form_.systems)
      list_->addItem(ToQt(system));
    list_->setCurrentRow(form_.selected);
    filling_ = false;
  }

  Context& ctx_;
  CoordinateSystemForm form_;
  QLineEdit* entry_ = nullptr;
  QListWidget* list_ = nullptr;
  bool filling_ = false;  // the list is being refilled from the form
};

}  // namespace

QDialog* MakeCoordinateSystemScreen(Context& ctx, QWidget* mainWindow) {
  return new CoordinateSystemScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
