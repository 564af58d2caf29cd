#include "tests/support/ScriptedFileDialogService.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

std::string DescribeRequest(const platform::FileDialogRequest& request) {
    return std::string(request.bOpen ? "open" : "save") + " dialog, title \"" + request.strTitle + "\", folder \"" +
           request.strInitialDir + "\"";
}

}  // namespace

CScriptedFileDialogService::CScriptedFileDialogService() : m_pPrevious(platform::SetFileDialogService(this)) {}

CScriptedFileDialogService::~CScriptedFileDialogService() {
    platform::SetFileDialogService(m_pPrevious);
    if (!m_queExpected.empty()) {
        ADD_FAILURE() << m_queExpected.size() << " expected file dialog(s) never shown";
    }
}

CScriptedFileDialogService& CScriptedFileDialogService::Expect(Expectation expectation) {
    m_queExpected.push_back(std::move(expectation));
    return *this;
}

CScriptedFileDialogService& CScriptedFileDialogService::ExpectOpen(std::string strPath) {
    Expectation expected;
    expected.bOpen = true;
    expected.strPath = std::move(strPath);
    return Expect(std::move(expected));
}

CScriptedFileDialogService& CScriptedFileDialogService::ExpectSave(std::string strPath) {
    Expectation expected;
    expected.bOpen = false;
    expected.strPath = std::move(strPath);
    return Expect(std::move(expected));
}

CScriptedFileDialogService& CScriptedFileDialogService::ExpectCancel() {
    Expectation expected;
    expected.nAnswer = IDCANCEL;
    return Expect(std::move(expected));
}

int CScriptedFileDialogService::ShowFileDialog(const platform::FileDialogRequest& request, std::string& strPath) {
    m_vecRequests.push_back(request);
    if (m_queExpected.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << DescribeRequest(request);
        return IDCANCEL;
    }
    Expectation expected = std::move(m_queExpected.front());
    m_queExpected.pop_front();
    const bool bMatch = (!expected.bOpen || *expected.bOpen == request.bOpen) &&
                        (!expected.title || *expected.title == request.strTitle) &&
                        (!expected.initialDir || *expected.initialDir == request.strInitialDir);
    if (!bMatch) {
        ADD_FAILURE() << "file dialog differs from the expected one: " << DescribeRequest(request);
    }
    if (expected.nAnswer == IDOK) {
        strPath = expected.strPath;
    }
    return expected.nAnswer;
}
