#pragma once
// The column header of a table combo box: besides resizing and moving the
// columns, a click on a column title sorts the list by that column and
// opens it (or closes a list that was open).

#include "ui/TabListHeader.h"

#include <QPoint>

class CTableListHeader : public CTabListHeader {
    Q_OBJECT

public:
    explicit CTableListHeader(UINT nRows = 1, DWORD dwStyle = THS_RESIZABLE, QWidget* pParent = nullptr);

protected:
    void OnButtonDown(const QPoint& point) override;
    void OnButtonUp(const QPoint& point) override;

private:
    int m_nClickedColumn = -1;
    int m_nClickedRow = -1;
    QPoint m_ptPress;
    bool m_bWasDropped = false;
};
