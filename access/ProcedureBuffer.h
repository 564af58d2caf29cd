#pragma once
// The buffer a download procedure is handed over in: a zero-initialised
// block that grows in steps of 4096 bytes, holding a 16-byte GUID (bytes
// 0..15, in the GUID's memory layout) followed by the bytes appended so far.
// Everything appended must be under the same GUID.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

#include <vector>

class CProcedureBuffer
{
public:
    static constexpr DWORD kGrowStep = 4096;
    static constexpr DWORD kHeaderSize = 16;

    CProcedureBuffer() = default;

    // S_OK (nothing changes for no bytes); E_UNEXPECTED under another GUID
    // than the first append's; E_OUTOFMEMORY when the block cannot grow;
    // E_POINTER for missing data. A failure leaves the buffer as it was.
    HRESULT Append(const GUID& guid, const BYTE* pData, DWORD nLength);

    const GUID& GetGuid() const { return m_guid; }
    // The block (null before the first append) and its size.
    const BYTE* GetBlock() const { return m_arrBlock.empty() ? nullptr : m_arrBlock.data(); }
    DWORD GetBlockSize() const { return static_cast<DWORD>(m_arrBlock.size()); }
    // Bytes appended behind the GUID.
    DWORD GetUsed() const { return m_nUsed; }

private:
    std::vector<BYTE> m_arrBlock;
    DWORD m_nUsed = 0;
    GUID m_guid;
};
