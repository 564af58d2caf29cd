#pragma once
// The pane of one quantity: a table without rows that hosts the quantity's
// form (188) over its whole area. It keeps the form current when another
// pane or the quantity dialog reports a change of this quantity.

#include "ui/MainTableBox.h"

#include <QPointer>

class CQuantity;
class CQuantityWnd;

class CQuantityTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 12;

    explicit CQuantityTable(CQuantity* pQuantity);
    ~CQuantityTable() override;

    int OnCreate() override;
    int OnViewNotify(VIEWNOTIFY* pNotify) override;

    CQuantity* GetQuantity() const;
    CQuantityWnd* GetQuantityForm() const;

protected:
    bool event(QEvent* pEvent) override;

private:
    // Makes the form once, over the table's rectangle in the pane.
    bool CreateForm();

    // A child of the pane, so the window hierarchy may take it first.
    QPointer<CQuantityWnd> m_pForm;
};
