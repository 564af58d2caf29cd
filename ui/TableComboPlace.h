#pragma once
// The table combo box of an edit dialog, made at run time in the place of
// the template's control, with the header its columns are shown in.

#include "platform/base/WinTypes.h"

class CDialog;
class CTableComboBox;
class CTableListHeader;

namespace ui {

// Makes the box in the place of control nId, which it takes over with its
// id, keyboard order and label (without that control the box is a child of
// the dialog), shows it, and makes its header beside it. The columns are the
// caller's.
CTableComboBox* PlaceTableCombo(CDialog& dialog, UINT nId, CTableListHeader*& pHeader);

}  // namespace ui
