#pragma once
// The simulated KNX device that stands behind the bus-access library's
// stand-in. It answers to one individual address and offers what a download
// and the device dialogs reach:
//
// - device memory (see CDeviceMemory for the map): the tables at 0x4000,
//   0x4200 and 0x4400 and the parameter area 0x8000..0x9B6F, writable only
//   while their load-state machine (1, 2, 3; the object table and the
//   parameters belong to 3) is loading; the load-control register 0x0104
//   that takes a 10-byte record (event | machine << 4, nine further bytes);
//   the read-only load-state bytes 0xB6EA..0xB6EC;
// - properties: 5 of objects 1..3 (the load state; a write is a 10-byte load
//   event, byte 0 the event; a read gives the state byte), 13 of object 3
//   (the 5-byte application id, read-only), 201 and 202 of object 5 (the
//   6-byte download time, one element of 6 bytes, and the 40-byte stamp,
//   40 elements of one byte); a write stores its bytes from the start
//   element on, whatever its element count says, as long as they fit;
// - user memory 0xF0000..0xF000A: the status and clock block (bytes 0-6 the
//   clock, 7 the trim magnitude, 8 the flags, 9 and 10 the running day
//   routine and its source). A write of bytes 0-6 sets the clock, which then
//   runs on from that time, and marks it set; bytes 7 and 8 carry the trim
//   (of byte 8 only the sign bit 7 is taken, the status bits are the
//   device's); bytes 9 and 10 are read-only.
//
// Frames carry at most 12 data bytes of memory, 10 of a property and 11 of
// user memory. The memory and user-memory calls split longer requests into
// frames, as a bus-access library does, and stop at the first failing frame
// (what the frames before it wrote stays). A property request must fit one
// frame; callers chunk property writes themselves.
//
// The state lives in the file named by the connection parameter (see
// CDeviceStateFile), read by Open and written back when a connection
// closes, by Save and by the destructor. Every connection step and frame is
// traced, and every frame is counted in a bus-time account.
//
// One caller at a time; nothing here throws.

#include "platform/base/WinTypes.h"
#include "platform/bus/BusTimeAccount.h"
#include "platform/bus/DeviceLink.h"
#include "platform/bus/DeviceResult.h"
#include "platform/bus/DeviceState.h"
#include "platform/bus/DeviceTraceEntry.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CSimulatedDevice : public IDeviceLink
{
public:
    // Wall-clock time in milliseconds since 1970-01-01 UTC.
    using ClockSource = std::function<LONGLONG()>;

    static constexpr std::size_t kMaxMemoryFrameData = 12;
    static constexpr std::size_t kMaxPropertyFrameData = 10;
    static constexpr std::size_t kMaxUserMemoryFrameData = 11;

    static constexpr DWORD kStatusBlock = 0xF0000;
    static constexpr DWORD kStatusBlockSize = 11;
    static constexpr DWORD kStatusWritableSize = 9;  // bytes 9 and 10 are the device's

    static constexpr BYTE kLoadStateProperty = 5;      // of objects 1..3
    static constexpr BYTE kApplicationObject = 3;
    static constexpr BYTE kApplicationIdProperty = 13;
    static constexpr BYTE kStampObject = 5;
    static constexpr BYTE kDownloadTimeProperty = 201;
    static constexpr BYTE kDownloadStampProperty = 202;

    // Where the running program's week routine and special days lie; the
    // status block's day routine is read from them.
    static constexpr DWORD kWeekRoutine = 0x86C0;
    static constexpr DWORD kSpecialDays = 0x86D0;
    static constexpr DWORD kSpecialDayCount = 100;
    static constexpr DWORD kSpecialDaySize = 11;

    // A fresh in-memory device; without a clock source it reads the system
    // clock.
    explicit CSimulatedDevice(ClockSource fnClock = {});
    // Writes a changed state back to its file.
    ~CSimulatedDevice() override;
    CSimulatedDevice(const CSimulatedDevice&) = delete;
    CSimulatedDevice& operator=(const CSimulatedDevice&) = delete;

    // Takes the device behind the connection parameter, the path of its state
    // file: what is at the path is read (a folder or a pipe is refused), a
    // missing file is created with a fresh device; an empty parameter keeps the device in memory only. A file that
    // cannot be read or created gives StateFileError, and the device then
    // stays a fresh in-memory one that never writes that file.
    EDeviceResult Open(const std::string& strConnectionParam);
    const std::string& GetStatePath() const { return m_strStatePath; }
    // Writes the state file now (Ok without one).
    EDeviceResult Save();
    // Why the last Open or Save gave StateFileError, as CDeviceStateFile
    // tells it (the system's reason, or the key found wrong); empty after
    // one that succeeded. Kept here, as errno may have changed since.
    const std::string& GetStateFileError() const { return m_strStateFileError; }

    // Whether the bus interface answers; DeviceOpenError receives the
    // extended error value of the opening.
    EDeviceResult TestInterface(LONG& nDeviceOpenError);
    // Opens a connection to the target address. ConnectionRefused and
    // DeviceOpenError (with the value) come from the interface, NoDevice when
    // the target is not this device's address.
    EDeviceResult Connect(WORD nTargetAddress, LONG& nDeviceOpenError);
    // Closes the connection and writes the state file.
    EDeviceResult Disconnect() override;
    bool IsConnected() const override { return m_bConnected; }

    // Access calls, each counted once for the failing-call fault.
    EDeviceResult ReadProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                               std::vector<BYTE>& arrData) override;
    EDeviceResult WriteProperty(BYTE nObjectIndex, BYTE nPropertyId, BYTE nTypeCode, WORD nStartIndex, BYTE nCount,
                                const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;
    EDeviceResult ReadMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) override;
    EDeviceResult WriteMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;
    EDeviceResult ReadUserMemory(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData) override;
    EDeviceResult WriteUserMemory(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0) override;

    // Single frames, each a call of its own; more data than a frame carries
    // gives FrameTooLong without any bus traffic.
    EDeviceResult ReadMemoryFrame(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData);
    EDeviceResult WriteMemoryFrame(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0);
    EDeviceResult ReadUserMemoryFrame(DWORD nAddress, std::size_t nLength, std::vector<BYTE>& arrData);
    EDeviceResult WriteUserMemoryFrame(DWORD nAddress, const BYTE* pData, std::size_t nLength, WORD nFlag = 0);

    // Set-up and inspection, without bus traffic, trace or call counting.
    WORD GetIndividualAddress() const { return m_oState.m_nIndividualAddress; }
    void SetIndividualAddress(WORD nAddress);
    const CApplicationId& GetApplicationId() const { return m_oState.m_oApplicationId; }
    void SetApplicationId(const CApplicationId& oId);
    // What property 13 of object 3 answers: the foreign id while that fault
    // is set, else the own one.
    CApplicationId GetReportedApplicationId() const;
    BYTE GetLoadState(int nMachine) const;
    void SetLoadState(int nMachine, BYTE nState);
    // Memory as a read would give it; 0 for unmapped bytes.
    std::vector<BYTE> PeekMemory(DWORD nAddress, std::size_t nLength) const;
    // Writes stored memory bypassing every rule; false outside the tables
    // and the parameter area.
    bool PokeMemory(DWORD nAddress, const std::vector<BYTE>& arrData);
    std::array<BYTE, kStatusBlockSize> GetStatusBlock() const;
    // Sets the clock (record as in the status block) as a user-memory write
    // would; false for an invalid date or time.
    bool SetClock(const std::array<BYTE, 7>& arrRecord, int nTrim = 0);
    const std::vector<BYTE>& GetDownloadTime() const { return m_oState.m_arrDownloadTime; }
    const std::vector<BYTE>& GetDownloadStamp() const { return m_oState.m_arrDownloadStamp; }

    // The faults; changes take effect at once and are stored with the state.
    CDeviceFaults& GetFaults();
    const CDeviceFaults& GetFaults() const { return m_oState.m_oFaults; }

    const std::vector<CDeviceTraceEntry>& GetTrace() const { return m_arrTrace; }
    void ClearTrace() { m_arrTrace.clear(); }

    // The frames of the current (or last) connection of this object, and the
    // stored totals of the connection last closed and of all closed ones.
    const CBusTimeAccount& GetSessionBusTime() const { return m_oSessionBusTime; }
    const CBusTimeAccount& GetLastSessionBusTime() const { return m_oState.m_oLastSessionBusTime; }
    const CBusTimeAccount& GetTotalBusTime() const { return m_oState.m_oTotalBusTime; }

    const CDeviceState& GetState() const { return m_oState; }

private:
    enum class EProperty { None, LoadState, ApplicationId, DownloadTime, DownloadStamp };

    LONGLONG Now() const;
    EProperty FindProperty(BYTE nObjectIndex, BYTE nPropertyId) const;
    // Counts the call; the failure that ends it before any frame, or Ok.
    EDeviceResult BeginAccess(CDeviceTraceEntry& oEntry);
    EDeviceResult Finish(CDeviceTraceEntry& oEntry, EDeviceResult eResult);
    void AddFrame(EBusFrameKind eKind, std::size_t nDataBytes = 0);
    void EndSession();
    void ApplyLoadEvent(int nMachine, BYTE nEvent);
    bool IsApplicationRunning() const;
    void FindRunningDayRoutine(const std::array<BYTE, 7>& arrClock, BYTE& nRoutine, BYTE& nSource) const;

    EDeviceResult ReadPropertyFrame(CDeviceTraceEntry oEntry, std::vector<BYTE>& arrData);
    EDeviceResult WritePropertyFrame(CDeviceTraceEntry oEntry);
    using ReadFrameImpl = EDeviceResult (CSimulatedDevice::*)(CDeviceTraceEntry, std::size_t, std::vector<BYTE>&);
    using WriteFrameImpl = EDeviceResult (CSimulatedDevice::*)(CDeviceTraceEntry);
    // One frame's access, traced as the operation, the frame served by the
    // implementation.
    EDeviceResult ReadOneFrame(EDeviceOperation eOperation, DWORD nAddress, std::size_t nLength,
                               ReadFrameImpl pfnFrame, std::vector<BYTE>& arrData);
    EDeviceResult WriteOneFrame(EDeviceOperation eOperation, DWORD nAddress, const BYTE* pData, std::size_t nLength,
                                WORD nFlag, WriteFrameImpl pfnFrame);
    EDeviceResult ReadInFrames(EDeviceOperation eOperation, DWORD nAddress, std::size_t nLength,
                               std::size_t nFrameSize, ReadFrameImpl pfnFrame, std::vector<BYTE>& arrData);
    EDeviceResult WriteInFrames(EDeviceOperation eOperation, DWORD nAddress, const BYTE* pData, std::size_t nLength,
                                WORD nFlag, std::size_t nFrameSize, WriteFrameImpl pfnFrame);
    EDeviceResult ReadMemoryFrameImpl(CDeviceTraceEntry oEntry, std::size_t nLength, std::vector<BYTE>& arrData);
    EDeviceResult WriteMemoryFrameImpl(CDeviceTraceEntry oEntry);
    EDeviceResult CheckMemoryWrite(DWORD nAddress, const std::vector<BYTE>& arrData) const;
    EDeviceResult ReadUserMemoryFrameImpl(CDeviceTraceEntry oEntry, std::size_t nLength,
                                          std::vector<BYTE>& arrData);
    EDeviceResult WriteUserMemoryFrameImpl(CDeviceTraceEntry oEntry);

    ClockSource m_fnClock;
    CDeviceState m_oState;
    std::string m_strStatePath;
    std::string m_strStateFileError;
    bool m_bConnected = false;
    bool m_bDirty = false;
    std::vector<CDeviceTraceEntry> m_arrTrace;
    CBusTimeAccount m_oSessionBusTime;
};
