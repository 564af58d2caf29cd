#include "platform/bus/SimulatedDevice.h"

#include "platform/bus/DeviceStateFile.h"

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

CSimulatedDevice::CSimulatedDevice(ClockSource fnClock) : m_fnClock(std::move(fnClock))
{
    m_oState.Reset(Now());
}

CSimulatedDevice::~CSimulatedDevice()
{
    if (m_bConnected)
        EndSession();
    if (m_bDirty)
        Save();
}

LONGLONG CSimulatedDevice::Now() const
{
    if (m_fnClock)
        return m_fnClock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// ---------------------------------------------------------------------------
// State file

EDeviceResult CSimulatedDevice::Open(const std::string& strConnectionParam)
{
    if (m_bConnected)
        return EDeviceResult::AlreadyConnected;
    if (m_bDirty)
        Save();
    m_oState.Reset(Now());
    m_strStatePath.clear();
    m_strStateFileError.clear();
    m_bDirty = false;
    if (strConnectionParam.empty())
        return EDeviceResult::Ok;
    // Anything at the path is read, so that a folder or a pipe there is
    // refused as such instead of the write of a fresh device failing on it.
    struct stat st {};
    if (::stat(strConnectionParam.c_str(), &st) == 0) {
        CDeviceState oLoaded;
        if (!CDeviceStateFile::Load(strConnectionParam, oLoaded, &m_strStateFileError))
            return EDeviceResult::StateFileError;
        m_oState = std::move(oLoaded);
        m_strStatePath = strConnectionParam;
        return EDeviceResult::Ok;
    }
    if (!CDeviceStateFile::Save(strConnectionParam, m_oState, &m_strStateFileError))
        return EDeviceResult::StateFileError;
    m_strStatePath = strConnectionParam;
    return EDeviceResult::Ok;
}

EDeviceResult CSimulatedDevice::Save()
{
    m_strStateFileError.clear();
    if (m_strStatePath.empty()) {
        m_bDirty = false;
        return EDeviceResult::Ok;
    }
    if (!CDeviceStateFile::Save(m_strStatePath, m_oState, &m_strStateFileError))
        return EDeviceResult::StateFileError;
    m_bDirty = false;
    return EDeviceResult::Ok;
}

// ---------------------------------------------------------------------------
// Connection

EDeviceResult CSimulatedDevice::TestInterface(LONG& nDeviceOpenError)
{
    nDeviceOpenError = 0;
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = EDeviceOperation::TestInterface;
    if (m_oState.m_oFaults.IsConnectionRefused())
        return Finish(oEntry, EDeviceResult::ConnectionRefused);
    nDeviceOpenError = m_oState.m_oFaults.GetDeviceOpenError();
    return Finish(oEntry, EDeviceResult::Ok);
}

EDeviceResult CSimulatedDevice::Connect(WORD nTargetAddress, LONG& nDeviceOpenError)
{
    nDeviceOpenError = 0;
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = EDeviceOperation::Connect;
    oEntry.m_nAddress = nTargetAddress;
    m_bDirty = true;
    bool bInjected = m_oState.m_oFaults.CountCall();
    oEntry.m_nCall = m_oState.m_oFaults.GetCallCount();
    if (bInjected)
        return Finish(oEntry, EDeviceResult::InjectedFailure);
    if (m_bConnected)
        return Finish(oEntry, EDeviceResult::AlreadyConnected);
    if (m_oState.m_oFaults.IsConnectionRefused())
        return Finish(oEntry, EDeviceResult::ConnectionRefused);
    if (m_oState.m_oFaults.GetDeviceOpenError() != 0) {
        nDeviceOpenError = m_oState.m_oFaults.GetDeviceOpenError();
        return Finish(oEntry, EDeviceResult::DeviceOpenError);
    }
    m_oSessionBusTime.Reset();
    AddFrame(EBusFrameKind::Connect);
    // Nobody answers the T_Connect of an address that is not this device's.
    if (nTargetAddress != m_oState.m_nIndividualAddress)
        return Finish(oEntry, EDeviceResult::NoDevice);
    m_bConnected = true;
    return Finish(oEntry, EDeviceResult::Ok);
}

EDeviceResult CSimulatedDevice::Disconnect()
{
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = EDeviceOperation::Disconnect;
    if (!m_bConnected)
        return Finish(oEntry, EDeviceResult::NotConnected);
    AddFrame(EBusFrameKind::Disconnect);
    EndSession();
    return Finish(oEntry, Save());
}

void CSimulatedDevice::EndSession()
{
    m_bConnected = false;
    m_oState.m_oLastSessionBusTime.Restore(m_oSessionBusTime.GetFrameCount(), m_oSessionBusTime.GetCharacterCount(),
                                           m_oSessionBusTime.GetBitTimes());
    const CBusTimeAccount& total = m_oState.m_oTotalBusTime;
    m_oState.m_oTotalBusTime.Restore(total.GetFrameCount() + m_oSessionBusTime.GetFrameCount(),
                                     total.GetCharacterCount() + m_oSessionBusTime.GetCharacterCount(),
                                     total.GetBitTimes() + m_oSessionBusTime.GetBitTimes());
    m_bDirty = true;
}

// ---------------------------------------------------------------------------
// Shared steps of every access

EDeviceResult CSimulatedDevice::BeginAccess(CDeviceTraceEntry& oEntry)
{
    m_bDirty = true;
    bool bInjected = m_oState.m_oFaults.CountCall();
    oEntry.m_nCall = m_oState.m_oFaults.GetCallCount();
    if (bInjected)
        return Finish(oEntry, EDeviceResult::InjectedFailure);
    if (!m_bConnected)
        return Finish(oEntry, EDeviceResult::NotConnected);
    return EDeviceResult::Ok;
}

EDeviceResult CSimulatedDevice::Finish(CDeviceTraceEntry& oEntry, EDeviceResult eResult)
{
    oEntry.m_eResult = eResult;
    m_arrTrace.push_back(oEntry);
    return eResult;
}

void CSimulatedDevice::AddFrame(EBusFrameKind eKind, std::size_t nDataBytes)
{
    m_oSessionBusTime.AddFrame(eKind, nDataBytes);
}

void CSimulatedDevice::ApplyLoadEvent(int nMachine, BYTE nEvent)
{
    if (m_oState.m_oFaults.IsLoadStateStuck(nMachine))
        return;
    m_oState.m_arrLoadStates[static_cast<std::size_t>(nMachine - 1)].ApplyEvent(nEvent);
    m_bDirty = true;
}

// ---------------------------------------------------------------------------
// Properties

CSimulatedDevice::EProperty CSimulatedDevice::FindProperty(BYTE nObjectIndex, BYTE nPropertyId) const
{
    if (nPropertyId == kLoadStateProperty && nObjectIndex >= 1 && nObjectIndex <= 3)
        return EProperty::LoadState;
    if (nObjectIndex == kApplicationObject && nPropertyId == kApplicationIdProperty)
        return EProperty::ApplicationId;
    if (nObjectIndex == kStampObject && nPropertyId == kDownloadTimeProperty)
        return EProperty::DownloadTime;
    if (nObjectIndex == kStampObject && nPropertyId == kDownloadStampProperty)
        return EProperty::DownloadStamp;
    return EProperty::None;
}

EDeviceResult CSimulatedDevice::ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode,
                                             WORD nStartIndex, BYTE nCount, std::vector<BYTE>& arrData)
{
    arrData.clear();
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = EDeviceOperation::PropertyRead;
    oEntry.m_nObjectIndex = nObjectIndex;
    oEntry.m_nPropertyId = nPropertyId;
    oEntry.m_nTypeCode = nTypeCode;
    oEntry.m_nStartIndex = nStartIndex;
    oEntry.m_nCount = nCount;
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    return ReadPropertyFrame(oEntry, arrData);
}

EDeviceResult CSimulatedDevice::ReadPropertyFrame(CDeviceTraceEntry oEntry, std::vector<BYTE>& arrData)
{
    AddFrame(EBusFrameKind::PropertyRead);
    AddFrame(EBusFrameKind::TransportAck);

    std::vector<BYTE> arrValue;
    std::size_t nElementSize = 1;
    switch (FindProperty(oEntry.m_nObjectIndex, oEntry.m_nPropertyId)) {
    case EProperty::LoadState:
        arrValue = {GetLoadState(oEntry.m_nObjectIndex)};
        break;
    case EProperty::ApplicationId: {
        auto arrId = GetReportedApplicationId().ToBytes();
        arrValue.assign(arrId.begin(), arrId.end());
        nElementSize = arrValue.size();
        break;
    }
    case EProperty::DownloadTime:
        arrValue = m_oState.m_arrDownloadTime;
        nElementSize = arrValue.size();
        break;
    case EProperty::DownloadStamp:
        arrValue = m_oState.m_arrDownloadStamp;
        break;
    case EProperty::None:
        break;
    }

    // A refused read is answered with no elements.
    EDeviceResult eResult = EDeviceResult::Ok;
    std::vector<BYTE> arrAnswer;
    std::size_t nElements = arrValue.size() / nElementSize;
    if (arrValue.empty()) {
        eResult = EDeviceResult::NoSuchProperty;
    } else if (oEntry.m_nStartIndex == 0) {
        // Element 0 holds the number of elements.
        if (oEntry.m_nCount == 1)
            arrAnswer = {HIBYTE(static_cast<WORD>(nElements)), LOBYTE(static_cast<WORD>(nElements))};
        else
            eResult = EDeviceResult::BadData;
    } else if (oEntry.m_nCount == 0 || oEntry.m_nStartIndex - 1u + oEntry.m_nCount > nElements) {
        eResult = EDeviceResult::BadData;
    } else if (oEntry.m_nCount * nElementSize > kMaxPropertyFrameData) {
        eResult = EDeviceResult::FrameTooLong;
    } else {
        auto first = arrValue.begin() + static_cast<std::ptrdiff_t>((oEntry.m_nStartIndex - 1u) * nElementSize);
        arrAnswer.assign(first, first + static_cast<std::ptrdiff_t>(oEntry.m_nCount * nElementSize));
    }
    AddFrame(EBusFrameKind::PropertyResponse, arrAnswer.size());
    AddFrame(EBusFrameKind::TransportAck);
    if (eResult == EDeviceResult::Ok)
        arrData = arrAnswer;
    oEntry.m_arrData = arrAnswer;
    return Finish(oEntry, eResult);
}

EDeviceResult CSimulatedDevice::WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode,
                                              WORD nStartIndex, BYTE nCount, const BYTE* pData, std::size_t nLength,
                                              WORD nFlag)
{
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = EDeviceOperation::PropertyWrite;
    oEntry.m_nObjectIndex = nObjectIndex;
    oEntry.m_nPropertyId = nPropertyId;
    oEntry.m_nTypeCode = nTypeCode;
    oEntry.m_nStartIndex = nStartIndex;
    oEntry.m_nCount = nCount;
    oEntry.m_nFlag = nFlag;
    if (pData && nLength > 0)
        oEntry.m_arrData.assign(pData, pData + nLength);
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    return WritePropertyFrame(oEntry);
}

EDeviceResult CSimulatedDevice::WritePropertyFrame(CDeviceTraceEntry oEntry)
{
    const std::vector<BYTE>& arrData = oEntry.m_arrData;
    if (arrData.empty())
        return Finish(oEntry, EDeviceResult::BadData);
    if (arrData.size() > kMaxPropertyFrameData)
        return Finish(oEntry, EDeviceResult::FrameTooLong);
    AddFrame(EBusFrameKind::PropertyWrite, arrData.size());
    AddFrame(EBusFrameKind::TransportAck);

    EDeviceResult eResult = EDeviceResult::Ok;
    std::size_t nAnswer = 0;
    std::vector<BYTE>* pValue = nullptr;
    std::size_t nElementSize = 1;
    switch (FindProperty(oEntry.m_nObjectIndex, oEntry.m_nPropertyId)) {
    case EProperty::LoadState:
        // A load event: byte 0 is the event, the rest its additional data.
        if (oEntry.m_nStartIndex != 1) {
            eResult = EDeviceResult::BadData;
        } else {
            ApplyLoadEvent(oEntry.m_nObjectIndex, arrData[0]);
            nAnswer = 1;
        }
        break;
    case EProperty::ApplicationId:
        eResult = EDeviceResult::ReadOnly;
        break;
    case EProperty::DownloadTime:
        pValue = &m_oState.m_arrDownloadTime;
        nElementSize = pValue->size();
        break;
    case EProperty::DownloadStamp:
        pValue = &m_oState.m_arrDownloadStamp;
        break;
    case EProperty::None:
        eResult = EDeviceResult::NoSuchProperty;
        break;
    }
    if (pValue) {
        std::size_t nOffset = (oEntry.m_nStartIndex - 1u) * nElementSize;
        if (oEntry.m_nStartIndex == 0 || nOffset + arrData.size() > pValue->size()) {
            eResult = EDeviceResult::BadData;
        } else {
            std::copy(arrData.begin(), arrData.end(), pValue->begin() + static_cast<std::ptrdiff_t>(nOffset));
            nAnswer = arrData.size();
        }
    }
    AddFrame(EBusFrameKind::PropertyResponse, nAnswer);
    AddFrame(EBusFrameKind::TransportAck);
    return Finish(oEntry, eResult);
}

// ---------------------------------------------------------------------------
// Longer requests go out as several frames, the way the bus-access library
// splits them.

EDeviceResult CSimulatedDevice::ReadOneFrame(EDeviceOperation eOperation, DWORD nAddress, std::size_t nLength,
                                             ReadFrameImpl pfnFrame, std::vector<BYTE>& arrData)
{
    arrData.clear();
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = eOperation;
    oEntry.m_nAddress = nAddress;
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    return (this->*pfnFrame)(oEntry, nLength, arrData);
}

EDeviceResult CSimulatedDevice::WriteOneFrame(EDeviceOperation eOperation, DWORD nAddress, const BYTE* pData,
                                              std::size_t nLength, WORD nFlag, WriteFrameImpl pfnFrame)
{
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = eOperation;
    oEntry.m_nAddress = nAddress;
    oEntry.m_nFlag = nFlag;
    if (pData && nLength > 0)
        oEntry.m_arrData.assign(pData, pData + nLength);
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    return (this->*pfnFrame)(oEntry);
}

EDeviceResult CSimulatedDevice::ReadInFrames(EDeviceOperation eOperation, DWORD nAddress, std::size_t nLength,
                                             std::size_t nFrameSize, ReadFrameImpl pfnFrame,
                                             std::vector<BYTE>& arrData)
{
    arrData.clear();
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = eOperation;
    oEntry.m_nAddress = nAddress;
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    if (nLength == 0)
        return Finish(oEntry, EDeviceResult::BadData);
    for (std::size_t nDone = 0; nDone < nLength; nDone += nFrameSize) {
        const std::size_t nSize = std::min(nFrameSize, nLength - nDone);
        oEntry.m_nAddress = nAddress + static_cast<DWORD>(nDone);
        std::vector<BYTE> arrFrame;
        eResult = (this->*pfnFrame)(oEntry, nSize, arrFrame);
        if (eResult != EDeviceResult::Ok) {
            arrData.clear();
            return eResult;
        }
        arrData.insert(arrData.end(), arrFrame.begin(), arrFrame.end());
    }
    return EDeviceResult::Ok;
}

EDeviceResult CSimulatedDevice::WriteInFrames(EDeviceOperation eOperation, DWORD nAddress, const BYTE* pData,
                                              std::size_t nLength, WORD nFlag, std::size_t nFrameSize,
                                              WriteFrameImpl pfnFrame)
{
    CDeviceTraceEntry oEntry;
    oEntry.m_eOperation = eOperation;
    oEntry.m_nAddress = nAddress;
    oEntry.m_nFlag = nFlag;
    EDeviceResult eResult = BeginAccess(oEntry);
    if (eResult != EDeviceResult::Ok)
        return eResult;
    if (!pData || nLength == 0)
        return Finish(oEntry, EDeviceResult::BadData);
    for (std::size_t nDone = 0; nDone < nLength; nDone += nFrameSize) {
        const std::size_t nSize = std::min(nFrameSize, nLength - nDone);
        oEntry.m_nAddress = nAddress + static_cast<DWORD>(nDone);
        oEntry.m_arrData.assign(pData + nDone, pData + nDone + nSize);
        eResult = (this->*pfnFrame)(oEntry);
        if (eResult != EDeviceResult::Ok)
            return eResult;
    }
    return EDeviceResult::Ok;
}

// ---------------------------------------------------------------------------
// Memory

EDeviceResult CSimulatedDevice::ReadMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadInFrames(EDeviceOperation::MemoryRead, nAddress, nLength, kMaxMemoryFrameData,
                        &CSimulatedDevice::ReadMemoryFrameImpl, arrData);
}

EDeviceResult CSimulatedDevice::ReadMemoryFrame(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadOneFrame(EDeviceOperation::MemoryRead, nAddress, nLength, &CSimulatedDevice::ReadMemoryFrameImpl,
                        arrData);
}

EDeviceResult CSimulatedDevice::ReadMemoryFrameImpl(CDeviceTraceEntry oEntry, std::size_t nLength,
                                                    std::vector<BYTE>& arrData)
{
    if (nLength == 0)
        return Finish(oEntry, EDeviceResult::BadData);
    if (nLength > kMaxMemoryFrameData)
        return Finish(oEntry, EDeviceResult::FrameTooLong);
    AddFrame(EBusFrameKind::MemoryRead);
    AddFrame(EBusFrameKind::TransportAck);
    EDeviceResult eResult = EDeviceResult::Ok;
    for (std::size_t i = 0; i < nLength; ++i) {
        if (CDeviceMemory::RegionOf(oEntry.m_nAddress + static_cast<DWORD>(i)) == CDeviceMemory::ERegion::None)
            eResult = EDeviceResult::Unmapped;
    }
    std::vector<BYTE> arrAnswer;
    if (eResult == EDeviceResult::Ok)
        arrAnswer = PeekMemory(oEntry.m_nAddress, nLength);
    AddFrame(EBusFrameKind::MemoryResponse, arrAnswer.size());
    AddFrame(EBusFrameKind::TransportAck);
    arrData = arrAnswer;
    oEntry.m_arrData = arrAnswer;
    return Finish(oEntry, eResult);
}

EDeviceResult CSimulatedDevice::WriteMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag)
{
    return WriteInFrames(EDeviceOperation::MemoryWrite, nAddress, pData, nLength, nFlag, kMaxMemoryFrameData,
                         &CSimulatedDevice::WriteMemoryFrameImpl);
}

EDeviceResult CSimulatedDevice::WriteMemoryFrame(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag)
{
    return WriteOneFrame(EDeviceOperation::MemoryWrite, nAddress, pData, nLength, nFlag,
                         &CSimulatedDevice::WriteMemoryFrameImpl);
}

EDeviceResult CSimulatedDevice::CheckMemoryWrite(DWORD nAddress, const std::vector<BYTE>& arrData) const
{
    using ERegion = CDeviceMemory::ERegion;
    bool bControl = false;
    for (std::size_t i = 0; i < arrData.size(); ++i) {
        DWORD a = nAddress + static_cast<DWORD>(i);
        ERegion eRegion = CDeviceMemory::RegionOf(a);
        switch (eRegion) {
        case ERegion::None:
            return EDeviceResult::Unmapped;
        case ERegion::LoadState:
            return EDeviceResult::ReadOnly;
        case ERegion::LoadControl:
            bControl = true;
            break;
        default: {
            int nMachine = CDeviceMemory::LoadStateMachineOf(eRegion);
            if (GetLoadState(nMachine) != CLoadStateMachine::Loading)
                return EDeviceResult::NotLoading;
            auto oProduct = CDeviceMemory::ProductByte(a, m_oState.m_nIndividualAddress);
            if (oProduct && *oProduct != arrData[i])
                return EDeviceResult::ReadOnly;
            break;
        }
        }
    }
    if (bControl) {
        // The control record starts at the register and stays inside it, and
        // names one of the three machines.
        if (nAddress != CDeviceMemory::kLoadControl ||
            nAddress + arrData.size() > CDeviceMemory::kLoadControl + CDeviceMemory::kLoadControlSize)
            return EDeviceResult::BadData;
        int nMachine = arrData[0] >> 4;
        if (nMachine < 1 || nMachine > 3)
            return EDeviceResult::BadData;
    }
    return EDeviceResult::Ok;
}

EDeviceResult CSimulatedDevice::WriteMemoryFrameImpl(CDeviceTraceEntry oEntry)
{
    const std::vector<BYTE>& arrData = oEntry.m_arrData;
    if (arrData.empty())
        return Finish(oEntry, EDeviceResult::BadData);
    if (arrData.size() > kMaxMemoryFrameData)
        return Finish(oEntry, EDeviceResult::FrameTooLong);
    AddFrame(EBusFrameKind::MemoryWrite, arrData.size());
    AddFrame(EBusFrameKind::TransportAck);
    EDeviceResult eResult = CheckMemoryWrite(oEntry.m_nAddress, arrData);
    if (eResult != EDeviceResult::Ok)
        return Finish(oEntry, eResult);
    if (CDeviceMemory::RegionOf(oEntry.m_nAddress) == CDeviceMemory::ERegion::LoadControl) {
        ApplyLoadEvent(arrData[0] >> 4, static_cast<BYTE>(arrData[0] & 0x0F));
    } else {
        for (std::size_t i = 0; i < arrData.size(); ++i)
            m_oState.m_oMemory.SetByte(oEntry.m_nAddress + static_cast<DWORD>(i), arrData[i]);
    }
    m_bDirty = true;
    return Finish(oEntry, EDeviceResult::Ok);
}

// ---------------------------------------------------------------------------
// User memory: the status and clock block

EDeviceResult CSimulatedDevice::ReadUserMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadInFrames(EDeviceOperation::UserMemoryRead, nAddress, nLength, kMaxUserMemoryFrameData,
                        &CSimulatedDevice::ReadUserMemoryFrameImpl, arrData);
}

EDeviceResult CSimulatedDevice::ReadUserMemoryFrame(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData)
{
    return ReadOneFrame(EDeviceOperation::UserMemoryRead, nAddress, nLength,
                        &CSimulatedDevice::ReadUserMemoryFrameImpl, arrData);
}

EDeviceResult CSimulatedDevice::ReadUserMemoryFrameImpl(CDeviceTraceEntry oEntry, std::size_t nLength,
                                                        std::vector<BYTE>& arrData)
{
    if (nLength == 0)
        return Finish(oEntry, EDeviceResult::BadData);
    if (nLength > kMaxUserMemoryFrameData)
        return Finish(oEntry, EDeviceResult::FrameTooLong);
    AddFrame(EBusFrameKind::UserMemoryRead);
    AddFrame(EBusFrameKind::TransportAck);
    EDeviceResult eResult = EDeviceResult::Ok;
    std::vector<BYTE> arrAnswer;
    if (oEntry.m_nAddress < kStatusBlock || oEntry.m_nAddress + nLength > kStatusBlock + kStatusBlockSize) {
        eResult = EDeviceResult::Unmapped;
    } else {
        auto arrBlock = GetStatusBlock();
        auto first = arrBlock.begin() + static_cast<std::ptrdiff_t>(oEntry.m_nAddress - kStatusBlock);
        arrAnswer.assign(first, first + static_cast<std::ptrdiff_t>(nLength));
    }
    AddFrame(EBusFrameKind::UserMemoryResponse, arrAnswer.size());
    AddFrame(EBusFrameKind::TransportAck);
    arrData = arrAnswer;
    oEntry.m_arrData = arrAnswer;
    return Finish(oEntry, eResult);
}

EDeviceResult CSimulatedDevice::WriteUserMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag)
{
    return WriteInFrames(EDeviceOperation::UserMemoryWrite, nAddress, pData, nLength, nFlag, kMaxUserMemoryFrameData,
                         &CSimulatedDevice::WriteUserMemoryFrameImpl);
}

EDeviceResult CSimulatedDevice::WriteUserMemoryFrame(DWORD nAddress, const BYTE* pData, std::size_t nLength,
                                                     WORD nFlag)
{
    return WriteOneFrame(EDeviceOperation::UserMemoryWrite, nAddress, pData, nLength, nFlag,
                         &CSimulatedDevice::WriteUserMemoryFrameImpl);
}

EDeviceResult CSimulatedDevice::WriteUserMemoryFrameImpl(CDeviceTraceEntry oEntry)
{
    const std::vector<BYTE>& arrData = oEntry.m_arrData;
    if (arrData.empty())
        return Finish(oEntry, EDeviceResult::BadData);
    if (arrData.size() > kMaxUserMemoryFrameData)
        return Finish(oEntry, EDeviceResult::FrameTooLong);
    AddFrame(EBusFrameKind::UserMemoryWrite, arrData.size());
    AddFrame(EBusFrameKind::TransportAck);
    if (oEntry.m_nAddress < kStatusBlock || oEntry.m_nAddress + arrData.size() > kStatusBlock + kStatusBlockSize)
        return Finish(oEntry, EDeviceResult::Unmapped);
    DWORD nFirst = oEntry.m_nAddress - kStatusBlock;
    DWORD nEnd = nFirst + static_cast<DWORD>(arrData.size());
    if (nEnd > kStatusWritableSize)
        return Finish(oEntry, EDeviceResult::ReadOnly);

    // Lay the written bytes over the block as it stands now.
    LONGLONG nNow = Now();
    auto arrBlock = GetStatusBlock();
    std::copy(arrData.begin(), arrData.end(), arrBlock.begin() + nFirst);
    CSimulatedClock& clock = m_oState.m_oClock;
    if (nFirst < 7) {
        CSimulatedClock::Record arrRecord;
        std::copy(arrBlock.begin(), arrBlock.begin() + 7, arrRecord.begin());
        if (!CSimulatedClock::IsValid(arrRecord))
            return Finish(oEntry, EDeviceResult::BadData);
        clock.Set(arrRecord, nNow);
    }
    if (nEnd > 7) {
        int nTrim = (arrBlock[8] & 0x80) ? -static_cast<int>(arrBlock[7]) : arrBlock[7];
        clock.SetTrim(nTrim, nNow);
    }
    m_bDirty = true;
    return Finish(oEntry, EDeviceResult::Ok);
}

bool CSimulatedDevice::IsApplicationRunning() const
{
    return GetLoadState(3) == CLoadStateMachine::Loaded && m_oState.m_oClock.IsSet();
}

void CSimulatedDevice::FindRunningDayRoutine(const std::array<BYTE, 7>& arrClock, BYTE& nRoutine,
                                             BYTE& nSource) const
{
    // A special day covering the current minute wins over the week routine.
    const std::array<BYTE, 5> arrNow = {arrClock[6], arrClock[5], arrClock[4], arrClock[0], arrClock[1]};
    for (DWORD i = 0; i < kSpecialDayCount; ++i) {
        std::vector<BYTE> arrDay = PeekMemory(kSpecialDays + i * kSpecialDaySize, kSpecialDaySize);
        if (arrDay[0] == 0xFF)
            continue;
        bool bStarted = !std::lexicographical_compare(arrNow.begin(), arrNow.end(), arrDay.begin(),
                                                      arrDay.begin() + 5);
        bool bEnded = std::lexicographical_compare(arrDay.begin() + 5, arrDay.begin() + 10, arrNow.begin(),
                                                   arrNow.end());
        if (bStarted && !bEnded) {
            nRoutine = arrDay[10];
            nSource = 1;
            return;
        }
    }
    BYTE nWeekRoutine = m_oState.m_oMemory.GetByte(kWeekRoutine + arrClock[3]);
    if (nWeekRoutine != 0) {
        nRoutine = nWeekRoutine;
        nSource = 0;
        return;
    }
    nRoutine = 0;
    nSource = 0xFF;
}

std::array<BYTE, CSimulatedDevice::kStatusBlockSize> CSimulatedDevice::GetStatusBlock() const
{
    std::array<BYTE, kStatusBlockSize> arrBlock{};
    const CSimulatedClock& clock = m_oState.m_oClock;
    CSimulatedClock::Record arrClock = clock.Read(Now());
    std::copy(arrClock.begin(), arrClock.end(), arrBlock.begin());
    int nTrim = clock.GetTrim();
    arrBlock[7] = static_cast<BYTE>(nTrim < 0 ? -nTrim : nTrim);
    BYTE nFlags = 0;
    if (clock.IsSet())
        nFlags |= 0x01;
    if (nTrim < 0)
        nFlags |= 0x80;
    BYTE nRoutine = 0;
    BYTE nSource = 0xFF;
    if (IsApplicationRunning()) {
        nFlags |= 0x08;
        FindRunningDayRoutine(arrClock, nRoutine, nSource);
    }
    arrBlock[8] = nFlags;
    arrBlock[9] = nRoutine;
    arrBlock[10] = nSource;
    return arrBlock;
}

// ---------------------------------------------------------------------------
// Set-up and inspection

void CSimulatedDevice::SetIndividualAddress(WORD nAddress)
{
    m_oState.m_nIndividualAddress = nAddress;
    m_oState.m_oMemory.ApplyProductData(nAddress);
    m_bDirty = true;
}

void CSimulatedDevice::SetApplicationId(const CApplicationId& oId)
{
    m_oState.m_oApplicationId = oId;
    m_bDirty = true;
}

CApplicationId CSimulatedDevice::GetReportedApplicationId() const
{
    const auto& oForeign = m_oState.m_oFaults.GetForeignApplication();
    return oForeign ? *oForeign : m_oState.m_oApplicationId;
}

BYTE CSimulatedDevice::GetLoadState(int nMachine) const
{
    if (nMachine < 1 || nMachine > 3)
        return CLoadStateMachine::Error;
    return m_oState.m_arrLoadStates[static_cast<std::size_t>(nMachine - 1)].GetState();
}

void CSimulatedDevice::SetLoadState(int nMachine, BYTE nState)
{
    if (nMachine < 1 || nMachine > 3 || !CLoadStateMachine::IsValidState(nState))
        return;
    m_oState.m_arrLoadStates[static_cast<std::size_t>(nMachine - 1)].SetState(nState);
    m_bDirty = true;
}

std::vector<BYTE> CSimulatedDevice::PeekMemory(DWORD nAddress, std::size_t nLength) const
{
    std::vector<BYTE> arrBytes(nLength, 0);
    for (std::size_t i = 0; i < nLength; ++i) {
        DWORD a = nAddress + static_cast<DWORD>(i);
        if (CDeviceMemory::RegionOf(a) == CDeviceMemory::ERegion::LoadState)
            arrBytes[i] = GetLoadState(static_cast<int>(a - CDeviceMemory::kLoadStates + 1));
        else
            arrBytes[i] = m_oState.m_oMemory.GetByte(a);
    }
    return arrBytes;
}

bool CSimulatedDevice::PokeMemory(DWORD nAddress, const std::vector<BYTE>& arrData)
{
    for (std::size_t i = 0; i < arrData.size(); ++i) {
        if (!CDeviceMemory::IsStored(CDeviceMemory::RegionOf(nAddress + static_cast<DWORD>(i))))
            return false;
    }
    for (std::size_t i = 0; i < arrData.size(); ++i)
        m_oState.m_oMemory.SetByte(nAddress + static_cast<DWORD>(i), arrData[i]);
    m_bDirty = true;
    return true;
}

bool CSimulatedDevice::SetClock(const std::array<BYTE, 7>& arrRecord, int nTrim)
{
    LONGLONG nNow = Now();
    if (nTrim < -255 || nTrim > 255 || !m_oState.m_oClock.Set(arrRecord, nNow))
        return false;
    m_oState.m_oClock.SetTrim(nTrim, nNow);
    m_bDirty = true;
    return true;
}

CDeviceFaults& CSimulatedDevice::GetFaults()
{
    m_bDirty = true;
    return m_oState.m_oFaults;
}
