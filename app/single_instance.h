// One running copy per user and settings location: the first start listens
// on a local socket; a later start hands over its file argument (possibly
// empty) and exits. The running copy raises its window and opens the file.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT

public:
    // `key` tells copies apart (the user and the settings file).
    explicit CSingleInstance(const QString& key, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this is the first copy (it now listens). False when another
    // copy runs and has received `file`.
    bool ClaimOrForward(const QString& file);

    QString ServerName() const { return m_name; }

signals:
    // Another start asked this copy to come to the front and open `file`
    // (empty: only come to the front).
    void Activated(const QString& file);

private:
    bool Forward(const QString& file);
    void OnConnection();

    QString m_name;
    QLocalServer* m_pServer = nullptr;
};
