#include "ui/AboutDlg.h"

#include "common/Globals.h"
#include "common/ResString.h"

#include <QLabel>

#include <algorithm>

namespace {
constexpr char kBuildVersionLabel[] = "Build version R1.00.0431.0000";
}  // namespace

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(IDD, pParent) {}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    if (g_bStandalone) {
        SetWindowText(GetResString(650, "Über Parametriersoftware Tavik 2.1"));
        SetDlgItemText(IDC_PRODUCT_LINE, GetResString(651, "Parametriersoftware Tavik 2.1 für den ORV/X2.1"));
    } else {
        SetWindowText(GetResString(652, "Über Parametrierung Tavik"));
        SetDlgItemText(IDC_PRODUCT_LINE, GetResString(653, "Parametrierung Tavik"));
    }
    if (QWidget* pIcon = GetDlgItem(IDC_ICON_STANDALONE)) {
        pIcon->setVisible(g_bStandalone);
    }
    if (QWidget* pIcon = GetDlgItem(IDC_ICON_PLUGIN)) {
        pIcon->setVisible(!g_bStandalone);
    }
    SetDlgItemText(IDC_BUILD, kBuildVersionLabel);
    KeepProductLineOnOneLine();
    return TRUE;
}

void CAboutDlg::KeepProductLineOnOneLine() {
    // A font wider than the template's would wrap the line into the one
    // below it: the label grows towards the buttons instead.
    auto* pLine = GetDlgItemAs<QLabel>(IDC_PRODUCT_LINE);
    const QWidget* pOk = GetDlgItem(IDOK);
    if (pLine == nullptr || pOk == nullptr) {
        return;
    }
    const int nNeeded = pLine->fontMetrics().horizontalAdvance(pLine->text()) + 2;
    const int nRoom = pOk->x() - MapDialogRect(QRect(0, 0, 4, 0)).width() - pLine->x();
    if (nNeeded > pLine->width()) {
        pLine->resize(std::max(pLine->width(), std::min(nNeeded, nRoom)), pLine->height());
    }
}
