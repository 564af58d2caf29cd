#include "app/Chronoset.h"

#include "access/AssociationVeto.h"
#include "access/BusAccess.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "app/ObjectCookieMap.h"
#include "common/ProgressSteps.h"
#include "common/ResultCode.h"
#include "model/ArchiveSchema.h"
#include "model/CsvField.h"
#include "model/InternalClock.h"
#include "model/SpecialDays.h"
#include "model/Summertimes.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Cp1252.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

CChronoset::CChronoset()
{
    m_oInternalClock.SetChronoset(this);
    m_oDayRoutines.SetChronoset(this);
    m_oGroupDataAddresses.SetOwner(this);
    m_oWeekRoutine.SetChronoset(this);
    m_oSummertimes.SetChronoset(this);
    m_oSpecialDays.SetChronoset(this);
    m_oQuantities.SetOwner(this);
}

CChronoset::~CChronoset()
{
    m_arrObjectTypeIds.clear();
}

CObject* CChronoset::CreateObject()
{
    return new CChronoset;
}

std::string CChronoset::GetIndividualAddressText() const
{
    if (m_nIndividualAddress == -1)
        return "--.--.---";
    const auto nAddress = static_cast<DWORD>(m_nIndividualAddress);
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02u.%02u.%03u", static_cast<unsigned>((nAddress >> 12) & 0x0F),
                  static_cast<unsigned>((nAddress >> 8) & 0x0F), static_cast<unsigned>(nAddress & 0xFF));
    return szText;
}

void CChronoset::ShowDeviceInfo(CProgressInfo* pProgress) const
{
    if (!pProgress)
        return;
    pProgress->SetTopText(m_strManufacturerName + "\n" + m_strDeviceTitle + "\n" + m_strApplicationName);
}

namespace {

// The progress window of a file operation; standalone runs show the
// standalone form.
constexpr int kProgressKindFile = 8;

// Interface object 3, property 13: manufacturer (2 bytes), device type
// (2 bytes) and version (1 byte) of the loaded application program.
constexpr BYTE kApplicationObject = 3;
constexpr BYTE kApplicationProperty = 13;
constexpr BYTE kApplicationTypeCode = 14;
constexpr WORD kApplicationIdSize = 5;
constexpr HRESULT kManufacturerMismatch = static_cast<HRESULT>(0xC0042B13u);

constexpr int kObjectTableCapacity = 250;

// The text turned, in place, into the bytes the export file holds:
// Windows-1252 with CR LF line ends. A character outside Windows-1252
// becomes '?', logged once. In place, so that the export needs one buffer of
// its size rather than two.
void ToExportBytes(std::string& strText)
{
    if (platform::ConvertUtf8ToCp1252LossyInPlace(strText))
        LOG_WARNING("export text holds characters outside Windows-1252, written as '?'");
    // The line feeds are found with memchr and memrchr, which scan far
    // faster than a loop over the characters.
    std::size_t nLines = 0;
    for (const char *p = strText.data(), *pEnd = p + strText.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(pEnd - p)))) != nullptr; ++p)
        ++nLines;
    if (nLines == 0)
        return;
    // Each line feed gets its CR: the lines move back to front.
    std::size_t nRead = strText.size();
    strText.resize(strText.size() + nLines);
    std::size_t nWrite = strText.size();
    char* pData = strText.data();
    while (nRead > 0) {
        const auto* pFeed = static_cast<const char*>(::memrchr(pData, '\n', nRead));
        const std::size_t nStart = pFeed == nullptr ? 0 : static_cast<std::size_t>(pFeed - pData) + 1;
        nWrite -= nRead - nStart;
        std::memmove(pData + nWrite, pData + nStart, nRead - nStart);
        if (pFeed == nullptr)
            break;
        pData[--nWrite] = '\n';
        pData[--nWrite] = '\r';
        nRead = nStart - 1;
    }
}

// The 1-based item of a host collection.
template <class TCollection, class TItem>
HRESULT ItemAt(TCollection* pCollection, LONG nIndex, CComPtr<TItem>& pItem)
{
    pItem.Release();
    HRESULT hr = pCollection->Item(CComVariant(static_cast<int>(nIndex)), &pItem.p);
    if (SUCCEEDED(hr) && !pItem)
        hr = E_POINTER;
    return hr;
}

// A group's address as the host reports it (VT_NULL fails).
template <class TGroup>
HRESULT ReadGroupAddress(TGroup* pGroup, LONG& nAddress)
{
    CComVariant vAddress;
    HRESULT hr = pGroup->get_Address(&vAddress);
    if (FAILED(hr))
        return hr;
    if (vAddress.vt == VT_NULL || vAddress.vt == VT_EMPTY)
        return E_FAIL;
    CComVariant converted;
    hr = converted.ChangeType(VT_I4, &vAddress);
    if (SUCCEEDED(hr))
        nAddress = converted.lVal;
    return hr;
}

}  // namespace

// ---- the application program of the device ------------------------------------------

int CChronoset::CheckApplicationProgram(CProgressInfo* pProgress, CBusAccess* pBus, bool& bWrongApplication,
                                        IDeviceManagement* pDeviceManagement)
{
    bWrongApplication = true;
    BYTE arrBuffer[kApplicationIdSize] = {};
    if (!pBus) {
        LOG_WARNING("Couldnt read application infomation.");
        return -1;
    }
    const int nStatus = pBus->ReadPropertyData(kApplicationObject, kApplicationProperty, kApplicationTypeCode, 1, 1,
                                               arrBuffer, kApplicationIdSize, pDeviceManagement);
    progress::Step(pProgress);
    if (nStatus != 0) {
        LOG_WARNING("Couldnt read application infomation.");
        return nStatus;
    }
    const WORD nManufacturer = static_cast<WORD>(arrBuffer[0] * 256 + arrBuffer[1]);
    const LONG nDeviceType = arrBuffer[2] * 256 + arrBuffer[3];
    const BYTE nVersion = arrBuffer[4];
    LOG_INFO("app-program info: manuf-id = %ld, device type: %ld, app-version: = %d", static_cast<long>(nManufacturer),
             static_cast<long>(nDeviceType), static_cast<int>(nVersion));

    const WORD nOwnManufacturer = static_cast<WORD>(m_nManufacturerId & 0xFFFF);
    HRESULT hrManufacturer = S_OK;
    if (nManufacturer != nOwnManufacturer) {
        // Both codes stand for the same maker of this device.
        if ((nManufacturer == 2 && nOwnManufacturer == 7) || (nManufacturer == 7 && nOwnManufacturer == 2)) {
            LOG_INFO("Exception takes place during manfacturer ID check. ETS-ID=%u, Device-ID=%u",
                     static_cast<unsigned>(nOwnManufacturer), static_cast<unsigned>(nManufacturer));
        } else {
            LOG_ERROR("Manfacturer IDs different ETS-ID=%u, Device-ID=%u", static_cast<unsigned>(nOwnManufacturer),
                      static_cast<unsigned>(nManufacturer));
            hrManufacturer = kManufacturerMismatch;
        }
    }
    bWrongApplication = FAILED(hrManufacturer) || nDeviceType != m_nDeviceType || nVersion != m_nApplicationVersion;
    if (bWrongApplication)
        LOG_INFO("wrong app-program version");
    else
        LOG_INFO("correct app-program version");
    return nStatus;
}

// ---- the data-set walks -------------------------------------------------------------------

int CChronoset::CompleteEtsLoad(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    progress::SetMiddleText(pProgress, GetResString(118, "Initialisiere Datenhaushalt..."));
    int nResult = m_oGroupDataAddresses.LoadGroupAddressesFromEts(pProgress, pAccess);
    if (nResult != 0) {
        LOG_ERROR("loading of groupdata addresses failed");
        return nResult;
    }
    nResult = m_oInternalClock.CompleteEtsLoad(pProgress, pAccess);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of InternalClock");
        return nResult;
    }
    nResult = m_oDayRoutines.LoadFromParameters(pProgress, pAccess);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of Day Routines");
        return nResult;
    }
    nResult = m_oWeekRoutine.CompleteEtsLoad(pProgress);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of Week Routines");
        return nResult;
    }
    nResult = m_oSummertimes.CompleteEtsLoad(pProgress);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of Summertimes");
        return nResult;
    }
    nResult = m_oSpecialDays.CompleteEtsLoad(pProgress);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of SpecialDays");
        return nResult;
    }
    nResult = m_oQuantities.CompleteEtsLoad(pProgress);
    if (nResult != 0) {
        LOG_ERROR("CompleteEtsLoad of Quantities");
        return nResult;
    }
    return 0;
}

int CChronoset::SaveParameters(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    progress::SetMiddleText(pProgress, GetResString(134, "Schreibe Parameter..."));
    progress::SetBottomText(pProgress, GetResString(135, "Sendeverzögerung"));
    int nResult = 0;
    if (!pAccess || !pAccess->SetDeviceParameterLong(m_nSendDelayId, m_nSendDelay)) {
        LOG_ERROR("failed to save send delay");
        nResult = 5;
    }
    progress::Step(pProgress);
    if (nResult == 0)
        nResult = m_oGroupDataAddresses.SaveGroupAddressesToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oInternalClock.SaveToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oDayRoutines.SaveToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oWeekRoutine.SaveToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oSummertimes.SaveToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oSpecialDays.SaveToEts(pProgress, pAccess);
    if (nResult == 0)
        nResult = m_oQuantities.SaveToEts(pProgress, pAccess);
    return nResult;
}

int CChronoset::AssignGroupAddressObjectTypes(CEtsDataAccess* pAccess, BYTE& nNextObjectNumber, DWORD& nCount)
{
    int nResult = m_oGroupDataAddresses.AssignObjectTypes(pAccess, m_arrObjectTypeIds, nNextObjectNumber, nCount, false);
    if (nResult == 0)
        nResult = m_oGroupDataAddresses.AssignObjectTypes(pAccess, m_arrObjectTypeIds, nNextObjectNumber, nCount, true);
    return nResult;
}

int CChronoset::UpdateGroupAddressObjectTypes(CEtsDataAccess* pAccess, BYTE& nNextObjectNumber, DWORD& nCount,
                                              CObjectLinkTable* pOldLinks)
{
    int nResult = m_oGroupDataAddresses.UpdateObjectTypes(pAccess, m_arrObjectTypeIds, nNextObjectNumber, nCount,
                                                          false, pOldLinks);
    if (nResult == 0)
        nResult = m_oGroupDataAddresses.UpdateObjectTypes(pAccess, m_arrObjectTypeIds, nNextObjectNumber, nCount,
                                                          true, pOldLinks);
    return nResult;
}

// ---- communication objects and associations ----------------------------------------------

int CChronoset::CountAssociations(DWORD& nCount)
{
    BYTE nNext = 0;
    nCount = 0;
    int nResult = m_oQuantities.AssignObjectTypes(nullptr, nullptr, nNext, nCount);
    if (nResult == 0)
        nResult = AssignGroupAddressObjectTypes(nullptr, nNext, nCount);
    const LONG nObjects = nResult == 0 ? static_cast<LONG>(nNext) : -1;
    m_nObjectCount = nObjects;
    m_nAssociationCount = nCount;
    return static_cast<int>(nObjects);
}

namespace {

// The associations of a visible object and their number; false (logged) when
// the host gives neither.
bool OpenAssociations(const CommObjectEntry& entry, CComPtr<IEtsAssociations>& pAssociations, LONG& nCount)
{
    IEtsCommObject* pObject = g_mapCommObjects.Lookup(entry.nObjectId);
    if (!pObject) {
        LOG_ERROR("CO is NULL hr=0x%08X", Hr(E_POINTER));
        return false;
    }
    HRESULT hr = pObject->get_Associations(&pAssociations.p);
    if (FAILED(hr) || !pAssociations) {
        LOG_ERROR("Couldnt get Associations hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
        return false;
    }
    hr = pAssociations->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get associations count hr=0x%08X", Hr(hr));
        return false;
    }
    return true;
}

}  // namespace

int CChronoset::DeleteAssociations(CEtsDataAccess* pAccess, LONG /*nOption*/, const CCommObjectArray& arrObjects,
                                   CProgressInfo* pProgress)
{
    progress::SetMiddleText(pProgress, GetResString(133, "Lösche bestehende Objektverbindungen..."));
    COwnAssociationChange ownChange;
    bool bFailed = false;
    std::vector<WORD> arrHide;
    for (const CommObjectEntry& entry : arrObjects) {
        CComPtr<IEtsAssociations> pAssociations;
        LONG nCount = 0;
        if (!OpenAssociations(entry, pAssociations, nCount)) {
            bFailed = true;
            continue;
        }
        HRESULT hr = S_OK;
        // From the end: the collection closes up behind each deletion.
        HRESULT hrObject = S_OK;
        for (LONG j = nCount; j >= 1; --j) {
            CComPtr<IEtsAssociation> pAssociation;
            hr = ItemAt(pAssociations.p, j, pAssociation);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get association hr=0x%08X", Hr(hr));
                hrObject = hr;
                continue;
            }
            hr = pAssociation->Delete();
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt delete association hr=0x%08X", Hr(hr));
                hrObject = hr;
            }
        }
        if (FAILED(hrObject)) {
            LOG_ERROR("Some of the associations couldnt be deleted hr=0x%08X", Hr(hrObject));
            bFailed = true;
        } else if (entry.nObjectNumber < kObjectTableCapacity) {
            arrHide.push_back(entry.nObjectNumber);
        }
    }
    // Writing 0 to an object's "ObjectType" hides it.
    for (WORD nNumber : arrHide) {
        const bool bKnown = nNumber < m_arrObjectTypeIds.size();
        if (!bKnown || !pAccess || !pAccess->SetDeviceParameterLong(m_arrObjectTypeIds[nNumber], 0)) {
            LOG_ERROR("failed to set object %ld invisible", static_cast<long>(nNumber));
            bFailed = true;
            break;
        }
    }
    return bFailed ? 5 : 0;
}

int CChronoset::WriteAssociations(CEtsDataAccess* /*pAccess*/, LONG /*nOption*/, const CCommObjectArray& arrObjects,
                                  CObjectCookieMap& objects, CProgressInfo* pProgress)
{
    progress::SetMiddleText(pProgress, GetResString(133, "Lösche bestehende Objektverbindungen..."));
    COwnAssociationChange ownChange;
    bool bFailed = false;
    for (const CommObjectEntry& entry : arrObjects) {
        CComPtr<IEtsAssociations> pAssociations;
        LONG nCount = 0;
        if (!OpenAssociations(entry, pAssociations, nCount)) {
            bFailed = true;
            continue;
        }
        auto pLink = std::make_unique<CObjectLink>(entry.nObjectNumber);
        HRESULT hrLast = S_OK;
        for (LONG j = 1; j <= nCount; ++j) {
            CComPtr<IEtsAssociation> pAssociation;
            hrLast = ItemAt(pAssociations.p, j, pAssociation);
            CComPtr<IEtsGroupAddress> pGroupAddress;
            if (SUCCEEDED(hrLast)) {
                hrLast = pAssociation->get_GroupAddress(&pGroupAddress.p);
                if (SUCCEEDED(hrLast) && !pGroupAddress)
                    hrLast = E_POINTER;
            }
            LONG nReference = -1;
            if (SUCCEEDED(hrLast))
                hrLast = GetObjectCookie(pGroupAddress, nReference);
            if (FAILED(hrLast)) {
                LOG_ERROR("Couldnt get association hr=0x%08X", Hr(hrLast));
                continue;
            }
            pLink->AddGroupAddress(nReference, 1, pAssociation);
        }
        if (FAILED(hrLast)) {
            bFailed = true;
            continue;
        }
        if (entry.nObjectNumber >= kObjectTableCapacity) {
            // The clock's objects stay whatever the parameter set holds.
            pLink->m_nRemoved = 0;
            objects.GetStaticObjects().Add(entry.nObjectId, std::move(pLink));
        } else {
            pLink->m_nRemoved = 1;
            if (entry.nObjectNumber < m_arrObjectTypeIds.size())
                pLink->m_nObjectTypeId = m_arrObjectTypeIds[entry.nObjectNumber];
            objects.GetSwitchableObjects().Add(entry.nObjectId, std::move(pLink));
        }
    }
    return bFailed ? 5 : 0;
}

namespace {

// One association of an object with a group address and the object's update
// flag; pAssociations names the links the host has already, to be reused.
int LinkObject(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects, CGroupDataAddress* pAddress,
               CObjectLinkTable* pAssociations, BOOL bSend, WORD wObjectNumber, int nUpdate)
{
    if (!pAddress) {
        LOG_ERROR("internal data error");
        return 5;
    }
    const WORD nNumber =
        wObjectNumber != CChronoset::kNoObjectNumber ? wObjectNumber : static_cast<WORD>(pAddress->GetObjectNumber());
    auto it = mapObjects.find(nNumber);
    if (it == mapObjects.end() || it->second == -1 || !pAccess) {
        LOG_ERROR("object %d not found in map", static_cast<int>(static_cast<SHORT>(nNumber)));
        return 5;
    }
    const LONG nObjectId = it->second;
    const LONG nLinked = pAssociations ? pAccess->CreateAssociationIfMissing(nObjectId, pAddress->GetReference(),
                                                                             *pAssociations, bSend, 1, 1, 1)
                                       : pAccess->CreateAssociation(nObjectId, pAddress->GetReference(), bSend, 1, 1, 1);
    if (nLinked < 0)
        LOG_ERROR("failed to link object %d to subgroup %ld", static_cast<int>(nNumber),
                  static_cast<long>(pAddress->GetAddress()));
    const bool bUpdate = nUpdate != CChronoset::kNoUpdateFlag ? nUpdate != 0
                                                              : pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER);
    if (FAILED(pAccess->SetUpdateEnabled(nObjectId, bUpdate))) {
        LOG_ERROR("failed to set update flag of object %d", static_cast<int>(nNumber));
        return 5;
    }
    return 0;
}

}  // namespace

int CChronoset::LinkCommObject(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                               CGroupDataAddress* pAddress, WORD wObjectNumber, int nUpdate)
{
    return LinkObject(pAccess, mapObjects, pAddress, nullptr, -1, wObjectNumber, nUpdate);
}

int CChronoset::LinkCommObjectIfMissing(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                                        CGroupDataAddress* pAddress, CObjectLinkTable& associations, BYTE nSend,
                                        WORD wObjectNumber, int nUpdate)
{
    return LinkObject(pAccess, mapObjects, pAddress, &associations, nSend, wObjectNumber, nUpdate);
}

int CChronoset::AddObjectLink(const CObjectNumberMap& mapObjects, const CGroupDataAddress* pAddress,
                              CObjectLinkTable& links) const
{
    if (!pAddress)
        return 5;
    const WORD nNumber = static_cast<WORD>(pAddress->GetObjectNumber());
    auto it = mapObjects.find(nNumber);
    if (it == mapObjects.end() || it->second == -1) {
        LOG_ERROR("object %d not found in map", static_cast<int>(pAddress->GetObjectNumber()));
        return 5;
    }
    auto pLink = std::make_unique<CObjectLink>(nNumber);
    pLink->AddGroupAddress(pAddress->GetReference(), 1);
    links.Add(it->second, std::move(pLink));
    return 0;
}

void CChronoset::CopyFrom(const CChronoset& other)
{
    m_nDeviceId = other.m_nDeviceId;
    m_nProjectId = other.m_nProjectId;
    m_bHostAssociationsReplaced = other.m_bHostAssociationsReplaced;
    m_nIndividualAddress = other.m_nIndividualAddress;
    m_strFilePath = other.m_strFilePath;
    m_nParameterVersionId = other.m_nParameterVersionId;
    m_nSendDelayId = other.m_nSendDelayId;
    m_arrObjectTypeIds = other.m_arrObjectTypeIds;
    m_oGroupDataAddresses.CopyParameterObjects(other.m_oGroupDataAddresses);
    m_oInternalClock.CopyParameterIds(other.m_oInternalClock);
    m_oDayRoutines.CopyParameters(other.m_oDayRoutines);
    m_oWeekRoutine.SetParameterId(other.m_oWeekRoutine.GetParameterId());
    m_oSummertimes.SetParameterId(other.m_oSummertimes.GetParameterId());
    m_oSpecialDays.CopyParameterObjects(other.m_oSpecialDays);
    m_oQuantities.CopyParameterObjects(other.m_oQuantities);
}

void CChronoset::StoreDWordBigEndian(BYTE* pBuffer, DWORD dwValue)
{
    pBuffer[0] = static_cast<BYTE>(dwValue >> 24);
    pBuffer[1] = static_cast<BYTE>(dwValue >> 16);
    pBuffer[2] = static_cast<BYTE>(dwValue >> 8);
    pBuffer[3] = static_cast<BYTE>(dwValue);
}

void CChronoset::StoreDWordLittleEndian(BYTE* pBuffer, DWORD dwValue)
{
    pBuffer[0] = static_cast<BYTE>(dwValue);
    pBuffer[1] = static_cast<BYTE>(dwValue >> 8);
    pBuffer[2] = static_cast<BYTE>(dwValue >> 16);
    pBuffer[3] = static_cast<BYTE>(dwValue >> 24);
}

// ---- data files ---------------------------------------------------------------------------

namespace {

// Older files name their group addresses by raw address and carry no host
// ids; the records of a stored file name them by id. An address without one
// gets a fresh id of its own, so that the next store and load find each
// address again instead of the first one without id.
void GiveUnreferencedAddressesIds(CGroupDataAddresses& lists)
{
    // Every address of both lists: those with any use, then the unused.
    auto forEach = [&lists](auto&& fn) {
        for (bool bInvalid : {false, true}) {
            for (DWORD dwUsage : {static_cast<DWORD>(GAU_ANY), DWORD {0}}) {
                GaPosition pos = lists.GetFirstPosByUsage(dwUsage, bInvalid);
                while (pos) {
                    if (CGroupDataAddress* pAddress = lists.GetNextItemByUsage(pos, dwUsage, bInvalid))
                        fn(pAddress);
                }
            }
        }
    };
    // Fresh ids follow the largest one; a file may hold the largest id
    // there is, and then the free ones below it are taken, lowest first.
    long long nNext = 0;
    // The ids in use, sorted: one allocation rather than one per id.
    std::vector<LONG> used;
    forEach([&nNext, &used](CGroupDataAddress* pAddress) {
        used.push_back(pAddress->GetReference());
        nNext = std::max(nNext, static_cast<long long>(pAddress->GetReference()) + 1);
    });
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    LONG nFree = 0;
    forEach([&nNext, &used, &nFree](CGroupDataAddress* pAddress) {
        if (pAddress->GetReference() != -1)
            return;
        if (nNext <= std::numeric_limits<LONG>::max()) {
            pAddress->SetReference(static_cast<LONG>(nNext++));
            return;
        }
        while (std::binary_search(used.begin(), used.end(), nFree))
            ++nFree;
        used.insert(std::upper_bound(used.begin(), used.end(), nFree), nFree);
        pAddress->SetReference(nFree);
    });
}

}  // namespace

int CChronoset::LoadFromFile(const std::string& strPath, HWND hParent)
{
    if (strPath.empty())
        return 0;
    CProgressInfo progress(g_bStandalone ? 1 : 0);
    progress.Show(hParent, kProgressKindFile);
    if (!g_bStandalone)
        ShowDeviceInfo(&progress);
    std::optional<std::vector<std::uint8_t>> bytes = platform::ReadWholeFile(strPath, MAX_DATA_FILE_SIZE);
    if (!bytes) {
        if (errno == EFBIG)
            LOG_ERROR("Failed to read file %s: too large for parameter data", strPath.c_str());
        return 0;
    }
    m_strFilePath = strPath;
    try {
        CArchive ar(std::move(*bytes));
        LoadFromArchive(ar, &progress, hParent);
    } catch (const CArchiveException& e) {
        LOG_ERROR("Failed to read file %s: %s", strPath.c_str(), e.what());
        return 0;
    } catch (const std::exception& e) {
        LOG_ERROR("Failed to read file %s: %s", strPath.c_str(), e.what());
        return 0;
    }
    return 1;
}

int CChronoset::SaveToFile(const std::string& strPath, HWND hParent)
{
    CProgressInfo progress(g_bStandalone ? 1 : 0);
    progress.Show(hParent, kProgressKindFile);
    ShowDeviceInfo(&progress);
    if (strPath.empty()) {
        LOG_ERROR("Failed to open/create file %s", strPath.c_str());
        errno = ENOENT;
        return 0;
    }
    try {
        CArchive ar;
        StoreToArchive(ar, &progress);
        const std::vector<std::uint8_t>& bytes = ar.GetBuffer();
        // Written beside the old file and renamed over it: a failure leaves
        // the old file as it was.
        if (!platform::WriteFileAtomically(strPath, bytes.data(), bytes.size())) {
            LOG_ERROR("Failed to open/create file %s", strPath.c_str());
            return 0;
        }
    } catch (const std::exception& e) {
        LOG_ERROR("Failed to write file %s: %s", strPath.c_str(), e.what());
        // No system call failed: what errno holds from before is no reason
        // of this failure.
        errno = 0;
        return 0;
    }
    m_strFilePath = strPath;
    return 1;
}

int CChronoset::ExportToFile(const std::string& strPath, HWND hParent)
{
    if (strPath.empty()) {
        LOG_ERROR("Failed to open/create file %s", strPath.c_str());
        errno = ENOENT;
        return 0;
    }
    try {
        std::string strText;
        // Room for the largest set's text (about 140 KB with its CRs) at
        // once, rather than copying it on each growth.
        strText.reserve(192 * 1024);
        ExportText(hParent, strText);
        ToExportBytes(strText);
        if (!platform::WriteFileAtomically(strPath, strText)) {
            LOG_ERROR("Failed to open/create file %s", strPath.c_str());
            return 0;
        }
    } catch (const std::exception& e) {
        LOG_ERROR("Failed to write file %s: %s", strPath.c_str(), e.what());
        errno = 0;
        return 0;
    }
    return 1;
}

void CChronoset::StoreToArchive(CArchive& ar, CProgressInfo* pProgress)
{
    if (!ar.IsStoring()) {
        LOG_ERROR("trying to save to archive which is opened for reading");
        return;
    }
    progress::SetCaption(pProgress, GetResString(131, "Parameterdaten speichern"));
    progress::SetRange(pProgress, g_bStandalone ? 407 : 412);
    if (!g_bStandalone) {
        // Fresh counts for the limit the editors show after the save.
        progress::Step(pProgress);
        DWORD nCount = 0;
        CountAssociations(nCount);
        progress::Step(pProgress);
    }
    ar << static_cast<DWORD>(ARCHIVE_SCHEMA_CURRENT);
    progress::Step(pProgress);
    ar << static_cast<DWORD>(m_nIndividualAddress);
    ar << m_strDeviceName;
    ar << m_strDeviceDescription;
    progress::Step(pProgress);
    ar << m_strManufacturerName;
    ar << m_strDeviceTitle;
    ar << m_strApplicationName;
    ar << static_cast<DWORD>(m_nManufacturerId);
    ar << static_cast<DWORD>(m_nDeviceType);
    ar << m_nApplicationVersion;
    progress::Step(pProgress);
    ar << m_strDeviceComment;
    ar << m_nSendDelay;
    progress::Step(pProgress);
    m_oGroupDataAddresses.StoreToArchive(ar, pProgress);
    m_oInternalClock.StoreToArchive(ar, pProgress);
    m_oDayRoutines.StoreToArchive(ar, pProgress);
    m_oWeekRoutine.StoreToArchive(ar, pProgress);
    m_oSummertimes.StoreToArchive(ar, pProgress);
    m_oSpecialDays.StoreToArchive(ar, pProgress);
    m_oQuantities.StoreToArchive(ar, pProgress);
}

void CChronoset::LoadFromArchive(CArchive& ar, CProgressInfo* pProgress, HWND hParent)
{
    if (!ar.IsLoading()) {
        LOG_ERROR("trying to load from archive which was opened for reading");
        return;
    }
    progress::SetCaption(pProgress, GetResString(113, "Parameterdaten laden"));
    progress::SetRange(pProgress, g_bStandalone ? 407 : 659);
    DWORD dwValue = 0;
    ar >> dwValue;
    if (!IsKnownArchiveSchema(dwValue)) {
        // The records would read anything as an empty set.
        LOG_ERROR("unknown data file schema 0x%08X", static_cast<unsigned>(dwValue));
        throw CArchiveException(CArchiveException::badFormat);
    }
    g_nArchiveSchema = dwValue;
    progress::Step(pProgress);
    ar >> dwValue;
    // Inside the host the project's address of the device holds.
    if (g_bStandalone)
        m_nIndividualAddress = static_cast<LONG>(dwValue);
    ar >> m_strDeviceName;
    ar >> m_strDeviceDescription;
    progress::Step(pProgress);
    ar >> m_strManufacturerName;
    ar >> m_strDeviceTitle;
    ar >> m_strApplicationName;
    if (g_nArchiveSchema >= 0x10003) {
        ar >> dwValue;
        m_nManufacturerId = static_cast<LONG>(dwValue);
        ar >> dwValue;
        m_nDeviceType = static_cast<LONG>(dwValue);
        ar >> m_nApplicationVersion;
    }
    progress::Step(pProgress);
    if (g_bStandalone)
        ShowDeviceInfo(pProgress);
    if (g_nArchiveSchema >= 0x10007)
        ar >> m_strDeviceComment;
    ar >> m_nSendDelay;
    progress::Step(pProgress);
    m_oGroupDataAddresses.LoadFromArchive(ar, pProgress);
    m_oInternalClock.LoadFromArchive(ar, pProgress);
    m_oDayRoutines.LoadFromArchive(ar, pProgress);
    m_oWeekRoutine.LoadFromArchive(ar, pProgress);
    m_oSummertimes.LoadFromArchive(ar, pProgress);
    m_oSpecialDays.LoadFromArchive(ar, pProgress);
    m_oQuantities.LoadFromArchive(ar, pProgress);
    if (!ar.AtEnd()) {
        LOG_WARNING("%zu bytes after the last record of the data file are ignored",
                    ar.GetBuffer().size() - ar.GetPosition());
    }

    if (!g_bStandalone) {
        CEtsDataAccess access;
        BindFileGroupAddresses(pProgress, &access);
    } else {
        GiveUnreferencedAddressesIds(m_oGroupDataAddresses);
    }
    DWORD nCount = 0;
    CountAssociations(nCount);
    if (nCount == static_cast<DWORD>(GetMaxGroupAddressCount()))
        ShowAssociationLimitMessage(hParent);
    m_oGroupDataAddresses.DeleteUnusedInvalid();
}

// The file's group addresses meet the host project's sub groups by raw
// address; those the project lacks become invalid-association addresses
// with fresh host ids.
void CChronoset::BindFileGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess)
{
    progress::Step(pProgress);
    // Without a project nothing can bind; the file's addresses stay as read.
    if (m_nProjectId == -1) {
        LOG_ERROR("error checking group addresses ETS database existence");
        progress::Step(pProgress);
        return;
    }
    // The clock's addresses bind afresh like the lists'.
    for (CGroupDataAddress* pClock :
         {m_oInternalClock.GetTimeGroupAddress(), m_oInternalClock.GetDateGroupAddress(),
          m_oInternalClock.GetRequestGroupAddress(), m_oInternalClock.GetLockGroupAddress()}) {
        if (pClock)
            pClock->SetReference(-1);
    }
    for (bool bInvalid : {false, true}) {
        GaPosition pos = m_oGroupDataAddresses.GetFirstPosByUsage(0, bInvalid);
        while (pos) {
            if (CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItemByUsage(pos, 0, bInvalid))
                pAddress->SetReference(-1);
        }
    }
    bool bChanged = false;
    const int nResult = CheckGroupAddressesInProject(pProgress, pAccess, m_nProjectId, bChanged);

    const LONG nDeviceId = g_pChronoset ? g_pChronoset->m_nDeviceId : m_nDeviceId;
    IEtsDevice* pDevice = g_mapDevices.Lookup(nDeviceId);
    CComPtr<IEtsInternalDatabase> pDatabase;
    if (!pDevice) {
        LOG_ERROR("Couldnt find device with id=%ld", static_cast<long>(nDeviceId));
    } else {
        const HRESULT hr = pAccess->GetInternalDatabase(pDevice, pDatabase);
        if (FAILED(hr) || !pDatabase)
            LOG_ERROR("Couldnt get internal database interface hr=0x%08X", Hr(FAILED(hr) ? hr : E_POINTER));
    }
    if (pDatabase) {
        GaPosition pos = m_oGroupDataAddresses.GetFirstPosByUsage(0, true);
        while (pos) {
            CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItemByUsage(pos, 0, true);
            if (!pAddress)
                continue;
            LONG nId = -1;
            const HRESULT hr = pDatabase->NewId(&nId);
            if (FAILED(hr)) {
                LOG_ERROR("Couldnt get new database id hr=0x%08X", Hr(hr));
                break;
            }
            pAddress->SetReference(nId < 0 ? -1 : nId);
        }
    }
    if (nResult != 0)
        LOG_ERROR("error checking group addresses ETS database existence");
    progress::Step(pProgress);
}

int CChronoset::CheckGroupAddressesInProject(CProgressInfo* pProgress, CEtsDataAccess* /*pAccess*/, LONG nProjectId,
                                             bool& bChanged)
{
    progress::SetBottomText(pProgress, GetResString(40027, "Gruppenadressen"));
    bChanged = false;
    int nResult = 0;
    int nClockHits = 0;
    // A project id of -1 binds nothing and changes nothing.
    if (nProjectId == -1)
        return 5;
    HRESULT hr = S_OK;
    IEtsProject* pProject = g_mapProjects.Lookup(nProjectId);
    if (!pProject) {
        LOG_ERROR("Couldnt get the project instance for id=%ld", static_cast<long>(nProjectId));
        hr = E_FAIL;
    } else {
        CComPtr<IEtsMainGroups> pMainGroups;
        hr = pProject->get_MainGroups(&pMainGroups.p);
        if (FAILED(hr) || !pMainGroups) {
            hr = FAILED(hr) ? hr : E_POINTER;
            LOG_ERROR("Couldnt get the maingroups hr=0x%08X", Hr(hr));
        } else {
            LONG nCount = 0;
            hr = pMainGroups->get_Count(&nCount);
            if (FAILED(hr))
                LOG_ERROR("Couldnt get maingroups count hr=0x%08X", Hr(hr));
            if (FAILED(hr))
                nCount = 0;
            for (LONG i = 1; i <= nCount; ++i) {
                CComPtr<IEtsMainGroup> pMainGroup;
                hr = ItemAt(pMainGroups.p, i, pMainGroup);
                if (FAILED(hr)) {
                    LOG_ERROR("Couldnt get main group Item hr=0x%08X", Hr(hr));
                    continue;
                }
                LONG nMainAddress = 0;
                hr = ReadGroupAddress(pMainGroup.p, nMainAddress);
                if (FAILED(hr)) {
                    LOG_ERROR("Couldnt get main group address hr=0x%08X", Hr(hr));
                    continue;
                }
                hr = IterateMiddleGroupsByMainGroup(pProgress, pMainGroup, nMainAddress, nClockHits);
                if (FAILED(hr))
                    LOG_ERROR("Calling function IterateMiddleGroupsByMainGroup hr=0x%08X", Hr(hr));
            }
        }
    }
    if (FAILED(hr))
        nResult = 5;
    const int nLeft = 253 - m_oGroupDataAddresses.GetCount(false) - nClockHits;
    if (nLeft > 0)
        progress::Step(pProgress, static_cast<DWORD>(nLeft));

    // Clock addresses the project does not hold leave the clock.
    if (CGroupDataAddress* p = m_oInternalClock.GetTimeGroupAddress(); p && p->GetReference() == -1) {
        m_oInternalClock.SetTimeGroupAddress(nullptr);
        bChanged = true;
    }
    if (CGroupDataAddress* p = m_oInternalClock.GetDateGroupAddress(); p && p->GetReference() == -1) {
        m_oInternalClock.SetDateGroupAddress(nullptr);
        bChanged = true;
    }
    if (CGroupDataAddress* p = m_oInternalClock.GetRequestGroupAddress(); p && p->GetReference() == -1) {
        m_oInternalClock.SetRequestGroupAddress(nullptr);
        bChanged = true;
    }
    if (CGroupDataAddress* p = m_oInternalClock.GetLockGroupAddress(); p && p->GetReference() == -1) {
        m_oInternalClock.SetLockGroupAddress(nullptr);
        bChanged = true;
    }
    std::vector<CGroupDataAddress*> arrUnbound;
    GaPosition pos = m_oGroupDataAddresses.GetFirstPosByUsage(0, false);
    while (pos) {
        CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItemByUsage(pos, 0, false);
        if (pAddress && pAddress->GetReference() == -1)
            arrUnbound.push_back(pAddress);
    }
    for (CGroupDataAddress* pAddress : arrUnbound) {
        LOG_INFO("remove groupaddress %ld, displayname = %s from groupaddress list",
                 static_cast<long>(pAddress->GetAddress()), pAddress->GetName().c_str());
        m_oGroupDataAddresses.Remove(pAddress, true);
        pAddress->SetInvalid(true);
        if (!m_oGroupDataAddresses.AddGroupAddress(pAddress, true)) {
            // No room even after dropping an unused one: the address goes.
            LOG_ERROR("groupaddress %ld could not be kept", static_cast<long>(pAddress->GetAddress()));
            delete pAddress;
        }
        bChanged = true;
    }
    if (bChanged && nResult == 0) {
        const std::string strText = GetResString(
            161, "Einige der in der ORV/X Parametrierung verwendeten Gruppenadressen sind nicht mehr in der ETS "
                 "Datenbank vorhanden, oder mit einem Objekt unbekannten Typs verknüpft. Die Adressen und deren "
                 "Zuordnungen wurden entfernt.");
        const std::string strCaption = GetResString(162, "Prüfung der Gruppenadressen");
        CMessageBox().ShowWarning(pProgress ? pProgress->GetWindow() : nullptr, strText.c_str(), strCaption.c_str());
    }
    return nResult;
}

HRESULT CChronoset::IterateMiddleGroupsByMainGroup(CProgressInfo* pProgress, IEtsMainGroup* pMainGroup,
                                                   LONG nMainAddress, int& nClockHits)
{
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    HRESULT hr = pMainGroup->get_MiddleGroups(&pMiddleGroups.p);
    if (FAILED(hr) || !pMiddleGroups) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get middle groups hr=0x%08X", Hr(hr));
        return hr;
    }
    LONG nCount = 0;
    hr = pMiddleGroups->get_Count(&nCount);
    if (FAILED(hr))
        return hr;
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsMiddleGroup> pMiddleGroup;
        hr = ItemAt(pMiddleGroups.p, i, pMiddleGroup);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle group item hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nMiddleAddress = 0;
        hr = ReadGroupAddress(pMiddleGroup.p, nMiddleAddress);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get middle group address hr=0x%08X", Hr(hr));
            continue;
        }
        hr = IterateSubGroupsByMiddleGroup(pProgress, pMiddleGroup, nMainAddress, nMiddleAddress, nClockHits);
        if (FAILED(hr))
            LOG_ERROR("Calling function IterateSubGroupsByMiddleGroup hr=0x%08X", Hr(hr));
    }
    return hr;
}

HRESULT CChronoset::IterateSubGroupsByMiddleGroup(CProgressInfo* pProgress, IEtsMiddleGroup* pMiddleGroup,
                                                  LONG nMainAddress, LONG nMiddleAddress, int& nClockHits)
{
    CComPtr<IEtsGroupAddresses> pSubGroups;
    HRESULT hr = pMiddleGroup->get_GroupAddresses(&pSubGroups.p);
    if (FAILED(hr) || !pSubGroups) {
        hr = FAILED(hr) ? hr : E_POINTER;
        LOG_ERROR("Couldnt get group addresses hr=0x%08X", Hr(hr));
        return hr;
    }
    LONG nCount = 0;
    hr = pSubGroups->get_Count(&nCount);
    if (FAILED(hr)) {
        LOG_ERROR("Couldnt get group address count hr=0x%08X", Hr(hr));
        return hr;
    }
    for (LONG i = 1; i <= nCount; ++i) {
        CComPtr<IEtsGroupAddress> pSubGroup;
        hr = ItemAt(pSubGroups.p, i, pSubGroup);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get group address hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nSubAddress = 0;
        hr = ReadGroupAddress(pSubGroup.p, nSubAddress);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get sub group address hr=0x%08X", Hr(hr));
            continue;
        }
        SHORT nValueType = -1;
        hr = pSubGroup->get_CommunicationObjectLength(&nValueType);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get communication object length from group address hr=0x%08X", Hr(hr));
            continue;
        }
        BSTR bstrName = nullptr;
        hr = pSubGroup->get_Name(&bstrName);
        std::string strName;
        if (SUCCEEDED(hr))
            strName = platform::BstrToUtf8(bstrName);
        SysFreeString(bstrName);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get subgroup name hr=0x%08X", Hr(hr));
            continue;
        }
        LONG nReference = -1;
        hr = GetObjectCookie(pSubGroup, nReference);
        if (FAILED(hr)) {
            LOG_ERROR("Couldnt get cookie for subgroup hr=0x%08X", Hr(hr));
            continue;
        }
        const WORD wRaw =
            static_cast<WORD>((nMainAddress & 0xF) * 4096 + (nMiddleAddress & 0xF) * 256 + (nSubAddress & 0xFF));
        // Every address of the parameter set with this raw address binds:
        // the clock's as well as the list's.
        std::vector<CGroupDataAddress*> arrFound;
        for (CGroupDataAddress* pClock :
             {m_oInternalClock.GetTimeGroupAddress(), m_oInternalClock.GetDateGroupAddress(),
              m_oInternalClock.GetRequestGroupAddress(), m_oInternalClock.GetLockGroupAddress()}) {
            if (pClock && static_cast<WORD>(pClock->GetAddress()) == wRaw)
                arrFound.push_back(pClock);
        }
        if (!arrFound.empty())
            ++nClockHits;
        if (CGroupDataAddress* pListed = m_oGroupDataAddresses.GetReferenceFromAddress(wRaw, false))
            arrFound.push_back(pListed);
        if (arrFound.empty()) {
            LOG_TRACE("group address %ld is NOT used in parameterdata, displayname = %s", static_cast<long>(wRaw),
                      strName.c_str());
            continue;
        }
        for (CGroupDataAddress* pAddress : arrFound) {
            if (!IsSupportedKnxValueType(nValueType)) {
                pAddress->SetReference(-1);
                LOG_TRACE("group address %ld  has invalid type for ORV/X parameter data", static_cast<long>(wRaw));
            } else if (nValueType == -1 || nValueType == GetKnxValueType(pAddress->GetObjectType())) {
                pAddress->SetName(strName);
                pAddress->SetReference(nReference);
                LOG_TRACE("group address %ld is used in parameter data, displayname = %s", static_cast<long>(wRaw),
                          strName.c_str());
            } else {
                pAddress->SetReference(-1);
                LOG_TRACE("incompatible type of ETS GA: %d, and ORV/X GA: %d", static_cast<int>(nValueType),
                          static_cast<int>(pAddress->GetObjectType()));
            }
            progress::Step(pProgress);
        }
    }
    return hr;
}

// ---- the text export -----------------------------------------------------------------------

void CChronoset::ExportText(HWND hParent, std::string& strFile)
{
    CProgressInfo progress(g_bStandalone ? 1 : 0);
    progress.Show(hParent, kProgressKindFile);
    ShowDeviceInfo(&progress);
    progress.SetCaption(GetResString(812, "Export"));
    progress.SetRange(0, 1531);

    auto line = [&strFile](const std::string& strLabel, const std::string& strValue) {
        strFile += CsvField(strLabel) + "," + CsvField(strValue) + "\n";
    };
    strFile += CsvField(m_strDeviceTitle) + "\n\n";
    progress.Step(1);
    line(GetResString(102, "Hersteller:"), m_strManufacturerName);
    progress.Step(1);
    line(GetResString(127, "Applikation:"), m_strApplicationName);
    progress.Step(1);
    line(GetResString(125, "Physikalische Adresse:"), GetIndividualAddressText());
    progress.Step(1);

    progress.SetBottomText(GetResString(135, "Sendeverzögerung"));
    strFile += "\n" + CsvField(GetResString(101, "Allgemein")) + "\n";
    line(GetResString(135, "Sendeverzögerung"),
         std::to_string(static_cast<unsigned>(m_nSendDelay)) + " " + GetResString(504, "ms"));
    progress.Step(1);

    strFile += "\n";
    m_oGroupDataAddresses.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oInternalClock.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oDayRoutines.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oWeekRoutine.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oSummertimes.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oSpecialDays.ExportCsv(&progress, strFile);
    strFile += "\n";
    m_oQuantities.ExportCsv(&progress, strFile);
}

bool CChronoset::CheckGroupAddressType(CEtsDataAccess* pAccess, CGroupDataAddress* pAddress)
{
    if (!pAccess || !pAddress)
        return false;
    const LONG nAddress = pAccess->GetGroupAddressParts(pAddress->GetReference(), m_nProjectId);
    if (nAddress == -1)
        return false;
    const SHORT nValueType = pAccess->GetCommObjectLength(pAddress->GetReference());
    if (!IsSupportedKnxValueType(nValueType)) {
        LOG_WARNING("group address %s has invalid type for ORV/X parameter data, will be removed from GA-list",
                    pAccess->GetGroupName(pAddress->GetReference()).c_str());
        return false;
    }
    if (nValueType != -1 && nValueType != GetKnxValueType(static_cast<int>(pAddress->GetObjectType()))) {
        LOG_WARNING("incompatible type of ETS GA: %d, and ORV/X GA: %d, GA will be removed",
                    static_cast<int>(nValueType), static_cast<int>(pAddress->GetObjectType()));
        return false;
    }
    pAddress->SetName(pAccess->GetGroupName(pAddress->GetReference()));
    pAddress->SetAddress(nAddress);
    return true;
}
