// The parameter report drawn with Qt: the sample data file written to a PDF
// file page by page, and preview pages drawn on images and replayed.

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/base/PrintInfo.h"
#include "report/ParamReport.h"
#include "report/ReportCellText.h"
#include "report/ReportLine.h"
#include "printing/param/ParamReportOwner.h"
#include "printing/qt/QtReportDC.h"
#include "printing/qt/ReportPageWriter.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class CPdfTestOwner : public CParamReportOwner
{
public:
    BOOL DoPreparePrinting(CPrintInfo*) override { return TRUE; }
};

// Notes the first text of every body line drawn, by page, and counts the
// lines laid out, so that a page replayed from its recording tells itself
// from one drawn afresh.
class CSpyReport : public CParamReport
{
public:
    using CParamReport::CParamReport;

    BOOL MoveFirst() override
    {
        m_nLine = 0;
        return CParamReport::MoveFirst();
    }
    BOOL MoveNext() override
    {
        ++m_nLine;
        return CParamReport::MoveNext();
    }
    void PrintItem(IReportDC& dc, IReportDC* pRecordDC, CPrintInfo* pInfo, int y) override
    {
        ++m_nItemsDrawn;
        CReportLine* pLine = GetBodyGroup() ? GetBodyGroup()->GetAt(m_nLine) : nullptr;
        if (pLine && pLine->GetCellCount() > 0 && !IsLayoutOnly(pInfo))
            m_mapPages[pInfo->m_nCurPage].push_back(static_cast<CReportCellText*>(pLine->GetCell(0))->GetText());
        CParamReport::PrintItem(dc, pRecordDC, pInfo, y);
    }

    std::map<UINT, std::vector<std::string>> m_mapPages;
    int m_nItemsDrawn = 0;

private:
    int m_nLine = 0;
};

class ReportPdfTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
        ASSERT_EQ(m_set.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
    }
    void TearDown() override { g_pChronoset = m_pPrevious; }

    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
};

int CountPdfPages(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

QImage MakePageImage()
{
    // A4 at 100 dots per inch.
    QImage image(827, 1169, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    return image;
}

// Page 1 as a print job draws it.
QImage PrintedFirstPage(CParamReportOwner& owner)
{
    QImage image = MakePageImage();
    QPainter painter(&image);
    CQtReportDC dc(&image, &painter);
    CParamReport report(&owner);
    CPrintInfo info;
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.BeginPrinting(dc, &info);
    info.m_nCurPage = 1;
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.Print(dc, &info);
    report.EndPrinting(dc, &info);
    painter.end();
    return image;
}

}  // namespace

TEST_F(ReportPdfTest, SampleReportGoesToAPdfWithEverySectionOnItsOwnPages)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strPath = dir.filePath(QStringLiteral("sample.pdf"));
    QPdfWriter writer(strPath);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);

    CPdfTestOwner owner;
    CSpyReport report(&owner);
    CPrintInfo info;
    const int nPages = CReportPageWriter::Print(report, writer, info);
    ASSERT_GT(nPages, 0);
    EXPECT_EQ(CountPdfPages(strPath), nPages);
    EXPECT_EQ(static_cast<int>(report.m_mapPages.size()), nPages);

    // Each section begins a page with an empty line and its title; the
    // sample's sections each fit on one page.
    std::vector<std::string> arrTitles;
    for (const auto& [nPage, arrTexts] : report.m_mapPages) {
        ASSERT_GE(arrTexts.size(), 2u) << "page " << nPage;
        EXPECT_EQ(arrTexts[0], " ");
        arrTitles.push_back(arrTexts[1]);
    }
    EXPECT_EQ(arrTitles.size(), owner.GetPrintItems().size());
    EXPECT_EQ(arrTitles.front(), "Allgemein");
    EXPECT_EQ(arrTitles.back(), "Auslastung");
    // The job was ended: the body is gone and a new job can start.
    EXPECT_EQ(report.GetBodyGroup(), nullptr);
}

TEST_F(ReportPdfTest, PreviewPagesAreRecordedAndReplayAlike)
{
    CPdfTestOwner owner;
    CSpyReport report(&owner);
    QImage first = MakePageImage();
    QPainter painter(&first);
    CQtReportDC dc(&first, &painter);
    CPrintInfo info;
    info.m_bPreview = TRUE;
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.BeginPrinting(dc, &info);
    info.m_nCurPage = 1;
    info.m_rectDraw = dc.GetPrintablePageRect();
    report.Print(dc, &info);
    painter.end();
    const int nDrawn = report.m_nItemsDrawn;
    ASSERT_GT(nDrawn, 0);

    // The page has text and the bars under the header and over the footer.
    int nBlack = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.pixelColor(x, y) == Qt::black)
                ++nBlack;
    EXPECT_GT(nBlack, 2 * (first.width() - 80));
    // It is the page a print job draws.
    const QImage printed = PrintedFirstPage(owner);
    EXPECT_EQ(first, printed);

    // Shown again, the page is replayed from its recording, pixel for pixel.
    QImage again = MakePageImage();
    QPainter painter2(&again);
    CQtReportDC dc2(&again, &painter2);
    info.m_nCurPage = 1;
    info.m_rectDraw = dc2.GetPrintablePageRect();
    ASSERT_NE(report.GetCachedPage(1), nullptr);
    report.Print(dc2, &info);
    painter2.end();
    EXPECT_EQ(again, printed);
    // Nothing was laid out again for it.
    EXPECT_EQ(report.m_nItemsDrawn, nDrawn);
    report.EndPrinting(dc2, &info);
}
