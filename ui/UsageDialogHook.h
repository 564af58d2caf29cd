#pragma once
// The usage command of the tables opens the usage dialog for the selected
// objects. The dialog installs itself here; without it the command does
// nothing.

#include <functional>
#include <vector>

class CObject;
class QWidget;

namespace ui {

// Shows the usage dialog modally over the owner for the objects of a table
// type; the dialog's result.
using UsageDialogHook = std::function<int(QWidget* pOwner, int nTableType, const std::vector<CObject*>& objects)>;

// Installs the hook (empty: none); gives back the previous one.
UsageDialogHook SetUsageDialogHook(UsageDialogHook hook);
// Runs the installed hook; -1 when there is none.
int ShowUsageDialog(QWidget* pOwner, int nTableType, const std::vector<CObject*>& objects);

}  // namespace ui
