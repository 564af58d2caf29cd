#include "HostTestProject.h"

#include "platform/base/ResourceModule.h"
#include "platform/com/ComActivation.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/host/EtsDeviceManagement.h"
#include "platform/host/EtsHost.h"
#include "platform/host/EtsHostServices.h"
#include "platform/host/HostTopWindow.h"
#include "platform/host/LiveDeviceConnection.h"
#include "platform/host/WindowMessages.h"

#include <gtest/gtest.h>

#include <functional>

using platform::host::CEtsHost;

namespace {

// A plug-in's event side that runs a check while the host adds.
class CFakeEvents : public IEtsPlugInEvents, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CFakeEvents)
    COM_INTERFACE_ENTRY(IEtsPlugInEvents)
    END_COM_MAP()

    HRESULT OnAddAssociation(IUnknown* pAssociation) override
    {
        ++m_nCalls;
        return m_onAdd ? m_onAdd(pAssociation) : S_OK;
    }
    HRESULT OnRemoveAssociation(IUnknown*) override { return S_OK; }
    HRESULT OnObjectChanged(IUnknown*, LONG, LONG) override { return S_OK; }
    HRESULT OnParameterChanged(IUnknown*, LONG, LONG) override { return S_OK; }

    std::function<HRESULT(IUnknown*)> m_onAdd;
    int m_nCalls = 0;
};

CComPtr<CComObjectNoLock<CFakeEvents>> MakeEvents()
{
    CComObjectNoLock<CFakeEvents>* p = nullptr;
    CComObjectNoLock<CFakeEvents>::CreateInstance(&p);
    return CComPtr<CComObjectNoLock<CFakeEvents>>(p);
}

using hosttest::Find;

LONG Cookie(IUnknown* pObject)
{
    CComPtr<IEtsDomObjectInternal> pInternal;
    LONG nCookie = -1;
    if (SUCCEEDED(pObject->QueryInterface(&pInternal.p)))
        pInternal->GetPersistInfo(&nCookie, nullptr);
    return nCookie;
}

LONG Count(IEtsAssociations* pAssociations)
{
    LONG n = -1;
    pAssociations->get_Count(&n);
    return n;
}

class HostObjectModelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.LoadText(hosttest::Text(hosttest::SmallProject()))); }

    CComPtr<IEtsAssociations> Associations(LONG nObjectId)
    {
        CComPtr<IEtsAssociations> p;
        EXPECT_EQ(Find<IEtsCommObject>(m_host, nObjectId)->get_Associations(&p), S_OK);
        return p;
    }

    CEtsHost m_host;
};

}  // namespace

TEST_F(HostObjectModelTest, CollectionsCountFromOneAndShiftWhenAnItemGoes)
{
    CComPtr<IEtsGroupAddress> pSecond = Find<IEtsGroupAddress>(m_host, 13);
    CComPtr<IEtsAssociations> pAssociations = Associations(111);
    CComPtr<IEtsAssociation> pAdded;
    ASSERT_EQ(pAssociations->Add(Find<IEtsGroupAddress>(m_host, 12), &pAdded), S_OK);
    ASSERT_EQ(pAssociations->Add(pSecond, &pAdded), S_OK);
    ASSERT_EQ(Count(pAssociations), 2);

    CComPtr<IEtsAssociation> pItem;
    EXPECT_EQ(pAssociations->Item(MakeIndexVariant(0), &pItem), DISP_E_BADINDEX);
    EXPECT_EQ(pAssociations->Item(MakeIndexVariant(3), &pItem), DISP_E_BADINDEX);
    CComVariant vText("1");
    EXPECT_EQ(pAssociations->Item(vText, &pItem), DISP_E_TYPEMISMATCH);
    CComVariant vShort(static_cast<SHORT>(2));
    ASSERT_EQ(pAssociations->Item(vShort, &pItem), S_OK);
    EXPECT_EQ(Cookie(pItem), Cookie(pAdded));

    CComPtr<IEtsAssociation> pFirst;
    ASSERT_EQ(pAssociations->Item(MakeIndexVariant(1), &pFirst), S_OK);
    ASSERT_EQ(pFirst->Delete(), S_OK);
    EXPECT_EQ(Count(pAssociations), 1);
    ASSERT_EQ(pAssociations->Item(MakeIndexVariant(1), &pItem), S_OK);
    EXPECT_EQ(Cookie(pItem), Cookie(pAdded));
    // A deleted association answers nothing more.
    VARIANT_BOOL bSend = 0;
    EXPECT_EQ(pFirst->get_Send(&bSend), E_FAIL);
}

TEST_F(HostObjectModelTest, AnExistingPairIsHandedOutWithItsOwnResult)
{
    CComPtr<IEtsAssociations> pAssociations = Associations(110);
    CComPtr<IEtsAssociation> pExisting;
    EXPECT_EQ(pAssociations->Add(Find<IEtsGroupAddress>(m_host, 12), &pExisting), ETS_E_ASSOCIATION_EXISTS);
    ASSERT_TRUE(pExisting);
    EXPECT_EQ(Cookie(pExisting), 120);
    EXPECT_EQ(Count(pAssociations), 1);
    EXPECT_FALSE(m_host.IsModified());
}

TEST_F(HostObjectModelTest, ThePlugInDecidesOnANewAssociationBeforeTheAddReturns)
{
    auto pEvents = MakeEvents();
    LONG nCountDuringEvent = -1;
    LONG nNumberDuringEvent = -1;
    pEvents->m_onAdd = [&](IUnknown* pAssociation) {
        CComPtr<IEtsAssociation> pEtsAssociation;
        EXPECT_EQ(pAssociation->QueryInterface(&pEtsAssociation.p), S_OK);
        CComPtr<IEtsCommObject> pObject;
        EXPECT_EQ(pEtsAssociation->get_Parent(&pObject), S_OK);
        CComVariant vNumber;
        pObject->GetProperty(CComBSTR("CommunicationObjectNumber"), &vNumber);
        nNumberDuringEvent = vNumber.lVal;
        CComPtr<IEtsAssociations> pList;
        pObject->get_Associations(&pList);
        nCountDuringEvent = Count(pList);
        return E_ABORT;
    };
    m_host.SetPlugInEvents(pEvents);

    CComPtr<IEtsAssociations> pAssociations = Associations(110);
    CComPtr<IEtsAssociation> pAdded;
    EXPECT_EQ(pAssociations->Add(Find<IEtsGroupAddress>(m_host, 13), &pAdded), E_ABORT);
    EXPECT_FALSE(pAdded);
    EXPECT_EQ(nNumberDuringEvent, 0);
    EXPECT_EQ(nCountDuringEvent, 2);  // the new one is counted while the plug-in looks
    EXPECT_EQ(Count(pAssociations), 1);
    EXPECT_FALSE(m_host.IsModified());

    // Accepted, it stays; the event is in the call log.
    pEvents->m_onAdd = nullptr;
    m_host.ClearCallLog();
    EXPECT_EQ(pAssociations->Add(Find<IEtsGroupAddress>(m_host, 13), &pAdded), S_OK);
    EXPECT_EQ(Count(pAssociations), 2);
    EXPECT_EQ(m_host.CountCalls("Event:100.OnAddAssociation"), 1u);
    EXPECT_TRUE(m_host.IsModified());

    // A device's own plug-in comes before the one for every device.
    auto pOwn = MakeEvents();
    m_host.SetPlugInEvents(pOwn, 100);
    CComPtr<IEtsAssociation> pThird;
    Associations(111)->Add(Find<IEtsGroupAddress>(m_host, 12), &pThird);
    EXPECT_EQ(pOwn->m_nCalls, 1);
    EXPECT_EQ(pEvents->m_nCalls, 2);
    m_host.SetPlugInEvents(nullptr, 100);
    m_host.SetPlugInEvents(nullptr);
}

TEST_F(HostObjectModelTest, FaultsHitTheirObjectMemberOrNthCall)
{
    CComPtr<IEtsGroupAddress> pFirst = Find<IEtsGroupAddress>(m_host, 12);
    CComPtr<IEtsGroupAddress> pSecond = Find<IEtsGroupAddress>(m_host, 13);
    CComBSTR bstrName;

    m_host.AddFault("GroupAddress:13", "get_Name", E_ACCESSDENIED);
    EXPECT_EQ(pFirst->get_Name(&bstrName), S_OK);
    EXPECT_EQ(pSecond->get_Name(&bstrName), E_ACCESSDENIED);
    m_host.ClearFaults();

    m_host.AddFault("GroupAddress", "", E_FAIL, 2);
    EXPECT_EQ(pSecond->get_Name(&bstrName), S_OK);
    EXPECT_EQ(pFirst->get_Description(&bstrName), E_FAIL);
    EXPECT_EQ(pFirst->get_Description(&bstrName), S_OK);
    m_host.ClearFaults();

    // Collections carry their owner's id; a property has its own member.
    m_host.AddFault("Associations:110", "get_Count", MakeHResult(0x80041234u));
    LONG nCount = 0;
    EXPECT_EQ(Associations(110)->get_Count(&nCount), MakeHResult(0x80041234u));
    EXPECT_EQ(Associations(111)->get_Count(&nCount), S_OK);
    m_host.AddFault("", "GetProperty(Visible)", E_FAIL);
    CComVariant vValue;
    EXPECT_EQ(Find<IEtsCommObject>(m_host, 111)->GetProperty(CComBSTR("Visible"), &vValue), E_FAIL);
    EXPECT_EQ(Find<IEtsCommObject>(m_host, 111)->GetProperty(CComBSTR("CommunicationObjectName"), &vValue), S_OK);

    m_host.ClearFaults();
    m_host.ClearCallLog();
    pFirst->get_Name(&bstrName);
    EXPECT_EQ(m_host.GetCallLog(), (std::vector<std::string> {"GroupAddress:12.get_Name"}));
}

TEST_F(HostObjectModelTest, TheTypeParameterShowsTheObjectWithItsLength)
{
    CComPtr<IEtsCommObject> pObject = Find<IEtsCommObject>(m_host, 110);
    CComPtr<IEtsDeviceParameter> pType = Find<IEtsDeviceParameter>(m_host, 101);
    CComVariant vValue;
    ASSERT_EQ(pObject->GetProperty(CComBSTR("CommunicationObjectLength"), &vValue), S_OK);
    EXPECT_EQ(vValue.vt, VT_I2);
    EXPECT_EQ(vValue.iVal, 0);  // type 1 -> 1 bit

    CComVariant vFloat(9);
    ASSERT_EQ(pType->put_Value(vFloat), S_OK);
    pObject->GetProperty(CComBSTR("CommunicationObjectLength"), &vValue);
    EXPECT_EQ(vValue.iVal, 8);
    // The group address takes the length of its linked object; an unlinked
    // one has none.
    SHORT nLength = 0;
    ASSERT_EQ(Find<IEtsGroupAddress>(m_host, 12)->get_CommunicationObjectLength(&nLength), S_OK);
    EXPECT_EQ(nLength, 8);
    ASSERT_EQ(Find<IEtsGroupAddress>(m_host, 13)->get_CommunicationObjectLength(&nLength), S_OK);
    EXPECT_EQ(nLength, -1);

    CComVariant vHidden(0);
    pType->put_Value(vHidden);
    pObject->GetProperty(CComBSTR("Visible"), &vValue);
    EXPECT_EQ(vValue.boolVal, VARIANT_FALSE);
    CComPtr<IEtsCommObjects> pVisible;
    Find<IEtsDevice>(m_host, 100)->get_VisibleCommunicationObjects(&pVisible);
    LONG nCount = 0;
    pVisible->get_Count(&nCount);
    EXPECT_EQ(nCount, 1);

    // Flags can be written, the number cannot.
    CComVariant vTrue(true);
    EXPECT_EQ(pObject->PutProperty(CComBSTR("UpdateEnabled"), vTrue), S_OK);
    pObject->GetProperty(CComBSTR("UpdateEnabled"), &vValue);
    EXPECT_EQ(vValue.boolVal, VARIANT_TRUE);
    EXPECT_EQ(pObject->PutProperty(CComBSTR("CommunicationObjectNumber"), vTrue), E_ACCESSDENIED);
    EXPECT_EQ(pObject->PutProperty(CComBSTR("Colour"), vTrue), DISP_E_MEMBERNOTFOUND);
    pObject->GetProperty(CComBSTR("AssociationsText"), &vValue);
    EXPECT_EQ(platform::BstrToUtf8(vValue.bstrVal), "1/2/3");
}

TEST_F(HostObjectModelTest, NewGroupsTakeSixteenBitAddressesAndNewIds)
{
    CComPtr<IEtsProject> pProject = Find<IEtsProject>(m_host, 1);
    CComPtr<IEtsMainGroups> pMainGroups;
    ASSERT_EQ(pProject->get_MainGroups(&pMainGroups), S_OK);
    CComPtr<IEtsMainGroup> pMain;
    CComVariant vHigh(static_cast<SHORT>(-2));  // 0xFFFE as a 16-bit VARIANT
    ASSERT_EQ(pMainGroups->Add(vHigh, CComBSTR(""), &pMain), S_OK);
    CComVariant vAddress;
    pMain->get_Address(&vAddress);
    EXPECT_EQ(vAddress.vt, VT_I4);
    EXPECT_EQ(vAddress.lVal, 0xFFFE);
    EXPECT_EQ(Cookie(pMain), 121);
    CComVariant vNull;
    vNull.vt = VT_NULL;
    CComPtr<IEtsMiddleGroups> pMiddleGroups;
    pMain->get_MiddleGroups(&pMiddleGroups);
    CComPtr<IEtsMiddleGroup> pMiddle;
    ASSERT_EQ(pMiddleGroups->Add(vNull, CComBSTR("ohne"), &pMiddle), S_OK);
    pMiddle->get_Address(&vAddress);
    EXPECT_EQ(vAddress.vt, VT_NULL);
    CComVariant vText("1");
    EXPECT_EQ(pMiddleGroups->Add(vText, CComBSTR(""), &pMiddle), E_INVALIDARG);
    // The list of all group addresses cannot be added to.
    CComPtr<IEtsGroupAddresses> pAll;
    m_host.GetDatabase()->get_AllGroupAddresses(&pAll);
    CComPtr<IEtsGroupAddress> pNone;
    EXPECT_EQ(pAll->Add(vAddress, CComBSTR(""), &pNone), E_NOTIMPL);
}

TEST_F(HostObjectModelTest, TheInternalDatabaseHandsOutIdsNoObjectHas)
{
    CComPtr<IEtsDomObjectInternal> pInternal;
    ASSERT_EQ(Find<IEtsDevice>(m_host, 100)->QueryInterface(&pInternal.p), S_OK);
    LONG nCookie = 0;
    CComPtr<IUnknown> pPersistInfo;
    ASSERT_EQ(pInternal->GetPersistInfo(&nCookie, &pPersistInfo), S_OK);
    EXPECT_EQ(nCookie, 100);
    CComPtr<IEagleDomPersist> pPersist;
    ASSERT_EQ(pPersistInfo->QueryInterface(&pPersist.p), S_OK);
    CComPtr<IUnknown> pDatabaseObject;
    ASSERT_EQ(pPersist->get_Database(&pDatabaseObject), S_OK);
    CComPtr<IEtsInternalDatabase> pDatabase;
    ASSERT_EQ(pDatabaseObject->QueryInterface(&pDatabase.p), S_OK);
    LONG nFirst = 0, nSecond = 0;
    ASSERT_EQ(pDatabase->NewId(&nFirst), S_OK);
    ASSERT_EQ(pDatabase->NewId(&nSecond), S_OK);
    EXPECT_EQ(nFirst, 121);
    EXPECT_EQ(nSecond, 122);
}

TEST_F(HostObjectModelTest, TheServiceObjectsAreServedByClassId)
{
    m_host.RegisterServiceClasses();
    m_host.SetLanguage(1033);
    CComPtr<IEtsLocalisation> pLocalisation;
    ASSERT_EQ(pLocalisation.CoCreateInstance(CLSID_EtsLocalisation), S_OK);
    LCID lcid = 0;
    ASSERT_EQ(pLocalisation->GetDefaultLCID(&lcid), S_OK);
    EXPECT_EQ(lcid, 1033u);
    // The satellite lies beside the library that asks.
    const platform::CResourceModule* pModule = nullptr;
    const std::string strPlugIn = std::string(SATELLITE_DIR) + "/Vek_ZR02.so";
    ASSERT_EQ(pLocalisation->GetResourceModule(CComBSTR(strPlugIn), 0x0409, &pModule), S_OK);
    ASSERT_NE(pModule, nullptr);
    EXPECT_EQ(pModule->GetLanguage(), 0x0409);
    EXPECT_EQ(pLocalisation->GetResourceModule(CComBSTR(strPlugIn), 0x040C, &pModule), E_FAIL);
    EXPECT_EQ(pModule, nullptr);

    CComPtr<IEtsFormatting> pFormatting;
    ASSERT_EQ(pFormatting.CoCreateInstance(CLSID_EtsFormatting), S_OK);
    CComBSTR bstrText;
    ASSERT_EQ(pFormatting->Format(1, CComBSTR("eteC.GroupAddress"), 0, &bstrText), S_OK);
    EXPECT_EQ(bstrText.ToUtf8(), "0/0/1");
    m_host.SetGroupAddressLevels(2);
    ASSERT_EQ(pFormatting->Format(0x0A03, CComBSTR("eteC.GroupAddress"), 0, &bstrText), S_OK);
    EXPECT_EQ(bstrText.ToUtf8(), "1/515");
    EXPECT_EQ(pFormatting->Format(1, CComBSTR("eteC.Other"), 0, &bstrText), E_INVALIDARG);

    CComPtr<IEtsLogger> pLogger;
    ASSERT_EQ(pLogger.CoCreateInstance(CLSID_EtsLogger), S_OK);
    CComPtr<IEtsLoggerName> pName;
    ASSERT_EQ(pLogger.QueryInterface(&pName.p), S_OK);
    pName->put_ComponentName(CComBSTR("Test"));
    m_host.SetLoggerLevel(3);
    SHORT nEnabled = 0;
    pLogger->IsEnabled(4, &nEnabled);
    EXPECT_EQ(nEnabled, 0);
    pLogger->IsEnabled(3, &nEnabled);
    EXPECT_EQ(nEnabled, 1);
    pLogger->Log(3, "!! Zeile\n");
    EXPECT_EQ(m_host.GetLoggerLines(), (std::vector<std::string> {"Test|3|!! Zeile\n"}));

    m_host.RevokeServiceClasses();
    EXPECT_EQ(pLogger.CoCreateInstance(CLSID_EtsLogger), REGDB_E_CLASSNOTREG);
}

TEST(HostWindowTest, TheTopWindowAnswersWithTheLiveConnectionEntryPoint)
{
    using namespace platform::host;
    const UINT nMessage = RegisterWindowMessage(kszGetAppProcMessage);
    EXPECT_GE(nMessage, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("ets3:getappproc"), nMessage);

    CHostTopWindow topWindow;
    const LRESULT nAnswer =
        SendMessage(topWindow.GetHandle(), nMessage, 0, reinterpret_cast<LPARAM>(kszGetLifeDeviceConnection));
    ASSERT_NE(nAnswer, 0);
    EXPECT_EQ(SendMessage(topWindow.GetHandle(), nMessage, 0, reinterpret_cast<LPARAM>("Other")), 0);
    EXPECT_EQ(SendMessage(topWindow.GetHandle(), nMessage + 1, 0, reinterpret_cast<LPARAM>(kszGetLifeDeviceConnection)),
              0);
    auto pfnEntry = reinterpret_cast<PFNGETLIFEDEVICECONNECTION>(nAnswer);

    CEtsHost host;
    ASSERT_TRUE(host.LoadText(hosttest::Text(hosttest::SmallProject())));
    CComPtr<IEtsDevice> pDevice = host.FindDevice(100);
    void* pv = nullptr;
    // Not a device; then no factory installed.
    EXPECT_EQ(pfnEntry(host.FindObject(12), 0, 0, -1, IidOf<IDeviceManagement>(), &pv), E_INVALIDARG);
    EXPECT_EQ(pfnEntry(pDevice, 0, 0, -1, IidOf<IDeviceManagement>(), &pv), E_NOTIMPL);

    LONG nCookieSeen = 0;
    LONG nArgs[3] = {};
    SetDeviceManagementFactory([&](IEtsDevice* pFor, LONG n1, LONG n2, LONG n3, REFIID riid, void** ppv) {
        nCookieSeen = Cookie(pFor);
        nArgs[0] = n1;
        nArgs[1] = n2;
        nArgs[2] = n3;
        EXPECT_EQ(riid, IidOf<IDeviceManagement>());
        *ppv = nullptr;
        return S_FALSE;
    });
    EXPECT_EQ(pfnEntry(pDevice, 0, 0, -1, IidOf<IDeviceManagement>(), &pv), S_FALSE);
    EXPECT_EQ(nCookieSeen, 100);
    EXPECT_EQ(nArgs[2], -1);
    SetDeviceManagementFactory(nullptr);
}

TEST(HostWindowTest, TheChainGoesToParentsOfChildrenAndOwnersOfTopWindows)
{
    using namespace platform::host;
    auto handle = [](std::uintptr_t n) { return reinterpret_cast<HWND>(n); };
    // 3 is a child of 2, which 1 owns; 1 has neither.
    const DWORD dwCookie = AddWindowRelations({
        [&](HWND h, bool& bChild) {
            bChild = h == handle(3);
            return h == handle(1) || h == handle(2) || h == handle(3);
        },
        [&](HWND h, HWND& hParent) {
            hParent = h == handle(3) ? handle(2) : nullptr;
            return h == handle(1) || h == handle(2) || h == handle(3);
        },
        [&](HWND h, HWND& hOwner) {
            hOwner = h == handle(2) ? handle(1) : nullptr;
            return h == handle(1) || h == handle(2) || h == handle(3);
        },
    });
    EXPECT_EQ(GetTopLevelWindow(handle(3)), handle(1));
    EXPECT_EQ(GetTopLevelWindow(handle(9)), handle(9));  // unknown: top-level itself
    RemoveWindowRelations(dwCookie);
    EXPECT_EQ(GetTopLevelWindow(handle(3)), handle(3));
}
