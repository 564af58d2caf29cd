#include "editors/time/DeviceObjectTable.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "common/ResultCode.h"
#include "editors/time/DeviceObjectRow.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/WaitCursor.h"
#include "platform/com/ComPtr.h"
#include "ui/ItemOrder.h"

#include <cstdio>

using ui::Order;

namespace {

// A host call that succeeded without handing out its object counts as failed.
template <class T>
HRESULT Checked(HRESULT hr, const CComPtr<T>& p) {
    return FAILED(hr) ? hr : (p ? hr : E_POINTER);
}

CDeviceObjectRow* RowOf(CObject* pObject) {
    return dynamic_cast<CDeviceObjectRow*>(pObject);
}

// A set flag sorts after a cleared one.
int FlagOrder(WORD wA, WORD wB) {
    return Order(wA != 0, wB != 0);
}

std::string FlagText(WORD wFlag) {
    return wFlag != 0 ? "+" : "-";
}

std::string IndividualAddressText(DWORD dwAddress) {
    char szText[40];
    std::snprintf(szText, sizeof szText, "%u.%u.%u", static_cast<unsigned>((dwAddress >> 12) & 15),
                  static_cast<unsigned>((dwAddress >> 8) & 15), static_cast<unsigned>(dwAddress & 255));
    return szText;
}

}  // namespace

CDeviceObjectTable::CDeviceObjectTable(LONG nSubGroupId) : CMainTableBox(kTableType), m_nSubGroupId(nSubGroupId) {
    SetNotificationsOn(false);
    SetMaxEntries(kMaxRows);
    SetColumnCount(kColumnCount);
}

CDeviceObjectTable::~CDeviceObjectTable() {
    // The rows point into the records: they go first.
    DestroyWindow();
    DeleteRowRecords();
}

void CDeviceObjectTable::DeleteRowRecords() {
    for (int i = 0; i < m_nRowCount; ++i) {
        delete m_apRows[static_cast<std::size_t>(i)];
        m_apRows[static_cast<std::size_t>(i)] = nullptr;
    }
    m_nRowCount = 0;
}

bool CDeviceObjectTable::InitColumns() {
    std::vector<WORD>& prefs = GetColumnPrefs();
    if (prefs.size() > 1 && prefs[1] == 0) {
        // Column 0 is the empty leading column and takes no sort key.
        prefs[0] = 0;
        for (std::size_t i = 1; i < prefs.size(); ++i) {
            prefs[i] = static_cast<WORD>(i + 1);
        }
    }
    AddColumn("", GetStoredColumnWidth(0), LVCFMT_LEFT);
    AddColumn(GetResString(40103, "Nr"), GetStoredColumnWidth(1), LVCFMT_RIGHT);
    AddColumn(GetResString(470, "PA"), GetStoredColumnWidth(2), LVCFMT_LEFT);
    AddColumn(GetResString(471, "Funktion"), GetStoredColumnWidth(3), LVCFMT_LEFT);
    AddColumn(GetResString(472, "Objektname"), GetStoredColumnWidth(4), LVCFMT_LEFT);
    AddColumn(GetResString(40107, "Typ"), GetStoredColumnWidth(5), LVCFMT_LEFT);
    AddColumn(GetResString(473, "Priorität"), GetStoredColumnWidth(6), LVCFMT_LEFT);
    AddColumn(GetResString(474, "K"), GetStoredColumnWidth(7), LVCFMT_CENTER);
    AddColumn(GetResString(475, "L"), GetStoredColumnWidth(8), LVCFMT_CENTER);
    AddColumn(GetResString(476, "S"), GetStoredColumnWidth(9), LVCFMT_CENTER);
    AddColumn(GetResString(477, "Ü"), GetStoredColumnWidth(10), LVCFMT_CENTER);
    AddColumn(GetResString(478, "Akt"), GetStoredColumnWidth(11), LVCFMT_CENTER);
    AddColumn(GetResString(479, "Ack"), GetStoredColumnWidth(12), LVCFMT_CENTER);
    AddColumn(GetResString(40027, "Gruppenadressen"), GetStoredColumnWidth(13), LVCFMT_LEFT);
    return true;
}

bool CDeviceObjectTable::FillTable() {
    CWaitCursor wait;
    DeleteAllRows();
    DeleteRowRecords();

    IEtsGroupAddress* pSubGroup = g_mapGroupAddresses.Lookup(m_nSubGroupId);
    if (pSubGroup == nullptr) {
        LOG_ERROR("subgroup with id = %ld doesnt exist", static_cast<long>(m_nSubGroupId));
        return true;
    }
    CComPtr<IEtsAssociations> pAssociations;
    HRESULT hr = Checked(pSubGroup->get_RefAssociations(&pAssociations), pAssociations);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get RefAssociations for subgroup %ld hr=0x%08X", static_cast<long>(m_nSubGroupId), Hr(hr));
        return true;
    }
    LONG nCount = 0;
    hr = pAssociations->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get RefAssociations count for subgroupid=%ld hr=0x%08X", static_cast<long>(m_nSubGroupId),
                  Hr(hr));
        return true;
    }

    CEtsDataAccess access;
    for (LONG i = 1; i <= nCount && m_nRowCount < kMaxRows; ++i) {
        CComPtr<IEtsAssociation> pAssociation;
        hr = Checked(pAssociations->Item(MakeIndexVariant(i), &pAssociation), pAssociation);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get Assoc item for subgroupid=%ld hr=0x%08X", static_cast<long>(m_nSubGroupId), Hr(hr));
            continue;
        }
        CComPtr<IEtsCommObject> pObject;
        hr = Checked(pAssociation->get_Parent(&pObject), pObject);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get assoc parent(DevCO) for subgroupid=%ld hr=0x%08X", static_cast<long>(m_nSubGroupId),
                      Hr(hr));
            continue;
        }

        // Fresh records for every association: the host access leaves a
        // value it cannot read as the record held it, which must never be
        // the previous row's.
        LONG nAddress = 0;
        CComPtr<IEtsDevice> pDevice;
        hr = Checked(pObject->get_Parent(&pDevice), pDevice);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get parent device of comm object hr=0x%08X", Hr(hr));
        } else {
            hr = access.GetDeviceAddress(pDevice, nAddress);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get device address of comm object hr=0x%08X", Hr(hr));
                // A failure on the way leaves a partial address behind.
                nAddress = 0;
            }
        }
        CommObjectData data;
        hr = access.GetCommObjectData(pObject, data);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get communication object data hr=0x%08X", Hr(hr));
        }
        bool bAcknowledge = false;
        hr = access.GetAcknowledge(pAssociation, bAcknowledge);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get association data hr=0x%08X", Hr(hr));
            bAcknowledge = false;
        }

        auto* pRow = new CDeviceObjectRow;
        pRow->m_wObjectNumber = static_cast<WORD>(data.nNumber);
        pRow->m_dwIndividualAddress = static_cast<DWORD>(nAddress);
        pRow->m_strName = data.strName;
        pRow->m_strFunction = data.strFunction;
        pRow->m_wSizeCode = static_cast<WORD>(data.nLength);
        pRow->m_wPriority = static_cast<WORD>(data.nPriority);
        pRow->m_wCommunication = static_cast<WORD>(data.nCommunication);
        pRow->m_wRead = static_cast<WORD>(data.nRead);
        pRow->m_wWrite = static_cast<WORD>(data.nWrite);
        pRow->m_wTransmit = static_cast<WORD>(data.nTransmit);
        pRow->m_wUpdate = static_cast<WORD>(data.nUpdate);
        pRow->m_wAcknowledge = bAcknowledge ? 1 : 0;
        pRow->m_strGroupAddresses = data.strAssociations;
        m_apRows[static_cast<std::size_t>(m_nRowCount++)] = pRow;

        std::vector<std::string> texts;
        GetEntryStrings(pRow, texts);
        if (AddRow(texts, pRow, GetDefaultImage()) < 0) {
            break;
        }
    }
    return true;
}

void CDeviceObjectTable::GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) {
    texts.clear();
    const CDeviceObjectRow* pRow = RowOf(pObject);
    if (pRow == nullptr) {
        return;
    }
    texts.emplace_back();
    texts.push_back(std::to_string(pRow->m_wObjectNumber));
    texts.push_back(IndividualAddressText(pRow->m_dwIndividualAddress));
    texts.push_back(pRow->m_strFunction);
    texts.push_back(pRow->m_strName);
    texts.push_back(GetDptSizeName(pRow->m_wSizeCode));
    texts.push_back(GetPriorityName(pRow->m_wPriority));
    texts.push_back(FlagText(pRow->m_wCommunication));
    texts.push_back(FlagText(pRow->m_wRead));
    texts.push_back(FlagText(pRow->m_wWrite));
    texts.push_back(FlagText(pRow->m_wTransmit));
    texts.push_back(FlagText(pRow->m_wUpdate));
    texts.push_back(FlagText(pRow->m_wAcknowledge));
    texts.push_back(pRow->m_strGroupAddresses);
}

int CDeviceObjectTable::CompareItems(int nColumn, int nRowA, int nRowB) {
    return CompareRowObjects<CDeviceObjectRow>(nRowA, nRowB, [nColumn](const CDeviceObjectRow& a,
                                                                       const CDeviceObjectRow& b) {
        switch (nColumn) {
        case 1:
            return Order(a.m_wObjectNumber, b.m_wObjectNumber);
        case 2:
            return Order(a.m_dwIndividualAddress, b.m_dwIndividualAddress);
        case 3:
            return Order(a.m_strFunction, b.m_strFunction);
        case 4:
            return Order(a.m_strName, b.m_strName);
        case 5:
            return Order(a.m_wSizeCode, b.m_wSizeCode);
        case 6:
            return Order(a.m_wPriority, b.m_wPriority);
        case 7:
            return FlagOrder(a.m_wCommunication, b.m_wCommunication);
        case 8:
            return FlagOrder(a.m_wRead, b.m_wRead);
        case 9:
            return FlagOrder(a.m_wWrite, b.m_wWrite);
        case 10:
            return FlagOrder(a.m_wTransmit, b.m_wTransmit);
        case 11:
            return FlagOrder(a.m_wUpdate, b.m_wUpdate);
        case 12:
            return FlagOrder(a.m_wAcknowledge, b.m_wAcknowledge);
        case 13:
            return Order(a.m_strGroupAddresses, b.m_strGroupAddresses);
        default:
            return 0;
        }
    });
}
