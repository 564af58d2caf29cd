#pragma once
// The dialog (122) that takes group addresses from the host project into the
// parameter set: a strip of draggable group symbols above the insertion
// window, which shows the host's group tree on the left and the sub groups
// of the chosen group on the right. "Übernehmen" copies the selected sub
// groups after checking that each is new, of a usable type and within the
// list's capacity. It exists in host mode only; its callers refuse to open
// it standalone.

#include "editors/groups/SubGroupTableOwner.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"
#include "ui/DragSourceParent.h"

#include <string>

class CDragSourceDialog;
class CGroupAddressInsertWnd;
class CGroupDataAddress;
class CSubGroupEntry;

class CGroupAddressInsertDlg : public CDialog, public ISubGroupTableOwner, public IDragSourceParent {
    Q_OBJECT

public:
    static constexpr UINT IDD = 122;
    static constexpr UINT kDragStripId = 0xE800;
    // The strip's images (20 x 20: main, middle, sub group).
    static constexpr UINT kDragBitmapId = 125;
    static constexpr UINT kDropCursorId = 190;
    // Drag types of the strip's symbols.
    static constexpr int kDragMainGroup = 400;
    static constexpr int kDragMiddleGroup = 401;
    static constexpr int kDragSubGroup = 402;

    // Mask bits of the clock's own addresses: date, time, one bit.
    static constexpr UINT kClockTypeBits = 128 | 256 | 512;

    // Options: one row at a time; close once "Übernehmen" has added; the
    // datapoint main types the caller accepts (one bit each); new addresses
    // go into the valid list (else they stand alone for the caller).
    CGroupAddressInsertDlg(QWidget* pOwner, BOOL bSingleSelection, BOOL bCloseAfterApply, UINT nAllowedTypes,
                           BOOL bCreateInList);
    ~CGroupAddressInsertDlg() override;

    int DoModal() override;

    // The address made from the first row of the last "Übernehmen"; null
    // until then.
    CGroupDataAddress* GetGroupAddress() const { return m_pGroupAddress; }
    // "Übernehmen" has run on at least one row.
    BOOL IsApplied() const { return m_bApplied; }

    CDragSourceDialog* GetDragStrip() const { return m_pDragStrip; }
    CGroupAddressInsertWnd* GetInsertWnd() const { return m_pInsertWnd; }

    // ISubGroupTableOwner
    SubGroupTableOptions GetSubGroupTableOptions() const override;
    void ApplySubGroups(CSubGroupTable& table) override;
    void SetResultAddress(CGroupDataAddress* pAddress) override;

    // IDragSourceParent: handed on to the insertion window.
    int OnDragSourceQuery(int nItemData, const QPoint& ptScreen) override;
    void OnDragSourceDrop(int nItemData, const QPoint& ptScreen) override;

    // Whether a host object type can be taken under the mask, and whether
    // the user must pick its datapoint type.
    static bool CheckType(UINT nAllowedTypes, int nHostObjectType, bool* pbSelectionNeeded);
    // The main type of a mask with a single bit; 0 otherwise.
    static int MainTypeOfSingleBit(UINT nAllowedTypes);

protected:
    int OnCreate() override;
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    // One row of "Übernehmen": IDOK to go on; *pbKeepOpen when a single
    // selection must not close the dialog, *pbAdded when an address was
    // made. nIndex counts the addresses made so far in this run; the first
    // one becomes the caller's.
    int ApplyEntry(CSubGroupTable& table, CSubGroupEntry* pEntry, int nIndex, bool* pbKeepOpen, bool* pbAdded);
    int AddAddress(CSubGroupTable& table, CSubGroupEntry* pEntry, int nIndex, WORD wMainType, WORD wSubType,
                   LONG nRawAddress);
    void LayoutChildren();

    CDragSourceDialog* m_pDragStrip = nullptr;
    BOOL m_bApplied = FALSE;
    CGroupAddressInsertWnd* m_pInsertWnd = nullptr;
    BOOL m_bSingleSelection = FALSE;
    BOOL m_bCloseAfterApply = FALSE;
    UINT m_nAllowedTypes = 127;
    CGroupDataAddress* m_pGroupAddress = nullptr;
    BOOL m_bCreateInList = TRUE;
};

// The open insertion dialog (null when none): owner of the boxes and dialogs
// that its tree and table open.
extern CGroupAddressInsertDlg* g_pGroupAddressInsertDlg;
