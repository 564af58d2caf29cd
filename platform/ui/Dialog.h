#pragma once
// The framework's dialog on Qt: built from a dialog template of the active
// resource module (caption, size in dialog units, style, controls under
// their ids) or empty, with the framework's life cycle. OnInitDialog runs
// once, before the dialog is first shown; Enter and Escape call OnOK and
// OnCancel; the close box calls OnClose; EndDialog ends the dialog and
// DoModal gives back the value it was ended with.

#include "platform/base/ResourceTables.h"
#include "platform/base/WinTypes.h"

#include <QDialog>
#include <QSize>

#include <string>

class CDialog : public QDialog {
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

    // QDialog's own accept and reject (from a QDialogButtonBox, say) lead to
    // OnOK and OnCancel like Enter, Escape and the buttons IDOK and IDCANCEL.
    void accept() override;
    void reject() override;

protected:
    // Runs once before the dialog is first shown. TRUE: the framework puts
    // the focus on the first control; FALSE: the dialog placed it.
    virtual BOOL OnInitDialog();
    // Default: end with IDOK.
    virtual void OnOK();
    // Default: end with IDCANCEL.
    virtual void OnCancel();
    // The close box. Default: OnCancel.
    virtual void OnClose();
    // A command from a control (a click on a push button, check box or
    // radio button) with the control's id.
    // IDOK and IDCANCEL go to OnOK and OnCancel. TRUE when handled.
    virtual BOOL OnCommand(UINT nId);

    // Wires a button so its clicks reach OnCommand with its id.
    void RouteButtonCommand(QWidget* pButton);

    void setVisible(bool bVisible) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void BuildFromTemplate(const platform::ResDialog& dlgTemplate);
    void ApplyWindowClassIcon();
    // Runs OnInitDialog once; false when the dialog ended itself in it.
    bool EnsureInitialized();

    UINT m_nIDTemplate = 0;
    bool m_bTemplateBuilt = false;
    bool m_bInitialized = false;
    bool m_bEnded = false;
    int m_nModalResult = -1;
    QSize m_baseUnits;
    std::string m_strWindowClass;
};
