#pragma once
// The base of the forms that belong to a table: dialog templates shown as
// child panes (the button bars above the lists of table types 16 to 19, the
// forms of the overview, the internal clock and the quantity view). Tab
// walks the form's own controls and then hands the focus back to the panes;
// F1 opens the help of the forms.

#include "platform/ui/Dialog.h"

class CMainTableBox;

class CMainFormView : public CDialog {
    Q_OBJECT

public:
    static constexpr DWORD kFormHelpContext = 0x20071;

    CMainFormView(UINT nIDTemplate, CMainTableBox* pOwnerTable);
    ~CMainFormView() override;

    // Makes the form a child window of the parent at the rectangle, then
    // fills its controls (OnInitialUpdate). FALSE when the template is
    // missing or the window exists.
    virtual BOOL Create(QWidget* pParent, const QRect& rect);
    using CDialog::Create;

    CMainTableBox* GetOwnerTable() const { return m_pOwnerTable; }
    void SetOwnerTable(CMainTableBox* pOwnerTable) { m_pOwnerTable = pOwnerTable; }
    // The hosting dialog of the owner table; null without owner.
    CDialog* GetParameterDlg() const;

    // Tab, Shift+Tab and F1 of a key press inside the form; true when
    // handled here.
    bool PreTranslateKey(int nKey, Qt::KeyboardModifiers modifiers);

protected:
    // Transfers the members into the controls once the window exists.
    virtual void OnInitialUpdate() {}
    BOOL OnHelpInfo() override;
    bool focusNextPrevChild(bool bNext) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    CMainTableBox* m_pOwnerTable = nullptr;
};
