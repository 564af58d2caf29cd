#include "ui/ParameterDlg.h"

#include "access/BusAccess.h"
#include "access/EtsDataAccess.h"
#include "access/FalconConnectionParams.h"
#include "app/Chronoset.h"
#include "app/PlugInModule.h"
#include "app/StartUp.h"
#include "model/IniManager.h"
#include "model/SettingsBatch.h"
#include "model/MessageBoxes.h"
#include "model/PathUtils.h"
#include "model/Utils.h"
#include "common/Globals.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ProgressInfo.h"
#include "common/ResString.h"
#include "platform/base/FileDialogService.h"
#include "platform/base/Guid.h"
#include "platform/base/HelpService.h"
#include "platform/base/PathUtil.h"
#include "platform/base/WaitCursor.h"
#include "platform/base/WinApp.h"
#include "platform/bus/InterfaceSelection.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Menu.h"
#include "ui/AboutDlg.h"
#include "ui/IReportView.h"
#include "ui/MainFrameWnd.h"
#include "ui/MainTableView.h"
#include "ui/MainTreeView.h"
#include "ui/NavigationTree.h"
#include "ui/ViewNotify.h"
#include "ui/ViewPane.h"

#include <QPainter>
#include <QScreen>
#include <QPoint>
#include <QResizeEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include <strings.h>

namespace {

constexpr char kTitleSeparator[] = " - ";
constexpr char kPlacementSection[] = "ParameterDialog";
constexpr char kWindowSizeSection[] = "MainWindow";

// Menus of the two modes, the toolbar strip and the print preview's bar.
constexpr UINT IDR_MENU_STANDALONE = 104;
constexpr UINT IDR_MENU_PLUGIN = 105;
constexpr UINT IDB_TOOLBAR = 106;
constexpr UINT IDR_PREVIEW_TOOLBAR = 30723;
// The framework's "the preview could not start" prompt.
constexpr UINT AFX_IDP_FAILED_TO_CREATE_PREVIEW = 61705;

// Progress animation of a device write.
constexpr int kProgressKindDownload = 15;
constexpr WORD kNoIndividualAddress = 0xFFFF;

const UINT kToolbarButtons[] = {
    CParameterDlg::ID_EDIT_COPY, CParameterDlg::ID_EDIT_PASTE, ID_SEPARATOR, CParameterDlg::ID_FILE_PRINT,
    ID_SEPARATOR,                CParameterDlg::ID_FILE_SAVE,  ID_SEPARATOR, CParameterDlg::ID_HELP_TABLE,
    ID_SEPARATOR,                CParameterDlg::ID_FILE_EXIT,
};
const UINT kStatusPanes[] = {ID_SEPARATOR, ID_SEPARATOR};

CParameterDlg::DeviceDialogRunner& DateTimeDialogRunner() {
    static CParameterDlg::DeviceDialogRunner runner;
    return runner;
}

CParameterDlg::DeviceDialogRunner& StatusDialogRunner() {
    static CParameterDlg::DeviceDialogRunner runner;
    return runner;
}

CParameterDlg::ReportViewFactory& ReportFactory() {
    static CParameterDlg::ReportViewFactory factory;
    return factory;
}

unsigned& DownloadFollowUpDelay() {
    static unsigned nMilliseconds = 4000;
    return nMilliseconds;
}

bool IsVekManufacturer() {
    return g_atlModule.m_strManuf == kDefaultManuf;
}

void LinkAnchor() {}

}  // namespace

CParameterDlg::CParameterDlg(CObject* /*pDeviceObject*/, QWidget* pParent) : CDialog(IDD, pParent) {
    // The start-up registers this class with the product icon.
    SetWindowClass(kMainWindowClassName);
    MapCommands();
}

CParameterDlg::~CParameterDlg() {
    // Panes going away must not report to a half-destroyed window.
    m_bNotificationsOn = false;
    DestroyFrame();
    EndSettings();
    m_clipboard.Clear();
    SetMenu(nullptr);
}

void CParameterDlg::SetDateTimeDialogRunner(DeviceDialogRunner runner) {
    DateTimeDialogRunner() = std::move(runner);
}

void CParameterDlg::SetStatusDialogRunner(DeviceDialogRunner runner) {
    StatusDialogRunner() = std::move(runner);
}

void CParameterDlg::SetReportViewFactory(ReportViewFactory factory) {
    ReportFactory() = std::move(factory);
}

void CParameterDlg::SetDownloadFollowUpDelay(unsigned nMilliseconds) {
    DownloadFollowUpDelay() = nMilliseconds;
}

void CParameterDlg::MapCommands() {
    MapCommand(ID_FILE_OPEN, [this]() { OnFileOpen(); });
    MapCommand(ID_FILE_SAVE, [this]() { OnFileSave(); });
    MapUpdateCommandUI(ID_FILE_SAVE, [](CCmdUI* pCmdUI) { pCmdUI->Enable(g_bDataModified); });
    MapCommand(ID_FILE_SAVE_AS, [this]() { OnFileSaveAs(); });
    MapCommand(ID_FILE_EXPORT, [this]() { OnFileExport(); });
    MapCommand(ID_FILE_IMPORT, [this]() { OnFileImport(); });
    MapCommand(ID_FILE_EXIT, [this]() { OnFileExit(); });

    // Printing needs the report view; without one the items stay disabled.
    MapCommand(ID_FILE_PRINT, [this]() { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this]() { OnFilePrintPreview(); });
    MapCommand(ID_FILE_PRINT_SELECTION, [this]() { OnFilePrintSelection(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this]() { OnFilePrintSetup(); });
    for (UINT nId : {ID_FILE_PRINT, ID_FILE_PRINT_SETUP, ID_FILE_PRINT_SELECTION, ID_FILE_PRINT_PREVIEW}) {
        MapUpdateCommandUI(nId, [](CCmdUI* pCmdUI) { pCmdUI->Enable(ReportFactory() != nullptr); });
    }

    for (UINT nId : {ID_EDIT_NEW, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE, ID_EDIT_USAGE, ID_EDIT_RESERVED}) {
        MapCommand(nId, [this, nId]() { SendEditCommand(nId); });
        MapUpdateCommandUI(nId, [this](CCmdUI* pCmdUI) { UpdateEditCommand(pCmdUI); });
    }

    MapCommand(ID_DEVICE_INTERFACE, [this]() { OnDeviceInterface(); });
    MapCommand(ID_DEVICE_DOWNLOAD, [this]() { OnDeviceDownload(); });
    MapUpdateCommandUI(ID_DEVICE_DOWNLOAD, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(g_bStandalone && m_bConnectionConfigured && IsDeviceAddressKnown());
    });
    MapCommand(ID_DEVICE_SET_DATE_TIME, [this]() { OnDeviceSetDateTime(); });
    MapUpdateCommandUI(ID_DEVICE_SET_DATE_TIME, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(DateTimeDialogRunner() != nullptr && IsDeviceAddressKnown() &&
                       (!g_bStandalone || m_bConnectionConfigured));
    });
    MapCommand(ID_DEVICE_STATUS, [this]() { OnDeviceStatus(); });
    MapUpdateCommandUI(ID_DEVICE_STATUS, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(StatusDialogRunner() != nullptr && m_bConnectionConfigured && IsDeviceAddressKnown());
    });

    MapCommand(ID_WINDOW_SPLIT, [this]() { OnWindowSplit(); });
    MapUpdateCommandUI(ID_WINDOW_SPLIT, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(m_bSplit ? 1 : 0);
    });
    MapCommand(ID_WINDOW_TOOLBAR, [this]() { OnWindowToolbar(); });
    MapUpdateCommandUI(ID_WINDOW_TOOLBAR, [this](CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(m_wndToolBar.IsBarVisible() ? 1 : 0);
    });
    MapCommand(ID_WINDOW_STATUSBAR, [this]() { OnWindowStatusbar(); });
    MapUpdateCommandUI(ID_WINDOW_STATUSBAR, [this](CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(m_wndStatusBar.IsBarVisible() ? 1 : 0);
    });

    MapCommand(ID_HELP_DEVICE, []() { platform::WinHelp(kDeviceHelpContext); });
    MapCommand(ID_HELP_APPLICATION, []() { platform::WinHelp(kApplicationHelpContext); });
    MapCommand(ID_HELP_ABOUT, [this]() { OnHelpAbout(); });
    MapCommand(ID_HELP_TABLE, [this]() { OnCommandHelp(0); });
}

// ---- creation and layout

int CParameterDlg::OnCreate() {
    if (CDialog::OnCreate() == -1) {
        return -1;
    }
    m_bShowToolbar = g_IniManager.GetShowToolbar() != FALSE;
    if (!CreateToolbar()) {
        LOG_ERROR("Failed to create Toolbar");
        return -1;
    }
    m_bShowStatusbar = g_IniManager.GetShowStatusbar() != FALSE;
    if (!CreateStatusBar()) {
        LOG_ERROR("Failed to create Statusbar");
        return -1;
    }
    RepositionBars();
    SetFirstToolbarStates();

    LoadMainMenu();

    m_bSplit = g_IniManager.GetSplitterHorzDevided() != 0;
    if (!CreateFrameWnd()) {
        return -1;
    }
    ApplyStoredWindowSize();
    return 0;
}

bool CParameterDlg::CreateToolbar() {
    if (m_wndToolBar.HasWindow()) {
        LOG_INFO("Toolbar window already created");
        return true;
    }
    m_wndToolBar.SetSizes(QSize(40, 40), QSize(20, 20));
    const DWORD dwStyle = WS_CHILD | (m_bShowToolbar ? WS_VISIBLE : 0) | CBRS_TOP;
    if (!m_wndToolBar.Create(this, dwStyle, AFX_IDW_TOOLBAR)) {
        LOG_ERROR("Create Toolbar failed");
        return false;
    }
    if (!m_wndToolBar.LoadBitmap(IDB_TOOLBAR)) {
        LOG_ERROR("Failed to load toolbar bitmaps");
        return false;
    }
    if (!m_wndToolBar.SetButtons(kToolbarButtons, static_cast<int>(std::size(kToolbarButtons)))) {
        LOG_ERROR("Failed to set buttons");
        return false;
    }
    SetNotifyToolBar(&m_wndToolBar);
    return true;
}

bool CParameterDlg::CreateStatusBar() {
    if (m_wndStatusBar.HasWindow()) {
        LOG_INFO("Statusbar window already created");
        return true;
    }
    const DWORD dwStyle = WS_CHILD | (m_bShowStatusbar ? WS_VISIBLE : 0) | CBRS_BOTTOM;
    if (!m_wndStatusBar.Create(this, dwStyle, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kStatusPanes, static_cast<int>(std::size(kStatusPanes)))) {
        LOG_ERROR("CStatusBar::Create failed");
        return false;
    }
    return true;
}

void CParameterDlg::SetFirstToolbarStates() {
    m_wndToolBar.EnableButton(ID_EDIT_COPY, false);
    m_wndToolBar.EnableButton(ID_EDIT_PASTE, false);
    // Printing works once the report view is there.
    m_wndToolBar.EnableButton(ID_FILE_PRINT, ReportFactory() != nullptr);
    m_wndToolBar.EnableButton(ID_FILE_SAVE, g_bDataModified);
    m_wndToolBar.EnableButton(ID_HELP_TABLE, true);
}

bool CParameterDlg::LoadMainMenu() {
    SetMenu(nullptr);
    m_pMainMenu = std::make_unique<CMenu>();
    if (!m_pMainMenu->LoadMenu(g_bStandalone ? IDR_MENU_STANDALONE : IDR_MENU_PLUGIN)) {
        LOG_ERROR("Couldnt load the main menu");
        m_pMainMenu.reset();
        return false;
    }
    SetMenu(m_pMainMenu.get());
    return true;
}

void CParameterDlg::ApplyStoredWindowSize() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        return;
    }
    const std::string strSize = pApp->GetProfileString(kWindowSizeSection, "WindowSize");
    std::string_view text = strSize;
    const LONG nWidth = ParseNextInt(text, -1);
    const LONG nHeight = ParseNextInt(text, -1);
    if (nWidth > 0 && nHeight > 0) {
        // A damaged value never makes the window larger than the screen.
        QSize size(static_cast<int>(nWidth), static_cast<int>(nHeight));
        if (const QScreen* pScreen = screen()) {
            size = size.boundedTo(pScreen->availableVirtualGeometry().size());
        }
        resize(size);
    }
}

bool CParameterDlg::CreateFrameWnd() {
    DestroyFrame();
    m_pFrame = new CMainFrameWnd(this);
    if (!m_pFrame->Create(this, GetClientRect(), m_bSplit)) {
        LOG_ERROR("CParameterDlg::CreateFrameWnd failed");
        delete m_pFrame;
        m_pFrame = nullptr;
        return false;
    }
    m_pMainTreeView1 = m_pFrame->GetTreeView(0);
    m_pMainTableView1 = m_pFrame->GetTableView(0);
    m_pTree1 = m_pMainTreeView1 != nullptr ? m_pMainTreeView1->GetTree() : nullptr;
    if (m_pFrame->GetRowCount() > 1) {
        m_pMainTreeView2 = m_pFrame->GetTreeView(1);
        m_pMainTableView2 = m_pFrame->GetTableView(1);
        m_pTree2 = m_pMainTreeView2 != nullptr ? m_pMainTreeView2->GetTree() : nullptr;
    }
    // The panes are known to the dispatcher before the trees build, so the
    // first records of the new tables find them.
    SetPanes(m_pMainTreeView1, m_pMainTableView1, m_pMainTreeView2, m_pMainTableView2);
    if (m_pTree1 != nullptr) {
        m_pTree1->Attach(m_pMainTableView1, 0);
    }
    if (m_pTree2 != nullptr) {
        m_pTree2->Attach(m_pMainTableView2, 0);
    }
    if (m_pTree1 != nullptr) {
        m_pTree1->setFocus();
    }
    return true;
}

void CParameterDlg::DestroyReportView() {
    if (!m_pReportView) {
        return;
    }
    // A preview that goes with its view is over.
    if (m_pReportView->HasWindow()) {
        g_bPrintPreviewActive = false;
    }
    m_pReportView->DestroyWindow();
    m_pReportView.reset();
}

void CParameterDlg::DestroyFrame() {
    // The splitter's and the tables' keys go to the file in one change.
    CSettingsBatch batch;
    DestroyReportView();
    SetPanes(nullptr, nullptr, nullptr, nullptr);
    m_pMainTreeView1 = m_pMainTreeView2 = nullptr;
    m_pTree1 = m_pTree2 = nullptr;
    m_pMainTableView1 = m_pMainTableView2 = nullptr;
    if (m_pFrame != nullptr) {
        CMainFrameWnd* pFrame = m_pFrame;
        m_pFrame = nullptr;
        pFrame->SetFocusCycling(false);
        pFrame->DestroyWindow();
        delete pFrame;
    }
}

void CParameterDlg::RecalcLayout() {
    QRect rectLeft;
    RepositionBars(&rectLeft);
    if (m_pFrame != nullptr) {
        m_pFrame->setGeometry(rectLeft);
        m_pFrame->update();
    }
}

void CParameterDlg::resizeEvent(QResizeEvent* pEvent) {
    CDialog::resizeEvent(pEvent);
    RecalcLayout();
}

void CParameterDlg::paintEvent(QPaintEvent* pEvent) {
    if (!isMinimized() || m_hIcon == nullptr) {
        CDialog::paintEvent(pEvent);
        return;
    }
    const QIcon icon = platform::ui::IconFromHandle(m_hIcon);
    const QSize size = icon.actualSize(QSize(32, 32));
    QPainter painter(this);
    painter.drawPixmap((width() - size.width() + 1) / 2, (height() - size.height() + 1) / 2, icon.pixmap(size));
}

BOOL CParameterDlg::OnInitDialog() {
    UpdateTitle();
    ApplyWindowPlacement();
    CDialog::OnInitDialog();
    RecalcLayout();

    if (g_bStandalone) {
        CFalconConnectionParams params;
        g_IniManager.GetSerialCommunication(params);
        m_bConnectionConfigured = !platform::IsNullGuid(params.GetGuid());
    } else {
        m_bConnectionConfigured = true;
    }

    g_bDebugMode = g_IniManager.GetDebugMode();
    if (g_bDebugMode && g_pChronoset != nullptr) {
        DWORD nCount = 0;
        g_pChronoset->CountAssociations(nCount);
    }
    UpdateHelpFilePath();
    // The focus is on the tree already.
    return FALSE;
}

void CParameterDlg::ApplyWindowPlacement() {
    WINDOWPLACEMENT placement{};
    g_IniManager.GetWindowPlacement(kPlacementSection, placement);
    const RECT& rect = placement.rcNormalPosition;
    if (rect.right > rect.left && rect.bottom > rect.top) {
        QRect rectWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        // A placement from another screen layout or a damaged file is moved
        // and cut to the screen, so the window never opens out of reach.
        if (const QScreen* pScreen = screen()) {
            const QRect rectScreen = pScreen->availableVirtualGeometry();
            rectWindow.setSize(rectWindow.size().boundedTo(rectScreen.size()));
            if (!rectScreen.contains(rectWindow)) {
                rectWindow.moveTo(std::clamp(rectWindow.left(), rectScreen.left(), rectScreen.right() - rectWindow.width() + 1),
                                  std::clamp(rectWindow.top(), rectScreen.top(), rectScreen.bottom() - rectWindow.height() + 1));
            }
        }
        setGeometry(rectWindow);
    }
    if (placement.showCmd == SW_SHOWMAXIMIZED) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void CParameterDlg::UpdateHelpFilePath() {
    std::string strPath = platform::GetModulePathOf(reinterpret_cast<const void*>(&LinkAnchor));
    if (strPath.empty()) {
        LOG_ERROR("GetModuleFileName failed");
        return;
    }
    std::size_t nName = strPath.find_last_of("/\\:");
    nName = nName == std::string::npos ? 0 : nName + 1;
    const std::size_t nDot = strPath.find('.', nName);
    if (nDot != std::string::npos) {
        strPath.erase(nDot);
    }
    char szSuffix[16];
    std::snprintf(szSuffix, sizeof szSuffix, "%04x.chm", static_cast<unsigned>(g_IniManager.GetLanguage()) & 0xFFFFu);
    strPath += szSuffix;
    if (platform::GetHelpFilePath() != strPath) {
        platform::SetHelpFilePath(strPath);
        LOG_INFO("Help file = \"%s\"", strPath.c_str());
    }
}

void CParameterDlg::OnDestroy() {
    DestroyFrame();
    EndSettings();
    CDialog::OnDestroy();
}

void CParameterDlg::EndSettings() {
    // The close's keys go with the batch; whatever is still kept after a
    // failed write has no later write left to go with.
    m_pCloseSettings.reset();
    CIniManager::DropKeptSettings();
}

// ---- title and status line

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

CParameterDlg* CParameterDlg::FromDescendant(const QWidget* pWidget) {
    for (QWidget* p = pWidget != nullptr ? pWidget->parentWidget() : nullptr; p != nullptr; p = p->parentWidget()) {
        if (auto* pDlg = dynamic_cast<CParameterDlg*>(p)) {
            return pDlg;
        }
    }
    return nullptr;
}

void CParameterDlg::UpdateTitle() {
    SetWindowText(BuildTitle());
}

std::string CParameterDlg::BuildUsageText(int nTableType) {
    if (g_pChronoset == nullptr) {
        return {};
    }
    int nUsed = 0;
    int nMax = 0;
    std::string strLabel;
    switch (nTableType) {
    case 2:
    case 12:
        nUsed = g_pChronoset->GetQuantities()->GetCount();
        nMax = CQuantities::GetMaxCount();
        strLabel = GetResString(351, "Mengen");
        break;
    case 6:
        nUsed = g_pChronoset->GetDayRoutines()->GetCount();
        nMax = CDayRoutines::GetMaxCount();
        strLabel = GetResString(108, "Tagesabläufe");
        break;
    case 8:
        nUsed = g_pChronoset->GetSummertimes()->GetCount();
        nMax = CSummertimes::GetMaxCount();
        strLabel = GetResString(40011, "Sommerzeiten");
        break;
    case 9:
        nUsed = g_pChronoset->GetSpecialDays()->GetCount();
        nMax = CSpecialDays::GetMaxCount();
        strLabel = GetResString(40012, "Sondertage");
        break;
    case 11:
        nUsed = g_pChronoset->GetDayRoutines()->GetSwitchTimeCount();
        nMax = CDayRoutines::GetMaxSwitchTimes();
        strLabel = GetResString(40033, "Schaltzeiten");
        break;
    case 14:
        nUsed = g_pChronoset->GetQuantities()->GetTotalMemberCount();
        nMax = CQuantities::GetMaxMemberCount();
        strLabel = GetResString(40101, "Mengenmitglieder");
        break;
    default:
        return {};
    }
    std::string strText;
    if (nMax > 0) {
        FormatUsageLine(strText, false, strLabel, nMax, nUsed);
    }
    return strText;
}

void CParameterDlg::UpdateUsage(int nTableType) {
    if (!m_wndStatusBar.HasWindow()) {
        return;
    }
    m_wndStatusBar.SetPaneText(0, BuildUsageText(nTableType));
}

// ---- closing

void CParameterDlg::OnOK() {}

void CParameterDlg::OnCancel() {}

void CParameterDlg::OnClose() {
    if (SaveAndClose() != 2) {
        EndDialog(IDOK);
    }
}

void CParameterDlg::OnFileExit() {
    if (SaveAndClose() != 2) {
        m_bNotificationsOn = false;
        EndDialog(IDOK);
    }
}

void CParameterDlg::SaveWindowState() {
    // The window's keys go to the file in one change.
    CSettingsBatch batch;
    if (CWinApp* pApp = AfxGetApp()) {
        char szSize[32];
        std::snprintf(szSize, sizeof szSize, "%d %d", width(), height());
        pApp->WriteProfileString(kWindowSizeSection, "WindowSize", szSize);
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(WINDOWPLACEMENT);
    placement.showCmd = isMaximized() ? SW_SHOWMAXIMIZED : (isMinimized() ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    const QRect rect = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    placement.rcNormalPosition = RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    g_IniManager.SetWindowPlacement(kPlacementSection, placement);
    g_IniManager.SetShowToolbar(m_bShowToolbar ? TRUE : FALSE);
    g_IniManager.SetShowStatusbar(m_bShowStatusbar ? TRUE : FALSE);
    g_IniManager.SetSplitterHorzDevided(m_bSplit ? 1 : 0);
}

int CParameterDlg::SaveAndClose() {
    // The window's keys and, when the frame goes at the end of the run, the
    // splitter's and the tables' go to the file in one change, so that
    // behind another program's lock the close waits once at most. A close
    // that does not happen writes the window's keys at once.
    m_pCloseSettings.reset();
    m_pCloseSettings = std::make_unique<CSettingsBatch>();
    if (IsInitialized()) {
        SaveWindowState();
    }
    SendRecord(VN_BOTH_TABLES, 0);
    if (g_bDataModified) {
        CMessageBox box(g_bStandalone);
        const std::string strText = GetResString(506, "Sollen die geänderten Daten gespeichert werden?");
        const std::string strCaption = GetResString(505, "Änderungen speichern");
        const int nAnswer = box.AskYesNoCancel(GetSafeHwnd(), strText.c_str(), strCaption.c_str());
        if (nAnswer == IDCANCEL) {
            m_pCloseSettings.reset();
            return 2;
        }
        if (nAnswer == IDYES) {
            OnFileSave();
            if (g_bDataModified) {
                m_pCloseSettings.reset();
                return 2;
            }
        }
    }
    SendRecord(VN_CLOSING);
    m_bNotificationsOn = false;
    return 1;
}

// ---- panes and records

void CParameterDlg::SetPanes(IViewPane* pTreeView1, IViewPane* pTableView1, IViewPane* pTreeView2,
                             IViewPane* pTableView2) {
    m_pTreeView1 = pTreeView1;
    m_pTableView1 = pTableView1;
    m_pTreeView2 = pTreeView2;
    m_pTableView2 = pTableView2;
    if (!IsPane(m_pFocusedPane)) {
        m_pFocusedPane = nullptr;
    }
}

bool CParameterDlg::IsPane(const IViewPane* pPane) const {
    return pPane != nullptr &&
           (pPane == m_pTreeView1 || pPane == m_pTableView1 || pPane == m_pTreeView2 || pPane == m_pTableView2);
}

void CParameterDlg::SendRecord(int nType, int nValue) {
    if (!m_bNotificationsOn) {
        return;
    }
    VIEWNOTIFY notify;
    notify.nType = nType;
    notify.nValue = nValue;
    OnViewNotify(&notify);
}

void CParameterDlg::SendEditCommand(UINT nId) {
    if (nId == ID_EDIT_DELETE) {
        LOG_TRACE("CParameterDlg::OnEditDelete");
    }
    if (m_bNotificationsOn) {
        VIEWNOTIFY notify;
        notify.nType = VN_COMMAND;
        notify.nCommandId = nId;
        OnViewNotify(&notify);
    }
    if (nId == ID_EDIT_DELETE) {
        LOG_TRACE("CParameterDlg::OnEditDelete done");
    }
}

void CParameterDlg::UpdateEditCommand(CCmdUI* pCmdUI) {
    VIEWNOTIFY notify;
    notify.nType = VN_UPDATE_COMMAND_UI;
    notify.nCommandId = pCmdUI->m_nID;
    notify.pCmdUI = pCmdUI;
    if (m_bNotificationsOn) {
        OnViewNotify(&notify);
    }
    // Only an answer that is exactly "handled" leaves the item as the pane
    // set it.
    if (notify.nHandled != VNH_HANDLED) {
        pCmdUI->Enable(FALSE);
    }
}

bool CParameterDlg::SetClipboardObject(const CObject* pObject) {
    return m_clipboard.SetObject(pObject);
}

bool CParameterDlg::AppendClipboardObject(const CObject* pObject) {
    return m_clipboard.AppendObject(pObject);
}

bool CParameterDlg::ClipboardOffers(int nTableType, int nKind) const {
    return m_clipboard.Offers(nTableType, nKind);
}

CObject* CParameterDlg::GetFirstClipboardObject(int nKind) {
    return m_clipboard.GetFirst(nKind);
}

CObject* CParameterDlg::GetNextClipboardObject(int nKind) {
    return m_clipboard.GetNext(nKind);
}

void CParameterDlg::Broadcast(VIEWNOTIFY* pNotify) {
    IViewPane* const pSourcePane = pNotify->pSourcePane;
    CMainTableBox* const pKeptSource = pNotify->pSource;
    const void* const pKeptTree = pNotify->pSourceTree;
    int nCollected = pNotify->nHandled;
    const bool bNotBack = pNotify->nType == VN_DATA_REPLACED;

    auto toTree = [&](IViewPane* pTree) {
        if (pTree == nullptr || pTree == pSourcePane) {
            return;
        }
        pNotify->pSource = pKeptSource;
        pNotify->pSourceTree = pKeptTree;
        pNotify->nHandled = 0;
        pTree->OnViewNotify(pNotify);
        nCollected |= pNotify->nHandled;
    };
    auto toTable = [&](IViewPane* pTable) {
        if (pTable == nullptr || (pTable == pSourcePane && bNotBack)) {
            return;
        }
        // The sending table gets its own record back as an ordinary one.
        pNotify->pSource = pTable != pSourcePane ? pKeptSource : nullptr;
        pNotify->pSourceTree = pTable != pSourcePane ? pKeptTree : nullptr;
        pNotify->nHandled = 0;
        pTable->OnViewNotify(pNotify);
        nCollected |= pNotify->nHandled;
    };
    toTree(m_pTreeView1);
    toTable(m_pTableView1);
    toTree(m_pTreeView2);
    toTable(m_pTableView2);
    pNotify->pSource = pKeptSource;
    pNotify->pSourceTree = pKeptTree;
    pNotify->nHandled = nCollected;
}

void CParameterDlg::OnViewNotify(VIEWNOTIFY* pNotify) {
    if (pNotify == nullptr) {
        return;
    }
    IViewPane* const pSourcePane = pNotify->pSourcePane;
    switch (pNotify->nType) {
    case VN_ADDED:
    case VN_REMOVED:
    case VN_KINDS_CHANGED:
        UpdateUsage(pNotify->nTableType);
        Broadcast(pNotify);
        break;
    case VN_CHANGED:
    case VN_DATA_REPLACED:
        Broadcast(pNotify);
        break;
    case VN_CLIPBOARD_SET:
        SetClipboardObject(pNotify->pObject);
        break;
    case VN_CLIPBOARD_APPEND:
        AppendClipboardObject(pNotify->pObject);
        break;
    case VN_CLIPBOARD_FIRST:
        pNotify->pObject = GetFirstClipboardObject(pNotify->nKind);
        break;
    case VN_CLIPBOARD_NEXT:
        pNotify->pObject = GetNextClipboardObject(pNotify->nKind);
        break;
    case VN_DROP:
        pNotify->pSource = nullptr;
        pNotify->pSourceTree = nullptr;
        if (IsPane(pNotify->pTargetPane)) {
            pNotify->pTargetPane->OnViewNotify(pNotify);
        } else {
            pNotify->nHandled |= VNH_NO_TARGET;
        }
        break;
    case VN_ACTIVATE:
        // Only a pane of the frame can have the focus; anything else (a pane
        // on its way out) leaves none.
        m_pFocusedPane = IsPane(pSourcePane) ? pSourcePane : nullptr;
        UpdateUsage(pNotify->nValue == 1 ? pNotify->nTableType : 0);
        pNotify->nHandled = VNH_HANDLED;
        break;
    case VN_BOTH_TABLES: {
        bool bAny = false;
        for (IViewPane* pTable : {m_pTableView1, m_pTableView2}) {
            if (pTable != nullptr) {
                VIEWNOTIFY copy = *pNotify;
                pTable->OnViewNotify(&copy);
                bAny = true;
            }
        }
        if (bAny) {
            pNotify->nHandled = VNH_HANDLED;
        }
        break;
    }
    case VN_UPDATE_COMMAND_UI:
    case VN_COMMAND:
        if (IsPane(m_pFocusedPane)) {
            m_pFocusedPane->OnViewNotify(pNotify);
        } else {
            pNotify->nHandled = 0;
        }
        break;
    case VN_TOOLBAR_STATE:
        if (m_pNotifyToolBar != nullptr) {
            if (pNotify->nCommandId == ID_FILE_SAVE) {
                m_pNotifyToolBar->EnableButton(ID_FILE_SAVE, g_bDataModified);
            } else if (pNotify->nCommandId == ID_EDIT_PASTE || pNotify->nCommandId == ID_EDIT_COPY) {
                m_pNotifyToolBar->EnableButton(pNotify->nCommandId, pNotify->nValue != 0);
            }
        }
        break;
    case VN_SYNC:
        switch (pNotify->nSubcode) {
        case VNS_SELECTION_CHANGED: {
            IViewPane* pOther = nullptr;
            if (pSourcePane != nullptr && pSourcePane == m_pTreeView1) {
                pOther = m_pTreeView2;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTableView1) {
                pOther = m_pTableView2;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTreeView2) {
                pOther = m_pTreeView1;
            } else if (pSourcePane != nullptr && pSourcePane == m_pTableView2) {
                pOther = m_pTableView1;
            } else {
                pNotify->nHandled = 0;
            }
            if (pOther != nullptr) {
                pOther->OnViewNotify(pNotify);
            }
            break;
        }
        case VNS_DRAG_POINT: {
            if (pSourcePane == nullptr || (pSourcePane != m_pTableView1 && pSourcePane != m_pTableView2)) {
                break;
            }
            const VIEWNOTIFY kept = *pNotify;
            // The point is converted in place by each receiver; each asks
            // with the original.
            const QPoint ptKept = pNotify->pCmdUI != nullptr ? *static_cast<QPoint*>(pNotify->pCmdUI) : QPoint();
            IViewPane* const pOtherTable = pSourcePane == m_pTableView1 ? m_pTableView2 : m_pTableView1;
            for (IViewPane* pPane : {pOtherTable, m_pTreeView1, m_pTreeView2}) {
                if (pPane == nullptr) {
                    continue;
                }
                pPane->OnViewNotify(pNotify);
                if (pNotify->GetResult() != 0) {
                    break;
                }
                *pNotify = kept;
                if (pNotify->pCmdUI != nullptr) {
                    *static_cast<QPoint*>(pNotify->pCmdUI) = ptKept;
                }
            }
            break;
        }
        case VNS_CAN_PASTE:
            pNotify->nResult = ClipboardOffers(pNotify->nTableType, pNotify->nKind) ? 1 : 0;
            break;
        case VNS_TABLE_TYPE:
            Broadcast(pNotify);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

// ---- help

BOOL CParameterDlg::OnCommandHelp(DWORD dwContext) {
    if (dwContext == 0) {
        IViewPane* pPane = IsPane(m_pFocusedPane) ? m_pFocusedPane : nullptr;
        // A tree stands for the table of its row.
        if (pPane != nullptr && pPane == m_pTreeView1) {
            pPane = m_pTableView1;
        } else if (pPane != nullptr && pPane == m_pTreeView2) {
            pPane = m_pTableView2;
        }
        const auto* pTableView = dynamic_cast<const CMainTableView*>(pPane);
        dwContext = pTableView != nullptr ? GetObjectTypeStringId(pTableView->GetTableType()) : kApplicationHelpContext;
    }
    platform::WinHelp(dwContext);
    return TRUE;
}

void CParameterDlg::OnHelpAbout() {
    CAboutDlg dlg(this);
    dlg.DoModal();
}

// ---- window commands

void CParameterDlg::OnWindowSplit() {
    DestroyFrame();
    m_bSplit = !m_bSplit;
    CreateFrameWnd();
    RecalcLayout();
    update();
}

void CParameterDlg::OnWindowToolbar() {
    if (m_wndToolBar.IsBarVisible()) {
        m_wndToolBar.hide();
        m_bShowToolbar = false;
    } else {
        if (!m_wndToolBar.HasWindow()) {
            if (!CreateToolbar()) {
                LOG_ERROR("CParameterDlg::OnWindowToolbar: Couldnt create toolbar");
                return;
            }
            SetFirstToolbarStates();
        }
        m_wndToolBar.show();
        m_bShowToolbar = true;
    }
    RecalcLayout();
}

void CParameterDlg::OnWindowStatusbar() {
    if (m_wndStatusBar.IsBarVisible()) {
        m_wndStatusBar.hide();
        m_bShowStatusbar = false;
    } else {
        if (!m_wndStatusBar.HasWindow() && !CreateStatusBar()) {
            LOG_ERROR("CParameterDlg::OnWindowStatusbar: Couldnt create statusbar");
            return;
        }
        m_wndStatusBar.show();
        m_bShowStatusbar = true;
    }
    RecalcLayout();
}

// ---- file commands

int CParameterDlg::FileDialog(bool bOpen, std::string& strPath, std::string& strExtension, const char* pszTitle,
                              bool bCsvAllowed) {
    UINT nFilter = 104;
    if (bOpen) {
        nFilter = g_bStandalone ? 148 : 147;
    } else if (bCsvAllowed) {
        nFilter = g_bStandalone ? 145 : 103;
    }
    platform::FileDialogRequest request;
    request.bOpen = bOpen;
    request.hOwner = GetSafeHwnd();
    if (pszTitle != nullptr) {
        request.strTitle = pszTitle;
    }
    request.filters = platform::ParseFileFilter(LoadResString(nFilter));
    request.strDefExt = "tv2";
    request.dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!m_strCurrentFile.empty()) {
        request.strInitialDir = platform::PathDirectory(m_strCurrentFile);
    } else if (g_bStandalone) {
        request.strInitialDir = platform::PathDirectory(GetExeFileName());
    }
    std::string strChosen;
    const int nResult = platform::ShowFileDialog(request, strChosen);
    if (nResult == IDOK) {
        strPath = strChosen;
        strExtension = platform::PathExtension(strChosen);
    }
    return nResult;
}

void CParameterDlg::RebuildTrees() {
    if (m_pTree1 != nullptr) {
        m_pTree1->BuildTree();
    }
    if (m_pTree2 != nullptr) {
        m_pTree2->BuildTree();
    }
}

void CParameterDlg::ImportFromFile(bool bImport) {
    if (g_bDataModified) {
        const std::string strQuestion = GetResString(2104, "Änderungen werden verloren gehen.") + " " +
                                        GetResString(2106, "Wollen Sie trotzdem importieren?");
        if (QuestionBox("%s", strQuestion.c_str()) != IDYES) {
            return;
        }
    }
    std::string strPath;
    std::string strExtension;
    if (FileDialog(true, strPath, strExtension, bImport ? "Import" : nullptr, false) != IDOK) {
        return;
    }
    auto* pNew = new (std::nothrow) CChronoset;
    if (pNew == nullptr) {
        LOG_ERROR("Failed to allocate CChronoset object");
        return;
    }
    if (g_pChronoset != nullptr) {
        pNew->SetProjectId(g_pChronoset->GetProjectId());
    }
    // The open parameter set is untouched until the file has loaded.
    if (pNew->LoadFromFile(strPath, GetSafeHwnd()) == 0) {
        LOG_ERROR("Failed to import from file '%s'", strPath.c_str());
        delete pNew;
        CMessageBox box(g_bStandalone);
        box.ShowError(GetSafeHwnd(), GetResString(814, "Fehler beim Laden der Parameterdaten!").c_str(),
                      GetResString(113, "Parameterdaten laden").c_str());
        RebuildTrees();
        return;
    }
    // Copies on the clipboard and the report point into the set that goes.
    m_clipboard.Clear();
    DestroyReportView();
    std::unique_ptr<CChronoset> pOld(g_pChronoset);
    if (pOld && !g_bStandalone) {
        pNew->CopyFrom(*pOld);
        if (pNew->GetDeviceId() >= 0) {
            pNew->SetHostAssociationsReplaced(true);
        }
    }
    g_pChronoset = pNew;
    UpdateTitle();
    m_strCurrentFile = strPath;
    // The old set goes only after every pane was rebuilt from the new one,
    // so no table ever holds a row of a deleted object.
    RebuildTrees();
    pOld.reset();
    RefreshUsage();
}

void CParameterDlg::RefreshUsage() {
    // The line counts the set now open, for the table that has the focus;
    // a tree with the focus shows none.
    int nTableType = 0;
    if (IsPane(m_pFocusedPane) && !m_pFocusedPane->IsTreePane()) {
        VIEWNOTIFY query;
        query.nType = VN_SYNC;
        query.nSubcode = VNS_TABLE_TYPE;
        m_pFocusedPane->OnViewNotify(&query);
        if (query.nHandled == VNH_HANDLED) {
            nTableType = query.nTableType;
        }
    }
    UpdateUsage(nTableType);
}

void CParameterDlg::OnFileOpen() {
    ImportFromFile(false);
}

void CParameterDlg::OnFileImport() {
    ImportFromFile(true);
    g_bDataModified = true;
    SendRecord(VN_DATA_REPLACED);
    m_wndToolBar.EnableButton(ID_FILE_SAVE, true);
}

void CParameterDlg::OnFileSave() {
    if (g_pChronoset == nullptr) {
        return;
    }
    if (g_bStandalone) {
        std::string strPath = m_strCurrentFile;
        if (strPath.empty()) {
            std::string strExtension;
            if (FileDialog(false, strPath, strExtension, nullptr, false) != IDOK) {
                return;
            }
        }
        if (SaveDataFile(strPath)) {
            g_bDataModified = false;
            m_wndToolBar.EnableButton(ID_FILE_SAVE, false);
        } else {
            LOG_ERROR("Failed to export data into file: %s", strPath.c_str());
            ShowSaveError(GetResString(131, "Parameterdaten speichern"));
        }
        return;
    }
    if (g_pChronoset->SaveToEts(g_pChronoset->GetDeviceId(), GetSafeHwnd()) != 0) {
        ShowSaveError(GetResString(131, "Parameterdaten speichern"));
        return;
    }
    g_bDataModified = false;
    m_wndToolBar.EnableButton(ID_FILE_SAVE, false);
}

bool CParameterDlg::SaveDataFile(const std::string& strPath) {
    if (g_pChronoset->SaveToFile(strPath, GetSafeHwnd()) == 0) {
        // Save goes on writing where the last file was really written.
        return false;
    }
    m_strCurrentFile = strPath;
    UpdateTitle();
    return true;
}

void CParameterDlg::ShowSaveError(const std::string& strCaption) {
    CMessageBox box(g_bStandalone);
    box.ShowError(GetSafeHwnd(), GetResString(813, "Fehler beim Speichern der Parameterdaten!").c_str(),
                  strCaption.c_str());
}

void CParameterDlg::OnFileSaveAs() {
    if (!g_bStandalone) {
        LOG_INFO("Save As not allowed in the plug-in version");
        return;
    }
    ExportToFile(nullptr, false);
}

void CParameterDlg::OnFileExport() {
    const std::string strTitle = GetResString(812, "Export");
    ExportToFile(strTitle.c_str(), true);
}

void CParameterDlg::ExportToFile(const char* pszTitle, bool bCsvAllowed) {
    if (g_pChronoset == nullptr) {
        return;
    }
    std::string strPath;
    std::string strExtension;
    if (FileDialog(false, strPath, strExtension, pszTitle, bCsvAllowed) != IDOK) {
        return;
    }
    if (!bCsvAllowed || ::strcasecmp(strExtension.c_str(), "csv") != 0) {
        if (!SaveDataFile(strPath)) {
            LOG_ERROR("Failed to export data into file %s", strPath.c_str());
            ShowSaveError(bCsvAllowed ? GetResString(812, "Export") : GetResString(131, "Parameterdaten speichern"));
        }
        return;
    }
    if (g_pChronoset->ExportToFile(strPath, GetSafeHwnd()) == 0) {
        LOG_ERROR("Failed to export data into file: %s", strPath.c_str());
        ShowSaveError(GetResString(131, "Parameterdaten speichern"));
    }
}

// ---- print commands

IReportView* CParameterDlg::EnsureReportView() {
    if (!m_pReportView && ReportFactory()) {
        m_pReportView = ReportFactory()(this);
    }
    return m_pReportView.get();
}

void CParameterDlg::OnFilePrint() {
    IReportView* pView = EnsureReportView();
    if (pView == nullptr) {
        return;
    }
    if (pView->HasWindow()) {
        pView->OnPreviewPrint();
    } else {
        pView->OnFilePrint();
    }
}

void CParameterDlg::OnFilePrintPreview() {
    if (g_bPrintPreviewActive) {
        return;
    }
    IReportView* pView = EnsureReportView();
    if (pView == nullptr) {
        return;
    }
    g_bPrintPreviewActive = true;
    if (!pView->DoPrintPreview(IDR_PREVIEW_TOOLBAR, m_pFrame)) {
        // No preview is open, so nothing else would clear the flag.
        g_bPrintPreviewActive = false;
        CMessageBox box(g_bStandalone);
        box.ShowError(GetSafeHwnd(),
                      LoadResString(AFX_IDP_FAILED_TO_CREATE_PREVIEW).c_str(),
                      "");
        m_pReportView.reset();
    }
}

void CParameterDlg::OnFilePrintSelection() {
    if (IReportView* pView = EnsureReportView()) {
        pView->RunPrintSelection(this);
    }
}

void CParameterDlg::OnFilePrintSetup() {
    if (IReportView* pView = EnsureReportView()) {
        pView->OnFilePrintSetup();
    }
}

// ---- device commands

bool CParameterDlg::IsDeviceAddressKnown() const {
    return g_pChronoset != nullptr && g_pChronoset->GetDeviceAddress() != -1;
}

bool CParameterDlg::EnsureInterface(CFalconConnectionParams& params) {
    g_IniManager.GetSerialCommunication(params);
    if (platform::IsNullGuid(params.GetGuid())) {
        OnDeviceInterface();
        g_IniManager.GetSerialCommunication(params);
    }
    return !platform::IsNullGuid(params.GetGuid());
}

void CParameterDlg::OnDeviceInterface() {
    if (!g_bStandalone) {
        LOG_WARNING("Tried to select connection in plug-in version");
        return;
    }
    CFalconConnectionParams params;
    if (SelectInterface(params)) {
        m_bConnectionConfigured = !platform::IsNullGuid(params.GetGuid());
        g_IniManager.SetSerialCommunication(params);
    }
}

void CParameterDlg::OnDeviceDownload() {
    if (!g_bStandalone) {
        LOG_WARNING("Download try in plug-in version");
        return;
    }
    CFalconConnectionParams params;
    if (!EnsureInterface(params) || g_pChronoset == nullptr) {
        return;
    }
    const std::string strCaption = GetResString(128, "Parameterdaten programmieren");
    CMessageBox box(g_bStandalone);
    CBusAccess bus(true);
    g_IniManager.GetSerialCommunication(params);
    if (bus.Init(params) == 0) {
        LOG_ERROR("Unable to establish bus connection");
        box.ShowError(GetSafeHwnd(),
                      GetResString(122, "Externe physikalische Schnittstelle konnte nicht installiert werden.").c_str(),
                      strCaption.c_str());
        return;
    }
    int nResult = 0;
    int nWrongApplication = 0;
    {
        CProgressInfo progress(g_bStandalone);
        progress.Show(GetSafeHwnd(), kProgressKindDownload);
        progress.SetCaption(strCaption);
        g_pChronoset->ShowDeviceInfo(&progress);
        DWORD nCount = 0;
        g_pChronoset->CountAssociations(nCount);
        nResult = g_pChronoset->DoDownload(&progress, &bus, nWrongApplication, true, true, kNoIndividualAddress);
        bus.Close();
    }
    if (nResult != 0) {
        box.ShowError(GetSafeHwnd(), GetResString(501, "Fehler während des Schreibvorganges.").c_str(),
                      strCaption.c_str());
        return;
    }
    if (nWrongApplication != 0) {
        box.ShowError(GetSafeHwnd(),
                      GetResString(219, "Gerätevergleich fehlgeschlagen! Programm nicht kompatibel.").c_str(),
                      strCaption.c_str());
        return;
    }
    // The device restarts after the download before it takes the clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(DownloadFollowUpDelay()));
    OnDeviceSetDateTime();
}

void CParameterDlg::OnDeviceSetDateTime() {
    CFalconConnectionParams params;
    g_IniManager.GetSerialCommunication(params);
    if (g_bStandalone && !EnsureInterface(params)) {
        return;
    }
    if (DateTimeDialogRunner() && g_pChronoset != nullptr) {
        DateTimeDialogRunner()(this, static_cast<WORD>(g_pChronoset->GetDeviceAddress()), params);
    }
}

void CParameterDlg::OnDeviceStatus() {
    CFalconConnectionParams params;
    if (g_bStandalone && !EnsureInterface(params)) {
        return;
    }
    if (StatusDialogRunner() && g_pChronoset != nullptr) {
        StatusDialogRunner()(this, static_cast<WORD>(g_pChronoset->GetDeviceAddress()), params);
    }
}

bool CParameterDlg::SelectInterface(CFalconConnectionParams& params) {
    Falcon::ConnectionRecord record{};
    params.SetGuid(GUID{});
    CComPtr<Falcon::IInterfaceSelection> pSelection;
    if (FAILED(pSelection.CoCreateInstance(Falcon::CLSID_InterfaceSelection, nullptr, CLSCTX_ALL)) || !pSelection) {
        LOG_ERROR("Couldnt create the interface selection");
        return false;
    }
    pSelection->put_OwnerWindow(GetSafeHwnd());
    CComBSTR bstrEmpty("");
    if (FAILED(pSelection->SelectConnection(bstrEmpty, -1, &record))) {
        return false;
    }
    bool bResult = false;
    const std::string strName = Falcon::GetConnectionName(record);
    if (!strName.empty()) {
        CWaitCursor wait;
        params.SetConnectionName(strName);
        params.SetGuid(record.guidInterface);
        const std::string strParameter = Falcon::GetConnectionParameter(record);
        if (!strParameter.empty()) {
            params.SetConnectionParam(strParameter);
            bResult = true;
        }
    }
    return bResult;
}
