#pragma once
// The base of every table of the table pane: a list of data objects of one
// kind that reads and saves its column layout in the ini file, fills itself
// through the operations each table class implements, keeps current by
// applying the notification records other panes send, sends records for
// what it does itself, and carries the data commands (new, edit, copy,
// paste, delete, usage, help, select all, apply) of the focused table. Rows
// hold plain pointers into the central object; the table owns none of them.

#include "platform/base/WinTypes.h"
#include "platform/ui/AcceleratorTable.h"
#include "platform/ui/CmdTarget.h"
#include "ui/ItemOrder.h"
#include "ui/TableBox.h"

#include <QPoint>

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class CCmdUI;
class CDialog;
class CGroupDataAddress;
class CMainFormView;
class CMenu;
class CObject;
class INavigationTree;
class IViewPane;
struct VIEWNOTIFY;

// Data commands of the tables.
constexpr UINT ID_TABLE_PASTE = 40009;
constexpr UINT ID_TABLE_DELETE = 40010;
constexpr UINT ID_TABLE_RESERVED = 40011;
constexpr UINT ID_TABLE_USAGE = 40012;
constexpr UINT ID_TABLE_COPY = 40020;
constexpr UINT ID_TABLE_NEW = 40027;
constexpr UINT ID_TABLE_EDIT = 40028;
constexpr UINT ID_TABLE_HELP = 40031;
constexpr UINT ID_TABLE_APPLY = 40034;
constexpr UINT ID_TABLE_SELECT_ALL = 40038;
constexpr UINT ID_FILE_SAVE_STATE = 40006;

// Results of PasteObject.
constexpr int PASTE_DONE = 1;
constexpr int PASTE_UNKNOWN = 2;
constexpr int PASTE_FULL = 3;
constexpr int PASTE_DUPLICATE = 5;

class CMainTableBox : public CTableBox, public CCmdTarget {
    Q_OBJECT

public:
    static constexpr int kDefaultMaxEntries = 32767;
    static constexpr int kMaxColumns = 14;
    static constexpr UINT kContextMenuId = 133;
    static constexpr UINT kCursorDrop = 118;
    static constexpr UINT kCursorNoDrop = 142;
    static constexpr UINT kAcceleratorId = 134;

    explicit CMainTableBox(int nTableType = 0);
    ~CMainTableBox() override;

    // The window: a child of the pane at the rectangle; runs the creation
    // steps (column settings, columns, rows, hosted form). FALSE when the
    // hosted form could not be made.
    BOOL Create(QWidget* pParent, const QRect& rect);
    // Saves the column settings, destroys the hosted form and deletes the
    // rows. Runs once; also from the destructor.
    void DestroyWindow();
    bool HasWindow() const { return m_bWindowCreated; }

    // The window-creation step of a table class, after the base steps;
    // -1 fails the creation.
    virtual int OnCreate();

    // --- Operations each table class may override (in this order). ---
    virtual int EditEntry(int nRow);
    virtual void ReservedHook(int nValue);
    virtual bool InitColumns();
    virtual bool FillTable();
    virtual void RefreshTable();
    // FillTable with the columns fitted to the rows once, at the end.
    bool Refill();
    virtual void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts);
    virtual int OnViewNotify(VIEWNOTIFY* pNotify);
    virtual void OnPaneCommand(int nCode);
    virtual int PasteObject(CObject* pObject);
    virtual CObject* GetParentObject();
    virtual void OnSelectAll();
    virtual void OnEditEntry();
    virtual void OnApply();
    virtual void OnCopy();
    virtual void DeleteEntries();
    virtual void NewEntry();
    virtual void OnPaste();
    virtual void OnReservedCommand();
    virtual void OnUsage();
    virtual void OnHelpOnTable();
    virtual void OnUpdateEditEntry(CCmdUI* pCmdUI);
    virtual void OnUpdateApply(CCmdUI* pCmdUI);
    virtual void OnUpdateCopy(CCmdUI* pCmdUI);
    virtual void OnUpdateDelete(CCmdUI* pCmdUI);
    virtual void OnUpdateNew(CCmdUI* pCmdUI);
    virtual void OnUpdatePaste(CCmdUI* pCmdUI);
    virtual void OnUpdateReservedCommand(CCmdUI* pCmdUI);
    virtual void OnUpdateUsage(CCmdUI* pCmdUI);
    virtual void OnUpdateHelpOnTable(CCmdUI* pCmdUI);

    // --- Sending. ---
    // Stamps source and table type and passes the record to the pane.
    void SendNotification(VIEWNOTIFY* pNotify);
    // The edit-in-progress flag of the table in the other row of a split
    // frame (0 without one).
    int NotifySelectionChanged();
    void UpdateToolbarState();
    bool CanCopy();
    bool CanPaste();

    // --- Rows. ---
    int GetSelectedObjects(std::vector<CObject*>& objects) const;
    int GetSelectedEntryCount() const;
    int GetNewEntryRow() const { return GetDataRowCount(); }
    CObject* GetRowObject(int nRow) const { return GetItemData(nRow); }
    bool IsRowSelected(int nRow) const { return IsItemSelected(nRow); }
    bool IsDropTarget(int nDragType, const QPoint& ptScreen) const;

    // --- Context menu and dragging. ---
    void ShowContextMenu(const QPoint& ptClient);
    // Who accepts a drop at the point (client coordinates of this table).
    bool FindDropTarget(const QPoint& ptClient, IViewPane** ppTargetPane);
    // Ends a drag at the point: drops the objects on the target (the
    // selected ones when none are given).
    void DropAt(const QPoint& ptClient);
    void DropAt(const QPoint& ptClient, const std::vector<CObject*>& objects);
    bool IsDragging() const { return m_bDragging; }

    // --- Settings and relations. ---
    int GetTableType() const { return m_nTableType; }
    int GetObjectKind() const { return m_nObjectKind; }
    void SetObjectKind(int nKind) { m_nObjectKind = nKind; }
    int GetMaxEntries() const { return m_nMaxEntries; }
    void SetMaxEntries(int nMax) { m_nMaxEntries = nMax; }
    int GetColumnSettingsCount() const { return m_nColumnCount; }
    void SetColumnCount(int nCount);
    // Column preferences 1..N when the first one is unset (0).
    void PresetColumnPrefs();
    // Sends a record of one object: type, object, parent object, kind, flag.
    void SendObjectRecord(int nType, CObject* pObject, CObject* pParent, int nKind, int nFlag = 0);
    CObject* GetParentObjectMember() const { return m_pParentObject; }
    void SetParentObject(CObject* pParent) { m_pParentObject = pParent; }
    void SetDragEnabled(bool bEnabled) { m_bDragEnabled = bEnabled; }
    bool IsEditInProgress() const { return m_bEditInProgress; }
    void SetEditInProgress(bool bOn) { m_bEditInProgress = bOn; }
    bool AreNotificationsOn() const { return m_bNotificationsOn; }
    void SetNotificationsOn(bool bOn) { m_bNotificationsOn = bOn; }
    void SetNavigationTree(INavigationTree* pTree) { m_pNavigationTree = pTree; }
    INavigationTree* GetNavigationTree() const { return m_pNavigationTree; }
    const std::array<int, kMaxColumns>& GetColumnWidths() const { return m_arrColumnWidths; }
    int GetStoredColumnWidth(int nColumn) const;
    std::vector<WORD>& GetColumnPrefs() { return m_arrColumnPrefs; }

    CMainFormView* GetFormView() const { return m_pFormView; }
    // The dialog hosting the table; null when there is none.
    CDialog* GetParameterDlg() const;
    void EndParameterDialog(int nResult);
    // The n-th ancestor window (1 = the pane), null beyond the top.
    QWidget* GetAncestor(int n) const;

    // The help id of a table type.
    static UINT GetHelpId(int nTableType);

    // Makes the hosted form of a table type (types 16 to 19); a later
    // registration replaces the earlier one.
    using FormViewFactory = std::function<CMainFormView*()>;
    static void RegisterFormView(int nTableType, FormViewFactory factory);

    QWidget* GetCmdTargetWindow() const override { return const_cast<CMainTableBox*>(this); }

protected:
    // --- Steps the table classes share. ---
    // A row for the object at its sorted place, with the default image; its
    // index, or -1.
    int AddObjectRow(CObject* pObject);
    // Rows for the objects in turn; false as soon as one cannot be added.
    template <typename Range>
    bool AddObjectRows(const Range& objects) {
        for (CObject* pObject : objects) {
            if (AddObjectRow(pObject) < 0) {
                return false;
            }
        }
        return true;
    }
    // The trailing row without object that stands for a new entry, its text
    // in the column.
    bool AddNewEntryRow(const std::string& strText, int nColumn);

    // Rows without an object of the type (the new-entry row) sort after all
    // others; two objects by the comparison.
    template <typename T, typename Compare>
    int CompareRowObjects(int nRowA, int nRowB, Compare compare) const {
        const T* pA = dynamic_cast<const T*>(GetItemData(nRowA));
        const T* pB = dynamic_cast<const T*>(GetItemData(nRowB));
        if (const auto missing = ui::OrderMissing(pA, pB)) {
            return *missing;
        }
        return compare(*pA, *pB);
    }

    // A row that is none of the data rows asks for a new object.
    bool IsNewEntryRow(int nRow) const { return nRow < 0 || nRow >= GetNewEntryRow(); }
    // The error box that refuses an edit, owned by the hosting dialog.
    void ShowErrorBox(const std::string& strText, const std::string& strCaption);
    // Runs an edit dialog with the edit flag raised and refreshes the
    // toolbar state after it; the dialog's result.
    int RunEditDialog(const std::function<int()>& runDialog);
    // The objects of the type among GetSelectedObjects (the mark's included).
    template <typename T>
    std::vector<T*> GetSelectedObjectsOf() const {
        std::vector<CObject*> objects;
        GetSelectedObjects(objects);
        std::vector<T*> selected;
        for (CObject* pObject : objects) {
            if (T* pTyped = dynamic_cast<T*>(pObject)) {
                selected.push_back(pTyped);
            }
        }
        return selected;
    }
    // The object of the selection-mark row when that is a data row and the
    // object is of the type; null otherwise.
    template <typename T>
    T* GetMarkObjectOf() const {
        const int nMark = GetSelectionMark();
        return nMark >= 0 && nMark < GetDataRowCount() ? dynamic_cast<T*>(GetItemData(nMark)) : nullptr;
    }
    // The objects of the type on the selected data rows only (the mark
    // alone does not count), from the first row or from the last.
    template <typename T>
    std::vector<T*> GetSelectedRowObjects(bool bLastFirst) const {
        std::vector<T*> objects;
        for (int i = 0; i < GetDataRowCount(); ++i) {
            const int nRow = bLastFirst ? GetDataRowCount() - 1 - i : i;
            if (IsItemSelected(nRow)) {
                if (T* pTyped = dynamic_cast<T*>(GetItemData(nRow))) {
                    objects.push_back(pTyped);
                }
            }
        }
        return objects;
    }

    // The delete question filled with its counts; true on Yes.
    static bool AskDelete(const std::string& strFormat, std::initializer_list<int> counts);
    // After the question with the count of selected data rows, hands their
    // objects of the type to the deleter from the last row to the first (a
    // deletion may take its row away); true when the user said Yes.
    template <typename T, typename Deleter>
    bool DeleteSelectedRows(const std::string& strQuestion, Deleter deleteObject) {
        const int nSelected = GetSelectedEntryCount();
        if (nSelected <= 0 || !AskDelete(strQuestion, {nSelected})) {
            return false;
        }
        for (T* pObject : GetSelectedRowObjects<T>(true)) {
            deleteObject(pObject);
        }
        return true;
    }
    // An object its list no longer holds: announced as removed with the
    // table's kind, its row dropped whoever else heard of it, deleted.
    void DiscardRemovedObject(CObject* pObject, CObject* pParent);
    // The data changed: the modified flag and the toolbar state follow.
    void SetDataModified();
    // Lets the central object count its associations again.
    static void RecountAssociations();
    // In debug mode the associations are counted again and every table
    // refills.
    void SendKindsChangedInDebug();
    // The address when it still belongs to the device's group addresses; a
    // copy whose address is gone has nothing to give.
    static CGroupDataAddress* GetKnownGroupAddress(CGroupDataAddress* pAddress);

    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    // New rows and changed texts widen the columns at their default width.
    void rowsInserted(const QModelIndex& parent, int nFirst, int nLast) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) override;

    int m_nTableType = 0;
    int m_nMaxEntries = kDefaultMaxEntries;
    int m_nColumnCount = kMaxColumns;
    CObject* m_pParentObject = nullptr;
    bool m_bDragEnabled = false;
    bool m_bDragging = false;
    bool m_bEditInProgress = false;
    bool m_bNotificationsOn = true;
    int m_nObjectKind = 0;
    std::array<int, kMaxColumns> m_arrColumnWidths{};
    // The widths the user set, stored in the ini or changed since, are kept
    // as they are; the others grow to show their texts.
    std::array<bool, kMaxColumns> m_arrUserWidth{};
    std::array<int, kMaxColumns> m_arrFittedWidths{};
    // While the rows are filled, the columns are fitted once at the end
    // rather than row by row.
    bool m_bFillingRows = false;
    std::vector<WORD> m_arrColumnPrefs;

private:
    void MapTableCommands();
    void DeleteRowOfObject(const CObject* pObject);
    BOOL CreateFormView();
    void ReadColumnSettings();
    // Widens a column whose width is not the user's to nWidth, at most to
    // kMaxFittedColumnWidth.
    void WidenDefaultColumn(int nColumn, int nWidth);
    // Widens the default columns to their widest texts, judged by the few
    // longest texts of each column rather than by measuring every row.
    void FitColumnsToRows();
    bool IsUserWidth(int nColumn);
    void SaveColumnSettings();
    bool IsUsageChange(int nKind) const;
    void ReAddObjectRow(CObject* pObject, int nRow);
    void SendKindsChanged();
    void AfterDataChange();
    void UpdatePopupItems(CMenu* pPopup, bool bGrayEdit);
    std::vector<CObject*> GetSelectedDataObjects() const;
    void SetDragCursor(UINT nCursor);
    // PasteObject, keeping the objects it adds for SelectPastedRows.
    int PasteAndCollect(CObject* pObject);
    // After the rows are rebuilt: the pasted or dropped objects become the
    // selection, the mark on the first of them.
    void SelectPastedRows();

    INavigationTree* m_pNavigationTree = nullptr;
    CMainFormView* m_pFormView = nullptr;
    QPoint m_ptButtonDown;
    // The keys every table translates into its commands.
    CAcceleratorTable m_accelerators;
    bool m_bWindowCreated = false;
    bool m_bDestroyed = false;
    // Objects a paste or drop added here, until the rows showing them exist.
    std::vector<CObject*> m_arrPasted;
    bool m_bCollectPasted = false;
};
