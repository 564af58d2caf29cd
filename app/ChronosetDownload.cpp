// The download of the whole parameter set into the device: the download
// images, the three system tables, the load-state control of the device's
// three load-state machines, the parameter blocks, the download stamp and
// the retries around them.

#include "app/Chronoset.h"

#include "access/BusAccess.h"
#include "app/TimeZoneGuard.h"
#include "common/ProgressSteps.h"
#include "model/IniManager.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/base/LocalTime.h"


#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

namespace {

constexpr int kDownloadTries = 3;
constexpr DWORD kRetryWaitMs = 3000;
constexpr DWORD kParameterProgress = 1023;
constexpr DWORD kStampProgress = 676;

// Device memory of the system tables.
constexpr DWORD kAddressTable = 0x4000;
constexpr DWORD kAssociationTable = 0x4200;
constexpr DWORD kObjectTable = 0x4400;
constexpr std::size_t kObjectEntriesPerWrite = 3;
// The count bytes: the address table counts its entries + 1 in one byte,
// and its entries end where the association table begins.
constexpr std::size_t kMaxAddressEntries = 254;
constexpr std::size_t kMaxAssociations = 255;
constexpr std::size_t kObjectsBeforeClock = 250;

// General parameters.
constexpr DWORD kSendDelay = 0x8000;
constexpr DWORD kInactiveTime = 0x8001;
constexpr DWORD kLockFlag = 0x8005;

// Load-state control.
constexpr BYTE kLoadStateProperty = 5;
constexpr DWORD kLoadControlRegister = 0x0104;
constexpr DWORD kLoadStateBytes = 0xB6EA;  // machine 1; 2 and 3 follow
constexpr std::size_t kLoadControlSize = 10;
constexpr int kLoadStateNotReached = 53;

// Stamp properties of interface object 5.
constexpr BYTE kStampObject = 5;
constexpr BYTE kDownloadTimeProperty = 201;
constexpr BYTE kDownloadStampProperty = 202;
constexpr BYTE kStampSize = 40;

// The order of the address table: the raw address as an unsigned 16-bit
// value, so that main groups 8..15 follow 0..7 as on the bus.
WORD SortKey(const CGroupDataAddress* pAddress)
{
    return static_cast<WORD>(pAddress->GetAddress());
}

// The state a machine reaches after the event: loading after the start,
// loaded after completion.
BYTE ExpectedLoadState(int nEvent)
{
    return nEvent == 1 ? 2 : 1;
}

using progress::SetBottomText;
using progress::Step;
using progress::StepRemaining;

void WaitBeforeRetry(DWORD nMs)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
}

std::tm CurrentLocalTime()
{
    return platform::LocalTimeOf(std::time(nullptr));
}

// Appends every used address of the valid-association list in address
// order. False on an empty entry.
bool CollectUsedAddresses(CGroupDataAddresses& addresses, std::vector<CGroupDataAddress*>& arrSorted)
{
    GaPosition pos = addresses.GetFirstItemPos(GASM_ANY, nullptr, false);
    while (pos) {
        CGroupDataAddress* pAddress = addresses.GetNextItem(pos, GASM_ANY, nullptr, false);
        if (!pAddress) {
            LOG_ERROR("internal data error");
            return false;
        }
        if (!pAddress->HasUsage(GAU_ANY))
            continue;
        pAddress->SetAddressTableIndex(-1);
        CChronoset::InsertGroupAddressSorted(arrSorted, pAddress, 0,
                                             arrSorted.empty() ? 0 : static_cast<int>(arrSorted.size()) - 1);
    }
    return true;
}

// Writes a table of big-endian words: its count byte at the table's address,
// then the words from the given offset on, six to a memory write, with the
// detail log of the memory image. The progress ends on the table's slots.
int WriteWordTable(CProgressInfo* pProgress, CBusAccess* pBus, const char* pszName, DWORD nTable, BYTE nCount,
                   DWORD nFirstOffset, const std::vector<WORD>& arrWords, long nSlots,
                   const std::function<WORD(WORD)>& fnBusForm)
{
    constexpr std::size_t kEntriesPerWrite = 6;
    const std::size_t nEntries = arrWords.size();
    int nResult = pBus->WriteDeviceMemory(nTable, &nCount, 1, 1);
    Step(pProgress, 1);
    if (nResult != 0)
        return nResult;
    LOG_INFO("%s memory access writes = %d", pszName,
             static_cast<int>((nEntries + kEntriesPerWrite - 1) / kEntriesPerWrite));
    LOG_DETAIL("memory image of %s:", pszName);
    LOG_DETAIL("%04x| %02x", static_cast<unsigned>(nTable), unsigned{nCount});

    for (std::size_t nFirst = 0; nFirst < nEntries; nFirst += kEntriesPerWrite) {
        const std::size_t nBlock = std::min(kEntriesPerWrite, nEntries - nFirst);
        const DWORD nAddress = nTable + nFirstOffset + static_cast<DWORD>(2 * nFirst);
        std::array<BYTE, 2 * kEntriesPerWrite> arrBlock {};
        for (std::size_t i = 0; i < nBlock; ++i) {
            const WORD wWord = fnBusForm(arrWords[nFirst + i]);
            arrBlock[2 * i] = static_cast<BYTE>(wWord >> 8);
            arrBlock[2 * i + 1] = static_cast<BYTE>(wWord & 0xFF);
        }
        nResult = pBus->WriteDeviceMemory(nAddress, arrBlock.data(), static_cast<WORD>(2 * nBlock), 1);
        if (nResult != 0)
            return nResult;
        StepRemaining(pProgress, static_cast<long>(nBlock));
        for (std::size_t i = 0; i < nBlock; ++i)
            LOG_DETAIL("%04x| %02x %02x", static_cast<unsigned>(nAddress + 2 * i), unsigned{arrBlock[2 * i]},
                       unsigned{arrBlock[2 * i + 1]});
    }
    StepRemaining(pProgress, nSlots - static_cast<long>(nEntries));
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// The sequence

int CChronoset::DoDownload(CProgressInfo* pProgress, CBusAccess* pBus, int& nWrongApplication,
                           bool bDownloadParameters, bool bWriteStamp, WORD nIndividualAddress)
{
    LOG_INFO("CChronoset::DoDownload");
    nWrongApplication = 0;
    if (!pBus || !pBus->IsStandalone()) {
        // The host downloads a device itself.
        LOG_INFO("Download try in plug-in version");
        return 0;
    }

    LONG nTarget = nIndividualAddress;
    if (nIndividualAddress == 0xFFFF)
        nTarget = m_nIndividualAddress;

    if (pProgress) {
        pProgress->SetRange(0, (bDownloadParameters ? kParameterProgress : 0) + (bWriteStamp ? kStampProgress : 0));
        pProgress->SetMiddleText(GetResString(114, "Initialisiere Ladevorgang..."));
        pProgress->SetBottomText("");
    }

    int nResult = 5;
    if (nTarget < 0 || nTarget >= 0xFFFF) {
        // Without its individual address the device cannot be reached; a
        // broadcast-like target must never receive the tables.
        LOG_ERROR("individual address of the device unknown, download not possible");
    }
    else if (!InitDownload(pProgress, bDownloadParameters)) {
        LOG_ERROR("failed to init download sequence");
    }
    else {
        const WORD wPercent = pProgress ? pProgress->GetPercent() : 0;
        const auto nAddress = static_cast<WORD>(nTarget);
        for (int nTry = 1; nTry <= kDownloadTries; ++nTry) {
            LOG_WARNING("CChronoset::DoDownload - %d. download try", nTry);
            if (pProgress)
                pProgress->SetPercent(wPercent);
            if (nTry > 1) {
                if (m_fnDownloadWait)
                    m_fnDownloadWait(kRetryWaitMs);
                else
                    WaitBeforeRetry(kRetryWaitMs);
            }

            nResult = pBus->Connect(nAddress, nullptr);
            Step(pProgress, 1);
            if (nResult != 0) {
                LOG_ERROR("failed to start TL communication");
                continue;
            }

            if (pProgress) {
                char szText[256];
                std::snprintf(szText, sizeof szText, "%s %u.%u.%u ...", GetResString(130, "Lade Gerät").c_str(),
                              unsigned{static_cast<unsigned>(nAddress >> 12) & 0x0Fu},
                              unsigned{static_cast<unsigned>(nAddress >> 8) & 0x0Fu}, unsigned{nAddress & 0xFFu});
                pProgress->SetMiddleText(szText);
                pProgress->SetBottomText("");
            }

            bool bWrongApplication = false;
            nResult = CheckApplicationProgram(pProgress, pBus, bWrongApplication, nullptr);
            nWrongApplication = bWrongApplication ? 1 : 0;
            if (nResult != 0 || bWrongApplication) {
                LOG_ERROR("wrong application version loaded in device");
            }
            else {
                if (bDownloadParameters)
                    nResult = DownloadTablesAndParameters(pProgress, pBus);
                if (bWriteStamp) {
                    if (nResult == 0)
                        Step(pProgress, 2);
                    if (nResult == 0) {
                        nResult = WriteDownloadStamp(pProgress, pBus);
                        if (nResult == 0)
                            Step(pProgress, 2);
                    }
                }
            }

            pBus->Disconnect(nullptr);
            Step(pProgress, 1);
            // A wrong application gives 0 with the flag set: no further try.
            if (nResult == 0)
                break;
        }
    }

    ExitDownload();
    return nResult;
}

int CChronoset::InitDownload(CProgressInfo* pProgress, bool bWithTables)
{
    if (bWithTables && !InitTableDownload(pProgress)) {
        LOG_ERROR("Calling function InitTableDownload");
        return 0;
    }
    if (!m_oInternalClock.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oInternalClock.InitDownload");
        return 0;
    }
    if (!m_oSummertimes.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oSummertimes.InitDownload");
        return 0;
    }
    if (!m_oDayRoutines.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oDayRoutines.InitDownload");
        return 0;
    }
    if (!m_oWeekRoutine.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oWeekRoutine.InitDownload");
        return 0;
    }
    if (!m_oSpecialDays.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oSpecialDays.InitDownload");
        return 0;
    }
    if (!m_oQuantities.InitDownload(pProgress)) {
        LOG_ERROR("Calling function m_oQuantities.InitDownload");
        return 0;
    }
    return 1;
}

void CChronoset::ExitDownload()
{
    m_arrAddressTable.clear();
    m_arrAssociationTable.clear();
    m_arrObjectTable.clear();
    m_oInternalClock.ExitDownload();
    m_oSummertimes.ExitDownload();
    m_oDayRoutines.ExitDownload();
    m_oWeekRoutine.ExitDownload();
    m_oSpecialDays.ExitDownload();
    m_oQuantities.ExitDownload();
}

// ---------------------------------------------------------------------------
// The three system tables

void CChronoset::InsertGroupAddressSorted(std::vector<CGroupDataAddress*>& arrAddresses, CGroupDataAddress* pAddress,
                                          int nLow, int nHigh)
{
    if (!pAddress)
        return;
    if (arrAddresses.empty()) {
        arrAddresses.push_back(pAddress);
        return;
    }
    // Both bounds must name elements.
    const int nLast = static_cast<int>(arrAddresses.size()) - 1;
    nHigh = std::clamp(nHigh, 0, nLast);
    nLow = std::clamp(nLow, 0, nLast);
    if (nHigh < nLow)
        std::swap(nLow, nHigh);

    const WORD wNew = SortKey(pAddress);
    while (nHigh - nLow > 1) {
        const int nMid = nLow + (nHigh - nLow) / 2;
        if (SortKey(arrAddresses[static_cast<std::size_t>(nMid)]) < wNew)
            nLow = nMid;
        else
            nHigh = nMid;
    }
    int nAt;
    if (wNew < SortKey(arrAddresses[static_cast<std::size_t>(nLow)]))
        nAt = nLow;
    else if (SortKey(arrAddresses[static_cast<std::size_t>(nHigh)]) < wNew)
        nAt = nHigh + 1;
    else
        nAt = nLow + 1;
    arrAddresses.insert(arrAddresses.begin() + nAt, pAddress);
}

int CChronoset::InitTableDownload(CProgressInfo* /*pProgress*/)
{
    m_arrAddressTable.clear();
    m_arrAssociationTable.clear();
    m_arrObjectTable.clear();

    std::vector<CGroupDataAddress*> arrSorted;
    if (!CollectUsedAddresses(m_oGroupDataAddresses, arrSorted))
        return 0;
    auto insertClockAddress = [&arrSorted](CGroupDataAddress* pAddress) {
        if (!pAddress)
            return;
        pAddress->SetAddressTableIndex(-1);
        InsertGroupAddressSorted(arrSorted, pAddress, 0,
                                 arrSorted.empty() ? 0 : static_cast<int>(arrSorted.size()) - 1);
    };
    if (m_oInternalClock.GetMode() != 255) {
        insertClockAddress(m_oInternalClock.GetTimeGroupAddress());
        insertClockAddress(m_oInternalClock.GetDateGroupAddress());
        insertClockAddress(m_oInternalClock.GetRequestGroupAddress());
    }
    insertClockAddress(m_oInternalClock.GetLockGroupAddress());

    // The count byte holds entries + 1 and the entries must end before the
    // association table.
    if (arrSorted.size() > kMaxAddressEntries) {
        LOG_ERROR("internal data error");
        LOG_ERROR("address table with %u entries, at most %u fit", static_cast<unsigned>(arrSorted.size()),
                  static_cast<unsigned>(kMaxAddressEntries));
        return 0;
    }

    LOG_TRACE("GA-array after sorting");
    for (CGroupDataAddress* pAddress : arrSorted) {
        if (!pAddress) {
            LOG_ERROR("internal data error");
            return 0;
        }
        m_arrAddressTable.push_back(static_cast<WORD>(pAddress->GetAddress()));
        pAddress->SetAddressTableIndex(static_cast<LONG>(m_arrAddressTable.size()) - 1);
        LOG_TRACE("%s, AddrTabIndex=%d", pAddress->GetAddressText(false).c_str(),
                  static_cast<int>(pAddress->GetAddressTableIndex()));
    }

    if (!m_oQuantities.BuildAssociations(m_arrAddressTable, m_arrAssociationTable, m_arrObjectTable))
        return 0;

    GaPosition pos = m_oGroupDataAddresses.GetFirstItemPos(GASM_ANY, nullptr, false);
    while (pos) {
        const CGroupDataAddress* pAddress = m_oGroupDataAddresses.GetNextItem(pos, GASM_ANY, nullptr, false);
        if (!pAddress) {
            LOG_ERROR("internal data error");
            return 0;
        }
        // A quantity-only trigger is associated with its quantity's object.
        if ((pAddress->GetUsageFlags() & ~static_cast<DWORD>(GAU_QUANTITY_TRIGGER)) == 0)
            continue;
        m_arrAssociationTable.push_back(static_cast<WORD>(((pAddress->GetAddressTableIndex() & 0xFF) << 8) |
                                                          (pAddress->GetObjectNumber() & 0xFF)));
        const WORD wConfig = pAddress->HasUsage(GAU_DAYROUTINE_TRIGGER) ? 0xDF : 0x5F;
        m_arrObjectTable.push_back(
            static_cast<WORD>((wConfig << 8) | (GetKnxValueType(static_cast<int>(pAddress->GetObjectType())) & 0xFF)));
    }

    while (m_arrObjectTable.size() < kObjectsBeforeClock)
        m_arrObjectTable.push_back(0x5B00);
    if (m_arrObjectTable.size() > kObjectsBeforeClock) {
        LOG_ERROR("internal data error");
        return 0;
    }
    if (!m_oInternalClock.BuildAssociations(m_arrAssociationTable, m_arrObjectTable))
        return 0;

    // The association count is one byte.
    if (m_arrAssociationTable.size() > kMaxAssociations) {
        LOG_ERROR("internal data error");
        LOG_ERROR("association table with %u entries, at most %u fit",
                  static_cast<unsigned>(m_arrAssociationTable.size()), static_cast<unsigned>(kMaxAssociations));
        return 0;
    }

    LOG_TRACE("Association table data:");
    LOG_TRACE("%02x", static_cast<unsigned>(m_arrAssociationTable.size()));
    for (WORD wAssociation : m_arrAssociationTable)
        LOG_TRACE("%02x %02x", static_cast<unsigned>(((wAssociation >> 8) + 1) & 0xFF),
                  static_cast<unsigned>(wAssociation & 0xFF));
    return 1;
}

int CChronoset::DownloadTablesAndParameters(CProgressInfo* pProgress, CBusAccess* pBus)
{
    int nMode = pBus->SetAccessMode(0);
    int nResult = SetLoadStateControl(3, 1, pBus);
    if (nResult == 0)
        nResult = SetLoadStateControl(1, 1, pBus);
    if (nResult == 0)
        nResult = SetLoadStateControl(2, 1, pBus);
    pBus->SetAccessMode(nMode);

    if (nResult == 0) {
        SetBottomText(pProgress, GetResString(164, "Adresstabelle"));
        nResult = DownloadAddressTable(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("failed to download address table");
    }
    if (nResult == 0) {
        SetBottomText(pProgress, GetResString(165, "Zuordnungstabelle"));
        nResult = DownloadAssociationTable(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("failed to download association table");
    }
    if (nResult == 0) {
        SetBottomText(pProgress, GetResString(163, "Kommunikationsobjekttabelle"));
        nResult = DownloadCommunicationObjectTable(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("failed to download communication object table");
    }
    if (nResult == 0) {
        nResult = DownloadGeneralParameters(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("Failed to download general parameters.");
    }
    if (nResult == 0) {
        nResult = DownloadSwitchProgramParameters(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("Failed to download switch program parameters.");
    }
    if (nResult == 0) {
        nResult = DownloadQuantitiesParameters(pProgress, pBus);
        if (nResult != 0)
            LOG_ERROR("Failed to download quantities parameters.");
    }

    // After a failure the device stays loading, so that it never runs half
    // a parameter set.
    nMode = pBus->SetAccessMode(0);
    if (nResult == 0)
        nResult = SetLoadStateControl(2, 2, pBus);
    if (nResult == 0)
        nResult = SetLoadStateControl(1, 2, pBus);
    if (nResult == 0)
        nResult = SetLoadStateControl(3, 2, pBus);
    pBus->SetAccessMode(nMode);
    return nResult;
}

int CChronoset::DownloadAddressTable(CProgressInfo* pProgress, CBusAccess* pBus)
{
    LOG_INFO("CChronoset::DownloadAddressTable");
    // The count includes the device's own address, which heads the table.
    return WriteWordTable(pProgress, pBus, "address table", kAddressTable,
                          static_cast<BYTE>(m_arrAddressTable.size() + 1), 3, m_arrAddressTable, 253,
                          [](WORD wAddress) {
                              ConvertGroupAddressToKnx(wAddress);
                              return wAddress;
                          });
}

int CChronoset::DownloadAssociationTable(CProgressInfo* pProgress, CBusAccess* pBus)
{
    LOG_INFO("CChronoset::DownloadAssociationTable");
    // The device counts address-table entries from 1.
    return WriteWordTable(pProgress, pBus, "association table", kAssociationTable,
                          static_cast<BYTE>(m_arrAssociationTable.size()), 1, m_arrAssociationTable, 255,
                          [](WORD wAssociation) { return static_cast<WORD>(wAssociation + 0x0100); });
}

int CChronoset::DownloadCommunicationObjectTable(CProgressInfo* pProgress, CBusAccess* pBus)
{
    LOG_INFO("CChronoset::DownloadCommunicationObjectTable");
    const std::size_t nEntries = m_arrObjectTable.size();
    const BYTE nCount = static_cast<BYTE>(nEntries);
    int nResult = pBus->WriteDeviceMemory(kObjectTable, &nCount, 1, 1);
    Step(pProgress, 1);
    if (nResult != 0)
        return nResult;
    LOG_INFO("CO table memory access writes = %d",
             static_cast<int>((nEntries + kObjectEntriesPerWrite - 1) / kObjectEntriesPerWrite));
    LOG_DETAIL("memory image of CO table:");
    LOG_DETAIL("%04x| %02x", static_cast<unsigned>(kObjectTable), unsigned{nCount});

    for (std::size_t nFirst = 0; nFirst < nEntries; nFirst += kObjectEntriesPerWrite) {
        const std::size_t nBlock = std::min(kObjectEntriesPerWrite, nEntries - nFirst);
        const DWORD nAddress = kObjectTable + 3 + static_cast<DWORD>(4 * nFirst);
        const auto nLength = static_cast<WORD>(4 * nBlock);
        // Bytes 0 and 1 of each entry are the device's own: read, keep,
        // write back.
        std::array<BYTE, 4 * kObjectEntriesPerWrite> arrBlock {};
        nResult = pBus->ReadDeviceMemory(nAddress, arrBlock.data(), nLength);
        if (nResult != 0)
            return nResult;
        StepRemaining(pProgress, static_cast<long>(nBlock));
        for (std::size_t i = 0; i < nBlock; ++i) {
            const WORD wObject = m_arrObjectTable[nFirst + i];
            arrBlock[4 * i + 2] = static_cast<BYTE>(wObject >> 8);
            arrBlock[4 * i + 3] = static_cast<BYTE>(wObject & 0xFF);
        }
        nResult = pBus->WriteDeviceMemory(nAddress, arrBlock.data(), nLength, 1);
        if (nResult != 0)
            return nResult;
        StepRemaining(pProgress, static_cast<long>(nBlock));
        for (std::size_t i = 0; i < nBlock; ++i)
            LOG_DETAIL("%04x| %02x %02x %02x %02x", static_cast<unsigned>(nAddress + 4 * i),
                       unsigned{arrBlock[4 * i]}, unsigned{arrBlock[4 * i + 1]}, unsigned{arrBlock[4 * i + 2]},
                       unsigned{arrBlock[4 * i + 3]});
    }
    StepRemaining(pProgress, 254 - static_cast<long>(nEntries));
    return 0;
}

// ---------------------------------------------------------------------------
// Parameter blocks

int CChronoset::DownloadGeneralParameters(CProgressInfo* pProgress, CBusAccess* pBus)
{
    SetBottomText(pProgress, GetResString(135, "Sendeverzögerung"));
    int nResult = pBus->WriteDeviceMemory(kSendDelay, &m_nSendDelay, 1, 1);
    Step(pProgress, 1);

    const DWORD nInactive = m_oInternalClock.GetInactiveTimeCount();
    const BYTE nLock = m_oInternalClock.GetLockEnableByte();
    if (nResult == 0) {
        const std::array<BYTE, 4> arrInactive {static_cast<BYTE>(nInactive), static_cast<BYTE>(nInactive >> 8),
                                               static_cast<BYTE>(nInactive >> 16), static_cast<BYTE>(nInactive >> 24)};
        nResult = pBus->WriteDeviceMemory(kInactiveTime, arrInactive.data(), 4, 1);
    }
    if (nResult == 0)
        nResult = pBus->WriteDeviceMemory(kLockFlag, &nLock, 1, 1);
    if (nResult == 0)
        nResult = m_oInternalClock.WriteToDevice(pProgress, pBus);
    if (nResult == 0)
        nResult = m_oSummertimes.WriteToDevice(pProgress, pBus);
    return nResult;
}

int CChronoset::DownloadSwitchProgramParameters(CProgressInfo* pProgress, CBusAccess* pBus)
{
    int nResult = m_oDayRoutines.WriteToDevice(pProgress, pBus);
    if (nResult == 0)
        nResult = m_oWeekRoutine.WriteToDevice(pProgress, pBus);
    if (nResult == 0)
        nResult = m_oSpecialDays.WriteToDevice(pProgress, pBus);
    return nResult;
}

int CChronoset::DownloadQuantitiesParameters(CProgressInfo* pProgress, CBusAccess* pBus)
{
    return m_oQuantities.VerifyDownload(pProgress, pBus);
}

// ---------------------------------------------------------------------------
// Load-state control

int CChronoset::SetLoadStateControl(int nMachine, int nEvent, CBusAccess* pBus)
{
    if (g_IniManager.GetLsmDownloadMode() != 0)
        return SetLoadStateControlByProperty(nMachine, nEvent, pBus);
    return SetLoadStateControlByMemory(nMachine, nEvent, pBus);
}

int CChronoset::SetLoadStateControlByProperty(int nMachine, int nEvent, CBusAccess* pBus)
{
    const BYTE nExpected = ExpectedLoadState(nEvent);
    const auto nObject = static_cast<BYTE>(nMachine);
    std::array<BYTE, kLoadControlSize> arrState {};
    int nResult = pBus->ReadPropertyData(nObject, kLoadStateProperty, 0, 1, 1, arrState.data(), 1, nullptr);
    if (nResult != 0) {
        LOG_ERROR("failed to read load state control of object %d", nMachine);
        return nResult;
    }
    if (arrState[0] == nExpected) {
        LOG_INFO("LSM of object %d already set to requested state %d", nMachine, int{nExpected});
        return 0;
    }
    if (!pBus->IsStandalone())
        return 0;

    std::array<BYTE, kLoadControlSize> arrRecord {};
    arrRecord[0] = static_cast<BYTE>(nEvent);
    nResult = pBus->WritePropertyData(nObject, kLoadStateProperty, 0, 1, 1, arrRecord.data(),
                                      static_cast<WORD>(arrRecord.size()), 0);
    if (nResult != 0) {
        LOG_ERROR("failed to set load state control of object %d to %d", nMachine, nEvent);
        return nResult;
    }

    arrState.fill(0);
    nResult = pBus->ReadPropertyData(nObject, kLoadStateProperty, 0, 1, 1, arrState.data(), 1, nullptr);
    if (nResult != 0) {
        LOG_ERROR("Failed to read load state control of object %d to %d", nMachine, nEvent);
        return nResult;
    }
    LOG_INFO("Load state control of object %d set to %d", nMachine, nEvent);
    if (arrState[0] != nExpected) {
        LOG_ERROR("verify error setting load state control, read LSC = %d", int{arrState[0]});
        return kLoadStateNotReached;
    }
    return 0;
}

int CChronoset::SetLoadStateControlByMemory(int nMachine, int nEvent, CBusAccess* pBus)
{
    const BYTE nExpected = ExpectedLoadState(nEvent);
    const DWORD nStateAddress = kLoadStateBytes + static_cast<DWORD>(nMachine - 1);
    const auto nControl = static_cast<BYTE>(nEvent | nMachine << 4);
    BYTE nState = 0;
    int nResult = pBus->ReadDeviceMemory(nStateAddress, &nState, 1);
    if (nResult != 0) {
        LOG_ERROR("failed to read load state of mem-address %ld to %d", static_cast<long>(nStateAddress),
                  int{nControl});
        return nResult;
    }
    if (nState == nExpected) {
        LOG_INFO("LSM at mem-address %ld already set to requested state %d", static_cast<long>(nStateAddress),
                 int{nExpected});
        return 0;
    }

    std::array<BYTE, kLoadControlSize> arrRecord {};
    arrRecord[0] = nControl;
    nResult = pBus->WriteDeviceMemory(kLoadControlRegister, arrRecord.data(), static_cast<WORD>(arrRecord.size()), 0);
    if (nResult != 0)
        return nResult;

    nState = 0;
    nResult = pBus->ReadDeviceMemory(nStateAddress, &nState, 1);
    if (nResult != 0) {
        LOG_ERROR("failed to read load state control of mem-address %ld", static_cast<long>(nStateAddress));
        return nResult;
    }
    LOG_INFO("load state control at mem-address %ld set to %d", static_cast<long>(nStateAddress), int{nControl});
    if (nState != nExpected) {
        LOG_ERROR("verify error setting load state control, read LSC = %d", int{nState});
        return kLoadStateNotReached;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Stamp

int CChronoset::WriteDownloadStamp(CProgressInfo* pProgress, CBusAccess* pBus)
{
    SetBottomText(pProgress, GetResString(138, "Applikationsinformationen"));

    std::tm now {};
    {
        // The stamp carries the wall-clock time, not the zone the process
        // switched to.
        CTimeZoneGuard guard;
        guard.ClearTZ();
        now = m_fnDownloadTime ? m_fnDownloadTime() : CurrentLocalTime();
    }
    const std::array<BYTE, 6> arrTime {static_cast<BYTE>(now.tm_hour), static_cast<BYTE>(now.tm_min),
                                       static_cast<BYTE>(now.tm_sec),  static_cast<BYTE>(now.tm_mday),
                                       static_cast<BYTE>(now.tm_mon + 1),
                                       static_cast<BYTE>((now.tm_year + 1900 + 48) % 256)};
    int nResult = pBus->WritePropertyData(kStampObject, kDownloadTimeProperty, 1, 1, 6, arrTime.data(), 6, 1);
    Step(pProgress, 2);
    if (nResult != 0)
        return nResult;

    std::array<BYTE, kStampSize> arrStamp {};
    std::memcpy(arrStamp.data(), m_strDownloadStamp.data(), std::min<std::size_t>(m_strDownloadStamp.size(), kStampSize));
    nResult = pBus->WritePropertyDataChunked(kStampObject, kDownloadStampProperty, 2, 1, kStampSize, arrStamp.data(),
                                             pProgress, 1);
    Step(pProgress, 2);
    return nResult;
}
