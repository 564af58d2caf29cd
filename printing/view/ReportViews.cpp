#include "printing/view/ReportViews.h"

#include "printing/view/ParamReportView.h"
#include "ui/ParameterDlg.h"

void InstallReportView() {
    CParameterDlg::SetReportViewFactory(
        [](CParameterDlg* pMainWindow) -> std::unique_ptr<IReportView> { return std::make_unique<CParamReportView>(pMainWindow); });
}
