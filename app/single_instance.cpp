#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include "convert/common/program_names.h"

namespace {
constexpr int kConnectMs = 500;
constexpr int kReadMs = 2000;
}  // namespace

CSingleInstance::CSingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_name = QStringLiteral("%1-%2-%3")
                 .arg(QString::fromLatin1(kAppName))
                 .arg(getuid())
                 .arg(QString::fromLatin1(hash));
}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::Forward(const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs)) return false;
    socket.write(file.toUtf8() + '\n');
    socket.waitForBytesWritten(kConnectMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectMs);
    return true;
}

bool CSingleInstance::ClaimOrForward(const QString& file) {
    if (Forward(file)) return false;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(m_name)) {
        // Another copy started at the same moment, or one died and left its
        // socket behind.
        if (Forward(file)) return false;
        QLocalServer::removeServer(m_name);
        if (!m_pServer->listen(m_name)) return true;  // run without the guard
    }
    connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    return true;
}

void CSingleInstance::OnConnection() {
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto deliver = [this, socket] {
            if (!socket->canReadLine()) return;
            const QString file = QString::fromUtf8(socket->readLine()).trimmed();
            socket->disconnectFromServer();
            emit Activated(file);
        };
        connect(socket, &QLocalSocket::readyRead, this, deliver);
        deliver();
    }
}
