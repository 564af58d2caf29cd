#pragma once
// The complete parameter set of the one open device: the data sets, the
// device's identity as the host project or the data file gives it, the host
// ids of the parameters that belong to no data set, and the three table
// images the download sends. Everything reaches it through g_pChronoset.

#include "model/Globals.h"  // g_pChronoset: the open device, null outside an editing run
#include "model/DayRoutines.h"
#include "model/GroupDataAddresses.h"
#include "model/Quantities.h"
#include "model/WeekRoutine.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

class CProgressInfo;

class CChronoset : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CChronoset)

    CChronoset();
    ~CChronoset() override;
    CChronoset(const CChronoset&) = delete;
    CChronoset& operator=(const CChronoset&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    CGroupDataAddresses* GetGroupDataAddresses() { return &m_oGroupDataAddresses; }
    const CGroupDataAddresses* GetGroupDataAddresses() const { return &m_oGroupDataAddresses; }
    CDayRoutines* GetDayRoutines() { return &m_oDayRoutines; }
    const CDayRoutines* GetDayRoutines() const { return &m_oDayRoutines; }
    CWeekRoutine* GetWeekRoutine() { return &m_oWeekRoutine; }
    const CWeekRoutine* GetWeekRoutine() const { return &m_oWeekRoutine; }
    CQuantities* GetQuantities() { return &m_oQuantities; }
    const CQuantities* GetQuantities() const { return &m_oQuantities; }

    LONG GetDeviceId() const { return m_nDeviceId; }
    void SetDeviceId(LONG nId) { m_nDeviceId = nId; }
    LONG GetProjectId() const { return m_nProjectId; }
    void SetProjectId(LONG nId) { m_nProjectId = nId; }
    LONG GetDeviceAddress() const { return m_nIndividualAddress; }
    void SetDeviceAddress(LONG nAddress) { m_nIndividualAddress = nAddress; }
    // "%02u.%02u.%03u" (area, line, device), "--.--.---" while unknown.
    std::string GetIndividualAddressText() const;

    BYTE GetSendDelay() const { return m_nSendDelay; }
    void SetSendDelay(BYTE nDelay) { m_nSendDelay = nDelay; }

    const std::string* GetDeviceComment() const { return &m_strDeviceComment; }
    void SetDeviceComment(const std::string& strComment) { m_strDeviceComment = strComment; }
    std::string GetManufacturerName() const { return m_strManufacturerName; }
    std::string GetDeviceTitle() const { return m_strDeviceTitle; }
    std::string GetApplicationName() const { return m_strApplicationName; }
    std::string GetFilePath() const { return m_strFilePath; }
    const std::string* GetDeviceDescription() const { return &m_strDeviceDescription; }

    DWORD GetAddressCount() const { return m_nAssociationCount; }
    bool CanAddGroupAddress() const { return GetAddressCount() < static_cast<DWORD>(GetMaxGroupAddressCount()); }
    static int GetMaxGroupAddressCount() { return 250; }

    // "%s\n%s\n%s" of manufacturer, device title and application into the
    // progress window's top line.
    void ShowDeviceInfo(CProgressInfo* pProgress) const;

    // The data sets; the group addresses are owned by their lists.
    CGroupDataAddresses m_oGroupDataAddresses {true};
    CDayRoutines m_oDayRoutines;
    CWeekRoutine m_oWeekRoutine;
    CQuantities m_oQuantities;

    // The device's identity as a data file or the host load fills it.
    BYTE m_nSendDelay = 0;
    LONG m_nIndividualAddress = -1;
    LONG m_nDeviceId = -1;
    LONG m_nProjectId = -1;
    std::string m_strDeviceName;
    std::string m_strDeviceDescription;
    std::string m_strManufacturerName;
    LONG m_nManufacturerId = -1;
    std::string m_strDeviceTitle;
    std::string m_strApplicationName;
    LONG m_nDeviceType = -1;
    BYTE m_nApplicationVersion = 0;
    LONG m_nParameterVersionId = -1;
    LONG m_nSendDelayId = -1;
    LONG m_nParameterVersion = 0x20000;
    std::vector<LONG> m_arrObjectTypeIds;
    std::string m_strDownloadStamp;
    std::string m_strDeviceComment;
    std::string m_strFilePath;
    LONG m_nObjectCount = 0;
    DWORD m_nAssociationCount = 0;
    std::vector<WORD> m_arrAddressTable;
    std::vector<WORD> m_arrAssociationTable;
    std::vector<WORD> m_arrObjectTable;
};

