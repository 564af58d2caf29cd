#include "launcher/LauncherMessageBoxSink.h"

CLauncherMessageBoxSink::~CLauncherMessageBoxSink()
{
    if (m_guard.IsActive())
        m_guard.End();
}

int CLauncherMessageBoxSink::ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                                            UINT nStyle)
{
    if (!m_guard.IsActive() && !m_guard.Begin())
        return IDOK;  // no display: standard error carries the message
    return m_qtBoxes.ShowMessageBox(hOwner, strText, strCaption, nStyle);
}

void CLauncherMessageBoxSink::SetFocus(HWND hWnd)
{
    if (m_guard.IsActive())
        m_qtBoxes.SetFocus(hWnd);
}

HWND CLauncherMessageBoxSink::GetActiveWindow()
{
    return m_guard.IsActive() ? m_qtBoxes.GetActiveWindow() : nullptr;
}
