#include "ui/TimeEditEx.h"

#include "model/Locale.h"
#include "model/Utils.h"
#include "common/Log.h"
#include "common/MessageBox.h"
#include "common/ResString.h"
#include "platform/ui/Handles.h"
#include "ui/SpinControl.h"

#include <cctype>
#include <string>

namespace {

constexpr std::size_t kMaxTimeTextRead = 39;

}  // namespace

CTimeEditEx::CTimeEditEx(QWidget* pParent) : CTimeSpinEdit(pParent) {
    Init();
}

CTimeEditEx::CTimeEditEx(LONG nMode, QWidget* pParent) : CTimeSpinEdit(pParent), m_nMode(nMode) {
    Init();
}

void CTimeEditEx::Init() {
    m_tLastGood = CTime(2000, 1, 1, 0, 0, 0);
    if ((m_nMode & TEM_HOURSTEP) != 0) {
        m_tsStep = CTimeSpan(0, 1, 0, 0);
    }
    if (Is12HourClock()) {
        AllowChar(' ');
        for (const bool bAfternoon : {false, true}) {
            for (const char ch : GetTimeSuffix(bAfternoon)) {
                AllowChar(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
                AllowChar(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
            }
        }
    }
}

void CTimeEditEx::SetSpinControl(int nIndex, QWidget* pSpin) {
    if (nIndex >= 0 && nIndex < 3) {
        m_arrSpins[nIndex] = pSpin;
    }
}

void CTimeEditEx::SetTime(const CTime& time) {
    m_tLastGood = time;
    SetWindowText(FormatTime(time, false));
}

bool CTimeEditEx::ParseText(CTime& time) const {
    std::string strText = GetWindowText().substr(0, kMaxTimeTextRead);
    std::erase(strText, ' ');
    return ParseTimeText(strText, time);
}

CTime CTimeEditEx::GetTime() {
    CTime time;
    if (ParseText(time)) {
        return time;
    }
    if ((m_nMode & TEM_WARNINVALID) != 0) {
        const std::string strText = GetResString(
            736, "Die eingegebene Zeit ist ungültig. Sie wird daher durch den letzten gültigen Wert ersetzt.");
        const std::string strCaption = GetResString(737, "Ungültige Zeit");
        CMessageBox().ShowWarning(platform::ui::HwndFromWidget(parentWidget()), strText.c_str(), strCaption.c_str());
    }
    LOG_INFO("CTimeEditEx: invalid time entered, replaced by last good value");
    return m_tLastGood;
}

void CTimeEditEx::OnKillFocus() {
    SetTime(GetTime());
}

bool CTimeEditEx::IsTextAccepted() const {
    CTime time;
    return (m_nMode & TEM_WARNINVALID) == 0 || ParseText(time);
}

void CTimeEditEx::Step(bool bUp, const QWidget* pScrollBar) {
    CTime time;
    if (!ParseText(time)) {
        SetTime(CTime::GetCurrentTime());
        return;
    }
    int nField = -1;
    for (int i = 0; i < 3; ++i) {
        if (pScrollBar != nullptr && m_arrSpins[i] == pScrollBar) {
            nField = i;
            break;
        }
    }
    if (nField >= 0) {
        int nHour = time.GetHour();
        int nMinute = time.GetMinute();
        int nSecond = time.GetSecond();
        const int nDelta = bUp ? 1 : -1;
        switch (nField) {
        case 0:
            nMinute = (nMinute + nDelta + 60) % 60;
            break;
        case 1:
            nHour = (nHour + nDelta + 24) % 24;
            break;
        default:
            nSecond = (nSecond + nDelta + 60) % 60;
            break;
        }
        time = CTime(time.GetYear(), time.GetMonth(), time.GetDay(), nHour, nMinute, nSecond);
    } else {
        time = bUp ? time + m_tsStep : time - m_tsStep;
    }
    time = Limit(time);
    if ((m_nMode & TEM_ZEROMINUTES) != 0) {
        time = CTime(time.GetYear(), time.GetMonth(), time.GetDay(), time.GetHour(), 0, 0);
    }
    SetTime(time);
}

void CTimeEditEx::OnVScroll(UINT nSBCode, UINT /*nPos*/, QWidget* pScrollBar) {
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEUP, pScrollBar);
    }
}

void CTimeEditEx::OnHScroll(UINT nSBCode, UINT /*nPos*/, QWidget* pScrollBar) {
    // The right half of a horizontal spin steps up.
    if (nSBCode == SB_LINEUP || nSBCode == SB_LINEDOWN) {
        Step(nSBCode == SB_LINEDOWN, pScrollBar);
    }
}

void CTimeEditEx::CreateHourMinuteSpins(CSpinControl*& pHourSpin, CSpinControl*& pMinuteSpin) {
    // Two pixels below the edit, twelve high.
    const QRect rect = geometry();
    const int nHalf = rect.width() / 2;
    pHourSpin = new CSpinControl();
    pHourSpin->SetBuddy(this);
    pHourSpin->Create(SPS_HORIZONTAL, QRect(rect.left(), rect.bottom() + 3, nHalf - 1, 12), parentWidget(), 0);
    pMinuteSpin = new CSpinControl();
    pMinuteSpin->SetBuddy(this);
    pMinuteSpin->Create(SPS_HORIZONTAL, QRect(rect.left() + nHalf + 1, rect.bottom() + 3, rect.width() - nHalf - 1, 12),
                        parentWidget(), 0);
    SetSpinControl(0, pMinuteSpin);
    SetSpinControl(1, pHourSpin);
    pHourSpin->show();
    pMinuteSpin->show();
}
