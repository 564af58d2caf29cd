#include "platform/base/SingleInstance.h"
#include "tests/platform/ui/UiTestHarness.h"
#include "tests/ui/TestEnvironment.h"
#include "ui/SingleInstanceServer.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The launcher's request from another thread, while this one runs the
// window's event loop; the client gives up by itself should no answer come.
bool ActivateWhileRunningEvents(const std::string& strPath) {
    auto future = std::async(std::launch::async, [strPath]() { return platform::AskRunningEditorToActivate(strPath); });
    while (future.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
        QApplication::processEvents();
    }
    uitest::ProcessEvents();
    return future.get();
}

// Leaves a socket file behind with nobody listening, as a crashed editor
// does.
void LeaveStaleSocket(const std::string& strPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, strPath.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(strPath));
}

class SingleInstanceTest : public ::testing::Test {
protected:
    uitest::CTempDir m_dir;
    uitest::CScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_dir.Path().c_str()};
    std::string m_strPath = m_dir.File("chronosets2-editor.sock");
};

TEST_F(SingleInstanceTest, SocketPathIsPerUser) {
    EXPECT_EQ(platform::GetSingleInstanceSocketPath(), m_strPath);
    const std::string strTmp = "/tmp/chronosets2-editor-" + std::to_string(::getuid()) + ".sock";
    {
        uitest::CScopedEnv unset("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(platform::GetSingleInstanceSocketPath(), strTmp);
    }
    {
        const std::string strLong(200, 'x');
        uitest::CScopedEnv tooLong("XDG_RUNTIME_DIR", ("/" + strLong).c_str());
        EXPECT_EQ(platform::GetSingleInstanceSocketPath(), strTmp);
    }
}

TEST_F(SingleInstanceTest, WithoutEditorNobodyAnswers) {
    EXPECT_FALSE(platform::IsEditorListening(m_strPath));
    EXPECT_FALSE(platform::AskRunningEditorToActivate());
}

TEST_F(SingleInstanceTest, ActivateRestoresAndRaisesTheWindow) {
    QWidget window;
    window.setWindowTitle("Editor");
    window.showMinimized();
    QWidget other;
    other.show();
    other.activateWindow();
    uitest::ProcessEvents();
    ASSERT_TRUE(window.isMinimized());

    CSingleInstanceServer server;
    ASSERT_TRUE(server.Start(&window));
    EXPECT_TRUE(server.IsListening());
    EXPECT_TRUE(platform::IsEditorListening(m_strPath));
    EXPECT_TRUE(ActivateWhileRunningEvents(m_strPath));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeWindow(), &window);

    // Asked again while it is in front: still answered.
    EXPECT_TRUE(ActivateWhileRunningEvents(m_strPath));

    server.Stop();
    EXPECT_FALSE(std::filesystem::exists(m_strPath));
    EXPECT_FALSE(platform::AskRunningEditorToActivate(m_strPath));
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedEditorIsReplaced) {
    LeaveStaleSocket(m_strPath);
    EXPECT_FALSE(platform::IsEditorListening(m_strPath));
    EXPECT_FALSE(platform::AskRunningEditorToActivate(m_strPath));

    QWidget window;
    window.show();
    CSingleInstanceServer server;
    ASSERT_TRUE(server.Start(&window));
    EXPECT_TRUE(ActivateWhileRunningEvents(m_strPath));
}

TEST_F(SingleInstanceTest, LiveEditorIsNotDisplaced) {
    QWidget first;
    first.show();
    CSingleInstanceServer running;
    ASSERT_TRUE(running.Start(&first));
    QWidget second;
    CSingleInstanceServer another;
    EXPECT_FALSE(another.Start(&second));
    EXPECT_TRUE(running.IsListening());
    EXPECT_TRUE(ActivateWhileRunningEvents(m_strPath));
    EXPECT_EQ(QApplication::activeWindow(), &first);
}

}  // namespace
