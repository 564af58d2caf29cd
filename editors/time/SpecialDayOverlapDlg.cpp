#include "editors/time/SpecialDayOverlapDlg.h"

CSpecialDayOverlapDlg::CSpecialDayOverlapDlg(QWidget* pParent) : CDialog(IDD, pParent) {
    MapCommand(IDC_OLD_OVERLAPS_NEW, [this]() { Choose(kModeOldOverridesNew); });
    MapCommand(IDC_NEW_OVERLAPS_OLD, [this]() { Choose(kModeNewOverridesOld); });
}

CSpecialDayOverlapDlg::~CSpecialDayOverlapDlg() = default;

BOOL CSpecialDayOverlapDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void CSpecialDayOverlapDlg::Choose(int nMode) {
    m_nMode = nMode;
    EndDialog(IDOK);
}
