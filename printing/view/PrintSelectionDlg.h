#pragma once
// The print data selection (184): print all data or the sections chosen in
// a tree of the opened device's sections. Choosing every section switches to
// "all", leaving one out to "selection". OK hands the choice to the report
// view, whose print items the next print or preview uses.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

class CParamReportOwner;
class CPrintSelectionListBox;

class CPrintSelectionDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 184;
    static constexpr UINT IDC_ALL = 1208;
    static constexpr UINT IDC_SELECTION = 1209;
    static constexpr UINT IDC_LIST = 1210;
    static constexpr UINT IDC_TYPE_GROUP = 1211;
    static constexpr UINT IDC_FIELDS_LABEL = 1212;
    static constexpr UINT IDC_HELP_BUTTON = 1299;
    // Its help page: 0x20000 + the template's id.
    static constexpr DWORD kHelpContext = 0x200B8;

    // The view stays the caller's.
    CPrintSelectionDlg(CParamReportOwner* pView, QWidget* pParent);
    ~CPrintSelectionDlg() override;

    // 0 all data, 1 a selection; -1 until it is taken from the view.
    int GetMode() const { return m_nMode; }
    CPrintSelectionListBox* GetListBox() const { return m_pList; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnSelChangeList();
    void OnAll();
    void EnableOK();
    // The mode into the radio buttons and back.
    void ShowMode();
    void ReadMode();

    CParamReportOwner* m_pView;
    int m_nMode = -1;
    CPrintSelectionListBox* m_pList = nullptr;
    // The dialog itself changes the list's selection: no user's change.
    bool m_bSelecting = false;
    QMetaObject::Connection m_selectionChanged;
};
