#pragma once
// The table of the time-program folder node: no columns, no rows; its
// context menu offers only the help.

#include "ui/MainTableBox.h"

class CEmptyTable : public CMainTableBox {
    Q_OBJECT

public:
    CEmptyTable();
    ~CEmptyTable() override;
};
