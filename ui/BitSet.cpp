#include "ui/BitSet.h"

#include <cstddef>

CBitSet::CBitSet(int nBits)
    : m_nBits(nBits < 0 ? 0 : nBits), m_arrWords(static_cast<std::size_t>((m_nBits + 15) / 16), 0) {}

void CBitSet::Set(int nBit) {
    if (nBit >= 0 && nBit < m_nBits) {
        m_arrWords[static_cast<std::size_t>(nBit / 16)] |= static_cast<WORD>(1u << (nBit % 16));
    }
}

void CBitSet::Clear(int nBit) {
    if (nBit >= 0 && nBit < m_nBits) {
        m_arrWords[static_cast<std::size_t>(nBit / 16)] &= static_cast<WORD>(~(1u << (nBit % 16)));
    }
}

bool CBitSet::Test(int nBit) const {
    if (nBit < 0 || nBit >= m_nBits) {
        return false;
    }
    return (m_arrWords[static_cast<std::size_t>(nBit / 16)] & (1u << (nBit % 16))) != 0;
}

void CBitSet::SetAll() {
    for (WORD& w : m_arrWords) {
        w = 0xFFFF;
    }
    TrimLastWord();
}

void CBitSet::ClearAll() {
    for (WORD& w : m_arrWords) {
        w = 0;
    }
}

CBitSet& CBitSet::operator|=(const CBitSet& other) {
    if (other.m_nBits == m_nBits) {
        for (std::size_t i = 0; i < m_arrWords.size(); ++i) {
            m_arrWords[i] |= other.m_arrWords[i];
        }
    }
    return *this;
}

CBitSet& CBitSet::operator-=(const CBitSet& other) {
    if (other.m_nBits == m_nBits) {
        for (std::size_t i = 0; i < m_arrWords.size(); ++i) {
            m_arrWords[i] &= static_cast<WORD>(~other.m_arrWords[i]);
        }
    }
    return *this;
}

CBitSet CBitSet::operator|(const CBitSet& other) const {
    CBitSet result(*this);
    result |= other;
    return result;
}

CBitSet CBitSet::operator-(const CBitSet& other) const {
    CBitSet result(*this);
    result -= other;
    return result;
}

CBitSet CBitSet::operator~() const {
    CBitSet result(*this);
    for (WORD& w : result.m_arrWords) {
        w = static_cast<WORD>(~w);
    }
    result.TrimLastWord();
    return result;
}

bool CBitSet::operator==(const CBitSet& other) const {
    return m_nBits == other.m_nBits && m_arrWords == other.m_arrWords;
}

void CBitSet::TrimLastWord() {
    if (m_nBits % 16 != 0 && !m_arrWords.empty()) {
        m_arrWords.back() &= static_cast<WORD>((1u << (m_nBits % 16)) - 1);
    }
}
