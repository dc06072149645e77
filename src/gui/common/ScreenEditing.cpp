#include "gui/common/ScreenEditing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace talvorin::gui {
namespace {

// Swallows Enter and Return that a field passed on to its screen.
class EnterKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

UnsavedChanges::UnsavedChanges(QDialog* screen, UserDialogs& dialogs)
    : QObject(screen), screen_(screen), dialogs_(dialogs) {}

void UnsavedChanges::WatchFields() {
  for (QWidget* field : screen_->findChildren<QWidget*>())
    Watch(field);
}

void UnsavedChanges::Watch(QWidget* field) {
  // Only the user's own edits: signals that code setting a text or an index does not send.
  if (auto* edit = qobject_cast<QLineEdit*>(field)) {
    connect(edit, &QLineEdit::textEdited, this, [this] { changed_ = true; });
  } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
    // The typed text of an editable drop-down is its line edit, watched above.
    connect(combo, &QComboBox::activated, this, [this] { changed_ = true; });
  } else if (auto* button = qobject_cast<QAbstractButton*>(field)) {
    if (button->isCheckable()) connect(button, &QAbstractButton::clicked, this, [this] { changed_ = true; });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
    // A text box has no user-only signal: a change while it has the focus is the user's.
    connect(plain, &QPlainTextEdit::textChanged, this, [this, plain] {
      if (plain->hasFocus()) changed_ = true;
    });
  } else if (auto* text = qobject_cast<QTextEdit*>(field)) {
    connect(text, &QTextEdit::textChanged, this, [this, text] {
      if (text->hasFocus()) changed_ = true;
    });
  }
}

bool UnsavedChanges::MayClose() {
  if (!changed_) return true;
  if (!dialogs_.AskYesNo(kDiscardQuestion)) return false;
  changed_ = false;
  return true;
}

void KeepEnterInFields(QDialog* screen) {
  screen->installEventFilter(new EnterKeeper(screen));
}

}  // namespace talvorin::gui
