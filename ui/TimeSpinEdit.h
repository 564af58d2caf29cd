#pragma once
// An edit of a time of day in the locale's form that a spin button steps by
// its step (one minute until the owner sets another), limited to the day
// 2000-01-01 00:00:00..23:59:59 without wrapping past midnight.

// moc cannot read the standard library's concepts that the time class uses.
#ifndef Q_MOC_RUN
#include "platform/base/Time.h"
#endif
#include "ui/FilterEdit.h"
#include "ui/SpinBuddy.h"

class CTimeSpinEdit : public CFilterEdit, public ISpinBuddy {
    Q_OBJECT

public:
    explicit CTimeSpinEdit(QWidget* pParent = nullptr);

    void SetRange(const CTime& minimum, const CTime& maximum);
    void SetStepSize(CTimeSpan step) { m_tsStep = step; }
    const CTime& GetMinimum() const { return m_tMinimum; }
    const CTime& GetMaximum() const { return m_tMaximum; }
    CTimeSpan GetStepSize() const { return m_tsStep; }

    // SB_LINEUP one step later, SB_LINEDOWN one step earlier; a text that is
    // no time becomes the current time.
    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    CTime Limit(const CTime& time) const;

    CTime m_tMinimum;
    CTime m_tMaximum;
    CTimeSpan m_tsStep;
};
