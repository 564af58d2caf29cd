#include "access/BusAccess.h"

#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "common/ResultCode.h"
#include "platform/host/EtsDeviceManagement.h"

namespace {

// Memory kind of the host's device management: the user memory.
constexpr LONG kHostUserMemory = 3;

// Progress animation of the bus-connection test.
constexpr int kProgressKindBusTest = 15;

}  // namespace

CBusAccess::CBusAccess(bool bStandalone) : m_bStandalone(bStandalone ? 1 : 0)
{
}

CBusAccess::~CBusAccess() = default;

int CBusAccess::Init(const CFalconConnectionParams& params)
{
    if (m_bStandalone)
        m_oAbsFalcon.Init(params);
    m_oParams = params;
    return 1;
}

bool CBusAccess::TestConnection(const CFalconConnectionParams& params)
{
    if (!m_bStandalone)
        return false;
    return m_oAbsFalcon.TestConnection(params) == 0;
}

int CBusAccess::Connect(WORD nIndividualAddress, IDeviceManagement* pDeviceManagement)
{
    if (m_bStandalone)
        return m_oAbsFalcon.StartCommunication(nIndividualAddress);
    if (!pDeviceManagement) {
        LOG_ERROR("IDeviceManagementPtr is NULL.");
        return -1;
    }
    HRESULT hr = pDeviceManagement->Connect();
    if (FAILED(hr)) {
        LOG_ERROR("Calling Connect. hr=0x%08X", Hr(hr));
        return -1;
    }
    return 0;
}

int CBusAccess::Disconnect(IDeviceManagement* pDeviceManagement)
{
    if (m_bStandalone)
        return m_oAbsFalcon.StopCommunication();
    if (pDeviceManagement)
        pDeviceManagement->Disconnect();
    return 0;
}

void CBusAccess::Close()
{
    if (m_bStandalone)
        m_oAbsFalcon.StopCommunication();
}

int CBusAccess::ReadPropertyData(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                 BYTE nElements, BYTE* pBuffer, WORD nBufferLength,
                                 IDeviceManagement* pDeviceManagement)
{
    LOG_DETAIL("CBusAccess::ReadPropertyData");
    LOG_DETAIL("Object-Idx (0x%02x), Property-Id (0x%02x), StartIndex (0x%04x), Elements (0x%02x)",
               unsigned{nObjectIndex}, unsigned{nPropertyId}, unsigned{nStartIndex}, unsigned{nElements});
    if (m_bStandalone)
        return m_oAbsFalcon.ReadProperty(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nElements, pBuffer,
                                         nBufferLength);
    if (!pDeviceManagement) {
        LOG_ERROR("IDeviceManagementPtr is NULL.");
        return -1;
    }
    HRESULT hr = pDeviceManagement->ReadProp(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nElements,
                                             nBufferLength, pBuffer);
    if (FAILED(hr)) {
        LOG_ERROR("Calling ReadProp. hr=0x%08X", Hr(hr));
        return -1;
    }
    return 0;
}

int CBusAccess::WritePropertyData(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex,
                                  BYTE nElements, const BYTE* pData, WORD nDataLength, WORD nFlag)
{
    LOG_DETAIL("CBusAccess::WritePropertyData");
    LOG_DETAIL(": Object-Idx (0x%02x), Property-Id (0x%02x), StartIndex (0x%04x), Elements (0x%02x)",
               unsigned{nObjectIndex}, unsigned{nPropertyId}, unsigned{nStartIndex}, unsigned{nElements});
    if (!m_bStandalone)
        return -1;
    return m_oAbsFalcon.WriteProperty(nObjectIndex, nPropertyId, nTypeCode, nStartIndex, nElements, pData,
                                      nDataLength, nFlag);
}

int CBusAccess::WritePropertyDataChunked(BYTE nObjectIndex, BYTE nPropertyId, BYTE /*nTypeCode*/,
                                         WORD nStartIndex, BYTE nElements, const BYTE* pData,
                                         CProgressInfo* pProgress, WORD nFlag)
{
    const int nChunks = nElements / kChunkElements + (nElements % kChunkElements != 0 ? 1 : 0);
    int nDone = 0;
    for (int i = 0; i < nChunks; ++i) {
        const BYTE nSize = nElements < nDone + kChunkElements ? static_cast<BYTE>(nElements % kChunkElements)
                                                               : kChunkElements;
        int nResult = WritePropertyData(nObjectIndex, nPropertyId, 2, static_cast<WORD>(nStartIndex + nDone), nSize,
                                        pData ? pData + nDone : nullptr, nSize, nFlag);
        if (nResult != 0) {
            LOG_ERROR("failed to write property %d of object %d", int{nPropertyId}, int{nObjectIndex});
            return nResult;
        }
        if (pProgress)
            pProgress->Step(1);
        nDone += nSize;
    }
    return 0;
}

int CBusAccess::WriteMem(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag,
                         IDeviceManagement* pDeviceManagement)
{
    if (m_bStandalone)
        return m_oAbsFalcon.WriteUserMemory(nAddress, pData, nLength, nFlag);
    if (!pDeviceManagement) {
        LOG_ERROR("IDeviceManagementPtr is NULL.");
        return -1;
    }
    HRESULT hr = pDeviceManagement->WriteMem(kHostUserMemory, nAddress, nLength, pData, 0, nFlag != 0);
    if (FAILED(hr)) {
        LOG_ERROR("Calling WriteMem. hr=0x%08X", Hr(hr));
        return -1;
    }
    return 0;
}

int CBusAccess::ReadMem(DWORD nAddress, BYTE* pBuffer, WORD nLength, IDeviceManagement* pDeviceManagement)
{
    if (m_bStandalone)
        return m_oAbsFalcon.ReadUserMemory(nAddress, pBuffer, nLength);
    if (!pDeviceManagement) {
        LOG_ERROR("IDeviceManagementPtr is NULL.");
        return -1;
    }
    HRESULT hr = pDeviceManagement->ReadMem(kHostUserMemory, nAddress, nLength, pBuffer);
    if (FAILED(hr)) {
        LOG_ERROR("Calling ReadMem. hr=0x%08X", Hr(hr));
        return -1;
    }
    return 0;
}

int CBusAccess::WriteDeviceMemory(DWORD nAddress, const BYTE* pData, WORD nLength, WORD nFlag)
{
    if (!m_bStandalone)
        return -1;
    return m_oAbsFalcon.WriteMemory(nAddress, pData, nLength, nFlag);
}

int CBusAccess::ReadDeviceMemory(DWORD nAddress, BYTE* pBuffer, WORD nLength)
{
    if (!m_bStandalone)
        return -1;
    return m_oAbsFalcon.ReadMemory(nAddress, pBuffer, nLength);
}

WORD CBusAccess::MakeIndividualAddress(BYTE nArea, BYTE nLine, BYTE nDevice) const
{
    if (!m_bStandalone)
        return 0xFFFF;
    return static_cast<WORD>((nArea & 15) << 12 | (nLine & 15) << 8 | nDevice);
}

int CBusAccess::SetAccessMode(int /*nMode*/)
{
    return 1;
}

bool TestBusConnection(HWND hParent, const CFalconConnectionParams& params)
{
    const std::string strCaption = GetResString(306, "EIB verbinden");
    CProgressInfo progress(g_bStandalone);
    progress.Show(hParent, kProgressKindBusTest);
    progress.SetRange(0, 1);
    progress.SetCaption(strCaption);
    progress.SetTopText(GetResString(307, "Versuche Verbindung zu EIB herzustellen..."));

    CBusAccess busAccess(g_bStandalone);
    const bool bAnswers = busAccess.TestConnection(params);
    progress.Step(1);
    if (!bAnswers) {
        const std::string strText =
            GetResString(122, "Externe physikalische Schnittstelle konnte nicht installiert werden.");
        CMessageBox().ShowError(hParent, strText.c_str(), strCaption.c_str());
    }
    return bAnswers;
}
