#pragma once
// Every group address of one device's parameter set, in two lists: the valid
// list and the invalid-association list (addresses whose association the
// host project no longer has but that the parameter set still uses), 250
// entries each. The central object embeds one instance and drives it through
// the data-set phases: host parameters "GroupAddress" and
// "InvalidAssocGroupAddress", data file, text export and report. Editors and
// data sets create, find, remove and choose addresses here; the choosers
// apply the association-limit rule kept here. The lists also number the used
// addresses as communication objects.

#include "model/GroupDataAddress.h"
#include "model/StringLongObject.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

class CArchive;
class IChronosetServices;
class CEtsDataAccess;
class CObjectLinkTable;
class CParamReport;
class CProgressInfo;
class IReportDC;

// The kind of address a chooser asks for (not the usage flags of an address:
// there 4 is a quantity trigger and 8 a member).
enum GroupAddressSelectionMask : int {
    GASM_DAYROUTINE_TRIGGER = 1,
    GASM_SWITCHTIME = 2,
    GASM_QUANTITY_MEMBER = 0x40,
    GASM_QUANTITY_TRIGGER = 0x80,
    GASM_ANY = 511,
    // Added to a kind: the association-limit rule does not apply.
    GASM_NO_LIMIT = 0x200,
};

using CGroupDataAddressList = std::list<CGroupDataAddress*>;

// A place in one of the two lists, as the framework's list position: false
// when there is none. Each step names the list again; removing the entry a
// position stands on makes the position unusable.
class GaPosition {
    friend class CGroupDataAddresses;

public:
    GaPosition() = default;
    explicit operator bool() const { return m_bValid; }

private:
    explicit GaPosition(CGroupDataAddressList::iterator it) : m_it(it), m_bValid(true) {}

    CGroupDataAddressList::iterator m_it {};
    bool m_bValid = false;
};

class CGroupDataAddresses : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CGroupDataAddresses)

    // bOwnsItems: the destructor deletes the addresses of both lists; a
    // borrowing collection leaves them to their owner.
    explicit CGroupDataAddresses(bool bOwnsItems = true);
    ~CGroupDataAddresses() override;
    CGroupDataAddresses(const CGroupDataAddresses&) = delete;
    CGroupDataAddresses& operator=(const CGroupDataAddresses&) = delete;

    // The framework's dynamic creation by class: an owning collection.
    static CObject* CreateObject();

    IChronosetServices* GetOwner() const { return m_pOwner; }
    void SetOwner(IChronosetServices* pOwner) { m_pOwner = pOwner; }

    // ---- host parameters (texts as the host holds them, UTF-8)
    void AddGroupAddressParameter(LONG nId, const std::string& strText, int nIndex);
    void AddInvalidGroupAddressParameter(LONG nId, const std::string& strText, int nIndex);
    const CStringLongObjectArray& GetParameterObjects(bool bInvalid) const
    {
        return bInvalid ? m_arrInvalidParameters : m_arrValidParameters;
    }
    // 0 / 5: parses both parameter arrays into the two lists.
    int LoadGroupAddressesFromEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    // 0 / 5: writes both lists into their parameters, two records each.
    int SaveGroupAddressesToEts(CProgressInfo* pProgress, CEtsDataAccess* pAccess);
    // Parses one parameter record text (Windows-1252 bytes, up to two
    // records) into the list of that kind.
    bool InsertGroupAddressFromString(const std::string& strRecords, bool bInvalid);
    void CopyParameterObjects(const CGroupDataAddresses& other);

    // ---- data file and text export
    void LoadFromArchive(CArchive& ar, CProgressInfo* pProgress);
    void StoreToArchive(CArchive& ar, CProgressInfo* pProgress) const;
    // Appends the export section ("\n" line ends) to the export text.
    void ExportCsv(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- creation and removal
    // A new address appended to the list of that kind; null when that list is
    // full (unless unlimited).
    CGroupDataAddress* CreateGroupAddress(bool bInvalid);
    bool AddGroupAddress(CGroupDataAddress* pAddress, bool bForce);
    // Takes the address out of the list of its kind; never destroys it.
    bool Remove(CGroupDataAddress* pAddress, bool bQuiet);
    void RemoveAt(GaPosition pos, bool bInvalid);
    void ReplaceItem(CGroupDataAddress* pOld, CGroupDataAddress* pNew);
    // Trims each list to 250 by destroying unused addresses.
    void CleanUpGroupAddresses();
    void DeleteUnusedInvalid();
    void SetUnlimited(bool bUnlimited) { m_bUnlimited = bUnlimited; }
    bool IsUnlimited() const { return m_bUnlimited; }

    // ---- queries
    int GetCount(bool bInvalid) const { return static_cast<int>(List(bInvalid).size()); }
    // The addresses of the valid or the invalid list, in list order.
    const CGroupDataAddressList& GetList(bool bInvalid) const { return List(bInvalid); }
    static int GetMaxCount() { return 250; }
    int GetAddressLevels() const { return m_nLevels; }
    // Whether that very object is in one of the lists. Decides by identity
    // alone, so a pointer to a destroyed address may be asked about.
    bool IsInList(const CGroupDataAddress* pAddress) const;
    CGroupDataAddress* GetReferenceFromAddress(LONG nAddress, bool bInvalid) const;
    CGroupDataAddress* FindByReference(LONG nReference, bool bInvalid) const;
    CGroupDataAddress* FindByObjectNumber(SHORT nObjectNumber, bool bAlsoInvalid) const;

    // ---- iteration: first position, then the item at the position, which
    // moves the position on to the next item (or none)
    // Filtered by the association-limit rule for the kind asked for.
    GaPosition GetFirstItemPos(int nMask, const CGroupDataAddress* pEdited, bool bInvalid);
    CGroupDataAddress* GetNextItem(GaPosition& pos, int nMask, const CGroupDataAddress* pEdited, bool bInvalid);
    // Addresses with any of the usage bits; 0: unused addresses. Unfiltered.
    GaPosition GetFirstPosByUsage(DWORD dwUsage, bool bInvalid);
    CGroupDataAddress* GetNextItemByUsage(GaPosition& pos, DWORD dwUsage, bool bInvalid);
    // Addresses of one object type within the filtered iteration; a
    // day-routine trigger choice takes only unused addresses.
    GaPosition GetFirstPosByType(LONG nObjectType, int nMask, const CGroupDataAddress* pEdited, bool bInvalid);
    CGroupDataAddress* GetNextItemByType(GaPosition& pos, LONG nObjectType, int nMask,
                                         const CGroupDataAddress* pEdited, bool bInvalid);

    // ---- object numbering: 0 / 5. Numbers the used addresses of the list
    // from nNextObjectNumber on (below 250) and, with a data access, writes
    // their object types into the "ObjectType" parameters; every address
    // that gets no number gets -1.
    int AssignObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds, BYTE& nNextObjectNumber,
                          DWORD& nCount, bool bInvalid);
    // The same, but a parameter that the old link table lists is written only
    // when its value differs, and that entry is kept (its removed flag
    // cleared).
    int UpdateObjectTypes(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds, BYTE& nNextObjectNumber,
                          DWORD& nCount, bool bInvalid, CObjectLinkTable* pOldLinks);

    // The report section of the valid list.
    virtual void AddReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

private:
    CGroupDataAddressList& List(bool bInvalid) { return bInvalid ? m_lstInvalid : m_lstValid; }
    const CGroupDataAddressList& List(bool bInvalid) const { return bInvalid ? m_lstInvalid : m_lstValid; }

    // The central object whose association count and data sets decide.
    IChronosetServices* GetCentralObject() const;
    // Which list a filtered walk takes and what it yields; false when the
    // walk is empty.
    bool PrepareFilteredWalk(int nMask, bool& bInvalid, bool& bLimited) const;
    bool PassesFilter(const CGroupDataAddress* pAddress, int nMask, bool bLimited,
                      const CGroupDataAddress* pEdited) const;
    static bool PassesUsage(const CGroupDataAddress* pAddress, DWORD dwUsage);
    // Destroys an address taken out of the lists, when this collection owns
    // its items.
    void DestroyItem(CGroupDataAddress* pAddress);

    int LoadParameters(CProgressInfo* pProgress, bool bInvalid);
    int SaveParameters(CProgressInfo* pProgress, CEtsDataAccess* pAccess, bool bInvalid);
    void LoadList(CArchive& ar, CProgressInfo* pProgress, bool bInvalid);
    void StoreList(CArchive& ar, CProgressInfo* pProgress, bool bInvalid) const;
    int NumberObjects(CEtsDataAccess* pAccess, const std::vector<LONG>& arrObjectTypeIds, BYTE& nNextObjectNumber,
                      DWORD& nCount, bool bInvalid, CObjectLinkTable* pOldLinks, bool bUpdate);

    // Every entry that comes into or leaves a list is noted here.
    void NoteListed(const CGroupDataAddress* pAddress);
    void NoteUnlisted(const CGroupDataAddress* pAddress);

    // A list's first address of each key (reference or object number),
    // built once a list is searched repeatedly while neither it nor any key
    // of that kind changes.
    struct KeyIndex {
        // By key; equal keys keep their list order.
        std::vector<std::pair<LONG, CGroupDataAddress*>> entries;
        unsigned nListChanges = 0;
        unsigned nKeyChanges = 0;
        int nScans = 0;
        bool bBuilt = false;
    };
    CGroupDataAddress* FindByKey(bool bInvalid, KeyIndex& index, unsigned nKeyChanges,
                                 LONG (*key)(const CGroupDataAddress&), LONG nKey) const;

    bool m_bOwnsItems;
    CGroupDataAddressList m_lstValid;
    CGroupDataAddressList m_lstInvalid;
    // How often each object stands in the two lists, so that IsInList need
    // not walk them; and a count of the lists' changes.
    std::unordered_map<const CGroupDataAddress*, int> m_mapListed;
    unsigned m_nListChanges = 0;
    mutable KeyIndex m_arrReferenceIndex[2];
    mutable KeyIndex m_arrObjectNumberIndex[2];
    int m_nLevels;
    CStringLongObjectArray m_arrValidParameters;
    CStringLongObjectArray m_arrInvalidParameters;
    bool m_bUnlimited = false;
    IChronosetServices* m_pOwner = nullptr;
};
