// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace velmora {

// One running copy per user and application title. A lock file in the temporary folder
// decides which copy owns the title; the owner listens on a local socket named after it, and
// a later copy sends it a request to come to the front instead of starting. A lock or socket
// left behind by a crash never keeps the program from starting.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString &title, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this copy now owns the title and goes on starting. False when a running copy
    // was asked to come to the front: this one must end without creating a window.
    [[nodiscard]] bool claim();
    bool isOwner() const { return m_owner; }

    QString lockFilePath() const;
    QString serverName() const { return m_key; }

Q_SIGNALS:
    // A later copy asked this one to restore itself when minimised, else to come forward.
    void activationRequested();

private:
    bool askOwnerToActivate() const;
    void becomeOwner();
    void acceptConnections();

    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_owner = false;
};

} // namespace velmora
