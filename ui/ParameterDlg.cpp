#include "ui/ParameterDlg.h"

#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "app/StartUp.h"
#include "model/Globals.h"
#include "model/ResString.h"
#include "platform/base/PathUtil.h"

namespace {

constexpr char kTitleSeparator[] = " - ";

bool IsVekManufacturer() {
    return g_atlModule.m_strManuf == kDefaultManuf;
}

}  // namespace

CParameterDlg::CParameterDlg(CObject* /*pDeviceObject*/, QWidget* pParent) : CDialog(IDD, pParent) {
    // The start-up registers this class with the product icon.
    SetWindowClass(kMainWindowClassName);
}

CParameterDlg::~CParameterDlg() = default;

BOOL CParameterDlg::OnInitDialog() {
    UpdateTitle();
    return FALSE;
}

void CParameterDlg::OnOK() {}

void CParameterDlg::OnCancel() {}

void CParameterDlg::OnClose() {
    EndDialog(IDOK);
}

std::string CParameterDlg::BuildTitle() {
    const bool bVek = IsVekManufacturer();
    std::string strTitle = bVek ? GetResString(1100, "Vek") : GetResString(1105, "Applikationsbaustein");
    strTitle += kTitleSeparator;
    strTitle += g_bStandalone ? GetResString(1103, "Parametriersoftware Tavik 2.1") : GetResString(1101, "Tavik/2");
    strTitle += kTitleSeparator;
    if (g_bStandalone && g_pChronoset != nullptr) {
        const std::string strPath = g_pChronoset->GetFilePath();
        if (!strPath.empty()) {
            strTitle += platform::PathFileName(strPath);
            strTitle += kTitleSeparator;
        }
    }
    strTitle += g_pChronoset != nullptr ? g_pChronoset->GetIndividualAddressText() : std::string("--.--.---");
    if (!g_bStandalone && bVek) {
        strTitle += ' ';
        strTitle += GetResString(1102, "ORV/X2.1 Applikationsbaustein");
    }
    return strTitle;
}

void CParameterDlg::UpdateTitle() {
    SetWindowText(BuildTitle());
}
