#pragma once
// The framework's file dialog on the file-dialog service: made on the
// stack with the kind (open or save), default extension, start name, flags,
// filter text and owner, optionally given a title and a start folder, run
// with DoModal; after IDOK the chosen path and its parts can be read.

#include "platform/base/FileDialogService.h"
#include "platform/base/WinTypes.h"

#include <string>

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                HWND hParentWnd = nullptr);
    virtual ~CFileDialog();

    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    virtual int DoModal();

    void SetTitle(const std::string& strTitle) { m_request.strTitle = strTitle; }
    void SetInitialDir(const std::string& strDir) { m_request.strInitialDir = strDir; }
    // What DoModal asks for; callers may adjust it before the run.
    platform::FileDialogRequest& GetRequest() { return m_request; }
    const platform::FileDialogRequest& GetRequest() const { return m_request; }

    // The chosen file after IDOK: the full path, the name with extension,
    // the extension without the dot, the name without extension.
    const std::string& GetPathName() const { return m_strPathName; }
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFileTitle() const;

private:
    platform::FileDialogRequest m_request;
    std::string m_strPathName;
};
