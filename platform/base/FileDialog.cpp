#include "platform/base/FileDialog.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, HWND hParentWnd) {
    m_request.bOpen = bOpenFileDialog != FALSE;
    m_request.hOwner = hParentWnd;
    m_request.strDefExt = lpszDefExt != nullptr ? lpszDefExt : "";
    m_request.strFileName = lpszFileName != nullptr ? lpszFileName : "";
    m_request.dwFlags = dwFlags;
    if (lpszFilter != nullptr) {
        m_request.filters = platform::ParseFileFilter(lpszFilter);
    }
}

CFileDialog::~CFileDialog() = default;

int CFileDialog::DoModal() {
    std::string strPath;
    const int nResult = platform::ShowFileDialog(m_request, strPath);
    if (nResult == IDOK) {
        m_strPathName = strPath;
    }
    return nResult;
}

std::string CFileDialog::GetFileName() const {
    const std::size_t nSlash = m_strPathName.find_last_of("/\\");
    return nSlash == std::string::npos ? m_strPathName : m_strPathName.substr(nSlash + 1);
}

std::string CFileDialog::GetFileExt() const {
    const std::string strName = GetFileName();
    const std::size_t nDot = strName.rfind('.');
    return nDot == std::string::npos ? std::string() : strName.substr(nDot + 1);
}

std::string CFileDialog::GetFileTitle() const {
    const std::string strName = GetFileName();
    const std::size_t nDot = strName.rfind('.');
    return nDot == std::string::npos ? strName : strName.substr(0, nDot);
}
