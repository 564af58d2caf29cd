#include "platform/archive/Archive.h"

#include "platform/base/Cp1252.h"

#include <cstring>

const char* CArchiveException::what() const noexcept
{
    switch (m_cause) {
    case endOfFile:
        return "archive: unexpected end of file";
    case badFormat:
        return "archive: malformed data";
    case wrongMode:
        return "archive: wrong direction";
    }
    return "archive: failure";
}

CArchive::CArchive() : m_mode(store) {}

CArchive::CArchive(std::vector<std::uint8_t> bytes) : m_mode(load), m_bytes(std::move(bytes)) {}

void CArchive::RequireMode(Mode mode) const
{
    if (m_mode != mode)
        throw CArchiveException(CArchiveException::wrongMode);
}

void CArchive::Write(const void* data, std::size_t size)
{
    RequireMode(store);
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
    m_pos = m_bytes.size();
}

void CArchive::Read(void* data, std::size_t size)
{
    RequireMode(load);
    if (size > m_bytes.size() - m_pos)
        throw CArchiveException(CArchiveException::endOfFile);
    if (size)
        std::memcpy(data, m_bytes.data() + m_pos, size);
    m_pos += size;
}

namespace {

template <typename T>
void PutLE(CArchive& ar, T v)
{
    std::uint8_t b[sizeof(T)];
    auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        b[i] = static_cast<std::uint8_t>(u >> (8 * i));
    ar.Write(b, sizeof b);
}

}  // namespace

template <typename T>
T CArchive::ReadLE()
{
    // The checks of Read, in its order.
    RequireMode(load);
    if (sizeof(T) > m_bytes.size() - m_pos)
        throw CArchiveException(CArchiveException::endOfFile);
    const std::uint8_t* b = m_bytes.data() + m_pos;
    m_pos += sizeof(T);
    std::make_unsigned_t<T> u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        u = static_cast<std::make_unsigned_t<T>>(u | (static_cast<std::make_unsigned_t<T>>(b[i]) << (8 * i)));
    return static_cast<T>(u);
}


CArchive& CArchive::operator<<(BYTE v) { PutLE(*this, v); return *this; }
CArchive& CArchive::operator<<(WORD v) { PutLE(*this, v); return *this; }
CArchive& CArchive::operator<<(DWORD v) { PutLE(*this, v); return *this; }
CArchive& CArchive::operator<<(SHORT v) { PutLE(*this, v); return *this; }
CArchive& CArchive::operator<<(LONG v) { PutLE(*this, v); return *this; }
CArchive& CArchive::operator<<(char v) { PutLE(*this, static_cast<BYTE>(v)); return *this; }
CArchive& CArchive::operator<<(const std::string& utf8) { WriteString(utf8); return *this; }

CArchive& CArchive::operator>>(BYTE& v) { v = ReadLE<BYTE>(); return *this; }
CArchive& CArchive::operator>>(WORD& v) { v = ReadLE<WORD>(); return *this; }
CArchive& CArchive::operator>>(DWORD& v) { v = ReadLE<DWORD>(); return *this; }
CArchive& CArchive::operator>>(SHORT& v) { v = ReadLE<SHORT>(); return *this; }
CArchive& CArchive::operator>>(LONG& v) { v = ReadLE<LONG>(); return *this; }
CArchive& CArchive::operator>>(char& v) { v = static_cast<char>(ReadLE<BYTE>()); return *this; }
CArchive& CArchive::operator>>(std::string& utf8) { utf8 = ReadString(); return *this; }

void CArchive::WriteStringLength(std::uint32_t length)
{
    if (length < 0xFF) {
        *this << static_cast<BYTE>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
    }
}

std::uint32_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    BYTE b;
    *this >> b;
    if (b < 0xFF)
        return b;
    WORD w;
    *this >> w;
    if (w == 0xFFFE) {
        // Wide marker: the real prefix follows and counts UTF-16 units. A
        // second marker would be malformed.
        wide = true;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
        if (w == 0xFFFE)
            throw CArchiveException(CArchiveException::badFormat);
    }
    if (w < 0xFFFF)
        return w;
    DWORD d;
    *this >> d;
    return d;
}

void CArchive::WriteString(const std::string& utf8)
{
    std::string bytes = platform::Utf8ToCp1252Lossy(utf8);
    WriteStringLength(static_cast<std::uint32_t>(bytes.size()));
    Write(bytes.data(), bytes.size());
}

std::string CArchive::ReadString()
{
    bool wide = false;
    std::uint32_t length = ReadStringLength(wide);
    // Check the length against what is left before allocating, so a garbage
    // prefix cannot ask for gigabytes.
    std::uint64_t bytes = wide ? std::uint64_t(length) * 2 : length;
    if (bytes > m_bytes.size() - m_pos)
        throw CArchiveException(CArchiveException::endOfFile);
    if (!wide) {
        std::string raw(length, '\0');
        Read(raw.data(), length);
        return platform::Cp1252ToUtf8(raw);
    }
    std::u16string units(length, u'\0');
    for (auto& u : units)
        u = ReadLE<WORD>();
    return platform::Utf16ToUtf8(units);
}
