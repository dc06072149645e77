// The circle screen "ROTATIONCALCULATIONDLG": equally spaced hole positions on a circle, written into
// the rows of the shape-entry screen beneath it.
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>
#include <array>

#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/HoleScreens.h"
#include "gui/talvorin/SettingsScreens.h"

namespace talvorin::gui {
namespace {

class RotationCalculationScreen : public QDialog {
 public:
  RotationCalculationScreen(Context& ctx, ShapeForm& shape, std::function<void()> rowsChanged,
                            QWidget* shapeScreen)
      : QDialog(shapeScreen), ctx_(ctx), shape_(shape), rowsChanged_(std::move(rowsChanged)) {
    setObjectName(QStringLiteral("ROTATIONCALCULATIONDLG"));
    setWindowTitle(QStringLiteral("円上の座標計算"));
    Build();
    ApplyColours(ctx_.inst, this);
    KeepEnterInFields(this);
    fields_[0]->setFocus();
  }

 private:
  void Build() {
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("ROTATIONCALCULATIONMENU"));
    bar->setNativeMenuBar(false);
    AddCommand(bar, 40104, "【計 算】", QKeySequence(Qt::CTRL | Qt::Key_R), this, [this] { Calculate(); });
    AddCommand(bar, 40103, "【閉じる】", QKeySequence(Qt::Key_Escape), this, [this] { reject(); });
    // The help entry has no action on this screen.
    AddCommand(bar, 40102, "【ヘルプ】", QKeySequence(), this, [] {});
    layout->setMenuBar(bar);
    // The screen is never narrower than its menu: no command hides behind an overflow arrow.
    layout->addSpacerItem(
        new QSpacerItem(bar->sizeHint().width(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));

    const char* captions[] = {"円中心 X", "円中心 Y", "半径 [R]", "分割角度", "初期角度", "回転回数"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
      auto n = static_cast<std::size_t>(i);
      auto* edit = new QLineEdit(this);
      NameControl(edit, 2400 + i, QString());
      edit->setValidator(i == 5 ? DigitsOnlyValidator(edit)
                                : new FieldLimitValidator(static_cast<int>(kValueBytes), false, edit));
      if (i == 5) edit->setMaxLength(static_cast<int>(kValueBytes));
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
      grid->addWidget(CaptionFor(edit, QString::fromUtf8(captions[i]), this), i, 0);
      grid->addWidget(edit, i, 1);
      fields_[n] = edit;
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("※．反時計回りがプラス角度"), this));
    // The field order is the reading order: no setTabOrder needed.
    connect(fields_[3], &QLineEdit::editingFinished, this, [this] {
      FormFromWidgets();
      SetRotationCount(circle_);
      WidgetsFromForm();
    });
  }

  void Calculate() {
    FormFromWidgets();
    Circles2Angle_Calculation(ctx_, circle_, shape_);
    WidgetsFromForm();
    // The rows were emptied even when an input was missing: the shape screen shows them either way.
    if (rowsChanged_) rowsChanged_();
  }

  void FormFromWidgets() {
    std::string* values[] = {&circle_.centreX, &circle_.centreY, &circle_.radius,
                             &circle_.step,    &circle_.start,   &circle_.count};
    for (std::size_t i = 0; i < fields_.size(); ++i)
      *values[i] = ToStd(fields_[i]->text());
  }

  void WidgetsFromForm() {
    const std::string* values[] = {&circle_.centreX, &circle_.centreY, &circle_.radius,
                                   &circle_.step,    &circle_.start,   &circle_.count};
    for (std::size_t i = 0; i < fields_.size(); ++i)
      fields_[i]->setText(ToQt(*values[i]));
  }

  Context& ctx_;
  ShapeForm& shape_;
  std::function<void()> rowsChanged_;
  CircleForm circle_;
  std::array<QLineEdit*, 6> fields_{};
};

}  // namespace

QDialog* MakeRotationCalculationScreen(Context& ctx, ShapeForm& shape, std::function<void()> rowsChanged,
                                       QWidget* shapeScreen) {
  return new RotationCalculationScreen(ctx, shape, std::move(rowsChanged), shapeScreen);
}

}  // namespace talvorin::gui
