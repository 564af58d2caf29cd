#pragma once
// A file-dialog service for tests. A test queues the dialogs it expects,
// each with the path that answers it or a cancel; the service checks every
// dialog against the next expectation, records its request, and fails the
// running test on any dialog it did not expect (answered IDCANCEL) and, when
// it goes, on expected dialogs that never came. It installs itself while it
// lives and puts the previous service back afterwards.

#include "platform/base/FileDialogService.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class CScriptedFileDialogService : public platform::IFileDialogService {
public:
    struct Expectation {
        std::optional<bool> bOpen;          // open or save dialog
        std::optional<std::string> title;
        std::optional<std::string> initialDir;
        int nAnswer = IDOK;
        std::string strPath;                // the chosen file of an IDOK answer
    };

    CScriptedFileDialogService();
    ~CScriptedFileDialogService() override;

    CScriptedFileDialogService(const CScriptedFileDialogService&) = delete;
    CScriptedFileDialogService& operator=(const CScriptedFileDialogService&) = delete;

    CScriptedFileDialogService& Expect(Expectation expectation);
    // An open (or save) dialog answered with the path.
    CScriptedFileDialogService& ExpectOpen(std::string strPath);
    CScriptedFileDialogService& ExpectSave(std::string strPath);
    // Any dialog, cancelled.
    CScriptedFileDialogService& ExpectCancel();

    const std::vector<platform::FileDialogRequest>& GetRequests() const { return m_vecRequests; }
    std::size_t GetPendingCount() const { return m_queExpected.size(); }

    int ShowFileDialog(const platform::FileDialogRequest& request, std::string& strPath) override;

private:
    platform::IFileDialogService* m_pPrevious;
    std::deque<Expectation> m_queExpected;
    std::vector<platform::FileDialogRequest> m_vecRequests;
};
