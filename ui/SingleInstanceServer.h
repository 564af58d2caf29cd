#pragma once
// The listening side of the single-instance rule: while the standalone
// editor's main window is open, a second start's request "activate" brings
// that window to the front and is answered "ok".

#include <QLocalServer>
#include <QObject>
#include <QPointer>

#include <string>

class QLocalSocket;
class QWidget;

class CSingleInstanceServer : public QObject {
    Q_OBJECT

public:
    explicit CSingleInstanceServer(QObject* pParent = nullptr);
    ~CSingleInstanceServer() override;

    // Listens for the window on the per-user socket path. A socket file left
    // by an editor that crashed is replaced; one that another editor still
    // listens on is left alone (false).
    bool Start(QWidget* pWindow);
    bool Start(QWidget* pWindow, const std::string& strPath);
    // Stops listening and removes the socket file.
    void Stop();
    bool IsListening() const { return m_server.isListening(); }

    // Restores the window when minimised, raises and activates it.
    static void BringToFront(QWidget* pWindow);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* pSocket);

    QLocalServer m_server;
    QPointer<QWidget> m_pWindow;
};
