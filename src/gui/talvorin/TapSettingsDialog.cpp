// The tapping settings screen "TAPPINGSETTINGSDLG": R point, break-through amount and the two check
// boxes that exclude each other, in section "tap" of the NC table file.
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "project/Settings.h"

namespace talvorin::gui {
namespace {

class TapSettingsScreen : public QDialog {
 public:
  TapSettingsScreen(Context& ctx, QWidget* mainWindow) : QDialog(mainWindow), ctx_(ctx) {
    setObjectName(QStringLiteral("TAPPINGSETTINGSDLG"));
    setWindowTitle(QStringLiteral("タップ加工設定"));
    Build();
    ApplyColours(ctx_.inst, this);
    Load();
  }

 private:
  QLineEdit* NewEdit(int id) {
    auto* edit = new QLineEdit(this);
    NameControl(edit, id, QString());
    edit->setValidator(new FieldLimitValidator(15, false, edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 18);
    return edit;
  }

  // A check box "[ON/OFF]" beside its caption and its NC word; named by the caption.
  QCheckBox* NewCheck(int id, const QString& caption, const QString& word, QGridLayout* grid, int row) {
    auto* box = new QCheckBox(QStringLiteral("[ON/OFF]"), this);
    NameControl(box, id, caption);
    grid->addWidget(new QLabel(caption, this), row, 0);
    grid->addWidget(new QLabel(word, this), row, 1);
    grid->addWidget(box, row, 2);
    return box;
  }

  void Build() {
    auto* grid = new QGridLayout;
    rPoint_ = NewEdit(2310);
    breakthrough_ = NewEdit(2311);
    grid->addWidget(CaptionFor(rPoint_, QStringLiteral("タップ加工時のＲ点"), this), 0, 0, 1, 2);
    grid->addWidget(rPoint_, 0, 2);
    grid->addWidget(CaptionFor(breakthrough_, QStringLiteral("貫通時の突き抜け量"), this), 1, 0, 1, 2);
    grid->addWidget(breakthrough_, 1, 2);
    rigid_ = NewCheck(2312, QStringLiteral("リジットタップ"), QStringLiteral("M29"), grid, 2);
    feed_ = NewCheck(2313, QStringLiteral("毎回転送り制御"), QStringLiteral("G95"), grid, 3);
    grid->setColumnStretch(3, 1);
    // Checking one clears the other.
    connect(rigid_, &QCheckBox::clicked, this, [this](bool on) {
      FormFromWidgets();
      CheckRigidTap(form_, on);
      WidgetsFromForm();
    });
    connect(feed_, &QCheckBox::clicked, this, [this](bool on) {
      FormFromWidgets();
      CheckRotationFeed(form_, on);
      WidgetsFromForm();
    });

    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "タップ加工設定",
        [this] {
          FormFromWidgets();
          SaveTapDefaultValue(ctx_, form_);
          WidgetsFromForm();
        },
        [this] { Load(); });
    layout->addLayout(grid);
    layout->addStretch(1);
  }

  void Load() {
    FormFromWidgets();
    LoadingTapDefaultValue(ctx_, form_);
    WidgetsFromForm();
  }

  void FormFromWidgets() {
    form_.rPoint = ToStd(rPoint_->text());
    form_.breakthrough = ToStd(breakthrough_->text());
    form_.rigidTap = rigid_->isChecked();
    form_.rotationFeed = feed_->isChecked();
  }

  void WidgetsFromForm() {
    rPoint_->setText(ToQt(form_.rPoint));
    breakthrough_->setText(ToQt(form_.breakthrough));
    rigid_->setChecked(form_.rigidTap);
    feed_->setChecked(form_.rotationFeed);
  }

  Context& ctx_;
  TapSettingsForm form_;
  QLineEdit *rPoint_ = nullptr, *breakthrough_ = nullptr;
  QCheckBox *rigid_ = nullptr, *feed_ = nullptr;
};

}  // namespace

QDialog* MakeTapSettingsScreen(Context& ctx, QWidget* mainWindow) {
  return new TapSettingsScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
