// The conditions screen "PROCESSINGCONDITIONDLG": speed, feed and a third value registered per tool,
// material and diameter in the condition table that the register table names.
#include <QComboBox>
#include <QGridLayout>
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

class ConditionScreen : public QDialog {
 public:
  ConditionScreen(Context& ctx, QWidget* mainWindow) : QDialog(mainWindow), ctx_(ctx) {
    setObjectName(QStringLiteral("PROCESSINGCONDITIONDLG"));
    setWindowTitle(QStringLiteral("工具毎の加工条件登録"));
    Build();
    ApplyColours(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    StartupToolInitial(ctx_, form_);
    WidgetsFromForm();
  }

  void reject() override {
    if (changes_->MayClose()) QDialog::reject();
  }

 private:
  QComboBox* NewList(int id, const QString& caption, QGridLayout* grid, int row) {
    auto* list = new QComboBox(this);
    list->setMinimumContentsLength(16);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    NameControl(list, id, caption);
    auto* label = new QLabel(caption, this);
    label->setBuddy(list);
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row, 1);
    return list;
  }

  void Build() {
    auto* grid = new QGridLayout;
    tools_ = NewList(1500, QStringLiteral("工 具 名"), grid, 0);
    materials_ = NewList(1501, QStringLiteral("材 質"), grid, 1);
    for (std::size_t i = 0; i < values_.size(); ++i) {
      auto* edit = new QLineEdit(this);
      NameControl(edit, 1510 + static_cast<int>(i), QString());
      edit->setValidator(new FieldLimitValidator(15, false, edit));
      edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 18);
      auto* caption = new QLabel(this);
      caption->setObjectName(QString::number(1520 + static_cast<int>(i)));
      caption->setBuddy(edit);
      grid->addWidget(caption, static_cast<int>(i) + 2, 0);
      grid->addWidget(edit, static_cast<int>(i) + 2, 1);
      values_[i] = edit;
      captions_[i] = caption;
    }
    grid->setColumnStretch(2, 1);

    // A tool chosen: its captions, the values emptied.
    connect(tools_, &QComboBox::activated, this, [this] {
      Run(SelectToolName);
      changes_->Saved();
    });
    // The diameter left: the values registered for it.
    OnFocusOut(values_[0], [this] {
      if (Run(GetTooldefaultCondition) == 0) changes_->Saved();
    });

    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "加工条件設定",
        [this] {
          // Saved: the values are emptied and the screen stays open for the next entry.
          if (Run(RegisterToolCondition) == 0) changes_->Saved();
        },
        [] {});
    layout->addLayout(grid);
    layout->addStretch(1);
  }

  int Run(int (*operation)(Context&, ConditionForm&)) {
    FormFromWidgets();
    const int result = operation(ctx_, form_);
    WidgetsFromForm();
    return result;
  }

  void FormFromWidgets() {
    form_.toolName = ToStd(tools_->currentText());
    form_.material = ToStd(materials_->currentText());
    for (std::size_t i = 0; i < values_.size(); ++i)
      form_.values[i] = ToStd(values_[i]->text());
  }

  void WidgetsFromForm() {
    FillList(tools_, form_.toolNames, form_.toolName);
    FillList(materials_, form_.materials, form_.material);
    for (std::size_t i = 0; i < values_.size(); ++i) {
      values_[i]->setText(ToQt(form_.values[i]));
      captions_[i]->setText(ToQt(form_.captions[i]));
      // The field is found by the caption it shows now.
      values_[i]->setAccessibleName(ToQt(form_.captions[i]));
    }
  }

  static void FillList(QComboBox* list, const std::vector<std::string>& entries, const std::string& chosen) {
    if (list->count() != static_cast<int>(entries.size())) {
      list->clear();
      for (const std::string& entry : entries)
        list->addItem(ToQt(entry));
    }
    list->setCurrentIndex(list->findText(ToQt(chosen), Qt::MatchExactly));
  }

  Context& ctx_;
  ConditionForm form_;
  UnsavedChanges* changes_ = nullptr;
  QComboBox *tools_ = nullptr, *materials_ = nullptr;
  std::array<QLineEdit*, 4> values_{};
  std::array<QLabel*, 4> captions_{};
};

}  // namespace

QDialog* MakeConditionScreen(Context& ctx, QWidget* mainWindow) {
  return new ConditionScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
