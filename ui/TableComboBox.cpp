#include "ui/TableComboBox.h"

#include "app/Chronoset.h"
#include "model/DayRoutine.h"
#include "model/GroupDataAddress.h"
#include "model/GroupDataAddresses.h"
#include "model/IniManager.h"
#include "model/SettingsBatch.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/ui/ComboBoxData.h"
#include "platform/ui/Handles.h"
#include "ui/GroupAddressInsertHook.h"
#include "ui/TableListHeader.h"

#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace {

constexpr UINT IDS_NEW_GROUP_ADDRESS = 304;
constexpr UINT IDS_NONE_ENTRY = 40119;
constexpr UINT IDS_COLUMN_NAME = 40102;
constexpr UINT IDS_COLUMN_NUMBER = 40103;
constexpr UINT IDS_COLUMN_TYPE = 40107;
// A cell's text starts 4 pixels in and is cut 8 pixels before its end.
constexpr int kCellMargins = 12;

std::string NewAddressText() {
    return GetResString(IDS_NEW_GROUP_ADDRESS, "neue Gruppenadresse");
}

std::string NoneText() {
    return GetResString(IDS_NONE_ENTRY, "\"kein\"");
}

template <typename T>
int Compare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

CTableComboBox::CTableComboBox(bool bKeepOpen, QWidget* pParent)
    : CTabComboBox(0, 0, nullptr, pParent), m_bKeepOpen(bKeepOpen) {
    m_arrObjects.reserve(MAX_OBJECTS);
}

CTableComboBox::~CTableComboBox() = default;

bool CTableComboBox::AddObject(CObject* pObject) {
    if (m_nObjectCount >= MAX_OBJECTS) {
        return false;
    }
    m_arrObjects.push_back(pObject);
    ++m_nObjectCount;
    return true;
}

void CTableComboBox::ClearObjects() {
    m_arrObjects.clear();
    m_nObjectCount = 0;
}

CObject* CTableComboBox::GetObject(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nObjectCount) {
        return nullptr;
    }
    return m_arrObjects[static_cast<std::size_t>(nIndex)];
}

std::intptr_t CTableComboBox::GetObjectData(const CObject* pObject) {
    if (const auto* pAddress = dynamic_cast<const CGroupDataAddress*>(pObject)) {
        const auto nRaw = static_cast<std::intptr_t>(static_cast<WORD>(pAddress->GetAddress()));
        return pAddress->IsInvalid() ? -nRaw : nRaw;
    }
    return reinterpret_cast<std::intptr_t>(pObject);
}

int CTableComboBox::Refill() {
    const std::intptr_t nSelData = GetComboSelData(this);
    const bool bWasOpen = GetDroppedState();
    if (bWasOpen) {
        ShowDropDown(false);
    }
    const QSignalBlocker blocker(this);
    clear();
    m_nNewAddressIndex = -1;

    if (m_nObjectCount >= 2) {
        std::stable_sort(m_arrObjects.begin(), m_arrObjects.end(),
                         [this](const CObject* pA, const CObject* pB) { return CompareObjects(pA, pB) < 0; });
    }
    const bool bGroupAddresses =
        m_nObjectCount > 0 && dynamic_cast<const CGroupDataAddress*>(m_arrObjects.front()) != nullptr;

    if (m_bFirstEntry) {
        AddComboItem(this, QString::fromStdString(m_strFirstEntry), 0);
    }
    if (m_bNoneEntry) {
        AddComboItem(this, QString::fromStdString(NoneText()), 0);
    }
    std::vector<std::string> texts;
    for (const CObject* pObject : m_arrObjects) {
        if (const auto* pAddress = dynamic_cast<const CGroupDataAddress*>(pObject)) {
            texts.push_back(pAddress->GetTypeText() + '\t' + pAddress->GetName() + '\t' +
                            pAddress->GetAddressText(true));
            AddComboItem(this, QString::fromStdString(texts.back()), GetObjectData(pAddress));
        } else if (const auto* pRoutine = dynamic_cast<const CDayRoutine*>(pObject)) {
            texts.push_back(pRoutine->GetName() + '\t' + std::to_string(pRoutine->GetNumber()));
            // The data goes on the entry just added, whatever entries precede it.
            AddComboItem(this, QString::fromStdString(texts.back()), GetObjectData(pRoutine));
        } else {
            LOG_ERROR("CTableComboBox::Refill: object of unsupported type not listed");
        }
    }
    FitDefaultColumns(texts);
    if (IsNewAddressEntryEnabled()) {
        m_nNewAddressIndex = AddComboItem(this, QString::fromStdString(NewAddressText()), 0);
    }
    if (nSelData != 0 || !bGroupAddresses) {
        SelectComboByData(this, nSelData, -1);
    } else {
        setCurrentIndex(-1);
    }
    if (bWasOpen) {
        ShowDropDown(true);
    }
    update();
    return m_nNewAddressIndex;
}

void CTableComboBox::SelectObject(CObject* pObject) {
    LOG_TRACE("CTableComboBox::SelectObject: selecting object=0x%08lX",
              static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(pObject)));
    // The objects' entries start after the first and the none entry.
    const int nOffset = (m_bFirstEntry ? 1 : 0) + (m_bNoneEntry ? 1 : 0);
    int nSelect = -1;
    if (pObject == nullptr) {
        nSelect = m_bNoneEntry ? nOffset - 1 : -1;
        setCurrentIndex(nSelect);
        return;
    }
    if (const auto* pAddress = dynamic_cast<const CGroupDataAddress*>(pObject)) {
        LOG_TRACE("CTableComboBox::SelectObject: ObjType GA, Address = %s", pAddress->GetAddressText(false).c_str());
    }
    const std::intptr_t nKey = GetObjectData(pObject);
    LOG_TRACE("CTableComboBox::SelectObject: searching for exact match in item list");
    for (int i = nOffset; i < count(); ++i) {
        if (i == m_nNewAddressIndex) {
            continue;
        }
        if (GetComboItemData(this, i) == nKey) {
            LOG_TRACE("CTableComboBox::SelectObject: found exact match item nr=%d", i);
            nSelect = i;
            break;
        }
    }
    if (nSelect < 0 && m_nObjectCount > 0) {
        LOG_TRACE("CTableComboBox::SelectObject: did not find exact match, looking for a close one");
        nSelect = nOffset + m_nObjectCount - 1;
        for (int i = 0; i < m_nObjectCount; ++i) {
            if (CompareObjects(pObject, m_arrObjects[static_cast<std::size_t>(i)]) < 0) {
                nSelect = nOffset + i;
                break;
            }
        }
        LOG_TRACE("CTableComboBox::SelectObject: .. closest match is nr=%d", nSelect);
    }
    setCurrentIndex(nSelect < count() ? nSelect : -1);
}

void CTableComboBox::EnableNewAddressEntry(bool bEnable) {
    m_bNewAddressEntry = bEnable && !g_bStandalone;
}

bool CTableComboBox::IsNewAddressEntryEnabled() const {
    return m_bNewAddressEntry && !g_bStandalone && ui::HasGroupAddressInsertHook();
}

bool CTableComboBox::UpdateNewAddressEntry(bool bWanted, QWidget* pOwner, bool* pbLimitShown) {
    const bool bCanAdd = g_pChronoset == nullptr || g_pChronoset->CanAddGroupAddress();
    EnableNewAddressEntry(bWanted && bCanAdd);
    if (bWanted && !bCanAdd && !g_bStandalone && ui::HasGroupAddressInsertHook() && pbLimitShown != nullptr &&
        !*pbLimitShown) {
        *pbLimitShown = true;
        ShowAssociationLimitMessage(platform::ui::HwndFromWidget(pOwner));
    }
    Refill();
    return IsNewAddressEntryEnabled();
}

void CTableComboBox::SetNoneEntry(bool bNoneEntry) {
    m_bNoneEntry = bNoneEntry;
}

void CTableComboBox::SetFirstEntryText(const std::string& strText) {
    m_strFirstEntry = strText;
    m_bFirstEntry = true;
}

void CTableComboBox::AddGroupAddressColumns() {
    AddItem(new CTabComboItem(TCI_LEFT, 100, GetResString(IDS_COLUMN_TYPE, "Typ")));
    AddItem(new CTabComboItem(TCI_LEFT, 100, GetResString(IDS_COLUMN_NAME, "Name")));
    AddItem(new CTabComboItem(TCI_LEFT, 100, GetResString(IDS_COLUMN_NUMBER, "Nr")));
}

void CTableComboBox::AddDayRoutineColumns() {
    AddItem(new CTabComboItem(TCI_LEFT, 200, GetResString(IDS_COLUMN_NAME, "Name")));
    AddItem(new CTabComboItem(TCI_LEFT, 35, GetResString(IDS_COLUMN_NUMBER, "Nr")));
}

BOOL CTableComboBox::InitColumns(CTableListHeader& header, int nTableType) {
    header.SetStyle(THS_RESIZABLE | THS_MOVABLE);
    const BOOL bCreated = header.CreateForControl(this, 0, -1);
    RestoreColumns(nTableType);
    if (nTableType == TABLE_TYPE_GROUP_ADDRESS_COMBO && !m_arrColumnTypes.empty() && m_arrColumnTypes[0] == 0) {
        for (std::size_t i = 0; i < m_arrColumnTypes.size(); ++i) {
            m_arrColumnTypes[i] = static_cast<SHORT>(i + 1);
        }
    }
    return bCreated;
}

void CTableComboBox::RestoreColumns(int nTableType) {
    const int nCount = GetColumnCount();
    if (nCount <= 0) {
        return;
    }
    // One look at the settings file for all of the chooser's keys.
    CSettingsBatch settings;
    std::vector<WORD> prefs(static_cast<std::size_t>(nCount), 0);
    g_IniManager.GetColumnPrefs(nTableType, prefs);
    m_arrColumnTypes.assign(nCount, 0);
    for (int i = 0; i < nCount; ++i) {
        m_arrColumnTypes[static_cast<std::size_t>(i)] = static_cast<SHORT>(prefs[static_cast<std::size_t>(i)]);
    }

    std::vector<int> widths(static_cast<std::size_t>(nCount), 0);
    g_IniManager.GetColumnWidths(nTableType, nCount, widths.data());
    m_arrUserWidth.assign(static_cast<std::size_t>(nCount), false);
    m_arrFittedWidths.assign(static_cast<std::size_t>(nCount), 0);
    for (int i = 0; i < nCount; ++i) {
        const int nWidth = widths[static_cast<std::size_t>(i)];
        // A narrower stored width would leave a column nobody can grab.
        if (nWidth > 15) {
            GetColumn(i)->m_nWidth = nWidth;
        }
        // The default width stands for "not set" (see SaveColumns).
        m_arrUserWidth[static_cast<std::size_t>(i)] =
            nWidth > 15 && nWidth != CIniManager::GetDefaultColumnWidth(nTableType, i);
        m_arrFittedWidths[static_cast<std::size_t>(i)] = GetColumn(i)->m_nWidth;
    }

    if (nCount >= 2) {
        std::vector<WORD> order(static_cast<std::size_t>(nCount), 0);
        g_IniManager.GetColumnPositionsShort(nTableType, nCount, order.data());
        std::vector<bool> seen(static_cast<std::size_t>(nCount), false);
        bool bValid = true;
        for (WORD wColumn : order) {
            if (wColumn >= nCount || seen[wColumn]) {
                bValid = false;
                break;
            }
            seen[wColumn] = true;
        }
        if (bValid) {
            SetColumnOrder(&order);
        }
    }
    RedrawAll();
}

bool CTableComboBox::IsUserWidth(int nColumn) {
    const auto n = static_cast<std::size_t>(nColumn);
    if (n >= m_arrUserWidth.size()) {
        // Columns without stored settings start at the width they were given.
        m_arrUserWidth.resize(n + 1, false);
        m_arrFittedWidths.resize(n + 1, 0);
        m_arrFittedWidths[n] = GetColumn(nColumn)->m_nWidth;
    }
    // A width other than the last one the box gave itself is the user's.
    if (!m_arrUserWidth[n] && GetColumn(nColumn)->m_nWidth != m_arrFittedWidths[n]) {
        m_arrUserWidth[n] = true;
    }
    return m_arrUserWidth[n];
}

void CTableComboBox::FitDefaultColumns(const std::vector<std::string>& texts) {
    const QFontMetrics metrics(font());
    // The open list may be as wide as the screen, and a column with it;
    // the tables' limit for their columns would cut long names.
    const QScreen* pScreen = screen();
    const int nMaxWidth = pScreen != nullptr ? pScreen->availableGeometry().width() : std::numeric_limits<int>::max();
    for (int i = 0; i < GetColumnCount(); ++i) {
        CTabComboItem* pColumn = GetColumn(i);
        if (pColumn->IsPicture() || IsUserWidth(i)) {
            continue;
        }
        int nWidth = metrics.horizontalAdvance(QString::fromStdString(pColumn->m_strTitle));
        for (const std::string& strText : texts) {
            nWidth = std::max(nWidth, metrics.horizontalAdvance(QString::fromStdString(GetTabField(strText, i))));
        }
        nWidth = std::min(nWidth + kCellMargins, nMaxWidth);
        if (nWidth > pColumn->m_nWidth) {
            pColumn->m_nWidth = nWidth;
            m_arrFittedWidths[static_cast<std::size_t>(i)] = nWidth;
        }
    }
}

void CTableComboBox::SaveColumns(int nTableType) {
    const int nCount = GetColumnCount();
    if (nCount <= 0) {
        return;
    }
    // One change of the file for all of the chooser's keys.
    CSettingsBatch batch;
    std::vector<WORD> prefs(m_arrColumnTypes.size());
    std::transform(m_arrColumnTypes.begin(), m_arrColumnTypes.end(), prefs.begin(),
                   [](SHORT nKey) { return static_cast<WORD>(nKey); });
    if (!prefs.empty()) {
        g_IniManager.SetColumnPrefs(nTableType, prefs);
    }
    std::vector<int> widths;
    for (int i = 0; i < nCount; ++i) {
        // A width the box fitted to its entries is not kept: the next time
        // it fits the entries of then.
        widths.push_back(IsUserWidth(i) ? GetColumn(i)->m_nWidth : CIniManager::GetDefaultColumnWidth(nTableType, i));
    }
    g_IniManager.SetColumnWidths(nTableType, nCount, widths.data());
    if (nCount >= 2) {
        std::vector<WORD> order;
        GetColumnOrder(order);
        g_IniManager.SetColumnPositionsShort(nTableType, nCount, order.data());
    }
}

void CTableComboBox::SortByColumn(int nColumn) {
    if (m_arrColumnTypes.empty() || nColumn < 0) {
        return;
    }
    const auto nKind = static_cast<SHORT>(nColumn + 1);
    SHORT nNewKey = static_cast<SHORT>(-nKind);
    const auto it = std::find_if(m_arrColumnTypes.begin(), m_arrColumnTypes.end(),
                                 [nKind](SHORT nKey) { return nKey == nKind || nKey == -nKind; });
    if (it != m_arrColumnTypes.end()) {
        nNewKey = static_cast<SHORT>(-*it);
        m_arrColumnTypes.erase(it);
        m_arrColumnTypes.insert(m_arrColumnTypes.begin(), nNewKey);
    } else {
        // No key for the column yet: it takes the place of the last one.
        m_arrColumnTypes.insert(m_arrColumnTypes.begin(), nNewKey);
        m_arrColumnTypes.pop_back();
    }
    Refill();
}

int CTableComboBox::CompareObjects(const CObject* pA, const CObject* pB) const {
    if (pA == nullptr && pB == nullptr) {
        return 0;
    }
    if (pB == nullptr) {
        return -1;
    }
    if (pA == nullptr) {
        return 1;
    }
    const auto* pAddressA = dynamic_cast<const CGroupDataAddress*>(pA);
    const auto* pAddressB = dynamic_cast<const CGroupDataAddress*>(pB);
    const auto* pRoutineA = dynamic_cast<const CDayRoutine*>(pA);
    const auto* pRoutineB = dynamic_cast<const CDayRoutine*>(pB);
    if (!((pAddressA != nullptr && pAddressB != nullptr) || (pRoutineA != nullptr && pRoutineB != nullptr))) {
        LOG_ERROR("CTableComboBox: CompareObjects called with unsupported object type");
        return 0;
    }
    for (const SHORT nKey : m_arrColumnTypes) {
        const int nKind = nKey < 0 ? -nKey : nKey;
        int nResult = 0;
        if (pAddressA != nullptr) {
            switch (nKind) {
                case 1:
                    nResult = Compare(pAddressA->GetObjectType(), pAddressB->GetObjectType());
                    break;
                case 2:
                    nResult = Compare(pAddressA->GetName(), pAddressB->GetName());
                    break;
                case 3:
                    nResult = Compare(pAddressA->GetAddress(), pAddressB->GetAddress());
                    break;
                default:
                    continue;
            }
        } else {
            switch (nKind) {
                case 1:
                    nResult = Compare(pRoutineA->GetName(), pRoutineB->GetName());
                    break;
                case 2:
                    nResult = Compare(pRoutineA->GetNumber(), pRoutineB->GetNumber());
                    break;
                default:
                    continue;
            }
        }
        if (nResult != 0) {
            return nKey < 0 ? -nResult : nResult;
        }
    }
    return 0;
}

void CTableComboBox::SetItemColors(TabDrawItem& item, const std::string& strText) {
    m_bDrawingNewAddressRow = strText == NewAddressText();
    m_bDrawingNoneRow = strText == NoneText();
    if (item.bDisabled) {
        item.crBack = palette().color(QPalette::Base);
        item.crText = QColor(127, 127, 127);
        return;
    }
    CTabComboBox::SetItemColors(item, strText);
}

void CTableComboBox::DrawCell(QPainter& painter, const QRect& rcCell, int nColumn, const std::string& strText) {
    const CTabComboItem* pColumn = GetColumn(nColumn);
    if (pColumn == nullptr) {
        return;
    }
    if (pColumn->IsPicture() && !m_bDrawingNewAddressRow && !m_bDrawingNoneRow) {
        CTabComboBox::DrawCell(painter, rcCell, nColumn, strText);
        return;
    }
    QRect rcDraw = rcCell;
    if (m_bDrawingNewAddressRow || m_bDrawingNoneRow) {
        // These entries are one text over the whole width.
        if (strText.empty()) {
            return;
        }
        const int nRight = painter.device() != nullptr ? painter.device()->width() - 1 : rcCell.right();
        rcDraw.setRight(std::max(rcCell.right(), nRight));
    }
    painter.save();
    painter.fillRect(rcDraw, painter.background());
    painter.setClipRect(rcDraw.adjusted(4, 0, -(kCellMargins - 4), 0), Qt::IntersectClip);
    int nAlign = Qt::AlignLeft;
    if (pColumn->GetAlignment() == TCI_RIGHT) {
        nAlign = Qt::AlignRight;
    } else if (pColumn->GetAlignment() == TCI_CENTER) {
        nAlign = Qt::AlignHCenter;
    }
    painter.drawText(rcDraw.adjusted(4, 0, -4, 0), nAlign | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(strText));
    painter.restore();
}

int CTableComboBox::GetCellMargins() const {
    return kCellMargins;
}

void CTableComboBox::focusOutEvent(QFocusEvent* pEvent) {
    const bool bWasOpen = GetDroppedState();
    CTabComboBox::focusOutEvent(pEvent);
    // A list that was open comes back while the pointer is still over the box.
    if (m_bKeepOpen && bWasOpen && !GetDroppedState() && pEvent->reason() != Qt::PopupFocusReason &&
        rect().contains(mapFromGlobal(QCursor::pos()))) {
        ShowDropDown(true);
    }
}

CGroupDataAddress* CTableComboBox::GetSelectedGroupAddress() const {
    const int nSelection = currentIndex();
    if (nSelection < 0 || nSelection == GetNewAddressIndex() || g_pChronoset == nullptr) {
        return nullptr;
    }
    const std::intptr_t nData = GetComboItemData(this, nSelection);
    if (nData == 0) {
        return nullptr;
    }
    const CGroupDataAddresses* pLists = g_pChronoset->GetGroupDataAddresses();
    return nData < 0 ? pLists->GetReferenceFromAddress(static_cast<LONG>(-nData), true)
                     : pLists->GetReferenceFromAddress(static_cast<LONG>(nData), false);
}
