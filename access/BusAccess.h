#pragma once
// The bus access of one dialog action or one download. Standalone it talks
// to the bus itself through the Falcon bus-access library (CAbsFalcon); as a
// plug-in it goes through the host's live device connection, which the
// caller obtains from the host and passes to each call (property writes and
// the device-memory accesses exist only standalone).
//
// Results: 0 success. Standalone: 3 no connection, 5 a library call failed,
// -1 data not convertible. Plug-in: -1 for any failure, and -1 for the
// standalone-only operations.

#include "access/AbsFalcon.h"
#include "access/FalconConnectionParams.h"
#include "platform/base/WinTypes.h"

struct IDeviceManagement;
class CProgressInfo;

class CBusAccess
{
public:
    // Property writes go out in chunks of this many one-byte elements.
    static constexpr BYTE kChunkElements = 10;

    explicit CBusAccess(bool bStandalone);
    virtual ~CBusAccess();
    CBusAccess(const CBusAccess&) = delete;
    CBusAccess& operator=(const CBusAccess&) = delete;

    bool IsStandalone() const { return m_bStandalone != 0; }

    // Takes the connection settings; 1.
    int Init(const CFalconConnectionParams& params);
    const CFalconConnectionParams& GetParams() const { return m_oParams; }
    // Standalone only: whether the bus interface of the settings answers.
    bool TestConnection(const CFalconConnectionParams& params);

    int Connect(WORD nIndividualAddress, IDeviceManagement* pDeviceManagement);
    int Disconnect(IDeviceManagement* pDeviceManagement);
    // Ends a standalone communication without a device-management object.
    void Close();

    int ReadPropertyData(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nElements,
                         BYTE* pBuffer, WORD nBufferLength, IDeviceManagement* pDeviceManagement);
    int WritePropertyData(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nElements,
                          const BYTE* pData, WORD nDataLength, WORD nFlag);
    // Writes one-byte elements in chunks of 10 (type code 2), one progress
    // step per chunk; the type code given is not used.
    int WritePropertyDataChunked(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                 BYTE nElements, const BYTE* pData, CProgressInfo* pProgress, WORD nFlag);

    // User memory (the status and clock block).
    int WriteMem(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag, IDeviceManagement* pDeviceManagement);
    int ReadMem(DWORD nAddress, BYTE* pBuffer, WORD nLength, IDeviceManagement* pDeviceManagement);

    // Device memory, standalone only.
    int WriteDeviceMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag);
    int ReadDeviceMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength);

    // area << 12 | line << 8 | device standalone; 0xFFFF as a plug-in.
    WORD MakeIndividualAddress(BYTE nArea, BYTE nLine, BYTE nDevice) const;
    // Kept for the download's calls; does nothing and gives 1.
    int SetAccessMode(int nMode);

    CAbsFalcon& GetAbsFalcon() { return m_oAbsFalcon; }

private:
    BYTE m_bStandalone;
    CAbsFalcon m_oAbsFalcon;
    CFalconConnectionParams m_oParams;
};

// The bus check of the interface settings: a progress window while the
// interface is asked, an error box when it does not answer. The result is
// the check's.
bool TestBusConnection(HWND hParent, const CFalconConnectionParams& params);
