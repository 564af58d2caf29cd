#pragma once
// A help service for tests: it records every request (help file, context,
// command) instead of opening anything. It installs itself while it lives.

#include "platform/base/HelpService.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

class CRecordingHelpService : public platform::IHelpService {
public:
    struct Request {
        std::string strHelpFile;
        DWORD dwContext;
        UINT nCmd;
    };

    CRecordingHelpService() : m_pPrevious(platform::SetHelpService(this)) {}
    ~CRecordingHelpService() override { platform::SetHelpService(m_pPrevious); }

    CRecordingHelpService(const CRecordingHelpService&) = delete;
    CRecordingHelpService& operator=(const CRecordingHelpService&) = delete;

    void ShowHelp(const std::string& strHelpFile, DWORD dwContext, UINT nCmd) override {
        m_vecRequests.push_back({strHelpFile, dwContext, nCmd});
    }

    const std::vector<Request>& GetRequests() const { return m_vecRequests; }
    // The contexts asked for, in order.
    std::vector<DWORD> GetContexts() const {
        std::vector<DWORD> contexts;
        for (const Request& request : m_vecRequests) {
            contexts.push_back(request.dwContext);
        }
        return contexts;
    }

private:
    platform::IHelpService* m_pPrevious;
    std::vector<Request> m_vecRequests;
};
