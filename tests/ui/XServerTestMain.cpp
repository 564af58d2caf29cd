// The main of the tests on a real X server: starts Xvfb on a free display
// (it says which through a pipe), runs Qt's X platform on it for all cases,
// then stops it; the server goes with this process also when it dies by a
// signal. Where Xvfb is missing or does not come up, the cases skip, say why
// and the program ends with kSkipped, which the test runner shows as
// skipped.

#include "tests/ui/XServerTest.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStartTimeoutMs = 20000;
// The test runner's "skipped" (SKIP_RETURN_CODE in the CMake file).
constexpr int kSkipped = 77;

// The server's process, or -1 with the reason.
pid_t StartXvfb(std::string& strDisplay, std::string& strReason) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        strReason = std::string("pipe: ") + std::strerror(errno);
        return -1;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        strReason = std::string("fork: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        // The server must not outlive a test killed by a time-out or a
        // crash; the parent may have gone already before the request.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(1);
        }
        // The write end must survive the exec: Xvfb writes the display there.
        const int nFd = ::dup(fds[1]);
        const std::string strFd = std::to_string(nFd);
        const int nNull = ::open("/dev/null", O_WRONLY);
        if (nNull >= 0) {
            ::dup2(nNull, STDOUT_FILENO);
            ::dup2(nNull, STDERR_FILENO);
        }
        ::execlp("Xvfb", "Xvfb", "-displayfd", strFd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string strNumber;
    pollfd pfd{fds[0], POLLIN, 0};
    while (strNumber.find('\n') == std::string::npos && ::poll(&pfd, 1, kStartTimeoutMs) > 0) {
        char buffer[32];
        const ssize_t nRead = ::read(fds[0], buffer, sizeof buffer);
        if (nRead <= 0) {
            break;
        }
        strNumber.append(buffer, static_cast<std::size_t>(nRead));
    }
    ::close(fds[0]);
    while (!strNumber.empty() && (strNumber.back() == '\n' || strNumber.back() == '\r')) {
        strNumber.pop_back();
    }
    if (strNumber.empty()) {
        int nStatus = 0;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, &nStatus, 0);
        strReason = WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 127 ? "Xvfb is not installed"
                                                                       : "Xvfb did not start";
        return -1;
    }
    strDisplay = ":" + strNumber;
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string strDisplay;
    std::string strReason;
    const pid_t server = StartXvfb(strDisplay, strReason);
    if (server < 0) {
        xtest::SetNoServerReason(strReason);
        const int nResult = RUN_ALL_TESTS();
        return nResult != 0 ? nResult : kSkipped;
    }
    ::setenv("DISPLAY", strDisplay.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    xtest::SetDisplayName(strDisplay);
    xtest::SetNoServerReason("");
    int nResult = 0;
    {
        QApplication app(argc, argv);
        nResult = RUN_ALL_TESTS();
    }
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    return nResult;
}
