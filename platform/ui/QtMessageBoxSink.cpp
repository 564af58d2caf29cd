#include "platform/ui/QtMessageBoxSink.h"

#include "platform/base/ResourceLibrary.h"
#include "platform/ui/Handles.h"
#include "platform/ui/ModalRunner.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>
#include <vector>

namespace {

struct ButtonTexts {
    const char* pszOk;
    const char* pszCancel;
    const char* pszYes;
    const char* pszNo;
};

constexpr ButtonTexts kGermanButtons{"OK", "Abbrechen", "&Ja", "&Nein"};
constexpr ButtonTexts kEnglishButtons{"OK", "Cancel", "&Yes", "&No"};

const ButtonTexts& ActiveButtonTexts() {
    const platform::CResourceModule* pModule = platform::GetFrameworkResourceModule();
    if (pModule != nullptr && pModule->GetLanguage() == 0x0409) {
        return kEnglishButtons;
    }
    return kGermanButtons;
}

std::vector<QMessageBox::StandardButton> ButtonsOf(UINT nStyle) {
    switch (nStyle & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case MB_YESNOCANCEL:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case MB_YESNO:
            return {QMessageBox::Yes, QMessageBox::No};
        default:
            return {QMessageBox::Ok};
    }
}

QString TextOf(QMessageBox::StandardButton button, const ButtonTexts& texts) {
    switch (button) {
        case QMessageBox::Ok:
            return QString::fromUtf8(texts.pszOk);
        case QMessageBox::Cancel:
            return QString::fromUtf8(texts.pszCancel);
        case QMessageBox::Yes:
            return QString::fromUtf8(texts.pszYes);
        case QMessageBox::No:
            return QString::fromUtf8(texts.pszNo);
        default:
            return {};
    }
}

int IdOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
    }
}

QMessageBox::Icon IconOf(UINT nStyle) {
    switch (nStyle & MB_ICONMASK) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The caption's width in a font as a title bar draws it: most window
// managers draw their captions bold.
int BoldTextWidth(QFont font, const QString& strText) {
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(strText);
}

// The width a box needs for the window manager to show its whole caption:
// the caption's text, the title bar's icon and buttons, a margin. 0 without
// a caption.
int CaptionWidth(const QMessageBox& box) {
    const QString strCaption = box.windowTitle();
    if (strCaption.isEmpty()) {
        return 0;
    }
    // The window manager's own font is out of reach: the title-bar font Qt
    // knows and the box's font, whichever needs more.
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    const int nText = std::max(BoldTextWidth(titleFont, strCaption), BoldTextWidth(box.font(), strCaption));
    // Beside the caption the bar holds the window's icon and up to three
    // buttons, each about as wide as the bar is high, and a margin.
    const int nLine = std::max(QFontMetrics(titleFont).height(), QFontMetrics(box.font()).height());
    const int nControls = 4 * (nLine + nLine / 2);
    return nText + nControls + 2 * nLine;
}

// Makes the box at least that wide, but no wider than the screen's
// available width (no screen: no limit but Qt's own).
void FitToCaption(QMessageBox& box, const QScreen* pScreen) {
    auto* pGrid = qobject_cast<QGridLayout*>(box.layout());
    if (pGrid == nullptr) {
        return;
    }
    int nWidth = CaptionWidth(box);
    if (pScreen != nullptr) {
        // Room for the frame the window manager puts around the box.
        const int nFrame = 2 * QFontMetrics(box.font()).height();
        nWidth = std::min(nWidth, pScreen->availableGeometry().width() - nFrame);
    }
    const QMargins margins = pGrid->contentsMargins();
    nWidth -= margins.left() + margins.right();
    if (nWidth <= 0) {
        return;
    }
    // QMessageBox fixes its width to its layout's minimum whenever it lays
    // itself out (up to a limit of its own, at most the screen's width), so
    // a row as wide as the caption below everything else holds each time.
    pGrid->addItem(new QSpacerItem(nWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), pGrid->rowCount(), 0, 1,
                   pGrid->columnCount());
}

// A window given the focus passes it on to the control of it that had it
// last, else to its first control that takes Tab, as a dialog does; a
// control takes it itself. Otherwise the keys would go to the window, and
// the arrow keys, say, would no longer move the tree.
void FocusWindowOrControl(QWidget& widget) {
    widget.activateWindow();
    QWidget* pControl = widget.focusWidget();
    if (pControl == nullptr || !widget.isAncestorOf(pControl) || !pControl->isVisible() || !pControl->isEnabled()) {
        pControl = nullptr;
        for (QWidget* p = widget.nextInFocusChain(); p != nullptr && p != &widget; p = p->nextInFocusChain()) {
            if (widget.isAncestorOf(p) && (p->focusPolicy() & Qt::TabFocus) != 0 && p->isVisible() &&
                p->isEnabled()) {
                pControl = p;
                break;
            }
        }
    }
    (pControl != nullptr ? pControl : &widget)->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void CQtMessageBoxSink::PrepareBox(QMessageBox& box, UINT nStyle) {
    const ButtonTexts& texts = ActiveButtonTexts();
    const std::vector<QMessageBox::StandardButton> buttons = ButtonsOf(nStyle);
    QMessageBox::StandardButtons set;
    for (QMessageBox::StandardButton button : buttons) {
        set |= button;
    }
    box.setStandardButtons(set);
    for (QMessageBox::StandardButton button : buttons) {
        box.button(button)->setText(TextOf(button, texts));
    }
    std::size_t nDefault = 0;
    switch (nStyle & MB_DEFMASK) {
        case MB_DEFBUTTON2:
            nDefault = 1;
            break;
        case MB_DEFBUTTON3:
            nDefault = 2;
            break;
        default:
            break;
    }
    if (nDefault >= buttons.size()) {
        nDefault = 0;
    }
    box.setDefaultButton(buttons[nDefault]);
    // Escape means Cancel where there is one, OK in a box with OK alone.
    if ((set & QMessageBox::Cancel) != 0) {
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons.size() == 1) {
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.setIcon(IconOf(nStyle));
}

int CQtMessageBoxSink::GetAnswer(const QMessageBox& box, UINT nStyle) {
    QAbstractButton* pClicked = box.clickedButton();
    if (pClicked == nullptr) {
        return (nStyle & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
    return IdOf(box.standardButton(pClicked));
}

int CQtMessageBoxSink::ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                                      UINT nStyle) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return IDCANCEL;
    }
    QPointer<QWidget> pOwner = platform::ui::WidgetFromHwnd(hOwner);
    QMessageBox box(pOwner.data());
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(strText));
    box.setWindowTitle(QString::fromStdString(strCaption));
    PrepareBox(box, nStyle);
    FitToCaption(box, pOwner != nullptr ? pOwner->screen() : box.screen());
    platform::ui::RunModal(box);
    const int nAnswer = GetAnswer(box, nStyle);
    if (pOwner != nullptr) {
        FocusWindowOrControl(*pOwner);
    }
    return nAnswer;
}

void CQtMessageBoxSink::SetFocus(HWND hWnd) {
    if (QWidget* pWidget = platform::ui::WidgetFromHwnd(hWnd)) {
        FocusWindowOrControl(*pWidget);
    }
}

HWND CQtMessageBoxSink::GetActiveWindow() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr;
    }
    return platform::ui::HwndFromWidget(QApplication::activeWindow());
}
