#pragma once
// Open-by-message: a second start of the program with files hands them to the
// instance already running for the same user, over a local socket in the
// user's private runtime folder, and ends.

#include <functional>
#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace tarvo {

class InstanceServer : public QObject {
    Q_OBJECT
public:
    using OpenHandler = std::function<void(const QStringList&)>;

    // The user's socket: in $XDG_RUNTIME_DIR, else in a folder of the user's own
    // under the temporary folder; empty when no such folder can be trusted.
    static QString DefaultSocketPath();

    explicit InstanceServer(OpenHandler onOpen, QObject* parent = nullptr);
    // Listens at path; a socket left behind by a crashed instance is replaced.
    bool Listen(const QString& path = DefaultSocketPath());
    QString Path() const { return server_.fullServerName(); }

private:
    void OnConnection();

    OpenHandler onOpen_;
    QLocalServer server_;
};

// Sends the files (made absolute) to the running instance; false when none
// answers within timeoutMs.
bool SendToRunningInstance(const QStringList& files,
                           const QString& path = InstanceServer::DefaultSocketPath(),
                           int timeoutMs = 1000);

} // namespace tarvo
