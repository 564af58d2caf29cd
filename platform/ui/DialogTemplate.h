#pragma once
// Building windows from dialog templates: the template's font, the dialog
// base units of that font, the conversion of dialog units to pixels and the
// controls of the template, each under its numeric id.

#include "platform/base/ResourceTables.h"
#include "platform/base/WinTypes.h"

#include <QFont>
#include <QRect>
#include <QSize>

#include <functional>
#include <string>

class QWidget;

namespace platform::ui {

// The font a template names, at its point size. The Windows dialog fonts
// ("MS Shell Dlg" and its kin) become the application's own font family.
QFont GetTemplateFont(const ResDialog& dlgTemplate);

// The dialog base units of the font in pixels: the average width of the
// Latin letters and the line height.
QSize GetDialogBaseUnits(const QFont& font);

// Dialog units to pixels: x * baseX / 4 and y * baseY / 8, rounded as
// MulDiv rounds.
int DialogUnitsToPixelsX(int nUnits, const QSize& baseUnits);
int DialogUnitsToPixelsY(int nUnits, const QSize& baseUnits);
QRect MapDialogRect(const QRect& rectUnits, const QSize& baseUnits);

// The id of a control as its dialog knows it; 0 for none.
void SetDlgCtrlID(QWidget* pControl, UINT nId);
UINT GetDlgCtrlID(const QWidget* pControl);
// The first child (in creation order, at any depth) with that id, or null.
QWidget* FindDlgItem(const QWidget* pParent, UINT nId);

// Puts a control made at run time in the place of a template control: its
// rectangle, font, enabled state, visibility and id, its place in the
// keyboard order (first focus and Tab follow the template's order) and as
// the buddy of the labels whose mnemonic led to the old one. The old control
// is deleted.
void ReplaceDlgControl(QWidget* pOld, QWidget* pNew);

// Makes the widget of a template control; the caller places it and gives it
// its id.
using ControlFactory = std::function<QWidget*(const ResDialogControl& control, QWidget* pParent)>;
// Registers the widget for a custom control class name (no regard to case);
// a later registration of the same name replaces the earlier one.
void RegisterControlClass(const std::string& strClass, ControlFactory factory);
void UnregisterControlClass(const std::string& strClass);

// The control's widget as a child of the parent, placed by its dialog-unit
// rectangle and carrying its id. The standard classes "BUTTON", "EDIT",
// "STATIC", "COMBOBOX" and "LISTBOX" are built in; an unknown class becomes
// an empty widget in its place.
QWidget* CreateTemplateControl(const ResDialogControl& control, QWidget* pParent, const QSize& baseUnits);

}  // namespace platform::ui
