// What the settings screens share: their menu, the byte limit of their fields and their colours.
#include <QAction>
#include <QMenuBar>

#include "gui/common/Binding.h"
#include "gui/talvorin/SettingsScreens.h"
#include "shell/ProgramSetup.h"
#include "store/Cp932.h"
#include "store/Profile.h"

namespace talvorin::gui {

void AddSettingsMenu(QDialog* screen, QBoxLayout* layout, Context& ctx, const char* helpTopic,
                     std::function<void()> save, std::function<void()> load) {
  const std::string topic = helpTopic;
  AddSettingsMenu(screen, layout, std::move(save), std::move(load),
                  [&ctx, topic] { OpenHelpTopic(ctx, topic); });
}

void AddSettingsMenu(QDialog* screen, QBoxLayout* layout, std::function<void()> save,
                     std::function<void()> load, std::function<void()> help) {
  auto* bar = new QMenuBar(screen);
  bar->setObjectName(QStringLiteral("SETTINGMENU"));
  bar->setNativeMenuBar(false);
  struct Item {
    int id;
    const char* caption;
    QKeySequence key;  // every command has a key; Escape closes as cancel does
    std::function<void()> run;
  };
  const Item items[] = {
      {40100, "【保 存】", QKeySequence(Qt::CTRL | Qt::Key_S), std::move(save)},
      {40101, "【読 込】", QKeySequence(Qt::CTRL | Qt::Key_L), std::move(load)},
      {40103, "【取 消】", QKeySequence(Qt::CTRL | Qt::Key_Q), [screen] { screen->reject(); }},
      {40102, "【ヘルプ】", QKeySequence(Qt::Key_F1), std::move(help)},
  };
  for (const Item& item : items) {
    QAction* action = bar->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(QString::number(item.id));
    action->setData(item.id);
    action->setShortcut(item.key);
    // Each action of the screen is one operation of the system.
    QObject::connect(action, &QAction::triggered, screen, [run = item.run] {
      ProfileOperation operation;
      run();
    });
  }
  layout->setMenuBar(bar);
  // The screen is never narrower than its menu: no command hides behind an overflow arrow.
  layout->addSpacerItem(
      new QSpacerItem(bar->sizeHint().width(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
}

QComboBox* NewEditableList(QWidget* parent, int id, int bytes, bool upper) {
  auto* combo = new QComboBox(parent);
  NameControl(combo, id, QString());
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setValidator(new FieldLimitValidator(bytes, upper, combo));
  combo->setMinimumContentsLength(10);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

QValidator::State FieldLimitValidator::validate(QString& input, int& /*pos*/) const {
  if (upper_) {
    // Latin letters only, as the system forces them; Japanese text stays as typed.
    for (QChar& c : input)
      if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
  }
  return Cp932Length(ToStd(input)) <= static_cast<std::size_t>(bytes_) ? Acceptable : Invalid;
}

}  // namespace talvorin::gui
