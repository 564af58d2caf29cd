#include "model/Quantities.h"

#include "access/BusAccess.h"
#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "common/ProgressSteps.h"
#include "model/CsvField.h"
#include "model/GroupDataAddresses.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "model/ObjectTypeParameters.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "platform/com/ComVariant.h"
#include "report/ParamReport.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using progress::SetBottomText;
using progress::Step;

std::string QuantitiesTitle()
{
    return GetResString(40100, "Mengen");
}

std::string MembersTitle()
{
    return GetResString(40101, "Mengenmitglieder");
}

std::string LinksTitle()
{
    return GetResString(119, "Mengenverknüpfungen");
}

// The progress advance that fills a list's remaining slots up to its
// capacity (none when the list holds more).
DWORD SlotsLeft(std::size_t nDone, int nCapacity)
{
    return nDone < static_cast<std::size_t>(nCapacity) ? static_cast<DWORD>(nCapacity - static_cast<int>(nDone)) : 0;
}

std::string FormatNumber2(int nNumber)
{
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%02d", nNumber);
    return szNumber;
}

// The order of the device's member block: members before empty slots,
// members with an address before those without, valid addresses before
// invalid ones, then by quantity with every range-A member before every
// range-B member, then by object number.
bool SortsBefore(const CQuantityMember* pFirst, const CQuantityMember* pSecond)
{
    if (!pFirst || !pSecond)
        return pFirst && !pSecond;
    const CGroupDataAddress* pFirstAddress = pFirst->GetGroupAddress();
    const CGroupDataAddress* pSecondAddress = pSecond->GetGroupAddress();
    if (!pFirstAddress || !pSecondAddress)
        return pFirstAddress && !pSecondAddress;
    if (pFirstAddress->IsInvalid() != pSecondAddress->IsInvalid())
        return !pFirstAddress->IsInvalid();
    auto key = [](const CQuantityMember* pMember) {
        const int nNumber = pMember->GetQuantity() ? pMember->GetQuantity()->GetNumber() : 0;
        return ((nNumber - 1) & 0x1F) | ((pMember->GetRange() != 0 ? 1 : 0) << 7);
    };
    const int nFirstKey = key(pFirst);
    const int nSecondKey = key(pSecond);
    if (nFirstKey != nSecondKey)
        return nFirstKey < nSecondKey;
    return static_cast<WORD>(pFirstAddress->GetObjectNumber()) < static_cast<WORD>(pSecondAddress->GetObjectNumber());
}

}  // namespace

CQuantities::~CQuantities()
{
    DeleteObArrayItems(m_arrQuantityParameters);
    DeleteObArrayItems(m_arrDisplayNameParameters);
    DeleteObArrayItems(m_arrMemberParameters);
    DeleteObArrayItems(m_arrLinkParameters);
    for (CQuantity* pQuantity : m_lstQuantities)
        delete pQuantity;
    m_lstQuantities.clear();
}

CObject* CQuantities::CreateObject()
{
    return new CQuantities;
}

CGroupDataAddresses* CQuantities::GetGroupDataAddresses() const
{
    return m_pOwner ? m_pOwner->GetGroupDataAddresses() : nullptr;
}

// ------------------------------------------------------------ host parameters

void CQuantities::AddQuantityParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrQuantityParameters, nId, strText, nIndex);
}

void CQuantities::AddDisplayNameParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrDisplayNameParameters, nId, strText, nIndex);
}

void CQuantities::AddLinksParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrLinkParameters, nId, strText, nIndex);
}

void CQuantities::AddMemberParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrMemberParameters, nId, strText, nIndex);
}

void CQuantities::CopyParameterObjects(const CQuantities& other)
{
    CopyStringLongObjectArray(m_arrQuantityParameters, other.m_arrQuantityParameters);
    CopyStringLongObjectArray(m_arrDisplayNameParameters, other.m_arrDisplayNameParameters);
    CopyStringLongObjectArray(m_arrMemberParameters, other.m_arrMemberParameters);
    CopyStringLongObjectArray(m_arrLinkParameters, other.m_arrLinkParameters);
    m_nCacheDataId = other.m_nCacheDataId;
}

// ------------------------------------------------------------ host load

int CQuantities::CompleteEtsLoad(CProgressInfo* pProgress)
{
    if (LoadQuantities(pProgress) != 0) {
        LOG_ERROR("failed to insert quantities");
        return 5;
    }
    const int nLinks = LoadLinks(pProgress);
    DropStrayRequestAddresses();
    if (nLinks != 0) {
        LOG_ERROR("failed to set group address links");
        return 5;
    }
    if (LoadMembers(pProgress) != 0) {
        LOG_ERROR("failed to insert quantity members");
        return 5;
    }
    return 0;
}

int CQuantities::LoadQuantities(CProgressInfo* pProgress)
{
    SetBottomText(pProgress, QuantitiesTitle());
    if (m_arrQuantityParameters.empty())
        return 5;
    std::size_t nDone = 0;
    for (const auto& pParameter : m_arrQuantityParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        ++nDone;
        Step(pProgress, 1);
        // The texts are filled in index order: an empty one ends them.
        if (pParameter->GetText().empty())
            break;
        if (!InsertQuantitiesFromString(pParameter->GetText())) {
            LOG_ERROR("failed to insert quantities from string");
            return 5;
        }
    }
    Step(pProgress, static_cast<DWORD>(m_arrQuantityParameters.size() - nDone));
    return 0;
}

int CQuantities::LoadLinks(CProgressInfo* pProgress)
{
    SetBottomText(pProgress, LinksTitle());
    if (m_arrLinkParameters.empty()) {
        LOG_ERROR("invalid quantity link param count");
        return 5;
    }
    std::size_t nDone = 0;
    for (const auto& pParameter : m_arrLinkParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        ++nDone;
        Step(pProgress, 1);
        if (pParameter->GetText().empty())
            break;
        if (!SetQuantityLinksFromString(pParameter->GetText())) {
            LOG_ERROR("failed to set quantity links from string %s", pParameter->GetText().c_str());
            return 5;
        }
    }
    Step(pProgress, static_cast<DWORD>(m_arrLinkParameters.size() - nDone));
    return 0;
}

int CQuantities::LoadMembers(CProgressInfo* pProgress)
{
    SetBottomText(pProgress, MembersTitle());
    if (m_arrMemberParameters.empty())
        return 5;
    std::size_t nDone = 0;
    for (const auto& pParameter : m_arrMemberParameters) {
        if (!pParameter)
            return 5;
        ++nDone;
        Step(pProgress, 1);
        if (pParameter->GetText().empty())
            break;
        if (!InsertQuantityMembersFromString(pParameter->GetText())) {
            LOG_ERROR("failed to insert quantity members");
            return 5;
        }
    }
    Step(pProgress, static_cast<DWORD>(m_arrMemberParameters.size() - nDone));
    return 0;
}

void CQuantities::DiscardQuantity(CQuantity* pQuantity)
{
    m_lstQuantities.remove(pQuantity);
    delete pQuantity;
}

void CQuantities::DropStrayRequestAddresses()
{
    for (CQuantity* pQuantity : m_lstQuantities) {
        CGroupDataAddress* pRequest = pQuantity ? pQuantity->GetRequestGroupAddress() : nullptr;
        if (pRequest && !pQuantity->IsTrigger(pRequest)) {
            LOG_WARNING("request group address %ld of quantity %d is no trigger of it and is dropped",
                        static_cast<long>(pRequest->GetAddress()), pQuantity->GetNumber());
            pQuantity->SetRequestGroupAddress(nullptr);
        }
    }
}

bool CQuantities::InsertQuantitiesFromString(const std::string& strText)
{
    const std::size_t nRecords = std::min<std::size_t>(strText.size() / CQuantity::kParameterLength, kMaxCount);
    for (std::size_t k = 0; k < nRecords; ++k) {
        std::size_t pos = k * CQuantity::kParameterLength;
        DWORD dwNumber = 0;
        ParseHexField(strText, pos, 2, dwNumber);
        if (dwNumber == 0xFF)
            continue;
        CQuantity* pQuantity = CreateQuantity();
        if (!pQuantity)
            continue;
        const int nNumber = static_cast<int>(dwNumber);
        // Two quantities of one number would hide each other in every lookup.
        const CQuantity* pOther = GetQuantity(nNumber);
        if (pOther && pOther != pQuantity) {
            DiscardQuantity(pQuantity);
            LOG_ERROR("quantity number %d is used twice", nNumber);
            return false;
        }
        pQuantity->SetNumber(nNumber);
        const std::size_t nIndex = static_cast<std::size_t>(nNumber - 1);
        if (nNumber < 1 || nNumber > kMaxCount || nIndex >= m_arrDisplayNameParameters.size() ||
            !m_arrDisplayNameParameters[nIndex]) {
            DiscardQuantity(pQuantity);
            LOG_ERROR("failed to set quantity displayname");
            return false;
        }
        pQuantity->SetName(m_arrDisplayNameParameters[nIndex]->GetText());
        pos = k * CQuantity::kParameterLength + 2;
        if (!pQuantity->ExtractParameterData(strText, pos)) {
            DiscardQuantity(pQuantity);
            LOG_ERROR("failed to extract quantity parameter data");
            return false;
        }
    }
    return true;
}

bool CQuantities::SetQuantityLinksFromString(const std::string& strText)
{
    const std::size_t nRecords = strText.size() / kLinkRecordLength;
    for (std::size_t k = 0; k < nRecords; ++k) {
        std::size_t pos = k * kLinkRecordLength;
        DWORD dwNumber = 0;
        DWORD dwLow = 0;
        DWORD dwHigh = 0;
        DWORD dwInvalid = 0;
        ParseHexField(strText, pos, 2, dwNumber);
        ParseHexField(strText, pos, 4, dwLow);
        ParseHexField(strText, pos, 4, dwHigh);
        ParseHexField(strText, pos, 2, dwInvalid);
        CQuantity* pQuantity = GetQuantity(static_cast<int>(dwNumber));
        if (!pQuantity)
            continue;
        const auto nReference = static_cast<LONG>((dwHigh << 16) | dwLow);
        if (!m_pOwner) {
            LOG_ERROR("internal data error, parent equals NULL");
            return false;
        }
        const CGroupDataAddresses* pLists = GetGroupDataAddresses();
        // ffffffff names no group address.
        CGroupDataAddress* pAddress =
            nReference == -1 || !pLists ? nullptr : pLists->FindByReference(nReference, dwInvalid != 0);
        if (!pAddress) {
            LOG_INFO("Groupaddress %ld linked to quantity %d not found in GA list.", static_cast<long>(nReference),
                     pQuantity->GetNumber());
            continue;
        }
        if (!pQuantity->AddTriggerGroupAddress(pAddress, false))
            LOG_WARNING("failed to add quantity trigger, group address = %ld",
                        static_cast<long>(pAddress->GetAddress()));
    }
    return true;
}

bool CQuantities::InsertQuantityMembersFromString(const std::string& strText)
{
    const std::size_t nRecords =
        std::min<std::size_t>(strText.size() / CQuantityMember::kParameterLength, kMaxMembers);
    for (std::size_t k = 0; k < nRecords; ++k) {
        std::size_t pos = k * CQuantityMember::kParameterLength;
        DWORD dwFlags = 0;
        ParseHexField(strText, pos, 2, dwFlags);
        const int nRecord = static_cast<int>(k + 1);
        if (dwFlags == 0xFF) {
            LOG_DETAIL("Loading QuantityMember %d - not defined", nRecord);
            continue;
        }
        LOG_DETAIL("Loading QuantityMember %d - defined", nRecord);
        const int nNumber = static_cast<int>(dwFlags & 0x1F) + 1;
        CQuantity* pQuantity = GetQuantity(nNumber);
        if (!pQuantity) {
            LOG_WARNING("quantitymember not assigned to quantity");
            continue;
        }
        CQuantityMember* pMember = pQuantity->CreateMember();
        if (!pMember) {
            LOG_ERROR("Failed to add quantity member to quantity %d", nNumber);
            return false;
        }
        pos = k * CQuantityMember::kParameterLength;
        if (!pMember->ExtractParameterData(strText, pos)) {
            pQuantity->DeleteMember(pMember);
            delete pMember;
            LOG_ERROR("failed to extract quantity members parameters");
            return false;
        }
    }
    return true;
}

// ------------------------------------------------------------ host save

int CQuantities::SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    if (!pAccess) {
        LOG_ERROR("internal data error");
        return 5;
    }
    int nResult = SaveQuantities(pProgress, pAccess);
    if (nResult == 0)
        nResult = SaveDisplayNames(pProgress, pAccess);
    if (nResult == 0)
        nResult = SaveLinks(pProgress, pAccess);
    if (nResult == 0)
        nResult = SaveMembers(pProgress, pAccess);
    return nResult;
}

int CQuantities::SaveQuantities(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    SetBottomText(pProgress, QuantitiesTitle());
    if (m_arrQuantityParameters.empty())
        return 5;
    auto it = m_lstQuantities.begin();
    for (std::size_t i = 0; i < m_arrQuantityParameters.size(); ++i) {
        CStringLongObject* pParameter = m_arrQuantityParameters[i].get();
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        std::string strText;
        for (int j = 0; j < kQuantitiesPerParameter && it != m_lstQuantities.end(); ++it) {
            if (!*it)
                continue;
            strText += (*it)->ToParameterString();
            ++j;
        }
        pParameter->SetText(strText);
        if (!pAccess->SetDeviceParameterValue(pParameter->GetId(), strText)) {
            LOG_ERROR("failed to save quantity parameter %d", static_cast<int>(i));
            return 5;
        }
        Step(pProgress, 1);
    }
    if (it != m_lstQuantities.end())
        LOG_WARNING("%d quantities did not fit into the quantity parameters and were not saved",
                    static_cast<int>(std::distance(it, m_lstQuantities.end())));
    return 0;
}

int CQuantities::SaveDisplayNames(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    SetBottomText(pProgress, GetResString(137, "Anzeigenamen der Mengen"));
    if (m_arrDisplayNameParameters.size() != static_cast<std::size_t>(kDisplayNameParameters)) {
        LOG_ERROR("invalid quantity displayname parameter count");
        return 5;
    }
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        const int nNumber = pQuantity->GetNumber();
        CStringLongObject* pParameter = nNumber >= 1 && nNumber <= kDisplayNameParameters
                                            ? m_arrDisplayNameParameters[static_cast<std::size_t>(nNumber - 1)].get()
                                            : nullptr;
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        pParameter->SetText(pQuantity->GetName());
        if (!pAccess->SetDeviceParameterValue(pParameter->GetId(), pQuantity->GetName())) {
            LOG_ERROR("failed to save quantity %d displayname: %s", nNumber, pQuantity->GetName().c_str());
            return 5;
        }
    }
    Step(pProgress, 1);
    return 0;
}

int CQuantities::RebuildLinkTexts(CProgressInfo* pProgress)
{
    if (m_arrLinkParameters.size() != static_cast<std::size_t>(kLinkParameters))
        return 5;
    for (const auto& pParameter : m_arrLinkParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        pParameter->SetText("");
        Step(pProgress, 1);
    }
    std::size_t nParameter = 0;
    int nInParameter = 0;
    int nDropped = 0;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        for (const CGroupDataAddress* pAddress : pQuantity->GetTriggers()) {
            if (!pAddress)
                continue;
            if (nParameter >= m_arrLinkParameters.size()) {
                ++nDropped;
                continue;
            }
            std::string strRecord;
            const auto dwReference = static_cast<DWORD>(pAddress->GetReference());
            AppendHexField(strRecord, static_cast<DWORD>(pQuantity->GetNumber()), 2);
            AppendHexField(strRecord, dwReference & 0xFFFF, 4);
            AppendHexField(strRecord, dwReference >> 16, 4);
            AppendHexField(strRecord, pAddress->IsInvalid() ? 1 : 0, 2);
            CStringLongObject* pParameter = m_arrLinkParameters[nParameter].get();
            pParameter->SetText(pParameter->GetText() + strRecord);
            if (++nInParameter == kLinksPerParameter) {
                ++nParameter;
                nInParameter = 0;
            }
        }
    }
    if (nDropped > 0)
        LOG_WARNING("%d quantity trigger links did not fit into the link parameters and were not saved", nDropped);
    Step(pProgress, 1);
    return 0;
}

int CQuantities::SaveLinks(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    SetBottomText(pProgress, LinksTitle());
    if (RebuildLinkTexts(pProgress) != 0) {
        LOG_ERROR("invalid quantitylink parameter count");
        return 5;
    }
    for (const auto& pParameter : m_arrLinkParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        if (!pAccess->SetDeviceParameterValue(pParameter->GetId(), pParameter->GetText())) {
            LOG_ERROR("failed to set quantitylink parameter");
            return 5;
        }
        Step(pProgress, 1);
    }
    return 0;
}

int CQuantities::RebuildMemberTexts(CProgressInfo* pProgress)
{
    if (m_arrMemberParameters.size() != static_cast<std::size_t>(kMemberParameters)) {
        LOG_ERROR("invalid quantity member parameter count");
        return 5;
    }
    for (const auto& pParameter : m_arrMemberParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        pParameter->SetText("");
        Step(pProgress, 1);
    }
    std::size_t nParameter = 0;
    int nInParameter = 0;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        for (const CQuantityMember* pMember : pQuantity->GetMembers()) {
            if (!pMember || nParameter >= m_arrMemberParameters.size())
                continue;
            CStringLongObject* pParameter = m_arrMemberParameters[nParameter].get();
            pParameter->SetText(pParameter->GetText() + pMember->GetParameterString());
            if (++nInParameter == kMembersPerParameter) {
                ++nParameter;
                nInParameter = 0;
            }
        }
    }
    Step(pProgress, 1);
    return 0;
}

int CQuantities::SaveMembers(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    SetBottomText(pProgress, MembersTitle());
    if (RebuildMemberTexts(pProgress) != 0)
        return 5;
    for (std::size_t i = 0; i < m_arrMemberParameters.size(); ++i) {
        const CStringLongObject* pParameter = m_arrMemberParameters[i].get();
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        if (!pAccess->SetDeviceParameterValue(pParameter->GetId(), pParameter->GetText())) {
            LOG_ERROR("failed to save quantity member parameter %d", static_cast<int>(i));
            return 5;
        }
        Step(pProgress, 1);
    }
    return 0;
}

// ------------------------------------------------------------ data file and text export

void CQuantities::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    SetBottomText(pProgress, QuantitiesTitle());
    ar << static_cast<DWORD>(m_lstQuantities.size());
    for (const CQuantity* pQuantity : m_lstQuantities) {
        pQuantity->StoreToArchive(ar);
        Step(pProgress, 1);
    }
    Step(pProgress, SlotsLeft(m_lstQuantities.size(), kMaxCount));
}

void CQuantities::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    SetBottomText(pProgress, QuantitiesTitle());
    DWORD dwCount = 0;
    ar >> dwCount;
    if (dwCount > static_cast<DWORD>(kMaxCount) - m_lstQuantities.size()) {
        LOG_ERROR("CQuantities::LoadFromArchive: %lu quantities, at most %d allowed",
                  static_cast<unsigned long>(dwCount), kMaxCount);
        throw CArchiveException(CArchiveException::badFormat);
    }
    for (DWORD i = 0; i < dwCount; ++i) {
        CQuantity* pQuantity = CreateQuantity();
        if (!pQuantity)
            throw CArchiveException(CArchiveException::badFormat);
        pQuantity->LoadFromArchive(ar);
        const int nNumber = pQuantity->GetNumber();
        const bool bTwice = std::any_of(m_lstQuantities.begin(), m_lstQuantities.end(), [&](const CQuantity* p) {
            return p != pQuantity && p->GetNumber() == nNumber;
        });
        if (nNumber < 1 || nNumber > kMaxCount || bTwice) {
            LOG_ERROR("CQuantities::LoadFromArchive: invalid quantity number %d", nNumber);
            throw CArchiveException(CArchiveException::badFormat);
        }
        Step(pProgress, 1);
    }
    Step(pProgress, SlotsLeft(dwCount, kMaxCount));
}

void CQuantities::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    SetBottomText(pProgress, QuantitiesTitle());
    strFile += CsvField(QuantitiesTitle()) + "\n";
    const char* const kSeparator = ",";
    const std::string arrHeadings[] = {
        GetResString(40103, "Nr"),        GetResString(40102, "Name"),      GetResString(40107, "Typ"),
        GetResString(202, "Bereich A"),   GetResString(203, "Bereich B"),   GetResString(204, "Auslösung"),
        GetResString(211, "Warmstart"),   GetResString(212, "Kaltstart"),   GetResString(213, "Initwert"),
    };
    for (std::size_t i = 0; i < std::size(arrHeadings); ++i)
        strFile += (i ? kSeparator : "") + CsvField(arrHeadings[i]);
    strFile += "\n";
    Step(pProgress, 1);

    for (const CQuantity* pQuantity : m_lstQuantities) {
        pQuantity->WriteCsvLine(strFile);
        Step(pProgress, 1);
    }
    Step(pProgress, SlotsLeft(m_lstQuantities.size(), kMaxCount));
    for (const CQuantity* pQuantity : m_lstQuantities) {
        pQuantity->WriteCsvTriggers(strFile);
        Step(pProgress, 1);
    }
    Step(pProgress, SlotsLeft(m_lstQuantities.size(), kMaxCount));
    for (const CQuantity* pQuantity : m_lstQuantities)
        pQuantity->WriteCsvMembers(pProgress, strFile);
    Step(pProgress, SlotsLeft(static_cast<std::size_t>(GetTotalMemberCount()), kMaxMembers));
}

// ------------------------------------------------------------ download

std::vector<CQuantityMember*> CQuantities::SortMembersForDownload() const
{
    std::vector<CQuantityMember*> arrMembers(kMaxMembers, nullptr);
    std::size_t nFilled = 0;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        for (CQuantityMember* pMember : pQuantity->GetMembers()) {
            if (nFilled >= arrMembers.size())
                break;
            arrMembers[nFilled++] = pMember;
        }
    }
    std::stable_sort(arrMembers.begin(), arrMembers.end(), SortsBefore);
    return arrMembers;
}

int CQuantities::InitDownload(CProgressInfo* pProgress)
{
    m_pQuantityImage = std::make_unique<BYTE[]>(kQuantityImageSize);
    m_pMemberImage = std::make_unique<BYTE[]>(kMemberImageSize);
    std::memset(m_pQuantityImage.get(), 0xFF, kQuantityImageSize);
    std::memset(m_pMemberImage.get(), 0xFF, kMemberImageSize);

    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity) {
            LOG_ERROR("internal data error");
            return 0;
        }
        // The slot of a quantity is chosen by its number: one outside 1..30
        // has none in the block.
        const int nNumber = pQuantity->GetNumber();
        if (nNumber < 1 || nNumber > kMaxCount) {
            LOG_ERROR("invalid quantity number %d", nNumber);
            return 0;
        }
        BYTE* pSlot = m_pQuantityImage.get() + static_cast<std::size_t>(nNumber - 1) * CQuantity::kDataLength;
        if (!pQuantity->FillDataBuffer(pSlot, CQuantity::kDataLength)) {
            LOG_ERROR("failed to fill quantity data buffer");
            return 0;
        }
    }
    Step(pProgress, 1);

    const std::vector<CQuantityMember*> arrMembers = SortMembersForDownload();
    Step(pProgress, 1);
    LOG_TRACE("Quantitiy members after sorting for download:");
    for (std::size_t i = 0; i < arrMembers.size(); ++i) {
        const CQuantityMember* pMember = arrMembers[i];
        const int nSlot = static_cast<int>(i);
        if (!pMember) {
            LOG_TRACE("Member %03d: NULL", nSlot);
            continue;
        }
        const int nNumber = pMember->GetQuantity() ? pMember->GetQuantity()->GetNumber() : 0;
        const char* pszRange = pMember->GetRange() != 0 ? "B" : "A";
        if (const CGroupDataAddress* pAddress = pMember->GetGroupAddress())
            LOG_TRACE("Member %03d: Quantity: %02d, Range: %s, CO: %02u", nSlot, nNumber, pszRange,
                      static_cast<unsigned>(static_cast<WORD>(pAddress->GetObjectNumber())));
        else
            LOG_TRACE("Member %03d: Quantity: %02d, Range: %s, CO: none", nSlot, nNumber, pszRange);
    }

    for (std::size_t i = 0; i < arrMembers.size(); ++i) {
        if (!arrMembers[i])
            continue;
        if (!arrMembers[i]->FillDataBuffer(m_pMemberImage.get() + i * CQuantityMember::kDataLength,
                                           CQuantityMember::kDataLength)) {
            LOG_ERROR("failed to fill quantitymember databuffer");
            return 0;
        }
    }
    Step(pProgress, 1);
    return 1;
}

int CQuantities::Download(CProgressInfo* pProgress, CDownloadProcedure* pProcedure)
{
    if (!m_pQuantityImage || !m_pMemberImage || !pProcedure)
        return 5;
    SetBottomText(pProgress, QuantitiesTitle());
    const int nResult = pProcedure->WriteToMemory(m_pQuantityImage.get(), kQuantityImageAddress, kQuantityImageSize);
    SetBottomText(pProgress, MembersTitle());
    const int nMembers = pProcedure->WriteToMemory(m_pMemberImage.get(), kMemberImageAddress, kMemberImageSize);
    return nResult != 0 ? nResult : nMembers;
}

int CQuantities::VerifyDownload(CProgressInfo* pProgress, CBusAccess* pBus)
{
    if (!m_pQuantityImage || !m_pMemberImage || !pBus)
        return 5;
    SetBottomText(pProgress, QuantitiesTitle());
    int nResult = pBus->WriteDeviceMemory(kQuantityImageAddress, m_pQuantityImage.get(),
                                          static_cast<WORD>(kQuantityImageSize), 1);
    Step(pProgress, 2);
    if (nResult == 0) {
        SetBottomText(pProgress, MembersTitle());
        nResult = pBus->WriteDeviceMemory(kMemberImageAddress, m_pMemberImage.get(),
                                          static_cast<WORD>(kMemberImageSize), 1);
        Step(pProgress, 2);
    }
    return nResult;
}

void CQuantities::ExitDownload()
{
    m_pQuantityImage.reset();
    m_pMemberImage.reset();
}

// ------------------------------------------------------------ communication objects

int CQuantities::NumberObjects(CEtsDataAccess* pAccess, const std::vector<LONG>* pObjectTypeIds,
                               BYTE& nNextObjectNumber, DWORD& nCount, CObjectLinkTable* pOldLinks)
{
    // The numbers below 250 are the ones the device's object table has.
    constexpr BYTE kFirstClockObject = 250;
    for (CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity) {
            LOG_ERROR("internal data error");
            return 5;
        }
        const int nTriggers = pQuantity->GetTriggerCount(false);
        // A quantity without trigger has no object; keeping an earlier
        // number would make it answer for another quantity's object.
        if (nTriggers == 0) {
            pQuantity->SetTriggerObjectNumber(QUANTITY_NO_OBJECT);
            continue;
        }
        if (nNextObjectNumber >= kFirstClockObject) {
            LOG_ERROR("internal data error");
            return 5;
        }
        nCount += static_cast<DWORD>(nTriggers);
        if (pAccess && pObjectTypeIds) {
            const LONG nTypeId =
                nNextObjectNumber < pObjectTypeIds->size() ? (*pObjectTypeIds)[nNextObjectNumber] : -1;
            bool bWrite = true;
            if (CObjectLink* pOldLink = pOldLinks ? FindByObjectTypeId(*pOldLinks, nTypeId) : nullptr) {
                // The object stays in use: keep its associations.
                pOldLink->m_nRemoved = 0;
                LONG nValue = 0;
                if (ReadDeviceParameterLong(nTypeId, nValue) && nValue == pQuantity->GetMainType())
                    bWrite = false;
            }
            if (bWrite && !pAccess->SetDeviceParameterLong(nTypeId, pQuantity->GetMainType())) {
                LOG_ERROR("failed to set objecttype parameter");
                return 5;
            }
        }
        pQuantity->SetTriggerObjectNumber(nNextObjectNumber);
        ++nNextObjectNumber;
    }
    if (pAccess && !pAccess->SetDeviceParameterLong(m_nCacheDataId, nNextObjectNumber)) {
        LOG_ERROR("failed to save cache data");
        return 5;
    }
    return 0;
}

int CQuantities::AssignObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>* pObjectTypeIds,
                                   BYTE& nNextObjectNumber, DWORD& nCount)
{
    return NumberObjects(pAccess, pObjectTypeIds, nNextObjectNumber, nCount, nullptr);
}

int CQuantities::UpdateObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds,
                                   BYTE& nNextObjectNumber, DWORD& nCount, CObjectLinkTable* pOldLinks)
{
    return NumberObjects(pAccess, &arrObjectTypeIds, nNextObjectNumber, nCount, pOldLinks);
}

int CQuantities::BuildAssociations(std::vector<WORD>& /*arrAddressTable*/, std::vector<WORD>& arrAssociations,
                                   std::vector<WORD>& arrObjects) const
{
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity) {
            LOG_ERROR("internal data error");
            return 0;
        }
        // Every numbered quantity, also one whose triggers all lie in the
        // invalid list, has its object word, so that the object table's
        // index is the object number.
        if (pQuantity->GetTriggerCount(false) == 0)
            continue;
        const WORD wObject = pQuantity->GetTriggerObjectNumber();
        if (wObject != arrObjects.size()) {
            LOG_ERROR("internal data error");
            return 0;
        }
        const WORD wConfig = pQuantity->ReadsValueFromBus() ? 0xDF : 0x5F;
        arrObjects.push_back(static_cast<WORD>((wConfig << 8) | (GetKnxValueType(pQuantity->GetMainType()) & 0xFF)));
        const CGroupDataAddress* pRequest = pQuantity->GetRequestGroupAddress();
        if (pRequest && !pRequest->IsInvalid())
            arrAssociations.push_back(
                static_cast<WORD>(((pRequest->GetAddressTableIndex() & 0xFF) << 8) | (wObject & 0xFF)));
    }
    for (const CQuantity* pQuantity : m_lstQuantities) {
        const WORD wObject = pQuantity->GetTriggerObjectNumber();
        for (const CGroupDataAddress* pAddress : pQuantity->GetTriggers()) {
            if (!pAddress) {
                LOG_ERROR("internal data error");
                return 0;
            }
            if (pAddress->IsInvalid() || pQuantity->IsRequestGroupAddress(pAddress))
                continue;
            arrAssociations.push_back(
                static_cast<WORD>(((pAddress->GetAddressTableIndex() & 0xFF) << 8) | (wObject & 0xFF)));
        }
    }
    return 1;
}

int CQuantities::CollectObjectLinks(const CObjectNumberMap& mapObjects, DWORD& nCount, CObjectLinkTable& links) const
{
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        const WORD wObject = pQuantity->GetTriggerObjectNumber();
        auto pLink = std::make_unique<CObjectLink>(wObject);
        const CGroupDataAddress* pRequest = pQuantity->GetRequestGroupAddress();
        if (pRequest && !pRequest->IsInvalid()) {
            pLink->AddGroupAddress(pRequest->GetReference(), 1);
            ++nCount;
        }
        for (const CGroupDataAddress* pAddress : pQuantity->GetTriggers()) {
            if (!pAddress || pAddress->IsInvalid() || pAddress == pRequest)
                continue;
            pLink->AddGroupAddress(pAddress->GetReference(), 1);
            ++nCount;
        }
        if (wObject >= QUANTITY_NO_OBJECT)
            continue;
        auto it = mapObjects.find(wObject);
        if (it == mapObjects.end() || it->second == -1) {
            LOG_ERROR("Object for CO number not found: %ld", static_cast<long>(wObject));
            continue;
        }
        links.Add(it->second, std::move(pLink));
    }
    return 0;
}

int CQuantities::LinkTriggers(CProgressInfo* pProgress, CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                              DWORD& nCount, CObjectLinkTable* pAssociations)
{
    if (!m_pOwner) {
        LOG_ERROR("internal data error");
        return 5;
    }
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        const WORD wObject = pQuantity->GetTriggerObjectNumber();
        const BYTE nUpdate = pQuantity->ReadsValueFromBus() ? 1 : 0;
        auto link = [&](CGroupDataAddress* pAddress, BYTE nSend) {
            return pAssociations ? m_pOwner->LinkCommObjectIfMissing(pAccess, mapObjects, pAddress, *pAssociations,
                                                                     nSend, wObject, nUpdate)
                                 : m_pOwner->LinkCommObject(pAccess, mapObjects, pAddress, wObject, nUpdate);
        };
        CGroupDataAddress* pRequest = pQuantity->GetRequestGroupAddress();
        if (pRequest && !pRequest->IsInvalid()) {
            const int nResult = link(pRequest, 1);
            if (nResult != 0) {
                LOG_ERROR("failed to link request GA of quantity %d: %s", pQuantity->GetNumber(),
                          pQuantity->GetName().c_str());
                return nResult;
            }
            ++nCount;
            Step(pProgress, 1);
        }
        for (CGroupDataAddress* pAddress : pQuantity->GetTriggers()) {
            if (!pAddress || pAddress->IsInvalid() || pAddress == pRequest)
                continue;
            const int nResult = link(pAddress, 0);
            if (nResult != 0) {
                LOG_ERROR("failed to link trigger GA %s of quantity %d: %s", pAddress->GetName().c_str(),
                          pQuantity->GetNumber(), pQuantity->GetName().c_str());
                return nResult;
            }
            ++nCount;
            Step(pProgress, 1);
        }
    }
    return 0;
}

int CQuantities::LinkGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess,
                                    const CObjectNumberMap& mapObjects, DWORD& nCount, CObjectLinkTable& associations)
{
    return LinkTriggers(pProgress, pAccess, mapObjects, nCount, &associations);
}

int CQuantities::LinkGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess,
                                    const CObjectNumberMap& mapObjects, DWORD& nCount)
{
    return LinkTriggers(pProgress, pAccess, mapObjects, nCount, nullptr);
}

std::vector<WORD> CQuantities::GetTriggerObjectNumbers(const CGroupDataAddress* pAddress) const
{
    std::vector<WORD> arrNumbers;
    if (!pAddress)
        return arrNumbers;
    for (const CQuantity* pQuantity : m_lstQuantities)
        if (pQuantity && pQuantity->IsTrigger(pAddress))
            arrNumbers.push_back(pQuantity->GetTriggerObjectNumber());
    return arrNumbers;
}

// ------------------------------------------------------------ the list

CQuantity* CQuantities::GetQuantity(int nNumber) const
{
    if (nNumber < 1 || nNumber > kMaxCount)
        return nullptr;
    for (CQuantity* pQuantity : m_lstQuantities)
        if (pQuantity && pQuantity->GetNumber() == nNumber)
            return pQuantity;
    return nullptr;
}

CQuantity* CQuantities::FindQuantity(WORD wObjectNumber) const
{
    if (wObjectNumber == QUANTITY_NO_OBJECT)
        return nullptr;
    for (CQuantity* pQuantity : m_lstQuantities)
        if (pQuantity && pQuantity->GetTriggerObjectNumber() == wObjectNumber)
            return pQuantity;
    return nullptr;
}

CQuantity* CQuantities::CreateQuantity()
{
    if (GetCount() >= kMaxCount)
        return nullptr;
    int nNumber = 1;
    while (GetQuantity(nNumber))
        ++nNumber;
    auto* pQuantity = new CQuantity;
    pQuantity->SetOwner(this);
    pQuantity->SetNumber(nNumber);
    m_lstQuantities.push_back(pQuantity);
    return pQuantity;
}

void CQuantities::DeleteQuantity(CQuantity* pQuantity)
{
    if (!pQuantity)
        return;
    pQuantity->RemoveAllTriggers();
    m_lstQuantities.remove(pQuantity);
}

int CQuantities::GetTotalMemberCount() const
{
    int nCount = 0;
    for (const CQuantity* pQuantity : m_lstQuantities)
        if (pQuantity)
            nCount += pQuantity->GetMemberCount();
    return nCount;
}

bool CQuantities::IsTrigger(const CGroupDataAddress* pAddress, const CQuantity* pQuantity) const
{
    if (!pAddress)
        return false;
    if (pQuantity)
        return pQuantity->IsTrigger(pAddress);
    return std::any_of(m_lstQuantities.begin(), m_lstQuantities.end(),
                       [pAddress](const CQuantity* p) { return p && p->IsTrigger(pAddress); });
}

bool CQuantities::HaveNoCommonMemberRange(const CGroupDataAddress* pFirst, const CGroupDataAddress* pSecond) const
{
    if (!pFirst || !pSecond || !pFirst->HasUsage(GAU_QUANTITY_MEMBER) || !pSecond->HasUsage(GAU_QUANTITY_MEMBER))
        return true;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        for (int nRange = 0; nRange < 2; ++nRange) {
            auto inRange = [&](const CGroupDataAddress* pAddress) {
                return std::any_of(pQuantity->GetMembers().begin(), pQuantity->GetMembers().end(),
                                   [&](const CQuantityMember* p) {
                                       return p && p->GetGroupAddress() == pAddress &&
                                              (p->GetRange() != 0 ? 1 : 0) == nRange;
                                   });
            };
            if (inRange(pFirst) && inRange(pSecond))
                return false;
        }
    }
    return true;
}

int CQuantities::CountMembersByReference(LONG nReference) const
{
    int nCount = 0;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        for (const CQuantityMember* pMember : pQuantity->GetMembers())
            if (pMember && pMember->GetGroupAddress() && pMember->GetGroupAddress()->GetReference() == nReference)
                ++nCount;
    }
    return nCount;
}

// ------------------------------------------------------------ report

void CQuantities::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {
        GetResString(40103, "Nr"),      GetResString(40102, "Name"),      GetResString(40107, "Typ"),
        GetResString(202, "Bereich A"), GetResString(203, "Bereich B"),   GetResString(204, "Auslösung"),
        GetResString(211, "Warmstart"), GetResString(212, "Kaltstart"),   GetResString(213, "Initwert"),
    };
    std::vector<ReportRow> arrRows;
    for (const CQuantity* pQuantity : m_lstQuantities) {
        if (!pQuantity)
            continue;
        arrRows.push_back({FormatNumber2(pQuantity->GetNumber()), pQuantity->GetName(),
                           GetDptTypeName(pQuantity->GetMainType()), pQuantity->GetRangeAText(),
                           pQuantity->GetRangeBText(), pQuantity->GetConditionText(), pQuantity->GetWarmStartText(),
                           pQuantity->GetColdStartText(), pQuantity->GetInitValueText()});
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(351, "Mengen"), arrHeadings, arrRows);
}
