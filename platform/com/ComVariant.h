#pragma once
// Owner of one VARIANT: clears it when it goes, copies deeply on copy.

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

#include <string>
#include <string_view>

class CComVariant : public VARIANT {
public:
    CComVariant() noexcept { VariantInit(this); }
    CComVariant(const CComVariant& other);
    CComVariant(const VARIANT& other);
    CComVariant(CComVariant&& other) noexcept;
    ~CComVariant() { Clear(); }

    CComVariant(bool bSrc);                    // VT_BOOL
    CComVariant(int nSrc, VARTYPE vtSrc = VT_I4);  // VT_I4, VT_INT, VT_I2, VT_UI1, VT_ERROR ...
    CComVariant(SHORT nSrc);                   // VT_I2
    CComVariant(BYTE nSrc);                    // VT_UI1
    CComVariant(unsigned int nSrc);            // VT_UI4
    CComVariant(double dblSrc);                // VT_R8
    CComVariant(const char* pszUtf8);          // VT_BSTR
    CComVariant(std::string_view utf8);        // VT_BSTR
    CComVariant(const std::string& utf8);      // VT_BSTR
    CComVariant(LPCOLESTR psz);                // VT_BSTR
    CComVariant(IUnknown* pSrc);               // VT_UNKNOWN, AddRef'd
    CComVariant(const SAFEARRAY* psaSrc);      // VT_ARRAY | element kind, copied

    CComVariant& operator=(const CComVariant& other);
    CComVariant& operator=(const VARIANT& other);
    CComVariant& operator=(CComVariant&& other) noexcept;

    HRESULT Clear() { return VariantClear(this); }
    HRESULT Copy(const VARIANT* pSrc) { return VariantCopy(this, pSrc); }
    // Takes over *pSrc (which is left empty) without copying.
    HRESULT Attach(VARIANT* pSrc);
    // Hands the value over to *pDest (cleared first) and leaves this empty.
    HRESULT Detach(VARIANT* pDest);
    HRESULT CopyTo(BSTR* pstrDest) const;
    // Converts this value, or the value of pSrc into this one.
    HRESULT ChangeType(VARTYPE vtNew, const VARIANT* pSrc = nullptr);

    // Same kind and same value: texts by content, interfaces and arrays by
    // identity.
    bool operator==(const VARIANT& other) const;
    bool operator!=(const VARIANT& other) const { return !(*this == other); }

private:
    void SetText(std::string_view utf8);
};
