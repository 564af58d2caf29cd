#pragma once
// The editor's one main window: a resizable modal dialog (template 207) that
// each editing run opens once, inside the host or under the launcher. Its
// title tells the product, the data file and the device; Enter and Escape
// never close it, and it always ends with IDOK.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/ViewClipboard.h"

class CDialogToolBar;
class CObject;
class IViewPane;
struct VIEWNOTIFY;

class CParameterDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 207;

    // The device object is not used (the central object holds the device).
    CParameterDlg(CObject* pDeviceObject, QWidget* pParent);
    ~CParameterDlg() override;

    // Builds and sets the window title from the mode, the OEM manufacturer,
    // the data file and the device's individual address.
    void UpdateTitle();
    // The title UpdateTitle sets.
    static std::string BuildTitle();

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

protected:
    BOOL OnInitDialog() override;
    // The main window closes only through its close box and its exit
    // command, never by Enter or Escape.
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

private:
    bool IsPane(const IViewPane* pPane) const;
    void Broadcast(VIEWNOTIFY* pNotify);

    IViewPane* m_pTreeView1 = nullptr;
    IViewPane* m_pTableView1 = nullptr;
    IViewPane* m_pTreeView2 = nullptr;
    IViewPane* m_pTableView2 = nullptr;
    IViewPane* m_pFocusedPane = nullptr;
    CDialogToolBar* m_pNotifyToolBar = nullptr;
    bool m_bNotificationsOn = true;
    CViewClipboard m_clipboard;
};
