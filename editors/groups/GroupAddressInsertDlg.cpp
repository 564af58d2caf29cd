#include "editors/groups/GroupAddressInsertDlg.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/Chronoset.h"
#include "editors/groups/GroupAddressInsertWnd.h"
#include "editors/groups/GroupAddressLevels.h"
#include "editors/groups/SubGroupEntry.h"
#include "editors/groups/SubGroupTable.h"
#include "editors/groups/TypeSelectionDlg.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/Handles.h"
#include "ui/DragSourceDialog.h"

#include <QResizeEvent>

#include <algorithm>
#include <vector>

CGroupAddressInsertDlg* g_pGroupAddressInsertDlg = nullptr;

namespace {

constexpr int kImageSize = 20;
constexpr int kStripCapacity = 3;
// The valid list's capacity.
constexpr int kMaxAddresses = 250;

// Main group in bits 12-15, middle group in bits 8-11, sub group in bits 0-7.
LONG InsertedRawAddress(LONG nMain, LONG nMiddle, LONG nSub) {
    return (nSub & 0xFF) | ((nMiddle << 8) & 0x0F00) | ((nMain << 12) & 0xF000);
}

// The text with each "%s" replaced by the next argument; a text from the
// resources never reaches a printf.
std::string FillIn(const std::string& strFormat, const std::vector<std::string>& args) {
    std::string strResult;
    std::size_t nArg = 0;
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] == '%' && i + 1 < strFormat.size() && strFormat[i + 1] == 's' && nArg < args.size()) {
            strResult += args[nArg++];
            ++i;
        } else {
            strResult += strFormat[i];
        }
    }
    return strResult;
}

bool IsSingleBit(UINT nMask) {
    return nMask != 0 && (nMask & (nMask - 1)) == 0;
}

CGroupDataAddresses* ValidList() {
    return g_pChronoset != nullptr ? g_pChronoset->GetGroupDataAddresses() : nullptr;
}

}  // namespace

CGroupAddressInsertDlg::CGroupAddressInsertDlg(QWidget* pOwner, BOOL bSingleSelection, BOOL bCloseAfterApply,
                                               UINT nAllowedTypes, BOOL bCreateInList)
    : CDialog(IDD, pOwner),
      m_bSingleSelection(bSingleSelection),
      m_bCloseAfterApply(bCloseAfterApply),
      m_nAllowedTypes(nAllowedTypes),
      m_bCreateInList(bCreateInList) {}

CGroupAddressInsertDlg::~CGroupAddressInsertDlg() {
    if (g_pGroupAddressInsertDlg == this) {
        g_pGroupAddressInsertDlg = nullptr;
    }
    // The panes go before the dialog's own members.
    delete m_pInsertWnd;
    m_pInsertWnd = nullptr;
}

int CGroupAddressInsertDlg::DoModal() {
    const int nResult = CDialog::DoModal();
    // A dialog refused while it initialised never reaches its end handler.
    if (g_pGroupAddressInsertDlg == this) {
        g_pGroupAddressInsertDlg = nullptr;
    }
    return nResult;
}

// ---------------------------------------------------------------------------
// Creation, layout, end

int CGroupAddressInsertDlg::OnCreate() {
    m_pDragStrip = new CDragSourceDialog();
    if (!m_pDragStrip->Create(kDragBitmapId, kImageSize, kImageSize, kStripCapacity, this, WS_CHILD | WS_VISIBLE,
                              kDragStripId)) {
        LOG_ERROR("Failed to create the drag strip");
        delete m_pDragStrip;
        m_pDragStrip = nullptr;
        return -1;
    }
    m_pDragStrip->AddItem(GetResString(400, "Hauptgruppe"), 0, kDragMainGroup, kDropCursorId);
    if (GetGroupAddressLevels() != 2) {
        m_pDragStrip->AddItem(GetResString(401, "Mittelgruppe"), 1, kDragMiddleGroup, kDropCursorId);
    }
    m_pDragStrip->AddItem(GetResString(402, "Untergruppe"), 2, kDragSubGroup, kDropCursorId);

    m_pInsertWnd = new CGroupAddressInsertWnd();
    m_pInsertWnd->SetOptions(GetSubGroupTableOptions());
    const int nTop = m_pDragStrip->GetRowHeight();
    const QRect rect(0, nTop, width(), std::max(0, height() - nTop));
    if (!m_pInsertWnd->Create(this, rect)) {
        LOG_ERROR("Failed to create group address insert frame window");
        delete m_pInsertWnd;
        m_pInsertWnd = nullptr;
        return -1;
    }
    return 0;
}

BOOL CGroupAddressInsertDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    g_pGroupAddressInsertDlg = this;
    // The clock's addresses stand outside the list; for all others a full
    // list leaves nothing to insert.
    const CGroupDataAddresses* pList = ValidList();
    if ((m_nAllowedTypes & kClockTypeBits) == 0 && pList != nullptr && pList->GetCount(false) >= kMaxAddresses) {
        const std::string strText = GetResString(430, "Die Maximalzahl von Gruppenadressen ist erreicht.");
        const std::string strCaption = GetResString(431, "Gruppenadressen ausgelastet");
        CMessageBox().ShowError(platform::ui::HwndFromWidget(this), strText.c_str(), strCaption.c_str());
        EndDialog(IDCANCEL);
        return FALSE;
    }
    CenterWindow();
    // The window put the focus on the group tree.
    return FALSE;
}

void CGroupAddressInsertDlg::OnDestroy() {
    if (g_pGroupAddressInsertDlg == this) {
        g_pGroupAddressInsertDlg = nullptr;
    }
    // The sub-group table goes with the window; the address it added first
    // has been handed over already.
    delete m_pInsertWnd;
    m_pInsertWnd = nullptr;
    CDialog::OnDestroy();
}

void CGroupAddressInsertDlg::resizeEvent(QResizeEvent* pEvent) {
    CDialog::resizeEvent(pEvent);
    LayoutChildren();
}

void CGroupAddressInsertDlg::LayoutChildren() {
    int nTop = 0;
    if (m_pDragStrip != nullptr) {
        m_pDragStrip->FitToParent();
        nTop = m_pDragStrip->GetRowHeight();
    }
    if (m_pInsertWnd != nullptr) {
        m_pInsertWnd->setGeometry(0, nTop, width(), std::max(0, height() - nTop));
    }
}

// ---------------------------------------------------------------------------
// The strip's drags

int CGroupAddressInsertDlg::OnDragSourceQuery(int nItemData, const QPoint& ptScreen) {
    return m_pInsertWnd != nullptr ? m_pInsertWnd->OnDragQuery(nItemData, ptScreen) : 0;
}

void CGroupAddressInsertDlg::OnDragSourceDrop(int nItemData, const QPoint& ptScreen) {
    if (m_pInsertWnd != nullptr) {
        m_pInsertWnd->OnDragDrop(nItemData, ptScreen);
    }
}

// ---------------------------------------------------------------------------
// The sub-group table's side

SubGroupTableOptions CGroupAddressInsertDlg::GetSubGroupTableOptions() const {
    SubGroupTableOptions options;
    options.bSingleSelection = m_bSingleSelection;
    options.bCloseAfterApply = m_bCloseAfterApply;
    options.nAllowedTypeMask = m_nAllowedTypes;
    options.bCreateInList = m_bCreateInList;
    return options;
}

void CGroupAddressInsertDlg::SetResultAddress(CGroupDataAddress* pAddress) {
    // A table that added nothing must not take back what an earlier one
    // gave the caller.
    if (pAddress != nullptr) {
        m_pGroupAddress = pAddress;
    }
}

int CGroupAddressInsertDlg::MainTypeOfSingleBit(UINT nAllowedTypes) {
    switch (nAllowedTypes) {
    case 1:
    case 512:
        return 1;
    case 2:
        return 2;
    case 4:
        return 5;
    case 8:
        return 6;
    case 16:
        return 7;
    case 32:
        return 8;
    case 64:
        return 9;
    case 128:
        return 11;
    case 256:
        return 10;
    default:
        return 0;
    }
}

bool CGroupAddressInsertDlg::CheckType(UINT nAllowedTypes, int nHostObjectType, bool* pbSelectionNeeded) {
    const UINT m = nAllowedTypes;
    const bool bSingle = IsSingleBit(m);
    bool bUsable = true;
    bool bSelection = false;
    switch (nHostObjectType) {
    case 0:
        bUsable = (m & (1 | 512)) != 0;
        break;
    case 1:
        bUsable = (m & 2) != 0;
        break;
    case 7:
        bUsable = (m & (4 | 8)) != 0;
        bSelection = !bSingle;
        break;
    case 8:
        bUsable = (m & (16 | 32 | 64)) != 0;
        bSelection = !bSingle;
        break;
    case 9:
        bUsable = (m & (128 | 256)) != 0;
        bSelection = !bSingle;
        break;
    default:
        if (nHostObjectType != -1) {
            LOG_ERROR("invalid ETS CO-type: %d", nHostObjectType);
        }
        bSelection = !bSingle;
        break;
    }
    if (m == 0) {
        bUsable = true;
    }
    if (pbSelectionNeeded != nullptr) {
        *pbSelectionNeeded = bSelection;
    }
    return bUsable;
}

void CGroupAddressInsertDlg::ApplySubGroups(CSubGroupTable& table) {
    CGroupDataAddresses* pList = ValidList();
    if (pList == nullptr) {
        return;
    }
    const HWND hOwner = platform::ui::HwndFromWidget(this);
    if (m_bCreateInList && pList->GetCount(false) > kMaxAddresses - 1) {
        const std::string strText = GetResString(603, "Die maximale Anzahl von Gruppenadressen ist erreicht.");
        const std::string strCaption = GetResString(602, "Gruppenadressen ausgelastet");
        CMessageBox().ShowError(hOwner, strText.c_str(), strCaption.c_str());
        return;
    }

    std::vector<int> rows;
    if (m_bSingleSelection) {
        const int nMark = table.GetSelectionMark();
        if (nMark >= 0) {
            rows.push_back(nMark);
        }
    } else {
        if (!m_bCreateInList) {
            // Only one address can be handed to the caller outside the list.
            LOG_ERROR("internal error adding GAs");
        }
        for (int i = 0; i < table.GetItemCount(); ++i) {
            if (table.IsRowSelected(i)) {
                rows.push_back(i);
            }
        }
    }
    if (rows.empty()) {
        return;
    }

    CEtsDataAccess access;
    if (!access.IsValid()) {
        LOG_ERROR("Error: could not connect to ETS database");
        return;
    }
    m_bApplied = TRUE;
    // The rows are found by entry: the answers to the boxes let the table
    // repaint, and the first address of the run is the caller's.
    std::vector<CSubGroupEntry*> entries;
    for (int nRow : rows) {
        entries.push_back(dynamic_cast<CSubGroupEntry*>(table.GetRowObject(nRow)));
    }
    int nResult = IDOK;
    bool bKeepOpen = false;
    bool bFirstAdded = false;
    for (std::size_t i = 0; i < entries.size() && nResult == IDOK; ++i) {
        if (entries[i] == nullptr) {
            continue;
        }
        bool bAdded = false;
        nResult = ApplyEntry(table, entries[i], bFirstAdded ? 1 : 0, &bKeepOpen, &bAdded);
        bFirstAdded = bFirstAdded || bAdded;
    }
    if (m_bCloseAfterApply && !bKeepOpen) {
        EndDialog(nResult);
    }
}

int CGroupAddressInsertDlg::ApplyEntry(CSubGroupTable& table, CSubGroupEntry* pEntry, int nIndex, bool* pbKeepOpen,
                                       bool* pbAdded) {
    const LONG nGroupId = pEntry->m_nGroupId;
    IEtsMiddleGroup* pMiddleGroup = g_mapMiddleGroups.Lookup(nGroupId);
    if (pMiddleGroup == nullptr) {
        LOG_ERROR("Error: could not read middlegroup data for id = %ld", static_cast<long>(nGroupId));
        return IDOK;
    }
    CComPtr<IEtsMainGroup> pMainGroup;
    if (FAILED(pMiddleGroup->get_Parent(&pMainGroup)) || !pMainGroup) {
        LOG_ERROR("Error: could not get parent of middlegroup = %ld", static_cast<long>(nGroupId));
        return IDOK;
    }
    // Without the group numbers the address cannot be made: the row is
    // left as the other read failures are.
    CEtsDataAccess access;
    std::string strName;
    LONG nId = -1;
    LONG nMiddleAddress = -1;
    HRESULT hr = access.GetMiddleGroupData(pMiddleGroup, strName, nId, nMiddleAddress);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get MiddleGroup data hr=0x%08X", static_cast<unsigned>(hr));
        return IDOK;
    }
    LONG nMainAddress = -1;
    hr = access.GetMainGroupData(pMainGroup, strName, nId, nMainAddress);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get MainGroup data hr=0x%08X", static_cast<unsigned>(hr));
        return IDOK;
    }

    const LONG nRaw = InsertedRawAddress(nMainAddress, nMiddleAddress, pEntry->m_nNumber);
    const std::string strAddress = FormatGroupAddress(GetGroupAddressLevels(), nRaw, -1, nullptr, false);
    const std::vector<std::string> args = {strAddress, pEntry->m_strName};
    const HWND hOwner = platform::ui::HwndFromWidget(this);

    if (CSubGroupTable::IsAddressListed(nRaw)) {
        const std::string strText = FillIn(GetResString(601, "Die ausgewählte Gruppenadresse ('%s': '%s') ist bereits "
                                                             "in der Liste der verwendeten Gruppenadressen enthalten."),
                                           args);
        const std::string strCaption = GetResString(600, "In Benutzung");
        *pbKeepOpen = *pbKeepOpen || m_bSingleSelection;
        return CMessageBox().ShowInfo(hOwner, strText.c_str(), strCaption.c_str());
    }
    const int nHostType = pEntry->m_nHostObjectType;
    if (!IsSupportedKnxValueType(nHostType)) {
        const std::string strText = FillIn(GetResString(622, "Die ausgewählte Gruppenadresse ('%s': '%s') ist einem "
                                                             "Objekt nicht unterstützten Typs zugeordnet."),
                                           args);
        const std::string strCaption = GetResString(623, "Unbekannter Objekttyp");
        *pbKeepOpen = *pbKeepOpen || m_bSingleSelection;
        return CMessageBox().AskOkCancel(hOwner, strText.c_str(), strCaption.c_str());
    }

    bool bSelectionNeeded = false;
    if (!CheckType(m_nAllowedTypes, nHostType, &bSelectionNeeded)) {
        const std::string strText =
            FillIn(GetResString(624, "Der Typ der gewählten Gruppenadresse ('%s': '%s') kann nicht verwendet werden."),
                   args);
        const std::string strCaption = GetResString(625, "Ungültiger Objekttyp");
        *pbKeepOpen = *pbKeepOpen || m_bSingleSelection;
        return CMessageBox().AskOkCancel(hOwner, strText.c_str(), strCaption.c_str());
    }
    WORD wMainType = 0;
    WORD wSubType = 0;
    if (bSelectionNeeded) {
        CTypeSelectionDlg dlg(this);
        dlg.SetName(pEntry->m_strName);
        dlg.SetAddressText(strAddress);
        dlg.SetAllowedTypeMask(m_nAllowedTypes);
        dlg.SetHostObjectType(nHostType);
        const int nAnswer = dlg.DoModal();
        if (nAnswer != IDOK) {
            *pbKeepOpen = *pbKeepOpen || m_bSingleSelection;
            return nAnswer;
        }
        wMainType = dlg.GetMainType();
        wSubType = dlg.GetSubType();
    } else if (nHostType == 0) {
        wMainType = 1;
    } else if (nHostType == 1) {
        wMainType = 2;
    } else {
        wMainType = static_cast<WORD>(MainTypeOfSingleBit(m_nAllowedTypes));
    }
    const int nResult = AddAddress(table, pEntry, nIndex, wMainType, wSubType, nRaw);
    *pbAdded = nResult == IDOK;
    return nResult;
}

int CGroupAddressInsertDlg::AddAddress(CSubGroupTable& table, CSubGroupEntry* pEntry, int nIndex, WORD wMainType,
                                       WORD wSubType, LONG nRawAddress) {
    CGroupDataAddresses* pList = ValidList();
    CInternalClock* pClock = g_pChronoset != nullptr ? g_pChronoset->GetInternalClock() : nullptr;
    if (pList == nullptr || pClock == nullptr) {
        return IDCANCEL;
    }
    CGroupDataAddress* pAddress = nullptr;
    if (wMainType == 10 || wMainType == 11) {
        // The clock's time and date addresses are its own.
        pAddress = new CGroupDataAddress();
        pAddress->SetLevels(pList->GetAddressLevels());
        if (wMainType == 10) {
            pClock->SetTimeGroupAddress(pAddress);
        } else {
            pClock->SetDateGroupAddress(pAddress);
        }
    } else if (m_bCreateInList) {
        pAddress = pList->CreateGroupAddress(false);
    } else {
        // The caller takes it over.
        pAddress = new CGroupDataAddress();
        pAddress->SetLevels(pList->GetAddressLevels());
    }
    if (pAddress == nullptr) {
        const std::string strText = GetResString(603, "Die maximale Anzahl von Gruppenadressen ist erreicht.");
        const std::string strCaption = GetResString(602, "Gruppenadressen ausgelastet");
        CMessageBox().ShowError(platform::ui::HwndFromWidget(this), strText.c_str(), strCaption.c_str());
        return IDCANCEL;
    }
    pAddress->SetAddress(nRawAddress);
    pAddress->SetName(pEntry->m_strName);
    pAddress->SetType({wMainType, wSubType});
    pAddress->SetReference(pEntry->m_nHostId);
    if (nIndex == 0) {
        table.SetFirstAddedAddress(pAddress);
    }
    table.MarkEntryListed(pEntry);
    g_bDataModified = true;
    return IDOK;
}
