#include "model/Quantity.h"

#include "common/ProgressSteps.h"
#include "model/ArchiveSchema.h"
#include "model/CsvField.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
#include "model/Quantities.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "report/ParamReport.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdio>

namespace {

using progress::Step;

std::string Join(const std::vector<std::string>& arrFields)
{
    std::string strLine;
    for (std::size_t i = 0; i < arrFields.size(); ++i) {
        if (i)
            strLine += ",";
        strLine += CsvField(arrFields[i]);
    }
    return strLine;
}

std::string YesNo(bool bYes)
{
    return bYes ? GetResString(808, "Ja") : GetResString(807, "Nein");
}

std::string RangeText(int nRange)
{
    return nRange != 0 ? GetResString(302, "B") : GetResString(301, "A");
}

}  // namespace

CQuantity::~CQuantity()
{
    for (CQuantityMember* pMember : m_lstMembers)
        delete pMember;
    m_lstMembers.clear();
    m_lstTriggers.clear();
}

CObject* CQuantity::CreateObject()
{
    return new CQuantity;
}

CGroupDataAddresses* CQuantity::GetGroupDataAddresses() const
{
    return m_pOwner ? m_pOwner->GetGroupDataAddresses() : nullptr;
}

bool CQuantity::DestroyIfUnusedInvalid(CGroupDataAddress* pAddress) const
{
    if (!pAddress || !pAddress->IsInvalid() || (pAddress->GetUsageFlags() & GAU_ANY) != 0)
        return false;
    CGroupDataAddresses* pLists = pAddress->GetOwner() ? pAddress->GetOwner() : GetGroupDataAddresses();
    // An address no list holds has no owner to destroy it for; leave it.
    if (!pLists || !pLists->Remove(pAddress, false))
        return false;
    delete pAddress;
    return true;
}

// ------------------------------------------------------------ triggers

int CQuantity::GetTriggerCount(bool bValidOnly) const
{
    if (!bValidOnly)
        return static_cast<int>(m_lstTriggers.size());
    return static_cast<int>(std::count_if(m_lstTriggers.begin(), m_lstTriggers.end(),
                                          [](const CGroupDataAddress* p) { return p && !p->IsInvalid(); }));
}

int CQuantity::AddTriggerGroupAddress(CGroupDataAddress* pAddress, bool bAsRequest)
{
    if (!pAddress)
        return 0;
    // Only the main types must agree: every sub type of a main type has the
    // same bus form.
    if (pAddress->GetObjectType() != m_nMainType) {
        LOG_WARNING("Trying to add TriggerGda of wrong type ( %d.%d expected %d.%d ) to Quantity",
                    static_cast<int>(pAddress->GetObjectType()), static_cast<int>(pAddress->GetSubType()),
                    m_nMainType, m_nSubType);
        return 0;
    }
    if (pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER)) {
        LOG_WARNING("Trying to add TriggerGda which is already used as a day routine trigger to Quantity");
        return 0;
    }
    if (IsTrigger(pAddress)) {
        LOG_WARNING("Trying to add TriggerGda to Quantity, which is already in list");
        return 0;
    }
    m_lstTriggers.push_back(pAddress);
    pAddress->AddUse(GAU_QUANTITY_TRIGGER);
    if (bAsRequest)
        m_pRequestGroupAddress = pAddress;
    return 1;
}

void CQuantity::RemoveTriggerGroupAddress(CGroupDataAddress*& pAddress)
{
    if (!pAddress)
        return;
    auto it = std::find(m_lstTriggers.begin(), m_lstTriggers.end(), pAddress);
    // Giving back a use this quantity never registered would corrupt the
    // address's counts.
    if (it == m_lstTriggers.end()) {
        LOG_WARNING("Trying to remove TriggerGda from Quantity, which is not in list");
        return;
    }
    m_lstTriggers.erase(it);
    pAddress->RemoveUse(GAU_QUANTITY_TRIGGER);
    if (pAddress == m_pRequestGroupAddress)
        m_pRequestGroupAddress = m_lstTriggers.empty() ? nullptr : m_lstTriggers.front();
    if (DestroyIfUnusedInvalid(pAddress))
        pAddress = nullptr;
}

void CQuantity::RemoveAllTriggers()
{
    while (!m_lstTriggers.empty()) {
        CGroupDataAddress* pAddress = m_lstTriggers.front();
        RemoveTriggerGroupAddress(pAddress);
    }
    m_pRequestGroupAddress = nullptr;
}

TriggerPosition CQuantity::FindTrigger(const CGroupDataAddress* pAddress) const
{
    if (!pAddress)
        return {};
    TriggerPosition pos = GetFirstTriggerPosition();
    while (pos) {
        const TriggerPosition at = pos;
        if (pos.Next() == pAddress)
            return at;
    }
    return {};
}

bool CQuantity::IsTrigger(const CGroupDataAddress* pAddress) const
{
    return pAddress && std::find(m_lstTriggers.begin(), m_lstTriggers.end(), pAddress) != m_lstTriggers.end();
}

int CQuantity::SetRequestGroupAddress(CGroupDataAddress* pAddress)
{
    if (!pAddress) {
        m_pRequestGroupAddress = nullptr;
        return 1;
    }
    if (!IsTrigger(pAddress))
        return 0;
    m_pRequestGroupAddress = pAddress;
    return 1;
}

// ------------------------------------------------------------ members

CQuantityMember* CQuantity::CreateMember()
{
    if (m_pOwner) {
        if (m_pOwner->GetTotalMemberCount() >= m_pOwner->GetMaxMemberCount())
            return nullptr;
    } else if (GetMemberCount() >= CQuantities::GetMaxMemberCount()) {
        return nullptr;
    }
    auto* pMember = new CQuantityMember;
    pMember->SetQuantity(this);
    m_lstMembers.push_back(pMember);
    return pMember;
}

void CQuantity::DeleteMember(CQuantityMember* pMember)
{
    auto it = std::find(m_lstMembers.begin(), m_lstMembers.end(), pMember);
    if (!pMember || it == m_lstMembers.end())
        return;
    if (CGroupDataAddress* pAddress = pMember->GetGroupAddress()) {
        pAddress->RemoveUse(GAU_QUANTITY_MEMBER);
        // The member must not keep naming an address that is gone.
        if (DestroyIfUnusedInvalid(pAddress))
            pMember->DetachGroupAddress();
    }
    m_lstMembers.erase(it);
}

void CQuantity::DeleteAllMembers()
{
    while (!m_lstMembers.empty()) {
        CQuantityMember* pMember = m_lstMembers.front();
        DeleteMember(pMember);
        delete pMember;
    }
}

bool CQuantity::HasMember(const CGroupDataAddress* pAddress) const
{
    if (!pAddress || !pAddress->HasUsage(GAU_QUANTITY_MEMBER))
        return false;
    return std::any_of(m_lstMembers.begin(), m_lstMembers.end(),
                       [pAddress](const CQuantityMember* p) { return p && p->GetGroupAddress() == pAddress; });
}

// ------------------------------------------------------------ parameter record

std::string CQuantity::ToParameterString() const
{
    std::string strRecord;
    AppendHexField(strRecord, static_cast<DWORD>(m_nNumber), 2);
    AppendHexField(strRecord, static_cast<DWORD>(m_nMainType), 4);
    AppendHexField(strRecord, static_cast<DWORD>(m_nSubType), 4);
    AppendHexField(strRecord, static_cast<DWORD>((m_nWarmStart << 4) | (m_nColdStart & 0x0F)), 2);
    AppendHexField(strRecord, m_wInitValue & 0xFF, 2);
    AppendHexField(strRecord, m_wInitValue >> 8, 2);
    AppendHexField(strRecord, static_cast<DWORD>(m_nCondition), 2);
    AppendHexField(strRecord, m_wRangeA & 0xFF, 2);
    AppendHexField(strRecord, m_wRangeA >> 8, 2);
    AppendHexField(strRecord, m_wRangeB & 0xFF, 2);
    AppendHexField(strRecord, m_wRangeB >> 8, 2);
    AppendHexField(strRecord, m_nExponent, 2);
    if (m_pRequestGroupAddress) {
        const auto dwReference = static_cast<DWORD>(m_pRequestGroupAddress->GetReference());
        AppendHexField(strRecord, dwReference & 0xFFFF, 4);
        AppendHexField(strRecord, dwReference >> 16, 4);
        AppendHexField(strRecord, m_pRequestGroupAddress->IsInvalid() ? 1 : 0, 2);
    } else {
        strRecord += "ffffffff00";
    }
    return strRecord;
}

int CQuantity::ExtractParameterData(const std::string& strText, std::size_t& pos)
{
    auto missing = [] {
        LOG_ERROR("%s: empty data string", "CQuantity::ExtractParameterData");
        return 0;
    };
    DWORD dwMainType = 0;
    DWORD dwSubType = 0;
    DWORD dwReactions = 0;
    DWORD dwInitLow = 0;
    DWORD dwInitHigh = 0;
    DWORD dwCondition = 0;
    DWORD dwRangeALow = 0;
    DWORD dwRangeAHigh = 0;
    DWORD dwRangeBLow = 0;
    DWORD dwRangeBHigh = 0;
    DWORD dwExponent = 0;
    if (!ParseHexField(strText, pos, 4, dwMainType))
        return missing();
    m_nMainType = static_cast<int>(dwMainType & 0xFFFF);
    if (!ParseHexField(strText, pos, 4, dwSubType))
        return missing();
    m_nSubType = static_cast<int>(dwSubType);
    if (!ParseHexField(strText, pos, 2, dwReactions))
        return missing();
    m_nColdStart = static_cast<int>(dwReactions & 0x0F);
    m_nWarmStart = static_cast<int>((dwReactions >> 4) & 0x0F);
    if (!ParseHexField(strText, pos, 2, dwInitLow) || !ParseHexField(strText, pos, 2, dwInitHigh))
        return missing();
    m_wInitValue = static_cast<WORD>((dwInitLow & 0xFF) | ((dwInitHigh & 0xFF) << 8));
    if (!ParseHexField(strText, pos, 2, dwCondition))
        return missing();
    m_nCondition = static_cast<int>(dwCondition & 0xFF);
    if (!ParseHexField(strText, pos, 2, dwRangeALow) || !ParseHexField(strText, pos, 2, dwRangeAHigh))
        return missing();
    m_wRangeA = static_cast<WORD>((dwRangeALow & 0xFF) | ((dwRangeAHigh & 0xFF) << 8));
    if (!ParseHexField(strText, pos, 2, dwRangeBLow) || !ParseHexField(strText, pos, 2, dwRangeBHigh))
        return missing();
    m_wRangeB = static_cast<WORD>((dwRangeBLow & 0xFF) | ((dwRangeBHigh & 0xFF) << 8));
    if (!ParseHexField(strText, pos, 2, dwExponent))
        return missing();
    m_nExponent = static_cast<BYTE>(dwExponent);

    m_pRequestGroupAddress = nullptr;
    DWORD dwLow = 0;
    DWORD dwHigh = 0;
    DWORD dwInvalid = 0;
    if (!ParseHexField(strText, pos, 4, dwLow) || !ParseHexField(strText, pos, 4, dwHigh) ||
        !ParseHexField(strText, pos, 2, dwInvalid))
        return missing();
    const auto nReference = static_cast<LONG>((dwHigh << 16) | dwLow);
    if (nReference != -1) {
        // The request address becomes a trigger only with its link record;
        // the collection drops a request that never does.
        CGroupDataAddresses* pLists = GetGroupDataAddresses();
        if (pLists)
            m_pRequestGroupAddress = pLists->FindByReference(nReference, dwInvalid != 0);
        else
            LOG_ERROR("internal data error");
    }
    return 1;
}

// ------------------------------------------------------------ device record

bool CQuantity::FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const
{
    if (!pBuffer || nLength < kDataLength) {
        LOG_ERROR("invalid buffer");
        return false;
    }
    if (m_lstTriggers.empty() || !m_lstTriggers.front())
        return true;
    pBuffer[0] = static_cast<BYTE>(m_wTriggerObjectNumber & 0xFF);
    pBuffer[1] = static_cast<BYTE>(GetDptTypeCode(m_nMainType));
    pBuffer[2] = static_cast<BYTE>((m_nWarmStart << 4) | (m_nColdStart & 0x0F));
    EncodeDptValue(m_wInitValue, m_nMainType, pBuffer + 3);
    pBuffer[5] = static_cast<BYTE>(m_nCondition & 0xFF);
    EncodeDptValue(m_wRangeA, m_nMainType, pBuffer + 6);
    EncodeDptValue(m_wRangeB, m_nMainType, pBuffer + 8);
    return true;
}

// ------------------------------------------------------------ data file

namespace {

void StoreAddressReference(CArchive& ar, const CGroupDataAddress* pAddress)
{
    if (!pAddress) {
        ar << static_cast<WORD>(0);
        return;
    }
    ar << static_cast<WORD>(1) << static_cast<DWORD>(pAddress->GetReference())
       << static_cast<WORD>(pAddress->IsInvalid() ? 1 : 0);
}

// How a file names an address: by host reference and invalid flag, or (old
// files) by raw address.
struct StoredAddress {
    bool bPresent = false;
    bool bByRaw = false;
    LONG nReference = -1;
    bool bInvalid = false;
    WORD wRaw = 0xFFFF;

    CGroupDataAddress* Find(const CGroupDataAddresses* pLists) const
    {
        if (!bPresent || !pLists)
            return nullptr;
        return bByRaw ? pLists->GetReferenceFromAddress(wRaw, false) : pLists->FindByReference(nReference, bInvalid);
    }
    bool Names(const CGroupDataAddress* pAddress) const
    {
        if (!bPresent || !pAddress)
            return false;
        if (bByRaw)
            return pAddress->GetAddress() == wRaw;
        return pAddress->GetReference() == nReference && pAddress->IsInvalid() == bInvalid;
    }
};

StoredAddress ReadRequestAddress(CArchive& ar)
{
    StoredAddress stored;
    if (g_nArchiveSchema >= 0x10006) {
        WORD wPresent = 0;
        ar >> wPresent;
        if (wPresent) {
            DWORD dwReference = 0;
            WORD wInvalid = 0;
            ar >> dwReference >> wInvalid;
            stored = {true, false, static_cast<LONG>(dwReference), wInvalid != 0, 0xFFFF};
        }
    } else if (g_nArchiveSchema >= 0x10004) {
        DWORD dwReference = 0;
        ar >> dwReference;
        WORD wInvalid = 0;
        if (g_nArchiveSchema == 0x10005 && dwReference != 0xFFFFFFFF)
            ar >> wInvalid;
        if (dwReference != 0xFFFFFFFF)
            stored = {true, false, static_cast<LONG>(dwReference), wInvalid != 0, 0xFFFF};
    } else if (g_nArchiveSchema >= 0x10001) {
        WORD wRaw = 0xFFFF;
        ar >> wRaw;
        if (wRaw != 0xFFFF)
            stored = {true, true, -1, false, wRaw};
    }
    return stored;
}

StoredAddress ReadTriggerAddress(CArchive& ar)
{
    StoredAddress stored;
    if (g_nArchiveSchema >= 0x10006) {
        WORD wPresent = 0;
        ar >> wPresent;
        if (wPresent) {
            DWORD dwReference = 0;
            WORD wInvalid = 0;
            ar >> dwReference >> wInvalid;
            stored = {true, false, static_cast<LONG>(dwReference), wInvalid != 0, 0xFFFF};
        }
    } else if (g_nArchiveSchema >= 0x10004) {
        DWORD dwReference = 0;
        WORD wInvalid = 0;
        ar >> dwReference;
        if (g_nArchiveSchema == 0x10005)
            ar >> wInvalid;
        if (dwReference != 0xFFFFFFFF)
            stored = {true, false, static_cast<LONG>(dwReference), wInvalid != 0, 0xFFFF};
    } else {
        WORD wRaw = 0xFFFF;
        ar >> wRaw;
        if (wRaw != 0xFFFF)
            stored = {true, true, -1, false, wRaw};
    }
    return stored;
}

}  // namespace

void CQuantity::StoreToArchive(CArchive& ar) const
{
    ar << m_strName << static_cast<WORD>(m_nNumber) << static_cast<WORD>(m_nMainType)
       << static_cast<WORD>(m_nSubType) << m_wRangeA << m_wRangeB;
    StoreAddressReference(ar, m_pRequestGroupAddress);
    ar << static_cast<DWORD>(m_lstTriggers.size());
    for (const CGroupDataAddress* pAddress : m_lstTriggers)
        StoreAddressReference(ar, pAddress);
    ar << static_cast<WORD>(m_nCondition) << static_cast<WORD>(m_nWarmStart) << static_cast<WORD>(m_nColdStart)
       << m_wInitValue << m_nExponent;
    ar << static_cast<DWORD>(m_lstMembers.size());
    for (const CQuantityMember* pMember : m_lstMembers)
        pMember->StoreToArchive(ar);
    ar << m_wTriggerObjectNumber;
}

void CQuantity::LoadFromArchive(CArchive& ar)
{
    m_pRequestGroupAddress = nullptr;
    WORD wNumber = 0;
    WORD wMainType = 0;
    WORD wSubType = 0;
    ar >> m_strName >> wNumber >> wMainType >> wSubType >> m_wRangeA >> m_wRangeB;
    m_nNumber = wNumber;
    m_nMainType = wMainType;
    m_nSubType = wSubType;

    const StoredAddress request = ReadRequestAddress(ar);
    const CGroupDataAddresses* pLists = GetGroupDataAddresses();
    DWORD dwTriggers = 0;
    ar >> dwTriggers;
    for (DWORD i = 0; i < dwTriggers; ++i) {
        const StoredAddress trigger = ReadTriggerAddress(ar);
        CGroupDataAddress* pAddress = trigger.Find(pLists);
        if (!AddTriggerGroupAddress(pAddress, false))
            continue;
        if (request.Names(pAddress))
            m_pRequestGroupAddress = pAddress;
    }

    WORD wCondition = 0;
    WORD wWarmStart = 0;
    WORD wColdStart = 0;
    ar >> wCondition >> wWarmStart >> wColdStart >> m_wInitValue;
    m_nCondition = wCondition;
    m_nWarmStart = wWarmStart;
    m_nColdStart = wColdStart;
    if (g_nArchiveSchema > 0x10000)
        ar >> m_nExponent;

    DWORD dwMembers = 0;
    ar >> dwMembers;
    for (DWORD i = 0; i < dwMembers; ++i) {
        CQuantityMember* pMember = CreateMember();
        if (!pMember) {
            LOG_ERROR("CQuantity::LoadFromArchive: more than %d quantity members", CQuantities::GetMaxMemberCount());
            throw CArchiveException(CArchiveException::badFormat);
        }
        pMember->LoadFromArchive(ar);
    }
    if (g_nArchiveSchema > 0x10001)
        ar >> m_wTriggerObjectNumber;
}

// ------------------------------------------------------------ texts

std::string CQuantity::GetConditionText() const
{
    switch (m_nCondition) {
    case 0:
        return GetResString(260, "A, B");
    case 1:
        return GetResString(261, ">A, >B");
    case 2:
        return GetResString(262, "A< >B");
    default:
        return GetResString(210, "undefiniert");
    }
}

std::string CQuantity::GetWarmStartText() const
{
    switch (m_nWarmStart) {
    case 0:
        return GetResString(263, "Bus");
    case 2:
        return GetResString(264, "RAM");
    case 3:
        return GetResString(265, "kein");
    default:
        return "undefined";
    }
}

std::string CQuantity::GetColdStartText() const
{
    switch (m_nColdStart) {
    case 0:
        return GetResString(266, "Bus");
    case 1:
        return GetResString(267, "Init");
    case 3:
        return GetResString(268, "kein");
    default:
        return "undefined";
    }
}

std::string CQuantity::FormatRawValue(WORD wValue) const
{
    return FormatValue(m_nMainType, m_nSubType, wValue, false);
}

std::string CQuantity::GetRangeAText() const
{
    return GetResString(214, "bis") + " " + FormatRawValue(m_wRangeA);
}

std::string CQuantity::GetRangeBText() const
{
    return GetResString(215, "ab") + " " + FormatRawValue(m_wRangeB);
}

std::string CQuantity::GetInitValueText() const
{
    return FormatRawValue(m_wInitValue);
}

std::string CQuantity::GetTriggerColumnText(const CGroupDataAddress* pAddress, int nColumn) const
{
    if (!pAddress)
        return "-";
    switch (nColumn) {
    case 0:
        return pAddress->GetName();
    case 1:
        return pAddress->GetAddressText(false);
    case 2:
        return GetDptTypeName(static_cast<int>(pAddress->GetObjectType()));
    case 3:
        return IsRequestGroupAddress(pAddress) ? "X" : "";
    default:
        return "";
    }
}

std::string CQuantity::GetMemberColumnText(const CQuantityMember* pMember, int nColumn)
{
    if (!pMember)
        return "-";
    const CGroupDataAddress* pAddress = pMember->GetGroupAddress();
    if (!pAddress)
        return "";
    switch (nColumn) {
    case 0:
        return pAddress->GetName();
    case 1:
        return pAddress->GetAddressText(false);
    case 2:
        return GetDptTypeName(static_cast<int>(pAddress->GetObjectType()));
    case 3:
        return FormatValue(static_cast<int>(pAddress->GetObjectType()), static_cast<int>(pAddress->GetSubType()),
                           pMember->GetRawValue(), false);
    case 4:
        return RangeText(pMember->GetRange());
    case 5:
        return YesNo(pMember->GetSendOnChange());
    default:
        return "";
    }
}

// ------------------------------------------------------------ text export

void CQuantity::WriteCsvLine(std::string& strFile) const
{
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d", m_nNumber);
    strFile += Join({szNumber, m_strName, GetDptTypeName(m_nMainType), GetRangeAText(), GetRangeBText(),
                     GetConditionText(), GetWarmStartText(), GetColdStartText(), GetInitValueText()});
    strFile += "\n";
}

void CQuantity::WriteCsvTriggers(std::string& strFile) const
{
    if (m_lstTriggers.empty())
        return;
    strFile += CsvField(GetResString(216, "Auslöser der Menge") + " " + m_strName) + "\n";
    strFile += Join({GetResString(40106, "Gruppenadresse"), GetResString(40103, "Nr"), GetResString(40107, "Typ"),
                     GetResString(217, "Abfrage")});
    strFile += "\n";
    for (const CGroupDataAddress* pAddress : m_lstTriggers) {
        if (!pAddress)
            continue;
        strFile += pAddress->ToCsvLine(false) + "," + CsvField(YesNo(IsRequestGroupAddress(pAddress))) + "\n";
    }
}

void CQuantity::WriteCsvMembers(CProgressInfo* pProgress, std::string& strFile) const
{
    if (m_lstMembers.empty())
        return;
    strFile += CsvField(GetResString(218, "Mitglieder der Menge") + " " + m_strName) + "\n";
    strFile += Join({GetResString(40106, "Gruppenadresse"), GetResString(40103, "Nr"), GetResString(40107, "Typ"),
                     GetResString(40108, "Wert"), GetResString(300, "Bereich"), GetResString(40109, "SbÄ")});
    strFile += "\n";
    for (const CQuantityMember* pMember : m_lstMembers) {
        if (pMember)
            pMember->WriteCsvLine(strFile);
        Step(pProgress, 1);
    }
}

// ------------------------------------------------------------ reports

void CQuantity::AddTriggerReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40106, "Gruppenadresse"), GetResString(40103, "Nr"),
                                   GetResString(40107, "Typ"), GetResString(217, "Abfrage")};
    std::vector<ReportRow> arrRows;
    for (const CGroupDataAddress* pAddress : m_lstTriggers) {
        ReportRow arrRow;
        for (int nColumn = 0; nColumn < 4; ++nColumn)
            arrRow.push_back(GetTriggerColumnText(pAddress, nColumn));
        arrRows.push_back(std::move(arrRow));
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(216, "Auslöser der Menge") + " " + m_strName,
                          arrHeadings, arrRows);
}

void CQuantity::AddMemberReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {GetResString(40106, "Gruppenadresse"), GetResString(40103, "Nr"),
                                   GetResString(40107, "Typ"),            GetResString(40108, "Wert"),
                                   GetResString(300, "Bereich"),          GetResString(40109, "SbÄ")};
    std::vector<ReportRow> arrRows;
    for (const CQuantityMember* pMember : m_lstMembers) {
        ReportRow arrRow;
        for (int nColumn = 0; nColumn < 6; ++nColumn)
            arrRow.push_back(GetMemberColumnText(pMember, nColumn));
        arrRows.push_back(std::move(arrRow));
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(218, "Mitglieder der Menge") + " " + m_strName,
                          arrHeadings, arrRows);
}
