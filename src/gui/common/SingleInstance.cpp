#include "gui/common/SingleInstance.h"

#include <unistd.h>

#include <QLocalSocket>
#include <QWidget>

namespace talvorin::gui {
namespace {

const QByteArray kComeForward = "raise\n";

}  // namespace

SingleInstance::SingleInstance(const QString& program)
    : name_(QStringLiteral("%1-%2").arg(program).arg(static_cast<qulonglong>(getuid()))) {}

bool SingleInstance::AskRunningToComeForward(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kComeForward);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // The first copy closes the connection once it has read the request.
  socket.waitForDisconnected(timeoutMs);
  return true;
}

bool SingleInstance::Listen(std::function<void()> comeForward) {
  comeForward_ = std::move(comeForward);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name_)) {
    // Nobody answered on the name (checked before), so the socket file is a crashed copy's.
    QLocalServer::removeServer(name_);
    if (!server_.listen(name_)) return false;
  }
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      auto answer = [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == kComeForward && comeForward_) comeForward_();
        socket->disconnectFromServer();
      };
      QObject::connect(socket, &QLocalSocket::readyRead, socket, answer);
      answer();  // the request may already be waiting
    }
  });
  return true;
}

void BringForward(QWidget* window) {
  if (window->isMinimized()) window->showNormal();
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace talvorin::gui
