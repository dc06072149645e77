// The material form "EUKMATERIALDLG" of the EUKLID hole import: the material block, the material and
// the machining origin of the new project.
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

#include "euklid/Euklid.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/SettingsScreens.h"

namespace talvorin::gui {
namespace {

constexpr int kValueBytes = 15;

class EuklidMaterialScreen : public QDialog {
 public:
  EuklidMaterialScreen(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("EUKMATERIALDLG"));
    setWindowTitle(QStringLiteral("材料入力"));
    Build();
    ApplyColours(ctx_.inst, this);
    PlaceOnScreen(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    OpenEuklidMaterialForm(ctx_, form_);
    WidgetsFromForm();
    changes_->Saved();
    sizes_[0]->setFocus();
  }

  void reject() override {
    if (changes_->MayClose()) QDialog::reject();
  }

 private:
  void Build() {
    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, [this] { Save(); }, [] {},
        [this] { ctx_.reporter.Report("ヘルプファイル作成中", kReportInfo); });
    // 【読 込】 has nothing to read on this form.
    findChild<QAction*>(QStringLiteral("40101"))->setEnabled(false);

    auto* grid = new QGridLayout;
    // The block: one caption, three fields named with their axis.
    auto* sizes = new QHBoxLayout;
    const char* axes[] = {"X", "Y", "Z"};
    for (std::size_t i = 0; i < 3; ++i) {
      auto* edit = new QLineEdit(this);
      NameControl(edit, 1110 + static_cast<int>(i), QString());
      edit->setValidator(new FieldLimitValidator(kValueBytes, false, edit));
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 12);
      sizes->addWidget(CaptionFor(edit, QString::fromUtf8(axes[i]), this));
      edit->setAccessibleName(QStringLiteral("材料寸法 %1").arg(QString::fromUtf8(axes[i])));
      sizes->addWidget(edit);
      sizes_[i] = edit;
    }
    grid->addWidget(new QLabel(QStringLiteral("材料寸法"), this), 0, 0);
    grid->addLayout(sizes, 0, 1);
    material_ = NewEditableList(this, 1113, kValueBytes, true);
    origin_ = NewEditableList(this, 1120, kValueBytes, false);
    grid->addWidget(CaptionFor(material_, QStringLiteral("　材　質"), this), 1, 0);
    grid->addWidget(material_, 1, 1, Qt::AlignLeft);
    grid->addWidget(CaptionFor(origin_, QStringLiteral("加工原点"), this), 2, 0);
    grid->addWidget(origin_, 2, 1, Qt::AlignLeft);
    layout->addLayout(grid);
    layout->addStretch(1);
  }

  // 40100: saved, the form closes; a stop leaves it open with what was typed.
  void Save() {
    FormFromWidgets();
    if (SaveEuklidMaterial(ctx_, form_) != 0) return;
    changes_->Saved();
    accept();
  }

  void FormFromWidgets() {
    form_.sizeX = ToStd(sizes_[0]->text());
    form_.sizeY = ToStd(sizes_[1]->text());
    form_.sizeZ = ToStd(sizes_[2]->text());
    form_.material = ToStd(material_->currentText());
    form_.origin = ToStd(origin_->currentText());
  }

  void WidgetsFromForm() {
    sizes_[0]->setText(ToQt(form_.sizeX));
    sizes_[1]->setText(ToQt(form_.sizeY));
    sizes_[2]->setText(ToQt(form_.sizeZ));
    FillCombo(material_, form_.materials, form_.material);
    FillCombo(origin_, form_.origins, form_.origin);
  }

  Context& ctx_;
  EuklidMaterialForm form_;
  UnsavedChanges* changes_ = nullptr;
  std::array<QLineEdit*, 3> sizes_{};
  QComboBox *material_ = nullptr, *origin_ = nullptr;
};

}  // namespace

QDialog* MakeEuklidMaterialScreen(Context& ctx, QWidget* parent) {
  return new EuklidMaterialScreen(ctx, parent);
}

}  // namespace talvorin::gui
