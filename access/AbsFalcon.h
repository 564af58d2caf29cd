#pragma once
// Standalone bus access through the Falcon bus-access library: one
// transport connection to one device, with the property, user-memory and
// memory access objects bound to it. Idle (nothing held) or connected; a
// second start while connected is refused.
//
// Results: 0 success; 3 when a connection cannot be started (or there is
// none for an access); 5 when a library call fails; -1 when the data cannot
// be converted. Nothing throws out of this class.

#include "access/FalconConnectionParams.h"
#include "platform/base/WinTypes.h"
#include "platform/bus/FalconInterfaces.h"
#include "platform/com/ComPtr.h"

class CAbsFalcon
{
public:
    CAbsFalcon() = default;
    virtual ~CAbsFalcon();
    CAbsFalcon(const CAbsFalcon&) = delete;
    CAbsFalcon& operator=(const CAbsFalcon&) = delete;

    // Copies the settings; 1.
    int Init(const CFalconConnectionParams& params);
    const CFalconConnectionParams& GetParams() const { return m_oParams; }

    // Opens the device connection (mode 4) to the individual address and
    // binds the three access objects to it: 0, or 3.
    int StartCommunication(WORD nIndividualAddress);
    // Releases the access objects, then both connections; 0.
    int StopCommunication();
    bool IsConnected() const { return m_pConnection != nullptr; }

    // Mode, target address and Open2 on the connection: 0, or -1.
    int OpenConnection(Falcon::IConnection* pConnection, LONG nMode, WORD nIndividualAddress);
    // Whether the bus interface of the settings answers, on a temporary
    // connection in mode 5: 0 when it does, else non-zero.
    int TestConnection(const CFalconConnectionParams& params);

    int ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                     BYTE* pBuffer, WORD nBufferLength);
    int WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                      const BYTE* pData, WORD nDataLength, WORD nFlag);
    int WriteUserMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag);
    int ReadUserMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength);
    int WriteMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag);
    int ReadMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength);

    // The buffer is zeroed over its whole length, then takes the bytes of a
    // byte or long array (the low byte of each element, as many as fit) or
    // of a long (least significant byte first). False for any other kind.
    static bool VariantToBytes(const VARIANT& vData, BYTE* pBuffer, WORD nLength);
    // A byte array holding the data; false (the VARIANT empty) for no data.
    static bool BytesToVariant(const BYTE* pData, int nLength, VARIANT& vData);
    // A property value: a plain byte for type codes 1 and 2 when the count
    // or the length is at most 1, else a byte array.
    static bool PropertyBytesToVariant(BYTE nTypeCode, BYTE nCount, const BYTE* pData, int nLength, VARIANT& vData);

private:
    int StartCommunicationSteps(WORD nIndividualAddress);
    template <class T>
    bool CreateAccessObject(CComPtr<T>& pObject, const char* pszProgId, const char* pszName);

    CFalconConnectionParams m_oParams;
    CComPtr<Falcon::IConnection> m_pConnection;
    CComPtr<Falcon::IConnection> m_pConnection2;  // released with the first; never opened
    CComPtr<Falcon::IPropertyAccess> m_pPropertyAccess;
    CComPtr<Falcon::IUserMemoryAccess> m_pUserMemoryAccess;
    CComPtr<Falcon::IMemoryAccess> m_pMemoryAccess;
};
