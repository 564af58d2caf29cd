#pragma once
// Progress calls that accept a missing indicator: a load or save without a
// progress window passes none.

#include "common/ProgressInfo.h"
#include "platform/base/WinTypes.h"

#include <string>

namespace progress {

inline void Step(CProgressInfo* pProgress, DWORD dwCount = 1)
{
    if (pProgress && dwCount)
        pProgress->Step(dwCount);
}

// A step count that may come out negative (remaining capacity) counts 0.
inline void StepRemaining(CProgressInfo* pProgress, long nCount)
{
    if (nCount > 0)
        Step(pProgress, static_cast<DWORD>(nCount));
}

inline void SetCaption(CProgressInfo* pProgress, const std::string& strText)
{
    if (pProgress)
        pProgress->SetCaption(strText);
}

inline void SetRange(CProgressInfo* pProgress, DWORD dwHigh)
{
    if (pProgress)
        pProgress->SetRange(0, dwHigh);
}

inline void SetMiddleText(CProgressInfo* pProgress, const std::string& strText)
{
    if (pProgress)
        pProgress->SetMiddleText(strText);
}

inline void SetBottomText(CProgressInfo* pProgress, const std::string& strText)
{
    if (pProgress)
        pProgress->SetBottomText(strText);
}

inline HWND ProgressWindow(CProgressInfo* pProgress)
{
    return pProgress ? pProgress->GetWindow() : nullptr;
}

}  // namespace progress
