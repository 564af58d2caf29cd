#include "model/GroupDataAddresses.h"

#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "common/ProgressSteps.h"
#include "model/ArchiveSchema.h"
#include "model/HexFields.h"
#include "model/IChronosetServices.h"
#include "model/IniManager.h"
#include "model/ObjectTypeParameters.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "platform/base/Cp1252.h"
#include "platform/com/ComVariant.h"
#include "report/ParamReport.h"
#include "report/ReportTable.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxCount = 250;

// The progress advance that fills a list's remaining slots up to its
// capacity (none when the list holds more).
DWORD AddressSlotsLeft(std::size_t nDone)
{
    return nDone < static_cast<std::size_t>(kMaxCount) ? static_cast<DWORD>(kMaxCount - nDone) : 0;
}

using progress::Step;

void ShowGroupAddresses(CProgressInfo* pProgress)
{
    if (pProgress)
        pProgress->SetBottomText(GetResString(352, "Gruppenadressen"));
}

// One fixed-width hex field of a parameter record at pos; false when the
// text ends before the field does.
bool ReadNextHexField(const std::string& strText, std::size_t& pos, std::size_t nWidth, DWORD& dwValue)
{
    if (pos >= strText.size() || strText.size() - pos < nWidth)
        return false;
    dwValue = HexFieldValue(strText.data() + pos, nWidth);
    pos += nWidth;
    return true;
}

bool IsUnused(const CGroupDataAddress* pAddress)
{
    return pAddress && !pAddress->HasUsage(GAU_ANY);
}

// The first place from `it` on whose address passes.
template <typename Pred>
CGroupDataAddressList::iterator FindFrom(CGroupDataAddressList::iterator it, CGroupDataAddressList& list, Pred pred)
{
    while (it != list.end() && !pred(*it))
        ++it;
    return it;
}

}  // namespace

CGroupDataAddresses::CGroupDataAddresses(bool bOwnsItems)
    : m_bOwnsItems(bOwnsItems), m_nLevels(g_IniManager.GetGroupAddressLevels())
{
}

CGroupDataAddresses::~CGroupDataAddresses()
{
    m_arrValidParameters.clear();
    m_arrInvalidParameters.clear();
    if (m_bOwnsItems) {
        for (CGroupDataAddress* pAddress : m_lstValid)
            delete pAddress;
        for (CGroupDataAddress* pAddress : m_lstInvalid)
            delete pAddress;
    }
}

CObject* CGroupDataAddresses::CreateObject()
{
    return new CGroupDataAddresses(true);
}

IChronosetServices* CGroupDataAddresses::GetCentralObject() const
{
    return m_pOwner ? m_pOwner : g_pChronosetServices;
}

void CGroupDataAddresses::DestroyItem(CGroupDataAddress* pAddress)
{
    if (m_bOwnsItems)
        delete pAddress;
}

// ------------------------------------------------------------ host parameters

void CGroupDataAddresses::AddGroupAddressParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrValidParameters, nId, strText, nIndex);
}

void CGroupDataAddresses::AddInvalidGroupAddressParameter(LONG nId, const std::string& strText, int nIndex)
{
    AddStringLongObject(m_arrInvalidParameters, nId, strText, nIndex);
}

void CGroupDataAddresses::CopyParameterObjects(const CGroupDataAddresses& other)
{
    CopyStringLongObjectArray(m_arrValidParameters, other.m_arrValidParameters);
    CopyStringLongObjectArray(m_arrInvalidParameters, other.m_arrInvalidParameters);
}

bool CGroupDataAddresses::InsertGroupAddressFromString(const std::string& strRecords, bool bInvalid)
{
    static const char* const kszFunction = "CGroupDataAddresses::InsertGroupAddressFromString";
    if (strRecords.empty())
        return true;

    std::size_t pos = 0;
    for (int nRecord = 0; nRecord < 2; ++nRecord) {
        if (nRecord == 1 && pos >= strRecords.size())
            return true;

        DWORD dwLow = 0, dwHigh = 0, dwType = 0, dwSubType = 0, dwLength = 0;
        if (!ReadNextHexField(strRecords, pos, 4, dwLow) || !ReadNextHexField(strRecords, pos, 4, dwHigh) ||
            !ReadNextHexField(strRecords, pos, 4, dwType) || !ReadNextHexField(strRecords, pos, 4, dwSubType) ||
            !ReadNextHexField(strRecords, pos, 2, dwLength)) {
            LOG_ERROR("%s: empty data string", kszFunction);
            return false;
        }
        dwLength &= 0xFF;

        std::string strName;
        if (dwLength != 0) {
            if (pos >= strRecords.size()) {
                LOG_ERROR("%s: empty data string", kszFunction);
                return false;
            }
            strName = strRecords.substr(pos, dwLength);
            pos += dwLength;
        }

        CGroupDataAddress* pAddress = CreateGroupAddress(bInvalid);
        if (!pAddress) {
            LOG_ERROR("failed to insert group address object");
            return false;
        }
        pAddress->SetReference(static_cast<LONG>((dwHigh << 16) | (dwLow & 0xFFFF)));
        pAddress->SetType({static_cast<int>(dwType), static_cast<int>(dwSubType)});
        pAddress->SetName(platform::Cp1252ToUtf8(strName));
    }
    return true;
}

int CGroupDataAddresses::LoadParameters(CProgressInfo* pProgress, bool bInvalid)
{
    const CStringLongObjectArray& arrParameters = GetParameterObjects(bInvalid);
    if (arrParameters.empty()) {
        LOG_ERROR("invalid group address parameter count");
        return 5;
    }
    int nResult = 0;
    std::size_t nRead = 0;
    for (std::size_t i = 0; i < arrParameters.size(); ++i) {
        const CStringLongObject* pParameter = arrParameters[i].get();
        if (!pParameter) {
            LOG_ERROR("internal data error");
            nResult = 5;
            break;
        }
        if (pParameter->GetText().empty())
            break;
        // The host holds the text as characters; the record counts them as
        // Windows-1252 bytes.
        bool bLossy = false;
        const std::string strRecords = platform::Utf8ToCp1252Lossy(pParameter->GetText(), &bLossy);
        if (bLossy)
            LOG_WARNING("group address parameter %d holds characters without a Windows-1252 form; read as '?'",
                        static_cast<int>(i));
        if (!InsertGroupAddressFromString(strRecords, bInvalid)) {
            LOG_ERROR("parameter data error");
            nResult = 5;
            break;
        }
        ++nRead;
        Step(pProgress, 1);
    }
    Step(pProgress, static_cast<DWORD>(arrParameters.size() - nRead));
    return nResult;
}

int CGroupDataAddresses::LoadGroupAddressesFromEts(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/)
{
    ShowGroupAddresses(pProgress);
    if (LoadParameters(pProgress, false) != 0) {
        LOG_ERROR("Calling LoadGroupAddressesFromEts....FALSE");
        return 5;
    }
    if (LoadParameters(pProgress, true) != 0) {
        LOG_ERROR("Calling LoadGroupAddressesFromEts.... TRUE");
        return 5;
    }
    return 0;
}

// ------------------------------------------------------------ data file and export

void CGroupDataAddresses::StoreList(CArchive& ar, CProgressInfo* pProgress, bool bInvalid) const
{
    const CGroupDataAddressList& list = List(bInvalid);
    ar << static_cast<WORD>(list.size());
    Step(pProgress, 1);
    for (const CGroupDataAddress* pAddress : list) {
        pAddress->StoreToArchive(ar);
        Step(pProgress, 1);
    }
    Step(pProgress, AddressSlotsLeft(list.size()));
}

void CGroupDataAddresses::LoadList(CArchive& ar, CProgressInfo* pProgress, bool bInvalid)
{
    WORD wCount = 0;
    ar >> wCount;
    Step(pProgress, 1);
    std::size_t nRead = 0;
    int nSkipped = 0;
    for (WORD i = 0; i < wCount; ++i) {
        CGroupDataAddress* pAddress = nRead < static_cast<std::size_t>(kMaxCount) ? CreateGroupAddress(bInvalid) : nullptr;
        if (!pAddress) {
            // Records the list cannot take are still read, so that the
            // records after them are read in step.
            CGroupDataAddress surplus;
            surplus.LoadFromArchive(ar);
            ++nSkipped;
            continue;
        }
        pAddress->LoadFromArchive(ar);
        // The list a record comes from decides its kind.
        pAddress->SetInvalid(bInvalid);
        ++nRead;
        Step(pProgress, 1);
    }
    if (nSkipped > 0)
        LOG_WARNING("CGroupDataAddresses::LoadFromArchive: %d group addresses beyond the capacity of the %s list skipped",
                    nSkipped, bInvalid ? "invalid" : "valid");
    Step(pProgress, AddressSlotsLeft(nRead));
}

void CGroupDataAddresses::StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const
{
    if (!ar.IsStoring())
        return;
    ShowGroupAddresses(pProgress);
    StoreList(ar, pProgress, false);
    StoreList(ar, pProgress, true);
}

void CGroupDataAddresses::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsLoading())
        return;
    ShowGroupAddresses(pProgress);
    LoadList(ar, pProgress, false);
    if (g_nArchiveSchema >= 0x10005)
        LoadList(ar, pProgress, true);
}

void CGroupDataAddresses::ExportCsv(CProgressInfo* pProgress, std::string& strFile) const
{
    ShowGroupAddresses(pProgress);
    strFile += "\"" + GetResString(352, "Gruppenadressen") + "\"\n";
    strFile += "\"" + GetResString(40106, "Gruppenadresse") + "\",\"" + GetResString(40103, "Nr") + "\",\"" +
               GetResString(40107, "Typ") + "\",\"" + GetResString(310, "TA") + "\",\"" + GetResString(311, "SZ") +
               "\",\"" + GetResString(312, "MA") + "\",\"" + GetResString(313, "MM") + "\"\n";
    Step(pProgress, 1);
    for (const CGroupDataAddress* pAddress : m_lstValid) {
        pAddress->WriteCsvLine(strFile, true);
        Step(pProgress, 1);
    }
    Step(pProgress, AddressSlotsLeft(m_lstValid.size()));
}

// ------------------------------------------------------------ creation and removal

CGroupDataAddress* CGroupDataAddresses::CreateGroupAddress(bool bInvalid)
{
    CGroupDataAddressList& list = List(bInvalid);
    if (list.size() >= static_cast<std::size_t>(kMaxCount)) {
        if (!m_bUnlimited)
            return nullptr;
        LOG_TRACE("Try to create more than %d group addresses allowed (unlimited GAs)", kMaxCount);
    }
    auto* pAddress = static_cast<CGroupDataAddress*>(CGroupDataAddress::CreateObject());
    pAddress->SetOwner(this);
    pAddress->SetInvalid(bInvalid);
    pAddress->SetLevels(m_nLevels);
    list.push_back(pAddress);
    NoteListed(pAddress);
    return pAddress;
}

bool CGroupDataAddresses::AddGroupAddress(CGroupDataAddress* pAddress, bool bForce)
{
    // Appending an address twice would make the lists delete it twice.
    if (!pAddress || IsInList(pAddress))
        return false;
    CGroupDataAddressList& list = List(pAddress->IsInvalid());
    if (list.size() >= static_cast<std::size_t>(kMaxCount)) {
        if (!bForce)
            return false;
        // Make room in the list that grows, and free what is taken out.
        auto it = std::find_if(list.begin(), list.end(), IsUnused);
        if (it != list.end()) {
            CGroupDataAddress* pOut = *it;
            list.erase(it);
            NoteUnlisted(pOut);
            DestroyItem(pOut);
        } else if (!m_bUnlimited) {
            LOG_WARNING("CGroupDataAddresses::AddGroupAddress: list full without an unused group address, %s not added",
                        pAddress->GetAddressText(false).c_str());
            return false;
        }
    }
    pAddress->SetOwner(this);
    list.push_back(pAddress);
    NoteListed(pAddress);
    return true;
}

bool CGroupDataAddresses::Remove(CGroupDataAddress* pAddress, bool bQuiet)
{
    if (!pAddress)
        return false;
    CGroupDataAddressList& list = List(pAddress->IsInvalid());
    auto it = std::find(list.begin(), list.end(), pAddress);
    if (it == list.end()) {
        LOG_WARNING("CGroupDataAddresses::Remove: Group address %ld (%s) not found in list",
                    static_cast<long>(pAddress->GetAddress()), pAddress->GetAddressText(false).c_str());
        return false;
    }
    if (pAddress->HasUsage(GAU_ANY) && !bQuiet)
        LOG_ERROR("Removing used group address: %s, %s, %s",
                  FormatDecimalSigned(pAddress->GetReference(), 6, false).c_str(),
                  pAddress->GetAddressText(false).c_str(), pAddress->IsInvalid() ? "invalid" : "valid");
    list.erase(it);
    NoteUnlisted(pAddress);
    return true;
}

void CGroupDataAddresses::RemoveAt(GaPosition pos, bool bInvalid)
{
    if (pos) {
        NoteUnlisted(*pos.m_it);
        List(bInvalid).erase(pos.m_it);
    }
}

void CGroupDataAddresses::ReplaceItem(CGroupDataAddress* pOld, CGroupDataAddress* pNew)
{
    if (!pOld || !pNew)
        return;
    CGroupDataAddressList& list = List(pNew->IsInvalid());
    auto it = std::find(list.begin(), list.end(), pOld);
    if (it == list.end())
        return;
    *it = pNew;
    NoteUnlisted(pOld);
    NoteListed(pNew);
    pNew->SetOwner(this);
}

void CGroupDataAddresses::CleanUpGroupAddresses()
{
    LOG_INFO("CleanUpGroupAddresses");
    for (bool bInvalid : {false, true}) {
        CGroupDataAddressList& list = List(bInvalid);
        if (bInvalid)
            LOG_INFO("... List of invalid group addresses contains %d elements", static_cast<int>(list.size()));
        else
            LOG_INFO("... List of valid group addresses contains %d elements", static_cast<int>(list.size()));
        while (list.size() > static_cast<std::size_t>(kMaxCount)) {
            GaPosition pos = GetFirstPosByUsage(0, bInvalid);
            if (!pos)
                break;
            CGroupDataAddress* pAddress = *pos.m_it;
            LOG_INFO("... ... Removing group address:");
            LOG_INFO("... ... ... name = %s", pAddress->GetName().c_str());
            LOG_INFO("... ... ... address = %s", pAddress->GetAddressText(false).c_str());
            LOG_INFO("... ... ... subgroup id = %ld", static_cast<long>(pAddress->GetReference()));
            list.erase(pos.m_it);
            NoteUnlisted(pAddress);
            DestroyItem(pAddress);
        }
    }
}

void CGroupDataAddresses::DeleteUnusedInvalid()
{
    for (auto it = m_lstInvalid.begin(); it != m_lstInvalid.end();) {
        if (IsUnused(*it)) {
            CGroupDataAddress* pAddress = *it;
            it = m_lstInvalid.erase(it);
            NoteUnlisted(pAddress);
            DestroyItem(pAddress);
        } else {
            ++it;
        }
    }
}

// ------------------------------------------------------------ queries

void CGroupDataAddresses::NoteListed(const CGroupDataAddress* pAddress)
{
    // Room for both full lists at once rather than growing step by step.
    if (m_mapListed.bucket_count() < 2 * kMaxCount)
        m_mapListed.reserve(2 * kMaxCount);
    ++m_mapListed[pAddress];
    ++m_nListChanges;
}

void CGroupDataAddresses::NoteUnlisted(const CGroupDataAddress* pAddress)
{
    auto it = m_mapListed.find(pAddress);
    if (it != m_mapListed.end() && --it->second == 0)
        m_mapListed.erase(it);
    ++m_nListChanges;
}

bool CGroupDataAddresses::IsInList(const CGroupDataAddress* pAddress) const
{
    if (!pAddress)
        return false;
    return m_mapListed.count(pAddress) != 0;
}

CGroupDataAddress* CGroupDataAddresses::GetReferenceFromAddress(LONG nAddress, bool bInvalid) const
{
    LOG_TRACE("CGroupDataAddresses::GetReferenceFromAddress: checking address= %s",
              FormatGroupAddress(m_nLevels, nAddress, -1, nullptr, false).c_str());
    for (CGroupDataAddress* pAddress : List(bInvalid)) {
        if (pAddress && pAddress->GetAddress() == nAddress) {
            LOG_TRACE("CGroupDataAddresses::GetReferenceFromAddress: .. found address, return ref=%p, Name= %s",
                      static_cast<void*>(pAddress), pAddress->GetName().c_str());
            return pAddress;
        }
    }
    LOG_TRACE("CGroupDataAddresses::GetReferenceFromAddress: .. adress does not exist, return NULL");
    return nullptr;
}

CGroupDataAddress* CGroupDataAddresses::FindByKey(bool bInvalid, KeyIndex& index, unsigned nKeyChanges,
                                                  LONG (*key)(const CGroupDataAddress&), LONG nKey) const
{
    // Loads and the reconciliation look up key after key in an unchanging
    // list: after a few walks an index answers instead. Any change of the
    // lists or of a key of that kind makes it stale.
    constexpr int kWalksBeforeIndex = 8;
    if (index.nListChanges != m_nListChanges || index.nKeyChanges != nKeyChanges) {
        index.entries.clear();
        index.bBuilt = false;
        index.nScans = 0;
        index.nListChanges = m_nListChanges;
        index.nKeyChanges = nKeyChanges;
    }
    if (!index.bBuilt && ++index.nScans > kWalksBeforeIndex) {
        for (CGroupDataAddress* pAddress : List(bInvalid))
            if (pAddress)
                index.entries.emplace_back(key(*pAddress), pAddress);
        std::stable_sort(index.entries.begin(), index.entries.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        index.bBuilt = true;
    }
    if (index.bBuilt) {
        // The first entry not below the key, halving without branches:
        // the keys come in no order the branch predictor could learn.
        const auto* pBase = index.entries.data();
        std::size_t n = index.entries.size();
        if (n == 0)
            return nullptr;
        while (n > 1) {
            const std::size_t nHalf = n / 2;
            pBase = pBase[nHalf].first < nKey ? pBase + nHalf : pBase;
            n -= nHalf;
        }
        pBase += pBase->first < nKey ? 1 : 0;
        return pBase != index.entries.data() + index.entries.size() && pBase->first == nKey ? pBase->second
                                                                                              : nullptr;
    }
    for (CGroupDataAddress* pAddress : List(bInvalid))
        if (pAddress && key(*pAddress) == nKey)
            return pAddress;
    return nullptr;
}

CGroupDataAddress* CGroupDataAddresses::FindByReference(LONG nReference, bool bInvalid) const
{
    return FindByKey(bInvalid, m_arrReferenceIndex[bInvalid ? 1 : 0], CGroupDataAddress::GetReferenceChangeCount(),
                     [](const CGroupDataAddress& address) { return address.GetReference(); }, nReference);
}

CGroupDataAddress* CGroupDataAddresses::FindByObjectNumber(SHORT nObjectNumber, bool bAlsoInvalid) const
{
    if (nObjectNumber == -1)
        return nullptr;
    const auto key = [](const CGroupDataAddress& address) { return static_cast<LONG>(address.GetObjectNumber()); };
    const unsigned nChanges = CGroupDataAddress::GetObjectNumberChangeCount();
    if (CGroupDataAddress* pAddress = FindByKey(false, m_arrObjectNumberIndex[0], nChanges, key, nObjectNumber))
        return pAddress;
    if (bAlsoInvalid)
        return FindByKey(true, m_arrObjectNumberIndex[1], nChanges, key, nObjectNumber);
    return nullptr;
}

// ------------------------------------------------------------ iteration

bool CGroupDataAddresses::PrepareFilteredWalk(int nMask, bool& bInvalid, bool& bLimited) const
{
    bLimited = false;
    if (nMask == GASM_ANY || (nMask & GASM_NO_LIMIT))
        return true;
    const IChronosetServices* pCentral = GetCentralObject();
    if (!pCentral || pCentral->GetAddressCount() < static_cast<DWORD>(IChronosetServices::GetMaxGroupAddressCount()))
        return true;
    switch (nMask) {
    case GASM_DAYROUTINE_TRIGGER:
    case GASM_QUANTITY_TRIGGER:
        LOG_TRACE("CGroupDataAddresses: GetFirstItemPos: no more group addresses allowed (return NULL)");
        return false;
    case GASM_SWITCHTIME:
    case GASM_QUANTITY_MEMBER:
        // A further use must not need a further association.
        bLimited = true;
        bInvalid = false;
        return true;
    default:
        return true;
    }
}

bool CGroupDataAddresses::PassesFilter(const CGroupDataAddress* pAddress, int, bool bLimited,
                                       const CGroupDataAddress* pEdited) const
{
    if (!pAddress)
        return false;
    if (!bLimited)
        return true;
    const bool bHasObject = pAddress->HasObjectNumber() || (pEdited && pEdited->GetUseCount(GASM_ANY) <= 1);
    return bHasObject && !CGroupDataAddress::IsDayRoutineTrigger(pAddress);
}

bool CGroupDataAddresses::PassesUsage(const CGroupDataAddress* pAddress, DWORD dwUsage)
{
    if (!pAddress)
        return false;
    return dwUsage == 0 ? !pAddress->HasUsage(GAU_ANY) : pAddress->HasUsage(dwUsage);
}

namespace {

// The item at the position (or the next passing one after it); the position
// moves on to the next passing item after that, or to none.
template <typename Pred>
CGroupDataAddress* StepWalk(GaPosition& pos, CGroupDataAddressList::iterator itPos, CGroupDataAddressList& list,
                            Pred pred, GaPosition (*make)(CGroupDataAddressList::iterator))
{
    auto it = FindFrom(itPos, list, pred);
    if (it == list.end()) {
        pos = GaPosition();
        return nullptr;
    }
    CGroupDataAddress* pAddress = *it;
    auto itNext = FindFrom(std::next(it), list, pred);
    pos = itNext == list.end() ? GaPosition() : make(itNext);
    return pAddress;
}

}  // namespace

GaPosition CGroupDataAddresses::GetFirstItemPos(int nMask, const CGroupDataAddress* pEdited, bool bInvalid)
{
    bool bLimited = false;
    if (!PrepareFilteredWalk(nMask, bInvalid, bLimited))
        return {};
    CGroupDataAddressList& list = List(bInvalid);
    auto it = FindFrom(list.begin(), list, [&](const CGroupDataAddress* p) {
        return PassesFilter(p, nMask, bLimited, pEdited);
    });
    return it == list.end() ? GaPosition() : GaPosition(it);
}

CGroupDataAddress* CGroupDataAddresses::GetNextItem(GaPosition& pos, int nMask, const CGroupDataAddress* pEdited,
                                                    bool bInvalid)
{
    if (!pos)
        return nullptr;
    bool bLimited = false;
    if (!PrepareFilteredWalk(nMask, bInvalid, bLimited)) {
        pos = GaPosition();
        return nullptr;
    }
    return StepWalk(
        pos, pos.m_it, List(bInvalid),
        [&](const CGroupDataAddress* p) { return PassesFilter(p, nMask, bLimited, pEdited); },
        [](CGroupDataAddressList::iterator it) { return GaPosition(it); });
}

GaPosition CGroupDataAddresses::GetFirstPosByUsage(DWORD dwUsage, bool bInvalid)
{
    CGroupDataAddressList& list = List(bInvalid);
    auto it = FindFrom(list.begin(), list, [&](const CGroupDataAddress* p) { return PassesUsage(p, dwUsage); });
    return it == list.end() ? GaPosition() : GaPosition(it);
}

CGroupDataAddress* CGroupDataAddresses::GetNextItemByUsage(GaPosition& pos, DWORD dwUsage, bool bInvalid)
{
    if (!pos)
        return nullptr;
    return StepWalk(
        pos, pos.m_it, List(bInvalid), [&](const CGroupDataAddress* p) { return PassesUsage(p, dwUsage); },
        [](CGroupDataAddressList::iterator it) { return GaPosition(it); });
}

GaPosition CGroupDataAddresses::GetFirstPosByType(LONG nObjectType, int nMask, const CGroupDataAddress* pEdited,
                                                  bool bInvalid)
{
    bool bLimited = false;
    if (!PrepareFilteredWalk(nMask, bInvalid, bLimited))
        return {};
    // A day routine's trigger is an address of its own: only unused ones.
    const bool bUnusedOnly = (nMask & ~GASM_NO_LIMIT) == GASM_DAYROUTINE_TRIGGER;
    CGroupDataAddressList& list = List(bInvalid);
    auto it = FindFrom(list.begin(), list, [&](const CGroupDataAddress* p) {
        return PassesFilter(p, nMask, bLimited, pEdited) && p->GetObjectType() == nObjectType &&
               (!bUnusedOnly || IsUnused(p));
    });
    return it == list.end() ? GaPosition() : GaPosition(it);
}

CGroupDataAddress* CGroupDataAddresses::GetNextItemByType(GaPosition& pos, LONG nObjectType, int nMask,
                                                          const CGroupDataAddress* pEdited, bool bInvalid)
{
    if (!pos)
        return nullptr;
    bool bLimited = false;
    if (!PrepareFilteredWalk(nMask, bInvalid, bLimited)) {
        pos = GaPosition();
        return nullptr;
    }
    const bool bUnusedOnly = (nMask & ~GASM_NO_LIMIT) == GASM_DAYROUTINE_TRIGGER;
    return StepWalk(
        pos, pos.m_it, List(bInvalid),
        [&](const CGroupDataAddress* p) {
            return PassesFilter(p, nMask, bLimited, pEdited) && p->GetObjectType() == nObjectType &&
                   (!bUnusedOnly || IsUnused(p));
        },
        [](CGroupDataAddressList::iterator it) { return GaPosition(it); });
}

// ------------------------------------------------------------ host writes

int CGroupDataAddresses::SaveParameters(CProgressInfo* pProgress, CEtsDataAccess* pAccess, bool bInvalid)
{
    const CStringLongObjectArray& arrParameters = GetParameterObjects(bInvalid);
    if (arrParameters.empty()) {
        LOG_ERROR("invalid group address parameter count");
        return 5;
    }
    const CGroupDataAddressList& list = List(bInvalid);
    auto it = list.begin();
    for (const auto& pParameter : arrParameters) {
        if (!pParameter) {
            LOG_ERROR("internal data error");
            return 5;
        }
        // Two records per parameter; parameters past the list's end are
        // emptied.
        std::string strRecords;
        for (int nRecord = 0; nRecord < 2 && it != list.end(); ++nRecord, ++it)
            strRecords += (*it)->ToHexString();
        // The host holds characters; each record byte is one of them.
        if (!pAccess || !pAccess->SetDeviceParameterValue(pParameter->GetId(), platform::Cp1252ToUtf8(strRecords))) {
            LOG_ERROR("failed to set group address parameter");
            return 5;
        }
        Step(pProgress, 1);
    }
    return 0;
}

int CGroupDataAddresses::SaveGroupAddressesToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    ShowGroupAddresses(pProgress);
    int nResult = SaveParameters(pProgress, pAccess, false);
    if (nResult == 0)
        nResult = SaveParameters(pProgress, pAccess, true);
    return nResult;
}

int CGroupDataAddresses::NumberObjects(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds,
                                       BYTE& nNextObjectNumber, DWORD& nCount, bool bInvalid,
                                       CObjectLinkTable* pOldLinks, bool bUpdate)
{
    constexpr DWORD kObjectUsage = GAU_DAYROUTINE_TRIGGER | GAU_SWITCHTIME | GAU_QUANTITY_MEMBER;
    for (CGroupDataAddress* pAddress : List(bInvalid)) {
        if (!pAddress) {
            LOG_ERROR("internal data error");
            return 5;
        }
        // A quantity-only trigger uses the quantity's trigger object; an
        // address past the last free number gets none either, so that no
        // number of an earlier run stays behind.
        if (nNextObjectNumber >= kMaxCount || !(pAddress->GetUsageFlags() & kObjectUsage)) {
            pAddress->SetObjectNumber(-1);
            continue;
        }
        pAddress->SetObjectNumber(static_cast<SHORT>(nNextObjectNumber));
        if (pAccess) {
            const LONG nTypeId = nNextObjectNumber < arrObjectTypeIds.size() ? arrObjectTypeIds[nNextObjectNumber] : -1;
            bool bWrite = true;
            CObjectLink* pOldLink = bUpdate && pOldLinks ? FindByObjectTypeId(*pOldLinks, nTypeId) : nullptr;
            if (pOldLink) {
                // The object stays in use: keep its associations.
                pOldLink->m_nRemoved = 0;
                LONG nValue = 0;
                if (ReadDeviceParameterLong(nTypeId, nValue) && nValue == pAddress->GetObjectType())
                    bWrite = false;
            }
            if (bWrite && !pAccess->SetDeviceParameterLong(nTypeId, pAddress->GetObjectType())) {
                LOG_ERROR("failed to set objecttype parameter");
                return 5;
            }
        }
        ++nNextObjectNumber;
        ++nCount;
    }
    return 0;
}

int CGroupDataAddresses::AssignObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds,
                                           BYTE& nNextObjectNumber, DWORD& nCount, bool bInvalid)
{
    return NumberObjects(pAccess, arrObjectTypeIds, nNextObjectNumber, nCount, bInvalid, nullptr, false);
}

int CGroupDataAddresses::UpdateObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds,
                                           BYTE& nNextObjectNumber, DWORD& nCount, bool bInvalid,
                                           CObjectLinkTable* pOldLinks)
{
    return NumberObjects(pAccess, arrObjectTypeIds, nNextObjectNumber, nCount, bInvalid, pOldLinks, true);
}

// ------------------------------------------------------------ report

void CGroupDataAddresses::AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth)
{
    if (!pReport || !pDC)
        return;
    const ReportRow arrHeadings = {
        GetResString(40106, "Gruppenadresse"), GetResString(40103, "Nr"), GetResString(40107, "Typ"),
        GetResString(310, "TA"),               GetResString(311, "SZ"),   GetResString(312, "MA"),
        GetResString(313, "MM"),
    };
    std::vector<ReportRow> arrRows;
    arrRows.reserve(m_lstValid.size());
    for (const CGroupDataAddress* pAddress : m_lstValid) {
        if (!pAddress) {
            arrRows.push_back({"-"});
            continue;
        }
        ReportRow arrRow = {pAddress->GetName(), pAddress->GetAddressText(false),
                            GetDptTypeName(pAddress->GetObjectType())};
        for (DWORD dwUsage : {GAU_DAYROUTINE_TRIGGER, GAU_SWITCHTIME, GAU_QUANTITY_TRIGGER, GAU_QUANTITY_MEMBER})
            arrRow.push_back(pAddress->HasUsage(dwUsage) ? "X" : "");
        arrRows.push_back(std::move(arrRow));
    }
    AddReportTableSection(*pReport, *pDC, nWidth, GetResString(352, "Gruppenadressen"), arrHeadings, arrRows);
}
