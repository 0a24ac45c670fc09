#include "app/instance_channel.h"

#include "fw/open_message.h"

#include <memory>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace tarvo {

QString InstanceServer::DefaultSocketPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        // A folder only this user can enter, so no other user reaches the socket.
        folder = QDir::tempPath() + QStringLiteral("/tarvoiir-%1").arg(::getuid());
        QDir().mkdir(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    // Somebody else's folder, or one others may write to: no hand-over at all.
    const QFileInfo info(folder);
    const auto others = QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!info.isDir() || info.ownerId() != ::getuid() || (info.permissions() & others) != 0) {
        return {};
    }
    return folder + QStringLiteral("/tarvoiir.socket");
}

InstanceServer::InstanceServer(OpenHandler onOpen, QObject* parent)
    : QObject(parent), onOpen_(std::move(onOpen)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::OnConnection);
}

bool InstanceServer::Listen(const QString& path) {
    if (path.isEmpty()) return false;
    // Somebody answers there: another instance owns it. (Listening would not
    // notice: with access options the socket is moved into place over the old one.)
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(200)) return false;
    // A socket left behind by a crash.
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void InstanceServer::OnConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
            buffer->append(socket->readAll());
            if (static_cast<std::size_t>(buffer->size()) > fw::kMaxOpenMessageBytes) {
                buffer->clear();
                socket->abort();
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            socket->deleteLater();
            const auto paths = fw::ParseOpenMessage(
                std::string_view(buffer->constData(), static_cast<std::size_t>(buffer->size())));
            if (!paths || paths->empty() || !onOpen_) return;
            QStringList files;
            for (const std::string& p : *paths)
                files.append(QString::fromStdString(p));
            onOpen_(files);
        });
    }
}

bool SendToRunningInstance(const QStringList& files, const QString& path, int timeoutMs) {
    if (path.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) return false;
    std::vector<std::string> absolute;
    for (const QString& f : files)
        absolute.push_back(QFileInfo(f).absoluteFilePath().toStdString());
    const std::string message = fw::MakeOpenMessage(absolute);
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

} // namespace tarvo
