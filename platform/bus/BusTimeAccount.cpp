#include "platform/bus/BusTimeAccount.h"

DWORD CBusTimeAccount::CharactersOf(EBusFrameKind eKind, std::size_t nDataBytes)
{
    // APDU lengths: TPCI/APCI take 2 bytes; memory services add a 16-bit
    // address, user-memory services a byte of count and address extension and
    // a 16-bit address, property services object index, property id and the
    // count/start-index word. Transport control frames carry the TPCI alone.
    DWORD nData = static_cast<DWORD>(nDataBytes);
    DWORD nApdu = 0;
    switch (eKind) {
    case EBusFrameKind::Connect:
    case EBusFrameKind::Disconnect:
    case EBusFrameKind::TransportAck:
        nApdu = 1;
        break;
    case EBusFrameKind::MemoryRead:
        nApdu = 2 + 2;
        break;
    case EBusFrameKind::MemoryWrite:
    case EBusFrameKind::MemoryResponse:
        nApdu = 2 + 2 + nData;
        break;
    case EBusFrameKind::UserMemoryRead:
        nApdu = 2 + 3;
        break;
    case EBusFrameKind::UserMemoryWrite:
    case EBusFrameKind::UserMemoryResponse:
        nApdu = 2 + 3 + nData;
        break;
    case EBusFrameKind::PropertyRead:
        nApdu = 2 + 4;
        break;
    case EBusFrameKind::PropertyWrite:
    case EBusFrameKind::PropertyResponse:
        nApdu = 2 + 4 + nData;
        break;
    }
    return kFrameOverheadCharacters + nApdu;
}

const CBusFrame& CBusTimeAccount::AddFrame(EBusFrameKind eKind, std::size_t nDataBytes)
{
    CBusFrame frame;
    frame.m_eKind = eKind;
    frame.m_nDataBytes = static_cast<DWORD>(nDataBytes);
    frame.m_nCharacters = CharactersOf(eKind, nDataBytes);
    frame.m_nBitTimes = BitTimesOf(frame.m_nCharacters);
    ++m_nFrameCount;
    m_nCharacterCount += frame.m_nCharacters;
    m_nBitTimes += frame.m_nBitTimes;
    m_arrFrames.push_back(frame);
    return m_arrFrames.back();
}

ULONGLONG CBusTimeAccount::GetMicroseconds() const
{
    return (m_nBitTimes * 1000000ULL + kBitsPerSecond / 2) / kBitsPerSecond;
}

void CBusTimeAccount::Restore(ULONGLONG nFrames, ULONGLONG nCharacters, ULONGLONG nBitTimes)
{
    m_arrFrames.clear();
    m_nFrameCount = nFrames;
    m_nCharacterCount = nCharacters;
    m_nBitTimes = nBitTimes;
}

void CBusTimeAccount::Reset()
{
    Restore(0, 0, 0);
}
