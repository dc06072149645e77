// The tool screen "MCTOOLLISTDLG": which tool (name and diameter) sits at tool numbers 1 to 30 of the
// magazine table. Two blocks of fifteen rows side by side, so all thirty rows fit a 1366 x 768 screen.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "tools/Tools.h"

namespace talvorin::gui {
namespace {

constexpr int kRowsPerBlock = 15;

class ToolListScreen : public QDialog {
 public:
  ToolListScreen(Context& ctx, QWidget* mainWindow) : QDialog(mainWindow), ctx_(ctx) {
    setObjectName(QStringLiteral("MCTOOLLISTDLG"));
    setWindowTitle(QStringLiteral("マシニング基本工具登録"));
    Build();
    ApplyColours(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    OpenToolScreen(ctx_, form_);
    WidgetsFromForm();
    // A magazine smaller than thirty pockets has no tool numbers for the last rows.
    for (int n = MagazineSize(ctx_.inst) + 1; n <= kToolScreenRows; ++n) {
      names_[static_cast<std::size_t>(n - 1)]->setEnabled(false);
      diameters_[static_cast<std::size_t>(n - 1)]->setEnabled(false);
    }
  }

  void reject() override {
    if (changes_->MayClose()) QDialog::reject();
  }

 private:
  void Build() {
    auto* blocks = new QHBoxLayout;
    QGridLayout* grid = nullptr;
    // Created row by row, name before diameter, so Tab runs T01, T02, ... in number order.
    for (int n = 1; n <= kToolScreenRows; ++n) {
      if ((n - 1) % kRowsPerBlock == 0) {
        grid = new QGridLayout;
        grid->addWidget(new QLabel(QStringLiteral("工具名"), this), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("工具径"), this), 0, 2);
        grid->setColumnStretch(1, 1);
        blocks->addLayout(grid, 1);
      }
      const QString caption = QStringLiteral("T%1").arg(n, 2, 10, QLatin1Char('0'));
      auto* name = new QComboBox(this);
      NameControl(name, kToolNameId + n, caption + QStringLiteral(" 工具名"));
      name->setEditable(true);
      name->setInsertPolicy(QComboBox::NoInsert);
      name->setValidator(new FieldLimitValidator(31, false, name));
      name->setMinimumContentsLength(14);
      name->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      auto* diameter = new QLineEdit(this);
      NameControl(diameter, kDiameterId + n, caption + QStringLiteral(" 工具径"));
      diameter->setValidator(new FieldLimitValidator(7, false, diameter));
      diameter->setMaximumWidth(diameter->fontMetrics().horizontalAdvance(QStringLiteral("0000.000")) + 16);
      const int row = (n - 1) % kRowsPerBlock + 1;
      auto* label = new QLabel(caption, this);
      label->setBuddy(name);
      grid->addWidget(label, row, 0);
      grid->addWidget(name, row, 1);
      grid->addWidget(diameter, row, 2);
      names_[static_cast<std::size_t>(n - 1)] = name;
      diameters_[static_cast<std::size_t>(n - 1)] = diameter;
    }
    blocks->setSpacing(blocks->spacing() * 4);

    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "使用工具設定",
        [this] {
          FormFromWidgets();
          // Saved: the screen closes; a refused write leaves it open with what was typed.
          if (WriteToolTabel(ctx_, form_) != 0) return;
          changes_->Saved();
          accept();
        },
        [] {});
    layout->addLayout(blocks);
    layout->addStretch(1);
  }

  void FormFromWidgets() {
    for (std::size_t i = 0; i < form_.rows.size(); ++i) {
      form_.rows[i].toolName = ToStd(names_[i]->currentText());
      form_.rows[i].diameter = ToStd(diameters_[i]->text());
    }
  }

  void WidgetsFromForm() {
    for (std::size_t i = 0; i < form_.rows.size(); ++i) {
      FillCombo(names_[i], form_.rows[i].toolNames, form_.rows[i].toolName);
      diameters_[i]->setText(ToQt(form_.rows[i].diameter));
    }
  }

  static constexpr int kToolNameId = 1400;  // 1401-1430: name of T01-T30
  static constexpr int kDiameterId = 1450;  // 1451-1480: diameter of T01-T30

  Context& ctx_;
  ToolForm form_;
  UnsavedChanges* changes_ = nullptr;
  std::array<QComboBox*, kToolScreenRows> names_{};
  std::array<QLineEdit*, kToolScreenRows> diameters_{};
};

}  // namespace

QDialog* MakeToolListScreen(Context& ctx, QWidget* mainWindow) {
  return new ToolListScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
