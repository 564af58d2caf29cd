#pragma once
// A download procedure for a host that downloads devices itself: a list of
// 16-byte load-control records, byte 0 the opcode, unused bytes 0.
//
//   0x0A  write memory: 1-2 start, 3-4 end address (high byte first),
//         5-14 up to 10 data bytes
//   0x05  write property: 1 object index, 2 property id, 3-4 start index,
//         5 element count, 6-15 up to 10 data bytes (one per element)
//   0xF0  control step: 1-2 = 3, 1 ahead of a memory block that ends below
//         0xFFFF, 5, 0 otherwise; or 1-2 = 4, 4 with 3-4 two bytes, 5-6 a
//         16-bit value, 7 a byte
//   0x0D  control step with a 16-bit value in 1-2
//   0x39  address range: 1-2 and 3-4 the low 16 bits of two addresses,
//         5 their bits 16-19 (the first in the high nibble)
//   0xFF  end of procedure
//
// The flat form that Finish makes: 16 zero bytes, the records in order,
// one end record.

#include "access/ProcedureBuffer.h"
#include "platform/base/WinTypes.h"
#include "platform/com/ComTypes.h"

#include <array>
#include <vector>

class CDownloadProcedure
{
public:
    static constexpr std::size_t kRecordSize = 16;
    static constexpr BYTE kMaxRecordData = 10;
    using Record = std::array<BYTE, kRecordSize>;

    enum EOpcode : BYTE {
        OpWriteProperty = 0x05,
        OpWriteMemory = 0x0A,
        OpValue = 0x0D,
        OpAddressRange = 0x39,
        OpControl = 0xF0,
        OpEnd = 0xFF,
    };

    // The tag of a procedure in a procedure buffer.
    static constexpr GUID kProcedureGuid = platform::MakeGuid("{A708ADE0-C76F-11D3-B261-00104B091E6B}");

    CDownloadProcedure() = default;

    // Record emitters; each appends one record.
    void AddWriteMemory(WORD nStart, WORD nEnd, BYTE nCount, const BYTE* pData);
    void AddWriteProperty(BYTE nOpcode, BYTE nObjectIndex, BYTE nPropertyId, WORD nStartIndex, BYTE nElements,
                          BYTE nBytes, const BYTE* pData);
    void AddControl(BYTE nByte0, BYTE nByte1, BYTE nByte2);
    void AddParameterControl(BYTE nByte3, BYTE nByte4, WORD nValue, BYTE nByte7);
    void AddValue(WORD nValue);
    void AddAddressRange(DWORD nFirst, DWORD nSecond);
    // These three skip a record whose first byte is 0 or 0xFF.
    void AddRawRecord(const BYTE* pRecord);
    void AddRecord(BYTE nFirst);
    void AddRecord(const BYTE* pBytes, std::size_t nCount);

    // A memory block: its control step and write-memory records of up to 10
    // bytes. A block that would end at or beyond 0xFFFF has no 16-bit
    // form: it gets the control step 5, 0, no data records and an error in
    // the log, and gives 5 (else 0).
    int WriteToMemory(const BYTE* pData, DWORD nStart, DWORD nLength);
    // A property value in records of up to 10 elements, from index 1.
    void WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, const BYTE* pData, DWORD nLength);

    // The flat procedure and its record count (header and end included).
    // Valid until the next Finish or the builder's end.
    const BYTE* Finish(DWORD& nCount);
    // Finish, then the flat procedure into the buffer under kProcedureGuid.
    HRESULT AppendProcedure(CProcedureBuffer& buffer);

    const std::vector<Record>& GetRecords() const { return m_arrRecords; }

private:
    std::vector<Record> m_arrRecords;
    std::vector<BYTE> m_arrFlat;
};
