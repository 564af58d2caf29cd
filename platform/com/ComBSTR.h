#pragma once
// Owner of one BSTR: frees it when it goes, copies on copy. Built from UTF-8
// text (the program's own strings) or from wide text.

#include "platform/com/Bstr.h"
#include "platform/com/ComTypes.h"

#include <string>
#include <string_view>

class CComBSTR {
public:
    CComBSTR() noexcept = default;
    CComBSTR(const char* pszUtf8);
    CComBSTR(std::string_view utf8);
    CComBSTR(const std::string& utf8);
    CComBSTR(LPCOLESTR psz);
    CComBSTR(UINT cch, LPCOLESTR pch);
    CComBSTR(const CComBSTR& other);
    CComBSTR(CComBSTR&& other) noexcept;
    ~CComBSTR();

    CComBSTR& operator=(const CComBSTR& other);
    CComBSTR& operator=(CComBSTR&& other) noexcept;
    CComBSTR& operator=(const char* pszUtf8);
    CComBSTR& operator=(std::string_view utf8);
    CComBSTR& operator=(const std::string& utf8) { return operator=(std::string_view(utf8)); }
    CComBSTR& operator=(LPCOLESTR psz);

    operator BSTR() const noexcept { return m_str; }
    // For out parameters: whatever was held is freed first, so nothing leaks.
    BSTR* operator&() noexcept;

    UINT Length() const noexcept { return SysStringLen(m_str); }
    bool IsEmpty() const noexcept { return Length() == 0; }

    // A new BSTR with the same text (null when this one is null).
    BSTR Copy() const;
    HRESULT CopyTo(BSTR* pbstr) const;
    void Attach(BSTR src) noexcept;
    BSTR Detach() noexcept;
    void Empty() noexcept;

    HRESULT Append(std::string_view utf8);
    HRESULT Append(LPCOLESTR pch, UINT cch);

    std::string ToUtf8() const { return platform::BstrToUtf8(m_str); }

    BSTR m_str = nullptr;
};
