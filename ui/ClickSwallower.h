#pragma once
// Drops the click whose press took the focus from a field that then refused
// its text. The refusal's message box comes between that press and its
// release, so on the system's own dialogs the click never happens; here the
// press is delivered after the focus change, and would act on a button that
// the user never saw clicked while the message was up.

#include <QObject>
#include <QPointer>

class QFocusEvent;
class QWidget;

class CClickSwallower : public QObject {
    Q_OBJECT

public:
    explicit CClickSwallower(QObject* pParent = nullptr);
    ~CClickSwallower() override;

    // Called on the field's focus loss after it refused its text; pTaker is
    // the widget that had the focus before the field took it back. Only a
    // mouse press within the field's window is dropped, with its release.
    void SwallowClick(QWidget* pField, const QFocusEvent& event, QWidget* pTaker);
    void End();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QPointer<QWidget> m_pWindow;
    bool m_bSwallowingRelease = false;
};
