#include "common/ProgressInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records what the indicator shows; the handle is a made-up non-null value.
struct WindowLog
{
    std::vector<WORD> arrReports;
    std::vector<std::string> arrTexts;
    int nCreated = 0;
    int nDestroyed = 0;
    int nOwnerKind = 0;
    bool bFailCreate = false;
    bool bCancel = false;
};

class CFakeProgressWindow : public platform::IProgressWindow
{
public:
    explicit CFakeProgressWindow(WindowLog& log) : m_log(log) {}

    HWND Create() override
    {
        if (m_log.bFailCreate)
            return nullptr;
        ++m_log.nCreated;
        m_hWnd = reinterpret_cast<HWND>(0x1234);
        return m_hWnd;
    }
    HWND GetHandle() const override { return m_hWnd; }
    void Activate() override {}
    void Hide() override { m_log.arrTexts.push_back("hide"); }
    void Destroy() override
    {
        ++m_log.nDestroyed;
        m_hWnd = nullptr;
    }
    void SetCaption(const std::string& strText) override { m_log.arrTexts.push_back("caption " + strText); }
    void SetTopText(const std::string& strText) override { m_log.arrTexts.push_back("top " + strText); }
    void SetMiddleText(const std::string& strText) override { m_log.arrTexts.push_back("middle " + strText); }
    void SetBottomText(const std::string& strText) override { m_log.arrTexts.push_back("bottom " + strText); }
    int SetProgress(WORD wPercent) override
    {
        m_log.arrReports.push_back(wPercent);
        return m_log.bCancel ? 0 : 1;
    }

private:
    WindowLog& m_log;
    HWND m_hWnd = nullptr;
};

class ProgressInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::SetProgressWindowFactory([this](HWND, int nKind) {
            m_log.nOwnerKind = nKind;
            return std::make_unique<CFakeProgressWindow>(m_log);
        });
    }
    void TearDown() override { platform::SetProgressWindowFactory(nullptr); }

    WindowLog m_log;
};

constexpr WORD kNoChange = platform::IProgressWindow::kNoChange;

}  // namespace

TEST_F(ProgressInfoTest, FourStepsReportEachQuarterOnceAndStopAtTheEnd)
{
    CProgressInfo progress(0);
    ASSERT_NE(progress.Show(nullptr, 12), nullptr);
    progress.SetRange(4, 0);
    EXPECT_EQ(progress.GetLow(), 0u);
    EXPECT_EQ(progress.GetHigh(), 4u);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(progress.Step(1));
    EXPECT_EQ(m_log.arrReports, (std::vector<WORD>{0, 25, 50, 75, 100, kNoChange}));
    EXPECT_EQ(progress.GetPosition(), 4u);
    EXPECT_EQ(progress.GetPercent(), 100);
}

TEST_F(ProgressInfoTest, StepsThatPassTheEndShowExactlyOneHundred)
{
    CProgressInfo progress(0);
    progress.Show(nullptr, 8);
    progress.SetRange(0, 3);
    progress.Step(2);
    progress.Step(0xFFFFFFFF);
    EXPECT_EQ(m_log.arrReports, (std::vector<WORD>{0, 66, 100}));
    EXPECT_EQ(progress.GetPosition(), 3u);

    // Large ranges do not overflow the percentage.
    progress.SetRange(0, 4000000000u);
    progress.Step(3000000000u);
    EXPECT_EQ(progress.GetPercent(), 75);
}

TEST_F(ProgressInfoTest, ARangeNotStartingAtZeroCountsFromItsLowEnd)
{
    CProgressInfo progress(0);
    progress.SetRange(10, 20);
    progress.Step(5);
    EXPECT_EQ(progress.GetPercent(), 50);
}

TEST_F(ProgressInfoTest, RepeatedPercentAndEmptyStepsOnlyLetMessagesRun)
{
    CProgressInfo progress(0);
    progress.Show(nullptr, 9);
    progress.SetRange(0, 1000);
    progress.Step(1);  // 0 % again
    progress.Step(0);
    progress.SetRange(5, 5);
    progress.Step(1);
    EXPECT_EQ(m_log.arrReports, (std::vector<WORD>{0, kNoChange, kNoChange, 0, kNoChange}));
}

TEST_F(ProgressInfoTest, SetPercentShowsWithoutChangingTheNumbers)
{
    CProgressInfo progress(0);
    progress.Show(nullptr, 13);
    progress.SetRange(0, 4);
    progress.Step(1);
    EXPECT_TRUE(progress.SetPercent(80));
    EXPECT_TRUE(progress.SetPercent(101));
    EXPECT_EQ(m_log.arrReports, (std::vector<WORD>{0, 25, 80, kNoChange}));
    EXPECT_EQ(progress.GetPercent(), 25);
    EXPECT_EQ(progress.GetPosition(), 1u);
}

TEST_F(ProgressInfoTest, WithoutAWindowOnlyTheNumbersChange)
{
    platform::SetProgressWindowFactory(nullptr);
    CProgressInfo progress(1);
    EXPECT_EQ(progress.Show(nullptr, 8), nullptr);
    EXPECT_EQ(progress.GetWindow(), nullptr);
    progress.SetBottomText("Tagesabläufe");
    progress.SetRange(0, 4);
    EXPECT_TRUE(progress.Step(2));
    EXPECT_EQ(progress.GetPercent(), 50);
    EXPECT_EQ(progress.GetPosition(), 2u);
    EXPECT_TRUE(m_log.arrReports.empty());
}

TEST_F(ProgressInfoTest, ShowMakesOneWindowAndTheIndicatorClosesIt)
{
    {
        CProgressInfo progress(0);
        HWND hWnd = progress.Show(nullptr, 15);
        EXPECT_NE(hWnd, nullptr);
        EXPECT_EQ(m_log.nOwnerKind, 15);
        EXPECT_EQ(progress.GetWindow(), hWnd);
        EXPECT_EQ(progress.Show(nullptr, 16), nullptr);
        EXPECT_EQ(m_log.nCreated, 1);
        progress.SetCaption("EIB verbinden");
        progress.SetTopText("a");
        progress.SetMiddleText("b");
        progress.SetBottomText("c");
        progress.Hide();
        EXPECT_EQ(m_log.arrTexts, (std::vector<std::string>{"caption EIB verbinden", "top a", "middle b", "bottom c",
                                                             "hide"}));
    }
    EXPECT_EQ(m_log.nDestroyed, 1);
}

TEST_F(ProgressInfoTest, AWindowThatCannotBeMadeLeavesNone)
{
    m_log.bFailCreate = true;
    CProgressInfo progress(0);
    EXPECT_EQ(progress.Show(nullptr, 8), nullptr);
    EXPECT_EQ(progress.GetWindow(), nullptr);
    progress.SetRange(0, 2);
    EXPECT_TRUE(progress.Step(1));
    EXPECT_TRUE(m_log.arrReports.empty());
}

TEST_F(ProgressInfoTest, CancelIsReported)
{
    CProgressInfo progress(0);
    progress.Show(nullptr, 12);
    progress.SetRange(0, 4);
    m_log.bCancel = true;
    EXPECT_FALSE(progress.Step(1));
    EXPECT_FALSE(progress.SetPercent(50));
}
