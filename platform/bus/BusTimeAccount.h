#pragma once
// The bus time that the device's frames take on a KNX TP1 line: 9600 bit/s,
// one character is 13 bit times (start, 8 data, parity, stop and the two
// bit times of pause after it), and each frame adds 76 bit times for the
// idle time before it, the link-layer acknowledge character and the pause
// before that. A frame's characters are its 7 characters of frame overhead
// (control, source, destination, length, checksum) plus its APDU; a memory
// write of 12 bytes is 7 + 2 + 2 + 12 = 23 characters.
//
// The account only adds up; nobody waits for the time it reports.

#include "platform/bus/BusFrame.h"

#include <cstddef>
#include <vector>

class CBusTimeAccount
{
public:
    static constexpr DWORD kBitsPerSecond = 9600;
    static constexpr DWORD kBitTimesPerCharacter = 13;
    static constexpr DWORD kFrameOverheadBitTimes = 76;
    static constexpr DWORD kFrameOverheadCharacters = 7;

    // Characters of one frame of the kind carrying that many data bytes.
    static DWORD CharactersOf(EBusFrameKind eKind, std::size_t nDataBytes);
    // Bit times of a frame of that many characters.
    static DWORD BitTimesOf(DWORD nCharacters) { return kBitTimesPerCharacter * nCharacters + kFrameOverheadBitTimes; }

    // Records one frame and gives it back with its length and time.
    const CBusFrame& AddFrame(EBusFrameKind eKind, std::size_t nDataBytes = 0);

    const std::vector<CBusFrame>& GetFrames() const { return m_arrFrames; }
    ULONGLONG GetFrameCount() const { return m_nFrameCount; }
    ULONGLONG GetCharacterCount() const { return m_nCharacterCount; }
    ULONGLONG GetBitTimes() const { return m_nBitTimes; }
    // The bus time in microseconds, rounded to the nearest.
    ULONGLONG GetMicroseconds() const;

    // Sets the totals without frames (a stored account read back).
    void Restore(ULONGLONG nFrames, ULONGLONG nCharacters, ULONGLONG nBitTimes);
    void Reset();

private:
    std::vector<CBusFrame> m_arrFrames;
    ULONGLONG m_nFrameCount = 0;
    ULONGLONG m_nCharacterCount = 0;
    ULONGLONG m_nBitTimes = 0;
};
