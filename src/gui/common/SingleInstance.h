// One running copy per program and user: the first start listens on a local socket named after the
// program and the user id; a later start connects, asks the first to restore and raise its window,
// and ends.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>

namespace talvorin::gui {

class SingleInstance {
 public:
  // `program`: "talvorin", "quorvex", ...; the socket name adds the user id.
  explicit SingleInstance(const QString& program);
  const QString& Name() const { return name_; }

  // True when a running copy answered and was asked to come forward (waits at most `timeoutMs`).
  bool AskRunningToComeForward(int timeoutMs = 2000);

  // Becomes the running copy: `comeForward` is called whenever a later start asks. A socket left by a
  // copy that crashed is replaced. False when the socket cannot be created (the program then runs
  // without the rule).
  bool Listen(std::function<void()> comeForward);

 private:
  QString name_;
  QLocalServer server_;
  std::function<void()> comeForward_;
};

// Restores a minimised window, raises it and gives it the focus.
void BringForward(QWidget* window);

}  // namespace talvorin::gui
