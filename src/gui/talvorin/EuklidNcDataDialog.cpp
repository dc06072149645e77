// The contour form "EUKLIDNCDATADLG": the project header and the cutting data of one finishing end mill
// for the contour of an EUKLID curve file, its save as a project with one process and its FANUC
// program.
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <array>
#include <map>

#include "euklid/Euklid.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/SettingsScreens.h"
#include "outputs/Outputs.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

constexpr int kNameBytes = 127;    // 1100, 1101
constexpr int kPathBytes = 519;    // 1301
constexpr int kValueBytes = 15;    // lists and the cutting data
constexpr int kMaterialBytes = 7;  // the project keeps the material with 7 bytes
constexpr int kNumberDigits = 9;   // program number

// Runs `left` when the user leaves `field` (Tab, Shift+Tab, a click elsewhere). A menu opening over the
// field or a box taking the window's activation is no leave: the field still has the focus when it
// comes back.
class FieldLeft : public QObject {
 public:
  FieldLeft(QWidget* field, std::function<void()> left) : QObject(field), left_(std::move(left)) {
    field->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) left_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> left_;
};

class EuklidNcDataScreen : public QDialog {
 public:
  EuklidNcDataScreen(Context& ctx, const std::string& inputPath, QWidget* parent)
      : QDialog(parent), ctx_(ctx), inputPath_(inputPath) {
    setObjectName(QStringLiteral("EUKLIDNCDATADLG"));
    setWindowTitle(QStringLiteral("曲線加工命令（ＮＣデータ作成）"));
    Build();
    ApplyColours(ctx_.inst, this);
    PlaceOnScreen(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    // Opening: lists, initial texts, the next program number and a new project database saved
    // leniently, so the database exists while the form is open.
    {
      ProfileOperation operation;
      OpenEuklidNcForm(ctx_, form_, inputPath_);
    }
    WidgetsFromForm();
    changes_->Saved();
    material_->setFocus();
  }

  // A field losing the focus while the screen is destroyed must not reach its form.
  ~EuklidNcDataScreen() override {
    delete diameterLeft_;
    delete numberLeft_;
  }

  void reject() override {
    if (!changes_->MayClose()) return;
    closing_ = true;
    QDialog::reject();
  }

 private:
  QLineEdit* NewEdit(int id, int bytes, int chars) {
    auto* edit = new QLineEdit(this);
    NameControl(edit, id, QString());
    edit->setValidator(new FieldLimitValidator(bytes, false, edit));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
    return edit;
  }
  // Shown, not typed in: out of the Tab order, drawn like the window.
  static void MakeReadOnly(QLineEdit* edit) {
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
  }

  void Build() {
    auto* layout = new QVBoxLayout(this);
    BuildMenu(layout);
    auto* grid = new QGridLayout;
    auto add = [this, grid](QWidget* field, const char* caption, int row, int column, int span = 1) {
      grid->addWidget(CaptionFor(field, QString::fromUtf8(caption), this), row, column * 2);
      grid->addWidget(field, row, column * 2 + 1, 1, span * 2 - 1);
    };
    // The header, one wide field a line.
    project_ = NewEdit(1100, kNameBytes, 40);
    product_ = NewEdit(1101, kNameBytes, 40);
    curve_ = NewEdit(1301, kPathBytes, 40);
    method_ = NewEdit(1302, kValueBytes, 14);
    method_->setEnabled(false);
    add(project_, "プロジェクト名", 0, 0, 3);
    add(product_, "商品名／加工物", 1, 0, 3);
    add(curve_, "ＣＳＶファイル", 2, 0, 3);
    add(method_, "加工方法", 3, 0);
    // The machine and the material.
    controller_ = NewEditableList(this, 1121, kValueBytes, true);
    coordinates_ = NewEditableList(this, 1122, kValueBytes, true);
    programNumber_ = NewEdit(1123, kValueBytes, 8);
    programNumber_->setValidator(DigitsOnlyValidator(programNumber_));
    programNumber_->setMaxLength(kNumberDigits);
    material_ = NewEditableList(this, 1113, kMaterialBytes, true);
    add(controller_, "制御装置", 4, 0);
    add(coordinates_, "座標系", 4, 1);
    add(programNumber_, "Ｏ番号", 4, 2);
    add(material_, "材　質", 5, 0);
    // The end mill: three columns, three rows.
    const struct {
      int id;
      const char* caption;
      int row, column;
    } cutting[] = {
        {5051, "工具径", 6, 0},   {5251, "回転数", 6, 1},   {5301, "送り速度", 6, 2},
        {5101, "Ｔ番号", 7, 0},   {5151, "Ｈ番号", 7, 1},   {5201, "Ｄ番号", 7, 2},
        {5351, "Ｇコード", 8, 0}, {5401, "Ｒコード", 8, 1}, {5501, "Ｑコード", 8, 2},
    };
    for (const auto& c : cutting) {
      QLineEdit* edit = NewEdit(c.id, kValueBytes, 8);
      add(edit, c.caption, c.row, c.column);
      fields_[c.id] = edit;
    }
    for (int id : {5151, 5351, 5501})
      MakeReadOnly(fields_[id]);
    grid->setColumnStretch(5, 1);
    layout->addLayout(grid);
    layout->addStretch(1);

    // Reading order, the read-only fields left out.
    QWidget* order[] = {project_,       product_,      curve_,        controller_,   coordinates_,
                        programNumber_, material_,     fields_[5051], fields_[5251], fields_[5301],
                        fields_[5101],  fields_[5201], fields_[5401]};
    for (std::size_t i = 1; i < std::size(order); ++i)
      setTabOrder(order[i - 1], order[i]);

    // Leaving the diameter looks up speed and feed; leaving the tool number sets H and D.
    diameterLeft_ = new FieldLeft(fields_[5051], [this] { ToolDiameterLeft(); });
    numberLeft_ = new FieldLeft(fields_[5101], [this] { ToolNumberLeft(); });
  }

  // The menus "ファイル" and "工程" and the command bar; every bar command also has a key.
  void BuildMenu(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("EUKMENU"));
    bar->setNativeMenuBar(false);
    // Each command is one operation of the system; a command without action is shown disabled.
    auto command = [this](QWidget* where, int id, const char* caption, QKeySequence key,
                          void (EuklidNcDataScreen::*run)()) {
      QAction* action = AddCommand(where, id, caption, key, this, [this, run] {
        ProfileOperation operation;
        if (run) (this->*run)();
      });
      action->setEnabled(run != nullptr);
      return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
    command(file, 40050, "ＤＢ読込", {}, &EuklidNcDataScreen::Read);
    command(file, 40302, "曲線定義読込", QKeySequence(Qt::CTRL | Qt::Key_K), &EuklidNcDataScreen::OpenCurve);
    command(file, 40055, "NCファイルを開く", {}, nullptr);
    file->addSeparator();
    command(file, 40103, "工程終了", {}, &EuklidNcDataScreen::Close);
    QMenu* process = bar->addMenu(QStringLiteral("工程"));
    command(process, 40050, "工程読込", {}, &EuklidNcDataScreen::Read);
    command(process, 40051, "工程保存", {}, &EuklidNcDataScreen::Save);
    command(process, 40056, "工程初期化", {}, nullptr);
    command(process, 40303, "図面表示", {}, &EuklidNcDataScreen::Drawing);
    command(bar, 40050, "【読込】", QKeySequence(Qt::CTRL | Qt::Key_L), &EuklidNcDataScreen::Read);
    command(bar, 40051, "【保存】", QKeySequence(Qt::CTRL | Qt::Key_S), &EuklidNcDataScreen::Save);
    command(bar, 40052, "【NCデータ作成】", QKeySequence(Qt::CTRL | Qt::Key_M),
            &EuklidNcDataScreen::CreateNc);
    command(bar, 40053, "【NCデータ転送】", {}, nullptr);
    command(bar, 40024, "【NCデータ描画】", QKeySequence(Qt::CTRL | Qt::Key_G),
            &EuklidNcDataScreen::NcViewer);
    command(bar, 40303, "【図面表示】", QKeySequence(Qt::CTRL | Qt::Key_D), &EuklidNcDataScreen::Drawing);
    command(bar, 40103, "【終了】", QKeySequence(Qt::CTRL | Qt::Key_Q), &EuklidNcDataScreen::Close);
    // F10 opens the menu "ファイル" from the keyboard.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [bar, file] { bar->setActiveAction(file->menuAction()); });
    addAction(menuKey);
    layout->setMenuBar(bar);
    // The screen is never narrower than its menu: no command hides behind an overflow arrow.
    layout->addSpacerItem(
        new QSpacerItem(bar->sizeHint().width(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
  }

  // --- Commands ---

  void Read() {
    FormFromWidgets();
    const int result = ReadEuklidProject(ctx_, form_);
    WidgetsFromForm();
    if (result == 0) changes_->Saved();
  }
  void Save() {
    FormFromWidgets();
    if (SaveEuklidNcForm(ctx_, form_, true) == 0) changes_->Saved();
    WidgetsFromForm();
  }
  // The program is made from what the project database holds, whatever the save's result.
  void CreateNc() {
    FormFromWidgets();
    if (SaveEuklidNcForm(ctx_, form_, true) == 0) changes_->Saved();
    WidgetsFromForm();
    MakeEuklidFanucNcdata(ctx_);
  }
  void OpenCurve() {
    FormFromWidgets();
    const int result = OpenEuklidCurveFile(ctx_, form_, inputPath_);
    WidgetsFromForm();
    // The new project database holds the form as shown.
    if (result == 0) changes_->Saved();
  }
  void NcViewer() { ShowNcData(ctx_); }
  void Drawing() { StartEukdataViewer(ctx_); }
  void Close() { reject(); }

  // --- Field events ---

  void ToolDiameterLeft() {
    if (closing_) return;
    ProfileOperation operation;
    FormFromWidgets();
    EukToolDiameterEvent(ctx_, form_);
    WidgetsFromForm();
  }
  void ToolNumberLeft() {
    if (closing_) return;
    FormFromWidgets();
    EukToolNumberEvent(form_);
    WidgetsFromForm();
  }

  // --- Form and widgets ---

  void FormFromWidgets() {
    form_.projectName = ToStd(project_->text());
    form_.product = ToStd(product_->text());
    form_.curveFile = ToStd(curve_->text());
    form_.controller = ToStd(controller_->currentText());
    form_.coordinateSystem = ToStd(coordinates_->currentText());
    form_.programNumber = ToStd(programNumber_->text());
    form_.material = ToStd(material_->currentText());
    for (auto& [id, text] : Texts())
      *text = ToStd(fields_[id]->text());
  }

  void WidgetsFromForm() {
    auto show = [](QLineEdit* edit, const std::string& text) {
      // An unchanged field keeps its cursor and selection.
      if (edit->text() != ToQt(text)) edit->setText(ToQt(text));
    };
    show(project_, form_.projectName);
    show(product_, form_.product);
    show(curve_, form_.curveFile);
    show(method_, form_.method);
    FillCombo(controller_, form_.controllers, form_.controller);
    FillCombo(coordinates_, form_.coordinateSystems, form_.coordinateSystem);
    show(programNumber_, form_.programNumber);
    FillCombo(material_, form_.materials, form_.material);
    for (auto& [id, text] : Texts())
      show(fields_[id], *text);
  }

  // The cutting-data fields of the form by control id.
  std::array<std::pair<int, std::string*>, 9> Texts() {
    return {{{5051, &form_.toolDiameter},
             {5251, &form_.spindle},
             {5301, &form_.feed},
             {5101, &form_.toolNumber},
             {5151, &form_.lengthOffset},
             {5201, &form_.radiusOffset},
             {5351, &form_.gCode},
             {5401, &form_.rCode},
             {5501, &form_.qCode}}};
  }

  Context& ctx_;
  std::string inputPath_;
  EuklidNcForm form_;
  UnsavedChanges* changes_ = nullptr;
  bool closing_ = false;
  FieldLeft *diameterLeft_ = nullptr, *numberLeft_ = nullptr;
  QLineEdit *project_ = nullptr, *product_ = nullptr, *curve_ = nullptr, *method_ = nullptr,
            *programNumber_ = nullptr;
  QComboBox *controller_ = nullptr, *coordinates_ = nullptr, *material_ = nullptr;
  std::map<int, QLineEdit*> fields_;
};

}  // namespace

QDialog* MakeEuklidNcDataScreen(Context& ctx, const std::string& inputPath, QWidget* parent) {
  return new EuklidNcDataScreen(ctx, inputPath, parent);
}

}  // namespace talvorin::gui
