#include "ui/CharSet.h"

const CCharSet g_csDigits("0123456789");

CCharSet::CCharSet() : CBitSet(256) {}

CCharSet::CCharSet(const char* pszChars) : CBitSet(256) {
    if (pszChars == nullptr) {
        SetAll();
        return;
    }
    for (const char* p = pszChars; *p != '\0'; ++p) {
        Set(static_cast<unsigned char>(*p));
    }
}

CCharSet::CCharSet(const std::string& strChars) : CBitSet(256) {
    for (char ch : strChars) {
        Set(static_cast<unsigned char>(ch));
    }
}

CCharSet CCharSet::operator+(char ch) const {
    CCharSet result(*this);
    result.Set(static_cast<unsigned char>(ch));
    return result;
}

CCharSet CCharSet::operator+(const std::string& strChars) const {
    return *this + CCharSet(strChars);
}

CCharSet CCharSet::operator+(const CCharSet& other) const {
    return CCharSet(static_cast<const CBitSet&>(*this) | other);
}

CCharSet CCharSet::operator-(const CCharSet& other) const {
    return CCharSet(static_cast<const CBitSet&>(*this) - other);
}
