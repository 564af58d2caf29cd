#pragma once
// One group address of the parameter set: its name, raw address, datapoint
// type, who in the parameter set uses it, its link to the host project and
// the numbers the download gives it. It lives in one of the two lists of
// CGroupDataAddresses; day routines, switching times, quantity triggers and
// quantity members point to it and register their use here.
//
// Raw address: main group in bits 12..15, middle group in bits 8..11, sub
// group in bits 0..7; -1 when there is none.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

class CArchive;
class CGroupDataAddresses;

// The datapoint type of a group address: main type (the object type) and
// sub type.
struct DptType {
    int nObjectType = 0;
    int nSubType = 0;
};

// Usage flags of a group address.
enum GroupAddressUsage : DWORD {
    GAU_DAYROUTINE_TRIGGER = 1,
    GAU_SWITCHTIME = 2,
    GAU_QUANTITY_TRIGGER = 4,
    GAU_QUANTITY_MEMBER = 8,
    GAU_ANY = 15,
};

// The longest name the stored forms carry: their length field is one byte,
// counting Windows-1252 bytes (one per character).
constexpr std::size_t GROUP_ADDRESS_NAME_MAX = 255;

// The name cut to at most 255 characters, so that its Windows-1252 form fits
// the one-byte length of the stored forms. Never cuts inside a character.
std::string LimitGroupAddressName(const std::string& strName);

// The text of a group address: "%02ld/%02ld/%04ld" with three levels,
// "%02ld/%04ld" with two, "\"keine\"" for none or an invalid association.
// In debug mode the object number and the trigger objects of the quantities
// follow in brackets.
std::string FormatGroupAddress(int nLevels, LONG nAddress, SHORT nObjectNumber,
                               const std::vector<WORD>* pTriggerObjects, bool bInvalid);

class CGroupDataAddress : public CObject {
    friend class CGroupDataAddresses;

public:
    DECLARE_RUNTIME_CLASS(CGroupDataAddress)

    CGroupDataAddress() = default;
    ~CGroupDataAddress() override = default;
    CGroupDataAddress(const CGroupDataAddress&) = delete;
    CGroupDataAddress& operator=(const CGroupDataAddress&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    const std::string& GetName() const { return m_strName; }
    // Longer names are cut to 255 characters.
    void SetName(const std::string& strName);
    LONG GetAddress() const { return m_nAddress; }
    void SetAddress(LONG nAddress) { m_nAddress = nAddress; }

    LONG GetObjectType() const { return m_nObjectType; }
    void SetObjectType(LONG nType) { m_nObjectType = nType; }
    LONG GetSubType() const { return m_nSubType; }
    DptType GetDptType() const { return {m_nObjectType, m_nSubType}; }
    void SetType(const DptType& type)
    {
        m_nObjectType = type.nObjectType;
        m_nSubType = type.nSubType;
    }

    DWORD GetUsageFlags() const { return m_dwUsageFlags; }
    bool HasUsage(DWORD dwMask) const { return (m_dwUsageFlags & dwMask) != 0; }

    LONG GetReference() const { return m_nReference; }
    void SetReference(LONG nReference);
    // Counts every change of any address's reference, so that an index by
    // reference can tell that it is stale.
    static unsigned GetReferenceChangeCount();
    SHORT GetObjectNumber() const { return m_nObjectNumber; }
    void SetObjectNumber(SHORT nNumber);
    // Counts every change of any address's object number (as above).
    static unsigned GetObjectNumberChangeCount();
    // Whether the object number is one (below 256 as an unsigned word).
    bool HasObjectNumber() const { return static_cast<WORD>(m_nObjectNumber) < 256; }
    LONG GetAddressTableIndex() const { return m_nAddressTableIndex; }
    void SetAddressTableIndex(LONG nIndex) { m_nAddressTableIndex = nIndex; }
    bool IsInvalid() const { return m_bInvalid != 0; }
    void SetInvalid(bool bInvalid) { m_bInvalid = bInvalid ? 1 : 0; }

    CGroupDataAddresses* GetOwner() const { return m_pOwner; }
    void SetOwner(CGroupDataAddresses* pOwner) { m_pOwner = pOwner; }
    int GetLevels() const { return m_nLevels; }
    void SetLevels(int nLevels) { m_nLevels = nLevels; }

    // Name, address, types, levels and reference; uses, owner, numbers and
    // the invalid flag stay as they are.
    void CopyFrom(const CGroupDataAddress& other);

    // Registers or unregisters uses of the kinds (GroupAddressUsage bits).
    void AddUse(DWORD dwKinds);
    void RemoveUse(DWORD dwKinds);
    // The uses selected by a selection mask: 2 switching times, 0x80
    // quantity triggers, 0x40 members, 1 the day-routine trigger (0 or 1).
    int GetUseCount(int nMask) const;

    std::string GetAddressText(bool bWithTriggerObjects) const;
    std::string GetTypeText() const;
    void AppendTypeText(std::string& strText) const;
    // "name - address" of a group address, "-" for none.
    static std::string GetNameAndAddress(const CGroupDataAddress* pAddress);

    // The parameter record: reference (low and high word), object type, sub
    // type, name length as hex digits, then the name's Windows-1252 bytes.
    std::string ToHexString() const;
    // The text-export line, without line end.
    std::string ToCsvLine(bool bWithUsage) const;
    // Appends the export line and "\n" to the export text.
    void WriteCsvLine(std::string& strFile, bool bWithUsage) const;
    // Appends the export line alone.
    void AppendCsvLine(std::string& strFile, bool bWithUsage) const;

    void LoadFromArchive(CArchive& ar);
    void StoreToArchive(CArchive& ar) const;

private:
    // Whether a day routine of the central object has this address as its
    // trigger.
    static bool IsDayRoutineTrigger(const CGroupDataAddress* pAddress);
    // The trigger object numbers of the central object's quantities whose
    // trigger list holds the address, in the quantities' order.
    static std::vector<WORD> GetTriggerObjectNumbers(const CGroupDataAddress* pAddress);

    std::string m_strName;
    LONG m_nAddress = -1;
    LONG m_nObjectType = 0;
    LONG m_nSubType = 0;
    DWORD m_dwUsageFlags = 0;
    LONG m_nSwitchTimeUses = 0;
    LONG m_nQuantityTriggerUses = 0;
    LONG m_nMemberUses = 0;
    LONG m_nLevels = 3;
    CGroupDataAddresses* m_pOwner = nullptr;
    LONG m_nReference = -1;
    SHORT m_nObjectNumber = -1;
    LONG m_nAddressTableIndex = -1;
    BYTE m_bInvalid = 0;
};
