#include "ui/ParameterDlg.h"

#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "app/StartUp.h"
#include "model/Globals.h"
#include "model/ResString.h"
#include "platform/base/PathUtil.h"
#include "ui/DialogToolBar.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <QPoint>

namespace {

constexpr char kTitleSeparator[] = " - ";

bool IsVekManufacturer() {
    return g_atlModule.m_strManuf == kDefaultManuf;
}

}  // namespace

CParameterDlg::CParameterDlg(CObject* /*pDeviceObject*/, QWidget* pParent) : CDialog(IDD, pParent) {
    // The start-up registers this class with the product icon.
    SetWindowClass(kMainWindowClassName);
}

CParameterDlg::~CParameterDlg() = default;

BOOL CParameterDlg::OnInitDialog() {
    UpdateTitle();
    return FALSE;
}

void CParameterDlg::OnOK() {}

void CParameterDlg::OnCancel() {}

void CParameterDlg::OnClose() {
    EndDialog(IDOK);
}

std::string CParameterDlg::BuildTitle() {
    const bool bVek = IsVekManufacturer();
    std::string strTitle = bVek ? GetResString(1100, "Vek") : GetResString(1105, "Applikationsbaustein");
    strTitle += kTitleSeparator;
    strTitle += g_bStandalone ? GetResString(1103, "Parametriersoftware Tavik 2.1") : GetResString(1101, "Tavik/2");
    strTitle += kTitleSeparator;
    if (g_bStandalone && g_pChronoset != nullptr) {
        const std::string strPath = g_pChronoset->GetFilePath();
        if (!strPath.empty()) {
            strTitle += platform::PathFileName(strPath);
            strTitle += kTitleSeparator;
        }
    }
    strTitle += g_pChronoset != nullptr ? g_pChronoset->GetIndividualAddressText() : std::string("--.--.---");
    if (!g_bStandalone && bVek) {
        strTitle += ' ';
        strTitle += GetResString(1102, "ORV/X2.1 Applikationsbaustein");
    }
    return strTitle;
}

void CParameterDlg::UpdateTitle() {
    SetWindowText(BuildTitle());
}

void CParameterDlg::SetPanes(IViewPane* pTreeView1, IViewPane* pTableView1, IViewPane* pTreeView2,
                             IViewPane* pTableView2) {
    m_pTreeView1 = pTreeView1;
    m_pTableView1 = pTableView1;
    m_pTreeView2 = pTreeView2;
    m_pTableView2 = pTableView2;
    if (!IsPane(m_pFocusedPane)) {
        m_pFocusedPane = nullptr;
    }
}

bool CParameterDlg::IsPane(const IViewPane* pPane) const {
    return pPane != nullptr &&
           (pPane == m_pTreeView1 || pPane == m_pTableView1 || pPane == m_pTreeView2 || pPane == m_pTableView2);
}

void CParameterDlg::UpdateUsage(int /*nTableType*/) {}

bool CParameterDlg::SetClipboardObject(const CObject* pObject) {
    return m_clipboard.SetObject(pObject);
}

bool CParameterDlg::AppendClipboardObject(const CObject* pObject) {
    return m_clipboard.AppendObject(pObject);
}

bool CParameterDlg::ClipboardOffers(int nTableType, int nKind) const {
    return m_clipboard.Offers(nTableType, nKind);
}

CObject* CParameterDlg::GetFirstClipboardObject(int nKind) {
    return m_clipboard.GetFirst(nKind);
}

CObject* CParameterDlg::GetNextClipboardObject(int nKind) {
    return m_clipboard.GetNext(nKind);
}

void CParameterDlg::Broadcast(VIEWNOTIFY* pNotify) {
    IViewPane* const pSourcePane = pNotify->pSourcePane;
    CMainTableBox* const pKeptSource = pNotify->pSource;
    const void* const pKeptTree = pNotify->pSourceTree;
    int nCollected = pNotify->nHandled;
    const bool bNotBack = pNotify->nType == VN_DATA_REPLACED;

    auto toTree = [&](IViewPane* pTree) {
        if (pTree == nullptr || pTree == pSourcePane) {
            return;
        }
        pNotify->pSource = pKeptSource;
        pNotify->pSourceTree = pKeptTree;
        pNotify->nHandled = 0;
        pTree->OnViewNotify(pNotify);
        nCollected |= pNotify->nHandled;
    };
    auto toTable = [&](IViewPane* pTable) {
        if (pTable == nullptr || (pTable == pSourcePane && bNotBack)) {
            return;
        }
        // The sending table gets its own record back as an ordinary one.
        pNotify->pSource = pTable != pSourcePane ? pKeptSource : nullptr;
        pNotify->pSourceTree = pTable != pSourcePane ? pKeptTree : nullptr;
        pNotify->nHandled = 0;
        pTable->OnViewNotify(pNotify);
        nCollected |= pNotify->nHandled;
    };
    toTree(m_pTreeView1);
    toTable(m_pTableView1);
    toTree(m_pTreeView2);
    toTable(m_pTableView2);
    pNotify->pSource = pKeptSource;
    pNotify->pSourceTree = pKeptTree;
    pNotify->nHandled = nCollected;
}

void CParameterDlg::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr) {
        return;
    }
    IViewPane* const pSourcePane = pNotify->pSourcePane;
    switch (pNotify->nType) {
    case VN_ADDED:
    case VN_REMOVED:
    case VN_KINDS_CHANGED:
        UpdateUsage(pNotify->nTableType);
        Broadcast(pNotify);
        break;
    case VN_CHANGED:
    case VN_DATA_REPLACED:
        Broadcast(pNotify);
        break;
    case VN_CLIPBOARD_SET:
        SetClipboardObject(pNotify->pObject);
        break;
    case VN_CLIPBOARD_APPEND:
        AppendClipboardObject(pNotify->pObject);
        break;
    case VN_CLIPBOARD_FIRST:
        pNotify->pObject = GetFirstClipboardObject(pNotify->nKind);
        break;
    case VN_CLIPBOARD_NEXT:
        pNotify->pObject = GetNextClipboardObject(pNotify->nKind);
        break;
    case VN_DROP:
        pNotify->pSource = nullptr;
        pNotify->pSourceTree = nullptr;
        if (IsPane(pNotify->pTargetPane)) {
            pNotify->pTargetPane->OnViewNotify(pNotify);
        } else {
            pNotify->nHandled |= VNH_NO_TARGET;
        }
        break;
    case VN_ACTIVATE:
        m_pFocusedPane = pSourcePane;
        UpdateUsage(pNotify->nValue == 1 ? pNotify->nTableType : 0);
        pNotify->nHandled = VNH_HANDLED;
        break;
    case VN_BOTH_TABLES: {
        bool bAny = false;
        for (IViewPane* pTable : {m_pTableView1, m_pTableView2}) {
            if (pTable != nullptr) {
                VIEWNOTIFY copy = *pNotify;
                pTable->OnViewNotify(&copy);
                bAny = true;
            }
        }
        if (bAny) {
            pNotify->nHandled = VNH_HANDLED;
        }
        break;
    }
    case VN_UPDATE_COMMAND_UI:
    case VN_COMMAND:
        if (IsPane(m_pFocusedPane)) {
            m_pFocusedPane->OnViewNotify(pNotify);
        } else {
            pNotify->nHandled = 0;
        }
        break;
    case VN_TOOLBAR_STATE:
        if (m_pNotifyToolBar != nullptr) {
            if (pNotify->nCommandId == 40006) {
                m_pNotifyToolBar->EnableButton(40006, g_bDataModified);
            } else if (pNotify->nCommandId == 40009 || pNotify->nCommandId == 40020) {
                m_pNotifyToolBar->EnableButton(pNotify->nCommandId, pNotify->nValue != 0);
            }
        }
        break;
    case VN_SYNC:
        switch (pNotify->nSubcode) {
        case VNS_SELECTION_CHANGED: {
            IViewPane* pOther = nullptr;
            if (pSourcePane != nullptr && pSourcePane == m_pTreeView1) {
                pOther = m_pTreeView2;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTableView1) {
                pOther = m_pTableView2;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTreeView2) {
                pOther = m_pTreeView1;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTableView2) {
                pOther = m_pTableView1;
            } else {
                pNotify->nHandled = 0;
            }
            if (pOther != nullptr) {
                pOther->OnViewNotify(pNotify);
            }
            break;
        }
        case VNS_DRAG_POINT: {
            if (pSourcePane == nullptr || (pSourcePane != m_pTableView1 && pSourcePane != m_pTableView2)) {
                break;
            }
            const VIEWNOTIFY kept = *pNotify;
            // The point is converted in place by each receiver; each asks
            // with the original.
            const QPoint ptKept = pNotify->pCmdUI != nullptr ? *static_cast<QPoint*>(pNotify->pCmdUI) : QPoint();
            IViewPane* const pOtherTable = pSourcePane == m_pTableView1 ? m_pTableView2 : m_pTableView1;
            for (IViewPane* pPane : {pOtherTable, m_pTreeView1, m_pTreeView2}) {
                if (pPane == nullptr) {
                    continue;
                }
                pPane->OnViewNotify(pNotify);
                if (pNotify->GetResult() != 0) {
                    break;
                }
                *pNotify = kept;
                if (pNotify->pCmdUI != nullptr) {
                    *static_cast<QPoint*>(pNotify->pCmdUI) = ptKept;
                }
            }
            break;
        }
        case VNS_CAN_PASTE:
            pNotify->nResult = ClipboardOffers(pNotify->nTableType, pNotify->nKind) ? 1 : 0;
            break;
        case VNS_TABLE_TYPE:
            Broadcast(pNotify);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}
