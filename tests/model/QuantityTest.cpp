#include "model/Quantity.h"
#include "common/ProgressInfo.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/model/QuantityTestSupport.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

using namespace quantitytest;

namespace {

class QuantityTest : public QuantityTestBase {
protected:
    // Quantity 1 of type 9 as the record golden case has it.
    CQuantity* FloatQuantity()
    {
        CQuantity* pQuantity = AddQuantity(9, 0);
        pQuantity->SetInitValue(0x0C1A);
        pQuantity->SetCondition(2);
        pQuantity->SetWarmStart(2);
        pQuantity->SetColdStart(1);
        return pQuantity;
    }
};

std::vector<CGroupDataAddress*> Triggers(const CQuantity& quantity)
{
    std::vector<CGroupDataAddress*> arrTriggers;
    TriggerPosition pos = quantity.GetFirstTriggerPosition();
    while (pos)
        arrTriggers.push_back(quantity.GetNextTrigger(pos));
    return arrTriggers;
}

}  // namespace

// ------------------------------------------------------------ parameter and device records

TEST_F(QuantityTest, ParameterRecordGoldenAndBack)
{
    CQuantity* pQuantity = FloatQuantity();
    EXPECT_EQ(pQuantity->ToParameterString(), "0100090000211a0c020000000003ffffffff00");

    CGroupDataAddress* pRequest = AddAddress(0x1001, 9, 0, 0x00120034, true);
    pQuantity->SetRangeA(0x0BB8);
    pQuantity->SetRangeB(0x1388);
    pQuantity->SetExponent(255);
    ASSERT_EQ(pQuantity->AddTriggerGroupAddress(pRequest, true), 1);
    const std::string strRecord = pQuantity->ToParameterString();
    EXPECT_EQ(strRecord, "0100090000211a0c02b80b8813ff" "0034001201");

    CQuantity* pCopy = AddQuantity(1);
    std::size_t pos = 2;
    ASSERT_EQ(pCopy->ExtractParameterData(strRecord, pos), 1);
    EXPECT_EQ(pos, CQuantity::kParameterLength);
    EXPECT_EQ(pCopy->GetMainType(), 9);
    EXPECT_EQ(pCopy->GetSubType(), 0);
    EXPECT_EQ(pCopy->GetWarmStart(), 2);
    EXPECT_EQ(pCopy->GetColdStart(), 1);
    EXPECT_EQ(pCopy->GetInitValue(), 0x0C1A);
    EXPECT_EQ(pCopy->GetCondition(), 2);
    EXPECT_EQ(pCopy->GetRangeA(), 0x0BB8);
    EXPECT_EQ(pCopy->GetRangeB(), 0x1388);
    EXPECT_EQ(pCopy->GetExponent(), 255);
    // The request is found, but becomes a trigger only with its link record.
    EXPECT_EQ(pCopy->GetRequestGroupAddress(), pRequest);
    EXPECT_EQ(pCopy->GetTriggerCount(false), 0);

    pos = 2;
    EXPECT_EQ(pCopy->ExtractParameterData(strRecord.substr(0, 30), pos), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "CQuantity::ExtractParameterData: empty data string"));
}

TEST_F(QuantityTest, DeviceRecordByType)
{
    CQuantity* pQuantity = FloatQuantity();
    pQuantity->SetRangeA(0x0BB8);
    pQuantity->SetRangeB(0x1388);
    BYTE arrRecord[10];
    std::fill(std::begin(arrRecord), std::end(arrRecord), 0xFF);
    // Without triggers the slot stays as it is.
    ASSERT_TRUE(pQuantity->FillDataBuffer(arrRecord, 10));
    EXPECT_EQ(Hex(arrRecord, 10), "FF FF FF FF FF FF FF FF FF FF");

    pQuantity->AddTriggerGroupAddress(AddAddress(0x1001, 9, 0, 1), false);
    pQuantity->SetTriggerObjectNumber(4);
    ASSERT_TRUE(pQuantity->FillDataBuffer(arrRecord, 10));
    EXPECT_EQ(Hex(arrRecord, 10), "04 07 21 1A 0C 02 B8 0B 88 13");

    CQuantity* pTime = AddQuantity(10);
    pTime->SetInitValue(0x1234);
    pTime->AddTriggerGroupAddress(AddAddress(0x1002, 10, 1, 2), false);
    pTime->SetTriggerObjectNumber(5);
    std::fill(std::begin(arrRecord), std::end(arrRecord), 0xEE);
    ASSERT_TRUE(pTime->FillDataBuffer(arrRecord, 10));
    EXPECT_EQ(Hex(arrRecord, 10), "05 00 00 EE EE 00 EE EE EE EE");

    CQuantity* pByte = AddQuantity(5);
    pByte->SetInitValue(0x1234);
    pByte->AddTriggerGroupAddress(AddAddress(0x1003, 5, 1, 3), false);
    ASSERT_TRUE(pByte->FillDataBuffer(arrRecord, 10));
    EXPECT_EQ(Hex(arrRecord, 5), "FF 03 00 34 00");

    EXPECT_FALSE(pQuantity->FillDataBuffer(arrRecord, 9));
    EXPECT_FALSE(pQuantity->FillDataBuffer(nullptr, 10));
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_ERROR, "invalid buffer"));
}

// ------------------------------------------------------------ triggers and members

TEST_F(QuantityTest, TriggersMustMatchTheMainTypeAndBeFree)
{
    CQuantity* pByte = AddQuantity(5, 1);
    CGroupDataAddress* pPercent = AddAddress(0x1001, 5, 10, 1);
    EXPECT_EQ(pByte->AddTriggerGroupAddress(pPercent, false), 1);
    EXPECT_EQ(pPercent->GetUseCount(0x80), 1);
    EXPECT_TRUE(pPercent->HasUsage(GAU_QUANTITY_TRIGGER));

    CQuantity* pFloat = AddQuantity(9, 0);
    EXPECT_EQ(pFloat->AddTriggerGroupAddress(pPercent, false), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING,
                              "Trying to add TriggerGda of wrong type ( 5.10 expected 9.0 ) to Quantity"));

    EXPECT_EQ(pByte->AddTriggerGroupAddress(pPercent, false), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "Trying to add TriggerGda to Quantity, which is already in list"));

    CGroupDataAddress* pRoutine = AddAddress(0x1002, 5, 1, 2);
    pRoutine->AddUse(GAU_DAYROUTINE_TRIGGER);
    EXPECT_EQ(pByte->AddTriggerGroupAddress(pRoutine, false), 0);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "already used as a day routine trigger"));
    EXPECT_EQ(pByte->AddTriggerGroupAddress(nullptr, false), 0);

    // One address may trigger several quantities.
    CQuantity* pOther = AddQuantity(5, 10);
    EXPECT_EQ(pOther->AddTriggerGroupAddress(pPercent, true), 1);
    EXPECT_EQ(pPercent->GetUseCount(0x80), 2);
    EXPECT_EQ(pOther->GetRequestGroupAddress(), pPercent);
    EXPECT_EQ(Quantities().GetTriggerObjectNumbers(pPercent).size(), 2u);
}

TEST_F(QuantityTest, RemovingTriggersMovesTheRequestAndDestroysUnusedInvalidAddresses)
{
    CQuantity* pQuantity = AddQuantity(1);
    CGroupDataAddress* pFirst = AddAddress(0x1001, 1, 1, 1);
    CGroupDataAddress* pSecond = AddAddress(0x1002, 1, 1, 2);
    CGroupDataAddress* pInvalid = AddAddress(0x1003, 1, 1, 3, true);
    pQuantity->AddTriggerGroupAddress(pFirst, true);
    pQuantity->AddTriggerGroupAddress(pSecond, false);
    pQuantity->AddTriggerGroupAddress(pInvalid, false);
    EXPECT_EQ(pQuantity->GetTriggerCount(false), 3);
    EXPECT_EQ(pQuantity->GetTriggerCount(true), 2);
    TriggerPosition at = pQuantity->FindTrigger(pSecond);
    ASSERT_TRUE(at);
    EXPECT_EQ(pQuantity->GetNextTrigger(at), pSecond);
    EXPECT_FALSE(pQuantity->FindTrigger(AddAddress(0x1004, 1, 1, 4)));

    CGroupDataAddress* pRemoved = pFirst;
    pQuantity->RemoveTriggerGroupAddress(pRemoved);
    EXPECT_EQ(pRemoved, pFirst);  // valid addresses stay
    EXPECT_EQ(pQuantity->GetRequestGroupAddress(), pSecond);
    EXPECT_FALSE(pFirst->HasUsage(GAU_ANY));
    EXPECT_EQ(pQuantity->SetRequestGroupAddress(pFirst), 0);

    // Not a trigger: nothing changes.
    pQuantity->RemoveTriggerGroupAddress(pRemoved);
    EXPECT_TRUE(m_capture.Has(LOG_LEVEL_WARNING, "which is not in list"));

    CGroupDataAddress* pGone = pInvalid;
    pQuantity->RemoveTriggerGroupAddress(pGone);
    EXPECT_EQ(pGone, nullptr);
    EXPECT_EQ(Lists().GetCount(true), 0);
    EXPECT_EQ(Triggers(*pQuantity), (std::vector<CGroupDataAddress*> {pSecond}));

    pQuantity->RemoveAllTriggers();
    EXPECT_EQ(pQuantity->GetRequestGroupAddress(), nullptr);
    EXPECT_EQ(pQuantity->GetTriggerCount(false), 0);
    EXPECT_FALSE(pSecond->HasUsage(GAU_ANY));
}

TEST_F(QuantityTest, MembersShareTheLimitAndGiveTheirAddressBack)
{
    CQuantity* pFirst = AddQuantity(1);
    CQuantity* pSecond = AddQuantity(1);
    CGroupDataAddress* pValid = AddAddress(0x1001, 1, 1, 1);
    CGroupDataAddress* pInvalid = AddAddress(0x1002, 1, 1, 2, true);
    CQuantityMember* pKept = AddMember(pFirst, pValid, 1);
    CQuantityMember* pDropped = AddMember(pFirst, pInvalid, 1);
    EXPECT_TRUE(pFirst->HasMember(pValid));
    EXPECT_FALSE(pSecond->HasMember(pValid));

    pFirst->DeleteMember(pDropped);
    // The address is gone, and the member no longer names it.
    EXPECT_EQ(pDropped->GetGroupAddress(), nullptr);
    EXPECT_EQ(Lists().GetCount(true), 0);
    delete pDropped;
    pFirst->DeleteMember(pKept);
    EXPECT_EQ(pKept->GetGroupAddress(), pValid);
    EXPECT_FALSE(pValid->HasUsage(GAU_QUANTITY_MEMBER));
    EXPECT_EQ(Lists().GetCount(false), 1);
    delete pKept;

    for (int i = 0; i < 299; ++i)
        ASSERT_NE(pFirst->CreateMember(), nullptr);
    EXPECT_NE(pSecond->CreateMember(), nullptr);
    EXPECT_EQ(pSecond->CreateMember(), nullptr);
    EXPECT_EQ(Quantities().GetTotalMemberCount(), 300);
    pFirst->DeleteAllMembers();
    EXPECT_EQ(Quantities().GetTotalMemberCount(), 1);
}

// ------------------------------------------------------------ texts

TEST_F(QuantityTest, CodeTextsAndColumns)
{
    CQuantity* pQuantity = FloatQuantity();
    EXPECT_EQ(pQuantity->GetConditionText(), "A< >B");
    EXPECT_EQ(pQuantity->GetWarmStartText(), "RAM");
    EXPECT_EQ(pQuantity->GetColdStartText(), "Init");
    pQuantity->SetCondition(3);
    pQuantity->SetWarmStart(1);
    pQuantity->SetColdStart(2);
    EXPECT_EQ(pQuantity->GetConditionText(), "undefiniert");
    EXPECT_EQ(pQuantity->GetWarmStartText(), "undefined");
    EXPECT_EQ(pQuantity->GetColdStartText(), "undefined");
    EXPECT_FALSE(pQuantity->ReadsValueFromBus());
    pQuantity->SetColdStart(0);
    EXPECT_TRUE(pQuantity->ReadsValueFromBus());

    CGroupDataAddress* pAddress = AddAddress(0x1203, 9, 0, 1, false, "Temp");
    pQuantity->AddTriggerGroupAddress(pAddress, true);
    EXPECT_EQ(pQuantity->GetTriggerColumnText(pAddress, 0), "Temp");
    EXPECT_EQ(pQuantity->GetTriggerColumnText(pAddress, 1), "01/02/0003");
    EXPECT_EQ(pQuantity->GetTriggerColumnText(pAddress, 2), "2 Byte Gleitkommazahl");
    EXPECT_EQ(pQuantity->GetTriggerColumnText(pAddress, 3), "X");
    EXPECT_EQ(pQuantity->GetTriggerColumnText(nullptr, 0), "-");

    CQuantityMember* pMember = AddMember(pQuantity, pAddress, 0x0C1A, 1, true);
    // 0x0C1A: exponent 1, mantissa 1050.
    EXPECT_EQ(CQuantity::GetMemberColumnText(pMember, 3), "21,00");
    EXPECT_EQ(CQuantity::GetMemberColumnText(pMember, 4), "B");
    EXPECT_EQ(CQuantity::GetMemberColumnText(pMember, 5), "Ja");
    EXPECT_EQ(CQuantity::GetMemberColumnText(nullptr, 0), "-");
    EXPECT_EQ(CQuantity::GetMemberColumnText(AddMember(pQuantity, nullptr, 0), 4), "");
}

TEST_F(QuantityTest, ExportBlocksAppearOnlyWithContent)
{
    CQuantity* pQuantity = FloatQuantity();
    pQuantity->SetName("Temp \"Süd\"");
    pQuantity->SetRangeA(0x0BB8);
    pQuantity->SetRangeB(0x1388);
    std::string strFile;
    pQuantity->WriteCsvLine(strFile);
    pQuantity->WriteCsvTriggers(strFile);
    pQuantity->WriteCsvMembers(nullptr, strFile);
    EXPECT_EQ(strFile, "\"01\",\"Temp \"\"Süd\"\"\",\"2 Byte Gleitkommazahl\",\"bis 19,04\",\"ab 36,16\","
                       "\"A< >B\",\"RAM\",\"Init\",\"21,00\"\n");

    CGroupDataAddress* pRequest = AddAddress(0x1001, 9, 0, 1, false, "A");
    CGroupDataAddress* pOther = AddAddress(0x1002, 9, 0, 2, false, "B");
    pQuantity->AddTriggerGroupAddress(pRequest, true);
    pQuantity->AddTriggerGroupAddress(pOther, false);
    AddMember(pQuantity, pOther, 0x0C1A);
    strFile.clear();
    pQuantity->WriteCsvTriggers(strFile);
    CProgressInfo progress(0);
    progress.SetRange(0, 100);
    pQuantity->WriteCsvMembers(&progress, strFile);
    EXPECT_EQ(strFile, "\"Auslöser der Menge Temp \"\"Süd\"\"\"\n"
                       "\"Gruppenadresse\",\"Nr\",\"Typ\",\"Abfrage\"\n" +
                           pRequest->ToCsvLine(false) + ",\"Ja\"\n" + pOther->ToCsvLine(false) +
                           ",\"Nein\"\n"
                           "\"Mitglieder der Menge Temp \"\"Süd\"\"\"\n"
                           "\"Gruppenadresse\",\"Nr\",\"Typ\",\"Wert\",\"Bereich\",\"SbÄ\"\n" +
                           pOther->ToCsvLine(false) + ",\"21,00\",\"A\",\"Nein\"\n");
    EXPECT_EQ(progress.GetPosition(), 1u);
}

TEST_F(QuantityTest, TriggerAndMemberReportTables)
{
    CQuantity* pQuantity = FloatQuantity();
    CGroupDataAddress* pAddress = AddAddress(0x1001, 9, 0, 1, false, "Temp");
    pQuantity->AddTriggerGroupAddress(pAddress, true);
    AddMember(pQuantity, pAddress, 0x0C1A, 1);

    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    pQuantity->AddTriggerReport(&report, &dc, 19000);
    pQuantity->AddMemberReport(&report, &dc, 19000);
    CReportGroup* pBody = report.GetBodyGroup();
    auto text = [&](int nLine, int nCell) {
        return dynamic_cast<CReportCellLabel*>(pBody->GetAt(nLine)->GetCell(nCell))->GetText();
    };
    // Two sections of title, gap, headings, gap and one row.
    ASSERT_EQ(pBody->GetCount(), 10);
    EXPECT_EQ(text(0, 0), "Auslöser der Menge Q1");
    EXPECT_EQ(pBody->GetAt(2)->GetCellCount(), 4);
    EXPECT_EQ(text(4, 3), "X");
    EXPECT_EQ(text(5, 0), "Mitglieder der Menge Q1");
    EXPECT_EQ(pBody->GetAt(7)->GetCellCount(), 6);
    EXPECT_EQ(text(9, 3), "21,00");
    EXPECT_EQ(text(9, 4), "B");
    EXPECT_EQ(text(9, 5), "Nein");
}

// ------------------------------------------------------------ data file

TEST_F(QuantityTest, ArchiveRecordsOfOlderSchemas)
{
    CGroupDataAddress* pRaw = AddAddress(0x1001, 1, 1, 0x64);
    CGroupDataAddress* pInvalid = AddAddress(0x1001, 1, 1, 0x65, true);
    const Bytes arrHead = {0x01, 'Q', 0x02, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00};
    const Bytes arrCodes = {0x01, 0x00, 0x03, 0x00, 0x03, 0x00, 0x01, 0x00};
    auto load = [&](DWORD nSchema, const Bytes& arrMiddle, const Bytes& arrTail) {
        CSchemaGuard schema(nSchema);
        Bytes bytes = arrHead;
        bytes.insert(bytes.end(), arrMiddle.begin(), arrMiddle.end());
        bytes.insert(bytes.end(), arrCodes.begin(), arrCodes.end());
        bytes.insert(bytes.end(), arrTail.begin(), arrTail.end());
        CQuantity* pQuantity = AddQuantity(1);
        CArchive ar(bytes);
        pQuantity->LoadFromArchive(ar);
        EXPECT_TRUE(ar.AtEnd());
        EXPECT_EQ(pQuantity->GetNumber(), 2);
        EXPECT_EQ(pQuantity->GetInitValue(), 1);
        return pQuantity;
    };

    // 0x10000: no request, no exponent, no object number.
    CQuantity* pOld = load(0x10000, {0x01, 0x00, 0x00, 0x00, 0x01, 0x10}, {0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(Triggers(*pOld), (std::vector<CGroupDataAddress*> {pRaw}));
    EXPECT_EQ(pOld->GetRequestGroupAddress(), nullptr);
    EXPECT_EQ(pOld->GetExponent(), 3);
    EXPECT_EQ(pOld->GetTriggerObjectNumber(), 255);
    Quantities().DeleteQuantity(pOld);
    delete pOld;

    // 0x10003: raw request and trigger addresses.
    CQuantity* pRawForm =
        load(0x10003, {0x01, 0x10, 0x01, 0x00, 0x00, 0x00, 0x01, 0x10}, {0x05, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00});
    EXPECT_EQ(pRawForm->GetRequestGroupAddress(), pRaw);
    EXPECT_EQ(pRawForm->GetExponent(), 5);
    EXPECT_EQ(pRawForm->GetTriggerObjectNumber(), 4);
    Quantities().DeleteQuantity(pRawForm);
    delete pRawForm;

    // 0x10005: references with their list flag.
    CQuantity* pFlagged = load(0x10005,
                               {0x65, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x65, 0x00, 0x00, 0x00, 0x01, 0x00},
                               {0x05, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00});
    EXPECT_EQ(Triggers(*pFlagged), (std::vector<CGroupDataAddress*> {pRaw, pInvalid}));
    EXPECT_EQ(pFlagged->GetRequestGroupAddress(), pInvalid);
    Quantities().DeleteQuantity(pFlagged);
    delete pFlagged;

    // 0x10004: no flags; -1 is no request.
    CQuantity* pPlain = load(0x10004, {0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00},
                             {0x05, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00});
    EXPECT_EQ(Triggers(*pPlain), (std::vector<CGroupDataAddress*> {pRaw}));
    EXPECT_EQ(pPlain->GetRequestGroupAddress(), nullptr);
}
