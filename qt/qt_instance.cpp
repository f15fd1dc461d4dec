#include "qt/qt_instance.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace vantic {

namespace {

// The runner may still be setting up its socket when a second start
// arrives; it gets this long to answer.
constexpr int kAnswerWaitMs = 3000;
constexpr int kRetryMs = 100;

bool AskToComeForward(const QString& serverName) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kAnswerWaitMs) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(kRetryMs * 5)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(kRetryMs * 10);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(kRetryMs);
    }
    return false;
}

}  // namespace

// TMPDIR may differ between two starts of the same user (a terminal and a
// desktop launcher), so the rendezvous must not follow it: the session's
// runtime folder, or else the fixed system folder with the user's id in
// every name.
QString QtInstanceGuard::Folder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
        return runtime;
    }
    return QStringLiteral("/tmp");
}

QString QtInstanceGuard::SocketPath(const std::string& name) {
    return QDir(Folder()).filePath(ServerName(name));
}

QString QtInstanceGuard::ServerName(const std::string& name) {
    QString safe;
    for (QChar c : QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))) {
        safe += c.isLetterOrNumber() ? c.toLower() : QChar('-');
    }
    return safe + "-" + QString::number(::getuid());
}

bool QtInstanceGuard::ActivateRunning(const std::string& name) {
    const QString serverName = SocketPath(name);
    lock_ = std::make_unique<QLockFile>(serverName + ".lock");
    lock_->setStaleLockTime(0);  // only a dead holder frees it
    if (lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError) {
        // First, or the lock cannot be used at all: run.
        return false;
    }
    lock_.reset();
    // Another instance holds the lock. Even if it does not answer, this
    // start ends without showing anything.
    (void)AskToComeForward(serverName);
    return true;
}

bool QtInstanceGuard::Claim(const std::string& name, std::function<void()> onActivate) {
    const QString serverName = SocketPath(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket of that name is a dead instance's.
    QLocalServer::removeServer(serverName);
    if (!server_->listen(serverName)) {
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [server = server_.get(), activate = std::move(onActivate)] {
                         while (QLocalSocket* socket = server->nextPendingConnection()) {
                             socket->disconnectFromServer();
                             socket->deleteLater();
                             activate();
                         }
                     });
    return true;
}

}  // namespace vantic
