#pragma once
// The button bar (form 193) above the sub groups in the group-address
// insertion: "Übernehmen" takes the selected sub groups through the table
// below it, "Schließen" ends the insertion dialog.

#include "ui/MainFormView.h"

class CGaSelectionBtnView : public CMainFormView {
    Q_OBJECT

public:
    static constexpr UINT IDD = 193;
    static constexpr UINT IDC_APPLY = 1256;

    CGaSelectionBtnView();
    ~CGaSelectionBtnView() override;

protected:
    void OnCancel() override;

private:
    void OnApplyButton();
    void OnCloseButton();
};
