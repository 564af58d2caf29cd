// The report view as the main window's print commands drive it: printing to
// a PDF printer, the print preview in the frame with its bar, the printer
// setup, and the jobs that do not start.

#include "app/Chronoset.h"
#include "common/Globals.h"
#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/FrameworkTranslator.h"
#include "platform/ui/PrintDialogService.h"
#include "report/ParamReport.h"
#include "printing/view/ParamReportView.h"
#include "printing/view/PreviewToolBar.h"
#include "printing/view/PreviewView.h"
#include "resources/de/BuiltInResources.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/support/ScriptedMessageBoxSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// Answers the print dialog with the PDF file it was given, or cancels.
class CScriptedPrintDialogs : public platform::ui::IPrintDialogService
{
public:
    CScriptedPrintDialogs() : m_pPrevious(platform::ui::SetPrintDialogService(this)) {}
    ~CScriptedPrintDialogs() override { platform::ui::SetPrintDialogService(m_pPrevious); }

    bool RunPrintDialog(QPrinter& printer, const platform::ui::PrintDialogRequest& request, QWidget*) override
    {
        m_arrRequests.push_back(request);
        m_strOffered = printer.outputFileName();
        m_strDocName = printer.docName();
        if (m_bTakeOffered)
            return true;
        if (m_strOutput.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_strOutput);
        return true;
    }
    bool RunPrintSetupDialog(QPrinter&, QWidget*) override
    {
        ++m_nSetups;
        return true;
    }

    QString m_strOutput;  // empty: the user cancels
    bool m_bTakeOffered = false;  // the user prints to the file offered
    QString m_strOffered;
    QString m_strDocName;  // the printer's document when the dialog ran
    std::vector<platform::ui::PrintDialogRequest> m_arrRequests;
    int m_nSetups = 0;

private:
    platform::ui::IPrintDialogService* m_pPrevious;
};

int CountPdfPages(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

class ParamReportViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pPreviousSet = g_pChronoset;
        g_pChronoset = &m_set;
        m_pPreviousModule = platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
        ASSERT_EQ(m_set.LoadFromFile(CHRONO_SAMPLE_DATA_FILE, nullptr), 1);
        ASSERT_TRUE(m_dir.isValid());
        m_frame.resize(800, 800);
        m_pPane = new QWidget(&m_frame);
        m_pPane->setGeometry(0, 0, 800, 800);
        m_frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
    }
    void TearDown() override
    {
        platform::SetFrameworkResourceModule(m_pPreviousModule);
        g_pChronoset = m_pPreviousSet;
        g_bPrintPreviewActive = false;
    }

    QString Output(const char* pszName) const { return m_dir.filePath(QString::fromLatin1(pszName)); }

    QAbstractButton* Button(CParamReportView& view, UINT nId) const
    {
        return qobject_cast<QAbstractButton*>(view.GetPreviewToolBar()->GetDlgItem(nId));
    }

    // Paints the shown pages as the window system would.
    static void Paint(CParamReportView& view)
    {
        view.GetPreviewView()->viewport()->repaint();
        uitest::ProcessEvents();
    }

    bool StartPreview(CParamReportView& view)
    {
        g_bPrintPreviewActive = true;
        const bool bStarted = view.DoPrintPreview(30723, &m_frame);
        if (bStarted)
            Paint(view);
        return bStarted;
    }

    CChronoset m_set;
    CChronoset* m_pPreviousSet = nullptr;
    const platform::CResourceModule* m_pPreviousModule = nullptr;
    QTemporaryDir m_dir;
    QWidget m_frame;
    QWidget* m_pPane = nullptr;
    CScriptedPrintDialogs m_dialogs;
};

}  // namespace

TEST_F(ParamReportViewTest, PrintWritesTheChosenSectionsToThePdfPrinter)
{
    CParamReportView view;
    m_dialogs.m_strOutput = Output("all.pdf");
    view.OnFilePrint();
    // Every section of the sample fits on a page of its own.
    EXPECT_EQ(CountPdfPages(Output("all.pdf")), static_cast<int>(view.GetPrintItems().size()));
    ASSERT_EQ(m_dialogs.m_arrRequests.size(), 1u);
    EXPECT_FALSE(m_dialogs.m_arrRequests[0].bSelectionEnabled);
    EXPECT_EQ(view.GetReport(), nullptr);

    // A selection offers and presets the dialog's selection choice.
    view.SetPrintSelection(PRINT_SELECTION_CHOSEN);
    view.AddPrintItem(std::make_unique<CParamPrintItem>(PRINT_ITEM_GENERAL, 0));
    view.AddPrintItem(std::make_unique<CParamPrintItem>(PRINT_ITEM_USAGE, 0));
    m_dialogs.m_strOutput = Output("chosen.pdf");
    view.OnFilePrint();
    EXPECT_EQ(CountPdfPages(Output("chosen.pdf")), 2);
    ASSERT_EQ(m_dialogs.m_arrRequests.size(), 2u);
    EXPECT_TRUE(m_dialogs.m_arrRequests[1].bSelectionEnabled);
    EXPECT_TRUE(m_dialogs.m_arrRequests[1].bSelection);
}

TEST_F(ParamReportViewTest, AJobThatDoesNotStartReleasesTheReportForTheNext)
{
    CParamReportView view;
    // Cancelled in the print dialog.
    view.OnFilePrint();
    EXPECT_EQ(view.GetReport(), nullptr);
    // A file that cannot be written: the document never starts, and the
    // user is told why.
    m_dialogs.m_strOutput = QStringLiteral("/nonexistent-folder/report.pdf");
    {
        CScriptedMessageBoxSink boxes;
        boxes.ExpectText("Die Datei \"/nonexistent-folder/report.pdf\" kann nicht geschrieben werden: No such file or "
                         "directory.\nBitte wählen Sie einen anderen Dateinamen.",
                         IDOK);
        view.OnFilePrint();
    }
    EXPECT_EQ(view.GetReport(), nullptr);
    EXPECT_FALSE(QFile::exists(m_dialogs.m_strOutput));
    // The next job prints.
    m_dialogs.m_strOutput = Output("next.pdf");
    view.OnFilePrint();
    EXPECT_GT(CountPdfPages(Output("next.pdf")), 0);

    view.OnFilePrintSetup();
    EXPECT_EQ(m_dialogs.m_nSetups, 1);
}

// Qt ends a PDF job as done also when the file's bytes could not all be
// written (a full disk, here the file-size limit): the user is told, and the
// file cut short is gone.
TEST_F(ParamReportViewTest, APdfCutShortIsToldAndRemoved)
{
    CParamReportView view;
    m_dialogs.m_strOutput = Output("cut.pdf");
    CScriptedMessageBoxSink boxes;
    boxes.ExpectText("Die Datei \"" + m_dialogs.m_strOutput.toStdString() +
                         "\" kann nicht geschrieben werden: File too large.\nBitte wählen Sie einen anderen Dateinamen.",
                     IDOK);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit before = limit;
    limit.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    view.OnFilePrint();
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, previous);
    EXPECT_FALSE(QFile::exists(m_dialogs.m_strOutput));
}

// Without a file of its own (the host's road) the job offers the home
// folder and the document's name, whose "ORV/X2.1" must not lead into
// folders that are not there; printing to the file offered writes it.
TEST_F(ParamReportViewTest, TheFileOfferedForADocumentNameWithSlashesIsWritten)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a system printer takes the job";
    CChronoset set;
    auto bytes = platform::ReadWholeFile(CHRONO_SAMPLE_DATA_FILE);
    ASSERT_TRUE(bytes);
    CArchive ar(std::move(*bytes));
    set.LoadFromArchive(ar, nullptr, nullptr);
    ASSERT_TRUE(set.GetFilePath().empty());
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_dir.path().toUtf8());
    g_pChronoset = &set;
    {
        CParamReportView view;
        m_dialogs.m_bTakeOffered = true;
        view.OnFilePrint();
    }
    g_pChronoset = &m_set;
    qputenv("HOME", home);
    EXPECT_EQ(m_dialogs.m_strOffered.toStdString(),
              Output("ORV_X Jahreszeitschaltuhr - Tavik Zeitschaltuhr 2.1.pdf").toStdString());
    EXPECT_GT(CountPdfPages(m_dialogs.m_strOffered), 0);
}

// With a system printer the printer has no file, and Qt's dialog offers one
// in the home folder named after the printer's document, whose last ".x" it
// cuts: the dialog meets the document's name as one file name with the
// suffix, and the job is titled with the document's own name.
TEST_F(ParamReportViewTest, ThePrintDialogMeetsTheDocumentNameAsAFileName)
{
    CParamReportView view;
    view.GetPrinter().setOutputFileName(QString());
    m_dialogs.m_strOutput = Output("titled.pdf");
    view.OnFilePrint();
    EXPECT_EQ(m_dialogs.m_strDocName.toStdString(), "ORV_X Jahreszeitschaltuhr - Tavik Zeitschaltuhr 2.1.pdf");
    EXPECT_EQ(view.GetPrinter().docName().toStdString(), "ORV/X Jahreszeitschaltuhr - Tavik Zeitschaltuhr 2.1");
    EXPECT_GT(CountPdfPages(Output("titled.pdf")), 0);
}

// Qt's own print dialog, in German, calls a PDF file in a folder that is
// not there "schreibgeschützt"; the user reads the system's reason instead.
TEST_F(ParamReportViewTest, ThePrintDialogSaysWhyItsFileCannotBeWritten)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "the dialog offers a system printer";
    CFrameworkTranslator translator;
    ASSERT_TRUE(translator.Install());
    platform::ui::SetPrintDialogService(nullptr);
    uitest::CTestModalRunner runner;
    const QString strFile = Output("fehlt/bericht.pdf");
    QString strShown;
    runner.Then([&](QDialog& dlg) {
        auto* pFile = dlg.findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_NE(pFile, nullptr);
        uitest::PressKey(pFile, Qt::Key_A, Qt::ControlModifier);
        uitest::TypeText(pFile, strFile.toStdString());
        // Qt's message runs a loop of its own, which this answers.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                strShown = pBox->text();
                uitest::PressWindowKey(pBox, Qt::Key_Escape);
            }
        });
        answer.start(10);
        uitest::PressWindowKey(&dlg, Qt::Key_Return);
        answer.stop();
        uitest::PressWindowKey(&dlg, Qt::Key_Escape);
    });
    CParamReportView view;
    view.OnFilePrint();
    platform::ui::SetPrintDialogService(&m_dialogs);
    EXPECT_EQ(strShown.toStdString(), "Die Datei \"" + strFile.toStdString() +
                                          "\" kann nicht geschrieben werden: No such file or directory.\n"
                                          "Bitte wählen Sie einen anderen Dateinamen.");
    EXPECT_FALSE(QFile::exists(strFile));
}

TEST_F(ParamReportViewTest, PreviewPagesForwardAndBackUntilTheReportEnds)
{
    CParamReportView view;
    const UINT nPages = static_cast<UINT>(view.GetPrintItems().size());
    ASSERT_TRUE(StartPreview(view));
    EXPECT_TRUE(view.HasWindow());
    EXPECT_FALSE(m_pPane->isVisible()) << "the preview takes the frame";
    EXPECT_EQ(Button(view, ID_PREVIEW_NEXT)->text(), QStringLiteral("&Näch. Seite"));
    EXPECT_FALSE(Button(view, ID_PREVIEW_PREV)->isEnabled());
    EXPECT_FALSE(Button(view, ID_PREVIEW_ZOOMOUT)->isEnabled());

    // The last page is known once the report ended on it.
    for (UINT n = 1; n < nPages; ++n) {
        ASSERT_TRUE(Button(view, ID_PREVIEW_NEXT)->isEnabled()) << "page " << n;
        uitest::Click(Button(view, ID_PREVIEW_NEXT));
        Paint(view);
    }
    EXPECT_EQ(view.GetCurrentPage(), nPages);
    EXPECT_EQ(view.GetLastPage(), nPages);
    EXPECT_FALSE(Button(view, ID_PREVIEW_NEXT)->isEnabled());

    // Back from the cache, by key.
    uitest::PressKey(view.GetPreviewView(), Qt::Key_PageUp);
    Paint(view);
    EXPECT_EQ(view.GetCurrentPage(), nPages - 1);
    EXPECT_TRUE(Button(view, ID_PREVIEW_NEXT)->isEnabled());

    // Two pages, then zoom: the page count button is off while zoomed in.
    uitest::Click(Button(view, ID_PREVIEW_NUMPAGE));
    Paint(view);
    EXPECT_EQ(view.GetPagesShown(), 2);
    EXPECT_EQ(Button(view, ID_PREVIEW_NUMPAGE)->text(), QStringLiteral("&Eine Seite"));
    EXPECT_FALSE(Button(view, ID_PREVIEW_NEXT)->isEnabled()) << "the last page is shown beside";
    uitest::Click(Button(view, ID_PREVIEW_ZOOMIN));
    Paint(view);
    EXPECT_EQ(view.GetPreviewView()->GetZoom(), CPreviewView::kZoomMiddle);
    EXPECT_EQ(view.GetPagesShown(), 1);
    EXPECT_FALSE(Button(view, ID_PREVIEW_NUMPAGE)->isEnabled());
    uitest::Click(Button(view, ID_PREVIEW_ZOOMOUT));
    EXPECT_EQ(view.GetPreviewView()->GetZoom(), CPreviewView::kZoomOut);

    // A click in the page zooms in at it; past actual size it fits again.
    CPreviewView* pPreview = view.GetPreviewView();
    uitest::Click(pPreview->viewport(), pPreview->PageRect(0).center());
    EXPECT_EQ(pPreview->GetZoom(), CPreviewView::kZoomMiddle);
    uitest::Click(pPreview->viewport(), pPreview->viewport()->rect().center());
    EXPECT_EQ(pPreview->GetZoom(), CPreviewView::kZoomIn);
    EXPECT_GT(pPreview->verticalScrollBar()->maximum(), 0);
    uitest::Click(pPreview->viewport(), pPreview->viewport()->rect().center());
    EXPECT_EQ(pPreview->GetZoom(), CPreviewView::kZoomOut);

    uitest::Click(Button(view, ID_PREVIEW_CLOSE));
    EXPECT_FALSE(view.HasWindow());
    EXPECT_FALSE(g_bPrintPreviewActive);
    EXPECT_TRUE(m_pPane->isVisible());
    EXPECT_EQ(view.GetReport(), nullptr);
}

TEST_F(ParamReportViewTest, PrintFromThePreviewClosesItAndASecondPreviewStarts)
{
    CParamReportView view;
    ASSERT_TRUE(StartPreview(view));
    m_dialogs.m_strOutput = Output("from-preview.pdf");
    uitest::Click(Button(view, ID_PREVIEW_PRINT));
    EXPECT_FALSE(view.HasWindow());
    EXPECT_FALSE(g_bPrintPreviewActive);
    EXPECT_EQ(CountPdfPages(Output("from-preview.pdf")), static_cast<int>(view.GetPrintItems().size()));

    ASSERT_TRUE(StartPreview(view));
    EXPECT_EQ(view.GetCurrentPage(), 1u);
    EXPECT_NE(view.GetReport(), nullptr);
    view.DestroyWindow();
    EXPECT_FALSE(view.HasWindow());
    EXPECT_TRUE(m_pPane->isVisible());
}

TEST_F(ParamReportViewTest, EscapeInBarOrPageClosesThePreviewAndTheFocusGoesBack)
{
    auto* pList = new QListWidget(m_pPane);
    pList->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    pList->setCurrentRow(0);
    pList->show();
    pList->setFocus();
    CParamReportView view;
    ASSERT_TRUE(StartPreview(view));

    // After a click in the bar Return presses the button again; the bar stays.
    uitest::Click(Button(view, ID_PREVIEW_NEXT));
    uitest::PressWindowKey(&m_frame, Qt::Key_Return);
    EXPECT_EQ(view.GetCurrentPage(), 3u);
    ASSERT_TRUE(view.GetPreviewToolBar()->isAncestorOf(m_frame.focusWidget()));
    uitest::PressWindowKey(&m_frame, Qt::Key_Escape);
    EXPECT_FALSE(view.HasWindow());
    EXPECT_FALSE(g_bPrintPreviewActive);
    // The control that had the focus takes the keys again.
    uitest::PressWindowKey(&m_frame, Qt::Key_Down);
    EXPECT_EQ(pList->currentRow(), 1);

    ASSERT_TRUE(StartPreview(view));
    ASSERT_EQ(m_frame.focusWidget(), view.GetPreviewView());
    uitest::PressWindowKey(&m_frame, Qt::Key_Escape);
    EXPECT_FALSE(view.HasWindow());
    uitest::PressWindowKey(&m_frame, Qt::Key_Down);
    EXPECT_EQ(pList->currentRow(), 2);
}

TEST_F(ParamReportViewTest, EachZoomStepIsLargerThanTheLastAndZoomingOutRetracesThem)
{
    // A window smaller than the page at actual size, and one larger.
    for (const QSize& size : {QSize(800, 800), QSize(2600, 2400)}) {
        SCOPED_TRACE(size.width());
        m_frame.resize(size);
        CParamReportView view;
        ASSERT_TRUE(StartPreview(view));
        CPreviewView* pPreview = view.GetPreviewView();
        std::vector<int> arrWidths{pPreview->PageRect(0).width()};
        for (int n = 1; n <= 2; ++n) {
            uitest::Click(Button(view, ID_PREVIEW_ZOOMIN));
            arrWidths.push_back(pPreview->PageRect(0).width());
            EXPECT_GT(arrWidths[n], arrWidths[n - 1]) << "step " << n;
        }
        EXPECT_FALSE(Button(view, ID_PREVIEW_ZOOMIN)->isEnabled());
        for (int n = 1; n >= 0; --n) {
            uitest::Click(Button(view, ID_PREVIEW_ZOOMOUT));
            EXPECT_EQ(pPreview->PageRect(0).width(), arrWidths[n]) << "step " << n;
        }
    }
}
