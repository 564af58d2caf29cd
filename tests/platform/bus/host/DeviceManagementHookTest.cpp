#include "platform/bus/DeviceManagementHook.h"

#include "platform/bus/SimulatedBus.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"
#include "platform/host/EtsObjectModel.h"
#include "platform/host/LiveDeviceConnection.h"

#include <gtest/gtest.h>

namespace {

HRESULT AddressVariant(LONG nAddress, VARIANT* pvAddress)
{
    VariantInit(pvAddress);
    if (nAddress < 0) {
        pvAddress->vt = VT_NULL;
    } else {
        pvAddress->vt = VT_I2;
        pvAddress->iVal = static_cast<SHORT>(nAddress);
    }
    return S_OK;
}

class CArea : public IEtsArea, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CArea)
    COM_INTERFACE_ENTRY(IEtsArea)
    END_COM_MAP()
    HRESULT get_Address(VARIANT* pv) override { return AddressVariant(m_nAddress, pv); }
    LONG m_nAddress = 0;
};

class CLine : public IEtsLine, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CLine)
    COM_INTERFACE_ENTRY(IEtsLine)
    END_COM_MAP()
    HRESULT get_Address(VARIANT* pv) override { return AddressVariant(m_nAddress, pv); }
    HRESULT get_Area(IEtsArea** pp) override { return m_pArea.CopyTo(pp); }
    LONG m_nAddress = 0;
    CComPtr<IEtsArea> m_pArea;
};

// A project device with just enough of the host's object to have an address.
class CDevice : public IEtsDevice, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CDevice)
    COM_INTERFACE_ENTRY(IEtsDevice)
    END_COM_MAP()
    HRESULT get_Parent(IEtsProjectDatabase**) override { return E_NOTIMPL; }
    HRESULT get_Project(IEtsProject**) override { return E_NOTIMPL; }
    HRESULT get_Name(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Description(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_Product(IEtsProduct**) override { return E_NOTIMPL; }
    HRESULT get_Address(VARIANT* pv) override { return AddressVariant(m_nAddress, pv); }
    HRESULT get_Line(IEtsLine** pp) override { return m_pLine.CopyTo(pp); }
    HRESULT get_ApplicationProgram(IEtsApplicationProgram**) override { return E_NOTIMPL; }
    HRESULT get_DeviceParameters(IEtsDeviceParameters**) override { return E_NOTIMPL; }
    HRESULT get_CommunicationObjects(IEtsCommObjects**) override { return E_NOTIMPL; }
    HRESULT get_VisibleCommunicationObjects(IEtsCommObjects**) override { return E_NOTIMPL; }
    LONG m_nAddress = 0;
    CComPtr<IEtsLine> m_pLine;
};

template <class T>
CComPtr<CComObject<T>> Make()
{
    CComObject<T>* p = nullptr;
    EXPECT_EQ(CComObject<T>::CreateInstance(&p), S_OK);
    return CComPtr<CComObject<T>>(p);
}

CComPtr<CComObject<CDevice>> DeviceAt(LONG nArea, LONG nLine, LONG nDevice)
{
    auto pArea = Make<CArea>();
    pArea->m_nAddress = nArea;
    auto pLine = Make<CLine>();
    pLine->m_nAddress = nLine;
    pLine->m_pArea = pArea.p;
    auto pDevice = Make<CDevice>();
    pDevice->m_nAddress = nDevice;
    pDevice->m_pLine = pLine.p;
    return pDevice;
}

}  // namespace

TEST(DeviceManagementHook, TheHostsEntryPointHandsOutTheSimulatedDevice)
{
    auto pDevice = std::make_shared<CSimulatedDevice>([] { return LONGLONG{1'200'000'000'000}; });
    pDevice->SetIndividualAddress(0x1203);
    CSimulatedBus::InstallDevice("hook", pDevice);
    auto previous = InstallSimulatedDeviceManagement("hook");

    auto pProjectDevice = DeviceAt(1, 2, 3);
    WORD nAddress = 0;
    EXPECT_EQ(GetEtsDeviceAddress(pProjectDevice, nAddress), S_OK);
    EXPECT_EQ(nAddress, 0x1203);

    CComPtr<IDeviceManagement> pManagement;
    ASSERT_EQ(platform::host::GetLifeDeviceConnection(static_cast<IEtsDevice*>(pProjectDevice), 0, 0, -1,
                                                      IidOf<IDeviceManagement>(),
                                                      reinterpret_cast<void**>(&pManagement.p)),
              S_OK);
    ASSERT_EQ(pManagement->Connect(), S_OK);
    EXPECT_TRUE(pDevice->IsConnected());
    BYTE arrBlock[11] = {};
    EXPECT_EQ(pManagement->ReadMem(3, 0xF0000, 11, arrBlock), S_OK);
    EXPECT_EQ(pManagement->Disconnect(), S_OK);

    // A device without an address in the project cannot be reached.
    auto pUnassigned = DeviceAt(1, 2, -1);
    CComPtr<IDeviceManagement> pNone;
    EXPECT_EQ(platform::host::GetLifeDeviceConnection(static_cast<IEtsDevice*>(pUnassigned), 0, 0, -1,
                                                      IidOf<IDeviceManagement>(), reinterpret_cast<void**>(&pNone.p)),
              E_FAIL);
    EXPECT_EQ(pNone.p, nullptr);
    EXPECT_EQ(GetEtsDeviceAddress(DeviceAt(16, 2, 3), nAddress), E_FAIL);

    platform::host::SetDeviceManagementFactory(previous);
    CSimulatedBus::RemoveAll();
}
