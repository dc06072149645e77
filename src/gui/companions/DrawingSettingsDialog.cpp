// "INITDXFOUTDLG": the DXF viewer, the window's start position and its colours. Every event copies
// the widgets into the form, runs the core operation and copies the form back.
#include "gui/companions/DrawingSettingsDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "dxf/DrawingSettings.h"
#include "gui/common/Binding.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "shell/Choosers.h"

namespace talvorin::gui {
namespace {

class DrawingSettingsScreen : public QDialog {
 public:
  DrawingSettingsScreen(Context& ctx, const char* section, QWidget* window)
      : QDialog(window), ctx_(ctx), section_(section), window_(window) {
    setObjectName(QStringLiteral("INITDXFOUTDLG"));
    setWindowTitle(QStringLiteral("設定"));
    Build();
    KeepEnterInFields(this);
    ApplyColours(ctx_.inst, this);
    FormFromWidgets();
    LoadDrawingSettings(ctx_, section_, form_);
    WidgetsFromForm();
  }

  // A position field that still has the focus loses it while the base class hides the screen, after
  // this screen's members are gone: its check must not run then.
  ~DrawingSettingsScreen() override {
    disconnect(positionX_, nullptr, this, nullptr);
    disconnect(positionY_, nullptr, this, nullptr);
  }

 private:
  QLineEdit* NewEdit(int id, int length, const QString& name) {
    auto* edit = new QLineEdit(this);
    NameControl(edit, id, name);
    edit->setMaxLength(length);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    return edit;
  }

  QPushButton* NewButton(int id, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    NameControl(button, id, caption);
    button->setAutoDefault(false);  // Return in a field never presses a chooser
    return button;
  }

  void Build() {
    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("SETTINGMENU"));
    QAction* save = menu->addAction(QStringLiteral("保 存"));
    save->setObjectName(QStringLiteral("40091"));
    save->setData(40091);
    connect(save, &QAction::triggered, this, [this] { Save(); });
    QAction* cancel = menu->addAction(QStringLiteral("取 消"));
    cancel->setObjectName(QStringLiteral("40092"));
    cancel->setData(40092);
    connect(cancel, &QAction::triggered, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    QPushButton* viewerButton = NewButton(1201, QStringLiteral("DXF VIEWER"));
    viewer_ = NewEdit(1211, 519, QStringLiteral("DXF VIEWER パス"));
    viewer_->setMinimumWidth(viewer_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 34);
    grid->addWidget(viewerButton, 0, 0);
    grid->addWidget(viewer_, 0, 1, 1, 3);
    connect(viewerButton, &QPushButton::clicked, this, [this] { ChooseViewer(); });

    positionX_ = NewEdit(1214, 15, QStringLiteral("起動画面位置 X"));
    positionY_ = NewEdit(1215, 15, QStringLiteral("起動画面位置 Y"));
    auto* position = new QHBoxLayout;
    for (auto [edit, axis] : {std::pair{positionX_, "X"}, std::pair{positionY_, "Y"}}) {
      auto* label = new QLabel(QString::fromUtf8(axis), this);
      label->setBuddy(edit);
      position->addWidget(label);
      position->addWidget(edit);
      connect(edit, &QLineEdit::editingFinished, this, [this] { CheckPosition(); });
    }
    grid->addWidget(new QLabel(QStringLiteral("起動画面位置"), this), 1, 0);
    grid->addLayout(position, 1, 1, 1, 3);

    const QString colourCaptions[2] = {QStringLiteral("背景色 [RGB]"), QStringLiteral("文字色 [RGB]")};
    for (int i = 0; i < 2; ++i) {
      QPushButton* button = NewButton(1206 + i, colourCaptions[i]);
      QLineEdit* edit = NewEdit(1216 + i, 15, colourCaptions[i]);
      colours_[static_cast<std::size_t>(i)] = edit;
      grid->addWidget(button, 2, i * 2);
      grid->addWidget(edit, 2, i * 2 + 1);
      connect(button, &QPushButton::clicked, this, [this, i] { ChooseColourFor(i); });
      connect(edit, &QLineEdit::textChanged, this, [this, i] { PaintColour(i); });
    }
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addLayout(grid);
    layout->addStretch(1);
  }

  void FormFromWidgets() {
    form_.viewer = ToStd(viewer_->text());
    form_.positionX = ToStd(positionX_->text());
    form_.positionY = ToStd(positionY_->text());
    form_.windowColour = ToStd(colours_[0]->text());
    form_.textColour = ToStd(colours_[1]->text());
  }

  void WidgetsFromForm() {
    viewer_->setText(ToQt(form_.viewer));
    positionX_->setText(ToQt(form_.positionX));
    positionY_->setText(ToQt(form_.positionY));
    colours_[0]->setText(ToQt(form_.windowColour));
    colours_[1]->setText(ToQt(form_.textColour));
  }

  void Save() {
    FormFromWidgets();
    const int result = SaveDrawingSettings(ctx_, section_, form_);
    WidgetsFromForm();
    if (result != 0) return;
    TakeSavedLook(ctx_.inst, form_.storedColours, window_, this);
  }

  void CheckPosition() {
    // The range message's box takes the focus from the other position field, which would run the
    // check again for the same text while the box is open.
    if (checking_) return;
    checking_ = true;
    FormFromWidgets();
    CheckDrawingPosition(ctx_, form_);
    positionX_->setText(ToQt(form_.positionX));
    positionY_->setText(ToQt(form_.positionY));
    checking_ = false;
  }

  void ChooseViewer() {
    std::string field = ToStd(viewer_->text());
    if (ChooseProgram(ctx_, field) == 0) viewer_->setText(ToQt(field));
  }

  void ChooseColourFor(int i) {
    std::string field = ToStd(colours_[static_cast<std::size_t>(i)]->text());
    ChooseColour(ctx_, field);
    colours_[static_cast<std::size_t>(i)]->setText(ToQt(field));
  }

  void PaintColour(int i) {
    QLineEdit* edit = colours_[static_cast<std::size_t>(i)];
    FieldPaint paint = ColourFieldPaint(ToStd(edit->text()));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base,
                     QColor(paint.background.red, paint.background.green, paint.background.blue));
    palette.setColor(QPalette::Text, QColor(paint.text.red, paint.text.green, paint.text.blue));
    edit->setPalette(palette);
  }

  Context& ctx_;
  std::string section_;
  QWidget* window_;
  DrawingSettingsForm form_;
  QLineEdit *viewer_ = nullptr, *positionX_ = nullptr, *positionY_ = nullptr;
  std::array<QLineEdit*, 2> colours_{};
  bool checking_ = false;
};

}  // namespace

QDialog* MakeDrawingSettingsScreen(Context& ctx, const char* section, QWidget* window) {
  return new DrawingSettingsScreen(ctx, section, window);
}

}  // namespace talvorin::gui
