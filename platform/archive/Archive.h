#pragma once
// The binary archive of the data files: little-endian integers and the
// length-prefixed string form, strings stored as Windows-1252 bytes.
// Reading past the end or a malformed prefix throws CArchiveException, which
// the file boundary catches; nothing is ever read out of bounds.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class CArchiveException : public std::exception {
public:
    enum Cause { endOfFile = 1, badFormat = 2, wrongMode = 3 };
    explicit CArchiveException(Cause cause) : m_cause(cause) {}
    Cause GetCause() const { return m_cause; }
    const char* what() const noexcept override;

private:
    Cause m_cause;
};

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // A storing archive that collects bytes in memory.
    CArchive();
    // A loading archive over the given bytes.
    explicit CArchive(std::vector<std::uint8_t> bytes);

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }

    // Everything stored so far (storing) or the bytes read from (loading).
    const std::vector<std::uint8_t>& GetBuffer() const { return m_bytes; }
    std::size_t GetPosition() const { return m_pos; }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

    void Write(const void* data, std::size_t size);
    void Read(void* data, std::size_t size);

    CArchive& operator<<(BYTE v);
    CArchive& operator<<(WORD v);
    CArchive& operator<<(DWORD v);
    CArchive& operator<<(SHORT v);
    CArchive& operator<<(LONG v);
    CArchive& operator<<(char v);
    CArchive& operator<<(const std::string& utf8);

    CArchive& operator>>(BYTE& v);
    CArchive& operator>>(WORD& v);
    CArchive& operator>>(DWORD& v);
    CArchive& operator>>(SHORT& v);
    CArchive& operator>>(LONG& v);
    CArchive& operator>>(char& v);
    CArchive& operator>>(std::string& utf8);

    // The string form: text (UTF-8 inside) stored as Windows-1252 bytes; a
    // character without a Windows-1252 form is stored as '?'.
    void WriteString(const std::string& utf8);
    std::string ReadString();

    // Length prefixes, exposed for tests of the byte form.
    void WriteStringLength(std::uint32_t length);
    // The length and whether the string is in the wide (UTF-16) form.
    std::uint32_t ReadStringLength(bool& wide);

private:
    void RequireMode(Mode mode) const;
    // A little-endian value read as Read reads its bytes, without a call
    // per value: loads read thousands of them.
    template <typename T>
    T ReadLE();

    Mode m_mode;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};
