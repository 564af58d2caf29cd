#include "platform/base/MessageBoxSink.h"
#include "platform/base/ResourceLibrary.h"
#include "platform/ui/Handles.h"
#include "platform/ui/QtMessageBoxSink.h"
#include "tests/platform/ui/UiTestHarness.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const platform::ResourceTables kGerman{platform::RESOURCE_TABLES_VERSION, 0x0407, {}, {}, {}, {}, {}, {}, {}};
const platform::ResourceTables kEnglish{platform::RESOURCE_TABLES_VERSION, 0x0409, {}, {}, {}, {}, {}, {}, {}};

// The sink installed, the language switchable, the active module put back.
class QtMessageBoxSinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPreviousModule = platform::SetFrameworkResourceModule(&German());
        m_pPreviousSink = platform::SetMessageBoxSink(&m_sink);
    }
    void TearDown() override {
        platform::SetMessageBoxSink(m_pPreviousSink);
        platform::SetFrameworkResourceModule(m_pPreviousModule);
    }

    static const platform::CResourceModule& German() {
        static const platform::CResourceModule module(kGerman);
        return module;
    }
    static const platform::CResourceModule& English() {
        static const platform::CResourceModule module(kEnglish);
        return module;
    }

    // The texts of the box's buttons by answer id, read while it is open.
    static std::map<int, std::string> ButtonTexts(QDialog& dlg) {
        auto& box = dynamic_cast<QMessageBox&>(dlg);
        std::map<int, std::string> texts;
        for (QAbstractButton* pButton : box.buttons()) {
            int nId = 0;
            switch (box.standardButton(pButton)) {
                case QMessageBox::Ok:
                    nId = IDOK;
                    break;
                case QMessageBox::Cancel:
                    nId = IDCANCEL;
                    break;
                case QMessageBox::Yes:
                    nId = IDYES;
                    break;
                case QMessageBox::No:
                    nId = IDNO;
                    break;
                default:
                    nId = -1;
                    break;
            }
            texts[nId] = pButton->text().toStdString();
        }
        return texts;
    }

    static void ClickButton(QDialog& dlg, QMessageBox::StandardButton button) {
        uitest::Click(dynamic_cast<QMessageBox&>(dlg).button(button));
    }

    CQtMessageBoxSink m_sink;
    uitest::CTestModalRunner m_runner;

private:
    const platform::CResourceModule* m_pPreviousModule = nullptr;
    platform::IMessageBoxSink* m_pPreviousSink = nullptr;
};

using Texts = std::map<int, std::string>;

TEST_F(QtMessageBoxSinkTest, StylesGiveButtonsWithGermanTexts) {
    struct Case {
        UINT nStyle;
        Texts texts;
    };
    const Case cases[] = {
        {MB_OK, {{IDOK, "OK"}}},
        {MB_OKCANCEL, {{IDOK, "OK"}, {IDCANCEL, "Abbrechen"}}},
        {MB_YESNOCANCEL, {{IDYES, "&Ja"}, {IDNO, "&Nein"}, {IDCANCEL, "Abbrechen"}}},
        {MB_YESNO, {{IDYES, "&Ja"}, {IDNO, "&Nein"}}},
    };
    for (const Case& c : cases) {
        Texts shown;
        m_runner.Then([&shown](QDialog& d) {
            shown = ButtonTexts(d);
            uitest::PressKey(&d, Qt::Key_Escape);
            if (d.isVisible()) {  // a Yes/No box has no Escape on Windows either
                ClickButton(d, QMessageBox::No);
            }
        });
        platform::MessageBox(nullptr, "Text", "Titel", c.nStyle);
        EXPECT_EQ(shown, c.texts) << "style " << c.nStyle;
    }
}

TEST_F(QtMessageBoxSinkTest, EnglishModuleGivesEnglishTexts) {
    platform::SetFrameworkResourceModule(&English());
    Texts shown;
    m_runner.Then([&shown](QDialog& d) {
        shown = ButtonTexts(d);
        ClickButton(d, QMessageBox::Cancel);
    });
    EXPECT_EQ(platform::MessageBox(nullptr, "Text", "Caption", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(shown, (Texts{{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}}));

    m_runner.Then([&shown](QDialog& d) {
        shown = ButtonTexts(d);
        ClickButton(d, QMessageBox::Ok);
    });
    EXPECT_EQ(platform::MessageBox(nullptr, "Text", "Caption", MB_OKCANCEL), IDOK);
    EXPECT_EQ(shown, (Texts{{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
}

TEST_F(QtMessageBoxSinkTest, ClickedButtonGivesItsAnswer) {
    const std::pair<QMessageBox::StandardButton, int> answers[] = {
        {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    for (const auto& [button, nId] : answers) {
        m_runner.Then([button = button](QDialog& d) { ClickButton(d, button); });
        EXPECT_EQ(platform::MessageBox(nullptr, "Speichern?", "Frage", MB_YESNOCANCEL | MB_ICONQUESTION), nId);
    }
    // Escape is Cancel, and OK in a box with OK alone.
    m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
    EXPECT_EQ(platform::MessageBox(nullptr, "a", "b", MB_OKCANCEL), IDCANCEL);
    m_runner.Then([](QDialog& d) { uitest::PressKey(&d, Qt::Key_Escape); });
    EXPECT_EQ(platform::MessageBox(nullptr, "a", "b", MB_OK), IDOK);
}

TEST_F(QtMessageBoxSinkTest, TextCaptionIconAndDefaultButtonFollowTheCall) {
    const std::pair<UINT, QMessageBox::Icon> icons[] = {{MB_ICONERROR, QMessageBox::Critical},
                                                        {MB_ICONQUESTION, QMessageBox::Question},
                                                        {MB_ICONWARNING, QMessageBox::Warning},
                                                        {MB_ICONINFORMATION, QMessageBox::Information},
                                                        {0, QMessageBox::NoIcon}};
    for (const auto& [nIcon, icon] : icons) {
        m_runner.Then([icon = icon](QDialog& d) {
            auto& box = dynamic_cast<QMessageBox&>(d);
            EXPECT_EQ(box.icon(), icon);
            EXPECT_EQ(box.text(), "<b>Zeile 1</b>\nZeile 2");  // shown as plain text
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(box.windowTitle(), "Fehler");
            ClickButton(d, QMessageBox::Ok);
        });
        platform::MessageBox(nullptr, "<b>Zeile 1</b>\nZeile 2", "Fehler", MB_OK | nIcon);
    }
    // Enter takes the default button: the second one when asked, else the
    // first.
    m_runner.Then([](QDialog& d) { uitest::PressWindowKey(&d, Qt::Key_Return); });
    EXPECT_EQ(platform::MessageBox(nullptr, "a", "b", MB_YESNO | MB_DEFBUTTON2), IDNO);
    m_runner.Then([](QDialog& d) { uitest::PressWindowKey(&d, Qt::Key_Return); });
    EXPECT_EQ(platform::MessageBox(nullptr, "a", "b", MB_YESNO), IDYES);
}

TEST_F(QtMessageBoxSinkTest, BoxIsAsWideAsItsCaptionWithinTheScreen) {
    // The width of an open box with that text and caption.
    auto widthOf = [this](const std::string& strText, const std::string& strCaption) {
        int nWidth = 0;
        m_runner.Then([&nWidth](QDialog& d) {
            nWidth = d.width();
            ClickButton(d, QMessageBox::Ok);
        });
        platform::MessageBox(nullptr, strText.c_str(), strCaption.c_str(), MB_OK | MB_ICONERROR);
        return nWidth;
    };
    // A long caption over a short text: the caption, bold or not, and the
    // title bar's icon and three buttons beside it fit.
    const std::string strCaption = "Download parameter data into the device";
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    const int nCaption = std::max(title.horizontalAdvance(QString::fromStdString(strCaption)),
                                  QFontMetrics(bold).horizontalAdvance(QString::fromStdString(strCaption)));
    EXPECT_GE(widthOf("Error.", strCaption), nCaption + 4 * title.height());

    // A caption longer than the screen is wide: the box stays inside it.
    const int nScreen = QApplication::primaryScreen()->availableGeometry().width();
    const std::string strEndless(400, 'W');
    const int nWide = widthOf("Error.", strEndless);
    EXPECT_LE(nWide, nScreen);
    EXPECT_GT(nWide, nScreen * 3 / 4);

    // A text wider than its caption needs keeps the width it gives.
    const std::string strText = "Fehler während des Schreibvorganges. Der Download ist abgebrochen.";
    EXPECT_EQ(widthOf(strText, "a"), widthOf(strText, ""));
}

TEST_F(QtMessageBoxSinkTest, OwnerComesFromTheHandleAndGetsTheFocusBack) {
    QWidget owner;
    auto* pFirst = new QLineEdit(&owner);
    auto* pSecond = new QLineEdit(&owner);
    pSecond->move(0, 30);
    owner.show();
    owner.activateWindow();
    pSecond->setFocus(Qt::OtherFocusReason);
    const HWND hOwner = platform::ui::HwndFromWidget(&owner);
    QWidget* pParent = nullptr;
    m_runner.Then([&pParent](QDialog& d) {
        pParent = d.parentWidget();
        ClickButton(d, QMessageBox::Ok);
    });
    EXPECT_EQ(platform::MessageBox(hOwner, "a", "b", MB_OK), IDOK);
    EXPECT_EQ(pParent, &owner);
    uitest::ProcessEvents();
    EXPECT_EQ(m_sink.GetActiveWindow(), hOwner);
    EXPECT_EQ(QApplication::activeWindow(), &owner);
    // The focus is back on the control that had it, not on the window, and
    // the owner given the focus passes it on the same way.
    EXPECT_EQ(QApplication::focusWidget(), pSecond);
    m_sink.SetFocus(hOwner);
    EXPECT_EQ(QApplication::focusWidget(), pSecond);
    delete pSecond;
    m_sink.SetFocus(hOwner);
    EXPECT_EQ(QApplication::focusWidget(), pFirst);

    // A handle whose window is gone gives a box without owner.
    auto* pGone = new QWidget;
    const HWND hGone = platform::ui::HwndFromWidget(pGone);
    delete pGone;
    m_runner.Then([&pParent](QDialog& d) {
        pParent = d.parentWidget();
        ClickButton(d, QMessageBox::Ok);
    });
    EXPECT_EQ(platform::MessageBox(hGone, "a", "b", MB_OK), IDOK);
    EXPECT_EQ(pParent, nullptr);
    owner.hide();
}

}  // namespace
