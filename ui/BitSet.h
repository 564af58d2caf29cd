#pragma once
// A set of bit positions 0..n-1 kept in 16-bit words (bit b is bit b % 16 of
// word b / 16). Set operations combine two sets of the same size.

#include "platform/base/WinTypes.h"

#include <vector>

class CBitSet {
public:
    explicit CBitSet(int nBits = 0);
    CBitSet(const CBitSet&) = default;
    CBitSet& operator=(const CBitSet&) = default;
    virtual ~CBitSet() = default;

    int GetSize() const { return m_nBits; }

    // Positions outside 0..n-1 are ignored (and test false).
    void Set(int nBit);
    void Clear(int nBit);
    void Set(int nBit, bool bOn) { bOn ? Set(nBit) : Clear(nBit); }
    bool Test(int nBit) const;

    void SetAll();
    void ClearAll();

    // In place; a set of another size leaves this one unchanged.
    CBitSet& operator|=(const CBitSet& other);
    CBitSet& operator-=(const CBitSet& other);
    CBitSet operator|(const CBitSet& other) const;
    CBitSet operator-(const CBitSet& other) const;
    CBitSet operator~() const;

    bool operator==(const CBitSet& other) const;

private:
    // Keeps the bits above n-1 of the last word clear.
    void TrimLastWord();

    int m_nBits = 0;
    std::vector<WORD> m_arrWords;
};
