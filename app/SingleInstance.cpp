#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kv
{

namespace
{
const QByteArray kActivate = "activate\n";
const QByteArray kAck = "ok\n";
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultKey()
{
    // One instance per user, as the Windows mutex was per session.
    return QStringLiteral("Kvelta 2001-%1").arg(getuid());
}

bool SingleInstance::activateRunning(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    // flush() may already have written everything, in which case
    // waitForBytesWritten() has nothing to wait for and says false.
    if (!socket.flush() && socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(timeoutMs))
        return false;
    // Waiting for the answer tells a live instance from a dying one.
    while (socket.bytesAvailable() < kAck.size())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readAll().startsWith(kAck);
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key)) {
        // A socket file left by a crashed instance: nobody answered on it.
        QLocalServer::removeServer(m_key);
        if (!m_server->listen(m_key))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto answer = [this, socket]() {
            if (socket->bytesAvailable() < kActivate.size())
                return;
            if (!socket->readAll().startsWith(kActivate))
                return;
            socket->write(kAck);
            socket->flush();
            emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, answer);
        answer(); // the request may have arrived before the connection above
    }
}

} // namespace kv
