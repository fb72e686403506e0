#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace kv
{

// Keeps one running program per user. The first start listens on a local
// socket named after the product; a later start connects, asks the first to
// bring its window forward and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered and was asked to activate itself.
    bool activateRunning(int timeoutMs = 2000);
    // Starts listening; returns false when the socket cannot be created.
    bool listen();

    static QString defaultKey();

signals:
    // Another start asked this instance to restore and raise its window.
    void activationRequested();

private:
    void onNewConnection();
    QString m_key;
    QLocalServer* m_server = nullptr;
};

} // namespace kv
