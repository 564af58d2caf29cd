#pragma once
// File dialogs as the Qt-free layers see them. The window layer installs a
// service that shows the real dialog; tests install a scripted one. Without
// a service no dialog shows and every request answers IDCANCEL, which all
// callers treat as a cancel.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// Dialog flags, as the callers pass them.
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;  // ask before a save replaces a file
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;     // no read-only check box
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

namespace platform {

// One entry of a file-type filter: what the user reads and the name
// patterns it stands for ("*.tv2").
struct FileFilterEntry {
    std::string strDescription;
    std::vector<std::string> patterns;

    bool operator==(const FileFilterEntry&) const = default;
};

// The framework's filter text: description and patterns alternate,
// separated by '|', patterns of one entry by ';', ended by "||". An entry
// without patterns is dropped; the text after a doubled bar is ignored.
std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter);

struct FileDialogRequest {
    bool bOpen = true;             // open or save
    HWND hOwner = nullptr;
    std::string strTitle;          // empty: the dialog's own title
    std::vector<FileFilterEntry> filters;
    int nFilterIndex = 1;          // the filter chosen first, counted from 1
    std::string strDefExt;         // without the dot; added to a name typed without one
    std::string strFileName;       // the name the dialog starts with
    std::string strInitialDir;     // empty: the dialog's choice
    DWORD dwFlags = 0;             // OFN_*
};

class IFileDialogService {
public:
    virtual ~IFileDialogService() = default;

    // Runs the dialog modally. IDOK with the chosen file's full path in
    // strPath, or IDCANCEL (strPath left alone).
    virtual int ShowFileDialog(const FileDialogRequest& request, std::string& strPath) = 0;
};

// Installs the service (null removes it); gives back the one installed before.
IFileDialogService* SetFileDialogService(IFileDialogService* pService);
IFileDialogService* GetFileDialogService();

// Through the installed service; IDCANCEL without one.
int ShowFileDialog(const FileDialogRequest& request, std::string& strPath);

}  // namespace platform
