// The initial settings screen "INITIALSETTINGDLG": outside programs, start position, colours and the NC
// transfer method. Every event copies the widgets into the form, runs the core operation and copies
// the form back.
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <array>

#include "gui/common/Binding.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/SettingsScreens.h"
#include "project/Settings.h"
#include "shell/ProgramSetup.h"

namespace talvorin::gui {
namespace {

// Moves the main window, keeping its size, to fractions of the free area of its screen.
void PlaceMainWindowAt(QWidget* main, double fx, double fy) {
  if (!main) return;
  QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = main->frameGeometry().size();
  WindowPlacement place = PlaceWindowAt(fx, fy, area.width(), area.height(), 0, size.width(), size.height());
  main->move(area.x() + place.left, area.y() + place.top);
}

QColor ToColor(const Colour& c) {
  return QColor(c.red, c.green, c.blue);
}

class InitialSettingsScreen : public QDialog {
 public:
  InitialSettingsScreen(Context& ctx, QWidget* mainWindow)
      : QDialog(mainWindow), ctx_(ctx), main_(mainWindow) {
    setObjectName(QStringLiteral("INITIALSETTINGDLG"));
    setWindowTitle(QStringLiteral("初期設定"));
    Build();
    ApplyColours(ctx_.inst, this);
    Load();
  }

 private:
  QLineEdit* NewEdit(int id, int bytes) {
    auto* edit = new QLineEdit(this);
    NameControl(edit, id, QString());
    edit->setValidator(new FieldLimitValidator(bytes, false, edit));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    return edit;
  }

  QPushButton* NewButton(int id, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    NameControl(button, id, QString::fromUtf8(caption).trimmed());
    button->setAutoDefault(false);  // Return in a field never presses a chooser
    return button;
  }

  void Build() {
    auto* grid = new QGridLayout;
    // 1200-1203 choose the program shown in 1210-1213.
    const char* programCaptions[4] = {"TRYCUT2000", "DXF VIEWER", " NC VIEWER", "エディター"};
    for (int i = 0; i < 4; ++i) {
      QPushButton* button = NewButton(1200 + i, programCaptions[i]);
      QLineEdit* edit = NewEdit(1210 + i, 519);
      edit->setAccessibleName(QString::fromUtf8(programCaptions[i]).trimmed() + QStringLiteral(" パス"));
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 34);
      programs_[static_cast<std::size_t>(i)] = edit;
      grid->addWidget(button, i, 0);
      grid->addWidget(edit, i, 1, 1, 4);
      connect(button, &QPushButton::clicked, this, [this, i] { ChooseProgramFor(i); });
    }

    // Start position: one caption, two fields named with their axis.
    positionX_ = NewEdit(1214, 15);
    positionY_ = NewEdit(1215, 15);
    auto* position = new QHBoxLayout;
    for (auto [edit, axis] : {std::pair{positionX_, "X"}, std::pair{positionY_, "Y"}}) {
      position->addWidget(CaptionFor(edit, QString::fromUtf8(axis), this));
      edit->setAccessibleName(QStringLiteral("起動画面位置 %1").arg(QString::fromUtf8(axis)));
      position->addWidget(edit);
      connect(edit, &QLineEdit::editingFinished, this, [this] { CheckPosition(); });
    }
    grid->addWidget(new QLabel(QStringLiteral("起動画面位置"), this), 4, 0);
    grid->addLayout(position, 4, 1, 1, 4);

    // Colours: painted with their own colour.
    const char* colourCaptions[2] = {"背景色 [RGB]", "文字色 [RGB]"};
    for (int i = 0; i < 2; ++i) {
      QPushButton* button = NewButton(1206 + i, colourCaptions[i]);
      QLineEdit* edit = NewEdit(1216 + i, 15);
      edit->setAccessibleName(QString::fromUtf8(colourCaptions[i]));
      colours_[static_cast<std::size_t>(i)] = edit;
      grid->addWidget(button, 5, i * 2);
      grid->addWidget(edit, 5, i * 2 + 1, 1, i == 0 ? 1 : 2);
      connect(button, &QPushButton::clicked, this, [this, i] { ChooseColourFor(i); });
      connect(edit, &QLineEdit::textChanged, this, [this, i] { PaintColour(i); });
    }

    // NC transfer: the method, its command, the FTP user and password.
    method_ = new QComboBox(this);
    NameControl(method_, 1220, QStringLiteral("データ転送方法"));
    grid->addWidget(CaptionFor(method_, QStringLiteral("データ転送方法"), this), 6, 0);
    grid->addWidget(method_, 6, 1);
    connect(method_, &QComboBox::activated, this, [this] { ChangeMethod(); });
    commandButton_ = NewButton(1208, "データ転送命令");
    command_ = NewEdit(1221, 519);
    commandLimit_ = new FieldLimitValidator(519, false, command_);
    command_->setValidator(commandLimit_);
    command_->setAccessibleName(QStringLiteral("データ転送命令"));
    grid->addWidget(commandButton_, 6, 2);
    grid->addWidget(command_, 6, 3, 1, 2);
    connect(commandButton_, &QPushButton::clicked, this, [this] { ChooseTransferProgram(); });
    ftpUser_ = NewEdit(1222, 23);
    ftpPassword_ = NewEdit(1223, 23);
    grid->addWidget(CaptionFor(ftpUser_, QStringLiteral("FTPユーザー"), this), 7, 0);
    grid->addWidget(ftpUser_, 7, 1);
    grid->addWidget(CaptionFor(ftpPassword_, QStringLiteral("FTPパスワード"), this), 7, 2);
    grid->addWidget(ftpPassword_, 7, 3, 1, 2);
    grid->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    AddSettingsMenu(
        this, layout, ctx_, "初期設定", [this] { Save(); }, [this] { Load(); });
    layout->addLayout(grid);
    layout->addStretch(1);
  }

  void FormFromWidgets() {
    for (std::size_t i = 0; i < programs_.size(); ++i)
      form_.programs[i] = ToStd(programs_[i]->text());
    form_.positionX = ToStd(positionX_->text());
    form_.positionY = ToStd(positionY_->text());
    form_.windowColour = ToStd(colours_[0]->text());
    form_.textColour = ToStd(colours_[1]->text());
    form_.methodIndex = method_->currentIndex();
    form_.transferCommand = ToStd(command_->text());
    form_.ftpUser = ToStd(ftpUser_->text());
    form_.ftpPassword = ToStd(ftpPassword_->text());
  }

  void WidgetsFromForm() {
    for (std::size_t i = 0; i < programs_.size(); ++i)
      programs_[i]->setText(ToQt(form_.programs[i]));
    positionX_->setText(ToQt(form_.positionX));
    positionY_->setText(ToQt(form_.positionY));
    colours_[0]->setText(ToQt(form_.windowColour));
    colours_[1]->setText(ToQt(form_.textColour));
    method_->clear();
    for (const std::string& m : form_.methods)
      method_->addItem(ToQt(m));
    method_->setCurrentIndex(form_.methodIndex);
    // A DNC program path holds 519 bytes, an FTP server address 23.
    commandLimit_->SetBytes(form_.Method() == "FTP" ? 23 : 519);
    command_->setText(ToQt(form_.transferCommand));
    commandButton_->setEnabled(form_.TransferProgramChoosable());
    ftpUser_->setText(ToQt(form_.ftpUser));
    ftpPassword_->setText(ToQt(form_.ftpPassword));
    ftpUser_->setEnabled(form_.ftpFieldsEnabled);
    ftpPassword_->setEnabled(form_.ftpFieldsEnabled);
  }

  void Load() {
    FormFromWidgets();
    LoadInitialSettings(ctx_, form_);
    WidgetsFromForm();
    PlaceMainWindowAt(main_, form_.placementX, form_.placementY);
  }

  void Save() {
    FormFromWidgets();
    const int result = SaveInitialSettings(ctx_, form_);
    WidgetsFromForm();
    if (result != 0) return;
    TakeSavedLook(ctx_.inst, form_.storedColours, main_, this);
  }

  void CheckPosition() {
    // The range message's box takes the focus from the other position field, which would run the
    // check again for the same text while the box is open.
    if (checking_) return;
    checking_ = true;
    FormFromWidgets();
    CheckStartPosition(ctx_, form_);
    positionX_->setText(ToQt(form_.positionX));
    positionY_->setText(ToQt(form_.positionY));
    PlaceMainWindowAt(main_, form_.placementX, form_.placementY);
    checking_ = false;
  }

  void ChangeMethod() {
    FormFromWidgets();
    ChangeTransferMethod(ctx_, form_);
    WidgetsFromForm();
  }

  void ChooseProgramFor(int i) {
    std::string field = ToStd(programs_[static_cast<std::size_t>(i)]->text());
    if (ChooseProgram(ctx_, field) == 0) programs_[static_cast<std::size_t>(i)]->setText(ToQt(field));
  }

  void ChooseTransferProgram() {
    std::string field = ToStd(command_->text());
    if (ChooseProgram(ctx_, field) == 0) command_->setText(ToQt(field));
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
    palette.setColor(QPalette::Base, ToColor(paint.background));
    palette.setColor(QPalette::Text, ToColor(paint.text));
    edit->setPalette(palette);
  }

  Context& ctx_;
  QWidget* main_;
  InitialSettingsForm form_;
  std::array<QLineEdit*, 4> programs_{};
  std::array<QLineEdit*, 2> colours_{};
  QLineEdit *positionX_ = nullptr, *positionY_ = nullptr, *command_ = nullptr;
  QLineEdit *ftpUser_ = nullptr, *ftpPassword_ = nullptr;
  QComboBox* method_ = nullptr;
  QPushButton* commandButton_ = nullptr;
  FieldLimitValidator* commandLimit_ = nullptr;
  bool checking_ = false;
};

}  // namespace

QDialog* MakeInitialSettingsScreen(Context& ctx, QWidget* mainWindow) {
  return new InitialSettingsScreen(ctx, mainWindow);
}

}  // namespace talvorin::gui
