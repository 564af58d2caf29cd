#pragma once
// The question of dialog 144: a new special day overlaps existing ones;
// which side keeps the overlapping time.

#include "platform/base/WinTypes.h"
#include "platform/ui/Dialog.h"

class CSpecialDayOverlapDlg : public CDialog {
    Q_OBJECT

public:
    static constexpr UINT IDD = 144;
    static constexpr UINT IDC_TEXT = 1105;
    static constexpr UINT IDC_NEW_OVERLAPS_OLD = 1103;
    static constexpr UINT IDC_OLD_OVERLAPS_NEW = 1104;

    // The chosen mode: none yet, the existing days keep their time, or the
    // new period keeps its time.
    static constexpr int kModeNone = 0;
    static constexpr int kModeOldOverridesNew = 1;
    static constexpr int kModeNewOverridesOld = 2;

    explicit CSpecialDayOverlapDlg(QWidget* pParent);
    ~CSpecialDayOverlapDlg() override;

    int GetMode() const { return m_nMode; }

protected:
    BOOL OnInitDialog() override;

private:
    void Choose(int nMode);

    int m_nMode = kModeNone;
};
