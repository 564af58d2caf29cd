#pragma once
// The pane of the internal clock (table type 5): a table without rows or
// column settings whose only job is to host the clock's form over its area.

#include "ui/MainTableBox.h"

#include <QPointer>

class CInternalClockEditWnd;

class CInternalClockTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 5;

    CInternalClockTable();
    ~CInternalClockTable() override;

    int OnCreate() override;
    // Makes the form once (the row is of no matter); 1 when its window
    // exists.
    int EditEntry(int nEntry) override;
    // Refills the form.
    bool FillTable() override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;

    CInternalClockEditWnd* GetClockForm() const;

protected:
    bool event(QEvent* pEvent) override;

private:
    // A child of the pane, so the window hierarchy may take it first.
    QPointer<CInternalClockEditWnd> m_pEditWnd;
};
