#pragma once
// A set of 8-bit character codes (taken unsigned): what a filtering edit
// accepts.

#include "ui/BitSet.h"

#include <string>

class CCharSet : public CBitSet {
public:
    CCharSet();
    // Every character of the text; a null text gives all 256 codes.
    explicit CCharSet(const char* pszChars);
    explicit CCharSet(const std::string& strChars);
    CCharSet(const CCharSet&) = default;
    CCharSet& operator=(const CCharSet&) = default;

    bool Contains(char ch) const { return Test(static_cast<unsigned char>(ch)); }
    bool ContainsCode(unsigned nCode) const { return nCode < 256 && Test(static_cast<int>(nCode)); }

    CCharSet operator+(char ch) const;
    CCharSet operator+(const std::string& strChars) const;
    CCharSet operator+(const CCharSet& other) const;
    CCharSet operator-(const CCharSet& other) const;

private:
    explicit CCharSet(const CBitSet& bits) : CBitSet(bits) {}
};

// The decimal digits, where every numeric edit starts.
extern const CCharSet g_csDigits;
