#include "platform/com/ComBSTR.h"

#include <cstring>
#include <memory>
#include <utility>

CComBSTR::CComBSTR(const char* pszUtf8)
    : m_str(pszUtf8 ? platform::BstrFromUtf8(pszUtf8) : nullptr)
{
}

CComBSTR::CComBSTR(std::string_view utf8)
    : m_str(platform::BstrFromUtf8(utf8))
{
}

CComBSTR::CComBSTR(const std::string& utf8)
    : m_str(platform::BstrFromUtf8(utf8))
{
}

CComBSTR::CComBSTR(LPCOLESTR psz)
    : m_str(SysAllocString(psz))
{
}

CComBSTR::CComBSTR(UINT cch, LPCOLESTR pch)
    : m_str(SysAllocStringLen(pch, cch))
{
}

CComBSTR::CComBSTR(const CComBSTR& other)
    : m_str(other.Copy())
{
}

CComBSTR::CComBSTR(CComBSTR&& other) noexcept
    : m_str(std::exchange(other.m_str, nullptr))
{
}

CComBSTR::~CComBSTR()
{
    SysFreeString(m_str);
}

CComBSTR& CComBSTR::operator=(const CComBSTR& other)
{
    if (this != std::addressof(other)) {
        BSTR copy = other.Copy();
        SysFreeString(m_str);
        m_str = copy;
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept
{
    if (this != std::addressof(other)) {
        SysFreeString(m_str);
        m_str = std::exchange(other.m_str, nullptr);
    }
    return *this;
}

CComBSTR& CComBSTR::operator=(std::string_view utf8)
{
    BSTR copy = platform::BstrFromUtf8(utf8);
    SysFreeString(m_str);
    m_str = copy;
    return *this;
}

CComBSTR& CComBSTR::operator=(const char* pszUtf8)
{
    BSTR copy = pszUtf8 ? platform::BstrFromUtf8(pszUtf8) : nullptr;
    SysFreeString(m_str);
    m_str = copy;
    return *this;
}

CComBSTR& CComBSTR::operator=(LPCOLESTR psz)
{
    if (psz != m_str) {
        BSTR copy = SysAllocString(psz);
        SysFreeString(m_str);
        m_str = copy;
    }
    return *this;
}

BSTR* CComBSTR::operator&() noexcept
{
    Empty();
    return &m_str;
}

BSTR CComBSTR::Copy() const
{
    if (!m_str)
        return nullptr;
    return SysAllocStringLen(m_str, SysStringLen(m_str));
}

HRESULT CComBSTR::CopyTo(BSTR* pbstr) const
{
    if (!pbstr)
        return E_POINTER;
    *pbstr = Copy();
    if (m_str && !*pbstr)
        return E_OUTOFMEMORY;
    return S_OK;
}

void CComBSTR::Attach(BSTR src) noexcept
{
    if (src != m_str) {
        SysFreeString(m_str);
        m_str = src;
    }
}

BSTR CComBSTR::Detach() noexcept
{
    return std::exchange(m_str, nullptr);
}

void CComBSTR::Empty() noexcept
{
    SysFreeString(m_str);
    m_str = nullptr;
}

HRESULT CComBSTR::Append(LPCOLESTR pch, UINT cch)
{
    if (cch == 0)
        return S_OK;
    if (!pch)
        return E_POINTER;
    UINT have = Length();
    if (cch > 0x3FFFFFFFu - have)
        return E_OUTOFMEMORY;
    BSTR joined = SysAllocStringLen(nullptr, have + cch);
    if (!joined)
        return E_OUTOFMEMORY;
    if (have)
        std::memcpy(joined, m_str, have * sizeof(OLECHAR));
    std::memcpy(joined + have, pch, cch * sizeof(OLECHAR));
    SysFreeString(m_str);
    m_str = joined;
    return S_OK;
}

HRESULT CComBSTR::Append(std::string_view utf8)
{
    std::u16string wide = platform::Utf8ToOleString(utf8);
    return Append(wide.data(), static_cast<UINT>(wide.size()));
}
