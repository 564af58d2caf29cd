#include "HostTestSupport.h"

#include "app/HostConnection.h"
#include "app/ObjectCookieMap.h"
#include "platform/com/ComObject.h"
#include "platform/host/EtsDeviceManagement.h"
#include "platform/host/HostTopWindow.h"
#include "platform/host/WindowMessages.h"

using apptest::Json;

namespace {

using apptest::kDevice;

// A device management that only says it was made.
class CFakeDeviceManagement : public IDeviceManagement, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CFakeDeviceManagement)
    COM_INTERFACE_ENTRY(IDeviceManagement)
    END_COM_MAP()
    HRESULT Connect() override { return S_OK; }
    HRESULT Disconnect() override { return S_OK; }
    HRESULT ReadProp(BYTE, BYTE, BYTE, WORD, BYTE, WORD, BYTE*) override { return S_OK; }
    HRESULT WriteMem(LONG, DWORD, WORD, const BYTE*, LONG, BOOL) override { return S_OK; }
    HRESULT ReadMem(LONG, DWORD, WORD, BYTE*) override { return S_OK; }
};

class HostConnectionTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Json project = apptest::ProjectWithGroups({{10, 1, 11, 2, 12, 3}});
        project["projects"][0]["devices"].push_back(apptest::Device(kDevice, 1, {}));
        Load(project);
    }
};

}  // namespace

TEST_F(HostConnectionTest, TheHostsTopWindowLeadsToTheLiveConnection)
{
    platform::host::CHostTopWindow topWindow;
    // The plug-in's dialog is a child of its main window, which the host's
    // window owns.
    const HWND hDialog = reinterpret_cast<HWND>(std::uintptr_t {0x71});
    const HWND hMain = reinterpret_cast<HWND>(std::uintptr_t {0x72});
    const HWND hHost = topWindow.GetHandle();
    const DWORD dwCookie = platform::host::AddWindowRelations({
        [=](HWND h, bool& bChild) {
            bChild = h == hDialog;
            return h == hDialog || h == hMain;
        },
        [=](HWND h, HWND& hParent) {
            hParent = h == hDialog ? hMain : nullptr;
            return h == hDialog || h == hMain;
        },
        [=](HWND h, HWND& hOwner) {
            hOwner = h == hMain ? hHost : nullptr;
            return h == hDialog || h == hMain;
        },
    });
    LONG nArgs[3] = {7, 7, 7};
    auto previous = platform::host::SetDeviceManagementFactory(
        [&](IEtsDevice*, LONG n1, LONG n2, LONG n3, REFIID riid, void** ppv) {
            nArgs[0] = n1;
            nArgs[1] = n2;
            nArgs[2] = n3;
            return CComCreator<CFakeDeviceManagement>::CreateInstance(nullptr, riid, ppv);
        });

    CComPtr<IDeviceManagement> pConnection;
    EXPECT_EQ(GetLifeDeviceConnection(hDialog, m_host.FindDevice(kDevice), 0, 0, -1, IidOf<IDeviceManagement>(),
                                      reinterpret_cast<void**>(&pConnection.p), g_pHostLogger),
              S_OK);
    EXPECT_TRUE(pConnection);
    EXPECT_EQ(nArgs[0], 0);
    EXPECT_EQ(nArgs[1], 0);
    EXPECT_EQ(nArgs[2], -1);

    platform::host::SetDeviceManagementFactory(previous);
    platform::host::RemoveWindowRelations(dwCookie);
}

TEST_F(HostConnectionTest, WithoutLoggerWindowOrHostTheAnswerIsUnexpected)
{
    void* pv = nullptr;
    const IID& iid = IidOf<IDeviceManagement>();
    CComPtr<IEtsDevice> pDevice = m_host.FindDevice(kDevice);
    EXPECT_EQ(GetLifeDeviceConnection(nullptr, pDevice, 0, 0, -1, iid, &pv, nullptr), E_UNEXPECTED);
    EXPECT_TRUE(m_host.GetLoggerLines().empty());
    EXPECT_EQ(GetLifeDeviceConnection(nullptr, pDevice, 0, 0, -1, iid, &pv, g_pHostLogger), E_UNEXPECTED);
    EXPECT_TRUE(Logged("Vek_ZR02|2|Window Handle is NULL"));
    // A window that is not the host's does not answer.
    const HWND hStranger = reinterpret_cast<HWND>(std::uintptr_t {0x99});
    EXPECT_EQ(GetLifeDeviceConnection(hStranger, pDevice, 0, 0, -1, iid, &pv, g_pHostLogger), E_UNEXPECTED);
    EXPECT_TRUE(Logged("Vek_ZR02|2|The host application is not ETS3 professional."));
}

TEST(FormatGroupAddress3Test, ThreeLevelsWithLeadingZeros)
{
    EXPECT_EQ(FormatGroupAddress3(0x1203), "01/02/0003");
    EXPECT_EQ(FormatGroupAddress3(0xFFFF), "15/15/0255");
}

TEST_F(HostConnectionTest, TheDumpListsStaticThenSwitchableObjectsWithTheirGroupAddresses)
{
    Scan(kDevice);
    CObjectCookieMap map;
    auto pClock = std::make_unique<CObjectLink>(252);
    pClock->AddGroupAddress(12);
    map.GetStaticObjects().Add(2001, std::move(pClock));
    auto pSwitchable = std::make_unique<CObjectLink>(0);
    pSwitchable->AddGroupAddress(4711);
    pSwitchable->AddGroupAddress(12);
    map.GetSwitchableObjects().Add(2002, std::move(pSwitchable));
    m_host.ClearLoggerLines();
    map.Dump();

    std::vector<std::string> texts;
    for (const std::string& strLine : m_host.GetLoggerLines())
        texts.push_back(strLine.substr(strLine.find("): ") + 3));
    EXPECT_EQ(texts, (std::vector<std::string> {"Dumping Static Objects.\n", "CONr.: 252, Cookie: 2001\n",
                                                "GA: 01/02/0003, Cookie: 12\n", "Dumping Switchable Objects.\n",
                                                "CONr.: 0, Cookie: 2002\n", "GA with Id: 4711 not found.\n",
                                                "GA: 01/02/0003, Cookie: 12\n"}));
}
