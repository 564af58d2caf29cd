#pragma once
// The bus-access library as its callers see it: a connection object that
// opens a bus interface and, in device mode, a transport connection to one
// device; and three access objects bound to an open connection that read and
// write interface-object properties, device memory and user memory. Values
// travel as VARIANTs: a byte array (VT_ARRAY | VT_UI1) or, for a one-byte
// property value, a plain VT_UI1; reads may also answer with VT_I4 or a
// long array, of which callers take the low byte of each element.
//
// The classes are in-process classes of the library's stand-in
// (RegisterBusAccessClasses, BusAccessClasses.h); they are found by ProgID.

#include "platform/com/Variant.h"

namespace Falcon {

inline constexpr char kProgIdConnection[] = "Falcon.ConnectionObject.1";
inline constexpr char kProgIdPropertyAccess[] = "Falcon.PropertyAccess.1";
inline constexpr char kProgIdMemoryAccess[] = "Falcon.MemoryAccess.1";
inline constexpr char kProgIdUserMemoryAccess[] = "Falcon.UserMemoryAccess.1";

inline constexpr CLSID CLSID_ConnectionObject = platform::MakeGuid("{C8EFBD70-782F-4657-B811-4B6A52261B46}");
inline constexpr CLSID CLSID_PropertyAccess = platform::MakeGuid("{F5AFC6A5-A5AF-4E9B-916B-E75B8B889502}");
inline constexpr CLSID CLSID_MemoryAccess = platform::MakeGuid("{F24D4966-4C2A-4501-9580-4C807EDAFA5F}");
inline constexpr CLSID CLSID_UserMemoryAccess = platform::MakeGuid("{8B87317A-5BCD-4F0C-83C8-E2C1AC4D6185}");

// The bus interface of the simulated line. Open2 takes any interface id but
// the null one and knxd's for it; this is the one an interface selection
// offers.
inline constexpr GUID kSimulatedInterface = platform::MakeGuid("{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}");
// A knxd server, whose connection parameter is its URL ("local:/run/knx",
// "ip:host[:port]"); it reaches real installations.
inline constexpr GUID kKnxdInterface = platform::MakeGuid("{3E0B5A91-6C2D-4F7E-9A18-D4C7B2E5F063}");

// Connection modes: a transport connection to the target device, and a
// check that the bus interface answers (no target, no device traffic).
constexpr LONG kModeDeviceConnection = 4;
constexpr LONG kModeInterfaceCheck = 5;

// Results of the library beyond the common ones: a device's refusal is
// kDeviceErrorBase + the device's reason (platform/bus/DeviceResult.h).
constexpr HRESULT kDeviceErrorBase = MakeHResult(0x80040300u);
// An access through a connection that is not open.
constexpr HRESULT E_FALCON_NOT_CONNECTED = MakeHResult(0x80040380u);

struct IConnection : IUnknown {
    DECLARE_INTERFACE_IID(IConnection, "{604C8665-EAFF-4098-AB17-E673BB006903}")
    // kModeDeviceConnection or kModeInterfaceCheck; set before Open2.
    virtual HRESULT put_Mode(LONG nMode) = 0;
    // The device's individual address as an integer VARIANT (0..0xFFFF).
    virtual HRESULT put_TargetAddress(VARIANT vAddress) = 0;
    // Opens the interface named by its braced class-id text with the
    // connection parameter (a text VARIANT; empty or null for none). A
    // successful open may still report an extended error value in
    // DeviceOpenError (0 none); the connection is then not usable.
    virtual HRESULT Open2(BSTR bstrInterface, VARIANT vParameter, LONG* pDeviceOpenError) = 0;

protected:
    ~IConnection() = default;
};

struct IPropertyAccess : IUnknown {
    DECLARE_INTERFACE_IID(IPropertyAccess, "{88F11BEA-38E2-4075-8431-FB06A04B8EA5}")
    // Binds the object to an open connection (null unbinds it).
    virtual HRESULT putref_Connection(IConnection* pConnection) = 0;
    virtual HRESULT Read(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                         VARIANT* pvData) = 0;
    virtual HRESULT Write(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                          VARIANT vData, WORD nFlag) = 0;

protected:
    ~IPropertyAccess() = default;
};

struct IMemoryAccess : IUnknown {
    DECLARE_INTERFACE_IID(IMemoryAccess, "{E05F1539-BBCD-4199-BFB5-0D94DF6682D0}")
    virtual HRESULT putref_Connection(IConnection* pConnection) = 0;
    virtual HRESULT Read(WORD nLength, DWORD nAddress, VARIANT* pvData) = 0;
    virtual HRESULT Write(DWORD nAddress, VARIANT vData, WORD nFlag) = 0;

protected:
    ~IMemoryAccess() = default;
};

struct IUserMemoryAccess : IUnknown {
    DECLARE_INTERFACE_IID(IUserMemoryAccess, "{CD9D66EF-8AC2-4511-BDA7-F966A54B68EE}")
    virtual HRESULT putref_Connection(IConnection* pConnection) = 0;
    virtual HRESULT Read(WORD nLength, DWORD nAddress, VARIANT* pvData) = 0;
    virtual HRESULT Write(DWORD nAddress, VARIANT vData, WORD nFlag) = 0;

protected:
    ~IUserMemoryAccess() = default;
};

}  // namespace Falcon
