#pragma once
// The close bar above the main-group, middle-group and device-object tables
// (template 196): one "Schließen" button that ends the dialog hosting the
// table with IDCANCEL.

#include "ui/MainFormView.h"

class QPushButton;

class CMMGroupCancelView : public CMainFormView {
    Q_OBJECT

public:
    static constexpr UINT IDD = 196;

    CMMGroupCancelView();
    ~CMMGroupCancelView() override;

    QPushButton* GetCancelButton() const { return m_pBtnCancel; }

protected:
    void OnInitialUpdate() override;
    void OnCancel() override;

private:
    void OnClose2();

    QPushButton* m_pBtnCancel = nullptr;
};
