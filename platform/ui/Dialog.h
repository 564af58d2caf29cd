#pragma once
// The framework's dialog on Qt: built from a dialog template of the active
// resource module (caption, size in dialog units, style, controls under
// their ids) or empty, with the framework's life cycle. OnInitDialog runs
// once, before the dialog is first shown; Enter and Escape call OnOK and
// OnCancel; the close box calls OnClose; EndDialog ends the dialog and
// DoModal gives back the value it was ended with.
//
// It is a command target: clicks of its buttons, its menu and its bars send
// their ids to OnCommand, which runs the mapped handlers and otherwise knows
// IDOK, IDCANCEL and the "Hilfe" button. Help (the "Hilfe" button and F1)
// asks the help service for context 0x20000 + the dialog's help id, which is
// its template id. A menu bar sits above the client area; before each of
// its popups shows, its items are brought up to date.

#include "platform/base/ResourceTables.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/WndTimers.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <string>

class CAltKeyFilter;
class CMenu;
class QMenuBar;
class QPainter;
struct DrawItemInfo;

// The "Hilfe" button of the dialogs.
constexpr UINT IDC_HILFE = 1299;

class CDialog : public QDialog, public CCmdTarget {
    Q_OBJECT

public:
    // From template nIDTemplate of the active resource module.
    explicit CDialog(UINT nIDTemplate, QWidget* pParent = nullptr);
    // Without a template: an empty dialog that its class fills.
    explicit CDialog(QWidget* pParent = nullptr);
    ~CDialog() override;

    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally through the modal runner; the value passed to
    // EndDialog, -1 when the template is missing or the dialog was never
    // ended.
    virtual int DoModal();
    // Makes the modeless window: initialises it and shows it when the
    // template says visible. FALSE when the template is missing, the window
    // exists or the dialog ended itself while initialising.
    virtual BOOL Create();
    // Hides the modeless window for good; OnDestroy runs first.
    virtual void DestroyWindow();
    // Between Create and DestroyWindow.
    bool HasWindow() const { return m_bWindowCreated; }
    // Ends the dialog with the result; a modal run returns it.
    void EndDialog(int nResult);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // The template was found and built (always true without a template).
    bool IsTemplateBuilt() const { return m_bTemplateBuilt; }
    // OnInitDialog has run.
    bool IsInitialized() const { return m_bInitialized; }

    HWND GetSafeHwnd() const;

    // The control with that id (the first one, at any depth), or null.
    QWidget* GetDlgItem(UINT nId) const;
    template <typename T>
    T* GetDlgItemAs(UINT nId) const {
        return qobject_cast<T*>(GetDlgItem(nId));
    }
    // Gives a control made in code its id, so GetDlgItem finds it.
    static void SetDlgCtrlID(QWidget* pControl, UINT nId);
    static UINT GetDlgCtrlID(const QWidget* pControl);

    // Dialog units of this dialog's font in pixels.
    QSize GetBaseUnits() const { return m_baseUnits; }
    QRect MapDialogRect(const QRect& rectUnits) const;

    // The window class; a registered class gives the dialog its icon when
    // the dialog is first shown.
    void SetWindowClass(const std::string& strClass) { m_strWindowClass = strClass; }
    const std::string& GetWindowClass() const { return m_strWindowClass; }

    void SetWindowText(const std::string& strText);
    std::string GetWindowText() const;
    // The text of a control (label, button, edit, group box); FALSE (or an
    // empty text) when there is no such control.
    BOOL SetDlgItemText(UINT nId, const std::string& strText);
    std::string GetDlgItemText(UINT nId) const;
    // The checked state of a check box or radio button; false without one.
    bool IsDlgButtonChecked(UINT nId) const;
    void CheckDlgButton(UINT nId, bool bChecked);

    // Centres the dialog over its parent (or the given window), or over the
    // screen without either.
    void CenterWindow(QWidget* pAlternateOwner = nullptr);

    // The menu bar: the popups of the menu, above the client area. The
    // dialog grows by the bar's height; the menu must outlive the dialog or
    // be taken off (null) first.
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetMenu() const { return m_pMenu; }
    QMenuBar* GetMenuBarWidget() const { return m_pMenuBar; }
    // The area below the menu bar.
    QRect GetClientRect() const;
    // Places the tool and status bars among the children at the top and
    // bottom of the client area, in the order they were made; the rest of
    // the client area in *pLeftOver.
    void RepositionBars(QRect* pLeftOver = nullptr);

    // Timers of the dialog: each elapse calls OnTimer with the id.
    CWndTimers::TimerId SetTimer(CWndTimers::TimerId nIDEvent, UINT nElapse);
    BOOL KillTimer(CWndTimers::TimerId nIDEvent);

    // The help id (0x20000 + it is the help context); the template id
    // unless changed.
    UINT GetHelpID() const { return m_nIDHelp; }
    void SetHelpID(UINT nIDHelp) { m_nIDHelp = nIDHelp; }

    // An owner-drawn control of the dialog wants painting. Default: nothing.
    virtual void OnDrawItem(UINT nIDCtl, QPainter& painter, const DrawItemInfo& item);
    // Before a popup of the dialog's menu shows: the update walk over its
    // items (nothing for the system menu).
    void OnInitMenuPopup(CMenu* pPopup, UINT nIndex, BOOL bSysMenu) override;

    QWidget* GetCmdTargetWindow() const override { return const_cast<CDialog*>(this); }

    // QDialog's own accept and reject (from a QDialogButtonBox, say) lead to
    // OnOK and OnCancel like Enter, Escape and the buttons IDOK and IDCANCEL.
    void accept() override;
    void reject() override;

protected:
    // The window is being made, before OnInitDialog: the place to make
    // child windows that initialisation needs. -1 fails the creation: the
    // dialog never shows and a modal run returns -1. Default: 0.
    virtual int OnCreate();
    // Runs once before the dialog is first shown. TRUE: the framework puts
    // the focus on the first control; FALSE: the dialog placed it.
    virtual BOOL OnInitDialog();
    // Default: end with IDOK.
    virtual void OnOK();
    // Default: end with IDCANCEL.
    virtual void OnCancel();
    // The close box. Default: OnCancel.
    virtual void OnClose();
    // A command (a click on a push button, check box or radio button, a
    // menu item, a toolbar button, an accelerator) with its id: the mapped
    // handler runs; without one IDOK and IDCANCEL go to OnOK and OnCancel
    // and IDC_HILFE to OnHelp. TRUE when handled.
    BOOL OnCommand(UINT nId) override;

    // The "Hilfe" button: OnCommandHelp(0).
    virtual void OnHelp();
    // F1: OnCommandHelp(0).
    virtual BOOL OnHelpInfo();
    // Opens the help at the context; 0 means the dialog's own context,
    // 0x20000 + its help id. FALSE when there is none.
    virtual BOOL OnCommandHelp(DWORD dwContext);

    virtual void OnTimer(CWndTimers::TimerId nIDEvent);
    // Before the window goes: DestroyWindow of a modeless one, the end of a
    // modal run.
    virtual void OnDestroy();

    // Wires a button so its clicks reach OnCommand with its id.
    void RouteButtonCommand(QWidget* pButton);

    void setVisible(bool bVisible) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void BuildFromTemplate(const platform::ResDialog& dlgTemplate);
    void ApplyWindowClassIcon();
    // Runs OnInitDialog once; false when the dialog ended itself in it.
    bool EnsureInitialized();
    void ConnectMenuPopups(CMenu* pMenu);
    int GetMenuBarHeight() const;

    UINT m_nIDTemplate = 0;
    UINT m_nIDHelp = 0;
    DWORD m_dwTemplateStyle = 0;
    bool m_bTemplateBuilt = false;
    bool m_bInitialized = false;
    bool m_bEnded = false;
    bool m_bWindowCreated = false;
    int m_nModalResult = -1;
    QSize m_baseUnits;
    std::string m_strWindowClass;
    CMenu* m_pMenu = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    CAltKeyFilter* m_pAltKeys = nullptr;
};
