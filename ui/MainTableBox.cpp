#include "ui/MainTableBox.h"

#include "app/Chronoset.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/IniManager.h"
#include "model/SettingsBatch.h"
#include "model/MessageBoxes.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/base/HelpService.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ResourceImages.h"
#include "ui/MMGroupCancelView.h"
#include "ui/MainFormView.h"
#include "ui/UsageDialogHook.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>
#include <utility>
#include <cstdlib>
#include <map>

namespace {

constexpr int kDragDistance = 4;
constexpr int kFormViewHeight = 28;
constexpr UINT kSubGroupBitmap = 208;
constexpr int kSubGroupImageWidth = 16;

std::map<int, CMainTableBox::FormViewFactory>& FormViewFactories() {
    static std::map<int, CMainTableBox::FormViewFactory> factories = {
        {16, []() -> CMainFormView* { return new CMMGroupCancelView(); }},
        {17, []() -> CMainFormView* { return new CMMGroupCancelView(); }},
        {19, []() -> CMainFormView* { return new CMMGroupCancelView(); }},
    };
    return factories;
}

std::vector<QIcon> LoadSubGroupImages() {
    std::vector<QIcon> images;
    // Black is the strip's mask colour: the row's background shows there.
    const QImage strip =
        platform::ui::KeyedTransparent(platform::ui::LoadBitmapResource(kSubGroupBitmap), qRgb(0, 0, 0));
    for (int x = 0; x + kSubGroupImageWidth <= strip.width(); x += kSubGroupImageWidth) {
        images.emplace_back(QPixmap::fromImage(strip.copy(x, 0, kSubGroupImageWidth, strip.height())));
    }
    return images;
}

}  // namespace

CMainTableBox::CMainTableBox(int nTableType) : m_nTableType(nTableType) {
    m_arrColumnPrefs.assign(static_cast<std::size_t>(m_nColumnCount), 0);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    MapTableCommands();
}

CMainTableBox::~CMainTableBox() {
    DestroyWindow();
}

void CMainTableBox::MapTableCommands() {
    MapCommand(ID_TABLE_SELECT_ALL, [this]() { OnSelectAll(); });
    MapCommand(ID_TABLE_EDIT, [this]() { OnEditEntry(); });
    MapCommand(ID_TABLE_APPLY, [this]() { OnApply(); });
    MapCommand(ID_TABLE_COPY, [this]() { OnCopy(); });
    MapCommand(ID_TABLE_DELETE, [this]() { DeleteEntries(); });
    MapCommand(ID_TABLE_NEW, [this]() { NewEntry(); });
    MapCommand(ID_TABLE_PASTE, [this]() { OnPaste(); });
    MapCommand(ID_TABLE_RESERVED, [this]() { OnReservedCommand(); });
    MapCommand(ID_TABLE_USAGE, [this]() { OnUsage(); });
    MapCommand(ID_TABLE_HELP, [this]() { OnHelpOnTable(); });
    MapUpdateCommandUI(ID_TABLE_EDIT, [this](CCmdUI* p) { OnUpdateEditEntry(p); });
    MapUpdateCommandUI(ID_TABLE_APPLY, [this](CCmdUI* p) { OnUpdateApply(p); });
    MapUpdateCommandUI(ID_TABLE_COPY, [this](CCmdUI* p) { OnUpdateCopy(p); });
    MapUpdateCommandUI(ID_TABLE_DELETE, [this](CCmdUI* p) { OnUpdateDelete(p); });
    MapUpdateCommandUI(ID_TABLE_NEW, [this](CCmdUI* p) { OnUpdateNew(p); });
    MapUpdateCommandUI(ID_TABLE_PASTE, [this](CCmdUI* p) { OnUpdatePaste(p); });
    MapUpdateCommandUI(ID_TABLE_RESERVED, [this](CCmdUI* p) { OnUpdateReservedCommand(p); });
    MapUpdateCommandUI(ID_TABLE_USAGE, [this](CCmdUI* p) { OnUpdateUsage(p); });
}

void CMainTableBox::RegisterFormView(int nTableType, FormViewFactory factory) {
    FormViewFactories()[nTableType] = std::move(factory);
}

void CMainTableBox::SetColumnCount(int nCount) {
    m_nColumnCount = std::clamp(nCount, 0, kMaxColumns);
    m_arrColumnPrefs.assign(static_cast<std::size_t>(m_nColumnCount), 0);
}

void CMainTableBox::PresetColumnPrefs() {
    if (!m_arrColumnPrefs.empty() && m_arrColumnPrefs[0] == 0) {
        for (std::size_t i = 0; i < m_arrColumnPrefs.size(); ++i) {
            m_arrColumnPrefs[i] = static_cast<WORD>(i + 1);
        }
    }
}

void CMainTableBox::SendObjectRecord(int nType, CObject* pObject, CObject* pParent, int nKind, int nFlag) {
    VIEWNOTIFY notify;
    notify.nType = nType;
    notify.pObject = pObject;
    notify.pParentObject = pParent;
    notify.nKind = nKind;
    notify.nFlag = nFlag;
    SendNotification(&notify);
}

int CMainTableBox::GetStoredColumnWidth(int nColumn) const {
    if (nColumn < 0 || nColumn >= kMaxColumns) {
        return CIniManager::DEFAULT_COLUMN_WIDTH;
    }
    return m_arrColumnWidths[static_cast<std::size_t>(nColumn)];
}

// ---------------------------------------------------------------------------
// Creation and destruction

BOOL CMainTableBox::Create(QWidget* pParent, const QRect& rect) {
    if (m_bWindowCreated) {
        return FALSE;
    }
    setParent(pParent);
    setGeometry(rect);
    m_bWindowCreated = true;
    m_nCurrentRow = 0;
    m_nNextColumn = 0;
    if (m_nTableType == 18) {
        SetImageList(LoadSubGroupImages());
    }
    {
        // One look at the settings file for all of the table's keys.
        CSettingsBatch settings;
        ReadColumnSettings();
        InitColumns();
        if (m_nTableType != 4 && GetColumnCount() >= 2) {
            std::vector<int> positions(static_cast<std::size_t>(GetColumnCount()));
            g_IniManager.GetColumnPositions(m_nTableType, GetColumnCount(), positions.data());
            SetColumnOrder(GetColumnCount(), positions.data());
        }
    }
    for (int i = 0; i < std::min(GetColumnCount(), kMaxColumns); ++i) {
        m_arrFittedWidths[static_cast<std::size_t>(i)] = columnWidth(i);
        WidenDefaultColumn(i, GetContentWidth(i, 0, -1, true));
    }
    Refill();
    SelectSingleItem(0);
    // Copy, paste, delete and select all reach the table's commands before
    // the list view's own handling of those keys.
    if (m_accelerators.Load(kAcceleratorId)) {
        m_accelerators.Attach(this, this);
    }
    if (m_nTableType >= 16 && m_nTableType <= 19 && !CreateFormView()) {
        return FALSE;
    }
    if (OnCreate() == -1) {
        return FALSE;
    }
    show();
    return TRUE;
}

int CMainTableBox::OnCreate() {
    return 0;
}

BOOL CMainTableBox::CreateFormView() {
    if (m_pFormView != nullptr) {
        return TRUE;
    }
    const auto it = FormViewFactories().find(m_nTableType);
    if (it == FormViewFactories().end() || !it->second) {
        // Its form registers itself with its table class.
        return TRUE;
    }
    m_pFormView = it->second();
    if (m_pFormView == nullptr) {
        return TRUE;
    }
    m_pFormView->SetOwnerTable(this);
    if (!m_pFormView->HasWindow()) {
        QWidget* pPane = parentWidget();
        const int nWidth = pPane != nullptr ? pPane->width() : width();
        if (!m_pFormView->Create(pPane, QRect(0, 0, nWidth, kFormViewHeight))) {
            LOG_ERROR("CMainTableBox: Couldnt create CMMGroupCancelView window");
            delete m_pFormView;
            m_pFormView = nullptr;
            return FALSE;
        }
        m_pFormView->setFont(font());
    }
    return TRUE;
}

void CMainTableBox::ReadColumnSettings() {
    m_arrUserWidth.fill(false);
    if (CIniManager::GetTableSection(m_nTableType)[0] == '\0') {
        // Types without a section of their own keep the default widths.
        for (int i = 0; i < kMaxColumns; ++i) {
            m_arrColumnWidths[static_cast<std::size_t>(i)] = CIniManager::GetDefaultColumnWidth(m_nTableType, i);
        }
        return;
    }
    g_IniManager.GetColumnWidths(m_nTableType, m_nColumnCount, m_arrColumnWidths.data());
    for (int i = 0; i < kMaxColumns; ++i) {
        const int nDefault = CIniManager::GetDefaultColumnWidth(m_nTableType, i);
        auto& nWidth = m_arrColumnWidths[static_cast<std::size_t>(i)];
        if (i >= m_nColumnCount) {
            nWidth = nDefault;
        }
        // The default width stands for "not set": it is saved for a column
        // the user left alone, which shows what its texts need.
        m_arrUserWidth[static_cast<std::size_t>(i)] = nWidth != nDefault;
    }
    if (m_nTableType != 4) {
        g_IniManager.GetColumnPrefs(m_nTableType, m_arrColumnPrefs);
    }
}

bool CMainTableBox::IsUserWidth(int nColumn) {
    const auto n = static_cast<std::size_t>(nColumn);
    // A width other than the last one the table gave itself is the user's.
    if (!m_arrUserWidth[n] && columnWidth(nColumn) != m_arrFittedWidths[n]) {
        m_arrUserWidth[n] = true;
    }
    return m_arrUserWidth[n];
}

void CMainTableBox::WidenDefaultColumn(int nColumn, int nWidth) {
    if (nColumn < 0 || nColumn >= std::min(GetColumnCount(), kMaxColumns) || IsUserWidth(nColumn)) {
        return;
    }
    nWidth = std::min(nWidth, kMaxFittedColumnWidth);
    if (nWidth > columnWidth(nColumn)) {
        setColumnWidth(nColumn, nWidth);
        m_arrFittedWidths[static_cast<std::size_t>(nColumn)] = columnWidth(nColumn);
    }
}

void CMainTableBox::FitColumnsToRows() {
    // Widths follow the number of characters closely enough to pick the
    // rows worth measuring; measuring every row of a large table costs more
    // than filling it.
    constexpr int kMeasured = 4;
    const int nRows = GetItemCount();
    for (int c = 0; c < std::min(GetColumnCount(), kMaxColumns); ++c) {
        if (IsUserWidth(c)) {
            continue;
        }
        std::vector<std::pair<qsizetype, int>> longest;
        for (int r = 0; r < nRows; ++r) {
            longest.emplace_back(topLevelItem(r)->text(c).size(), r);
        }
        const auto nEnd = longest.begin() + std::min<std::ptrdiff_t>(kMeasured, static_cast<std::ptrdiff_t>(longest.size()));
        std::partial_sort(longest.begin(), nEnd, longest.end(),
                          [](const auto& a, const auto& b) { return a.first > b.first; });
        int nWidth = 0;
        for (auto it = longest.begin(); it != nEnd; ++it) {
            nWidth = std::max(nWidth, GetContentWidth(c, it->second, it->second, false));
        }
        WidenDefaultColumn(c, nWidth);
    }
}

void CMainTableBox::rowsInserted(const QModelIndex& parent, int nFirst, int nLast) {
    CTableBox::rowsInserted(parent, nFirst, nLast);
    if (m_bFillingRows) {
        return;
    }
    for (int i = 0; i < GetColumnCount(); ++i) {
        WidenDefaultColumn(i, GetContentWidth(i, nFirst, nLast, false));
    }
}

void CMainTableBox::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                const QList<int>& roles) {
    CTableBox::dataChanged(topLeft, bottomRight, roles);
    if (m_bFillingRows ||
        (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::DecorationRole))) {
        return;
    }
    for (int i = topLeft.column(); i <= bottomRight.column(); ++i) {
        WidenDefaultColumn(i, GetContentWidth(i, topLeft.row(), bottomRight.row(), false));
    }
}

void CMainTableBox::SaveColumnSettings() {
    // Types without a section of their own and tables without columns (the
    // empty and plain tables) have nothing to keep; writing them would fill
    // an unnamed section or overwrite a real table's settings.
    if (CIniManager::GetTableSection(m_nTableType)[0] == '\0' || GetColumnCount() == 0) {
        return;
    }
    const int nColumns = std::min(GetColumnCount(), kMaxColumns);
    for (int i = 0; i < nColumns; ++i) {
        if (IsUserWidth(i)) {
            m_arrColumnWidths[static_cast<std::size_t>(i)] = columnWidth(i);
        }
    }
    // One change of the file for all of a table's keys, none when they stand.
    CSettingsBatch batch;
    g_IniManager.SetColumnWidths(m_nTableType, nColumns, m_arrColumnWidths.data());
    if (m_nTableType != 4) {
        g_IniManager.SetColumnPrefs(m_nTableType, m_arrColumnPrefs);
        if (GetColumnCount() > 1) {
            const std::vector<int> order = GetColumnOrder();
            g_IniManager.SetColumnPositions(m_nTableType, static_cast<int>(order.size()), order.data());
        }
    }
}

void CMainTableBox::DestroyWindow() {
    if (!m_bWindowCreated || m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    SaveColumnSettings();
    if (m_pFormView != nullptr) {
        m_pFormView->SetOwnerTable(nullptr);
        m_pFormView->hide();
        m_pFormView->deleteLater();
        m_pFormView = nullptr;
    }
    DeleteAllRows();
}

// ---------------------------------------------------------------------------
// Base behaviour of the table operations

int CMainTableBox::EditEntry(int /*nRow*/) {
    return 0;
}

void CMainTableBox::ReservedHook(int /*nValue*/) {}

bool CMainTableBox::InitColumns() {
    return true;
}

bool CMainTableBox::FillTable() {
    return true;
}

bool CMainTableBox::Refill() {
    const bool bWasFilling = std::exchange(m_bFillingRows, true);
    const bool bFilled = FillTable();
    m_bFillingRows = bWasFilling;
    if (!m_bFillingRows) {
        FitColumnsToRows();
    }
    return bFilled;
}

void CMainTableBox::RefreshTable() {
    std::vector<CObject*> selected;
    GetSelectedObjects(selected);
    const int nMark = GetSelectionMark();
    CObject* const pMarkObject = nMark >= 0 ? GetItemData(nMark) : nullptr;
    Refill();
    for (CObject* pObject : selected) {
        const int nRow = FindRowOfObject(pObject);
        if (nRow >= 0) {
            SetItemSelected(nRow, true);
            SetSelectionMark(nRow);
        }
    }
    if (pMarkObject != nullptr) {
        const int nRow = FindRowOfObject(pMarkObject);
        if (nRow >= 0) {
            SetItemSelected(nRow, true);
            SetSelectionMark(nRow);
        }
    }
    viewport()->update();
}

void CMainTableBox::GetEntryStrings(CObject* /*pObject*/, std::vector<std::string>& /*texts*/) {}

void CMainTableBox::OnPaneCommand(int /*nCode*/) {}

int CMainTableBox::PasteObject(CObject* /*pObject*/) {
    return PASTE_FULL;
}

int CMainTableBox::PasteAndCollect(CObject* pObject) {
    // The table classes announce each object they add with a record of its
    // own; the rows follow only when the paste or drop is over.
    m_bCollectPasted = true;
    const int nResult = PasteObject(pObject);
    m_bCollectPasted = false;
    return nResult;
}

void CMainTableBox::SelectPastedRows() {
    std::vector<CObject*> pasted;
    pasted.swap(m_arrPasted);
    int nFirst = -1;
    for (CObject* pObject : pasted) {
        const int nRow = FindRowOfObject(pObject);
        if (nRow < 0) {
            continue;
        }
        if (nFirst < 0) {
            SelectSingleItem(nRow);
            nFirst = nRow;
        } else {
            SetItemSelected(nRow, true);
        }
    }
    if (nFirst >= 0) {
        scrollToItem(topLevelItem(nFirst));
    }
}

CObject* CMainTableBox::GetParentObject() {
    return nullptr;
}

void CMainTableBox::OnSelectAll() {
    for (int i = 0; i < GetItemCount(); ++i) {
        SetItemSelected(i, i < GetDataRowCount());
    }
}

void CMainTableBox::OnEditEntry() {
    EditEntry(GetSelectionMark());
}

void CMainTableBox::OnApply() {}

void CMainTableBox::OnCopy() {
    bool bFirst = true;
    for (int i = 0; i < GetDataRowCount() && i < GetItemCount(); ++i) {
        CObject* pObject = GetItemData(i);
        if (!IsItemSelected(i) || pObject == nullptr) {
            continue;
        }
        VIEWNOTIFY notify;
        notify.nType = bFirst ? VN_CLIPBOARD_SET : VN_CLIPBOARD_APPEND;
        notify.pObject = pObject;
        SendNotification(&notify);
        bFirst = false;
    }
    UpdateToolbarState();
}

void CMainTableBox::DeleteEntries() {
    UpdateToolbarState();
}

void CMainTableBox::NewEntry() {
    EditEntry(GetDataRowCount());
}

void CMainTableBox::OnPaste() {
    VIEWNOTIFY ask;
    ask.nType = VN_SYNC;
    ask.nSubcode = VNS_CAN_PASTE;
    ask.nKind = m_nObjectKind;
    SendNotification(&ask);
    int nKind = m_nObjectKind;
    if (ask.GetResult() == 0 && m_nObjectKind == VOK_DAYSWITCHTIME) {
        VIEWNOTIFY again;
        again.nType = VN_SYNC;
        again.nSubcode = VNS_CAN_PASTE;
        again.nKind = VOK_QUANTITYMEMBER;
        SendNotification(&again);
        ask.nResult = again.nResult;
        nKind = VOK_QUANTITYMEMBER;
    }
    m_arrPasted.clear();
    if (ask.GetResult() != 0) {
        int nTotal = 0;
        int nRefused = 0;
        VIEWNOTIFY request;
        request.nType = VN_CLIPBOARD_FIRST;
        request.nKind = nKind;
        SendNotification(&request);
        while (request.pObject != nullptr) {
            const int nResult = PasteAndCollect(request.pObject);
            if (nResult == PASTE_UNKNOWN || nResult == PASTE_FULL) {
                break;
            }
            ++nTotal;
            if (nResult == PASTE_DUPLICATE) {
                ++nRefused;
            }
            request = VIEWNOTIFY();
            request.nType = VN_CLIPBOARD_NEXT;
            request.nKind = nKind;
            SendNotification(&request);
        }
        if (nRefused > 0) {
            const std::string strText =
                FormatIntFields(GetResString(619, "%d der %d Elemente konnten nicht eingefügt werden"), {nRefused, nTotal});
            const std::string strCaption = GetResString(618, "Einfügen");
            CMessageBox().ShowWarning(platform::ui::HwndFromWidget(GetParameterDlg()), strText.c_str(),
                                      strCaption.c_str());
        }
        SendKindsChanged();
        SelectPastedRows();
        SetDataModified();
    }
    SendKindsChangedInDebug();
}

void CMainTableBox::OnReservedCommand() {}

void CMainTableBox::OnUsage() {
    std::vector<CObject*> objects;
    GetSelectedObjects(objects);
    ui::ShowUsageDialog(GetParameterDlg(), m_nTableType, objects);
}

UINT CMainTableBox::GetHelpId(int nTableType) {
    static constexpr UINT kHelpIds[] = {0, 921, 929, 933, 934, 920, 922, 924, 925, 926, 927, 923, 930, 931, 932};
    if (nTableType >= 1 && nTableType <= 14) {
        return kHelpIds[nTableType];
    }
    return 0x20071;
}

void CMainTableBox::OnHelpOnTable() {
    platform::WinHelp(GetHelpId(m_nTableType));
}

void CMainTableBox::OnUpdateEditEntry(CCmdUI* pCmdUI) {
    if (m_nTableType == 4 || m_nTableType == 5 || m_nTableType == 10) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->Enable(GetSelectedEntryCount() > 0);
}

void CMainTableBox::OnUpdateApply(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CMainTableBox::OnUpdateCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(CanCopy());
}

void CMainTableBox::OnUpdateDelete(CCmdUI* pCmdUI) {
    if (m_nTableType == 0 || m_nTableType == 4 || m_nTableType == 5 || m_nTableType == 10) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->Enable(GetSelectedEntryCount() > 0);
}

void CMainTableBox::OnUpdateNew(CCmdUI* pCmdUI) {
    struct NewText {
        int nType;
        UINT nId;
        const char* pszText;
    };
    static constexpr NewText kTexts[] = {
        {2, 854, "&Neue Menge"},        {3, 856, "&Neue Gruppenadresse"}, {6, 851, "&Neuer Tagesablauf"},
        {8, 852, "&Neue Sommerzeit"},   {9, 853, "&Neuer Sondertag"},     {11, 850, "&Neue Schaltzeit"},
        {13, 858, "&Neuer Mengenauslöser"}, {14, 855, "&Neues Mengenmitglied"},
    };
    for (const NewText& text : kTexts) {
        if (text.nType == m_nTableType) {
            pCmdUI->SetText(GetResString(text.nId, text.pszText));
            pCmdUI->Enable(m_nTableType != 3 || !g_bStandalone);
            return;
        }
    }
    pCmdUI->SetText(GetResString(857, "&Neu"));
    const int t = m_nTableType;
    pCmdUI->Enable(!(t == 0 || t == 1 || t == 4 || t == 5 || t == 7 || t == 10));
}

void CMainTableBox::OnUpdatePaste(CCmdUI* pCmdUI) {
    pCmdUI->Enable(CanPaste());
}

void CMainTableBox::OnUpdateReservedCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CMainTableBox::OnUpdateUsage(CCmdUI* pCmdUI) {
    if (m_nTableType == 3 || m_nTableType == 11) {
        pCmdUI->Enable(TRUE);
    } else if (m_nTableType == 14) {
        std::vector<CObject*> objects;
        pCmdUI->Enable(GetSelectedObjects(objects) > 0);
    } else {
        pCmdUI->Enable(FALSE);
    }
}

void CMainTableBox::OnUpdateHelpOnTable(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

// ---------------------------------------------------------------------------
// Steps the table classes share

int CMainTableBox::AddObjectRow(CObject* pObject) {
    std::vector<std::string> texts;
    GetEntryStrings(pObject, texts);
    return AddRow(texts, pObject, GetDefaultImage());
}

bool CMainTableBox::AddNewEntryRow(const std::string& strText, int nColumn) {
    const int nRow = AddItem(nColumn == 0 ? strText : std::string(), nullptr, GetDefaultImage());
    if (nRow < 0) {
        return false;
    }
    if (nColumn != 0) {
        SetItemText(nRow, nColumn, strText);
    }
    return true;
}

void CMainTableBox::ShowErrorBox(const std::string& strText, const std::string& strCaption) {
    CMessageBox().ShowError(platform::ui::HwndFromWidget(GetParameterDlg()), strText.c_str(), strCaption.c_str());
}

int CMainTableBox::RunEditDialog(const std::function<int()>& runDialog) {
    SetEditInProgress(true);
    const int nResult = runDialog();
    UpdateToolbarState();
    SetEditInProgress(false);
    return nResult;
}

bool CMainTableBox::AskDelete(const std::string& strFormat, std::initializer_list<int> counts) {
    return QuestionBox("%s", FormatIntFields(strFormat, counts).c_str()) == IDYES;
}

void CMainTableBox::DeleteRowOfObject(const CObject* pObject) {
    const int nRow = FindRowOfObject(pObject);
    if (nRow >= 0) {
        DeleteRow(nRow, true);
    }
}

void CMainTableBox::DiscardRemovedObject(CObject* pObject, CObject* pParent) {
    SendObjectRecord(VN_REMOVED, pObject, pParent, m_nObjectKind);
    DeleteRowOfObject(pObject);
    delete pObject;
}

void CMainTableBox::SetDataModified() {
    g_bDataModified = true;
    UpdateToolbarState();
}

void CMainTableBox::RecountAssociations() {
    if (g_pChronoset != nullptr) {
        DWORD nCount = 0;
        g_pChronoset->CountAssociations(nCount);
    }
}

void CMainTableBox::SendKindsChangedInDebug() {
    if (g_bDebugMode) {
        RecountAssociations();
        SendKindsChanged();
    }
}

CGroupDataAddress* CMainTableBox::GetKnownGroupAddress(CGroupDataAddress* pAddress) {
    const bool bKnown = pAddress != nullptr && g_pChronoset != nullptr &&
                        g_pChronoset->GetGroupDataAddresses()->IsInList(pAddress);
    return bKnown ? pAddress : nullptr;
}

// ---------------------------------------------------------------------------
// Notifications

void CMainTableBox::SendNotification(VIEWNOTIFY* pNotify) {
    pNotify->pSource = this;
    pNotify->nTableType = m_nTableType;
    if (m_bCollectPasted && pNotify->nType == VN_ADDED && pNotify->pObject != nullptr) {
        m_arrPasted.push_back(pNotify->pObject);
    }
    if (!m_bNotificationsOn) {
        return;
    }
    if (auto* pPane = dynamic_cast<IViewPane*>(parentWidget())) {
        pPane->OnViewNotify(pNotify);
    }
}

int CMainTableBox::NotifySelectionChanged() {
    VIEWNOTIFY notify;
    notify.nType = VN_SYNC;
    notify.nSubcode = VNS_SELECTION_CHANGED;
    SendNotification(&notify);
    return notify.GetResult();
}

void CMainTableBox::UpdateToolbarState() {
    const std::pair<UINT, int> states[] = {
        {ID_TABLE_COPY, CanCopy() ? 1 : 0},
        {ID_TABLE_PASTE, CanPaste() ? 1 : 0},
        {ID_FILE_SAVE_STATE, g_bDataModified ? 1 : 0},
    };
    for (const auto& [nId, nValue] : states) {
        VIEWNOTIFY notify;
        notify.nType = VN_TOOLBAR_STATE;
        notify.nCommandId = nId;
        notify.nValue = nValue;
        SendNotification(&notify);
    }
}

bool CMainTableBox::CanCopy() {
    return !m_bEditInProgress && (m_nTableType == 11 || m_nTableType == 14) && GetSelectedEntryCount() > 0;
}

bool CMainTableBox::CanPaste() {
    VIEWNOTIFY notify;
    notify.nType = VN_SYNC;
    notify.nSubcode = VNS_CAN_PASTE;
    notify.nKind = m_nObjectKind;
    SendNotification(&notify);
    if (notify.GetResult() == 0 && m_nObjectKind == VOK_DAYSWITCHTIME) {
        notify = VIEWNOTIFY();
        notify.nType = VN_SYNC;
        notify.nSubcode = VNS_CAN_PASTE;
        notify.nKind = VOK_QUANTITYMEMBER;
        SendNotification(&notify);
    }
    return notify.GetResult() != 0;
}

void CMainTableBox::SendKindsChanged() {
    VIEWNOTIFY notify;
    notify.nType = VN_KINDS_CHANGED;
    notify.nKind = VOK_ALL;
    SendNotification(&notify);
}

bool CMainTableBox::IsUsageChange(int nKind) const {
    return m_nTableType == 3 && (nKind == VOK_DAYROUTINE || nKind == VOK_DAYSWITCHTIME ||
                                 nKind == VOK_QUANTITYMEMBER || nKind == VOK_QUANTITYTRIGGER);
}

void CMainTableBox::ReAddObjectRow(CObject* pObject, int nRow) {
    DeleteRow(nRow, false);
    const int nNew = AddObjectRow(pObject);
    if (nNew >= 0) {
        SelectSingleItem(nNew);
    }
}

int CMainTableBox::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr || pNotify->nHandled != 0) {
        return 0;
    }
    const bool bRowTable = m_nTableType != 3 || pNotify->nKind == VOK_GROUPADDRESS;
    switch (pNotify->nType) {
    case VN_ADDED: {
        if (pNotify->nKind == 0 && pNotify->pObject != nullptr) {
            pNotify->nKind = GetObjectKindFlag(pNotify->pObject);
        }
        if (pNotify->nFlag != 0) {
            return 0;
        }
        const bool bUsage = IsUsageChange(pNotify->nKind);
        if (!bUsage && (pNotify->nKind != m_nObjectKind || pNotify->pParentObject != m_pParentObject ||
                        pNotify->pObject == nullptr)) {
            return 0;
        }
        if (bRowTable) {
            if (GetDataRowCount() >= m_nMaxEntries) {
                LOG_ERROR("CMainTableBox: %d entries found, max %d allowed!", GetDataRowCount(), m_nMaxEntries);
            } else if (const int nRow = AddObjectRow(pNotify->pObject); nRow >= 0) {
                SelectSingleItem(nRow);
            }
        } else if (bUsage) {
            RefreshTable();
        }
        pNotify->nHandled = VNH_HANDLED;
        return 1;
    }
    case VN_REMOVED: {
        if (pNotify->nFlag != 0) {
            return 0;
        }
        const bool bUsage = IsUsageChange(pNotify->nKind);
        if (!bUsage && (pNotify->nKind != m_nObjectKind || pNotify->pObject == nullptr)) {
            return 0;
        }
        if (bRowTable) {
            DeleteRow(FindRowOfObject(pNotify->pObject), true);
        } else if (bUsage) {
            RefreshTable();
        }
        pNotify->nHandled = VNH_HANDLED;
        return 1;
    }
    case VN_CHANGED: {
        const bool bUsage = IsUsageChange(pNotify->nKind);
        if (!bUsage && (pNotify->nKind != m_nObjectKind || pNotify->pObject == nullptr)) {
            return 0;
        }
        if (bRowTable) {
            // Only a row that shows the object comes back: a table never
            // takes in another routine's or quantity's object this way.
            const int nRow = FindRowOfObject(pNotify->pObject);
            if (nRow >= 0 && nRow < GetDataRowCount()) {
                ReAddObjectRow(pNotify->pObject, nRow);
            }
            pNotify->nHandled = VNH_HANDLED;
            return 1;
        }
        if (bUsage && pNotify->nFlag == 0) {
            RefreshTable();
        }
        return 0;
    }
    case VN_KINDS_CHANGED:
        if (m_nTableType == 3 || m_nTableType == 4 ||
            (pNotify->nKind == m_nObjectKind || pNotify->nKind == VOK_ALL)) {
            RefreshTable();
            // A drop ends with this record: its rows exist from here on.
            SelectPastedRows();
        }
        return 0;
    case VN_DROP:
        if (PasteAndCollect(pNotify->pObject) == PASTE_DONE) {
            pNotify->nHandled = VNH_HANDLED;
            SetDataModified();
            return 1;
        }
        pNotify->nHandled = VNH_REFUSED;
        return 0;
    case VN_UPDATE_COMMAND_UI: {
        CCmdUI* pCmdUI = pNotify->GetCmdUI();
        if (pCmdUI == nullptr) {
            return 0;
        }
        switch (pNotify->nCommandId) {
        case ID_TABLE_PASTE: OnUpdatePaste(pCmdUI); break;
        case ID_TABLE_DELETE: OnUpdateDelete(pCmdUI); break;
        case ID_TABLE_RESERVED: OnUpdateReservedCommand(pCmdUI); break;
        case ID_TABLE_USAGE: OnUpdateUsage(pCmdUI); break;
        case ID_TABLE_COPY: OnUpdateCopy(pCmdUI); break;
        case ID_TABLE_NEW: OnUpdateNew(pCmdUI); break;
        case ID_TABLE_APPLY: OnUpdateApply(pCmdUI); break;
        default: return 0;
        }
        pNotify->nHandled = VNH_HANDLED;
        return 1;
    }
    case VN_COMMAND:
        switch (pNotify->nCommandId) {
        case ID_TABLE_PASTE: OnPaste(); break;
        case ID_TABLE_DELETE: DeleteEntries(); break;
        case ID_TABLE_RESERVED: OnReservedCommand(); break;
        case ID_TABLE_USAGE: OnUsage(); break;
        case ID_TABLE_COPY: OnCopy(); break;
        case ID_TABLE_NEW: NewEntry(); break;
        case ID_TABLE_APPLY: OnApply(); break;
        case ID_TABLE_EDIT: {
            const int t = m_nTableType;
            if (t == 0 || t == 1 || t == 4 || t == 5 || t == 10) {
                return 0;
            }
            OnEditEntry();
            break;
        }
        default: return 0;
        }
        pNotify->nHandled = VNH_HANDLED;
        return 1;
    case VN_SYNC:
        switch (pNotify->nSubcode) {
        case VNS_SELECTION_CHANGED:
            pNotify->nResult = m_bEditInProgress ? 1 : 0;
            pNotify->nHandled = VNH_HANDLED;
            return 1;
        case VNS_DRAG_POINT: {
            auto* pPoint = static_cast<QPoint*>(pNotify->pCmdUI);
            if (pPoint == nullptr) {
                return 0;
            }
            *pPoint = viewport()->mapFromGlobal(*pPoint);
            if (viewport()->rect().contains(*pPoint)) {
                pNotify->nResult = 1;
                pNotify->nTableType = m_nTableType;
                pNotify->pTargetParentObject = GetParentObject();
                pNotify->pTargetPane = dynamic_cast<IViewPane*>(parentWidget());
                pNotify->nHandled = VNH_HANDLED;
                return 1;
            }
            return 0;
        }
        case VNS_TABLE_TYPE:
            pNotify->nTableType = m_nTableType;
            pNotify->nHandled = VNH_HANDLED;
            return 1;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Rows and relations

int CMainTableBox::GetSelectedObjects(std::vector<CObject*>& objects) const {
    const int nMark = GetSelectionMark();
    int nCount = 0;
    for (int i = 0; i < GetDataRowCount() && i < GetItemCount(); ++i) {
        CObject* pObject = GetItemData(i);
        if ((IsItemSelected(i) || i == nMark) && pObject != nullptr) {
            objects.push_back(pObject);
            ++nCount;
        }
    }
    return nCount;
}

int CMainTableBox::GetSelectedEntryCount() const {
    return GetSelectedCount() - (IsItemSelected(GetDataRowCount()) ? 1 : 0);
}

bool CMainTableBox::IsDropTarget(int nDragType, const QPoint& ptScreen) const {
    const bool bType = (m_nTableType == 16 && nDragType == 400) || (m_nTableType == 17 && nDragType == 401) ||
                       (m_nTableType == 18 && nDragType == 402);
    return bType && viewport()->rect().contains(viewport()->mapFromGlobal(ptScreen));
}

QWidget* CMainTableBox::GetAncestor(int n) const {
    QWidget* pWidget = const_cast<CMainTableBox*>(this);
    for (int i = 0; i < n && pWidget != nullptr; ++i) {
        pWidget = pWidget->parentWidget();
    }
    return pWidget;
}

CDialog* CMainTableBox::GetParameterDlg() const {
    // The hosting dialog is the top window the table lives in.
    for (QWidget* pWidget = parentWidget(); pWidget != nullptr; pWidget = pWidget->parentWidget()) {
        if (auto* pDialog = dynamic_cast<CDialog*>(pWidget); pDialog != nullptr && pWidget->isWindow()) {
            return pDialog;
        }
    }
    return nullptr;
}

void CMainTableBox::EndParameterDialog(int nResult) {
    if (CDialog* pDialog = GetParameterDlg()) {
        pDialog->EndDialog(nResult);
    }
}

// ---------------------------------------------------------------------------
// Keys, mouse, focus

bool CMainTableBox::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab) {
            // The frame holding the panes moves the focus on.
            if (QWidget* pFrame = GetAncestor(3)) {
                pFrame->setFocus(Qt::TabFocusReason);
            }
            pKey->accept();
            return true;
        }
    }
    return CTableBox::event(pEvent);
}

void CMainTableBox::keyPressEvent(QKeyEvent* pEvent) {
    const bool bAlt = (pEvent->modifiers() & Qt::AltModifier) != 0;
    const bool bShift = (pEvent->modifiers() & Qt::ShiftModifier) != 0;
    switch (pEvent->key()) {
    case Qt::Key_Backspace:
        if (m_pNavigationTree != nullptr) {
            m_pNavigationTree->SelectParentNode();
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (bAlt) {
            const int nMark = GetSelectionMark();
            ShowContextMenu(QPoint(0, nMark >= 0 ? GetItemRect(nMark).bottom() : 0));
        } else {
            OnEditEntry();
        }
        break;
    case Qt::Key_Insert:
        NewEntry();
        break;
    case Qt::Key_Delete:
        DeleteEntries();
        break;
    case Qt::Key_F1:
        platform::WinHelp(GetHelpId(m_nTableType));
        break;
    case Qt::Key_F10:
        if (bShift) {
            QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
            contextMenuEvent(&menuEvent);
            break;
        }
        CTableBox::keyPressEvent(pEvent);
        return;
    default:
        CTableBox::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
}

void CMainTableBox::mousePressEvent(QMouseEvent* pEvent) {
    m_ptButtonDown = pEvent->position().toPoint();
    if (m_bEditInProgress) {
        pEvent->accept();
        return;
    }
    if (pEvent->button() == Qt::LeftButton) {
        CTableBox::mousePressEvent(pEvent);
        UpdateToolbarState();
    } else {
        CTableBox::mousePressEvent(pEvent);
    }
}

void CMainTableBox::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bDragging &&
        ((pEvent->buttons() & Qt::LeftButton) == 0 || !m_bDragEnabled || GetSelectedEntryCount() <= 0)) {
        CTableBox::mouseMoveEvent(pEvent);
        return;
    }
    // The mouse events arrive on the viewport, in its coordinates.
    const QPoint pt = pEvent->position().toPoint();
    if (!m_bDragging) {
        if (std::abs(pt.x() - m_ptButtonDown.x()) < kDragDistance &&
            std::abs(pt.y() - m_ptButtonDown.y()) < kDragDistance) {
            return;
        }
        m_bDragging = true;
        SetDragCursor(m_nTableType == 11 ? kCursorDrop : kCursorNoDrop);
        // The viewport receives the mouse; a grab on the scroll area itself
        // would swallow every event of the drag.
        viewport()->grabMouse();
        return;
    }
    IViewPane* pTarget = nullptr;
    SetDragCursor(FindDropTarget(pt, &pTarget) ? kCursorDrop : kCursorNoDrop);
}

void CMainTableBox::SetDragCursor(UINT nCursor) {
    viewport()->setCursor(platform::ui::LoadCursorResource(nCursor));
}

void CMainTableBox::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (m_bDragging) {
        // The list's own release would collapse the selection to the pressed
        // row before the drop takes the selected rows.
        const std::vector<CObject*> objects = GetSelectedDataObjects();
        viewport()->releaseMouse();
        viewport()->unsetCursor();
        setState(QAbstractItemView::NoState);
        pEvent->accept();
        DropAt(pEvent->position().toPoint(), objects);
        return;
    }
    if (!m_bEditInProgress) {
        CTableBox::mouseReleaseEvent(pEvent);
    }
}

void CMainTableBox::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (m_bEditInProgress) {
        pEvent->accept();
        return;
    }
    EditEntry(HitTestRow(pEvent->position().toPoint()));
    pEvent->accept();
}

void CMainTableBox::focusInEvent(QFocusEvent* pEvent) {
    CTableBox::focusInEvent(pEvent);
    VIEWNOTIFY notify;
    notify.nType = VN_ACTIVATE;
    notify.nValue = 1;
    SendNotification(&notify);
}

// ---------------------------------------------------------------------------
// Dragging

bool CMainTableBox::FindDropTarget(const QPoint& ptClient, IViewPane** ppTargetPane) {
    if (ppTargetPane != nullptr) {
        *ppTargetPane = nullptr;
    }
    if (m_nTableType == 11 && viewport()->rect().contains(ptClient)) {
        if (ppTargetPane != nullptr) {
            *ppTargetPane = dynamic_cast<IViewPane*>(parentWidget());
        }
        return true;
    }
    QPoint ptScreen = viewport()->mapToGlobal(ptClient);
    VIEWNOTIFY notify;
    notify.nType = VN_SYNC;
    notify.nSubcode = VNS_DRAG_POINT;
    notify.pCmdUI = &ptScreen;
    SendNotification(&notify);
    if (notify.GetResult() == 0) {
        return false;
    }
    const int nTarget = notify.nTableType;
    const bool bAccepted =
        (m_nTableType == 11 && nTarget == 11) ||
        (m_nTableType == 14 && (nTarget == 11 || (nTarget == 14 && m_pParentObject != nullptr &&
                                                  m_pParentObject != notify.pTargetParentObject)));
    if (!bAccepted) {
        return false;
    }
    if (ppTargetPane != nullptr) {
        *ppTargetPane = notify.pTargetPane;
    }
    return true;
}

std::vector<CObject*> CMainTableBox::GetSelectedDataObjects() const {
    std::vector<CObject*> objects;
    for (int i = 0; i < GetDataRowCount() && i < GetItemCount(); ++i) {
        if (IsItemSelected(i) && GetItemData(i) != nullptr) {
            objects.push_back(GetItemData(i));
        }
    }
    return objects;
}

void CMainTableBox::DropAt(const QPoint& ptClient) {
    DropAt(ptClient, GetSelectedDataObjects());
}

void CMainTableBox::DropAt(const QPoint& ptClient, const std::vector<CObject*>& objects) {
    m_bDragging = false;
    IViewPane* pTarget = nullptr;
    // The objects are collected before: rows the drop inserts into this very
    // table must not disturb the walk.
    if (FindDropTarget(ptClient, &pTarget)) {
        for (CObject* pObject : objects) {
            VIEWNOTIFY notify;
            notify.nType = VN_DROP;
            notify.pObject = pObject;
            notify.pTargetPane = pTarget;
            notify.nFlag = 1;
            SendNotification(&notify);
            if ((notify.nHandled & VNH_REFUSED) != 0) {
                break;
            }
        }
        SendKindsChanged();
    }
    SetDataModified();
    SendKindsChangedInDebug();
}

// ---------------------------------------------------------------------------
// Context menu

void CMainTableBox::contextMenuEvent(QContextMenuEvent* pEvent) {
    pEvent->accept();
    QPoint ptClient;
    if (pEvent->reason() == QContextMenuEvent::Keyboard || (pEvent->pos().x() < 0 && pEvent->pos().y() < 0)) {
        const int nMark = GetSelectionMark();
        if (nMark >= 0) {
            const QRect rect = GetItemRect(nMark);
            ptClient = QPoint(rect.left(), rect.bottom());
        }
    } else {
        if (m_bEditInProgress) {
            return;
        }
        // From the screen point: the event may come from the viewport or,
        // passed on, from the header.
        ptClient = viewport()->mapFromGlobal(pEvent->globalPos());
        const int nRow = HitTestRow(ptClient);
        if (nRow >= 0 && !IsItemSelected(nRow)) {
            SelectSingleItem(nRow);
        }
        setFocus(Qt::MouseFocusReason);
    }
    ShowContextMenu(ptClient);
}

void CMainTableBox::UpdatePopupItems(CMenu* pPopup, bool bGrayEdit) {
    if (bGrayEdit) {
        pPopup->EnableMenuItem(1, MF_BYPOSITION | MF_GRAYED);
    }
    const int nCount = pPopup->GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        const UINT nId = pPopup->GetMenuItemID(i);
        // A grayed "Bearbeiten" stays gray: nothing selected has a use.
        if (nId == 0 || nId == static_cast<UINT>(-1) || (bGrayEdit && i == 1)) {
            continue;
        }
        CCmdUI cmdUI;
        cmdUI.m_nID = nId;
        cmdUI.m_nIndex = static_cast<UINT>(i);
        cmdUI.m_nIndexMax = static_cast<UINT>(nCount);
        cmdUI.m_pMenu = pPopup;
        switch (nId) {
        case ID_TABLE_PASTE: OnUpdatePaste(&cmdUI); break;
        case ID_TABLE_DELETE: OnUpdateDelete(&cmdUI); break;
        case ID_TABLE_RESERVED: OnUpdateReservedCommand(&cmdUI); break;
        case ID_TABLE_USAGE: OnUpdateUsage(&cmdUI); break;
        case ID_TABLE_COPY: OnUpdateCopy(&cmdUI); break;
        case ID_TABLE_NEW: OnUpdateNew(&cmdUI); break;
        case ID_TABLE_EDIT: OnUpdateEditEntry(&cmdUI); break;
        case ID_TABLE_HELP: OnUpdateHelpOnTable(&cmdUI); break;
        case ID_TABLE_APPLY: OnUpdateApply(&cmdUI); break;
        default: break;
        }
    }
}

void CMainTableBox::ShowContextMenu(const QPoint& ptClient) {
    if (m_bEditInProgress) {
        return;
    }
    CMenu menu;
    if (!menu.LoadMenu(kContextMenuId)) {
        LOG_ERROR("CMainTableBox: Couldnt load context menu");
        return;
    }
    const int t = m_nTableType;
    const bool bNoPopupType = t == 0 || t == 16 || t == 17 || t == 19 || t == 20;
    int nPopup = -1;
    if (GetSelectionMark() < 0) {
        if (bNoPopupType) {
            return;
        }
        nPopup = t == 1 ? 6 : (t == 3 ? 3 : (t == 18 ? 5 : 1));
    } else {
        if (bNoPopupType) {
            LOG_ERROR("CMainTableBox: Couldnt get popup menu for table type %d", t);
            return;
        }
        nPopup = t == 3 ? 2 : (t == 18 ? 4 : 0);
    }
    CMenu* pPopup = menu.GetSubMenu(nPopup);
    if (pPopup == nullptr) {
        LOG_ERROR("CMainTableBox: Couldnt get popup menu for table type %d", t);
        return;
    }
    bool bGrayEdit = false;
    if (nPopup == 2) {
        bGrayEdit = true;
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        for (CObject* pObject : objects) {
            const auto* pAddress = dynamic_cast<const CGroupDataAddress*>(pObject);
            if (pAddress != nullptr && pAddress->HasUsage(15)) {
                bGrayEdit = false;
                break;
            }
        }
    }
    UpdatePopupItems(pPopup, bGrayEdit);
    const QPoint ptScreen = viewport()->mapToGlobal(ptClient);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x(), ptScreen.y(), this);
}
