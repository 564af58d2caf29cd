#include "common/ProgressInfo.h"

#include <algorithm>
#include <cstdint>

CProgressInfo::CProgressInfo(int nMode) : m_nMode(nMode)
{
}

CProgressInfo::~CProgressInfo()
{
    if (m_pDialog && m_pDialog->GetHandle())
        m_pDialog->Destroy();
}

HWND CProgressInfo::Show(HWND hOwner, int nKind)
{
    if (m_pDialog && m_pDialog->GetHandle())
        return nullptr;
    if (!m_pDialog) {
        m_pDialog = platform::CreateProgressWindow(hOwner, nKind);
        if (!m_pDialog)
            return nullptr;
    }
    HWND hWnd = m_pDialog->Create();
    if (!hWnd) {
        m_pDialog.reset();
        return nullptr;
    }
    m_pDialog->Activate();
    return hWnd;
}

void CProgressInfo::Hide()
{
    if (m_pDialog && m_pDialog->GetHandle())
        m_pDialog->Hide();
}

HWND CProgressInfo::GetWindow() const
{
    return m_pDialog ? m_pDialog->GetHandle() : nullptr;
}

void CProgressInfo::SetCaption(const std::string& strText)
{
    if (m_pDialog)
        m_pDialog->SetCaption(strText);
}

void CProgressInfo::SetTopText(const std::string& strText)
{
    if (m_pDialog)
        m_pDialog->SetTopText(strText);
}

void CProgressInfo::SetMiddleText(const std::string& strText)
{
    if (m_pDialog)
        m_pDialog->SetMiddleText(strText);
}

void CProgressInfo::SetBottomText(const std::string& strText)
{
    if (m_pDialog)
        m_pDialog->SetBottomText(strText);
}

void CProgressInfo::SetRange(DWORD dwA, DWORD dwB)
{
    m_dwLow = std::min(dwA, dwB);
    m_dwHigh = std::max(dwA, dwB);
    m_dwPosition = 0;
    m_wLastPercent = 0;
    Report(0);
}

bool CProgressInfo::Step(DWORD dwCount)
{
    if (dwCount == 0 || m_dwHigh <= m_dwLow)
        return Report(platform::IProgressWindow::kNoChange);

    // The position counts from the low end, so the share done is the new
    // position over the range's width. In 64 bits: a large range would
    // overflow the product, and a position beyond the range must not wrap.
    const std::uint64_t nWidth = m_dwHigh - m_dwLow;
    const std::uint64_t nPosition = static_cast<std::uint64_t>(m_dwPosition) + dwCount;
    std::uint64_t nPercent = nPosition * 100 / nWidth;
    if (nPercent >= 100) {
        nPercent = 100;
        m_dwPosition = static_cast<DWORD>(nWidth);
    } else {
        m_dwPosition = static_cast<DWORD>(nPosition);
    }

    const WORD wPercent = static_cast<WORD>(nPercent);
    if (wPercent == m_wLastPercent)
        return Report(platform::IProgressWindow::kNoChange);
    m_wLastPercent = wPercent;
    return Report(wPercent);
}

bool CProgressInfo::SetPercent(WORD wPercent)
{
    return Report(wPercent <= 100 ? wPercent : platform::IProgressWindow::kNoChange);
}

bool CProgressInfo::Report(WORD wValue)
{
    if (!m_pDialog || !m_pDialog->GetHandle())
        return true;
    return m_pDialog->SetProgress(wValue) == 1;
}
