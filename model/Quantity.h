#pragma once
// One quantity of the device: a numbered, named value of one datapoint type
// that the quantity's trigger object receives from its trigger group
// addresses (one of them may be the request address, on which the device
// asks for the value). Range A reaches up to the range-A value, range B
// starts at the range-B value; the members send their values when the
// trigger value enters their range. Owned by CQuantities; the editors change
// the fields directly through the setters.
//
// Raw values (range values, init value) are in the encoding of the
// quantity's datapoint type.

#include "model/GroupDataAddress.h"
#include "model/ListPosition.h"
#include "model/QuantityMember.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <list>
#include <string>

class CArchive;
class CGroupDataAddresses;
class CParamReport;
class CProgressInfo;
class CQuantities;
class IReportDC;

using CTriggerList = std::list<CGroupDataAddress*>;
using CQuantityMemberList = std::list<CQuantityMember*>;
using TriggerPosition = ListPosition<CGroupDataAddress>;
using MemberPosition = ListPosition<CQuantityMember>;

// Trigger object number of a quantity that has none.
constexpr WORD QUANTITY_NO_OBJECT = 255;

class CQuantity : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CQuantity)

    // Length of the parameter record and of the device record.
    static constexpr std::size_t kParameterLength = 38;
    static constexpr std::size_t kDataLength = 10;

    CQuantity() = default;
    // Deletes the members (their address uses are not given back) and
    // forgets the triggers.
    ~CQuantity() override;
    CQuantity(const CQuantity&) = delete;
    CQuantity& operator=(const CQuantity&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    // ---- fields
    const std::string& GetName() const { return m_strName; }
    void SetName(const std::string& strName) { m_strName = strName; }
    int GetNumber() const { return m_nNumber; }
    void SetNumber(int nNumber) { m_nNumber = nNumber; }
    DptType GetType() const { return {m_nMainType, m_nSubType}; }
    void SetType(const DptType& type)
    {
        m_nMainType = type.nObjectType;
        m_nSubType = type.nSubType;
    }
    int GetMainType() const { return m_nMainType; }
    int GetSubType() const { return m_nSubType; }
    WORD GetRangeA() const { return m_wRangeA; }
    void SetRangeA(WORD wValue) { m_wRangeA = wValue; }
    WORD GetRangeB() const { return m_wRangeB; }
    void SetRangeB(WORD wValue) { m_wRangeB = wValue; }
    // 0 "A, B", 1 ">A, >B", 2 "A< >B".
    int GetCondition() const { return m_nCondition; }
    void SetCondition(int nCondition) { m_nCondition = nCondition; }
    // 0 bus, 2 RAM, 3 none.
    int GetWarmStart() const { return m_nWarmStart; }
    void SetWarmStart(int nReaction) { m_nWarmStart = nReaction; }
    // 0 bus, 1 init value, 3 none.
    int GetColdStart() const { return m_nColdStart; }
    void SetColdStart(int nReaction) { m_nColdStart = nReaction; }
    WORD GetInitValue() const { return m_wInitValue; }
    void SetInitValue(WORD wValue) { m_wInitValue = wValue; }
    // Fixed exponent 0..15 for entering 2-byte float values; 255 none.
    BYTE GetExponent() const { return m_nExponent; }
    void SetExponent(BYTE nExponent) { m_nExponent = nExponent; }

    CQuantities* GetOwner() const { return m_pOwner; }
    void SetOwner(CQuantities* pOwner) { m_pOwner = pOwner; }

    WORD GetTriggerObjectNumber() const { return m_wTriggerObjectNumber; }
    void SetTriggerObjectNumber(WORD wNumber) { m_wTriggerObjectNumber = wNumber; }
    // Whether the value is read from the bus at warm or cold start.
    bool ReadsValueFromBus() const { return m_nWarmStart == 0 || m_nColdStart == 0; }

    // ---- triggers
    // All triggers, or only those not in the invalid list.
    int GetTriggerCount(bool bValidOnly) const;
    TriggerPosition GetFirstTriggerPosition() const { return TriggerPosition::Head(m_lstTriggers); }
    CGroupDataAddress* GetNextTrigger(TriggerPosition& pos) const { return pos.Next(); }
    const CTriggerList& GetTriggers() const { return m_lstTriggers; }
    // 1 when the address was appended (use 4 registered), 0 when refused.
    int AddTriggerGroupAddress(CGroupDataAddress* pAddress, bool bAsRequest);
    // Takes the address out of the triggers and gives its use back. An
    // invalid-list address left without use is removed from the lists and
    // destroyed, and pAddress becomes null.
    void RemoveTriggerGroupAddress(CGroupDataAddress*& pAddress);
    void RemoveAllTriggers();
    // The position of the address in the triggers; none when absent.
    TriggerPosition FindTrigger(const CGroupDataAddress* pAddress) const;
    bool IsTrigger(const CGroupDataAddress* pAddress) const;
    CGroupDataAddress* GetRequestGroupAddress() const { return m_pRequestGroupAddress; }
    // Null clears (1); an address that is not a trigger is refused (0).
    int SetRequestGroupAddress(CGroupDataAddress* pAddress);
    bool IsRequestGroupAddress(const CGroupDataAddress* pAddress) const
    {
        return pAddress && pAddress == m_pRequestGroupAddress;
    }

    // ---- members
    int GetMemberCount() const { return static_cast<int>(m_lstMembers.size()); }
    MemberPosition GetFirstMemberPosition() const { return MemberPosition::Head(m_lstMembers); }
    CQuantityMember* GetNextMember(MemberPosition& pos) const { return pos.Next(); }
    const CQuantityMemberList& GetMembers() const { return m_lstMembers; }
    // A new member appended; null when all quantities together hold 300.
    CQuantityMember* CreateMember();
    // Takes the member out of the list and gives its address use back (an
    // invalid-list address left without use is removed and destroyed). The
    // caller deletes the member.
    void DeleteMember(CQuantityMember* pMember);
    // Deletes every member, giving their address uses back.
    void DeleteAllMembers();
    bool HasMember(const CGroupDataAddress* pAddress) const;

    // ---- external forms
    // The 38-digit parameter record.
    std::string ToParameterString() const;
    // Parses the record after its number, from pos; 1 / 0.
    int ExtractParameterData(const std::string& strText, std::size_t& pos);
    // The 10-byte device record; a quantity without triggers writes nothing.
    bool FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const;
    void StoreToArchive(CArchive& ar) const;
    // Throws CArchiveException when a member cannot be created.
    void LoadFromArchive(CArchive& ar);

    // ---- texts
    std::string GetConditionText() const;
    std::string GetWarmStartText() const;
    std::string GetColdStartText() const;
    // Cells of the trigger and member tables and reports.
    std::string GetTriggerColumnText(const CGroupDataAddress* pAddress, int nColumn) const;
    static std::string GetMemberColumnText(const CQuantityMember* pMember, int nColumn);
    // "bis <range A>", "ab <range B>", the init value.
    std::string GetRangeAText() const;
    std::string GetRangeBText() const;
    std::string GetInitValueText() const;

    // ---- text export (lines end with "\n")
    void WriteCsvLine(std::string& strFile) const;
    void WriteCsvTriggers(std::string& strFile) const;
    void WriteCsvMembers(CProgressInfo* pProgress, std::string& strFile) const;

    // ---- reports
    virtual void AddTriggerReport(CParamReport* pReport, IReportDC* pDC, int nWidth);
    virtual void AddMemberReport(CParamReport* pReport, IReportDC* pDC, int nWidth);

private:
    CGroupDataAddresses* GetGroupDataAddresses() const;
    // Removes an invalid-list address that lost its last use from its lists
    // and destroys it; true when it was destroyed.
    bool DestroyIfUnusedInvalid(CGroupDataAddress* pAddress) const;
    std::string FormatRawValue(WORD wValue) const;

    std::string m_strName;
    int m_nNumber = 0;
    int m_nMainType = 0;
    int m_nSubType = 0;
    WORD m_wRangeA = 0;
    WORD m_wRangeB = 0;
    CTriggerList m_lstTriggers;
    int m_nCondition = 0;
    int m_nWarmStart = 0;
    int m_nColdStart = 0;
    WORD m_wInitValue = 0;
    CQuantityMemberList m_lstMembers;
    CQuantities* m_pOwner = nullptr;
    CGroupDataAddress* m_pRequestGroupAddress = nullptr;
    BYTE m_nExponent = 3;
    WORD m_wTriggerObjectNumber = QUANTITY_NO_OBJECT;
};
