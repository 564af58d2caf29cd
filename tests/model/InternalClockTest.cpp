#include "tests/model/SwitchProgramTestSupport.h"

#include "access/DownloadProcedure.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "access/ObjectLinkTable.h"
#include "model/InternalClock.h"
#include "common/ProgressInfo.h"
#include "platform/archive/Archive.h"
#include "platform/host/HostObjects.h"
#include "platform/host/HostState.h"
#include "report/ParamReport.h"
#include "report/ParamReportLine.h"
#include "report/ReportCellLabel.h"
#include "tests/report/FakeReportDC.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using switchtest::Bytes;
using switchtest::CSchemaGuard;
using switchtest::SwitchProgramTest;

namespace {

constexpr const char* kFreshText =
    "ff0000ffffffff00000000ffffffff00000000ffffffff0000000000000000ffffffff0000000000";

class InternalClockTest : public SwitchProgramTest {
protected:
    void TearDown() override
    {
        g_mapDeviceParameters.RemoveAll();
        SwitchProgramTest::TearDown();
    }

    CInternalClock& Clock() { return *m_chronoset.GetInternalClock(); }

    static CGroupDataAddress* NewAddress(LONG nReference, LONG nAddress, int nType, int nSubType,
                                         const std::string& strName)
    {
        auto* pAddress = new CGroupDataAddress;
        pAddress->SetReference(nReference);
        pAddress->SetAddress(nAddress);
        pAddress->SetType({nType, nSubType});
        pAddress->SetName(strName);
        return pAddress;
    }

    // Host parameters 1..9 for the clock's nine writes.
    void AddHostParameters()
    {
        m_pState = std::make_shared<platform::host::CHostState>();
        for (LONG nId = 1; nId <= 9; ++nId) {
            auto pNode = std::make_shared<platform::host::HostParameter>();
            pNode->nId = nId;
            pNode->value = std::string("old");
            IEtsDeviceParameter* pView = nullptr;
            ASSERT_EQ(platform::host::CreateParameterView(m_pState, pNode, &pView), S_OK);
            g_mapDeviceParameters.SetAt(nId, pView);
            pView->Release();
            m_mapNodes[nId] = pNode;
        }
        Clock().SetParameterText(1, "");
        Clock().SetDateVisibilityId(2);
        Clock().SetTimeVisibilityId(3);
        Clock().SetRequestVisibilityId(4);
        Clock().SetLockVisibilityId(5);
        Clock().SetDateDisplayName(6, "");
        Clock().SetTimeDisplayName(7, "");
        Clock().SetRequestDisplayName(8, "");
        Clock().SetLockDisplayName(9, "");
    }
    platform::host::HostValue Value(LONG nId) { return m_mapNodes.at(nId)->value; }

    std::shared_ptr<platform::host::CHostState> m_pState;
    std::map<LONG, std::shared_ptr<platform::host::HostParameter>> m_mapNodes;
};

using platform::host::HostValue;

}  // namespace

TEST_F(InternalClockTest, FreshClockSavesItsDefaults)
{
    AddHostParameters();
    EXPECT_EQ(Clock().BuildParameterText(), kFreshText);
    CEtsDataAccess access;
    EXPECT_EQ(Clock().SaveToEts(nullptr, &access), 0);
    EXPECT_EQ(Value(1), HostValue(std::string(kFreshText)));
    for (LONG nId = 2; nId <= 5; ++nId)
        EXPECT_EQ(Value(nId), HostValue(LONG {0})) << nId;
    for (LONG nId = 6; nId <= 9; ++nId)
        EXPECT_EQ(Value(nId), HostValue(std::string())) << nId;
}

TEST_F(InternalClockTest, SaveWritesNamesVisibilitiesAndStopsAtTheFirstFailure)
{
    AddHostParameters();
    Clock().SetMode(4);
    Clock().SetSendHour(23);
    Clock().SetSendMinute(59);
    Clock().SetInactiveTime(5, 30);
    Clock().SetLockPolarity(7);
    Clock().SetTimeGroupAddress(NewAddress(0x00010002, 0x1001, 10, 1, "Zeit"));
    Clock().SetLockGroupAddress(NewAddress(0x12345678, 0x1004, 1, 1, "Sperre"));
    CEtsDataAccess access;
    ASSERT_EQ(Clock().SaveToEts(nullptr, &access), 0);
    EXPECT_EQ(Value(1), HostValue(std::string("043b17"
                                              "00020001000a0001"
                                              "ffffffff00000000"
                                              "ffffffff00000000"
                                              "0005001e"
                                              "5678123400010001"
                                              "01")));
    EXPECT_EQ(Value(2), HostValue(LONG {1}));
    EXPECT_EQ(Value(5), HostValue(LONG {1}));
    EXPECT_EQ(Value(7), HostValue(std::string("Zeit")));
    EXPECT_EQ(Value(9), HostValue(std::string("Sperre")));

    // Step 3 fails: the later steps are not written.
    m_mapNodes[4]->value = std::string("untouched");
    m_pState->m_faults.push_back(platform::host::HostFault {"DeviceParameter:3", "put_Value", E_FAIL, 0, 0});
    EXPECT_EQ(Clock().SaveToEts(nullptr, &access), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to set time object visibility"));
    EXPECT_EQ(Value(4), HostValue(std::string("untouched")));
}

TEST_F(InternalClockTest, LoadReadsEveryFieldAndKeepsUnknownModes)
{
    // Mode 7, send 00:05, a time address, inactive 1:02, no lock address but
    // polarity 1 at offset 78.
    Clock().SetTimeDisplayName(7, "Uhrzeit-Name");
    Clock().SetParameterText(1, "070500"
                                "00020001000a0001"
                                "ffffffff00000000"
                                "ffffffff00000000"
                                "00010002"
                                "ffffffff00000000"
                                "01");
    EXPECT_EQ(Clock().CompleteEtsLoad(nullptr, nullptr), 0);
    EXPECT_EQ(Clock().GetMode(), 7);
    EXPECT_EQ(Clock().GetModeText(), "intern");
    EXPECT_EQ(Clock().GetSendMinute(), 5);
    EXPECT_EQ(Clock().GetInactiveHour(), 1);
    EXPECT_EQ(Clock().GetInactiveMinute(), 2);
    EXPECT_EQ(Clock().GetLockAddress(), nullptr);
    EXPECT_EQ(Clock().GetLockPolarity(), 1);
    EXPECT_EQ(Clock().GetLoadedLockPolarity(), 1);
    ASSERT_NE(Clock().GetTimeGroupAddress(), nullptr);
    EXPECT_EQ(Clock().GetTimeGroupAddress()->GetReference(), 0x00010002);
    EXPECT_EQ(Clock().GetTimeGroupAddress()->GetObjectType(), 10);
    EXPECT_EQ(Clock().GetTimeGroupAddress()->GetSubType(), 1);
    EXPECT_EQ(Clock().GetTimeGroupAddress()->GetName(), "Uhrzeit-Name");
    // Mode 7 goes back out as 7.
    EXPECT_EQ(Clock().BuildParameterText().substr(0, 2), "07");
    ASSERT_TRUE(Clock().InitDownload(nullptr));
    EXPECT_EQ(Bytes(Clock().GetDownloadBlock(), Clock().GetDownloadBlock() + 3), (Bytes {0x07, 0x05, 0x00}));
    Clock().ExitDownload();
    EXPECT_EQ(Clock().GetDownloadBlock(), nullptr);

    // 79 digits: the polarity comes from the one digit left.
    CInternalClock other;
    other.SetChronoset(&m_chronoset);
    other.SetParameterText(1, std::string(kFreshText).substr(0, 78) + "1");
    EXPECT_EQ(other.CompleteEtsLoad(nullptr, nullptr), 0);
    EXPECT_EQ(other.GetLockPolarity(), 1);
}

TEST_F(InternalClockTest, ShortTextFailsAndDropsTheAddresses)
{
    Clock().SetParameterText(1, "040000"
                                "00020001000a0001"
                                "ffffffff00000000"
                                "ffffffff00000000"
                                "0001");
    EXPECT_EQ(Clock().CompleteEtsLoad(nullptr, nullptr), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "CInternalClock::CompleteEtsLoad: empty data string"));
    EXPECT_EQ(Clock().GetTimeGroupAddress(), nullptr);
    EXPECT_EQ(Clock().GetMode(), 4);  // fields read before stay
    EXPECT_EQ(Clock().GetInactiveHour(), 1);

    CInternalClock orphan;
    orphan.SetParameterText(1, kFreshText);
    EXPECT_EQ(orphan.CompleteEtsLoad(nullptr, nullptr), 5);
    // An empty text keeps the defaults.
    Clock().SetParameterText(1, "");
    EXPECT_EQ(Clock().CompleteEtsLoad(nullptr, nullptr), 0);
}

TEST_F(InternalClockTest, ObjectWordsAndAssociations)
{
    std::vector<WORD> arrAssociations;
    std::vector<WORD> arrObjects;
    Clock().SetMode(0);
    CGroupDataAddress* pTime = NewAddress(1, 0x1001, 10, 1, "Zeit");
    pTime->SetAddressTableIndex(3);
    Clock().SetTimeGroupAddress(pTime);
    EXPECT_EQ(Clock().BuildAssociations(arrAssociations, arrObjects), 1);
    EXPECT_EQ(arrObjects, (std::vector<WORD> {0x5B00, 0x5309, 0x5709, 0x5B00}));
    EXPECT_EQ(arrAssociations, (std::vector<WORD> {0x03FC}));

    // Internal mode: only the lock object is linked.
    arrAssociations.clear();
    arrObjects.clear();
    Clock().SetMode(255);
    CGroupDataAddress* pLock = NewAddress(2, 0x1002, 1, 1, "Sperre");
    pLock->SetAddressTableIndex(5);
    Clock().SetLockGroupAddress(pLock);
    Clock().BuildAssociations(arrAssociations, arrObjects);
    EXPECT_EQ(arrObjects, (std::vector<WORD> {0x5B00, 0x5309, 0x5309, 0x5F00}));
    EXPECT_EQ(arrAssociations, (std::vector<WORD> {0x05FD}));
    EXPECT_TRUE(Clock().HasObjectsInUse());
    EXPECT_EQ(Clock().FindGroupAddress(0x1002), pLock);
    EXPECT_EQ(Clock().FindGroupAddress(0x1001), pTime);
    EXPECT_EQ(Clock().FindGroupAddress(0x1003), nullptr);

    // An address without table index gives no association word.
    arrAssociations.clear();
    arrObjects.clear();
    pLock->SetAddressTableIndex(-1);
    Clock().BuildAssociations(arrAssociations, arrObjects);
    EXPECT_TRUE(arrAssociations.empty());
}

TEST_F(InternalClockTest, ObjectLinksAndTheLockPolarityRebuild)
{
    Clock().SetMode(2);
    Clock().SetTimeObjectId(52);
    Clock().SetLockObjectId(53);
    Clock().SetTimeGroupAddress(NewAddress(11, 0x1001, 10, 1, "Zeit"));
    Clock().SetLockGroupAddress(NewAddress(12, 0x1002, 1, 1, "Sperre"));
    CObjectLinkTable links;
    EXPECT_EQ(Clock().CollectObjectLinks(links), 0);
    ASSERT_EQ(links.GetCount(), 2);
    EXPECT_EQ(links.GetObjectId(0), 52);
    EXPECT_EQ(links.GetLink(0)->m_nObjectNumber, 252);
    EXPECT_EQ(links.GetLink(1)->m_nObjectNumber, 253);
    EXPECT_EQ(links.GetLink(1)->m_arrGroupAddresses.at(0).m_nReference, 12);

    // The old table lists the lock object first; with a changed polarity its
    // record is rebuilt unconfirmed at the end. The host has no such objects
    // here, so linking fails, at the time object first.
    CObjectLinkTable old;
    auto pLock = std::make_unique<CObjectLink>(WORD {253});
    pLock->AddGroupAddress(12, 1);
    old.Add(53, std::move(pLock));
    auto pTime = std::make_unique<CObjectLink>(WORD {252});
    pTime->AddGroupAddress(11, 1);
    old.Add(52, std::move(pTime));
    Clock().SetMode(255);
    Clock().SetLockPolarity(1);
    CEtsDataAccess access;
    EXPECT_EQ(Clock().LinkObjectsWithTable(&access, old), 5);
    EXPECT_TRUE(m_log.Has(LOG_LEVEL_ERROR, "failed to link LockTimeProgram object"));
    ASSERT_EQ(old.GetCount(), 2);
    EXPECT_EQ(old.GetObjectId(0), 52);
    EXPECT_EQ(old.GetObjectId(1), 53);
    EXPECT_EQ(old.GetLink(1)->m_arrGroupAddresses.at(0).m_nFlag, 0);
    EXPECT_EQ(old.GetLink(0)->m_arrGroupAddresses.at(0).m_nFlag, 1);
}

TEST_F(InternalClockTest, ArchiveRecordBySchema)
{
    Clock().SetMode(3);
    Clock().SetSendMinute(15);
    Clock().SetInactiveTime(2, 3);
    Clock().SetLockPolarity(1);
    Clock().SetTimeGroupAddress(NewAddress(11, 0x1001, 10, 1, "Z"));
    CArchive ar;
    Clock().StoreToArchive(ar, nullptr);
    Bytes expected {0x03, 0x00, 0x01, 0x00, 0x01, 'Z', 0x01, 0x10, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00, 0xFF, 0xFF,
                    0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x02, 0x00,
                    0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00};
    EXPECT_EQ(ar.GetBuffer(), expected);

    CInternalClock loaded;
    CArchive in(ar.GetBuffer());
    loaded.LoadFromArchive(in, nullptr);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_NE(loaded.GetTimeGroupAddress(), nullptr);
    EXPECT_EQ(loaded.GetTimeGroupAddress()->GetReference(), -1);
    EXPECT_EQ(loaded.GetTimeGroupAddress()->GetAddress(), 0x1001);
    EXPECT_EQ(loaded.GetInactiveMinute(), 3);
    EXPECT_EQ(loaded.GetLoadedLockPolarity(), 1);

    // Schema 0x10001: no request address, inactive time, polarity or lock.
    CSchemaGuard schema(0x10001);
    CInternalClock old;
    CArchive oldIn(Bytes {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x08, 0x00});
    old.LoadFromArchive(oldIn, nullptr);
    EXPECT_TRUE(oldIn.AtEnd());
    EXPECT_EQ(old.GetMode(), 0);
    EXPECT_EQ(old.GetSendMinute(), 7);
    EXPECT_EQ(old.GetSendHour(), 8);
    EXPECT_EQ(old.GetLockPolarity(), 0);
}

TEST_F(InternalClockTest, ExportAndReport)
{
    Clock().SetMode(4);
    Clock().SetSendHour(6);
    Clock().SetSendMinute(5);
    Clock().SetInactiveTime(1, 2);
    Clock().SetDateGroupAddress(NewAddress(11, 0x1203, 11, 1, "Datum \"A\""));
    std::string strFile;
    Clock().ExportCsv(nullptr, strFile);
    EXPECT_EQ(strFile, "\"Interne Uhr\"\n"
                       "\"Betriebsart Uhr:\",\"Master (täglich senden)\"\n"
                       "\"Inaktive Zeit (mm:ss):\",\"01:02\"\n"
                       "\"Zeitprogrammtyp:\",\"mit 1 sperren\"\n"
                       "\"Gruppenadresse Datum:\",\"Datum \"\"A\"\" - 01/02/0003\"\n"
                       "\"senden um:\",\"06:05\"\n");

    CFakeReportDC dc;
    CParamReport report;
    report.CreateFonts(dc);
    report.CreateBody();
    Clock().SetMode(3);
    Clock().AddReport(&report, &dc, 20000);
    CReportGroup* pBody = report.GetBodyGroup();
    // Heading, empty line, eight rows.
    ASSERT_EQ(pBody->GetCount(), 10);
    auto cell = [&](int nLine, int nCell) {
        return dynamic_cast<CReportCellLabel*>(pBody->GetAt(nLine)->GetCell(nCell));
    };
    EXPECT_EQ(cell(0, 0)->GetText(), "Parameter der internen Uhr");
    EXPECT_EQ(cell(2, 0)->GetText(), "Betriebsart Uhr:");
    EXPECT_EQ(cell(2, 1)->GetText(), "Master (stündlich senden)");
    EXPECT_EQ(cell(3, 1)->GetText(), "01 : 02");
    EXPECT_EQ(cell(5, 1)->GetText(), "-");
    EXPECT_EQ(cell(9, 1)->GetText(), "-- : 05");
}
