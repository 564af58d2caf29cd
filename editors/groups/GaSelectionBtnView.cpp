#include "editors/groups/GaSelectionBtnView.h"

#include "ui/MainTableBox.h"

CGaSelectionBtnView::CGaSelectionBtnView() : CMainFormView(IDD, nullptr) {
    MapCommand(IDC_APPLY, [this]() { OnApplyButton(); });
    MapCommand(IDCANCEL, [this]() { OnCloseButton(); });
}

CGaSelectionBtnView::~CGaSelectionBtnView() = default;

void CGaSelectionBtnView::OnCancel() {
    // Escape inside the bar ends nothing; only the button does.
}

void CGaSelectionBtnView::OnApplyButton() {
    if (CMainTableBox* pTable = GetOwnerTable()) {
        pTable->OnApply();
    }
}

void CGaSelectionBtnView::OnCloseButton() {
    if (CMainTableBox* pTable = GetOwnerTable()) {
        pTable->EndParameterDialog(IDCANCEL);
    }
}
