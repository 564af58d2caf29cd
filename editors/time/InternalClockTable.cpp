#include "editors/time/InternalClockTable.h"

#include "app/Chronoset.h"
#include "editors/time/InternalClockEditWnd.h"
#include "common/Log.h"
#include "ui/ViewNotify.h"

#include <QEvent>

CInternalClockTable::CInternalClockTable() : CMainTableBox(kTableType) {}

CInternalClockTable::~CInternalClockTable() {
    if (m_pEditWnd != nullptr) {
        m_pEditWnd->SetOwnerTable(nullptr);
        // The form writes its time values back once more as it goes.
        m_pEditWnd->DestroyWindow();
        m_pEditWnd->deleteLater();
    }
}

CInternalClockEditWnd* CInternalClockTable::GetClockForm() const {
    return m_pEditWnd;
}

int CInternalClockTable::OnCreate() {
    if (CMainTableBox::OnCreate() == -1) {
        return -1;
    }
    EditEntry(0);
    return 0;
}

int CInternalClockTable::EditEntry(int /*nEntry*/) {
    if (m_pEditWnd == nullptr) {
        m_pEditWnd = new CInternalClockEditWnd(g_pChronoset, this);
    }
    if (!m_pEditWnd->HasWindow()) {
        if (!m_pEditWnd->Create(parentWidget(), geometry())) {
            LOG_ERROR("CInternalClockTable: Couldnt create form view window");
            return 0;
        }
        m_pEditWnd->raise();
    }
    return 1;
}

bool CInternalClockTable::FillTable() {
    if (m_pEditWnd != nullptr && m_pEditWnd->HasWindow()) {
        m_pEditWnd->FillControls();
    }
    return true;
}

int CInternalClockTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify != nullptr && pNotify->nType == VN_DATA_REPLACED && pNotify->nHandled == 0) {
        FillTable();
        pNotify->nHandled = VNH_HANDLED;
    }
    return CMainTableBox::OnViewNotify(pNotify);
}

bool CInternalClockTable::event(QEvent* pEvent) {
    // The form lives beside the table in the pane; it follows the table's
    // place, size and visibility.
    if (m_pEditWnd != nullptr) {
        switch (pEvent->type()) {
            case QEvent::Move:
            case QEvent::Resize: m_pEditWnd->setGeometry(geometry()); break;
            case QEvent::ShowToParent: m_pEditWnd->show(); break;
            case QEvent::HideToParent: m_pEditWnd->hide(); break;
            default: break;
        }
    }
    return CMainTableBox::event(pEvent);
}
