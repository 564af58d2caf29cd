#include "platform/ui/ToolBar.h"

#include "platform/ui/CmdTarget.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/ResourceImages.h"

#include <QEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr int kMarginLeft = 4;
constexpr int kMarginTop = 2;
constexpr int kMarginBottom = 2;
constexpr int kSeparatorWidth = 8;
// The strip's background, drawn transparent.
constexpr QRgb kStripBackground = qRgb(192, 192, 192);

// A toolbar button as the update handlers see it.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        const int nIndex = static_cast<int>(m_nIndex);
        UINT nStyle = m_bar.GetButtonStyle(nIndex) & ~TBBS_DISABLED;
        if (!bOn) {
            nStyle = (nStyle | TBBS_DISABLED) & ~TBBS_PRESSED;
        }
        m_bar.SetButtonStyle(nIndex, nStyle);
    }
    void SetCheck(int nCheck) override {
        const int nIndex = static_cast<int>(m_nIndex);
        UINT nStyle = m_bar.GetButtonStyle(nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1) {
            nStyle |= TBBS_CHECKED;
        } else if (nCheck == 2) {
            nStyle |= TBBS_INDETERMINATE;
        }
        m_bar.SetButtonStyle(nIndex, nStyle | TBBS_CHECKBOX);
    }
    void SetText(const std::string& /*strText*/) override {}

private:
    CToolBar& m_bar;
};

}  // namespace

CToolBar::CToolBar(QWidget* pParent) : CControlBar(pParent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

CToolBar::~CToolBar() = default;

BOOL CToolBar::CreateEx(QWidget* pParent, DWORD /*dwCtrlStyle*/, DWORD dwStyle, UINT nID) {
    return CreateBar(pParent, dwStyle, nID);
}

BOOL CToolBar::Create(QWidget* pParent, DWORD dwStyle, UINT nID) {
    return CreateBar(pParent, dwStyle, nID);
}

void CToolBar::SetSizes(QSize sizeButton, QSize sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (HasWindow()) {
        resize(width(), CalcHeight());
    }
    update();
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) {
    const QImage strip = platform::ui::LoadBitmapResource(nIDResource);
    return strip.isNull() ? FALSE : SetBitmap(strip);
}

BOOL CToolBar::SetBitmap(const QImage& strip) {
    if (strip.isNull() || m_sizeImage.width() <= 0 || strip.width() < m_sizeImage.width()) {
        return FALSE;
    }
    const QImage image = platform::ui::KeyedTransparent(strip, kStripBackground);
    m_arrImages.clear();
    const int nCount = image.width() / m_sizeImage.width();
    for (int i = 0; i < nCount; ++i) {
        m_arrImages.push_back(QPixmap::fromImage(
            image.copy(i * m_sizeImage.width(), 0, m_sizeImage.width(), std::min(image.height(), m_sizeImage.height()))));
    }
    update();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (lpIDArray == nullptr && nIDCount > 0)) {
        return FALSE;
    }
    m_arrButtons.clear();
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        Button button;
        button.nID = lpIDArray[i];
        if (button.nID == ID_SEPARATOR) {
            button.nStyle = TBBS_SEPARATOR;
            button.iImage = kSeparatorWidth;
        } else {
            button.iImage = iImage++;
        }
        m_arrButtons.push_back(button);
    }
    m_nPressed = -1;
    m_nHot = -1;
    update();
    return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_arrButtons[static_cast<std::size_t>(i)].nID == nIDFind) {
            return i;
        }
    }
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrButtons[static_cast<std::size_t>(nIndex)].nID : ID_SEPARATOR;
}

QRect CToolBar::GetItemRect(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return {};
    }
    int x = kMarginLeft;
    const int y = GetBorderTop() + kMarginTop;
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_arrButtons[static_cast<std::size_t>(i)];
        if ((button.nStyle & TBBS_HIDDEN) != 0) {
            if (i == nIndex) {
                return {};
            }
            continue;
        }
        const int nWidth = (button.nStyle & TBBS_SEPARATOR) != 0 ? button.iImage : m_sizeButton.width();
        if (i == nIndex) {
            return {x, y, nWidth, m_sizeButton.height()};
        }
        x += nWidth;
    }
    return {};
}

int CToolBar::HitTest(const QPoint& ptClient) const {
    for (int i = 0; i < GetCount(); ++i) {
        if ((m_arrButtons[static_cast<std::size_t>(i)].nStyle & TBBS_SEPARATOR) == 0 &&
            GetItemRect(i).contains(ptClient)) {
            return i;
        }
    }
    return -1;
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrButtons[static_cast<std::size_t>(nIndex)].nStyle : 0;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return;
    }
    Button& button = m_arrButtons[static_cast<std::size_t>(nIndex)];
    if (button.nStyle != nStyle) {
        button.nStyle = nStyle;
        if ((nStyle & TBBS_DISABLED) != 0 && m_nPressed == nIndex) {
            m_nPressed = -1;
        }
        update();
    }
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = 0;
        nStyle = 0;
        iImage = 0;
        return;
    }
    const Button& button = m_arrButtons[static_cast<std::size_t>(nIndex)];
    nID = button.nID;
    nStyle = button.nStyle;
    iImage = button.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return;
    }
    m_arrButtons[static_cast<std::size_t>(nIndex)] = Button{nID, nStyle, iImage};
    update();
}

int CToolBar::CalcHeight() const {
    return GetBorderTop() + kMarginTop + m_sizeButton.height() + kMarginBottom + GetBorderBottom();
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state(*this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_arrButtons[static_cast<std::size_t>(i)];
        if ((button.nStyle & TBBS_SEPARATOR) != 0) {
            continue;
        }
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = button.nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

bool CToolBar::IsClickable(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        return false;
    }
    const UINT nStyle = m_arrButtons[static_cast<std::size_t>(nIndex)].nStyle;
    return (nStyle & (TBBS_SEPARATOR | TBBS_DISABLED | TBBS_HIDDEN)) == 0;
}

bool CToolBar::event(QEvent* pEvent) {
    // No tooltips from Qt: a bar with tips shows them through its own window.
    if (pEvent->type() == QEvent::ToolTip) {
        pEvent->accept();
        return true;
    }
    return CControlBar::event(pEvent);
}

void CToolBar::paintEvent(QPaintEvent* /*pEvent*/) {
    QPainter painter(this);
    DrawBorders(painter);
    for (int i = 0; i < GetCount(); ++i) {
        const Button& button = m_arrButtons[static_cast<std::size_t>(i)];
        const QRect rect = GetItemRect(i);
        if (rect.isEmpty()) {
            continue;
        }
        if ((button.nStyle & TBBS_SEPARATOR) != 0) {
            QStyleOption option;
            option.initFrom(this);
            option.rect = rect;
            option.state |= QStyle::State_Horizontal;
            style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter, this);
            continue;
        }
        QStyleOptionToolButton option;
        option.initFrom(this);
        option.rect = rect;
        option.toolButtonStyle = Qt::ToolButtonIconOnly;
        // A plain button: without this the style draws a menu arrow over
        // the image.
        option.subControls = QStyle::SC_ToolButton;
        option.iconSize = m_sizeImage;
        if (button.iImage >= 0 && button.iImage < GetImageCount()) {
            option.icon = QIcon(m_arrImages[static_cast<std::size_t>(button.iImage)]);
        }
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
        option.state |= QStyle::State_AutoRaise;
        const bool bEnabled = (button.nStyle & TBBS_DISABLED) == 0;
        if (!bEnabled) {
            option.state &= ~QStyle::State_Enabled;
        }
        if (bEnabled && i == m_nHot) {
            option.state |= QStyle::State_MouseOver;
        }
        const bool bDown = bEnabled && i == m_nPressed && i == m_nHot;
        if (bDown || (button.nStyle & (TBBS_CHECKED | TBBS_PRESSED)) != 0) {
            option.state |= QStyle::State_Sunken | QStyle::State_On;
        } else {
            option.state |= QStyle::State_Raised;
        }
        style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);
    }
}

void CToolBar::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        const int nIndex = HitTest(pEvent->position().toPoint());
        m_nPressed = IsClickable(nIndex) ? nIndex : -1;
        m_nHot = nIndex;
        update();
    }
    CControlBar::mousePressEvent(pEvent);
}

void CToolBar::mouseMoveEvent(QMouseEvent* pEvent) {
    const int nIndex = HitTest(pEvent->position().toPoint());
    if (nIndex != m_nHot) {
        m_nHot = nIndex;
        update();
    }
    CControlBar::mouseMoveEvent(pEvent);
}

void CToolBar::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton && m_nPressed >= 0) {
        const int nPressed = m_nPressed;
        m_nPressed = -1;
        update();
        if (HitTest(pEvent->position().toPoint()) == nPressed && IsClickable(nPressed)) {
            if (CCmdTarget* pTarget = GetCommandTarget()) {
                pTarget->SendCommand(GetItemID(nPressed));
            }
        }
    }
    CControlBar::mouseReleaseEvent(pEvent);
}

void CToolBar::leaveEvent(QEvent* pEvent) {
    m_nHot = -1;
    update();
    CControlBar::leaveEvent(pEvent);
}
