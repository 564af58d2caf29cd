// The main window on the largest parameter set (every list at its
// capacity), offscreen: opening it with its navigation tree filled, every
// node selected once with its table filled, the largest switching-time table
// sorted by each column, and the parameter report paginated once. Each
// figure is a median of several runs, printed beside its target. The ini
// file is on the real disk, flushes and all, as the user's is; the reads
// and writes of it in the last pass over the nodes are counted.

#include "app/Chronoset.h"
#include "app/PlugInApp.h"
#include "editors/groups/GroupEditors.h"
#include "editors/time/TimeEditors.h"
#include "common/Globals.h"
#include "platform/base/FileSizeLimit.h"
#include "platform/base/PrintInfo.h"
#include "platform/base/PrivateProfile.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/base/WinApp.h"
#include "platform/ui/ModalRunner.h"
#include "report/ParamReport.h"
#include "printing/param/ParamReportOwner.h"
#include "printing/qt/QtReportDC.h"
#include "resources/de/BuiltInResources.h"
#include "tools/SampleData.h"
#include "ui/MainFrameWnd.h"
#include "ui/MainTableBox.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTree.h"
#include "ui/ParameterDlg.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPrinter>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Shows the window, runs the script on it, then closes it.
class CScriptRunner : public platform::ui::IModalRunner
{
public:
    std::function<void(QDialog&)> script;
    int RunModal(QDialog& dlg) override
    {
        dlg.show();
        QApplication::processEvents();
        if (script)
            script(dlg);
        if (dlg.isVisible()) {
            g_bDataModified = false;
            dlg.done(IDOK);
        }
        return dlg.result();
    }
};

void ProcessEvents()
{
    QApplication::processEvents();
}

std::vector<QTreeWidgetItem*> AllNodes(CNavigationTree& tree)
{
    tree.expandAll();
    std::vector<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it)
        nodes.push_back(*it);
    return nodes;
}

class CBenchOwner : public CParamReportOwner
{
public:
    BOOL DoPreparePrinting(CPrintInfo*) override { return TRUE; }
};

}  // namespace

int main(int argc, char** argv)
{
    platform::FailWritesPastFileSizeLimit();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    platform::SetFrameworkResourceModule(&resources::GetBuiltInResourceModule());
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "chrono-window-bench";
    std::filesystem::create_directories(dir);
    CWinApp winApp;
    winApp.SetProfileName((dir / "Vek_ZR02.ini").string());
    InstallGroupEditors();
    InstallTimeEditors();
    g_bStandalone = true;
    CChronoset set;
    BuildMaximalParameterSet(set);
    g_pChronoset = &set;

    CScriptRunner runner;
    platform::ui::SetModalRunner(&runner);

    constexpr int kRuns = 7;
    std::vector<double> arrOpen, arrSlowestTable, arrSlowestSort, arrReport;
    std::string strSlowestTable;
    platform::ProfileIoCounts passIo;
    for (int nRun = 0; nRun < kRuns; ++nRun) {
        Clock::time_point tStart = Clock::now();
        runner.script = [&](QDialog& dlg) {
            arrOpen.push_back(Ms(Clock::now() - tStart));
            auto& main = static_cast<CParameterDlg&>(dlg);
            CNavigationTree& tree = *main.GetFrame()->GetTreeView(0)->GetTree();

            double dSlowest = 0.0;
            QTreeWidgetItem* pLargest = nullptr;
            int nLargestRows = -1;
            const platform::ProfileIoCounts ioBefore = platform::GetProfileIoCounts();
            for (QTreeWidgetItem* pNode : AllNodes(tree)) {
                const Clock::time_point t = Clock::now();
                tree.SelectNode(pNode);
                ProcessEvents();
                const double dMs = Ms(Clock::now() - t);
                CMainTableBox* pTable = main.GetFrame()->GetTableView(0)->GetTableBox();
                if (dMs > dSlowest) {
                    dSlowest = dMs;
                    strSlowestTable = pNode->text(0).toStdString();
                }
                if (pTable != nullptr && pTable->GetTableType() == 11 && pTable->GetItemCount() > nLargestRows) {
                    nLargestRows = pTable->GetItemCount();
                    pLargest = pNode;
                }
            }
            arrSlowestTable.push_back(dSlowest);
            const platform::ProfileIoCounts ioAfter = platform::GetProfileIoCounts();
            passIo = {ioAfter.nReads - ioBefore.nReads, ioAfter.nWrites - ioBefore.nWrites};

            double dSlowestSort = 0.0;
            if (pLargest != nullptr) {
                tree.SelectNode(pLargest);
                ProcessEvents();
                CMainTableBox* pTable = main.GetFrame()->GetTableView(0)->GetTableBox();
                for (int nColumn = 0; nColumn < pTable->GetColumnCount(); ++nColumn) {
                    const Clock::time_point t = Clock::now();
                    pTable->SortByColumn(nColumn);
                    dSlowestSort = std::max(dSlowestSort, Ms(Clock::now() - t));
                }
            }
            arrSlowestSort.push_back(dSlowestSort);
        };
        {
            CParameterDlg dlg(nullptr, nullptr);
            dlg.DoModal();
        }

        // The report paginated on a PDF printer, without a file.
        const Clock::time_point t = Clock::now();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        CBenchOwner owner;
        CParamReport report(&owner);
        QPainter painter;
        CQtReportDC dc(&printer, &painter);
        CPrintInfo info;
        info.m_bPreview = TRUE;
        info.m_rectDraw = dc.GetPrintablePageRect();
        report.BeginPrinting(dc, &info);
        // Lays out every page without drawing: asking for a page beyond the
        // end lays out all pages before it.
        info.m_nCurPage = 10000;
        info.m_lpUserData = reinterpret_cast<void*>(1);
        report.Print(dc, &info);
        report.EndPrinting(dc, &info);
        arrReport.push_back(Ms(Clock::now() - t));
    }
    platform::ui::SetModalRunner(nullptr);

    std::printf("main window open, tree filled:  %8.2f ms   (target: under 300 ms)\n", Median(arrOpen));
    std::printf("slowest table filled:           %8.2f ms   (target: under 15 ms; %s)\n", Median(arrSlowestTable),
                strSlowestTable.c_str());
    std::printf("slowest sort of the largest switching-time table: %8.2f ms (target: under 20 ms)\n",
                Median(arrSlowestSort));
    std::printf("report paginated:               %8.2f ms\n", Median(arrReport));
    std::printf("ini file in the last pass over every node: %llu reads, %llu writes (target: no write)\n",
                passIo.nReads, passIo.nWrites);
    g_pChronoset = nullptr;
    std::filesystem::remove_all(dir);
    return 0;
}
