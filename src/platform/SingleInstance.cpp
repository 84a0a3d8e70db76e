#include "platform/SingleInstance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {
constexpr int kWaitMs = 1000;
const QByteArray kActivate = "activate:";
QString g_scope;
} // namespace

void SingleInstance::SetScope(const QString& scope) {
    g_scope = scope;
}

SingleInstance& SingleInstance::Instance() {
    static SingleInstance instance;
    return instance;
}

SingleInstance::SingleInstance() {
    connect(this, &SingleInstance::activateRequested, this,
            [](const QString& title) { ActivateWindowByTitle(title); });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString& title) {
    QString safe;
    for (QChar c : title)
        safe += c.isLetterOrNumber() ? c : QChar('_');
    QString name = QStringLiteral("pimora-%1-%2").arg(safe).arg(getuid());
    if (!g_scope.isEmpty())
        name += QLatin1Char('-') + g_scope;
    return name;
}

bool SingleInstance::OtherRunning(const QString& title) {
    QLocalSocket probe;
    probe.connectToServer(ServerName(title));
    return probe.waitForConnected(kWaitMs);
}

bool SingleInstance::Claim(const QString& title) {
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = ServerName(title);
    if (!server->listen(name)) {
        // A socket left by a crashed instance answers nobody: take it over.
        if (OtherRunning(title))
            return false;
        QLocalServer::removeServer(name);
        if (!server->listen(name))
            return false;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    server_ = std::move(server);
    return true;
}

void SingleInstance::Release() {
    server_.reset();
}

bool SingleInstance::RequestActivate(const QString& title) {
    QLocalSocket socket;
    socket.connectToServer(ServerName(title));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kActivate + title.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                if (line.startsWith(kActivate))
                    emit activateRequested(QString::fromUtf8(line.mid(kActivate.size())));
            }
        });
    }
}

bool ActivateWindowByTitle(const QString& title) {
    QWidget* found = nullptr;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->isVisible() && w->windowTitle() == title) {
            found = w;
            break;
        }
    if (!found)
        for (QWidget* w : windows)
            if (w->isVisible() && w->windowTitle().startsWith(title)) {
                found = w;
                break;
            }
    if (!found)
        return false;
    if (found->isMinimized())
        found->showNormal();
    found->raise();
    found->activateWindow();
    return true;
}
