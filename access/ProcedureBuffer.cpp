#include "access/ProcedureBuffer.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace {

// The 16 bytes of a GUID as it lies in memory: the three numbers least
// significant byte first, then the eight bytes.
void WriteGuidBytes(const GUID& guid, BYTE* pOut)
{
    for (int i = 0; i < 4; ++i)
        pOut[i] = static_cast<BYTE>(guid.Data1 >> (8 * i));
    pOut[4] = LOBYTE(guid.Data2);
    pOut[5] = HIBYTE(guid.Data2);
    pOut[6] = LOBYTE(guid.Data3);
    pOut[7] = HIBYTE(guid.Data3);
    std::memcpy(pOut + 8, guid.Data4, 8);
}

}  // namespace

HRESULT CProcedureBuffer::Append(const GUID& guid, const BYTE* pData, DWORD nLength)
{
    if (nLength == 0)
        return S_OK;
    if (!pData)
        return E_POINTER;
    const bool bFirst = platform::IsNullGuid(m_guid);
    if (!bFirst && m_guid != guid)
        return E_UNEXPECTED;

    const unsigned long long nNeeded = static_cast<unsigned long long>(m_nUsed) + nLength + kHeaderSize;
    if (nNeeded > 0xFFFFFFFFull)
        return E_OUTOFMEMORY;
    if (m_arrBlock.size() < nNeeded) {
        const unsigned long long nSize = (nNeeded + kGrowStep - 1) / kGrowStep * kGrowStep;
        try {
            m_arrBlock.resize(static_cast<std::size_t>(nSize), 0);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::length_error&) {
            return E_OUTOFMEMORY;
        }
    }
    if (bFirst) {
        m_guid = guid;
        WriteGuidBytes(m_guid, m_arrBlock.data());
    }
    std::memcpy(m_arrBlock.data() + kHeaderSize + m_nUsed, pData, nLength);
    m_nUsed += nLength;
    return S_OK;
}
