#pragma once
// What the sub-group table needs of the window that owns its pane (the
// group-address insertion dialog): the options it was opened with, the
// taking over of the selected sub groups ("Übernehmen"), and the address
// the dialog hands its caller. The table finds it among its ancestors;
// without one the default options hold and "Übernehmen" takes nothing.

#include "platform/base/WinTypes.h"

class CGroupDataAddress;
class CSubGroupTable;

struct SubGroupTableOptions {
    BOOL bSingleSelection = FALSE;
    BOOL bCloseAfterApply = FALSE;
    // The datapoint main types the caller accepts (127: all but date and
    // time).
    UINT nAllowedTypeMask = 127;
    // The taken addresses go into the valid list (else they stand alone).
    BOOL bCreateInList = TRUE;
};

class ISubGroupTableOwner {
public:
    virtual ~ISubGroupTableOwner() = default;

    virtual SubGroupTableOptions GetSubGroupTableOptions() const = 0;
    // "Übernehmen" on the table's selected rows; it marks every taken entry
    // through CSubGroupTable::MarkEntryListed and names the first address
    // of the run through CSubGroupTable::SetFirstAddedAddress.
    virtual void ApplySubGroups(CSubGroupTable& table) = 0;
    // The first address the table added: the dialog's result address.
    virtual void SetResultAddress(CGroupDataAddress* pAddress) = 0;
};
