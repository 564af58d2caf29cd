#pragma once
// One daylight-saving period: start and end (date and time of day) and the
// shift of the device's clock in whole hours. It belongs to the list of
// CSummertimes.

#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <ctime>
#include <string>

class CSummertimes;

class CSummertime : public CObject {
public:
    DECLARE_RUNTIME_CLASS(CSummertime)

    // Start and end at time value 0, no shift.
    CSummertime();
    explicit CSummertime(CSummertimes* pOwner);
    ~CSummertime() override = default;
    CSummertime(const CSummertime&) = delete;
    CSummertime& operator=(const CSummertime&) = delete;

    // The framework's dynamic creation by class.
    static CObject* CreateObject();

    std::tm GetStartTime() const { return m_tmStart; }
    std::tm GetEndTime() const { return m_tmEnd; }
    void SetStartTime(const std::tm& tm) { m_tmStart = tm; }
    void SetEndTime(const std::tm& tm) { m_tmEnd = tm; }
    int GetShift() const { return m_nShift; }
    void SetShift(int nShift) { m_nShift = nShift; }
    CSummertimes* GetOwner() const { return m_pOwner; }
    void SetOwner(CSummertimes* pOwner) { m_pOwner = pOwner; }

    // The 22-digit parameter record (the shift as a two's-complement byte).
    std::string GetParameterString() const;
    // The 11-byte device record; false ("invalid buffer") for a buffer
    // shorter than 11 bytes.
    bool FillDataBuffer(BYTE* pBuffer, std::size_t nLength) const;
    // The export line without line end: year, start, end and shift cells.
    std::string GetExportText() const;

private:
    std::tm m_tmStart {};
    std::tm m_tmEnd {};
    int m_nShift = 0;
    CSummertimes* m_pOwner = nullptr;
};
