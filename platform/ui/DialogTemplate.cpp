#include "platform/ui/DialogTemplate.h"

#include "platform/base/MulDiv.h"
#include "platform/base/WindowStyles.h"
#include "platform/ui/CheckBoxControl.h"
#include "platform/ui/OwnerDrawButton.h"
#include "platform/ui/RadioButtonControl.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ResourceText.h"
#include "platform/ui/StaticControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <map>

namespace platform::ui {

namespace {

constexpr char kCtrlIdProperty[] = "chrono.ctrlId";

std::string FoldedKey(const char* pszName) {
    std::string strKey = pszName != nullptr ? pszName : "";
    std::transform(strKey.begin(), strKey.end(), strKey.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return strKey;
}

std::map<std::string, ControlFactory>& GetFactories() {
    static std::map<std::string, ControlFactory> factories;
    return factories;
}

bool IsWindowsDialogFont(const std::string& strFolded) {
    return strFolded.empty() || strFolded == "ms shell dlg" || strFolded == "ms shell dlg 2" ||
           strFolded == "ms sans serif" || strFolded == "microsoft sans serif" || strFolded == "tahoma" ||
           strFolded == "system";
}

QWidget* CreateButton(const ResDialogControl& control, QWidget* pParent) {
    switch (control.dwStyle & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return new CCheckBoxControl(ResourceText(control.pszText), pParent);
        case BS_3STATE:
        case BS_AUTO3STATE: {
            auto* pCheck = new CCheckBoxControl(ResourceText(control.pszText), pParent);
            pCheck->setTristate(true);
            return pCheck;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return new CRadioButtonControl(ResourceText(control.pszText), pParent);
        case BS_GROUPBOX:
            return new QGroupBox(ResourceText(control.pszText), pParent);
        case BS_OWNERDRAW: {
            auto* pButton = new COwnerDrawButton(pParent);
            pButton->setText(ResourceText(control.pszText));
            return pButton;
        }
        default: {
            auto* pButton = new QPushButton(ResourceText(control.pszText), pParent);
            // Only the template's default button is the default; Qt would
            // otherwise make the first button one.
            pButton->setAutoDefault(false);
            pButton->setDefault((control.dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            return pButton;
        }
    }
}

QWidget* CreateEdit(const ResDialogControl& control, QWidget* pParent) {
    if ((control.dwStyle & ES_MULTILINE) != 0) {
        auto* pEdit = new QPlainTextEdit(ResourceText(control.pszText), pParent);
        pEdit->setReadOnly((control.dwStyle & ES_READONLY) != 0);
        return pEdit;
    }
    auto* pEdit = new QLineEdit(ResourceText(control.pszText), pParent);
    pEdit->setReadOnly((control.dwStyle & ES_READONLY) != 0);
    if ((control.dwStyle & ES_PASSWORD) != 0) {
        pEdit->setEchoMode(QLineEdit::Password);
    }
    return pEdit;
}

// A static control: text at the top, wrapped at words unless the style says
// otherwise, or a picture from the resources.
QWidget* CreateStatic(const ResDialogControl& control, QWidget* pParent) {
    auto* pLabel = new CStaticControl(pParent);
    pLabel->setTextFormat(Qt::PlainText);
    const DWORD dwType = control.dwStyle & SS_TYPEMASK;
    switch (dwType) {
        case SS_ICON: {
            const QIcon icon = LoadIconResource(ResourceIdFromText(control.pszText));
            if (!icon.isNull()) {
                // Icon controls show the icon at its standard size.
                pLabel->setPixmap(icon.pixmap(32, 32));
            }
            pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return pLabel;
        }
        case SS_BITMAP: {
            const QImage image = LoadBitmapResource(ResourceIdFromText(control.pszText));
            if (!image.isNull()) {
                pLabel->setPixmap(QPixmap::fromImage(image));
            }
            pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return pLabel;
        }
        case SS_CENTER:
            pLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            pLabel->setWordWrap(true);
            break;
        case SS_RIGHT:
            pLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
            pLabel->setWordWrap(true);
            break;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            break;
        default:
            pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            pLabel->setWordWrap(true);
            break;
    }
    pLabel->setText(ResourceText(control.pszText));
    return pLabel;
}

QWidget* CreateComboBox(const ResDialogControl& control, QWidget* pParent) {
    auto* pCombo = new QComboBox(pParent);
    pCombo->setEditable((control.dwStyle & CBS_TYPEMASK) != CBS_DROPDOWNLIST);
    return pCombo;
}

QWidget* CreateStandardControl(const std::string& strClass, const ResDialogControl& control, QWidget* pParent) {
    if (strClass == "button") {
        return CreateButton(control, pParent);
    }
    if (strClass == "edit") {
        return CreateEdit(control, pParent);
    }
    if (strClass == "static") {
        return CreateStatic(control, pParent);
    }
    if (strClass == "combobox") {
        return CreateComboBox(control, pParent);
    }
    if (strClass == "listbox") {
        return new QListWidget(pParent);
    }
    return nullptr;
}

}  // namespace

QFont GetTemplateFont(const ResDialog& dlgTemplate) {
    QFont font = QApplication::font();
    const std::string strName = FoldedKey(dlgTemplate.pszFontName);
    if (!IsWindowsDialogFont(strName)) {
        font.setFamily(QString::fromUtf8(dlgTemplate.pszFontName));
    }
    if (dlgTemplate.wFontSize > 0) {
        font.setPointSize(dlgTemplate.wFontSize);
    }
    return font;
}

QSize GetDialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int nWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The average over the 52 letters, rounded to the nearest pixel.
    const int nBaseX = std::max(1, (nWidth / 26 + 1) / 2);
    const int nBaseY = std::max(1, metrics.height());
    return {nBaseX, nBaseY};
}

int DialogUnitsToPixelsX(int nUnits, const QSize& baseUnits) {
    return MulDiv(nUnits, baseUnits.width(), 4);
}

int DialogUnitsToPixelsY(int nUnits, const QSize& baseUnits) {
    return MulDiv(nUnits, baseUnits.height(), 8);
}

QRect MapDialogRect(const QRect& rectUnits, const QSize& baseUnits) {
    return {DialogUnitsToPixelsX(rectUnits.x(), baseUnits), DialogUnitsToPixelsY(rectUnits.y(), baseUnits),
            DialogUnitsToPixelsX(rectUnits.width(), baseUnits), DialogUnitsToPixelsY(rectUnits.height(), baseUnits)};
}

void SetDlgCtrlID(QWidget* pControl, UINT nId) {
    if (pControl != nullptr) {
        pControl->setProperty(kCtrlIdProperty, QVariant::fromValue<uint>(nId));
    }
}

UINT GetDlgCtrlID(const QWidget* pControl) {
    if (pControl == nullptr) {
        return 0;
    }
    const QVariant value = pControl->property(kCtrlIdProperty);
    return value.isValid() ? value.toUInt() : 0;
}

void ReplaceDlgControl(QWidget* pOld, QWidget* pNew) {
    if (pOld == nullptr || pNew == nullptr || pOld == pNew) {
        return;
    }
    QWidget* pHost = pOld->parentWidget();
    if (pNew->parentWidget() != pHost) {
        pNew->setParent(pHost);
    }
    pNew->setGeometry(pOld->geometry());
    pNew->setFont(pOld->font());
    pNew->setEnabled(pOld->isEnabled());
    if (pHost != nullptr && pHost->layout() != nullptr) {
        delete pHost->layout()->replaceWidget(pOld, pNew);
    }
    // A widget made now would come last in the focus chain, after the
    // dialog's buttons. Qt orders only widgets that take the focus; the old
    // one (an empty placeholder may not) goes anyway.
    pOld->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(pOld, pNew);
    for (QLabel* pLabel : pOld->window()->findChildren<QLabel*>()) {
        if (pLabel->buddy() == pOld) {
            pLabel->setBuddy(pNew);
        }
    }
    const UINT nId = GetDlgCtrlID(pOld);
    SetDlgCtrlID(pOld, 0);
    SetDlgCtrlID(pNew, nId);
    const bool bVisible = !pOld->isHidden();
    const bool bFocus = pOld->hasFocus();
    delete pOld;
    pNew->setVisible(bVisible);
    if (bFocus) {
        pNew->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* FindDlgItem(const QWidget* pParent, UINT nId) {
    if (pParent == nullptr) {
        return nullptr;
    }
    const auto children = pParent->findChildren<QWidget*>();
    for (QWidget* pChild : children) {
        if (GetDlgCtrlID(pChild) == nId && pChild->property(kCtrlIdProperty).isValid()) {
            return pChild;
        }
    }
    return nullptr;
}

void RegisterControlClass(const std::string& strClass, ControlFactory factory) {
    GetFactories()[FoldedKey(strClass.c_str())] = std::move(factory);
}

void UnregisterControlClass(const std::string& strClass) {
    GetFactories().erase(FoldedKey(strClass.c_str()));
}

QWidget* CreateTemplateControl(const ResDialogControl& control, QWidget* pParent, const QSize& baseUnits) {
    const std::string strClass = FoldedKey(control.pszClass);
    QWidget* pControl = nullptr;
    const auto& factories = GetFactories();
    if (const auto it = factories.find(strClass); it != factories.end() && it->second) {
        pControl = it->second(control, pParent);
    }
    if (pControl == nullptr) {
        pControl = CreateStandardControl(strClass, control, pParent);
    }
    if (pControl == nullptr) {
        pControl = new QWidget(pParent);
    }
    if (pControl->parentWidget() != pParent) {
        pControl->setParent(pParent);
    }
    pControl->setObjectName(QString::fromUtf8(control.pszClass != nullptr ? control.pszClass : ""));
    QRect rect = MapDialogRect(QRect(control.x, control.y, control.cx, control.cy), baseUnits);
    // A combo box template gives the height with the list dropped; the
    // closed box is as high as its font needs.
    if (qobject_cast<QComboBox*>(pControl) != nullptr) {
        rect.setHeight(pControl->sizeHint().height());
    }
    pControl->setGeometry(rect);
    pControl->setEnabled((control.dwStyle & WS_DISABLED) == 0);
    SetDlgCtrlID(pControl, control.nId);
    return pControl;
}

}  // namespace platform::ui
