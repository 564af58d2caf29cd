#include "printing/view/PrintSelectionDlg.h"

#include "platform/ui/DialogTemplate.h"
#include "printing/param/ParamPrintItem.h"
#include "printing/param/ParamReportOwner.h"
#include "printing/view/PrintSelectionListBox.h"

#include <QListWidgetItem>

#include <memory>

CPrintSelectionDlg::CPrintSelectionDlg(CParamReportOwner* pView, QWidget* pParent)
    : CDialog(IDD, pParent), m_pView(pView) {
    MapCommand(IDC_ALL, [this]() { OnAll(); });
}

CPrintSelectionDlg::~CPrintSelectionDlg() {
    // The list outlives this part of the dialog and empties itself as it
    // goes: its selection changes must not reach a dialog half gone.
    disconnect(m_selectionChanged);
}

BOOL CPrintSelectionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The template's list place takes the tree list.
    if (QWidget* pPlace = GetDlgItem(IDC_LIST)) {
        m_pList = new CPrintSelectionListBox(pPlace->parentWidget());
        platform::ui::ReplaceDlgControl(pPlace, m_pList);
        SetDlgCtrlID(m_pList, IDC_LIST);
    }
    CenterWindow();
    m_nMode = m_pView != nullptr ? m_pView->GetPrintSelection() : -1;
    if (m_pList != nullptr) {
        m_pList->BuildItems();
        m_bSelecting = true;
        if (m_nMode == PRINT_SELECTION_ALL) {
            m_pList->SyncSelection();
        } else if (m_nMode == PRINT_SELECTION_CHOSEN) {
            for (int i = 0; i < m_pList->count(); ++i) {
                const CParamPrintItem* pItem = m_pList->GetPrintItem(i);
                if (pItem != nullptr && m_pView->FindPrintItem(*pItem) != nullptr) {
                    m_pList->item(i)->setSelected(true);
                }
            }
        }
        m_bSelecting = false;
        m_selectionChanged =
            connect(m_pList, &QListWidget::itemSelectionChanged, this, [this]() { OnSelChangeList(); });
    }
    EnableOK();
    ShowMode();
    return TRUE;
}

void CPrintSelectionDlg::OnSelChangeList() {
    if (m_bSelecting || m_pList == nullptr) {
        return;
    }
    // Captions stand for no section: they never stay selected.
    m_bSelecting = true;
    m_pList->DeselectCaptions();
    m_bSelecting = false;
    m_nMode = m_pList->GetSelectedCount() < m_pList->GetSelectableCount() ? PRINT_SELECTION_CHOSEN
                                                                          : PRINT_SELECTION_ALL;
    EnableOK();
    ShowMode();
}

void CPrintSelectionDlg::OnAll() {
    m_nMode = PRINT_SELECTION_ALL;
    if (m_pList != nullptr) {
        m_bSelecting = true;
        m_pList->SyncSelection();
        m_bSelecting = false;
    }
    EnableOK();
}

void CPrintSelectionDlg::EnableOK() {
    if (QWidget* pOK = GetDlgItem(IDOK)) {
        pOK->setEnabled(m_pList != nullptr && m_pList->GetSelectedCount() > 0);
    }
}

void CPrintSelectionDlg::ShowMode() {
    // An exclusive group keeps one button checked; checking the other one
    // clears it.
    if (m_nMode == PRINT_SELECTION_ALL) {
        CheckDlgButton(IDC_ALL, true);
    } else if (m_nMode == PRINT_SELECTION_CHOSEN) {
        CheckDlgButton(IDC_SELECTION, true);
    }
}

void CPrintSelectionDlg::ReadMode() {
    if (IsDlgButtonChecked(IDC_ALL)) {
        m_nMode = PRINT_SELECTION_ALL;
    } else if (IsDlgButtonChecked(IDC_SELECTION)) {
        m_nMode = PRINT_SELECTION_CHOSEN;
    }
}

void CPrintSelectionDlg::OnOK() {
    ReadMode();
    if (m_pView != nullptr) {
        m_pView->SetPrintSelection(m_nMode);
        if (m_pView->GetPrintSelection() == PRINT_SELECTION_CHOSEN && m_pList != nullptr) {
            for (int i = 0; i < m_pList->count(); ++i) {
                const CParamPrintItem* pItem = m_pList->GetPrintItem(i);
                if (pItem != nullptr && m_pList->item(i)->isSelected()) {
                    m_pView->AddPrintItem(std::make_unique<CParamPrintItem>(pItem->GetType(), pItem->GetIndex()));
                }
            }
        }
    }
    CDialog::OnOK();
}
