#pragma once
// The internal clock: how the device keeps time (by itself, as a slave of
// the bus or as a master that sends time and date), when a master sends, the
// inactive time, and up to four group addresses of its own: time (object
// 252), date (251), request (250) and lock of the time program (253). The
// central object embeds the one instance and drives it through the data-set
// phases: the host parameter "InternalClock" (80 hexadecimal digits), the
// four visibility and four display-name parameters, the data file, the text
// export, the report, the 3-byte device block at 0x8010 and the clock
// objects' associations.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

class CArchive;
class CBusAccess;
class IChronosetServices;
class CDownloadProcedure;
class CEtsDataAccess;
class CGroupDataAddress;
class CObjectLinkTable;
class CParamReport;
class CProgressInfo;
class IReportDC;

class CInternalClock : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CInternalClock)

    static constexpr int kModeIntern = 255;
    static constexpr DWORD kBlockAddress = 0x8010;
    static constexpr int kBlockSize = 3;
    static constexpr std::size_t kParameterDigits = 80;
    static constexpr WORD kRequestObject = 250;
    static constexpr WORD kDateObject = 251;
    static constexpr WORD kTimeObject = 252;
    static constexpr WORD kLockObject = 253;

    CInternalClock() = default;
    // Deletes the four group addresses.
    ~CInternalClock() override;
    CInternalClock(const CInternalClock&) = delete;
    CInternalClock& operator=(const CInternalClock&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetChronoset() const { return m_pChronoset; }
    void SetChronoset(IChronosetServices* pChronoset) { m_pChronoset = pChronoset; }

    // ---- fields the editors change
    int GetMode() const { return m_nMode; }
    void SetMode(int nMode) { m_nMode = nMode & 0xFF; }
    int GetSendMinute() const { return m_nSendMinute; }
    void SetSendMinute(int nMinute) { m_nSendMinute = nMinute; }
    int GetSendHour() const { return m_nSendHour; }
    void SetSendHour(int nHour) { m_nSendHour = nHour; }
    // The inactive time: minutes ("Hour" in the names) and seconds.
    int GetInactiveHour() const { return m_nInactiveMinutes; }
    void SetInactiveHour(int nMinutes) { m_nInactiveMinutes = nMinutes; }
    int GetInactiveMinute() const { return m_nInactiveSeconds; }
    void SetInactiveMinute(int nSeconds) { m_nInactiveSeconds = nSeconds; }
    void SetInactiveTime(int nMinutes, int nSeconds)
    {
        m_nInactiveMinutes = nMinutes;
        m_nInactiveSeconds = nSeconds;
    }
    // 0: the lock object locks the time program with 1; 1: it releases it.
    BYTE GetLockPolarity() const { return m_nLockPolarity; }
    void SetLockPolarity(BYTE nPolarity) { m_nLockPolarity = nPolarity != 0 ? 1 : 0; }
    BYTE GetLoadedLockPolarity() const { return m_nLoadedLockPolarity; }

    // The clock owns its group addresses: each setter deletes the one held
    // before and takes the new one (or null); pass a new object, never the
    // one already held.
    CGroupDataAddress* GetTimeGroupAddress() const { return m_pTimeAddress.get(); }
    CGroupDataAddress* GetDateGroupAddress() const { return m_pDateAddress.get(); }
    CGroupDataAddress* GetRequestGroupAddress() const { return m_pRequestAddress.get(); }
    CGroupDataAddress* GetLockAddress() const { return m_pLockAddress.get(); }
    CGroupDataAddress* GetLockGroupAddress() const { return m_pLockAddress.get(); }
    void SetTimeGroupAddress(CGroupDataAddress* pAddress);
    void SetDateGroupAddress(CGroupDataAddress* pAddress);
    void SetRequestGroupAddress(CGroupDataAddress* pAddress);
    void SetLockGroupAddress(CGroupDataAddress* pAddress);

    // The mode's text; unlisted modes show "intern".
    std::string GetModeText() const { return GetModeText(m_nMode); }
    static std::string GetModeText(int nMode);
    // The first of time, date, request and lock with the raw address.
    CGroupDataAddress* FindGroupAddress(LONG nAddress) const;
    BYTE WasGroupAddressDropped() const { return m_bDropped; }
    // Internal mode: whether the lock address is set; any other mode:
    // whether any of the four is set.
    bool HasObjectsInUse() const;
    // (minutes * 60 + seconds) * 450, for device address 0x8001.
    DWORD GetInactiveTimeCount() const;
    // 1 when a lock address is set and the polarity is non-zero, for device
    // address 0x8005.
    BYTE GetLockEnableByte() const;

    // ---- host parameters and objects
    void SetParameterText(LONG nId, const std::string& strText);
    LONG GetParameterId() const { return m_nParameterId; }
    const std::string& GetParameterText() const { return m_strParameterText; }
    // The 80-digit text of the current fields.
    std::string BuildParameterText() const;

    void SetRequestVisibilityId(LONG nId) { m_nRequestVisibilityId = nId; }
    void SetDateVisibilityId(LONG nId) { m_nDateVisibilityId = nId; }
    void SetTimeVisibilityId(LONG nId) { m_nTimeVisibilityId = nId; }
    void SetLockVisibilityId(LONG nId) { m_nLockVisibilityId = nId; }
    LONG GetRequestVisibilityId() const { return m_nRequestVisibilityId; }
    LONG GetDateVisibilityId() const { return m_nDateVisibilityId; }
    LONG GetTimeVisibilityId() const { return m_nTimeVisibilityId; }
    LONG GetLockVisibilityId() const { return m_nLockVisibilityId; }

    void SetTimeDisplayName(LONG nId, const std::string& strName);
    void SetDateDisplayName(LONG nId, const std::string& strName);
    void SetRequestDisplayName(LONG nId, const std::string& strName);
    void SetLockDisplayName(LONG nId, const std::string& strName);
    LONG GetTimeNameId() const { return m_nTimeNameId; }
    LONG GetDateNameId() const { return m_nDateNameId; }
    LONG GetRequestNameId() const { return m_nRequestNameId; }
    LONG GetLockNameId() const { return m_nLockNameId; }
    const std::string& GetTimeDisplayName() const { return m_strTimeName; }
    const std::string& GetDateDisplayName() const { return m_strDateName; }
    const std::string& GetRequestDisplayName() const { return m_strRequestName; }
    const std::string& GetLockDisplayName() const { return m_strLockName; }

    // The host ids of the communication objects 251, 252, 250 and 253.
    void SetDateObjectId(LONG nId) { m_nDateObjectId = nId; }
    void SetTimeObjectId(LONG nId) { m_nTimeObjectId = nId; }
    void SetRequestObjectId(LONG nId) { m_nRequestObjectId = nId; }
    void SetLockObjectId(LONG nId) { m_nLockObjectId = nId; }
    LONG GetDateObjectId() const { return m_nDateObjectId; }
    LONG GetTimeObjectId() const { return m_nTimeObjectId; }
    LONG GetRequestObjectId() const { return m_nRequestObjectId; }
    LONG GetLockObjectId() const { return m_nLockObjectId; }

    // The parameter id, the visibility ids and the display-name ids of the
    // other clock (the texts and data stay).
    void CopyParameterIds(const CInternalClock& other);

    // 0 / 5: parses the remembered text and checks each group address with
    // the host through the owner (without a data access it is kept as read).
    int CompleteEtsLoad(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    // 0 / 5: the text, the four visibilities and the four display names;
    // stops at the first failing write.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);

    // ---- data file
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;

    // ---- text export ("\n" line ends)
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- report: the clock's label and value block.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

    // ---- download: the block exists between InitDownload and ExitDownload.
    bool InitDownload(CProgressInfo* pProgress);
    int AddToDownloadProcedure(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    int WriteToDevice(CProgressInfo* pProgress, CBusAccess* pBusAccess);
    void ExitDownload() { m_pBlock.reset(); }
    const BYTE* GetDownloadBlock() const { return m_pBlock.get(); }

    // ---- associations
    // Appends the object words of objects 250..253 and the association
    // words (address-table index << 8 | object) of request, time, date and
    // lock; returns 1.
    int BuildAssociations(std::vector<WORD>& arrAssociations, std::vector<WORD>& arrObjects) const;
    // Adds a link for each clock object that has a group address; 0.
    int CollectObjectLinks(CObjectLinkTable& table) const;
    // 0 / 5: makes the associations of the clock objects in the host. When
    // the lock polarity changed since the load, the lock object's listed
    // record is rebuilt first (see the source) so that its old association
    // is not reused.
    int LinkObjectsWithTable(CEtsDataAccess* pAccess, CObjectLinkTable& table) const;

private:
    // Deletes and clears the four group addresses.
    void DeleteGroupAddresses();

    int m_nMode = kModeIntern;
    std::unique_ptr<CGroupDataAddress> m_pTimeAddress;
    std::unique_ptr<CGroupDataAddress> m_pDateAddress;
    std::unique_ptr<CGroupDataAddress> m_pRequestAddress;
    std::unique_ptr<CGroupDataAddress> m_pLockAddress;
    int m_nSendMinute = 0;
    int m_nSendHour = 0;
    int m_nInactiveMinutes = 0;
    int m_nInactiveSeconds = 0;
    BYTE m_nLockPolarity = 0;
    BYTE m_nLoadedLockPolarity = 0;
    IChronosetServices* m_pChronoset = nullptr;
    LONG m_nParameterId = -1;
    std::string m_strParameterText;
    LONG m_nDateObjectId = -1;
    LONG m_nTimeObjectId = -1;
    LONG m_nRequestObjectId = -1;
    LONG m_nLockObjectId = -1;
    LONG m_nRequestVisibilityId = -1;
    LONG m_nDateVisibilityId = -1;
    LONG m_nTimeVisibilityId = -1;
    LONG m_nLockVisibilityId = -1;
    LONG m_nTimeNameId = -1;
    std::string m_strTimeName;
    LONG m_nDateNameId = -1;
    std::string m_strDateName;
    LONG m_nRequestNameId = -1;
    std::string m_strRequestName;
    LONG m_nLockNameId = -1;
    std::string m_strLockName;
    std::unique_ptr<BYTE[]> m_pBlock;
    BYTE m_bDropped = 0;
};
