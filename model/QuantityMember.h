#pragma once
// One member of a quantity: a group address with the value it is to receive
// when the quantity's trigger value falls into the member's range (A or B),
// and whether the value is sent only when it changed. Owned by its quantity,
// which creates it (CQuantity::CreateMember) and releases its address use
// (CQuantity::DeleteMember). Knows its four external forms: the 18-digit
// record of the "QuantityMember" host parameters, the 4-byte slot of the
// device's member block, the data-file record and the text-export line.
//
// Flags byte (parameter record and device slot): bits 0..4 quantity number
// - 1, bit 6 send only on change, bit 7 range B, bit 5 always 0.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>

class CArchive;
class CGroupDataAddress;
class CGroupDataAddresses;
class CQuantity;

// The value record of a member.
struct QuantityMemberValues {
    WORD wValue = 0;
    bool bSendOnChange = false;
    int nRange = 0;  // 0 range A, 1 range B
};

class CQuantityMember : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CQuantityMember)

    // Length of the parameter record and of the device slot.
    static constexpr std::size_t kParameterLength = 18;
    static constexpr std::size_t kDataLength = 4;

    CQuantityMember() = default;
    // Leaves the address's use alone: CQuantity::DeleteMember gives it back.
    ~CQuantityMember() override = default;
    CQuantityMember(const CQuantityMember&) = delete;
    CQuantityMember& operator=(const CQuantityMember&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    // Copies address, value, flag, range, quantity and exponent; the address
    // is taken without a use of its own (clipboard copies).
    void CopyConstruct(const CQuantityMember& other);

    CGroupDataAddress* GetGroupAddress() const { return m_pGroupAddress; }
    // Moves the member use (kind 8) from the previous address to the new one,
    // then stores it; returns it.
    CGroupDataAddress* SetGroupAddress(CGroupDataAddress* pAddress);
    // Forgets the address without giving its use back (the address is gone).
    void DetachGroupAddress() { m_pGroupAddress = nullptr; }

    QuantityMemberValues GetValues() const { return {m_wValue, m_bSendOnChange, m_nRange}; }
    QuantityMemberValues GetValue() const { return GetValues(); }
    void SetValues(WORD wValue, bool bSendOnChange, int nRange);
    WORD GetRawValue() const { return m_wValue; }
    bool GetSendOnChange() const { return m_bSendOnChange; }
    int GetRange() const { return m_nRange; }
    BYTE GetExponent() const { return m_nExponent; }
    void SetExponent(BYTE nExponent) { m_nExponent = nExponent; }
    // The same byte as the exponent: for a 2-bit address it holds the mode
    // (0 free, 1 forced on, 2 forced off, 3 default).
    BYTE GetMode() const { return m_nExponent; }

    CQuantity* GetQuantity() const { return m_pQuantity; }
    void SetQuantity(CQuantity* pQuantity) { m_pQuantity = pQuantity; }

    // The flags byte; 0xFF without quantity.
    BYTE GetFlagsByte() const;

    // The 18-digit parameter record.
    std::string GetParameterString() const;
    // Parses one record from pos (moving pos past each field read); 1 / 0.
    int ExtractParameterData(const std::string& strText, std::size_t& pos);
    // The 4-byte device slot.
    bool FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const;

    void StoreToArchive(CArchive& ar) const;
    void LoadFromArchive(CArchive& ar);

    // The text-export line with its "\n".
    void WriteCsvLine(std::string& strFile) const;

private:
    // The central object's group-address lists, through quantity and owner.
    CGroupDataAddresses* GetGroupDataAddresses() const;

    CGroupDataAddress* m_pGroupAddress = nullptr;
    WORD m_wValue = 0;
    bool m_bSendOnChange = false;
    int m_nRange = 0;
    CQuantity* m_pQuantity = nullptr;
    BYTE m_nExponent = 3;
};
