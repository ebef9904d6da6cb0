#include "setup/quillset_channel.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

namespace setup {

std::string QuillsetServerName(long pid) {
  return std::string(kQuillsetMessage) + "-" + std::to_string(pid);
}

QuillsetListener::QuillsetListener(std::function<void(unsigned long)> handler)
    : server_(std::make_unique<QLocalServer>()), handler_(std::move(handler)) {
  const QString name = QString::fromStdString(QuillsetServerName(getpid()));
  QLocalServer::removeServer(name);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(name);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        // One line per message: the message's name and its wParam.
        while (socket->canReadLine()) {
          const QList<QByteArray> words = socket->readLine().trimmed().split(' ');
          if (words.size() == 2 && words[0] == kQuillsetMessage) handler_(words[1].toULong());
        }
      });
    }
  });
}

QuillsetListener::~QuillsetListener() {
  server_->close();
}

bool QuillsetListener::Listening() const {
  return server_->isListening();
}

bool SendQuillsetBootstrap(long loaderPid, unsigned long wParam) {
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(QuillsetServerName(loaderPid)));
  if (!socket.waitForConnected(2000)) return false;
  const QByteArray line =
      QByteArray(kQuillsetMessage) + " " + QByteArray::number(qulonglong(wParam)) + "\n";
  socket.write(line);
  const bool sent = socket.waitForBytesWritten(2000);
  socket.disconnectFromServer();
  return sent;
}

}  // namespace setup
