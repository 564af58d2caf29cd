#include "access/DownloadProcedure.h"

#include "common/Log.h"

#include <algorithm>
#include <cstring>

void CDownloadProcedure::AddWriteMemory(WORD nStart, WORD nEnd, BYTE nCount, const BYTE* pData)
{
    Record record{};
    record[0] = OpWriteMemory;
    record[1] = HIBYTE(nStart);
    record[2] = LOBYTE(nStart);
    record[3] = HIBYTE(nEnd);
    record[4] = LOBYTE(nEnd);
    if (pData)
        std::memcpy(&record[5], pData, std::min(nCount, kMaxRecordData));
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddWriteProperty(BYTE nOpcode, BYTE nObjectIndex, BYTE nPropertyId, WORD nStartIndex,
                                          BYTE nElements, BYTE nBytes, const BYTE* pData)
{
    Record record{};
    record[0] = nOpcode;
    record[1] = nObjectIndex;
    record[2] = nPropertyId;
    record[3] = HIBYTE(nStartIndex);
    record[4] = LOBYTE(nStartIndex);
    record[5] = nElements;
    if (pData)
        std::memcpy(&record[6], pData, std::min(nBytes, kMaxRecordData));
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddControl(BYTE nByte0, BYTE nByte1, BYTE nByte2)
{
    Record record{};
    record[0] = nByte0;
    record[1] = nByte1;
    record[2] = nByte2;
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddParameterControl(BYTE nByte3, BYTE nByte4, WORD nValue, BYTE nByte7)
{
    Record record{};
    record[0] = OpControl;
    record[1] = 4;
    record[2] = 4;
    record[3] = nByte3;
    record[4] = nByte4;
    record[5] = HIBYTE(nValue);
    record[6] = LOBYTE(nValue);
    record[7] = nByte7;
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddValue(WORD nValue)
{
    Record record{};
    record[0] = OpValue;
    record[1] = HIBYTE(nValue);
    record[2] = LOBYTE(nValue);
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddAddressRange(DWORD nFirst, DWORD nSecond)
{
    Record record{};
    record[0] = OpAddressRange;
    record[1] = HIBYTE(LOWORD(nFirst));
    record[2] = LOBYTE(LOWORD(nFirst));
    record[3] = HIBYTE(LOWORD(nSecond));
    record[4] = LOBYTE(LOWORD(nSecond));
    record[5] = static_cast<BYTE>(((nFirst >> 16) & 0x0F) << 4 | ((nSecond >> 16) & 0x0F));
    m_arrRecords.push_back(record);
}

void CDownloadProcedure::AddRawRecord(const BYTE* pRecord)
{
    AddRecord(pRecord, kRecordSize);
}

void CDownloadProcedure::AddRecord(BYTE nFirst)
{
    AddRecord(&nFirst, 1);
}

void CDownloadProcedure::AddRecord(const BYTE* pBytes, std::size_t nCount)
{
    // A leading 0 would read as a header, a leading 0xFF as the end.
    if (!pBytes || nCount == 0 || pBytes[0] == 0 || pBytes[0] == OpEnd)
        return;
    Record record{};
    std::memcpy(record.data(), pBytes, std::min(nCount, kRecordSize));
    m_arrRecords.push_back(record);
}

int CDownloadProcedure::WriteToMemory(const BYTE* pData, DWORD nStart, DWORD nLength)
{
    const bool bBelowLimit = static_cast<unsigned long long>(nStart) + nLength < 0xFFFF;
    if (!bBelowLimit) {
        AddControl(OpControl, 5, 0);
        LOG_ERROR("WriteToMemory. Block at 0x%08lx of 0x%08lx bytes ends beyond 0xFFFE, data not added",
                  static_cast<unsigned long>(nStart), static_cast<unsigned long>(nLength));
        return 5;
    }
    AddControl(OpControl, 3, 1);
    if (!pData)
        return nLength == 0 ? 0 : 5;
    DWORD nAddress = nStart;
    for (DWORD nDone = 0; nDone < nLength;) {
        const BYTE nSize = static_cast<BYTE>(std::min<DWORD>(kMaxRecordData, nLength - nDone));
        const DWORD nEnd = nAddress + nSize - 1;
        AddWriteMemory(static_cast<WORD>(nAddress), static_cast<WORD>(nEnd), nSize, pData + nDone);
        LOG_INFO("WriteToMemory. Address: 0x%08lx, EndAddress: 0x%08lx", static_cast<unsigned long>(nAddress),
                 static_cast<unsigned long>(nEnd));
        nAddress += nSize;
        nDone += nSize;
    }
    return 0;
}

void CDownloadProcedure::WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, const BYTE* pData, DWORD nLength)
{
    if (!pData)
        return;
    DWORD nIndex = 1;
    for (DWORD nDone = 0; nDone < nLength;) {
        const BYTE nSize = static_cast<BYTE>(std::min<DWORD>(kMaxRecordData, nLength - nDone));
        AddWriteProperty(OpWriteProperty, nObjectIndex, nPropertyId, static_cast<WORD>(nIndex), nSize, nSize,
                         pData + nDone);
        LOG_INFO("WriteProperty. Index: 0x%08lx, Bytes to write: 0x%08lx", static_cast<unsigned long>(nIndex),
                 static_cast<unsigned long>(nSize));
        nIndex += nSize;
        nDone += nSize;
    }
}

const BYTE* CDownloadProcedure::Finish(DWORD& nCount)
{
    nCount = static_cast<DWORD>(m_arrRecords.size() + 2);
    m_arrFlat.assign(static_cast<std::size_t>(nCount) * kRecordSize, 0);
    BYTE* pOut = m_arrFlat.data() + kRecordSize;
    for (const Record& record : m_arrRecords) {
        std::memcpy(pOut, record.data(), kRecordSize);
        pOut += kRecordSize;
    }
    pOut[0] = OpEnd;
    return m_arrFlat.data();
}

HRESULT CDownloadProcedure::AppendProcedure(CProcedureBuffer& buffer)
{
    DWORD nCount = 0;
    const BYTE* pFlat = Finish(nCount);
    HRESULT hr = buffer.Append(kProcedureGuid, pFlat, nCount * static_cast<DWORD>(kRecordSize));
    if (FAILED(hr))
        LOG_ERROR("Couldnt append procedure. hr=%08X", static_cast<unsigned>(hr));
    return hr;
}
