#include "editors/groups/QuantityTable.h"

#include "editors/groups/QuantityWnd.h"
#include "model/Quantity.h"
#include "common/Log.h"
#include "ui/ViewNotify.h"

#include <QEvent>

CQuantityTable::CQuantityTable(CQuantity* pQuantity) : CMainTableBox(kTableType) {
    SetObjectKind(VOK_QUANTITY);
    // Records of quantities added to the collection name another parent, so
    // no row is ever added here.
    SetParentObject(pQuantity);
}

CQuantityTable::~CQuantityTable() {
    if (m_pForm != nullptr) {
        m_pForm->SetTable(nullptr);
        m_pForm->SetQuantity(nullptr);
        m_pForm->hide();
        m_pForm->deleteLater();
    }
}

CQuantityWnd* CQuantityTable::GetQuantityForm() const {
    return m_pForm;
}

CQuantity* CQuantityTable::GetQuantity() const {
    return static_cast<CQuantity*>(GetParentObjectMember());
}

int CQuantityTable::OnCreate() {
    // The form needs the table's pane and rectangle, which it has now.
    if (m_pForm == nullptr && !CreateForm()) {
        LOG_ERROR("CQuantityTable: Couldnt create form view window");
        return -1;
    }
    return 0;
}

bool CQuantityTable::CreateForm() {
    auto* pForm = new CQuantityWnd(this);
    if (!pForm->Create(parentWidget(), geometry())) {
        delete pForm;
        return false;
    }
    pForm->setFont(font());
    for (QWidget* pChild : pForm->findChildren<QWidget*>()) {
        pChild->setFont(font());
    }
    pForm->SetQuantity(GetQuantity());
    pForm->SetTable(this);
    pForm->Refresh();
    pForm->raise();
    m_pForm = pForm;
    return true;
}

int CQuantityTable::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify != nullptr && pNotify->nHandled == 0 && pNotify->nType == VN_CHANGED &&
        pNotify->nKind == VOK_QUANTITY && pNotify->pObject != nullptr && pNotify->pObject == GetParentObjectMember()) {
        if (m_pForm != nullptr) {
            m_pForm->Refresh();
        }
        pNotify->nHandled = VNH_HANDLED;
        return 1;
    }
    if (pNotify != nullptr && pNotify->nType == VN_CHANGED) {
        // Without rows there is nothing to show anew, and a change of
        // another quantity is none of this pane's business: it stays
        // unhandled (the base claims every change of its object kind).
        return 0;
    }
    return CMainTableBox::OnViewNotify(pNotify);
}

bool CQuantityTable::event(QEvent* pEvent) {
    // The pane lays out the table only; the form follows it.
    if (m_pForm != nullptr) {
        switch (pEvent->type()) {
            case QEvent::Move:
            case QEvent::Resize: m_pForm->setGeometry(geometry()); break;
            case QEvent::ShowToParent: m_pForm->show(); break;
            case QEvent::HideToParent: m_pForm->hide(); break;
            default: break;
        }
    }
    return CMainTableBox::event(pEvent);
}
