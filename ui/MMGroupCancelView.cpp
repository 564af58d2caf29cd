#include "ui/MMGroupCancelView.h"

#include "ui/MainTableBox.h"

#include <QPushButton>

CMMGroupCancelView::CMMGroupCancelView() : CMainFormView(IDD, nullptr) {
    MapCommand(IDCANCEL, [this]() { OnClose2(); });
}

CMMGroupCancelView::~CMMGroupCancelView() = default;

void CMMGroupCancelView::OnInitialUpdate() {
    m_pBtnCancel = GetDlgItemAs<QPushButton>(IDCANCEL);
}

void CMMGroupCancelView::OnCancel() {
    // Escape inside the bar does not end anything; only the button does.
}

void CMMGroupCancelView::OnClose2() {
    if (CMainTableBox* pOwner = GetOwnerTable()) {
        pOwner->EndParameterDialog(IDCANCEL);
    }
}
