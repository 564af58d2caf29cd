#include "ui/ClickSwallower.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

CClickSwallower::CClickSwallower(QObject* pParent) : QObject(pParent) {}

CClickSwallower::~CClickSwallower() {
    End();
}

void CClickSwallower::SwallowClick(QWidget* pField, const QFocusEvent& event, QWidget* pTaker) {
    End();
    if (pField == nullptr || event.reason() != Qt::MouseFocusReason || pTaker == nullptr || pTaker == pField ||
        pTaker->window() != pField->window()) {
        return;
    }
    m_pWindow = pField->window();
    // Watched on the whole application: the press may go to a child of the
    // widget that took the focus, such as a view's viewport.
    qApp->installEventFilter(this);
    // The press that moved the focus is delivered right after the focus
    // change; anything later is a click of its own.
    QTimer::singleShot(0, this, [this]() {
        if (!m_bSwallowingRelease) {
            End();
        }
    });
}

void CClickSwallower::End() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
    m_pWindow = nullptr;
    m_bSwallowingRelease = false;
}

bool CClickSwallower::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (m_pWindow == nullptr || !pWatched->isWidgetType() ||
        static_cast<QWidget*>(pWatched)->window() != m_pWindow) {
        return QObject::eventFilter(pWatched, pEvent);
    }
    switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // A release that went elsewhere (to the message box) ends it.
            if (QGuiApplication::mouseButtons() != Qt::NoButton) {
                m_bSwallowingRelease = true;
            } else {
                End();
            }
            return true;
        case QEvent::MouseButtonRelease:
            End();
            return true;
        default:
            return QObject::eventFilter(pWatched, pEvent);
    }
}
