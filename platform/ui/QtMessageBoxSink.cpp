#include "platform/ui/QtMessageBoxSink.h"

#include "platform/base/ResourceLibrary.h"
#include "platform/ui/Handles.h"
#include "platform/ui/ModalRunner.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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
    platform::ui::RunModal(box);
    const int nAnswer = GetAnswer(box, nStyle);
    if (pOwner != nullptr) {
        pOwner->activateWindow();
        pOwner->setFocus(Qt::OtherFocusReason);
    }
    return nAnswer;
}

void CQtMessageBoxSink::SetFocus(HWND hWnd) {
    QWidget* pWidget = platform::ui::WidgetFromHwnd(hWnd);
    if (pWidget == nullptr) {
        return;
    }
    pWidget->activateWindow();
    pWidget->setFocus(Qt::OtherFocusReason);
}

HWND CQtMessageBoxSink::GetActiveWindow() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr;
    }
    return platform::ui::HwndFromWidget(QApplication::activeWindow());
}
