#include "platform/base/MessageBoxSink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

class CRecordingSink : public platform::IMessageBoxSink {
public:
    int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                       UINT nStyle) override {
        m_hOwner = hOwner;
        m_strText = strText;
        m_strCaption = strCaption;
        m_nStyle = nStyle;
        return IDYES;
    }
    void SetFocus(HWND hWnd) override { m_hFocus = hWnd; }
    HWND GetActiveWindow() override { return m_hActive; }

    HWND m_hOwner = nullptr;
    HWND m_hFocus = nullptr;
    HWND m_hActive = nullptr;
    std::string m_strText;
    std::string m_strCaption;
    UINT m_nStyle = 0;
};

HWND FakeWindow(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

TEST(MessageBoxSinkTest, WithoutSinkEveryBoxIsCancelled) {
    platform::IMessageBoxSink* pOld = platform::SetMessageBoxSink(nullptr);
    EXPECT_EQ(platform::MessageBox(FakeWindow(8), "text", "caption", MB_YESNO), IDCANCEL);
    EXPECT_EQ(platform::GetActiveWindow(), nullptr);
    platform::SetFocus(FakeWindow(8));  // nothing to do, nothing to crash
    platform::SetMessageBoxSink(pOld);
}

TEST(MessageBoxSinkTest, InstalledSinkShowsTheBox) {
    CRecordingSink sink;
    sink.m_hActive = FakeWindow(16);
    platform::IMessageBoxSink* pOld = platform::SetMessageBoxSink(&sink);
    EXPECT_EQ(platform::GetMessageBoxSink(), &sink);

    EXPECT_EQ(platform::MessageBox(FakeWindow(8), "Frage?", nullptr, MB_ICONQUESTION | MB_YESNO), IDYES);
    EXPECT_EQ(sink.m_hOwner, FakeWindow(8));
    EXPECT_EQ(sink.m_strText, "Frage?");
    EXPECT_EQ(sink.m_strCaption, "");
    EXPECT_EQ(sink.m_nStyle, 0x24u);
    EXPECT_EQ(platform::GetActiveWindow(), FakeWindow(16));
    platform::SetFocus(FakeWindow(8));
    EXPECT_EQ(sink.m_hFocus, FakeWindow(8));

    EXPECT_EQ(platform::SetMessageBoxSink(pOld), &sink);
}

}  // namespace
