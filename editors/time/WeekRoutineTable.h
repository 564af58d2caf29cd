#pragma once
// The week-routine table: always seven rows, Monday to Sunday, each showing
// the day routine assigned to that weekday. A row's item data is the
// weekday index itself, not a data object. There is no new-entry row;
// editing opens the week-routine dialog for the selected weekdays and
// deleting clears their assignments.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CCmdUI;
class CDayRoutine;
class CObject;
struct VIEWNOTIFY;

class CWeekRoutineTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 7;
    static constexpr int kDays = 7;
    static constexpr int kColumns = 3;

    CWeekRoutineTable();
    ~CWeekRoutineTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void RefreshTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void DeleteEntries() override;
    void OnUpdateNew(CCmdUI* pCmdUI) override;

    // The routine a weekday shows: the assigned one while it is still one of
    // the parameter set's routines, else none.
    static CDayRoutine* GetShownDayRoutine(int nDay);
    // The weekday a row stands for.
    int GetRowWeekday(int nRow) const;
};
