// How a working screen treats what the user types: a close that would discard changed fields asks
// first, and Enter in a field never closes the screen.
//
// Use in a screen (a QDialog):
//   1. After building the widgets:
//        changes_ = new UnsavedChanges(this, ctx.dialogs);   // owned by the screen
//        changes_->WatchFields();                            // every field under the screen
//        KeepEnterInFields(this);
//   2. After loading the fields and after a successful save: changes_->Saved().
//      After an operation of the screen that changed fields (an import, a calculation): changes_->Changed().
//      Typing, pasting, choosing in a drop-down and clicking a check box count by themselves; texts the
//      screen sets in code do not.
//   3. Every close that discards goes through reject() (Escape, the window's close button, a close
//      command calling reject()), so the screen overrides it:
//        void reject() override { if (changes_->MayClose()) QDialog::reject(); }
//      A save that closes calls Saved() and then accept(), which does not ask.
#pragma once

#include <QDialog>
#include <QObject>
#include <QWidget>

#include "shell/UserDialogs.h"

namespace talvorin::gui {

// The question asked before changed fields are discarded.
inline constexpr const char* kDiscardQuestion = "変更を保存せずに閉じますか？";

class UnsavedChanges : public QObject {
 public:
  UnsavedChanges(QDialog* screen, UserDialogs& dialogs);

  // Watches every line edit, drop-down, check box, radio button and text box under the screen.
  void WatchFields();
  // Watches one field (one added after WatchFields).
  void Watch(QWidget* field);

  void Changed() { changed_ = true; }
  void Saved() { changed_ = false; }
  bool IsChanged() const { return changed_; }

  // True when the screen may close: nothing changed, or the user answered yes to kDiscardQuestion.
  bool MayClose();

 private:
  QDialog* screen_;
  UserDialogs& dialogs_;
  bool changed_ = false;
};

// Enter or Return pressed in a field of `screen` stays there: the field still sees it (a line edit
// finishes its editing), but it never reaches the screen's default-button handling, so it neither
// closes the screen nor clicks a button. A focused push button still clicks on Enter.
void KeepEnterInFields(QDialog* screen);

}  // namespace talvorin::gui
