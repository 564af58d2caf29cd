#include "platform/ui/StatusBar.h"

#include "platform/ui/CmdTarget.h"
#include "platform/ui/CmdUI.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int kMargin = 2;     // around the panes
constexpr int kGap = 2;        // between two panes
constexpr int kPadding = 3;    // text inside its pane

int DefaultPaneWidth() {
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    return pScreen != nullptr ? pScreen->geometry().width() / 4 : 200;
}

// A status pane as the update handlers see it.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nStyle = m_bar.GetPaneStyle(nIndex) & ~SBPS_DISABLED;
        m_bar.SetPaneStyle(nIndex, bOn ? nStyle : nStyle | SBPS_DISABLED);
    }
    void SetCheck(int nCheck) override {
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nStyle = m_bar.GetPaneStyle(nIndex) & ~SBPS_POPOUT;
        m_bar.SetPaneStyle(nIndex, nCheck != 0 ? nStyle | SBPS_POPOUT : nStyle);
    }
    void SetText(const std::string& strText) override { m_bar.SetPaneText(static_cast<int>(m_nIndex), strText); }

private:
    CStatusBar& m_bar;
};

}  // namespace

CStatusBar::CStatusBar(QWidget* pParent) : CControlBar(pParent) {}

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(QWidget* pParent, DWORD dwStyle, UINT nID) {
    return CreateBar(pParent, dwStyle, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0)) {
        return FALSE;
    }
    m_arrPanes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.nID = lpIDArray[i];
        pane.cxText = DefaultPaneWidth();
        if (pane.nID == ID_SEPARATOR && i == 0) {
            pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
        }
        m_arrPanes.push_back(pane);
    }
    update();
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_arrPanes[static_cast<std::size_t>(i)].nID == nIDFind) {
            return i;
        }
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrPanes[static_cast<std::size_t>(nIndex)].nID : ID_SEPARATOR;
}

QRect CStatusBar::GetItemRect(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return {};
    }
    const int y = GetBorderTop() + kMargin;
    const int nHeight = std::max(0, height() - y - kMargin - GetBorderBottom());
    // The fixed panes take their widths; a stretching pane the rest.
    int nFixed = 0;
    int nStretching = 0;
    for (const Pane& pane : m_arrPanes) {
        if ((pane.nStyle & SBPS_STRETCH) != 0) {
            ++nStretching;
        } else {
            nFixed += pane.cxText;
        }
    }
    const int nFree = std::max(0, width() - 2 * kMargin - kGap * (GetCount() - 1) - nFixed);
    int x = kMargin;
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_arrPanes[static_cast<std::size_t>(i)];
        const int nWidth = (pane.nStyle & SBPS_STRETCH) != 0 ? nFree / std::max(1, nStretching) : pane.cxText;
        if (i == nIndex) {
            return {x, y, nWidth, nHeight};
        }
        x += nWidth + kGap;
    }
    return {};
}

BOOL CStatusBar::SetPaneText(int nIndex, const std::string& strText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return FALSE;
    }
    Pane& pane = m_arrPanes[static_cast<std::size_t>(nIndex)];
    if (pane.strText != strText) {
        pane.strText = strText;
        if (bUpdate) {
            update(GetItemRect(nIndex));
        }
    }
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrPanes[static_cast<std::size_t>(nIndex)].strText : std::string();
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_arrPanes[static_cast<std::size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return;
    }
    Pane& pane = m_arrPanes[static_cast<std::size_t>(nIndex)];
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(0, cxWidth);
    update();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrPanes[static_cast<std::size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return;
    }
    Pane& pane = m_arrPanes[static_cast<std::size_t>(nIndex)];
    if (pane.nStyle != nStyle) {
        pane.nStyle = nStyle;
        update();
    }
}

int CStatusBar::CalcHeight() const {
    return GetBorderTop() + kMargin + QFontMetrics(font()).height() + 2 * kPadding + kMargin + GetBorderBottom();
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL /*bDisableIfNoHndler*/) {
    CStatusCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = m_arrPanes[static_cast<std::size_t>(i)].nID;
        state.DoUpdate(pTarget, FALSE);
    }
}

void CStatusBar::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    DrawBorders(painter);
    const QPalette& pal = palette();
    for (int i = 0; i < GetCount(); ++i) {
        const Pane& pane = m_arrPanes[static_cast<std::size_t>(i)];
        const QRect rect = GetItemRect(i);
        if ((pane.nStyle & SBPS_NOBORDERS) == 0) {
            // Sunken, or raised for a pane that pops out.
            const bool bRaised = (pane.nStyle & SBPS_POPOUT) != 0;
            painter.setPen(pal.color(bRaised ? QPalette::Light : QPalette::Mid));
            painter.drawLine(rect.topLeft(), rect.topRight());
            painter.drawLine(rect.topLeft(), rect.bottomLeft());
            painter.setPen(pal.color(bRaised ? QPalette::Mid : QPalette::Light));
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
            painter.drawLine(rect.topRight(), rect.bottomRight());
        }
        if ((pane.nStyle & SBPS_DISABLED) != 0 || pane.strText.empty()) {
            continue;
        }
        const QRect rcText = rect.adjusted(kPadding, 0, -kPadding, 0);
        const QString text =
            QFontMetrics(font()).elidedText(QString::fromStdString(pane.strText), Qt::ElideRight, rcText.width());
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}
