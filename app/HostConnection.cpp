#include "app/HostConnection.h"

#include "common/HostLogger.h"
#include "platform/host/LiveDeviceConnection.h"
#include "platform/host/WindowMessages.h"

#include <cstdio>

HRESULT GetLifeDeviceConnection(HWND hWnd, IUnknown* pDevice, LONG nArg1, LONG nArg2, LONG nArg3, REFIID riid,
                                void** ppv, CHostLogger* pLogger)
{
    if (!pLogger)
        return E_UNEXPECTED;
    if (!hWnd) {
        HostLogPrintf(pLogger, 2, "Window Handle is NULL");
        return E_UNEXPECTED;
    }
    const UINT nMessage = platform::host::RegisterWindowMessage(kszGetAppProcMessage);
    // The host's window is at the top of the window's parent and owner chain.
    HWND hTop = platform::host::GetTopLevelWindow(hWnd);
    static const char kszProcName[] = "GetLifeDeviceConnection";
    const LRESULT nAnswer =
        platform::host::SendMessage(hTop, nMessage, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(kszProcName)));
    if (nAnswer == 0) {
        HostLogPrintf(pLogger, 2, "The host application is not ETS3 professional.");
        return E_UNEXPECTED;
    }
    auto pfnEntry = reinterpret_cast<PFNGETLIFEDEVICECONNECTION>(nAnswer);
    return pfnEntry(pDevice, nArg1, nArg2, nArg3, riid, ppv);
}

std::string FormatGroupAddress3(WORD wAddress)
{
    // "%02ld/%02ld/%04ld" written by hand: the values have at most 2, 2 and
    // 3 digits.
    const unsigned nMain = (wAddress >> 12) & 15;
    const unsigned nMiddle = (wAddress >> 8) & 15;
    const unsigned nSub = wAddress & 255;
    const char szText[] = {static_cast<char>('0' + nMain / 10), static_cast<char>('0' + nMain % 10), '/',
                           static_cast<char>('0' + nMiddle / 10), static_cast<char>('0' + nMiddle % 10), '/', '0',
                           static_cast<char>('0' + nSub / 100), static_cast<char>('0' + nSub / 10 % 10),
                           static_cast<char>('0' + nSub % 10)};
    return std::string(szText, sizeof szText);
}
