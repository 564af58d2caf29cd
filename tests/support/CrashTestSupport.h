#pragma once
// Crash tests of the file writers: a write stopped between its temporary file
// and the rename, as a process killed at that moment leaves it, and a child
// process killed with SIGKILL at a random moment while it writes again and
// again. The callers then check that the file is the old one or the new one,
// whole, and that the next write leaves no temporary file behind. And a
// child process under a file-size limit, as a shell's `ulimit -f` sets it,
// or as a user that file permissions bind.

#include "platform/base/AtomicFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace crashtest {

// A fresh, empty folder for the running test, named after the prefix, the
// process and the test, so that parallel test processes never share one.
inline std::filesystem::path ScratchDirectory(const std::string& strPrefix)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (strPrefix + "-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// While it lives, every atomic write stops before its rename as if its
// process had died there, and the temporaries it left are collected.
class CStopBeforeRename {
public:
    CStopBeforeRename()
    {
        platform::AtomicWriteHooks hooks;
        hooks.beforeRename = [this](const std::string& strTemp) {
            m_temporaries.push_back(strTemp);
            return false;
        };
        platform::SetAtomicWriteHooks(std::move(hooks));
    }
    ~CStopBeforeRename() { platform::SetAtomicWriteHooks({}); }
    CStopBeforeRename(const CStopBeforeRename&) = delete;
    CStopBeforeRename& operator=(const CStopBeforeRename&) = delete;

    const std::vector<std::string>& Temporaries() const { return m_temporaries; }

private:
    std::vector<std::string> m_temporaries;
};

// Runs write(0), write(1), ... in a child process that never stops by itself
// and kills it with SIGKILL after a random delay of up to nMaxMicros from the
// moment it starts writing. Fails the test when the child ended any other way
// (its write threw or reported a failure: it exits with 3 then).
inline void KillWhileWriting(const std::function<bool(unsigned)>& write, std::mt19937& random,
                             unsigned nMaxMicros = 4000)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(fds[0]);
        const char cReady = 'r';
        if (::write(fds[1], &cReady, 1) != 1)
            ::_exit(2);
        try {
            for (unsigned i = 0;; ++i) {
                if (!write(i))
                    ::_exit(3);
            }
        } catch (...) {
            ::_exit(3);
        }
    }
    ::close(fds[1]);
    char cReady = 0;
    const bool bStarted = ::read(fds[0], &cReady, 1) == 1;
    ::close(fds[0]);
    std::uniform_int_distribution<unsigned> delay(0, nMaxMicros);
    if (bStarted)
        ::usleep(delay(random));
    ::kill(pid, SIGKILL);
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL)
        << "the writing child ended by itself with " << (WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1);
}

// Runs body in a child process once prepare has set it up (125 when it
// could not); the child exits with body's result, 126 when body threw. The
// wait status is returned, -1 when there is none.
inline int RunInChild(const std::function<bool()>& prepare, const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (!prepare())
            ::_exit(125);
        int nResult = 126;
        try {
            nResult = body();
        } catch (...) {
        }
        ::_exit(nResult);
    }
    int nStatus = 0;
    return ::waitpid(pid, &nStatus, 0) == pid ? nStatus : -1;
}

// Runs body in a child process whose writes may not pass nBytes, with SIGXFSZ
// at its default action, as a shell or a service manager leaves it: only
// what body calls stands between a write past the limit and the child's
// death.
inline int RunUnderFileSizeLimit(rlim_t nBytes, const std::function<int()>& body)
{
    return RunInChild(
        [nBytes] {
            ::signal(SIGXFSZ, SIG_DFL);
            rlimit limit {};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = nBytes;
            return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        body);
}

// Runs body in a child process that file permissions bind: as root, as the
// unprivileged user and group 65534 ("nobody").
inline int RunAsAnotherUser(const std::function<int()>& body)
{
    return RunInChild([] { return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0); }, body);
}

inline std::string DescribeStatus(int nStatus)
{
    if (WIFSIGNALED(nStatus))
        return "killed by signal " + std::to_string(WTERMSIG(nStatus));
    return WIFEXITED(nStatus) ? "exited with " + std::to_string(WEXITSTATUS(nStatus)) : "not waited for";
}

}  // namespace crashtest
