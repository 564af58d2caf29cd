#include "tests/support/ScriptedMessageBoxSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

namespace {

std::string DescribeBox(HWND hOwner, const std::string& strText, const std::string& strCaption, UINT nStyle) {
    char szHead[96];
    std::snprintf(szHead, sizeof szHead, "owner %p, style 0x%02X, caption \"", static_cast<void*>(hOwner), nStyle);
    return szHead + strCaption + "\", text \"" + strText + "\"";
}

}  // namespace

CScriptedMessageBoxSink::CScriptedMessageBoxSink() : m_pPrevious(platform::SetMessageBoxSink(this)) {}

CScriptedMessageBoxSink::~CScriptedMessageBoxSink() {
    platform::SetMessageBoxSink(m_pPrevious);
    for (const Expectation& expected : m_queExpected) {
        ADD_FAILURE() << "expected message box was not shown: "
                      << (expected.text ? *expected.text : expected.textPart ? *expected.textPart : "(any text)");
    }
}

CScriptedMessageBoxSink& CScriptedMessageBoxSink::Expect(Expectation expectation) {
    m_queExpected.push_back(std::move(expectation));
    return *this;
}

CScriptedMessageBoxSink& CScriptedMessageBoxSink::ExpectAny(int nAnswer) {
    Expectation expected;
    expected.nAnswer = nAnswer;
    return Expect(std::move(expected));
}

CScriptedMessageBoxSink& CScriptedMessageBoxSink::ExpectText(std::string strText, int nAnswer) {
    Expectation expected;
    expected.text = std::move(strText);
    expected.nAnswer = nAnswer;
    return Expect(std::move(expected));
}

CScriptedMessageBoxSink& CScriptedMessageBoxSink::ExpectBox(std::string strText, std::string strCaption, UINT nStyle,
                                                            int nAnswer) {
    Expectation expected;
    expected.text = std::move(strText);
    expected.caption = std::move(strCaption);
    expected.style = nStyle;
    expected.nAnswer = nAnswer;
    return Expect(std::move(expected));
}

int CScriptedMessageBoxSink::ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                                            UINT nStyle) {
    m_vecShown.push_back({hOwner, strText, strCaption, nStyle});
    if (m_queExpected.empty()) {
        ADD_FAILURE() << "unexpected message box: " << DescribeBox(hOwner, strText, strCaption, nStyle);
        return IDCANCEL;
    }
    Expectation expected = std::move(m_queExpected.front());
    m_queExpected.pop_front();

    bool bMatch = (!expected.text || *expected.text == strText) &&
                  (!expected.textPart || strText.find(*expected.textPart) != std::string::npos) &&
                  (!expected.caption || *expected.caption == strCaption) &&
                  (!expected.style || *expected.style == nStyle) && (!expected.owner || *expected.owner == hOwner);
    if (!bMatch) {
        std::string strWanted = DescribeBox(expected.owner.value_or(nullptr),
                                         expected.text ? *expected.text : expected.textPart.value_or("(any)"),
                                         expected.caption.value_or("(any)"), expected.style.value_or(0));
        ADD_FAILURE() << "message box differs from the expected one\n  shown:    "
                      << DescribeBox(hOwner, strText, strCaption, nStyle) << "\n  expected: " << strWanted;
    }
    return expected.nAnswer;
}

void CScriptedMessageBoxSink::SetFocus(HWND hWnd) { m_vecFocus.push_back(hWnd); }
