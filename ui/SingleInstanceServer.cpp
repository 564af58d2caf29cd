#include "ui/SingleInstanceServer.h"

#include "common/Log.h"
#include "platform/base/SingleInstance.h"

#include <QLocalSocket>
#include <QWidget>

namespace {

// A request is one short line; anything longer is no request of ours.
constexpr qint64 kMaxRequest = 64;

}  // namespace

CSingleInstanceServer::CSingleInstanceServer(QObject* pParent) : QObject(pParent) {
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstanceServer::OnNewConnection);
}

CSingleInstanceServer::~CSingleInstanceServer() {
    Stop();
}

bool CSingleInstanceServer::Start(QWidget* pWindow) {
    return Start(pWindow, platform::GetSingleInstanceSocketPath());
}

bool CSingleInstanceServer::Start(QWidget* pWindow, const std::string& strPath) {
    Stop();
    if (platform::IsEditorListening(strPath)) {
        LOG_WARNING("Another editor listens on \"%s\"", strPath.c_str());
        return false;
    }
    const QString strName = QString::fromStdString(strPath);
    // Nobody listens, so a file there is left over from a crash.
    QLocalServer::removeServer(strName);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(strName)) {
        LOG_WARNING("Cannot listen on \"%s\": %s", strPath.c_str(), m_server.errorString().toUtf8().constData());
        return false;
    }
    m_pWindow = pWindow;
    return true;
}

void CSingleInstanceServer::Stop() {
    if (m_server.isListening()) {
        m_server.close();
    }
    m_pWindow = nullptr;
}

void CSingleInstanceServer::BringToFront(QWidget* pWindow) {
    if (pWindow == nullptr) {
        return;
    }
    if (pWindow->isMinimized()) {
        pWindow->setWindowState(pWindow->windowState() & ~Qt::WindowMinimized);
    }
    pWindow->show();
    pWindow->raise();
    pWindow->activateWindow();
}

void CSingleInstanceServer::OnNewConnection() {
    while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket]() { OnReadyRead(pSocket); });
        if (pSocket->bytesAvailable() > 0) {
            OnReadyRead(pSocket);
        }
    }
}

void CSingleInstanceServer::OnReadyRead(QLocalSocket* pSocket) {
    if (!pSocket->canReadLine()) {
        if (pSocket->bytesAvailable() > kMaxRequest) {
            pSocket->disconnectFromServer();
        }
        return;
    }
    const QByteArray request = pSocket->readLine(kMaxRequest).trimmed();
    if (request == "activate") {
        BringToFront(m_pWindow);
        pSocket->write("ok\n");
        pSocket->flush();
    }
    pSocket->disconnectFromServer();
}
