// The shape-entry screen "SHAPEINPUTDLG": the kind of one hole group, its ten parameters and up to ten
// positions, typed, read from a CSV file or computed on a circle.
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <memory>

#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/HoleScreens.h"
#include "gui/talvorin/SettingsScreens.h"

namespace talvorin::gui {
namespace {

// The accessible name of parameter field i: its caption, or "- <n>" while it has none, so that the ten
// fields stay distinct.
QString ParameterName(const std::string& caption, int i) {
  return caption == "-" ? QStringLiteral("- %1").arg(i + 1) : ToQt(caption);
}

class ShapeInputScreen : public QDialog {
 public:
  ShapeInputScreen(Context& ctx, int group, ScreenRunner runner)
      : ctx_(ctx), group_(group), runner_(std::move(runner)) {
    setObjectName(QStringLiteral("SHAPEINPUTDLG"));
    setWindowTitle(QStringLiteral("形状情報の入力"));
    Build();
    ApplyColours(ctx_.inst, this);
    // The read-only Z column looks like the window, not like a field to type in.
    for (QLineEdit* z : z_) {
      QPalette palette = z->palette();
      palette.setColor(QPalette::Base, palette.color(QPalette::Window));
      z->setPalette(palette);
    }
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    // Opening: the kind selector from the hole-command table, then the stored group.
    OpenShapeScreen(ctx_, form_, group_);
    WidgetsFromForm();
    changes_->Saved();
    kind_->setFocus();
  }

  // The field's leave signal must not reach a screen being destroyed.
  ~ShapeInputScreen() override { params_[0]->disconnect(this); }

  void reject() override {
    if (!changes_->MayClose()) return;
    closing_ = true;
    QDialog::reject();
  }

 private:
  QLineEdit* NewEdit(int id, int chars) {
    auto* edit = new QLineEdit(this);
    NameControl(edit, id, QString());
    edit->setValidator(new FieldLimitValidator(static_cast<int>(kValueBytes), false, edit));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
    return edit;
  }

  void Build() {
    auto* layout = new QVBoxLayout(this);
    BuildMenu(layout);

    // Left: the kind and its parameters; right: the positions.
    auto* kindRow = new QHBoxLayout;
    kind_ = new QComboBox(this);
    NameControl(kind_, 2000, QString());
    kind_->setMinimumContentsLength(20);
    kind_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    kindRow->addWidget(CaptionFor(kind_, QStringLiteral("穴の種類"), this));
    kindRow->addWidget(kind_, 1);
    connect(kind_, &QComboBox::activated, this, [this] { KindChosen(); });

    auto* params = new QGridLayout;
    for (int i = 0; i < kHoleParameters; ++i) {
      auto n = static_cast<std::size_t>(i);
      captions_[n] = new QLabel(QStringLiteral("-"), this);
      captions_[n]->setObjectName(QString::number(2100 + i));
      captions_[n]->setMinimumWidth(
          captions_[n]->fontMetrics().horizontalAdvance(QString(16, QChar(0x4E00))));
      params_[n] = NewEdit(2200 + i, 10);
      captions_[n]->setBuddy(params_[n]);
      params->addWidget(captions_[n], i, 0);
      params->addWidget(params_[n], i, 1);
    }
    connect(params_[0], &QLineEdit::editingFinished, this, [this] { ParameterZeroLeft(); });
    auto* left = new QVBoxLayout;
    left->addLayout(kindRow);
    left->addLayout(params);
    left->addStretch(1);

    auto* rows = new QGridLayout;
    const char* axes[] = {"X", "Y", "Z"};
    for (int c = 0; c < 3; ++c)
      rows->addWidget(new QLabel(QString::fromUtf8(axes[c]), this), 0, c + 1, Qt::AlignHCenter);
    for (int i = 0; i < kCoordinateRows; ++i) {
      auto n = static_cast<std::size_t>(i);
      const QString caption = QStringLiteral("%1").arg(i + 1, 2);
      auto* label = new QLabel(caption, this);
      rows->addWidget(label, i + 1, 0);
      QLineEdit* fields[] = {NewEdit(3000 + i, 10), NewEdit(3100 + i, 10), NewEdit(3200 + i, 10)};
      for (int c = 0; c < 3; ++c) {
        fields[c]->setAccessibleName(QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromUtf8(axes[c])));
        rows->addWidget(fields[c], i + 1, c + 1);
      }
      label->setBuddy(fields[0]);
      x_[n] = fields[0];
      y_[n] = fields[1];
      z_[n] = fields[2];
      // Z is not filled by this screen: shown, but out of the Tab order.
      fields[2]->setReadOnly(true);
      fields[2]->setFocusPolicy(Qt::ClickFocus);
    }

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addSpacing(16);
    body->addLayout(rows);
    layout->addLayout(body);

    // Reading order: the kind, the parameters, then the positions row by row.
    QWidget* previous = kind_;
    for (QLineEdit* edit : params_) {
      setTabOrder(previous, edit);
      previous = edit;
    }
    for (int i = 0; i < kCoordinateRows; ++i) {
      auto n = static_cast<std::size_t>(i);
      setTabOrder(previous, x_[n]);
      setTabOrder(x_[n], y_[n]);
      previous = y_[n];
    }
  }

  // The popup "計算" and the bar entries; each command also has a key, shown in its tool tip.
  void BuildMenu(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("SHAPEINPUTMENU"));
    bar->setNativeMenuBar(false);
    QMenu* calc = bar->addMenu(QStringLiteral("計算"));
    AddCommand(calc, 40203, "円上の座標計算", QKeySequence(Qt::CTRL | Qt::Key_R), this,
               [this] { OpenCircleScreen(); });
    AddCommand(calc, 40201, "CSVファイル読込", QKeySequence(), this, [this] { ReadCsv(); });
    AddCommand(bar, 40200, "【保存】", QKeySequence(Qt::CTRL | Qt::Key_S), this, [this] { Save(); });
    AddCommand(bar, 40201, "【CSV読込】", QKeySequence(Qt::CTRL | Qt::Key_O), this, [this] { ReadCsv(); });
    AddCommand(bar, 40202, "【終了】", QKeySequence(Qt::Key_Escape), this, [this] { reject(); });
    layout->setMenuBar(bar);
    // The screen is never narrower than its menu: no command hides behind an overflow arrow.
    layout->addSpacerItem(
        new QSpacerItem(bar->sizeHint().width(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
  }

  void KindChosen() {
    FormFromWidgets();
    ChooseKind(ctx_, form_);
    WidgetsFromForm();
  }

  // Leaving parameter 0 derives the others. A box shown by the derivation takes the focus from the
  // field once more; that second leave is part of the same one. The focus the field loses when the
  // screen closes derives nothing: the screen is done.
  void ParameterZeroLeft() {
    if (deriving_ || closing_) return;
    deriving_ = true;
    FormFromWidgets();
    const ShapeForm before = form_;
    SetHoleInformation(ctx_, form_);
    if (form_.params != before.params) changes_->Changed();
    WidgetsFromForm();
    deriving_ = false;
  }

  void Save() {
    FormFromWidgets();
    if (SaveShapeDefine(ctx_, form_, group_) != 0) return;
    changes_->Saved();
    closing_ = true;
    accept();
  }

  void ReadCsv() {
    FormFromWidgets();
    const int result = ReadCsvCoordinates(ctx_, form_);
    WidgetsFromForm();
    if (result == 0) changes_->Changed();
  }

  void OpenCircleScreen() {
    FormFromWidgets();
    std::unique_ptr<QDialog> circle(MakeRotationCalculationScreen(
        ctx_, form_,
        [this] {
          WidgetsFromForm();
          changes_->Changed();
        },
        this));
    runner_.Run(*circle);
  }

  void FormFromWidgets() {
    form_.kind = ToStd(kind_->currentText());
    for (std::size_t i = 0; i < params_.size(); ++i)
      form_.params[i] = ToStd(params_[i]->text());
    for (std::size_t i = 0; i < x_.size(); ++i)
      form_.rows[i] = {ToStd(x_[i]->text()), ToStd(y_[i]->text())};
  }

  void WidgetsFromForm() {
    // A stored label that the table no longer offers is still shown, so that a save keeps it.
    std::vector<std::string> kinds = form_.kinds;
    if (!form_.kind.empty() && std::find(kinds.begin(), kinds.end(), form_.kind) == kinds.end())
      kinds.push_back(form_.kind);
    FillCombo(kind_, kinds, form_.kind);
    for (std::size_t i = 0; i < params_.size(); ++i) {
      captions_[i]->setText(ToQt(form_.captions[i]));
      params_[i]->setAccessibleName(ParameterName(form_.captions[i], static_cast<int>(i)));
      params_[i]->setText(ToQt(form_.params[i]));
    }
    for (std::size_t i = 0; i < x_.size(); ++i) {
      x_[i]->setText(ToQt(form_.rows[i].x));
      y_[i]->setText(ToQt(form_.rows[i].y));
    }
  }

  Context& ctx_;
  const int group_;
  ScreenRunner runner_;
  ShapeForm form_;
  UnsavedChanges* changes_ = nullptr;
  bool deriving_ = false;
  bool closing_ = false;
  QComboBox* kind_ = nullptr;
  std::array<QLabel*, kHoleParameters> captions_{};
  std::array<QLineEdit*, kHoleParameters> params_{};
  std::array<QLineEdit*, kCoordinateRows> x_{}, y_{}, z_{};
};

}  // namespace

QDialog* MakeShapeInputScreen(Context& ctx, int group, ScreenRunner runner) {
  return new ShapeInputScreen(ctx, group, std::move(runner));
}

}  // namespace talvorin::gui
