// The simulated device's state file on arbitrary bytes, opened as the
// device inspector opens it, and the inspector's report of it, with the
// device's clock read at the moments a device may meet: now, at 1970 and at
// 2100. A state that loads is written and read again to the same text; one
// that is refused gets a reason.

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "platform/bus/DeviceReport.h"
#include "platform/bus/DeviceStateFile.h"
#include "platform/bus/SimulatedDevice.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

LONGLONG SystemNowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strPath = fuzzfiles::WriteInput("device.state", pData, nSize);
    CDeviceState oState;
    std::string strReason;
    const bool bValid = CDeviceStateFile::Load(strPath, oState, &strReason);
    // A refusal always says why, and the device tells the same.
    FUZZ_CHECK(bValid || !strReason.empty());

    // As devinspect does it, on the system clock.
    {
        CSimulatedDevice device;
        const EDeviceResult eResult = device.Open(strPath);
        FUZZ_CHECK((eResult == EDeviceResult::Ok) == bValid);
        FUZZ_CHECK(device.GetStateFileError() == (bValid ? std::string() : strReason));
        if (eResult == EDeviceResult::Ok) {
            (void)platform::FormatDeviceReport(device);
            platform::CDeviceReportOptions options;
            options.m_bMemory = false;
            (void)platform::FormatDeviceReport(device, options);
        }
    }
    if (!bValid)
        return 0;

    for (LONGLONG nNowMs : {LONGLONG {0}, SystemNowMs(), LONGLONG {4'102'444'800'000}}) {
        CSimulatedDevice device([nNowMs] { return nNowMs; });
        FUZZ_CHECK(device.Open(fuzzfiles::WriteInput("device.state", pData, nSize)) == EDeviceResult::Ok);
        (void)device.GetStatusBlock();
        (void)platform::FormatDeviceReport(device);
    }

    const std::string strText = CDeviceStateFile::ToText(oState);
    CDeviceState oAgain;
    FUZZ_CHECK(CDeviceStateFile::FromText(strText, oAgain));
    FUZZ_CHECK(CDeviceStateFile::ToText(oAgain) == strText);
    return 0;
}
