#pragma once
// The editor's one main window: a resizable modal dialog (template 207) that
// each editing run opens once, inside the host or under the launcher. It
// carries the menu bar, the toolbar and the status bar and fills the rest
// with the splitter frame of navigation trees and table panes; it routes the
// pane notifications, turns menu and toolbar commands into records for the
// focused pane, runs the file, device and print commands, keeps its layout
// in the ini file and asks before unsaved data would be lost. Enter and
// Escape never close it, and it always ends with IDOK.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/DialogStatusBar.h"
#include "ui/DialogToolBar.h"
#include "ui/ViewClipboard.h"

#include <functional>
#include <memory>
#include <string>

class CChronoset;
class CFalconConnectionParams;
class CMainFrameWnd;
class CMainTableView;
class CMainTreeView;
class CNavigationTree;
class CObject;
class CSettingsBatch;
class IReportView;
class IViewPane;
struct VIEWNOTIFY;

class CParameterDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 207;

    // Menu commands of the main window.
    enum : UINT {
        ID_FILE_IMPORT = 40002,
        ID_FILE_EXPORT = 40004,
        ID_FILE_OPEN = 40005,
        ID_FILE_SAVE = 40006,
        ID_FILE_PRINT = 40007,
        ID_FILE_PRINT_SETUP = 40008,
        ID_EDIT_PASTE = 40009,
        ID_EDIT_DELETE = 40010,
        ID_EDIT_RESERVED = 40011,
        ID_EDIT_USAGE = 40012,
        ID_DEVICE_INTERFACE = 40013,
        ID_DEVICE_DOWNLOAD = 40014,
        ID_DEVICE_SET_DATE_TIME = 40015,
        ID_DEVICE_STATUS = 40016,
        ID_WINDOW_SPLIT = 40017,
        ID_HELP_DEVICE = 40018,
        ID_HELP_APPLICATION = 40019,
        ID_EDIT_COPY = 40020,
        ID_FILE_SAVE_AS = 40021,
        ID_FILE_EXIT = 40022,
        ID_HELP_ABOUT = 40023,
        ID_WINDOW_TOOLBAR = 40024,
        ID_WINDOW_STATUSBAR = 40025,
        ID_EDIT_NEW = 40027,
        ID_FILE_PRINT_SELECTION = 40035,
        ID_FILE_PRINT_PREVIEW = 40036,
        ID_HELP_TABLE = 869,
    };
    static constexpr DWORD kDeviceHelpContext = 936;

    // The device clock and device status dialogs: run modally over the main
    // window for the device's individual address with the bus settings.
    using DeviceDialogRunner =
        std::function<int(CParameterDlg* pParent, WORD nIndividualAddress, const CFalconConnectionParams& params)>;
    // The report view behind the print commands, made on the first of them.
    using ReportViewFactory = std::function<std::unique_ptr<IReportView>(CParameterDlg* pParent)>;

    // The device object is not used (the central object holds the device).
    CParameterDlg(CObject* pDeviceObject, QWidget* pParent);
    ~CParameterDlg() override;

    // Builds and sets the window title from the mode, the OEM manufacturer,
    // the data file and the device's individual address.
    void UpdateTitle();
    // The title UpdateTitle sets.
    static std::string BuildTitle();
    // The main window a pane lives in, null outside one.
    static CParameterDlg* FromDescendant(const QWidget* pWidget);

    // The dispatcher of the pane notifications: passes a record on by its
    // type to every other pane, one pane, the focused pane, or answers it
    // itself. Synchronous; the reply fields are filled when it returns.
    void OnViewNotify(VIEWNOTIFY* pNotify);
    // The four panes of the splitter frame (null where absent).
    void SetPanes(IViewPane* pTreeView1, IViewPane* pTableView1, IViewPane* pTreeView2, IViewPane* pTableView2);
    IViewPane* GetFocusedPane() const { return m_pFocusedPane; }
    // The toolbar whose buttons follow the toolbar-state records.
    void SetNotifyToolBar(CDialogToolBar* pToolBar) { m_pNotifyToolBar = pToolBar; }
    // The main window's own records go out only while this is on.
    void SetNotificationsOn(bool bOn) { m_bNotificationsOn = bOn; }
    bool AreNotificationsOn() const { return m_bNotificationsOn; }

    // The internal clipboard.
    bool SetClipboardObject(const CObject* pObject);
    bool AppendClipboardObject(const CObject* pObject);
    bool ClipboardOffers(int nTableType, int nKind) const;
    CObject* GetFirstClipboardObject(int nKind);
    CObject* GetNextClipboardObject(int nKind);
    CViewClipboard& GetClipboard() { return m_clipboard; }

    // The status line's usage for a table type; called for added, removed
    // and kinds-changed records and on pane activation.
    virtual void UpdateUsage(int nTableType);
    // The usage line of the focused pane's table, after the set was replaced.
    void RefreshUsage();
    // "Label: used (p%) belegt, free frei von insgesamt max" of a table
    // type's data set; empty for a type without one.
    static std::string BuildUsageText(int nTableType);

    // The splitter frame and its panes.
    bool CreateFrameWnd();
    void DestroyFrame();
    // Commits the close's settings batch and drops the settings that are
    // still kept after a failed write, logging them as lost.
    void EndSettings();
    void RecalcLayout();
    bool IsSplit() const { return m_bSplit; }
    CMainFrameWnd* GetFrame() const { return m_pFrame; }
    CNavigationTree* GetTree(int nRow) const { return nRow == 0 ? m_pTree1 : m_pTree2; }
    CMainTableView* GetTableView(int nRow) const { return nRow == 0 ? m_pMainTableView1 : m_pMainTableView2; }
    CDialogToolBar& GetToolBar() { return m_wndToolBar; }
    CDialogStatusBar& GetStatusBar() { return m_wndStatusBar; }

    // Saves the window state and asks about unsaved data: 2 keeps the
    // window open, 1 lets it close.
    int SaveAndClose();

    // The file commands' dialog: IDOK with the chosen path and its
    // extension, or what the dialog answered.
    int FileDialog(bool bOpen, std::string& strPath, std::string& strExtension, const char* pszTitle,
                   bool bCsvAllowed);
    void ImportFromFile(bool bImport);
    void ExportToFile(const char* pszTitle, bool bCsvAllowed);
    // Writes the open set into the data file; only a file that was written
    // becomes the window's file and enters its title.
    bool SaveDataFile(const std::string& strPath);
    void ShowSaveError(const std::string& strCaption);
    // Runs the bus interface selection; true with the chosen name, class id
    // and parameter in the settings.
    bool SelectInterface(CFalconConnectionParams& params);

    const std::string& GetCurrentFile() const { return m_strCurrentFile; }
    bool IsConnectionConfigured() const { return m_bConnectionConfigured; }
    IReportView* GetReportView() const { return m_pReportView.get(); }

    static void SetDateTimeDialogRunner(DeviceDialogRunner runner);
    static void SetStatusDialogRunner(DeviceDialogRunner runner);
    static void SetReportViewFactory(ReportViewFactory factory);
    // The pause between a download and the clock dialog that follows it.
    static void SetDownloadFollowUpDelay(unsigned nMilliseconds);

protected:
    int OnCreate() override;
    BOOL OnInitDialog() override;
    // The main window closes only through its close box and its exit
    // command, never by Enter or Escape.
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnDestroy() override;
    BOOL OnCommandHelp(DWORD dwContext) override;

    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    bool IsPane(const IViewPane* pPane) const;
    void Broadcast(VIEWNOTIFY* pNotify);
    void MapCommands();
    bool CreateToolbar();
    bool CreateStatusBar();
    void SetFirstToolbarStates();
    bool LoadMainMenu();
    void ApplyStoredWindowSize();
    void ApplyWindowPlacement();
    void UpdateHelpFilePath();
    void SaveWindowState();
    // A record of type 13 or 14 for the focused pane.
    void SendEditCommand(UINT nId);
    void UpdateEditCommand(CCmdUI* pCmdUI);
    void SendRecord(int nType, int nValue = 0);
    void RebuildTrees();
    // Standalone: the bus settings, after the selection when none is set
    // yet; false when still none.
    bool EnsureInterface(CFalconConnectionParams& params);
    bool IsDeviceAddressKnown() const;
    IReportView* EnsureReportView();
    void DestroyReportView();

    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExport();
    void OnFileImport();
    void OnFileExit();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSelection();
    void OnFilePrintSetup();
    void OnDeviceInterface();
    void OnDeviceDownload();
    void OnDeviceSetDateTime();
    void OnDeviceStatus();
    void OnWindowSplit();
    void OnWindowToolbar();
    void OnWindowStatusbar();
    void OnHelpAbout();

    HICON m_hIcon = nullptr;
    CMainFrameWnd* m_pFrame = nullptr;
    CMainTreeView* m_pMainTreeView1 = nullptr;
    CNavigationTree* m_pTree1 = nullptr;
    CMainTableView* m_pMainTableView1 = nullptr;
    CMainTreeView* m_pMainTreeView2 = nullptr;
    CNavigationTree* m_pTree2 = nullptr;
    CMainTableView* m_pMainTableView2 = nullptr;
    // The same panes as the dispatcher reaches them.
    IViewPane* m_pTreeView1 = nullptr;
    IViewPane* m_pTableView1 = nullptr;
    IViewPane* m_pTreeView2 = nullptr;
    IViewPane* m_pTableView2 = nullptr;
    IViewPane* m_pFocusedPane = nullptr;
    CDialogToolBar m_wndToolBar;
    CDialogStatusBar m_wndStatusBar;
    CDialogToolBar* m_pNotifyToolBar = nullptr;
    std::unique_ptr<CMenu> m_pMainMenu;
    bool m_bConnectionConfigured = false;
    bool m_bNotificationsOn = true;
    bool m_bShowToolbar = true;
    bool m_bShowStatusbar = true;
    bool m_bSplit = true;
    std::string m_strCurrentFile;
    CViewClipboard m_clipboard;
    std::unique_ptr<IReportView> m_pReportView;
    // The settings written at a close, from SaveAndClose until the frame is
    // gone.
    std::unique_ptr<CSettingsBatch> m_pCloseSettings;
};
