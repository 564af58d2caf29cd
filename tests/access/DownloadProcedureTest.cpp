#include "access/DownloadProcedure.h"

#include "tests/access/BusTestSupport.h"

#include <gtest/gtest.h>

using bustest::CLogCapture;
using Record = CDownloadProcedure::Record;

namespace {

Record MakeRecord(std::initializer_list<BYTE> bytes)
{
    Record record{};
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return record;
}

std::vector<BYTE> Counting(std::size_t nCount)
{
    std::vector<BYTE> arrData(nCount);
    for (std::size_t i = 0; i < nCount; ++i)
        arrData[i] = static_cast<BYTE>(0xA0 + i);
    return arrData;
}

}  // namespace

TEST(DownloadProcedure, MemoryBlockOfTwentyFiveBytes)
{
    CLogCapture log;
    CDownloadProcedure procedure;
    const std::vector<BYTE> arrData = Counting(25);
    EXPECT_EQ(procedure.WriteToMemory(arrData.data(), 0x4000, 25), 0);
    const std::vector<Record> arrExpected = {
        MakeRecord({0xF0, 3, 1}),
        MakeRecord({0x0A, 0x40, 0x00, 0x40, 0x09, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9}),
        MakeRecord({0x0A, 0x40, 0x0A, 0x40, 0x13, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3}),
        MakeRecord({0x0A, 0x40, 0x14, 0x40, 0x18, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8}),
    };
    EXPECT_EQ(procedure.GetRecords(), arrExpected);
    EXPECT_TRUE(log.Lines().Has(LOG_LEVEL_INFO, "WriteToMemory. Address: 0x00004014, EndAddress: 0x00004018"));
}

TEST(DownloadProcedure, BlockReachingTheEndOfTheAddressSpaceIsReported)
{
    CLogCapture log;
    CDownloadProcedure procedure;
    const std::vector<BYTE> arrData = Counting(16);
    EXPECT_EQ(procedure.WriteToMemory(arrData.data(), 0xFFF0, 15), 5);
    EXPECT_EQ(procedure.GetRecords(), (std::vector<Record>{MakeRecord({0xF0, 5, 0})}));
    EXPECT_TRUE(log.Lines().HasError("WriteToMemory. Block at 0x0000fff0"));
    // One byte shorter still fits.
    EXPECT_EQ(procedure.WriteToMemory(arrData.data(), 0xFFF0, 14), 0);
    EXPECT_EQ(procedure.GetRecords().size(), 4u);
    EXPECT_EQ(procedure.GetRecords()[3], MakeRecord({0x0A, 0xFF, 0xFA, 0xFF, 0xFD, 0xAA, 0xAB, 0xAC, 0xAD}));
}

TEST(DownloadProcedure, PropertyValueInTenElementRecords)
{
    CLogCapture log;
    CDownloadProcedure procedure;
    const std::vector<BYTE> arrData = Counting(12);
    procedure.WriteProperty(5, 202, arrData.data(), 12);
    const std::vector<Record> arrExpected = {
        MakeRecord({0x05, 5, 202, 0, 1, 10, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9}),
        MakeRecord({0x05, 5, 202, 0, 11, 2, 0xAA, 0xAB}),
    };
    EXPECT_EQ(procedure.GetRecords(), arrExpected);
    EXPECT_TRUE(log.Lines().Has(LOG_LEVEL_INFO, "WriteProperty. Index: 0x0000000b, Bytes to write: 0x00000002"));
}

TEST(DownloadProcedure, ControlRecordsAndSkippedRecords)
{
    CDownloadProcedure procedure;
    procedure.AddParameterControl(3, 4, 0x1234, 0x56);
    procedure.AddValue(0xBEEF);
    procedure.AddAddressRange(0xF0000, 0x1B6EA);
    const BYTE arrRaw[16] = {0x77, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    procedure.AddRawRecord(arrRaw);
    const BYTE arrZero[16] = {};
    procedure.AddRawRecord(arrZero);
    procedure.AddRecord(0xFF);
    procedure.AddRecord(0x0D);
    const BYTE arrShort[3] = {0xF0, 3, 1};
    procedure.AddRecord(arrShort, 3);
    const std::vector<Record> arrExpected = {
        MakeRecord({0xF0, 4, 4, 3, 4, 0x12, 0x34, 0x56}),
        MakeRecord({0x0D, 0xBE, 0xEF}),
        MakeRecord({0x39, 0x00, 0x00, 0xB6, 0xEA, 0xF1}),
        MakeRecord({0x77, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}),
        MakeRecord({0x0D}),
        MakeRecord({0xF0, 3, 1}),
    };
    EXPECT_EQ(procedure.GetRecords(), arrExpected);
}

TEST(DownloadProcedure, FinishFramesTheRecords)
{
    CDownloadProcedure empty;
    DWORD nCount = 0;
    const BYTE* pFlat = empty.Finish(nCount);
    ASSERT_EQ(nCount, 2u);
    std::vector<BYTE> arrExpected(32, 0);
    arrExpected[16] = 0xFF;
    EXPECT_EQ(std::vector<BYTE>(pFlat, pFlat + 32), arrExpected);

    CDownloadProcedure procedure;
    procedure.AddValue(0x0102);
    procedure.Finish(nCount);
    pFlat = procedure.Finish(nCount);  // again: the same, one end record
    ASSERT_EQ(nCount, 3u);
    EXPECT_EQ(pFlat[16], 0x0D);
    EXPECT_EQ(pFlat[18], 0x02);
    EXPECT_EQ(pFlat[32], 0xFF);
    EXPECT_EQ(procedure.GetRecords().size(), 1u);
}

TEST(ProcedureBuffer, AppendsBehindTheGuid)
{
    CDownloadProcedure procedure;
    const std::vector<BYTE> arrData = Counting(25);
    procedure.WriteToMemory(arrData.data(), 0x4000, 25);
    CProcedureBuffer buffer;
    ASSERT_EQ(procedure.AppendProcedure(buffer), S_OK);
    // 6 records (header, control, three writes, end) of 16 bytes.
    EXPECT_EQ(buffer.GetUsed(), 96u);
    EXPECT_EQ(buffer.GetBlockSize(), 4096u);
    EXPECT_EQ(buffer.GetGuid(), CDownloadProcedure::kProcedureGuid);
    const BYTE arrGuid[16] = {0xE0, 0xAD, 0x08, 0xA7, 0x6F, 0xC7, 0xD3, 0x11,
                              0xB2, 0x61, 0x00, 0x10, 0x4B, 0x09, 0x1E, 0x6B};
    EXPECT_TRUE(std::equal(std::begin(arrGuid), std::end(arrGuid), buffer.GetBlock()));
    EXPECT_EQ(buffer.GetBlock()[16], 0);        // zero header record
    EXPECT_EQ(buffer.GetBlock()[32], 0xF0);     // control step
    EXPECT_EQ(buffer.GetBlock()[16 + 80], 0xFF);  // end record
    EXPECT_EQ(buffer.GetBlock()[16 + 96], 0);     // zero beyond

    // A second procedure follows the first and the block grows in 4096-byte steps.
    std::vector<BYTE> arrMore(4100, 0x11);
    ASSERT_EQ(buffer.Append(CDownloadProcedure::kProcedureGuid, arrMore.data(), 4100), S_OK);
    EXPECT_EQ(buffer.GetUsed(), 4196u);
    EXPECT_EQ(buffer.GetBlockSize(), 8192u);
    EXPECT_EQ(buffer.GetBlock()[16 + 96], 0x11);
}

TEST(ProcedureBuffer, OtherGuidIsRefusedAndChangesNothing)
{
    CLogCapture log;
    CProcedureBuffer buffer;
    const BYTE arrData[4] = {1, 2, 3, 4};
    EXPECT_EQ(buffer.Append(CDownloadProcedure::kProcedureGuid, arrData, 0), S_OK);
    EXPECT_EQ(buffer.GetBlock(), nullptr);
    ASSERT_EQ(buffer.Append(CDownloadProcedure::kProcedureGuid, arrData, 4), S_OK);
    const std::vector<BYTE> arrBefore(buffer.GetBlock(), buffer.GetBlock() + buffer.GetBlockSize());

    constexpr GUID kOther = platform::MakeGuid("{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(buffer.Append(kOther, arrData, 4), E_UNEXPECTED);
    EXPECT_EQ(buffer.Append(CDownloadProcedure::kProcedureGuid, nullptr, 4), E_POINTER);
    EXPECT_EQ(buffer.GetUsed(), 4u);
    EXPECT_EQ(std::vector<BYTE>(buffer.GetBlock(), buffer.GetBlock() + buffer.GetBlockSize()), arrBefore);

    // A procedure appended to a buffer of another GUID reports the failure.
    CProcedureBuffer foreign;
    ASSERT_EQ(foreign.Append(kOther, arrData, 4), S_OK);
    CDownloadProcedure procedure;
    EXPECT_EQ(procedure.AppendProcedure(foreign), E_UNEXPECTED);
    EXPECT_TRUE(log.Lines().HasError("Couldnt append procedure. hr=8000FFFF"));
}
