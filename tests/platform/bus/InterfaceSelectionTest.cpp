#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/bus/InterfaceSelectionClass.h"
#include "platform/bus/MachineConnections.h"
#include "platform/bus/SimulatedBus.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/WinApp.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComPtr.h"
#include "tests/support/CrashTestSupport.h"
#include "tests/support/ScriptedConnectionChooser.h"

#include "DeviceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>

using bustest::CTempDir;
using Falcon::ConnectionRecord;
using Falcon::EConnectionProblem;

namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for the life of the guard.
class CEnvGuard
{
public:
    CEnvGuard(const char* pszName, const char* pszValue)
        : m_strName(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_oOld = pszOld;
        if (pszValue)
            ::setenv(pszName, pszValue, 1);
        else
            ::unsetenv(pszName);
    }
    ~CEnvGuard()
    {
        if (m_oOld)
            ::setenv(m_strName.c_str(), m_oOld->c_str(), 1);
        else
            ::unsetenv(m_strName.c_str());
    }

private:
    std::string m_strName;
    std::optional<std::string> m_oOld;
};

std::array<BYTE, sizeof(ConnectionRecord)> BytesOf(const ConnectionRecord& record)
{
    std::array<BYTE, sizeof(ConnectionRecord)> arrBytes {};
    std::memcpy(arrBytes.data(), &record, sizeof record);
    return arrBytes;
}

// A record full of a pattern, so that a change anywhere shows.
ConnectionRecord PatternRecord()
{
    ConnectionRecord record {};
    std::memset(static_cast<void*>(&record), 0x5A, sizeof record);
    return record;
}

// The method at vtable position 10, called as a foreign caller calls it.
HRESULT CallSlot10(Falcon::IInterfaceSelection* pSelection, BSTR bstr, LONG n, ConnectionRecord* pRecord)
{
    using Slot = HRESULT (*)(Falcon::IInterfaceSelection*, BSTR, LONG, ConnectionRecord*);
    Slot* pVtable = *reinterpret_cast<Slot**>(pSelection);
    return pVtable[10](pSelection, bstr, n, pRecord);
}

}  // namespace

// ---------------------------------------------------------------- record

TEST(ConnectionRecordTest, GoldenLayout)
{
    ConnectionRecord record {};
    ASSERT_TRUE(Falcon::SetConnectionName(record, "Sim\xF0\x9F\x98\x80"));  // a character beyond 16 bits
    record.guidInterface = Falcon::kSimulatedInterface;
    ASSERT_TRUE(Falcon::SetConnectionParameter(record, "/a/\xC3\xA4"));

    std::array<BYTE, 1172> arrExpected {};
    const BYTE arrName[] = {'S', 0, 'i', 0, 'm', 0, 0x3D, 0xD8, 0x00, 0xDE};
    std::memcpy(&arrExpected[0], arrName, sizeof arrName);
    const BYTE arrGuid[] = {0x5B, 0x6E, 0x95, 0x98, 0xA6, 0xB3, 0xB2, 0x44,
                            0xBB, 0xCF, 0x7A, 0x9B, 0x7D, 0xD6, 0x67, 0x32};
    std::memcpy(&arrExpected[132], arrGuid, sizeof arrGuid);
    const BYTE arrParameter[] = {'/', 0, 'a', 0, '/', 0, 0xE4, 0x00};
    std::memcpy(&arrExpected[148], arrParameter, sizeof arrParameter);
    EXPECT_EQ(BytesOf(record), arrExpected);

    EXPECT_EQ(Falcon::GetConnectionName(record), "Sim\xF0\x9F\x98\x80");
    EXPECT_EQ(Falcon::GetConnectionParameter(record), "/a/\xC3\xA4");
}

TEST(ConnectionRecordTest, ReadsStopAtTheFieldEndWithoutATerminator)
{
    // Room behind the record that a read past its end would pick up.
    struct Padded {
        ConnectionRecord record;
        char16_t arrBehind[8];
    } padded {};
    std::fill(std::begin(padded.record.szName), std::end(padded.record.szName), u'N');
    padded.record.guidInterface = Falcon::kSimulatedInterface;  // no zero in its first bytes
    std::fill(std::begin(padded.record.szParameter), std::end(padded.record.szParameter), u'p');
    std::fill(std::begin(padded.arrBehind), std::end(padded.arrBehind), u'X');

    EXPECT_EQ(Falcon::GetConnectionName(padded.record), std::string(66, 'N'));
    EXPECT_EQ(Falcon::GetConnectionParameter(padded.record), std::string(512, 'p'));

    // A surrogate cut off by the field's end is replaced, not dropped.
    padded.record.szName[65] = 0xD83D;
    EXPECT_EQ(Falcon::GetConnectionName(padded.record), std::string(65, 'N') + "\xEF\xBF\xBD");
    // The first zero ends the text.
    padded.record.szParameter[3] = 0;
    EXPECT_EQ(Falcon::GetConnectionParameter(padded.record), "ppp");
}

TEST(ConnectionRecordTest, WritesRefuseWhatDoesNotFitAndClearTheRest)
{
    ConnectionRecord record = PatternRecord();
    const auto arrBefore = BytesOf(record);
    // 66 units leave no room for the zero; a pair of surrogates counts twice.
    EXPECT_FALSE(Falcon::SetConnectionName(record, std::string(66, 'a')));
    EXPECT_FALSE(Falcon::SetConnectionName(record, std::string(64, 'a') + "\xF0\x9F\x98\x80"));
    EXPECT_FALSE(Falcon::SetConnectionParameter(record, std::string(512, 'b')));
    EXPECT_FALSE(Falcon::SetConnectionParameter(record, std::string("a\0b", 3)));
    EXPECT_EQ(BytesOf(record), arrBefore);

    ASSERT_TRUE(Falcon::SetConnectionName(record, std::string(65, 'a')));
    EXPECT_EQ(record.szName[65], u'\0');
    ASSERT_TRUE(Falcon::SetConnectionParameter(record, std::string(511, 'b')));
    ASSERT_TRUE(Falcon::SetConnectionParameter(record, "c"));
    EXPECT_TRUE(std::all_of(std::begin(record.szParameter) + 1, std::end(record.szParameter),
                            [](char16_t c) { return c == 0; }));
    EXPECT_EQ(Falcon::GetConnectionName(record), std::string(65, 'a'));
    EXPECT_EQ(Falcon::GetConnectionParameter(record), "c");
    // The GUID between the texts is not touched by either.
    EXPECT_EQ(std::memcmp(&record.guidInterface, arrBefore.data() + 132, 16), 0);
}

// ---------------------------------------------------------------- connections

class MachineConnectionsTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    CEnvGuard m_home {"HOME", nullptr};
    CEnvGuard m_state {"CHRONO_DEVICE_STATE", nullptr};
    CEnvGuard m_xdg {"XDG_DATA_HOME", nullptr};

    Falcon::ConnectionEntry Simulated(const std::string& strParameter) const
    {
        return {Falcon::kSimulatedConnectionName, Falcon::kSimulatedInterface, strParameter, true};
    }
};

TEST_F(MachineConnectionsTest, DefaultStateFileFollowsTheEnvironment)
{
    ::setenv("HOME", m_dir.File("home").c_str(), 1);
    EXPECT_EQ(Falcon::GetDefaultDeviceStatePath(), m_dir.File("home/.local/share/chronosets2/device.state"));
    // A relative data folder does not count.
    ::setenv("XDG_DATA_HOME", "data", 1);
    EXPECT_EQ(Falcon::GetDefaultDeviceStatePath(), m_dir.File("home/.local/share/chronosets2/device.state"));
    ::setenv("XDG_DATA_HOME", m_dir.File("xdg").c_str(), 1);
    EXPECT_EQ(Falcon::GetDefaultDeviceStatePath(), m_dir.File("xdg/chronosets2/device.state"));
    ::setenv("CHRONO_DEVICE_STATE", m_dir.File("own/../my.state").c_str(), 1);
    EXPECT_EQ(Falcon::GetDefaultDeviceStatePath(), m_dir.File("my.state"));

    const auto vecConnections = Falcon::GetMachineConnections();
    ASSERT_EQ(vecConnections.size(), 2u);
    EXPECT_EQ(vecConnections[0], Simulated(m_dir.File("my.state")));
    EXPECT_EQ(vecConnections[1].guidInterface, Falcon::kKnxdInterface);
    EXPECT_EQ(vecConnections[1].strParameter, "local:/run/knx");
    // Nothing is made by asking.
    EXPECT_FALSE(fs::exists(m_dir.File("xdg")));
}

TEST_F(MachineConnectionsTest, NormalisedPaths)
{
    ::setenv("HOME", m_dir.File("home").c_str(), 1);
    EXPECT_EQ(Falcon::NormalizeStateFilePath("~/x/./y.state"), m_dir.File("home/x/y.state"));
    EXPECT_EQ(Falcon::NormalizeStateFilePath("~"), m_dir.File("home"));
    EXPECT_EQ(Falcon::NormalizeStateFilePath("rel.state"), (fs::current_path() / "rel.state").string());
    EXPECT_EQ(Falcon::NormalizeStateFilePath(""), "");
}

TEST_F(MachineConnectionsTest, ChecksTheStateFile)
{
    // A folder that is not there yet, below one that is, is fine.
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File("a/b/device.state"))), EConnectionProblem::None);

    CDeviceState oState;
    oState.Reset(0);
    ASSERT_TRUE(CDeviceStateFile::Save(m_dir.File("good.state"), oState));
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File("good.state"))), EConnectionProblem::None);

    // Someone's file is never taken as a state file, nor changed.
    ASSERT_TRUE(platform::WriteFileAtomically(m_dir.File("letter.txt"), std::string_view("Dear device")));
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File("letter.txt"))), EConnectionProblem::NotAStateFile);
    EXPECT_EQ(platform::ReadWholeFile(m_dir.File("letter.txt"))->size(), 11u);

    // A state file this user may not read is not called someone's file. As
    // root the check runs as another user, whom permissions bind.
    ASSERT_EQ(::chmod(m_dir.File("").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(m_dir.File("good.state").c_str(), 0), 0);
    const int nStatus = crashtest::RunAsAnotherUser(
        [&] { return static_cast<int>(Falcon::CheckConnectionEntry(Simulated(m_dir.File("good.state")))); });
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), static_cast<int>(EConnectionProblem::StateFileUnreadable));
    ::chmod(m_dir.File("good.state").c_str(), 0600);

    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File(""))), EConnectionProblem::StateFileIsFolder);
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File("new/"))), EConnectionProblem::StateFileIsFolder);
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated("")), EConnectionProblem::EmptyParameter);
    // A folder cannot be made inside a file.
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File("letter.txt/x.state"))),
              EConnectionProblem::FolderNotUsable);
    // Longer than the record holds: a cut path would name another file.
    EXPECT_EQ(Falcon::CheckConnectionEntry(Simulated(m_dir.File(std::string(600, 'n').c_str()))),
              EConnectionProblem::ParameterTooLong);

    Falcon::ConnectionEntry foreign = Simulated(m_dir.File("good.state"));
    foreign.guidInterface = Falcon::CLSID_InterfaceSelection;
    EXPECT_EQ(Falcon::CheckConnectionEntry(foreign), EConnectionProblem::UnknownInterface);
}

TEST_F(MachineConnectionsTest, ChecksTheKnxdUrl)
{
    Falcon::ConnectionEntry knxd = Falcon::GetMachineConnections().at(1);
    for (const char* pszGood : {"local:/run/knx", "ip:localhost", "ip:192.168.1.20:6720", "ip:knx.lan:1"}) {
        knxd.strParameter = pszGood;
        EXPECT_EQ(Falcon::CheckConnectionEntry(knxd), EConnectionProblem::None) << pszGood;
    }
    for (const char* pszBad : {"", "local:", "local:run/knx", "ip:", "ip::6720", "ip:host:", "ip:host:0",
                               "ip:host:65536", "ip:host:12a", "tcp:host", "/run/knx"}) {
        knxd.strParameter = pszBad;
        EXPECT_EQ(Falcon::CheckConnectionEntry(knxd), EConnectionProblem::BadKnxdUrl) << pszBad;
    }
    knxd.strParameter = "local:/" + std::string(600, 's');
    EXPECT_EQ(Falcon::CheckConnectionEntry(knxd), EConnectionProblem::ParameterTooLong);
}

// ---------------------------------------------------------------- component

class InterfaceSelectorTest : public MachineConnectionsTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegisterInterfaceSelectionClass(), S_OK);
        EXPECT_EQ(RegisterInterfaceSelectionClass(), S_FALSE);
        ::setenv("CHRONO_DEVICE_STATE", m_strStatePath.c_str(), 1);
        ASSERT_EQ(CoCreateInstance(Falcon::CLSID_InterfaceSelection, nullptr, CLSCTX_ALL,
                                   IidOf<Falcon::IInterfaceSelection>(), reinterpret_cast<void**>(&m_pSelection.p)),
                  S_OK);
    }
    void TearDown() override
    {
        m_pSelection.Release();
        RevokeInterfaceSelectionClass();
        CSimulatedBus::RemoveAll();
    }

    const std::string m_strStatePath = m_dir.File("state/device.state");
    CComPtr<Falcon::IInterfaceSelection> m_pSelection;
};

TEST_F(InterfaceSelectorTest, ChoosingFillsTheRecordAndMakesTheFolder)
{
    CScriptedConnectionChooser chooser;
    chooser.ThenChoose(0);
    // As the editor calls it: a zeroed record, an empty string and -1,
    // through the table position.
    ConnectionRecord record {};
    EXPECT_EQ(CallSlot10(m_pSelection, nullptr, -1, &record), S_OK);

    ASSERT_EQ(chooser.GetOffered().size(), 1u);
    EXPECT_EQ(chooser.GetOffered()[0].nSelected, 0);
    EXPECT_EQ(chooser.GetOffered()[0].vecEntries, Falcon::GetMachineConnections());
    EXPECT_EQ(Falcon::GetConnectionName(record), Falcon::kSimulatedConnectionName);
    EXPECT_EQ(record.guidInterface, Falcon::kSimulatedInterface);
    EXPECT_EQ(Falcon::GetConnectionParameter(record), m_strStatePath);
    EXPECT_TRUE(fs::is_directory(m_dir.File("state")));
    EXPECT_FALSE(fs::exists(m_strStatePath));

    // The choice reaches a device at once, which keeps its state there.
    EDeviceResult eResult = EDeviceResult::Ok;
    auto pDevice = CSimulatedBus::AttachDevice(Falcon::GetConnectionParameter(record), eResult);
    EXPECT_EQ(eResult, EDeviceResult::Ok);
    EXPECT_TRUE(pDevice);
    EXPECT_TRUE(fs::exists(m_strStatePath));
}

TEST_F(InterfaceSelectorTest, EditedPathIsNormalisedAndPreselectionTakesTheRecord)
{
    ::setenv("HOME", m_dir.File("home").c_str(), 1);
    ASSERT_TRUE(fs::create_directory(m_dir.File("home")));
    CScriptedConnectionChooser chooser;
    chooser.ThenChoose(0, "~/sub/../chosen.state").ThenChoose(0);

    ConnectionRecord record {};
    ASSERT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    EXPECT_EQ(Falcon::GetConnectionParameter(record), m_dir.File("home/chosen.state"));

    // -1 offers what the record names.
    ASSERT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    EXPECT_EQ(chooser.GetOffered()[1].vecEntries[0].strParameter, m_dir.File("home/chosen.state"));
}

// A record naming none is offered what the component handed out last, before
// what the settings name; a revoked class forgets it.
TEST_F(InterfaceSelectorTest, ARecordNamingNoneOffersTheLastChoiceBeforeTheSettings)
{
    CWinApp app;
    app.SetProfileName(m_dir.File("editor.ini"));
    ASSERT_TRUE(platform::WritePrivateProfileString(
        "SerialCommunication", "Guid", platform::FormatGuid(Falcon::kKnxdInterface).c_str(), app.GetProfileName()));
    CScriptedConnectionChooser chooser;
    chooser.ThenChoose(0).ThenCancel().ThenCancel();
    ConnectionRecord record {};
    EXPECT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    record = ConnectionRecord {};
    EXPECT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_FALSE);
    RevokeInterfaceSelectionClass();
    EXPECT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_FALSE);
    ASSERT_EQ(chooser.GetOffered().size(), 3u);
    EXPECT_EQ(chooser.GetOffered()[0].nSelected, 1);
    EXPECT_EQ(chooser.GetOffered()[1].nSelected, 0);
    EXPECT_EQ(chooser.GetOffered()[2].nSelected, 1);
}

TEST_F(InterfaceSelectorTest, AKnxdUrlTheUserEntersIsKeptAsItStands)
{
    CScriptedConnectionChooser chooser;
    chooser.ThenChoose(1, "ip:knx-gateway.lan:6720").ThenChoose(1);
    ConnectionRecord record {};
    ASSERT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    EXPECT_EQ(record.guidInterface, Falcon::kKnxdInterface);
    EXPECT_EQ(Falcon::GetConnectionName(record), Falcon::kKnxdConnectionName);
    EXPECT_EQ(Falcon::GetConnectionParameter(record), "ip:knx-gateway.lan:6720");
    // Offered again with the URL the record holds; nothing made on disk.
    ASSERT_EQ(m_pSelection->SelectConnection(nullptr, -1, &record), S_OK);
    EXPECT_EQ(chooser.GetOffered()[1].nSelected, 1);
    EXPECT_EQ(chooser.GetOffered()[1].vecEntries[1].strParameter, "ip:knx-gateway.lan:6720");
    EXPECT_FALSE(fs::exists(m_dir.File("state")));
}

TEST_F(InterfaceSelectorTest, CancelAndFailuresLeaveTheRecordAlone)
{
    ConnectionRecord record = PatternRecord();
    const auto arrBefore = BytesOf(record);
    BSTR bstrEmpty = SysAllocString(u"");
    {
        CScriptedConnectionChooser chooser;
        chooser.ThenCancel();
        EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, -1, &record), S_FALSE);
        EXPECT_EQ(BytesOf(record), arrBefore);
        EXPECT_FALSE(fs::exists(m_dir.File("state")));

        EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, -1, nullptr), E_POINTER);
        BSTR bstrMalformed = SysAllocString(u"{not a guid}");
        EXPECT_EQ(m_pSelection->SelectConnection(bstrMalformed, -1, &record), E_INVALIDARG);
        SysFreeString(bstrMalformed);
        BSTR bstrOther = platform::BstrFromUtf8(platform::FormatGuid(Falcon::CLSID_InterfaceSelection));
        EXPECT_EQ(m_pSelection->SelectConnection(bstrOther, -1, &record), Falcon::E_NO_CONNECTION);
        SysFreeString(bstrOther);
        EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, 2, &record), E_INVALIDARG);
        EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, -2, &record), E_INVALIDARG);

        // A chooser that hands back what the check refuses gets nothing.
        ASSERT_TRUE(platform::WriteFileAtomically(m_dir.File("letter.txt"), std::string_view("Dear device")));
        chooser.ThenChooseUnchecked(0, m_dir.File("letter.txt"));
        EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, 0, &record), E_INVALIDARG);
        EXPECT_EQ(BytesOf(record), arrBefore);
    }
    // Nobody to ask.
    EXPECT_EQ(m_pSelection->SelectConnection(bstrEmpty, -1, &record), E_UNEXPECTED);
    EXPECT_EQ(BytesOf(record), arrBefore);
    SysFreeString(bstrEmpty);
}

TEST_F(InterfaceSelectorTest, ListCheckOwnerAndCaption)
{
    LONG nCount = 0;
    EXPECT_EQ(m_pSelection->GetConnectionCount(&nCount), S_OK);
    EXPECT_EQ(nCount, 2);
    ConnectionRecord record = PatternRecord();
    EXPECT_EQ(m_pSelection->GetConnection(2, &record), E_INVALIDARG);
    ASSERT_EQ(m_pSelection->GetConnection(0, &record), S_OK);
    EXPECT_EQ(Falcon::GetConnectionParameter(record), m_strStatePath);
    EXPECT_EQ(m_pSelection->CheckConnection(&record), S_OK);
    ASSERT_TRUE(Falcon::SetConnectionParameter(record, ""));
    EXPECT_EQ(m_pSelection->CheckConnection(&record), S_FALSE);

    auto* hOwner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(m_pSelection->put_OwnerWindow(hOwner), S_OK);
    BSTR bstrCaption = SysAllocString(u"Schnittstelle");
    EXPECT_EQ(m_pSelection->put_Caption(bstrCaption), S_OK);
    SysFreeString(bstrCaption);
    BSTR bstrBack = nullptr;
    ASSERT_EQ(m_pSelection->get_Caption(&bstrBack), S_OK);
    EXPECT_EQ(platform::BstrToUtf8(bstrBack), "Schnittstelle");
    SysFreeString(bstrBack);

    CScriptedConnectionChooser chooser;
    chooser.ThenCancel();
    EXPECT_EQ(m_pSelection->SelectConnection(nullptr, 0, &record), S_FALSE);
    EXPECT_EQ(chooser.GetOffered().at(0).hOwner, hOwner);
    EXPECT_EQ(chooser.GetOffered().at(0).strCaption, "Schnittstelle");
}
