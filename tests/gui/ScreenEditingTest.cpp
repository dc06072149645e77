// The unsaved-changes question and the Enter key on a small screen of every kind of field, driven by
// keys and clicks as a user drives a working screen.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "gui/common/ScreenEditing.h"
#include "testing/TestDoubles.h"

using namespace talvorin;
using namespace talvorin::gui;

namespace {

// A screen built as the working screens are: the guard watches its fields and decides its reject().
class Guarded : public QDialog {
 public:
  explicit Guarded(UserDialogs& dialogs) {
    auto* layout = new QVBoxLayout(this);
    edit = new QLineEdit(this);
    kinds = new QComboBox(this);
    kinds->addItems({QStringLiteral("ドリル穴 [DRILL]"), QStringLiteral("タップ穴 [NTAP]")});
    names = new QComboBox(this);
    names->setEditable(true);
    names->addItems({QStringLiteral("ドリル"), QStringLiteral("タップ")});
    check = new QCheckBox(QStringLiteral("[ON/OFF]"), this);
    text = new QPlainTextEdit(this);
    button = new QPushButton(QStringLiteral("実行"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{edit, kinds, names, check, text, button})
      layout->addWidget(w);
    connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
    changes = new UnsavedChanges(this, dialogs);
    changes->WatchFields();
    KeepEnterInFields(this);
  }
  void reject() override {
    if (changes->MayClose()) QDialog::reject();
  }

  QLineEdit* edit;
  QComboBox *kinds, *names;
  QCheckBox* check;
  QPlainTextEdit* text;
  QPushButton* button;
  UnsavedChanges* changes;
  int clicks = 0;
};

struct Shown {
  Shown() : screen(dialogs) {
    screen.show();
    if (!QTest::qWaitForWindowExposed(&screen)) qFatal("screen not shown");
  }
  // Escape on the focused field: the screen closes unless the question keeps it open.
  bool CloseWithEscape() {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &screen, Qt::Key_Escape);
    return !screen.isVisible();
  }
  ScriptedDialogs dialogs;
  Guarded screen;
};

}  // namespace

class ScreenEditingTest : public QObject {
  Q_OBJECT

 private slots:
  void textsSetByTheScreenCloseWithoutAQuestion() {
    Shown s;
    // What the screen loads itself is no change of the user's.
    s.screen.edit->setText(QStringLiteral("12.5"));
    s.screen.kinds->setCurrentIndex(1);
    s.screen.names->setEditText(QStringLiteral("センタ"));
    s.screen.check->setChecked(true);
    s.screen.text->setPlainText(QStringLiteral("G90"));
    QVERIFY(!s.screen.changes->IsChanged());
    s.screen.edit->setFocus();
    QVERIFY(s.CloseWithEscape());
    QCOMPARE(s.screen.result(), int(QDialog::Rejected));
    QVERIFY(s.dialogs.asked.empty());
  }

  void eachKindOfEditAsksBeforeDiscarding() {
    // Typing, picking a list entry, typing into a drop-down, checking a check box, typing in a text box.
    const std::function<void(Guarded&)> edits[] = {
        [](Guarded& g) { QTest::keyClicks(g.edit, QStringLiteral("5")); },
        [](Guarded& g) {
          g.kinds->setFocus();
          QTest::keyClick(g.kinds, Qt::Key_Down);
        },
        [](Guarded& g) { QTest::keyClicks(g.names->lineEdit(), QStringLiteral("2")); },
        [](Guarded& g) {
          g.check->setFocus();
          QTest::keyClick(g.check, Qt::Key_Space);
        },
        [](Guarded& g) {
          g.text->setFocus();
          QTest::keyClicks(g.text, QStringLiteral("M30"));
        },
    };
    int n = 0;
    for (const auto& edit : edits) {
      Shown s;
      s.screen.edit->setFocus();
      edit(s.screen);
      QVERIFY2(s.screen.changes->IsChanged(), qPrintable(QString::number(n)));
      // No: the screen stays open with what was typed.
      s.dialogs.answers = {false};
      QVERIFY(!s.CloseWithEscape());
      QCOMPARE(s.dialogs.asked, std::vector<std::string>{"変更を保存せずに閉じますか？"});
      // The window's close button asks the same; yes closes.
      s.dialogs.answers = {true};
      QVERIFY(s.screen.close());
      QVERIFY(!s.screen.isVisible());
      QCOMPARE(s.dialogs.asked.size(), std::size_t{2});
      ++n;
    }
  }

  void savedAndChangedMarkTheScreen() {
    Shown s;
    s.screen.edit->setFocus();
    QTest::keyClicks(s.screen.edit, QStringLiteral("8"));
    s.screen.changes->Saved();  // a save succeeded
    QVERIFY(s.CloseWithEscape());
    QVERIFY(s.dialogs.asked.empty());

    Shown t;
    t.screen.changes->Changed();  // an import filled fields
    t.screen.edit->setFocus();
    QVERIFY(!t.CloseWithEscape());
    QCOMPARE(t.dialogs.asked.size(), std::size_t{1});
    // accept() is the save that closes: never asked.
    t.screen.accept();
    QVERIFY(!t.screen.isVisible());
    QCOMPARE(t.dialogs.asked.size(), std::size_t{1});
  }

  void enterStaysInTheField() {
    Shown s;
    QVERIFY(s.screen.button->autoDefault());
    int finished = 0;
    QObject::connect(s.screen.edit, &QLineEdit::editingFinished, [&finished] { ++finished; });
    s.screen.edit->setFocus();
    QTest::keyClicks(s.screen.edit, QStringLiteral("30"));
    QTest::keyClick(s.screen.edit, Qt::Key_Return);
    QTest::keyClick(s.screen.edit, Qt::Key_Enter);
    s.screen.kinds->setFocus();
    QTest::keyClick(s.screen.kinds, Qt::Key_Return);
    s.screen.check->setFocus();
    QTest::keyClick(s.screen.check, Qt::Key_Return);
    QVERIFY(s.screen.isVisible());
    QCOMPARE(s.screen.clicks, 0);
    QVERIFY(finished >= 1);  // the field itself still sees Enter
    QCOMPARE(s.screen.edit->text(), QStringLiteral("30"));
    // A focused button is pressed with Enter, as a user expects.
    s.screen.button->setFocus();
    QTest::keyClick(s.screen.button, Qt::Key_Return);
    QCOMPARE(s.screen.clicks, 1);
    QVERIFY(s.screen.isVisible());
  }
};

QTEST_MAIN(ScreenEditingTest)
#include "ScreenEditingTest.moc"
