#pragma once
// The chooser of the edit dialogs for a group address or a day routine: a
// bounded list of data objects (not owned) shown sorted in columns (type,
// name and address for group addresses; name and number for day routines),
// with the column layout and sort order kept per chooser kind in the ini
// file, an optional owner-given first entry, an optional "kein" entry and
// an optional "neue Gruppenadresse" entry.
//
// Item data: a group address's raw 16-bit address, negated for an address
// of the invalid list; a day routine's object pointer; 0 for the first,
// "kein" and "neue Gruppenadresse" entries.
//
// Use in a dialog: AddGroupAddressColumns or AddDayRoutineColumns and
// InitColumns with a CTableListHeader when it initialises; ClearObjects,
// AddObject for each object, Refill, SelectObject of the current one; and
// SaveColumns when it closes.

#include "platform/base/WinTypes.h"
#include "ui/TabComboBox.h"

#include <string>
#include <vector>

class CGroupDataAddress;
class CObject;
class CTableListHeader;

// Table types of the two chooser kinds (ini sections GroupAddressComboBox
// and DayRoutineComboBox).
constexpr int TABLE_TYPE_GROUP_ADDRESS_COMBO = 21;
constexpr int TABLE_TYPE_DAY_ROUTINE_COMBO = 22;

class CTableComboBox : public CTabComboBox {
    Q_OBJECT

public:
    static constexpr int MAX_OBJECTS = 250;

    explicit CTableComboBox(bool bKeepOpen, QWidget* pParent = nullptr);
    ~CTableComboBox() override;

    // Appends an object to list; false when 250 are listed already.
    bool AddObject(CObject* pObject);
    void ClearObjects();
    int GetObjectCount() const { return m_nObjectCount; }
    CObject* GetObject(int nIndex) const;
    // The group address of the selected entry: its item data is the raw
    // address, negated for an address of the invalid list. Null for no
    // selection and for the "neue Gruppenadresse" entry.
    CGroupDataAddress* GetSelectedGroupAddress() const;

    // Fills the entries again from the objects; keeps the selection and an
    // open list. The index of the "neue Gruppenadresse" entry or -1.
    int Refill();
    // Selects the object's entry, or the nearest one in sort order.
    void SelectObject(CObject* pObject);

    // The entry is offered only with the flag in plug-in mode, and only
    // while the group-address insertion dialog is there to open.
    void EnableNewAddressEntry(bool bEnable);
    bool IsNewAddressEntryEnabled() const;
    // Offers the entry (when bWanted) while fewer associations than the
    // limit exist and withdraws it at the limit, showing the limit message
    // once (*pbLimitShown keeps that per dialog); then refills. Whether the
    // entry is offered.
    bool UpdateNewAddressEntry(bool bWanted, QWidget* pOwner, bool* pbLimitShown);
    // The index of the "neue Gruppenadresse" entry, -1 when there is none.
    int GetNewAddressIndex() const { return m_nNewAddressIndex; }

    void SetNoneEntry(bool bNoneEntry);
    bool HasNoneEntry() const { return m_bNoneEntry; }
    // Sets the text and switches the first entry on.
    void SetFirstEntryText(const std::string& strText);

    // Sort keys in priority order: kind codes (group addresses 1 type,
    // 2 name, 3 address; day routines 1 name, 2 number), negative for
    // descending. The owner may fill them.
    std::vector<SHORT>& GetColumnTypes() { return m_arrColumnTypes; }

    // The columns of the chooser kinds, with their titles and widths.
    void AddGroupAddressColumns();
    void AddDayRoutineColumns();
    // The dialog's set-up of the header: resizable and movable, placed
    // above the box without a gap and without notifications; the stored
    // layout of the table type; sort keys 1, 2, 3 for group addresses when
    // none are stored. FALSE when the header could not be made.
    BOOL InitColumns(CTableListHeader& header, int nTableType);

    // Column layout and sort keys of the table type's ini section.
    void RestoreColumns(int nTableType);
    void SaveColumns(int nTableType);

    // A click on a column title: that column becomes the primary key,
    // reversed; then refills.
    void SortByColumn(int nColumn);
    // -1, 0 or 1 by the sort keys; a missing object sorts last.
    int CompareObjects(const CObject* pA, const CObject* pB) const;

    void SetItemColors(TabDrawItem& item, const std::string& strText) override;
    void DrawCell(QPainter& painter, const QRect& rcCell, int nColumn, const std::string& strText) override;

protected:
    int GetCellMargins() const override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    // The item data of an object's entry.
    static std::intptr_t GetObjectData(const CObject* pObject);
    // Widens the columns that show their default width until the title and
    // the field of each entry text fit, up to the screen's width.
    void FitDefaultColumns(const std::vector<std::string>& texts);
    bool IsUserWidth(int nColumn);

    bool m_bNewAddressEntry = false;
    bool m_bDrawingNewAddressRow = false;
    bool m_bDrawingNoneRow = false;
    bool m_bNoneEntry = false;
    bool m_bKeepOpen = false;  // the list opens again when the focus goes while the pointer is over it
    bool m_bFirstEntry = false;
    std::string m_strFirstEntry;
    std::vector<CObject*> m_arrObjects;
    std::vector<SHORT> m_arrColumnTypes;
    // The widths the user set, stored in the ini or changed since, are kept
    // as they are; the others grow to show the entries.
    std::vector<bool> m_arrUserWidth;
    std::vector<LONG> m_arrFittedWidths;
    int m_nObjectCount = 0;
    int m_nNewAddressIndex = -1;
};
