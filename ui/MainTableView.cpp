#include "ui/MainTableView.h"

#include "common/Log.h"
#include "ui/EmptyTable.h"
#include "ui/MainFormView.h"
#include "ui/MainTableBox.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewNotify.h"

#include <QApplication>
#include <QFocusEvent>
#include <QResizeEvent>

#include <algorithm>
#include <map>

namespace {

std::map<int, CMainTableView::TableFactory>& TableFactories() {
    static std::map<int, CMainTableView::TableFactory> factories = {
        {1, [](int, CObject*) -> CMainTableBox* { return new CEmptyTable(); }},
    };
    return factories;
}

bool IsKnownTableType(int nTableType) {
    return nTableType >= 1 && nTableType <= 19 && nTableType != 15;
}

}  // namespace

CMainTableView::CMainTableView(QWidget* pParent) : QWidget(pParent) {
    setFocusPolicy(Qt::StrongFocus);
}

CMainTableView::~CMainTableView() {
    if (m_pTableBox != nullptr) {
        m_pTableBox->DestroyWindow();
        delete m_pTableBox;
        m_pTableBox = nullptr;
    }
}

void CMainTableView::RegisterTableClass(int nTableType, TableFactory factory) {
    TableFactories()[nTableType] = std::move(factory);
}

bool CMainTableView::IsTableClassRegistered(int nTableType) {
    return TableFactories().count(nTableType) != 0;
}

void CMainTableView::DeleteTableBox() {
    if (m_pTableBox == nullptr) {
        return;
    }
    CMainTableBox* pOld = m_pTableBox;
    m_pTableBox = nullptr;
    // Its settings are saved now; the object goes once the call that may
    // have come from it has returned.
    pOld->SetNotificationsOn(false);
    pOld->DestroyWindow();
    pOld->hide();
    pOld->setParent(nullptr);
    pOld->deleteLater();
}

void CMainTableView::CreateTableBox(int nTableType, CObject* pObject) {
    const bool bHadFocus = m_pTableBox != nullptr && m_pTableBox->hasFocus();
    DeleteTableBox();
    m_nTableType = nTableType;

    CMainTableBox* pTable = nullptr;
    const auto it = TableFactories().find(nTableType);
    if (it != TableFactories().end() && it->second) {
        pTable = it->second(nTableType, pObject);
    } else {
        // A known type keeps its type without a class of its own, so the
        // status line still shows the usage of its data set.
        const bool bKnown = IsKnownTableType(nTableType);
        if (!bKnown) {
            LOG_ERROR("CMainTableView: Unknown tableview type %d", nTableType);
        }
        pTable = new CMainTableBox(bKnown ? nTableType : 0);
    }
    if (pTable == nullptr) {
        LOG_ERROR("CMainTableView: Couldnt create tablebox");
        return;
    }
    pTable->SetNavigationTree(m_pNavigationTree);
    m_pTableBox = pTable;
    if (!pTable->Create(this, rect())) {
        LOG_ERROR("CMainTableView: Couldnt create tablebox");
        m_pTableBox = nullptr;
        pTable->DestroyWindow();
        delete pTable;
        return;
    }
    LayoutTable();
    if (bHadFocus) {
        pTable->setFocus(Qt::OtherFocusReason);
    }
}

void CMainTableView::ShowTreeItem(const TableNodeData* pNodeData) {
    if (pNodeData == nullptr) {
        CreateTableBox(0, nullptr);
        return;
    }
    CreateTableBox(pNodeData->nTableType, pNodeData->pObject);
}

void CMainTableView::SetTableType(const TableNodeData* pNodeData) {
    ShowTreeItem(pNodeData);
}

void CMainTableView::LayoutTable() {
    if (m_pTableBox == nullptr) {
        return;
    }
    const int nWidth = width();
    const int nHeight = height();
    CMainFormView* pForm = m_pTableBox->GetFormView();
    if (pForm != nullptr && pForm->HasWindow() && pForm->parentWidget() == this) {
        if (m_pTableBox->GetColumnCount() > 0) {
            const int h = pForm->height();
            pForm->setGeometry(0, 0, nWidth, h);
            m_pTableBox->setGeometry(0, h, nWidth, std::max(0, nHeight - h));
        } else {
            pForm->setGeometry(0, 0, nWidth, nHeight);
            pForm->raise();
        }
        return;
    }
    m_pTableBox->setGeometry(0, 0, nWidth, nHeight);
}

void CMainTableView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    LayoutTable();
}

void CMainTableView::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    if (m_pTableBox != nullptr) {
        m_pTableBox->setFocus(pEvent->reason());
    } else if (m_pNavigationTree != nullptr && m_pNavigationTree->GetTreeWindow() != nullptr) {
        m_pNavigationTree->GetTreeWindow()->setFocus(pEvent->reason());
    }
}

CParameterDlg* CMainTableView::FindDispatcher() const {
    return m_pDispatcher != nullptr ? m_pDispatcher : CParameterDlg::FromDescendant(this);
}

int CMainTableView::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr) {
        return 0;
    }
    if (m_pTableBox == nullptr || pNotify->pSource != m_pTableBox) {
        return m_pTableBox != nullptr ? m_pTableBox->OnViewNotify(pNotify) : 0;
    }
    pNotify->pSourcePane = this;
    if (CParameterDlg* pDlg = FindDispatcher()) {
        pDlg->OnViewNotify(pNotify);
    }
    return 0;
}
