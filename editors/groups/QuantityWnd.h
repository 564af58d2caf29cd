#pragma once
// The form of one quantity (188) that its table hosts: every setting of the
// quantity, read-only, with the values formatted for the quantity's type.
// "Ändern" opens the quantity dialog for it; the right mouse button offers
// the table's help.

#include "ui/MainFormView.h"

class CFloatEditEx;
class CQuantity;
class CQuantityTable;
class QMouseEvent;

class CQuantityWnd : public CMainFormView {
    Q_OBJECT

public:
    static constexpr UINT IDD = 188;
    static constexpr UINT IDC_CHANGE = 1218;
    static constexpr UINT IDC_NUMBER = 1276;
    static constexpr UINT IDC_NAME = 1279;
    static constexpr UINT IDC_TYPE = 1280;
    static constexpr UINT IDC_SUBTYPE = 1244;
    static constexpr UINT IDC_CONDITION = 1281;
    static constexpr UINT IDC_COLD_START = 1282;
    static constexpr UINT IDC_WARM_START = 1283;
    static constexpr UINT IDC_MINIMUM = 1284;
    static constexpr UINT IDC_RANGE_A = 1272;
    static constexpr UINT IDC_RANGE_B = 1285;
    static constexpr UINT IDC_MAXIMUM = 1273;
    static constexpr UINT IDC_INIT_VALUE = 1286;
    // The units beside the minimum, range A, range B, maximum and initial
    // value.
    static constexpr UINT IDC_MINIMUM_UNIT = 1232;
    static constexpr UINT IDC_RANGE_A_UNIT = 1236;
    static constexpr UINT IDC_RANGE_B_UNIT = 1233;
    static constexpr UINT IDC_MAXIMUM_UNIT = 1239;
    static constexpr UINT IDC_INIT_VALUE_UNIT = 1242;
    // The hidden edits that format the values.
    static constexpr UINT IDC_MINIMUM_EDIT = 1230;
    static constexpr UINT IDC_RANGE_A_EDIT = 1235;
    static constexpr UINT IDC_RANGE_B_EDIT = 1231;
    static constexpr UINT IDC_MAXIMUM_EDIT = 1238;
    static constexpr UINT IDC_INIT_VALUE_EDIT = 1241;
    static constexpr UINT kContextPopup = 6;

    explicit CQuantityWnd(CQuantityTable* pTable = nullptr);
    ~CQuantityWnd() override;

    // The table the quantity dialog notifies; also the form's owner table.
    void SetTable(CQuantityTable* pTable);
    CQuantityTable* GetTable() const { return m_pTable; }
    void SetQuantity(CQuantity* pQuantity) { m_pQuantity = pQuantity; }
    CQuantity* GetQuantity() const { return m_pQuantity; }

    // Shows what the quantity holds now.
    void Refresh();

protected:
    int OnCreate() override;
    // Enter and Escape end nothing: the form is a pane, not a dialog.
    void OnOK() override;
    void OnCancel() override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    void OnChange();
    void OnRButtonDown(const QPoint& ptClient);
    void OnHelpOnTable();
    CFloatEditEx* MakeValueEdit(UINT nId);

    CFloatEditEx* m_pMinimumEdit = nullptr;
    CFloatEditEx* m_pRangeAEdit = nullptr;
    CFloatEditEx* m_pRangeBEdit = nullptr;
    CFloatEditEx* m_pMaximumEdit = nullptr;
    CFloatEditEx* m_pInitEdit = nullptr;
    CQuantityTable* m_pTable = nullptr;
    CQuantity* m_pQuantity = nullptr;
};
