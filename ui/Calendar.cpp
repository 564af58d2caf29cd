#include "ui/Calendar.h"

#include "model/Locale.h"
#include "common/Log.h"
#include "common/ResString.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/Posting.h"
#include "platform/ui/WindowClasses.h"
#include "ui/CalendarDates.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <ctime>

namespace {

// Arrow areas at both ends of the title line.
constexpr int kArrowAreaWidth = 21;
constexpr int kArrowTip = 8;
constexpr int kArrowBase = 13;
constexpr int kMonthArrowHeight = 10;

struct WeekdayName {
    UINT nId;
    const char* pszDefault;
};
// Sunday first, as the grid's columns.
constexpr WeekdayName kWeekdayNames[7] = {{40132, "So"}, {40126, "Mo"}, {40127, "Di"}, {40128, "Mi"},
                                          {40129, "Do"}, {40130, "Fr"}, {40131, "Sa"}};
constexpr const char* kMonthNames[12] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
constexpr UINT kFirstMonthNameId = 1200;

int MonthIndex(DWORD dwDate) {
    return GetPackedYear(dwDate) * 12 + GetPackedMonth(dwDate) - 1;
}

}  // namespace

CCalendar::CCalendar() : m_dwMinDate(PackDate(2000, 1, 1)), m_dwMaxDate(PackDate(2035, 12, 31)) {
    setFocusPolicy(Qt::StrongFocus);
    // The calendar paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_colorText = palette().color(QPalette::WindowText);
}

CCalendar::~CCalendar() {
    DestroyWindow();
}

bool CCalendar::RegisterCalendarClass() {
    if (platform::ui::IsWindowClassRegistered(kClassName)) {
        return true;
    }
    return platform::ui::RegisterWindowClass(kClassName, nullptr);
}

bool CCalendar::CreatePopup(QWidget* pOwner, QWidget* pAnchor, DWORD dwStyle) {
    if (m_bCreated || !RegisterCalendarClass()) {
        return false;
    }
    if (OnCreate(kPopupHeight) == -1) {
        return false;
    }
    m_pOwner = pOwner;
    m_pDateField = pAnchor;
    m_bBorder = (dwStyle & WS_BORDER) != 0;
    // A pop-up of the owner's window, framed by the calendar itself: it takes
    // the keys while it is open, is placed where the field is on every
    // window system, and a press anywhere else closes it, which is the focus
    // loss the owner hears of.
    setParent(pOwner, Qt::Popup);
    resize(kPopupWidth, kPopupHeight);
    MoveToAnchor();
    m_bCreated = true;
    setEnabled((dwStyle & WS_DISABLED) == 0);
    m_nViewState = isEnabled() ? 0 : kStateDisabled;
    if ((dwStyle & WS_VISIBLE) != 0) {
        show();
    }
    return true;
}

int CCalendar::OnCreate(int nHeight) {
    m_nHeaderHeight = nHeight / 4;
    const int nFontHeight = (m_nHeaderHeight - 6) / 2;
    if (nFontHeight <= 0) {
        return -1;
    }
    m_fontNormal = QFont(QStringLiteral("Arial"));
    m_fontNormal.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    m_fontNormal.setPixelSize(nFontHeight);
    m_fontNormal.setWeight(QFont::Normal);
    m_fontBold = m_fontNormal;
    m_fontBold.setWeight(QFont::Bold);
    return 0;
}

void CCalendar::DestroyWindow() {
    if (!m_bCreated) {
        return;
    }
    hide();
    m_bCreated = false;
    m_pOwner = nullptr;
    m_pDateField = nullptr;
    m_nViewState &= ~kStateFocus;
}

void CCalendar::SetDate(int nMonth, int nDay, int nYear) {
    SetDate(NormalizeDate(nYear, nMonth, nDay), false);
}

void CCalendar::SetDate(DWORD dwDate, bool bNotify) {
    // A date from outside may name a day the month does not have.
    dwDate = NormalizeDate(GetPackedYear(dwDate), GetPackedMonth(dwDate), GetPackedDay(dwDate));
    dwDate = std::clamp(dwDate, m_dwMinDate, m_dwMaxDate);
    if (dwDate == m_dwDate) {
        return;
    }
    if (m_dwDate != 0 && MonthIndex(dwDate) == MonthIndex(m_dwDate)) {
        update(GetDayCellRect(m_dwDate));
        m_dwDate = dwDate;
        update(GetDayCellRect(m_dwDate));
    } else {
        m_dwDate = dwDate;
        update();
    }
    if (bNotify) {
        Post([this] { emit DateChanged(); });
    }
    SetEditDate();
}

void CCalendar::SetEditDate() {
    if (m_pDateField == nullptr || m_dwDate == 0) {
        return;
    }
    const int nYear = GetPackedYear(m_dwDate);
    const int nMonth = GetPackedMonth(m_dwDate);
    const int nDay = GetPackedDay(m_dwDate);
    LOG_DETAIL("CCalendar::SetEditDate() - date to set: %d/%d/%d", nMonth, nDay, nYear);
    std::tm tm{};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_isdst = -1;
    const std::string strDate = TmToDate(tm);
    LOG_DETAIL("date string: %s", strDate.c_str());
    m_pDateField->setProperty("text", QString::fromStdString(strDate));
}

DWORD CCalendar::GetGridStart() const {
    const DWORD dwFirst = PackDate(GetPackedYear(m_dwDate), GetPackedMonth(m_dwDate), 1);
    return AddDays(dwFirst, -GetWeekday(GetPackedYear(dwFirst), GetPackedMonth(dwFirst), 1));
}

CCalendar::Layout CCalendar::CalcLayout() const {
    Layout layout;
    layout.rcClient = m_bBorder ? rect().adjusted(1, 1, -1, -1) : rect();
    const QRect& rc = layout.rcClient;
    const int nHalf = m_nHeaderHeight / 2;
    layout.rcTitle = QRect(rc.left(), rc.top(), rc.width(), nHalf);
    layout.rcWeekdays = QRect(rc.left(), rc.top() + nHalf, rc.width(), m_nHeaderHeight - nHalf);
    layout.rcGrid = QRect(rc.left(), rc.top() + m_nHeaderHeight, rc.width(), rc.height() - m_nHeaderHeight);
    layout.nCellWidth = layout.rcGrid.width() / 7;
    layout.nCellHeight = layout.rcGrid.height() / 6;
    if (m_dwDate != 0) {
        if (MonthIndex(m_dwDate) > MonthIndex(m_dwMinDate)) {
            layout.rcPrevious = QRect(rc.left(), rc.top(), kArrowAreaWidth, nHalf);
        }
        if (MonthIndex(m_dwDate) < MonthIndex(m_dwMaxDate)) {
            layout.rcNext = QRect(rc.left() + rc.width() - kArrowAreaWidth, rc.top(), kArrowAreaWidth, nHalf);
        }
    }
    return layout;
}

QRect CCalendar::GetDayCellRect(DWORD dwDate) const {
    if (m_dwDate == 0) {
        return {};
    }
    const Layout layout = CalcLayout();
    DWORD dwCell = GetGridStart();
    for (int nCell = 0; nCell < 42; ++nCell, dwCell = GetNextDay(dwCell)) {
        if (dwCell == dwDate) {
            return QRect(layout.rcGrid.left() + (nCell % 7) * layout.nCellWidth,
                         layout.rcGrid.top() + (nCell / 7) * layout.nCellHeight, layout.nCellWidth,
                         layout.nCellHeight);
        }
    }
    return {};
}

QRect CCalendar::GetPreviousArrowRect() const {
    return CalcLayout().rcPrevious;
}

QRect CCalendar::GetNextArrowRect() const {
    return CalcLayout().rcNext;
}

CCalendar::HitPart CCalendar::HitTest(const QPoint& ptClient, DWORD* pdwDate) const {
    if (m_dwDate == 0) {
        return HitNothing;
    }
    const Layout layout = CalcLayout();
    DWORD dwHit = 0;
    HitPart part = HitNothing;
    if (layout.nCellWidth > 0 && layout.nCellHeight > 0 && layout.rcGrid.contains(ptClient)) {
        const int nColumn = (ptClient.x() - layout.rcGrid.left()) / layout.nCellWidth;
        const int nRow = (ptClient.y() - layout.rcGrid.top()) / layout.nCellHeight;
        if (nColumn < 7 && nRow < 6) {
            const int nYear = GetPackedYear(m_dwDate);
            const int nMonth = GetPackedMonth(m_dwDate);
            const DWORD dwFirst = PackDate(nYear, nMonth, 1);
            const int nIndex = nColumn + 7 * nRow - GetWeekday(nYear, nMonth, 1);
            const int nDays = GetDaysInMonth(nYear, nMonth);
            if (nIndex < 0) {
                dwHit = AddDays(dwFirst, nIndex);
            } else if (nIndex >= nDays) {
                dwHit = AddDays(PackDate(nYear, nMonth, nDays), nIndex - nDays + 1);
            } else {
                dwHit = PackDate(nYear, nMonth, nIndex + 1);
            }
            part = HitDay;
        }
    } else if (layout.rcPrevious.contains(ptClient)) {
        dwHit = GetPreviousMonth(m_dwDate);
        part = HitPreviousArrow;
    } else if (layout.rcNext.contains(ptClient)) {
        dwHit = GetNextMonth(m_dwDate);
        part = HitNextArrow;
    }
    if (pdwDate != nullptr) {
        *pdwDate = dwHit;
    }
    return part;
}

void CCalendar::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter dc(this);
    const QPalette& pal = palette();
    const QColor colorWindow = pal.color(QPalette::Base);
    dc.fillRect(rect(), pal.color(QPalette::Button));
    if (m_bBorder) {
        dc.setPen(pal.color(QPalette::WindowText));
        dc.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const Layout layout = CalcLayout();
    if ((m_nViewState & kStateFocus) != 0) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = layout.rcClient;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &dc, this);
    }
    m_colorText = (m_nViewState & kStateDisabled) != 0 ? m_colorGray : pal.color(QPalette::WindowText);
    if (m_dwDate == 0) {
        return;
    }
    const int nYear = GetPackedYear(m_dwDate);
    const int nMonth = GetPackedMonth(m_dwDate);

    // Title line: arrows and "month year".
    dc.setFont(m_fontBold);
    dc.setPen(m_colorText);
    dc.setRenderHint(QPainter::Antialiasing, false);
    const int nMiddle = layout.rcTitle.top() + layout.rcTitle.height() / 2;
    auto drawArrow = [&](int nTipX, int nBaseX) {
        QPainterPath path;
        path.moveTo(nTipX, nMiddle);
        path.lineTo(nBaseX, nMiddle - kMonthArrowHeight / 2);
        path.lineTo(nBaseX, nMiddle + kMonthArrowHeight / 2);
        path.closeSubpath();
        dc.fillPath(path, m_colorText);
    };
    if (!layout.rcPrevious.isEmpty()) {
        drawArrow(layout.rcPrevious.left() + kArrowTip, layout.rcPrevious.left() + kArrowBase);
    }
    if (!layout.rcNext.isEmpty()) {
        const int nRight = layout.rcNext.left() + layout.rcNext.width();
        drawArrow(nRight - kArrowTip, nRight - kArrowBase);
    }
    const std::string strMonth = GetResString(kFirstMonthNameId + nMonth - 1, kMonthNames[nMonth - 1]);
    const QString strTitle = QString::asprintf("%s %04d", strMonth.c_str(), nYear);
    dc.drawText(layout.rcTitle, Qt::AlignCenter | Qt::TextSingleLine, strTitle);

    // Weekday names, a gray and a window-coloured line below them.
    const int nColumnWidth = layout.rcWeekdays.width() / 7;
    for (int i = 0; i < 7; ++i) {
        const QRect rcColumn(layout.rcWeekdays.left() + i * nColumnWidth, layout.rcWeekdays.top(), nColumnWidth,
                             layout.rcWeekdays.height());
        dc.drawText(rcColumn, Qt::AlignCenter | Qt::TextSingleLine,
                    QString::fromStdString(GetResString(kWeekdayNames[i].nId, kWeekdayNames[i].pszDefault)));
    }
    const int nHeaderBottom = layout.rcClient.top() + m_nHeaderHeight;
    dc.setPen(m_colorGray);
    dc.drawLine(layout.rcClient.left(), nHeaderBottom - 2, layout.rcClient.right(), nHeaderBottom - 2);
    dc.setPen(colorWindow);
    dc.drawLine(layout.rcClient.left(), nHeaderBottom - 1, layout.rcClient.right(), nHeaderBottom - 1);

    // The day cells.
    dc.setFont(m_fontNormal);
    dc.setBackgroundMode(Qt::TransparentMode);
    DWORD dwCell = GetGridStart();
    for (int nCell = 0; nCell < 42; ++nCell, dwCell = GetNextDay(dwCell)) {
        if (dwCell > m_dwMaxDate) {
            break;
        }
        if (dwCell < m_dwMinDate) {
            continue;
        }
        const QRect rcCell(layout.rcGrid.left() + (nCell % 7) * layout.nCellWidth,
                           layout.rcGrid.top() + (nCell / 7) * layout.nCellHeight, layout.nCellWidth,
                           layout.nCellHeight);
        dc.setPen(GetPackedMonth(dwCell) == nMonth ? m_colorText : m_colorGray);
        dc.drawText(rcCell, Qt::AlignCenter | Qt::TextSingleLine, QString::number(GetPackedDay(dwCell)));
        if (dwCell == m_dwDate) {
            const QRect rcFrame = rcCell.adjusted(0, 0, -1, -1);
            dc.setPen(m_colorGray);
            dc.drawLine(rcFrame.topLeft(), rcFrame.bottomLeft());
            dc.drawLine(rcFrame.topLeft(), rcFrame.topRight());
            dc.setPen(colorWindow);
            dc.drawLine(rcFrame.topRight(), rcFrame.bottomRight());
            dc.drawLine(rcFrame.bottomLeft(), rcFrame.bottomRight());
        }
    }
}

void CCalendar::keyPressEvent(QKeyEvent* pEvent) {
    const int nKey = pEvent->key();
    const int nRepeat = pEvent->count();
    const int nModifiers = static_cast<int>(pEvent->modifiers());
    Post([this, nKey, nRepeat, nModifiers] { emit KeyPressed(nKey, nRepeat, nModifiers); });
    if (m_dwDate == 0) {
        QWidget::keyPressEvent(pEvent);
        return;
    }
    const bool bControl = (pEvent->modifiers() & Qt::ControlModifier) != 0;
    DWORD dwDate = m_dwDate;
    switch (nKey) {
    case Qt::Key_PageUp:
        if (bControl) {
            if (m_dwDate > m_dwMinDate) {
                dwDate = GetPreviousYear(m_dwDate);
            }
        } else {
            dwDate = GetPreviousMonth(m_dwDate);
        }
        break;
    case Qt::Key_PageDown:
        if (bControl) {
            if (m_dwDate < m_dwMaxDate) {
                dwDate = GetNextYear(m_dwDate);
            }
        } else {
            dwDate = GetNextMonth(m_dwDate);
        }
        break;
    case Qt::Key_Left:
        dwDate = GetPreviousDay(m_dwDate);
        break;
    case Qt::Key_Right:
        dwDate = GetNextDay(m_dwDate);
        break;
    case Qt::Key_Up:
        dwDate = AddDays(m_dwDate, -7);
        break;
    case Qt::Key_Down:
        dwDate = AddDays(m_dwDate, 7);
        break;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    SetDate(dwDate, true);
    pEvent->accept();
}

void CCalendar::OnButtonDown(const QPoint& ptClient, bool bDoubleClick) {
    DWORD dwDate = 0;
    const HitPart part = HitTest(ptClient, &dwDate);
    if (part == HitNothing) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    SetDate(dwDate, true);
    if (part == HitDay) {
        if (bDoubleClick) {
            Post([this] { emit DayDoubleClicked(); });
        } else {
            Post([this] { emit DayClicked(); });
        }
    }
}

void CCalendar::mousePressEvent(QMouseEvent* pEvent) {
    if (!rect().contains(pEvent->position().toPoint())) {
        // A press outside closes the pop-up. Where the window system passes
        // that press on, one on the owner must not reach it as well: it
        // would open the calendar again at once.
        const QPoint ptGlobal = pEvent->globalPosition().toPoint();
        setAttribute(Qt::WA_NoMouseReplay,
                     m_pOwner != nullptr && m_pOwner->rect().contains(m_pOwner->mapFromGlobal(ptGlobal)));
        QWidget::mousePressEvent(pEvent);
        return;
    }
    if (pEvent->button() == Qt::LeftButton) {
        OnButtonDown(pEvent->position().toPoint(), false);
        pEvent->accept();
        return;
    }
    QWidget::mousePressEvent(pEvent);
}

void CCalendar::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (!rect().contains(pEvent->position().toPoint())) {
        // The second press of a double click outside closes the pop-up as
        // the first would.
        mousePressEvent(pEvent);
        return;
    }
    if (pEvent->button() == Qt::LeftButton) {
        OnButtonDown(pEvent->position().toPoint(), true);
        pEvent->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(pEvent);
}

void CCalendar::focusInEvent(QFocusEvent* pEvent) {
    m_nViewState |= kStateFocus;
    update();
    QWidget::focusInEvent(pEvent);
}

void CCalendar::focusOutEvent(QFocusEvent* pEvent) {
    m_nViewState &= ~kStateFocus;
    update();
    SetEditDate();
    QPointer<QWidget> pNewFocus = QApplication::focusWidget();
    if (pNewFocus == this) {
        pNewFocus = nullptr;
    }
    Post([this, pNewFocus] { emit FocusLost(pNewFocus.data()); });
    QWidget::focusOutEvent(pEvent);
}

void CCalendar::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::EnabledChange) {
        const UINT nState = isEnabled() ? (m_nViewState & ~kStateDisabled) : (m_nViewState | kStateDisabled);
        if (nState != m_nViewState) {
            m_nViewState = nState;
            update();
        }
    }
    QWidget::changeEvent(pEvent);
}

void CCalendar::showEvent(QShowEvent* pEvent) {
    MoveToAnchor();
    QWidget::showEvent(pEvent);
}

void CCalendar::MoveToAnchor() {
    if (m_pDateField == nullptr) {
        return;
    }
    const QPoint ptLowerLeft = m_pDateField->mapToGlobal(QPoint(0, m_pDateField->height()));
    setGeometry(ptLowerLeft.x(), ptLowerLeft.y(), kPopupWidth, kPopupHeight);
}

void CCalendar::Post(std::function<void()> fn) {
    platform::ui::PostCall(this, std::move(fn));
}
