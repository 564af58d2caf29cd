#pragma once
// The table of the day routines of the open device (at most 15), with the
// new-entry row after them. Editing runs the day-routine dialog; deleting
// takes everything that refers to the routines along.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CDayRoutine;

class CDayRoutineTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 6;
    static constexpr int kMaxRoutines = 15;

    CDayRoutineTable();
    ~CDayRoutineTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void DeleteEntries() override;

    // The number as the table and the dialog show it: two digits.
    static std::string FormatNumber(int nNumber);

private:
    // The Yes/No/Cancel question before deleting; true for Yes.
    bool ConfirmDelete(const std::vector<CDayRoutine*>& routines);
    // Removes the routine and everything that runs it, announcing each part.
    void DeleteRoutine(CDayRoutine* pRoutine);
};
