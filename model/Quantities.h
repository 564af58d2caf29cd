#pragma once
// The quantity data set of one device: up to 30 quantities with their trigger
// group addresses and their members (at most 300 in all). The central object
// embeds one instance and drives it through the data-set phases: the host
// parameters "Quantity", "QuantityDisplayName", "QuantityLinks",
// "QuantityMember" and "CacheData", the data file, the text export, the
// device images (300 bytes of quantities at 0x8090, 1200 bytes of members at
// 0x81D0), the numbering of the trigger objects, the association words and
// the host links of the trigger objects. The editors create, change and
// delete quantities, triggers and members here.
//
// The trigger objects are the first communication objects of the device:
// 0, 1, 2, ... in list order, one for each quantity that has a trigger;
// "CacheData" holds the first number after them.

#include "model/ListPosition.h"
#include "model/ObjectNumberMap.h"
#include "model/Quantity.h"
#include "model/StringLongObject.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

class CArchive;
class CBusAccess;
class IChronosetServices;
class CDownloadProcedure;
class CEtsDataAccess;
class CGroupDataAddress;
class CGroupDataAddresses;
class CObjectLinkTable;
class CParamReport;
class CProgressInfo;
class IReportDC;

using CQuantityList = std::list<CQuantity*>;
using QuantityPosition = ListPosition<CQuantity>;

class CQuantities : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CQuantities)

    static constexpr int kMaxCount = 30;
    static constexpr int kMaxMembers = 300;
    // The host parameter families that a complete device has.
    static constexpr int kDisplayNameParameters = 30;
    static constexpr int kLinkParameters = 25;
    static constexpr int kMemberParameters = 25;
    static constexpr int kQuantitiesPerParameter = 5;
    static constexpr int kLinksPerParameter = 10;
    static constexpr int kMembersPerParameter = 12;
    static constexpr std::size_t kLinkRecordLength = 12;
    // The device images.
    static constexpr DWORD kQuantityImageAddress = 0x8090;
    static constexpr DWORD kQuantityImageSize = 300;
    static constexpr DWORD kMemberImageAddress = 0x81D0;
    static constexpr DWORD kMemberImageSize = 1200;

    CQuantities() = default;
    // Deletes the parameter holders and every quantity with its members.
    ~CQuantities() override;
    CQuantities(const CQuantities&) = delete;
    CQuantities& operator=(const CQuantities&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    IChronosetServices* GetOwner() const { return m_pOwner; }
    void SetOwner(IChronosetServices* pOwner) { m_pOwner = pOwner; }
    // The central object's group-address lists; null without owner.
    CGroupDataAddresses* GetGroupDataAddresses() const;

    // ---- host parameters (texts as the host holds them, UTF-8)
    void AddQuantityParameter(LONG nId, const std::string& strText, int nIndex);
    void AddDisplayNameParameter(LONG nId, const std::string& strText, int nIndex);
    void AddLinksParameter(LONG nId, const std::string& strText, int nIndex);
    void AddMemberParameter(LONG nId, const std::string& strText, int nIndex);
    void SetCacheDataId(LONG nId) { m_nCacheDataId = nId; }
    LONG GetCacheDataId() const { return m_nCacheDataId; }
    const CStringLongObjectArray& GetQuantityParameters() const { return m_arrQuantityParameters; }
    const CStringLongObjectArray& GetDisplayNameParameters() const { return m_arrDisplayNameParameters; }
    const CStringLongObjectArray& GetMemberParameters() const { return m_arrMemberParameters; }
    const CStringLongObjectArray& GetLinksParameters() const { return m_arrLinkParameters; }
    // Copies the four parameter families and the "CacheData" id.
    void CopyParameterObjects(const CQuantities& other);

    // 0 / 5: builds the quantities, their triggers and members from the
    // stored parameters.
    int CompleteEtsLoad(CProgressInfo* pProgress);
    // 0 / 5: writes quantities, display names, links and members back.
    int SaveToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    // The readers of one parameter text each; false on a failure.
    bool InsertQuantitiesFromString(const std::string& strText);
    bool SetQuantityLinksFromString(const std::string& strText);
    bool InsertQuantityMembersFromString(const std::string& strText);

    // ---- data file and text export
    // A file that names more than 30 quantities or 300 members, or a
    // quantity number twice or outside 1..30, throws CArchiveException.
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;
    // Appends the export section ("\n" line ends).
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- download
    // Non-zero when both images were built.
    int InitDownload(CProgressInfo* pProgress);
    // 0 / 5: both images into the download procedure.
    int Download(CProgressInfo* pProgress, CDownloadProcedure* pProcedure);
    // Both images through the bus; the last write's result, 5 without images.
    int VerifyDownload(CProgressInfo* pProgress, CBusAccess* pBus);
    void ExitDownload();
    const BYTE* GetQuantityImage() const { return m_pQuantityImage.get(); }
    const BYTE* GetMemberImage() const { return m_pMemberImage.get(); }

    // ---- communication objects
    // Numbers the trigger objects from nNextObjectNumber on, in list order,
    // adding the triggers to nCount; a quantity without trigger gets none
    // (255). With a data access it writes each object's type (when an id
    // list is given) and "CacheData". 0 / 5.
    int AssignObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>* pObjectTypeIds, BYTE& nNextObjectNumber,
                          DWORD& nCount);
    // The same, but a type the old object list already has in the host is
    // not written again, and that object is kept (its removed flag cleared).
    int UpdateObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds, BYTE& nNextObjectNumber,
                          DWORD& nCount, CObjectLinkTable* pOldLinks);
    // Appends the object words of the trigger objects (the object table
    // starts with them) and the association words of the triggers; 1 / 0.
    // The address table is not used.
    int BuildAssociations(std::vector<WORD>& arrAddressTable, std::vector<WORD>& arrAssociations,
                          std::vector<WORD>& arrObjects) const;
    // The object links of the trigger objects, for the objects the map
    // holds; 0.
    int CollectObjectLinks(const CObjectNumberMap& mapObjects, DWORD& nCount, CObjectLinkTable& links) const;
    // Links each valid trigger to its quantity's object in the host, reusing
    // the associations the list already has. 0 or the failing result.
    int LinkGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                           DWORD& nCount, CObjectLinkTable& associations);
    // The same, always creating the associations.
    int LinkGroupAddresses(CProgressInfo* pProgress, CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                           DWORD& nCount);
    // The trigger object numbers of the quantities whose triggers hold the
    // address, in list order.
    std::vector<WORD> GetTriggerObjectNumbers(const CGroupDataAddress* pAddress) const;

    // ---- the list
    int GetCount() const { return static_cast<int>(m_lstQuantities.size()); }
    static int GetMaxCount() { return kMaxCount; }
    QuantityPosition GetHeadPosition() const { return QuantityPosition::Head(m_lstQuantities); }
    CQuantity* GetNext(QuantityPosition& pos) const { return pos.Next(); }
    const CQuantityList& GetQuantityList() const { return m_lstQuantities; }
    // Null for numbers outside 1..30 or not present.
    CQuantity* GetQuantity(int nNumber) const;
    // The first quantity whose trigger object has the number; none for 255.
    CQuantity* FindQuantity(WORD wObjectNumber) const;
    // A new quantity with the lowest free number, appended; null when 30
    // exist.
    CQuantity* CreateQuantity();
    // Gives back the quantity's triggers and takes it out of the list. The
    // caller deletes its members first (CQuantity::DeleteMember) and the
    // quantity afterwards.
    void DeleteQuantity(CQuantity* pQuantity);
    int GetTotalMemberCount() const;
    static int GetMaxMemberCount() { return kMaxMembers; }
    // Whether the address is a trigger of the quantity, or of any quantity
    // for null.
    bool IsTrigger(const CGroupDataAddress* pAddress, const CQuantity* pQuantity) const;
    // False when one quantity has both addresses as members of the same
    // range; true otherwise and when either is null or no member address.
    bool HaveNoCommonMemberRange(const CGroupDataAddress* pFirst, const CGroupDataAddress* pSecond) const;
    int CountMembersByReference(LONG nReference) const;

    // The "Mengen" report section.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

private:
    // The load passes and the save passes.
    int LoadQuantities(CProgressInfo* pProgress);
    int LoadLinks(CProgressInfo* pProgress);
    int LoadMembers(CProgressInfo* pProgress);
    int SaveQuantities(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int SaveDisplayNames(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int SaveLinks(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int SaveMembers(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    int RebuildLinkTexts(CProgressInfo* pProgress);
    int RebuildMemberTexts(CProgressInfo* pProgress);
    // Unlinks and destroys a quantity that a reader could not complete.
    void DiscardQuantity(CQuantity* pQuantity);
    // A request address that never became a trigger is dropped.
    void DropStrayRequestAddresses();
    int NumberObjects(CEtsDataAccess* pAccess, const std::vector<LONG>* pObjectTypeIds, BYTE& nNextObjectNumber,
                      DWORD& nCount, CObjectLinkTable* pOldLinks);
    int LinkTriggers(CProgressInfo* pProgress, CEtsDataAccess* pAccess, const CObjectNumberMap& mapObjects,
                     DWORD& nCount, CObjectLinkTable* pAssociations);
    // The members of all quantities in the order of the device's member
    // block; the unused slots are null.
    std::vector<CQuantityMember*> SortMembersForDownload() const;

    CQuantityList m_lstQuantities;
    IChronosetServices* m_pOwner = nullptr;
    CStringLongObjectArray m_arrQuantityParameters;
    CStringLongObjectArray m_arrDisplayNameParameters;
    CStringLongObjectArray m_arrMemberParameters;
    CStringLongObjectArray m_arrLinkParameters;
    LONG m_nCacheDataId = -1;
    std::unique_ptr<BYTE[]> m_pQuantityImage;
    std::unique_ptr<BYTE[]> m_pMemberImage;
};
