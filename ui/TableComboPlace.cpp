#include "ui/TableComboPlace.h"

#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"
#include "ui/TableComboBox.h"
#include "ui/TableListHeader.h"

namespace ui {

CTableComboBox* PlaceTableCombo(CDialog& dialog, UINT nId, CTableListHeader*& pHeader) {
    QWidget* pPlace = dialog.GetDlgItem(nId);
    QWidget* pParent = pPlace != nullptr ? pPlace->parentWidget() : &dialog;
    auto* pCombo = new CTableComboBox(false, pParent);
    if (pPlace != nullptr) {
        platform::ui::ReplaceDlgControl(pPlace, pCombo);
    }
    CDialog::SetDlgCtrlID(pCombo, nId);
    pCombo->show();
    pHeader = new CTableListHeader(1, THS_RESIZABLE | THS_MOVABLE, pParent);
    return pCombo;
}

}  // namespace ui
