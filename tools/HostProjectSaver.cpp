#include "tools/HostProjectSaver.h"

#include "platform/base/FileDialogService.h"
#include "platform/base/MessageBoxSink.h"
#include "platform/base/PathUtil.h"
#include "platform/host/EtsHost.h"

#include <cstdio>

namespace {

constexpr char kCaption[] = "etshost";
constexpr char kSaveTitle[] = "Save the project as";

std::string FailureText(const std::string& strError)
{
    return "The project could not be saved:\n" + strError +
           "\n\nChoose another file for it; the changes are kept until it is saved.";
}

constexpr char kDropQuestion[] = "Close without saving the project?\n\nThe changes made in the editor are lost.";

// A save dialog in the folder of the file that failed, with its name.
platform::FileDialogRequest SaveRequest(const std::string& strFailed)
{
    platform::FileDialogRequest request;
    request.bOpen = false;
    request.strTitle = kSaveTitle;
    request.filters = {{"Project files", {"*.json"}}, {"All files", {"*"}}};
    request.strDefExt = "json";
    request.strFileName = platform::PathFileName(strFailed);
    request.strInitialDir = platform::PathDirectory(strFailed);
    request.dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    return request;
}

}  // namespace

bool CHostProjectSaver::Write(const std::string& strPath)
{
    if (!m_host.SaveFile(strPath, &m_strError)) {
        std::fprintf(stderr, "etshost: %s\n", m_strError.c_str());
        return false;
    }
    std::printf("saved %s\n", strPath.c_str());
    return true;
}

bool CHostProjectSaver::SaveElsewhere(const std::string& strPath)
{
    // Without both nobody answers, and a cancelled dialog would be asked for
    // again without end.
    if (!platform::GetMessageBoxSink() || !platform::GetFileDialogService())
        return false;
    std::string strFailed = strPath;
    for (;;) {
        platform::MessageBox(nullptr, FailureText(m_strError).c_str(), kCaption, MB_OK | MB_ICONERROR);
        std::string strChosen;
        // The changes go only on a clear yes; a closed question asks again.
        while (platform::ShowFileDialog(SaveRequest(strFailed), strChosen) != IDOK) {
            if (platform::MessageBox(nullptr, kDropQuestion, kCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
                IDYES) {
                std::fprintf(stderr, "etshost: the changes to the project were not saved\n");
                return false;
            }
        }
        if (Write(strChosen))
            return true;
        strFailed = strChosen;
    }
}
