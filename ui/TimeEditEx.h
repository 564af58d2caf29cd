#pragma once
// The time-of-day edit of the switching-time, special-day and daylight-saving
// dialogs. It reads "0930" or "930" as 09:30, falls back to the last good
// time when the text is no time (telling the user when the mode asks for
// it), and is stepped by spins: a general one by a minute (or an hour), or
// spins attached for the minutes, hours or seconds alone, which wrap.

// moc cannot read the standard library's concepts that the time class uses.
#ifndef Q_MOC_RUN
#include "platform/base/Time.h"
#endif
#include "ui/TimeSpinEdit.h"

// Mode bits.
constexpr LONG TEM_HOURSTEP = 0x01;
constexpr LONG TEM_ZEROMINUTES = 0x04;
constexpr LONG TEM_WARNINVALID = 0x08;

class CSpinControl;

class CTimeEditEx : public CTimeSpinEdit {
    Q_OBJECT

public:
    explicit CTimeEditEx(QWidget* pParent = nullptr);
    explicit CTimeEditEx(LONG nMode, QWidget* pParent = nullptr);

    LONG GetMode() const { return m_nMode; }

    // Index 0 steps the minutes, 1 the hours, 2 the seconds; other indexes
    // are ignored.
    void SetSpinControl(int nIndex, QWidget* pSpin);
    // Makes the two horizontal spin buttons below the edit, as the dialogs
    // place them: the left half steps the hours, the right half the minutes.
    void CreateHourMinuteSpins(CSpinControl*& pHourSpin, CSpinControl*& pMinuteSpin);

    // Becomes the last good time and is shown without seconds.
    void SetTime(const CTime& time);
    // The time of the text, or the last good time when the text is none.
    CTime GetTime();
    const CTime& GetLastGoodTime() const { return m_tLastGood; }

    void OnVScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;
    void OnHScroll(UINT nSBCode, UINT nPos, QWidget* pScrollBar) override;

protected:
    void OnKillFocus() override;
    // Only a mode that tells the user refuses a text that is no time.
    bool IsTextAccepted() const override;

private:
    void Init();
    // The text without blanks, parsed.
    bool ParseText(CTime& time) const;
    void Step(bool bUp, const QWidget* pScrollBar);

    LONG m_nMode = 0;
    QWidget* m_arrSpins[3] = {nullptr, nullptr, nullptr};
    CTime m_tLastGood;
};
