#pragma once
// The complete parameter set of the one open device: the data sets, the
// device's identity as the host project or the data file gives it, the host
// ids of the parameters that belong to no data set, and the three table
// images the download sends. Everything reaches it through g_pChronoset.

#include "app/ChronosetPointer.h"  // g_pChronoset: the open device, null outside an editing run
#include "app/CommObjectEntry.h"
#include "model/IChronosetServices.h"
#include "model/ObjectNumberMap.h"
#include "model/DayRoutines.h"
#include "model/GroupDataAddresses.h"
#include "model/InternalClock.h"
#include "model/Quantities.h"
#include "model/SpecialDays.h"
#include "model/Summertimes.h"
#include "model/WeekRoutine.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"
#include "platform/com/Variant.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CArchive;
class CBusAccess;
class CEtsDataAccess;
class CGroupAddressCheck;
class CGroupDataAddress;
class CObjectCookieMap;
class CObjectLinkTable;
class CProgressInfo;
struct IDeviceManagement;
struct IEtsDevice;
struct IEtsMainGroup;
struct IEtsMiddleGroup;

class CChronoset : public CObject, public IChronosetServices {
public:
    DECLARE_RUNTIME_CLASS(CChronoset)

    CChronoset();
    ~CChronoset() override;
    CChronoset(const CChronoset&) = delete;
    CChronoset& operator=(const CChronoset&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    CGroupDataAddresses* GetGroupDataAddresses() override { return &m_oGroupDataAddresses; }
    const CGroupDataAddresses* GetGroupDataAddresses() const override { return &m_oGroupDataAddresses; }
    CDayRoutines* GetDayRoutines() override { return &m_oDayRoutines; }
    const CDayRoutines* GetDayRoutines() const override { return &m_oDayRoutines; }
    CWeekRoutine* GetWeekRoutine() { return &m_oWeekRoutine; }
    const CWeekRoutine* GetWeekRoutine() const { return &m_oWeekRoutine; }
    CInternalClock* GetInternalClock() { return &m_oInternalClock; }
    const CInternalClock* GetInternalClock() const { return &m_oInternalClock; }
    CSummertimes* GetSummertimes() { return &m_oSummertimes; }
    const CSummertimes* GetSummertimes() const { return &m_oSummertimes; }
    CSpecialDays* GetSpecialDays() { return &m_oSpecialDays; }
    const CSpecialDays* GetSpecialDays() const { return &m_oSpecialDays; }
    CQuantities* GetQuantities() { return &m_oQuantities; }
    bool CheckGroupAddressType(CEtsDataAccess* pAccess, CGroupDataAddress* pAddress) override;
    const CQuantities* GetQuantities() const override { return &m_oQuantities; }

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

    DWORD GetAddressCount() const override { return m_nAssociationCount; }
    bool CanAddGroupAddress() const { return GetAddressCount() < static_cast<DWORD>(GetMaxGroupAddressCount()); }

    // "%s\n%s\n%s" of manufacturer, device title and application into the
    // progress window's top line.
    void ShowDeviceInfo(CProgressInfo* pProgress) const;

    // The names the editors know the identity texts by.
    const std::string* GetUserComment() const { return GetDeviceComment(); }
    void SetUserComment(const std::string& strComment) { SetDeviceComment(strComment); }
    const std::string* GetInstallerComment() const { return GetDeviceDescription(); }
    std::string GetManufacturerText() const { return GetManufacturerName(); }
    std::string GetProductText() const { return GetDeviceTitle(); }
    std::string GetApplicationText() const { return GetApplicationName(); }

    // Reads the application program of the connected device (property 13 of
    // object 3) and compares it with the one the device data name. The
    // read's status; bWrongApplication stays set unless all three match.
    int CheckApplicationProgram(CProgressInfo* pProgress, CBusAccess* pBus, bool& bWrongApplication,
                                IDeviceManagement* pDeviceManagement);

    // The data sets in their fixed order, group addresses first; the first
    // non-zero result ends the walk and is returned.
    int CompleteEtsLoad(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int SaveParameters(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int AssignGroupAddressObjectTypes(CEtsDataAccess* pAccess, BYTE& nNextObjectNumber, DWORD& nCount);
    int UpdateGroupAddressObjectTypes(CEtsDataAccess* pAccess, BYTE& nNextObjectNumber, DWORD& nCount,
                                      CObjectLinkTable* pOldLinks);

    // Communication objects and associations. Object numbers: quantity
    // triggers from 0, then the used group addresses, 250 in all; the
    // clock's objects are 250..253.
    static constexpr WORD kNoObjectNumber = 0xFFFF;
    static constexpr int kNoUpdateFlag = -1;
    int CountAssociations(DWORD& nCount);
    LONG GetObjectCount() const { return m_nObjectCount; }
    void SetObjectCount(LONG nCount) { m_nObjectCount = nCount; }
    void SetAssociationCount(DWORD nCount) { m_nAssociationCount = nCount; }
    int DeleteAssociations(CEtsDataAccess* pAccess, LONG nOption, const CCommObjectArray& arrObjects,
                           CProgressInfo* pProgress);
    int WriteAssociations(CEtsDataAccess* pAccess, LONG nOption, const CCommObjectArray& arrObjects,
                          CObjectCookieMap& objects, CProgressInfo* pProgress);
    int LinkCommObject(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects, CGroupDataAddress* pAddress,
                       WORD wObjectNumber = kNoObjectNumber, int nUpdate = kNoUpdateFlag) override;
    int LinkCommObjectIfMissing(CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                                CGroupDataAddress* pAddress, CObjectLinkTable& associations, BYTE nSend,
                                WORD wObjectNumber = kNoObjectNumber, int nUpdate = kNoUpdateFlag) override;
    int AddObjectLink(const CObjectNumberMap& mapObjects, const CGroupDataAddress* pAddress,
                      CObjectLinkTable& links) const;
    // Takes over the other object's host identity; the data stay this one's.
    void CopyFrom(const CChronoset& other);
    // A data file imported over a host device replaces the device's
    // associations. They are deleted at the next save into the host, not at
    // the import, so that closing without saving leaves the project as it was.
    void SetHostAssociationsReplaced(bool bReplaced) { m_bHostAssociationsReplaced = bReplaced; }
    bool AreHostAssociationsReplaced() const { return m_bHostAssociationsReplaced; }

    // 32-bit values into a byte buffer, most or least significant byte first.
    static void StoreDWordBigEndian(BYTE* pBuffer, DWORD dwValue);
    static void StoreDWordLittleEndian(BYTE* pBuffer, DWORD dwValue);

    // Data files ("tv2"; "tv1" is read as well) and the text export. 1 on
    // success, 0 otherwise; a store or export that fails leaves the system's
    // reason in errno, or 0 where no system call failed (the set could not be
    // built into bytes).
    // A larger file is no data file: the largest parameter set the device
    // takes stores in well under a twentieth of it, and nothing is read
    // into memory beyond it.
    static constexpr std::size_t MAX_DATA_FILE_SIZE = 16u << 20;
    int LoadFromFile(const std::string& strPath, HWND hParent);
    int SaveToFile(const std::string& strPath, HWND hParent);
    int ExportToFile(const std::string& strPath, HWND hParent);
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress, HWND hParent);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress);
    // The export as UTF-8 text with "\n" line ends.
    void ExportText(HWND hParent, std::string& strFile);
    int CheckGroupAddressesInProject(CProgressInfo* pProgress, CEtsDataAccess* pAccess, LONG nProjectId,
                                     bool& bChanged);

    // ---- the host project (plug-in mode; ChronosetEtsLoad.cpp, ChronosetEtsSave.cpp)
    // Fills the object from the host device: identity, every device
    // parameter by name, the data sets' completion, then reconciliation and
    // the group-address check. A negative status or the failing data set's
    // result; 0 on success.
    HRESULT LoadFromEts(IEtsDevice* pDevice, HWND hParent, CProgressInfo* pProgress, BOOL bNoMessages,
                        BOOL bShowCaption);
    HRESULT ReadDeviceData(IEtsDevice* pDevice, CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    HRESULT LoadParameterData(CProgressInfo* pProgress, CEtsDataAccess* pAccess, IEtsDevice* pDevice);
    // Hands one parameter to the data set that owns its name ("Name" or
    // "Name-index", any case); false for a name nobody owns.
    bool DistributeParameterData(const std::string& strName, const VARIANT& vValue, LONG nId);
    // Drops the valid addresses the project no longer knows or whose type no
    // longer fits; used ones (or all with bKeepUsed) go to the invalid list.
    int CheckGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess, LONG nProjectId, bool& bRemoved,
                            bool bNoMessages, bool bKeepUsed);
    // Associations, parameter texts, then object types and links. 0 / 5.
    int SaveToEts(LONG nDeviceId, HWND hParent);
    int UpdateObjectTypes(CProgressInfo* pProgress, CEtsDataAccess* pAccess, CObjectCookieMap& oldObjects);
    // The visible communication objects of the device; the last host status.
    HRESULT GetVisibleCommObjects(CCommObjectArray& arrObjects);

    // ---- association reconciliation (ChronosetReconcile.cpp)
    // Brings the group addresses in line with the host's associations. 0, or
    // -1 when the user cancels the usage dialog.
    int ReconcileAssociations(CProgressInfo* pProgress, CEtsDataAccess* pAccess, HWND hParent, bool bNoMessages,
                              IEtsDevice* pDevice);
    int GetFirstNonQuantityCommObjectNumber() const;
    // arrObjectTable: host id per object number (0 none), at least 256.
    bool ReadDeviceCommObjects(CProgressInfo* pProgress, CEtsDataAccess* pAccess, std::vector<LONG>& arrObjectTable,
                               IEtsDevice* pDevice);
    int GetCommObjectAssociations(LONG nObjectId, CEtsDataAccess* pAccess, std::vector<LONG>& arrIds);
    int ReadAssociationList(CProgressInfo* pProgress, CEtsDataAccess* pAccess, CGroupAddressCheck& associations,
                            const std::vector<LONG>& arrObjectTable);
    // Mask 1 quantity triggers, 2 members, 4 switching times, 8 day-routine
    // triggers; nTriggerObject -1 any quantity. The number of replacements.
    int ReplaceGroupAddress(CGroupDataAddress* pOld, CGroupDataAddress* pNew, int nMask, LONG nTriggerObject);
    int RemoveInvalidTriggerReferences(CGroupDataAddress* pAddress, int nMax);

    // ---- download into the device (standalone; ChronosetDownload.cpp).
    // Results: 0, or the first failing step's code (5 data, 53 a load state
    // that did not move, else the bus call's).
    int DoDownload(CProgressInfo* pProgress, CBusAccess* pBus, int& nWrongApplication, bool bDownloadParameters,
                   bool bWriteStamp, WORD nIndividualAddress = 0xFFFF);
    // 1 when every image was built, 0 otherwise.
    int InitDownload(CProgressInfo* pProgress, bool bWithTables);
    int InitTableDownload(CProgressInfo* pProgress);
    // Inserts by bisection between nLow and nHigh, ascending by the raw
    // address; equal addresses are all kept.
    static void InsertGroupAddressSorted(std::vector<CGroupDataAddress*>& arrAddresses, CGroupDataAddress* pAddress,
                                         int nLow, int nHigh);
    void ExitDownload();
    int DownloadTablesAndParameters(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadAddressTable(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadAssociationTable(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadCommunicationObjectTable(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadGeneralParameters(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadSwitchProgramParameters(CProgressInfo* pProgress, CBusAccess* pBus);
    int DownloadQuantitiesParameters(CProgressInfo* pProgress, CBusAccess* pBus);
    // Load-state machine 1..3, event 1 (start loading) or 2 (load completed).
    int SetLoadStateControl(int nMachine, int nEvent, CBusAccess* pBus);
    int SetLoadStateControlByProperty(int nMachine, int nEvent, CBusAccess* pBus);
    int SetLoadStateControlByMemory(int nMachine, int nEvent, CBusAccess* pBus);
    int WriteDownloadStamp(CProgressInfo* pProgress, CBusAccess* pBus);
    // The pause before a further download try (milliseconds) and the local
    // time of the stamp; tests put their own in.
    std::function<void(DWORD)> m_fnDownloadWait;
    std::function<std::tm()> m_fnDownloadTime;

    // The data sets; the group addresses are owned by their lists.
    CInternalClock m_oInternalClock;
    CGroupDataAddresses m_oGroupDataAddresses {true};
    CDayRoutines m_oDayRoutines;
    CWeekRoutine m_oWeekRoutine;
    CSummertimes m_oSummertimes;
    CSpecialDays m_oSpecialDays;
    CQuantities m_oQuantities;

    // The device's identity as a data file or the host load fills it.
    BYTE m_nSendDelay = 0;
    LONG m_nIndividualAddress = -1;
    LONG m_nDeviceId = -1;
    LONG m_nProjectId = -1;
    bool m_bHostAssociationsReplaced = false;
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

private:
    // The host's group-address tree below a main or middle group, binding
    // the file's addresses to the sub groups they meet.
    HRESULT IterateMiddleGroupsByMainGroup(CProgressInfo* pProgress, IEtsMainGroup* pMainGroup, LONG nMainAddress,
                                           int& nClockHits);
    HRESULT IterateSubGroupsByMiddleGroup(CProgressInfo* pProgress, IEtsMiddleGroup* pMiddleGroup,
                                          LONG nMainAddress, LONG nMiddleAddress, int& nClockHits);
    void BindFileGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
};

