// The hole form "EUKLIDHOLEDLG" of the EUKLID hole import: the circles of the EUKLID file in 20 rows,
// each given its hole kind, grouped by kind, diameter and depth and saved as the project's hole groups.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>
#include <cmath>

#include "euklid/Euklid.h"
#include "gui/common/ScreenEditing.h"
#include "gui/common/WindowLook.h"
#include "gui/talvorin/EuklidScreens.h"
#include "gui/talvorin/SettingsScreens.h"
#include "store/Profile.h"

namespace talvorin::gui {
namespace {

constexpr int kValueBytes = 15;   // diameter, coordinates, group
constexpr int kVisibleRows = 10;  // rows shown at once; the rest by scrolling

// The columns after the kind list: control id base, heading, width in digits.
struct Column {
  int base;
  const char* heading;
  int chars;
};
constexpr std::array<Column, 5> kColumns = {{
    {6100, "穴 径", 7},
    {6200, "座標Ｘ", 9},
    {6300, "座標Ｙ", 9},
    {6400, "座標Ｚ", 9},
    {6500, "グループ", 7},
}};

// Qt's scroll bar actions as the form's.
EuklidScroll ScrollAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return EuklidScroll::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return EuklidScroll::kLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return EuklidScroll::kPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return EuklidScroll::kPageDown;
    case QAbstractSlider::SliderToMinimum:
      return EuklidScroll::kTop;
    case QAbstractSlider::SliderToMaximum:
      return EuklidScroll::kBottom;
    default:
      return EuklidScroll::kThumb;
  }
}

class EuklidHoleScreen : public QDialog {
 public:
  EuklidHoleScreen(Context& ctx, const std::string& inputPath, const MainForm& main, QWidget* parent)
      : QDialog(parent), ctx_(ctx), inputPath_(inputPath), main_(main) {
    setObjectName(QStringLiteral("EUKLIDHOLEDLG"));
    setWindowTitle(QStringLiteral("円（穴）データ取り込み"));
    Build();
    ApplyColours(ctx_.inst, this);
    PlaceOnScreen(ctx_.inst, this);
    changes_ = new UnsavedChanges(this, ctx_.dialogs);
    changes_->WatchFields();
    KeepEnterInFields(this);
    // Opening: scroll position 0, the kind lists, then the circles of the file (command 40311).
    {
      ProfileOperation operation;
      OpenEuklidHoleForm(ctx_, form_, inputPath_);
    }
    WidgetsFromForm();
    changes_->Saved();
    kinds_[0]->setFocus();
  }

  void reject() override {
    if (changes_->MayClose()) QDialog::reject();
  }

 private:
  QWidget* BuildRows() {
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // Created row by row, left to right, so Tab runs in reading order.
    for (int r = 0; r < kEuklidHoleRows; ++r) {
      const auto n = static_cast<std::size_t>(r);
      const QString caption = QStringLiteral("%1").arg(r + 1, 2);
      auto* label = new QLabel(caption, rows);
      label->setFixedWidth(digit * 3);
      grid->addWidget(label, r, 0);
      auto* kind = new QComboBox(rows);
      NameControl(kind, 6000 + r, QStringLiteral("%1 穴の種類").arg(r + 1));
      kind->setMinimumContentsLength(22);
      kind->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      connect(kind, &QComboBox::activated, this, [this, r] { KindChosen(r); });
      label->setBuddy(kind);
      grid->addWidget(kind, r, 1);
      kinds_[n] = kind;
      for (std::size_t c = 0; c < kColumns.size(); ++c) {
        auto* edit = new QLineEdit(rows);
        NameControl(edit, kColumns[c].base + r,
                    QStringLiteral("%1 %2").arg(r + 1).arg(QString::fromUtf8(kColumns[c].heading)));
        edit->setValidator(new FieldLimitValidator(kValueBytes, false, edit));
        edit->setFixedWidth(digit * kColumns[c].chars + 12);
        grid->addWidget(edit, r, static_cast<int>(c) + 2);
        fields_[n][c] = edit;
      }
    }
    grid->setColumnStretch(static_cast<int>(kColumns.size()) + 2, 1);
    return rows;
  }

  // The headings over the rows, each as wide as its column.
  QWidget* BuildHeadings(QWidget* rows) {
    auto* headings = new QWidget(this);
    auto* line = new QHBoxLayout(headings);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    auto add = [&](const QString& text, int width) {
      auto* heading = new QLabel(text, headings);
      heading->setFixedWidth(width);
      heading->setAlignment(Qt::AlignCenter);
      line->addWidget(heading);
    };
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    rows->ensurePolished();
    add(QString(), digit * 3);
    add(QStringLiteral("穴の種類"), kinds_[0]->sizeHint().width());
    for (const Column& c : kColumns)
      add(QString::fromUtf8(c.heading), digit * c.chars + 12);
    line->addStretch(1);
    return headings;
  }

  void Build() {
    auto* layout = new QVBoxLayout(this);
    BuildMenu(layout);
    QWidget* rows = BuildRows();
    layout->addWidget(BuildHeadings(rows));

    // The rows scroll under the form's own scroll bar (positions 0 to 720); the area's bar is hidden
    // and follows it, and moves it when the focus goes to a row out of sight.
    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("EUKHOLEROWS"));
    area_->setFrameShape(QFrame::NoFrame);
    area_->setWidgetResizable(true);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setFocusPolicy(Qt::NoFocus);
    area_->setWidget(rows);
    const int rowHeight = rows->sizeHint().height() / kEuklidHoleRows;
    area_->setMinimumWidth(rows->sizeHint().width());
    area_->setMinimumHeight(rowHeight * kVisibleRows);

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("EUKHOLESCROLL"));
    scroll_->setAccessibleName(QStringLiteral("スクロール"));
    scroll_->setRange(0, kEuklidScrollRange);
    scroll_->setSingleStep(kEuklidScrollLine);
    scroll_->setPageStep(kEuklidScrollPage);
    connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) {
      scroll_->setSliderPosition(
          ScrollEuklidHoleForm(scroll_->value(), ScrollAction(action), scroll_->sliderPosition()));
    });
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int position) { ScrollTo(position); });
    QScrollBar* inner = area_->verticalScrollBar();
    connect(inner, &QScrollBar::valueChanged, this, [this](int offset) { FollowArea(offset); });
    connect(inner, &QScrollBar::rangeChanged, this, [this] { ScrollTo(scroll_->value()); });

    auto* body = new QHBoxLayout;
    body->addWidget(area_, 1);
    body->addWidget(scroll_);
    layout->addLayout(body, 1);
  }

  // The command bar "EUKHOLEMENU"; every command also has a key.
  void BuildMenu(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("EUKHOLEMENU"));
    bar->setNativeMenuBar(false);
    // Each command is one operation of the system; a command without action is shown disabled.
    auto command = [this, bar](int id, const char* caption, QKeySequence key,
                               void (EuklidHoleScreen::*run)()) {
      QAction* action = AddCommand(bar, id, caption, key, this, [this, run] {
        ProfileOperation operation;
        if (run) (this->*run)();
      });
      action->setEnabled(run != nullptr);
    };
    command(40311, "【読込】", QKeySequence(Qt::CTRL | Qt::Key_L), &EuklidHoleScreen::Read);
    command(40314, "【グループ】", QKeySequence(Qt::CTRL | Qt::Key_G), &EuklidHoleScreen::Group);
    command(40312, "【保存】", QKeySequence(Qt::CTRL | Qt::Key_S), &EuklidHoleScreen::Save);
    command(40313, "【図面表示】", QKeySequence(), nullptr);
    command(40103, "【終了】", QKeySequence(Qt::CTRL | Qt::Key_Q), &EuklidHoleScreen::Close);
    layout->setMenuBar(bar);
    layout->addSpacerItem(
        new QSpacerItem(bar->sizeHint().width(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
  }

  // --- Scrolling ---

  // The form's position moves the rows by the same share of their hidden height.
  void ScrollTo(int position) {
    form_.scroll = position;
    QScrollBar* inner = area_->verticalScrollBar();
    following_ = true;
    inner->setValue(static_cast<int>(std::lround(double(position) * inner->maximum() / kEuklidScrollRange)));
    following_ = false;
  }
  // The rows moved by themselves (the focus went to a row out of sight, the mouse wheel).
  void FollowArea(int offset) {
    if (following_) return;
    const int maximum = area_->verticalScrollBar()->maximum();
    if (maximum <= 0) return;
    following_ = true;
    scroll_->setValue(static_cast<int>(std::lround(double(offset) * kEuklidScrollRange / maximum)));
    form_.scroll = scroll_->value();
    following_ = false;
  }

  // --- Commands ---

  void Read() {
    FormFromWidgets();
    ReadEuklidHoleFile(ctx_, form_, inputPath_);
    WidgetsFromForm();
  }
  void Group() {
    FormFromWidgets();
    const int groups = HoleDataGrouping(ctx_, form_);
    WidgetsFromForm();
    if (groups >= 0) changes_->Changed();
  }
  // Saved: the form closes with result 1; a stop leaves it open for the row to be corrected.
  void Save() {
    FormFromWidgets();
    if (SaveEuklidHole(ctx_, form_, main_) != 0) return;
    changes_->Saved();
    done(QDialog::Accepted);
  }
  void Close() { reject(); }

  void KindChosen(int row) {
    ProfileOperation operation;
    FormFromWidgets();
    CheckCounterboreRow(ctx_, form_, row);
  }

  // --- Form and widgets ---

  void FormFromWidgets() {
    for (std::size_t r = 0; r < form_.rows.size(); ++r) {
      EuklidHoleRow& row = form_.rows[r];
      row.kind = ToStd(kinds_[r]->currentText());
      std::string* texts[] = {&row.diameter, &row.x, &row.y, &row.z, &row.group};
      for (std::size_t c = 0; c < kColumns.size(); ++c)
        *texts[c] = ToStd(fields_[r][c]->text());
    }
  }

  void WidgetsFromForm() {
    for (std::size_t r = 0; r < form_.rows.size(); ++r) {
      const EuklidHoleRow& row = form_.rows[r];
      QComboBox* kind = kinds_[r];
      // The lists hold the table's kinds; a kind not among them (none chosen) shows empty.
      if (kind->count() != static_cast<int>(form_.kinds.size())) {
        kind->clear();
        for (const std::string& entry : form_.kinds)
          kind->addItem(ToQt(entry));
      }
      kind->setCurrentIndex(row.kind.empty() ? -1 : kind->findText(ToQt(row.kind), Qt::MatchExactly));
      const std::string* texts[] = {&row.diameter, &row.x, &row.y, &row.z, &row.group};
      for (std::size_t c = 0; c < kColumns.size(); ++c) {
        const QString text = ToQt(*texts[c]);
        if (fields_[r][c]->text() != text) fields_[r][c]->setText(text);
      }
    }
    scroll_->setValue(form_.scroll);
  }

  Context& ctx_;
  const std::string inputPath_;
  const MainForm& main_;
  EuklidHoleForm form_;
  UnsavedChanges* changes_ = nullptr;
  bool following_ = false;
  std::array<QComboBox*, kEuklidHoleRows> kinds_{};
  std::array<std::array<QLineEdit*, kColumns.size()>, kEuklidHoleRows> fields_{};
  QScrollArea* area_ = nullptr;
  QScrollBar* scroll_ = nullptr;
};

}  // namespace

QDialog* MakeEuklidHoleScreen(Context& ctx, const std::string& inputPath, const MainForm& main,
                              QWidget* parent) {
  return new EuklidHoleScreen(ctx, inputPath, main, parent);
}

}  // namespace talvorin::gui
