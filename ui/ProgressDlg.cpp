#include "ui/ProgressDlg.h"

#include "platform/ui/CommandBlock.h"
#include "platform/ui/OwnerDrawButton.h"
#include "platform/ui/ResourceImages.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kProjectFirst = 500;  // 13 pictures
constexpr int kProjectLast = 12;
constexpr int kBusFirst = 550;  // 8 pictures
constexpr int kBusLast = 7;

const QColor kBarColour(0, 0, 255);

}  // namespace

CProgressDlg::CProgressDlg(int nAnimationKind, QWidget* pOwner) : CDialog(IDD, pOwner), m_nAnimationKind(nAnimationKind) {}

CProgressDlg::~CProgressDlg() {
    DestroyWindow();
}

BOOL CProgressDlg::Create() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return FALSE;
    }
    // Nothing behind it may be clicked while it is up.
    setWindowModality(Qt::ApplicationModal);
    if (!CDialog::Create()) {
        return FALSE;
    }
    platform::ui::BeginCommandBlock(this);
    return TRUE;
}

void CProgressDlg::DestroyWindow() {
    if (!HasWindow()) {
        return;
    }
    CDialog::DestroyWindow();
    platform::ui::EndCommandBlock(this);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    m_nTimerId = static_cast<int>(SetTimer(kAnimationTimer, kAnimationElapse));
    return TRUE;
}

void CProgressDlg::OnDestroy() {
    if (m_nTimerId != 0) {
        KillTimer(static_cast<CWndTimers::TimerId>(m_nTimerId));
        m_nTimerId = 0;
    }
}

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel() {
    m_bCancelled = 1;
}

int CProgressDlg::NextFrame(int nKind, int nFrame) {
    switch (nKind) {
        case 8:
        case 12:
            return nFrame + 1 > kProjectLast ? 0 : nFrame + 1;
        case 9:
        case 13:
            return nFrame - 1 < 0 ? kProjectLast : nFrame - 1;
        case 15:
            return nFrame + 1 > kBusLast ? 0 : nFrame + 1;
        case 16:
            return nFrame - 1 < 0 ? kBusLast : nFrame - 1;
        default:
            return 0;
    }
}

UINT CProgressDlg::GetPictureId(int nKind, int nFrame) {
    const int nFirst = (nKind == 15 || nKind == 16) ? kBusFirst : kProjectFirst;
    return static_cast<UINT>(nFirst + nFrame);
}

void CProgressDlg::OnTimer(CWndTimers::TimerId nIDEvent) {
    if (nIDEvent != kAnimationTimer) {
        return;
    }
    m_nFrameIndex = NextFrame(m_nAnimationKind, m_nFrameIndex);
    if (auto* pAnimation = qobject_cast<COwnerDrawButton*>(GetDlgItem(IDC_ANIMATION))) {
        pAnimation->RedrawNow();
    }
}

int CProgressDlg::SetProgress(WORD wPercent) {
    m_bCancelled = 0;
    if (wPercent != 0xFFFF) {
        m_wPercent = std::min<WORD>(wPercent, 100);
        if (QWidget* pBar = GetDlgItem(IDC_PERCENT_BAR)) {
            pBar->update();
        }
    }
    // Every waiting message of the thread, unless a cancel came in between.
    if (!m_bCancelled) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return m_bCancelled ? 0 : 1;
}

void CProgressDlg::SetTopText(const std::string& strText) {
    SetDlgItemText(IDC_TOP_TEXT, strText);
}

void CProgressDlg::SetMiddleText(const std::string& strText) {
    SetDlgItemText(IDC_MIDDLE_TEXT, strText);
}

void CProgressDlg::SetBottomText(const std::string& strText) {
    SetDlgItemText(IDC_BOTTOM_TEXT, strText);
}

void CProgressDlg::DrawPercentBar(QPainter& painter, const QRect& rect, WORD wPercent, const QFont& font) {
    if (rect.isEmpty()) {
        return;
    }
    // Drawn on an image of its own: the bar inverts what lies under it,
    // which only a raster image can do everywhere.
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter dc(&image);
        dc.setFont(font);
        dc.setPen(kBarColour);
        char szText[16];
        std::snprintf(szText, sizeof szText, "%u %%", static_cast<unsigned>(wPercent));
        dc.drawText(QRect(QPoint(0, 0), rect.size()), Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(szText));
        const int nBarWidth = rect.width() * wPercent / 100;
        if (nBarWidth > 0) {
            // Blue merged with the inverted picture: white turns blue, the
            // blue text white.
            dc.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination);
            dc.fillRect(QRect(0, 0, nBarWidth, rect.height()), kBarColour);
        }
    }
    painter.drawImage(rect.topLeft(), image);
}

void CProgressDlg::OnDrawItem(UINT nIDCtl, QPainter& painter, const DrawItemInfo& item) {
    switch (nIDCtl) {
        case IDC_ANIMATION: {
            const QImage picture = platform::ui::LoadBitmapResource(GetPictureId(m_nAnimationKind, m_nFrameIndex));
            if (!picture.isNull()) {
                painter.drawImage(item.rcItem, picture);
            }
            break;
        }
        case IDC_PERCENT_BAR:
            DrawPercentBar(painter, item.rcItem, m_wPercent, item.pItem != nullptr ? item.pItem->font() : font());
            break;
        default:
            break;
    }
}
