#pragma once
// The switching-time overview (table type 10): day by day, the switching
// times that the week routine and the special days put into effect for one
// group address within a period, both chosen in the form above the rows. It
// edits nothing. The rows are computed, so a change of anything they were
// computed from (reported by another pane) drops them and computes them
// anew once that change is complete.

#include "platform/base/Object.h"
#include "ui/MainTableBox.h"

#include <QPointer>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class CDaySwitchTime;
class COverviewEditWnd;

class COverviewTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 10;
    // One fixed buffer; its last slot is never filled.
    static constexpr int kBufferSize = 800;
    static constexpr int kMaxEntries = kBufferSize - 1;
    // Per day, from the week routine and from the special days.
    static constexpr int kMaxCandidates = 800;
    // Periods of this many days or more report their progress.
    static constexpr int kProgressDays = 15;
    static constexpr int kProgressKind = 22;

    // A row: a day (the time value of its 00:00) and the switching time in
    // effect on it.
    class CEntry : public CObject {
    public:
        std::int64_t nDay = 0;
        CDaySwitchTime* pSwitchTime = nullptr;
    };

    COverviewTable();
    ~COverviewTable() override;

    // Makes the form over the table's rectangle, then the rows.
    int OnCreate() override;
    bool InitColumns() override;
    // Computes the rows for the form's address and period; false when a
    // row could not be added.
    bool FillTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    // Code 0 from the form: compute the rows again.
    void OnPaneCommand(int nCode) override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;

    COverviewEditWnd* GetOverviewForm() const;
    int GetEntryCount() const { return m_nEntries; }
    // Null outside the filled entries.
    const CEntry* GetEntry(int nIndex) const;
    bool IsRefillPending() const { return m_bRefillPending; }

protected:
    bool event(QEvent* pEvent) override;

private:
    bool CreateForm();
    bool FillRows();
    // The form keeps its height at the top of the table's area; the rows
    // take the rest.
    void LayoutForm();
    void DropEntries();
    // Whether the record names something the rows were computed from.
    bool AffectsRows(const VIEWNOTIFY& notify) const;
    void ScheduleRefill();

    std::unique_ptr<CEntry[]> m_pEntries;
    int m_nEntries = 0;
    // What the rows were computed from: the address, the routines and
    // special days consulted, the switching times and their addresses.
    // Compared by identity only, as a removal is reported before the object
    // goes and other objects (an unused invalid-list address) go unreported.
    std::unordered_set<const void*> m_dependencies;
    // The period of the rows, as civil day numbers.
    std::int64_t m_nFirstDay = 0;
    std::int64_t m_nLastDay = -1;
    bool m_bRefillPending = false;
    bool m_bFilling = false;
    // Counts the drops: a fill that sees it change stops.
    unsigned m_nGeneration = 0;
    bool m_bLayingOut = false;
    // Where the table last put its rows below the form.
    QRect m_rcRows;
    // A child of the pane, so the window hierarchy may take it first.
    QPointer<COverviewEditWnd> m_pForm;
};
