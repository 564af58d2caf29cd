#pragma once
// The switching times of one day routine, with the new-entry row after them.
// Editing runs the switching-time dialog; copies of switching times and of
// quantity members are pasted or dropped in, a colliding or missing time
// asked for anew; all routines together hold at most 800 switching times.

#include "ui/MainTableBox.h"

#include <string>
#include <vector>

class CDayRoutine;
class CDaySwitchTime;
class CGroupDataAddress;

class CDaySwitchTimeTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 11;
    static constexpr int kMaxSwitchTimes = 800;

    explicit CDaySwitchTimeTable(CDayRoutine* pRoutine);
    ~CDaySwitchTimeTable() override;

    int EditEntry(int nRow) override;
    bool InitColumns() override;
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    int PasteObject(CObject* pObject) override;
    CObject* GetParentObject() override;
    void DeleteEntries() override;

    CDayRoutine* GetDayRoutine() const { return m_pDayRoutine; }

private:
    // Asks for a time until it does not collide in the routine; false when
    // the user cancels.
    bool ChooseFreeTime(const CGroupDataAddress* pAddress, int& nHour, int& nMinute, bool bAskFirst);
    bool Collides(const CGroupDataAddress* pAddress, int nHour, int nMinute) const;
    int InsertCopy(CGroupDataAddress* pAddress, int nHour, int nMinute, const CDaySwitchTime* pTimeSource,
                   const class CQuantityMember* pMemberSource);
    void ShowCapacityError();

    CDayRoutine* m_pDayRoutine;
};
