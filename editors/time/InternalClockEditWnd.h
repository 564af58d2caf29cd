#pragma once
// The form of the internal clock (115) that its table hosts: mode, send
// time, inactive time, the clock's four group addresses, the lock polarity,
// the send delay and the comments. Every change goes straight into the
// clock or the central object; there is no OK or Cancel.

#include "ui/MainFormView.h"

class CChronoset;
class CGroupDataAddress;
class CInternalClock;
class CKeepOpenComboBox;
class CMainTableBox;
class CSpinControl;
class CValueEditEx;
class QMouseEvent;
class QPlainTextEdit;

class CInternalClockEditWnd : public CMainFormView {
    Q_OBJECT

public:
    static constexpr UINT IDD = 115;
    static constexpr UINT IDC_MODE = 1000;
    static constexpr UINT IDC_SEND_HOUR = 1003;
    static constexpr UINT IDC_SEND_MINUTE = 1004;
    static constexpr UINT IDC_INACTIVE_MINUTES = 1005;
    static constexpr UINT IDC_INACTIVE_SECONDS = 1006;
    static constexpr UINT IDC_TIME_ADDRESS = 1009;
    static constexpr UINT IDC_DATE_ADDRESS = 1010;
    static constexpr UINT IDC_REQUEST_ADDRESS = 1015;
    static constexpr UINT IDC_LOCK_ADDRESS = 1017;
    static constexpr UINT IDC_SEND_DELAY = 1018;
    static constexpr UINT IDC_LOCK_POLARITY = 1019;
    static constexpr UINT IDC_MODE_LABEL = 1002;
    static constexpr UINT IDC_LOCK_LABEL = 1007;
    static constexpr UINT IDC_TIME_LABEL = 1011;
    static constexpr UINT IDC_DATE_LABEL = 1012;
    static constexpr UINT IDC_SEND_TIME_LABEL = 1013;
    static constexpr UINT IDC_REQUEST_LABEL = 1014;
    static constexpr UINT IDC_INACTIVE_LABEL = 1016;
    static constexpr UINT IDC_SEND_DELAY_LABEL = 1115;
    static constexpr UINT IDC_SEND_SEPARATOR = 1033;
    static constexpr UINT IDC_INACTIVE_SEPARATOR = 1034;
    static constexpr UINT IDC_INSTALLER_LABEL = 1249;
    static constexpr UINT IDC_USER_LABEL = 1251;
    static constexpr UINT IDC_USER_COMMENT = 1252;
    static constexpr UINT IDC_INSTALLER_COMMENT = 1297;
    static constexpr UINT IDC_INSTALLER_FRAME = 1298;
    static constexpr UINT IDC_SPIN_SEND_HOUR = 2;
    static constexpr UINT IDC_SPIN_SEND_MINUTE = 3;
    static constexpr UINT IDC_SPIN_INACTIVE_MINUTES = 6;
    static constexpr UINT IDC_SPIN_INACTIVE_SECONDS = 7;
    static constexpr UINT kContextPopup = 6;
    static constexpr int kMaxUserComment = 40;

    CInternalClockEditWnd(CChronoset* pChronoset, CMainTableBox* pOwnerTable);
    ~CInternalClockEditWnd() override;

    // The base creation, the controls' set-up, the table's font, the data.
    BOOL Create(QWidget* pParent, const QRect& rect) override;
    using CMainFormView::Create;

    // Shows what the clock and the central object hold now.
    void FillControls();

protected:
    int OnCreate() override;
    void OnDestroy() override;
    // Enter and Escape end nothing: the form is a pane, not a dialog.
    void OnOK() override;
    void OnCancel() override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // The clock of the central object this form was made for, null once
    // another central object took its place: nothing is written then.
    CInternalClock* GetClock() const;
    void InitControls();
    void FillGaComboBox(CKeepOpenComboBox* pCombo, CGroupDataAddress* pAddress, SHORT nObjectNumber, int* pnRemembered);
    void SelChangeGaComboBox(CKeepOpenComboBox* pCombo, DWORD dwUsage, int* pnRemembered);
    void OnSelChangeMode();
    void OnChangeValue(UINT nId);
    void OnKillFocusValue(UINT nId);
    void OnSelChangeSendDelay();
    void OnSelEndOkPolarity();
    void OnChangeUserComment();
    void StoreTimeValues();
    void SetModified(int nFlag);
    void NotifyDataChanged();
    void OnHelpOnTable();
    void ShowPolarity(bool bShow);
    void SelectPolarityByText(UINT nStringId);
    CValueEditEx* ValueEdit(UINT nId) const;

    CChronoset* m_pChronoset = nullptr;
    bool m_bInitialising = false;
    // Enabling the value edits rewrites their texts; those are no changes.
    bool m_bSwitchingEdits = false;
    // The insertion dialog or a focus check is running: the chooser or
    // edit that lost the focus to it must not start the same work again.
    bool m_bInSelChange = false;
    bool m_bInKillFocus = false;
    int m_nDateSel = -1;
    int m_nTimeSel = -1;
    int m_nRequestSel = -1;
    int m_nLockSel = -1;
    int m_nPolaritySel = -1;
    CSpinControl* m_arrSpins[4] = {};
    CValueEditEx* m_arrEdits[4] = {};
    CKeepOpenComboBox* m_pMode = nullptr;
    CKeepOpenComboBox* m_pTimeCombo = nullptr;
    CKeepOpenComboBox* m_pDateCombo = nullptr;
    CKeepOpenComboBox* m_pRequestCombo = nullptr;
    CKeepOpenComboBox* m_pLockCombo = nullptr;
    CKeepOpenComboBox* m_pPolarity = nullptr;
    CKeepOpenComboBox* m_pSendDelay = nullptr;
    QPlainTextEdit* m_pUserComment = nullptr;
};
