// Runs without an application object of its own: the cases make and destroy
// it through the guard, as the plug-in does in a program without Qt.

#include "platform/ui/ApplicationGuard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets or clears an environment variable for one case.
class CScopedEnv {
public:
    CScopedEnv(const char* pszName, const char* pszValue) : m_strName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_oldValue = pszOld;
        }
        if (pszValue != nullptr) {
            ::setenv(pszName, pszValue, 1);
        } else {
            ::unsetenv(pszName);
        }
    }
    ~CScopedEnv() {
        if (m_oldValue) {
            ::setenv(m_strName.c_str(), m_oldValue->c_str(), 1);
        } else {
            ::unsetenv(m_strName.c_str());
        }
    }

private:
    std::string m_strName;
    std::optional<std::string> m_oldValue;
};

TEST(ApplicationGuardTest, WithoutDisplayItFailsAndCreatesNothing) {
    CScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    CScopedEnv display("DISPLAY", nullptr);
    CScopedEnv wayland("WAYLAND_DISPLAY", "");
    EXPECT_FALSE(CApplicationGuard::HasDisplay());
    CApplicationGuard guard;
    EXPECT_FALSE(guard.Begin());
    EXPECT_FALSE(guard.IsActive());
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(ApplicationGuardTest, CreatesItsApplicationAndDestroysItAfterTheLastEnd) {
    CScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
    for (int nRound = 0; nRound < 2; ++nRound) {
        CApplicationGuard guard;
        ASSERT_TRUE(guard.Begin());
        EXPECT_TRUE(guard.OwnsApplication());
        ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
        {
            QWidget widget;  // widgets work inside the session
            widget.show();
            EXPECT_TRUE(widget.isVisible());
        }
        ASSERT_TRUE(guard.Begin());  // nested
        guard.End();
        EXPECT_NE(QCoreApplication::instance(), nullptr);
        guard.End();
        EXPECT_EQ(QCoreApplication::instance(), nullptr);
        EXPECT_FALSE(guard.OwnsApplication());
    }
}

TEST(ApplicationGuardTest, KeepsTheApplicationOfTheHost) {
    CScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char szName[] = "host";
    char* argv[] = {szName, nullptr};
    {
        QApplication hostApp(argc, argv);
        CApplicationGuard guard;
        ASSERT_TRUE(guard.Begin());
        EXPECT_FALSE(guard.OwnsApplication());
        guard.End();
        EXPECT_EQ(QCoreApplication::instance(), &hostApp);
    }
    {
        // A host without widgets cannot show the editor.
        QCoreApplication coreApp(argc, argv);
        CApplicationGuard guard;
        EXPECT_FALSE(guard.Begin());
        EXPECT_EQ(QCoreApplication::instance(), &coreApp);
    }
}

}  // namespace
