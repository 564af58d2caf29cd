#pragma once
// What the tests and the download bench through a real knxd need: child
// processes that never outlive a test, and the simulated device served on a
// thread. Header only, for those programs; the bus stand-in itself never
// includes it.

#include "platform/bus/FalconStandIn.h"
#include "platform/bus/KnxIpFrame.h"
#include "platform/bus/KnxIpUdpServer.h"
#include "platform/bus/KnxdLink.h"
#include "platform/bus/SimulatedDevice.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <regex>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace knxdtest {

using Bytes = std::vector<BYTE>;
inline const char* kKnxdPath = "/usr/bin/knxd";
// Bounds on waiting, so that a fault fails a test instead of hanging it.
constexpr int kStartBoundMs = 10000;
// The answer timeout where a test waits for a silence: every wait for an
// answer that never comes ends after it.
constexpr int kSilenceMs = 20;

inline Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A started program, killed and reaped when the object goes.
class CChildProcess
{
public:
    ~CChildProcess() { Stop(SIGKILL); }

    // stderr to the log; stdout to a pipe for ReadLine when asked, else to the log too.
    bool Start(const std::vector<std::string>& arrArgs, const std::string& strLog, bool bPipeStdout = false)
    {
        int arrPipe[2] = {-1, -1};
        if (bPipeStdout && ::pipe2(arrPipe, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t oActions;
        posix_spawn_file_actions_init(&oActions);
        posix_spawn_file_actions_addopen(&oActions, 2, strLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&oActions, bPipeStdout ? arrPipe[1] : 2, 1);
        std::vector<char*> arrArgv;
        for (const std::string& s : arrArgs)
            arrArgv.push_back(const_cast<char*>(s.c_str()));
        arrArgv.push_back(nullptr);
        const bool bStarted = ::posix_spawn(&m_nPid, arrArgv[0], &oActions, nullptr, arrArgv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&oActions);
        if (bPipeStdout) {
            ::close(arrPipe[1]);
            m_nStdout = arrPipe[0];
        }
        if (!bStarted)
            m_nPid = -1;
        return bStarted;
    }

    bool ReadLine(std::string& strLine)
    {
        strLine.clear();
        char c = 0;
        for (pollfd oPoll{m_nStdout, POLLIN, 0}; ::poll(&oPoll, 1, kStartBoundMs) > 0 && ::read(m_nStdout, &c, 1) == 1;) {
            if (c == '\n')
                return true;
            strLine += c;
        }
        return false;
    }

    // Signals and reaps the child; its wait status.
    int Stop(int nSignal)
    {
        if (m_nStdout >= 0)
            ::close(m_nStdout);
        m_nStdout = -1;
        if (m_nPid > 0 && ::waitpid(m_nPid, &m_nStatus, WNOHANG) == 0) {
            ::kill(m_nPid, nSignal);
            ::waitpid(m_nPid, &m_nStatus, 0);
        }
        m_nPid = -1;
        return m_nStatus;
    }

private:
    pid_t m_nPid = -1;
    int m_nStdout = -1;
    int m_nStatus = -1;
};

// The simulated device served on a thread, with what it reports kept for the
// test to wait on. The device may be looked at once Stop has returned. Its
// clock stands still unless the test moves it.
class CServerThread
{
public:
    explicit CServerThread(const std::string& strState)
    {
        int nError = 0;
        m_bOpen = m_device.Open(strState) == EDeviceResult::Ok && m_server.Open(0, nError) && m_nStopFd >= 0 &&
                  m_nProbe >= 0;
        m_server.GetServer().SetEventSink([this](ETunnellingEvent eEvent, DWORD nValue) {
            if (m_fnHook)
                m_fnHook(eEvent, nValue);
            ++m_nReported;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_arrEvents.emplace_back(eEvent, nValue);
            m_changed.notify_all();
        });
    }
    ~CServerThread()
    {
        Stop();
        ::close(m_nStopFd);
        ::close(m_nProbe);
    }

    bool IsOpen() const { return m_bOpen; }
    WORD GetPort() const { return m_server.GetPort(); }
    CTunnellingServer& GetServer() { return m_server.GetServer(); }
    CSimulatedDevice& Device() { return m_device; }
    // Called on the server's thread at each event, before the server goes
    // on; set before Start.
    void SetEventHook(TunnellingEventSink fnHook) { m_fnHook = std::move(fnHook); }

    void Start()
    {
        m_thread = std::thread([this] {
            int nError = 0;
            m_server.Run(m_nStopFd, nError);
        });
    }
    void Stop()
    {
        const std::uint64_t nOne = 1;
        std::uint64_t nRead = 0;
        if (m_thread.joinable() && ::write(m_nStopFd, &nOne, sizeof nOne) == sizeof nOne) {
            m_thread.join();
            // Ready for another Start.
            [[maybe_unused]] const ssize_t n = ::read(m_nStopFd, &nRead, sizeof nRead);
        }
    }

    // Forgets the events so far, for waiting on the next ones.
    void ClearEvents()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_arrEvents.clear();
    }
    // Moves the clock a second at a time until the event came.
    bool AdvanceUntil(ETunnellingEvent eEvent)
    {
        for (int nSecond = 0; nSecond < 60; ++nSecond) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (HasEvent(eEvent, std::nullopt))
                    return true;
            }
            m_nNowMs += 1000;
            // The server runs its timers after every datagram, so the answer
            // to the second request comes after the timers have run.
            if (!Describe() || !Describe())
                return false;
        }
        return false;
    }
    // Moves the clock without waking the server.
    void Advance(LONGLONG nMs) { m_nNowMs += nMs; }
    // While the lock is held, the server stops at its next event.
    std::unique_lock<std::mutex> HoldAtNextEvent() { return std::unique_lock<std::mutex>(m_mutex); }
    // Under that hold: whether the server stopped at its nEvents-th event.
    bool WaitUntilStoppedAt(std::size_t nEvents) const
    {
        for (int nWaited = 0; nWaited < kStartBoundMs; ++nWaited) {
            if (m_nReported.load() >= nEvents)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    // What the server reported so far, in order.
    std::vector<std::pair<ETunnellingEvent, DWORD>> Events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_arrEvents;
    }
    // A datagram to the server from the test's own socket, which the answers
    // come back to.
    bool Send(const Bytes& arrDatagram) const
    {
        sockaddr_in oTo{};
        oTo.sin_family = AF_INET;
        oTo.sin_addr.s_addr = htonl(CKnxIpUdpServer::kLoopback);
        oTo.sin_port = htons(GetPort());
        return ::sendto(m_nProbe, arrDatagram.data(), arrDatagram.size(), 0, reinterpret_cast<const sockaddr*>(&oTo),
                        sizeof oTo) == static_cast<ssize_t>(arrDatagram.size());
    }
    bool ReceiveAnswer() const
    {
        BYTE arrAnswer[256];
        pollfd oPoll{m_nProbe, POLLIN, 0};
        return ::poll(&oPoll, 1, kStartBoundMs) > 0 && ::recv(m_nProbe, arrAnswer, sizeof arrAnswer, 0) > 0;
    }
    static Bytes DescriptionRequest()
    {
        return CKnxIpFrame(CKnxIpFrame::kDescriptionRequest, {0x08, 0x01, 0, 0, 0, 0, 0, 0}).Encode();
    }
    // The event, with the value when one is given.
    bool WaitFor(ETunnellingEvent eEvent, std::optional<DWORD> nValue = std::nullopt)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60), [&] { return HasEvent(eEvent, nValue); });
    }

private:
    bool HasEvent(ETunnellingEvent eEvent, std::optional<DWORD> nValue) const
    {
        return std::any_of(m_arrEvents.begin(), m_arrEvents.end(), [&](const auto& e) {
            return e.first == eEvent && (!nValue || e.second == *nValue);
        });
    }
    // A DESCRIPTION_REQUEST, answered once the server has read it.
    bool Describe() const { return Send(DescriptionRequest()) && ReceiveAnswer(); }

    CSimulatedDevice m_device;
    TunnellingEventSink m_fnHook;
    std::atomic<LONGLONG> m_nNowMs = 0;
    std::atomic<std::size_t> m_nReported = 0;
    CKnxIpUdpServer m_server{m_device, [this] { return m_nNowMs.load(); }};
    int m_nProbe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int m_nStopFd = ::eventfd(0, EFD_CLOEXEC);
    bool m_bOpen = false;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::pair<ETunnellingEvent, DWORD>> m_arrEvents;
};

// knxd in front of the tunnelling server on a loopback port, its clients'
// socket in the folder given.
class CKnxdProcess
{
public:
    bool Start(WORD nPort, const std::string& strFolder)
    {
        m_strSocket = strFolder + "/knx.sock";
        if (!m_process.Start({kKnxdPath, "-e", "0.0.1", "-E", "0.0.2:8", "-u", m_strSocket, "-b",
                              "ipt:127.0.0.1:" + std::to_string(nPort)},
                             strFolder + "/knxd.log"))
            return false;
        for (int nWaited = 0; nWaited < kStartBoundMs; nWaited += 50) {
            if (std::filesystem::exists(m_strSocket))
                return true;
            ::usleep(50 * 1000);
        }
        return false;
    }
    std::string Url() const { return "local:" + m_strSocket; }
    const std::string& SocketPath() const { return m_strSocket; }
    void Kill() { m_process.Stop(SIGKILL); }

private:
    CChildProcess m_process;
    std::string m_strSocket;
};

// A socket of its own between a client and knxd: passes every byte on both
// ways, one client connection at a time, and keeps the messages the
// clients sent, so that a test sees what a link put on the wire.
class CKnxdTap
{
public:
    struct CMessage
    {
        WORD nType = 0;
        Bytes arrData;
    };

    ~CKnxdTap()
    {
        const std::uint64_t nOne = 1;
        if (m_thread.joinable() && ::write(m_nStopFd, &nOne, sizeof nOne) == sizeof nOne)
            m_thread.join();
        for (int fd : {m_nListen, m_nClient, m_nKnxd, m_nStopFd})
            if (fd >= 0)
                ::close(fd);
    }

    bool Start(const std::string& strKnxdSocket, const std::string& strSocket)
    {
        m_strKnxd = strKnxdSocket;
        m_strSocket = strSocket;
        const sockaddr_un oAddress = Address(strSocket);
        m_nListen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_nListen < 0 || m_nStopFd < 0 ||
            ::bind(m_nListen, reinterpret_cast<const sockaddr*>(&oAddress), sizeof oAddress) != 0 ||
            ::listen(m_nListen, 4) != 0)
            return false;
        m_thread = std::thread([this] { Run(); });
        return true;
    }
    std::string Url() const { return "local:" + m_strSocket; }

    // What the clients sent so far, once every connection they closed has
    // been read to its end (bounded).
    std::vector<CMessage> Sent()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(kStartBoundMs), [this] { return m_nClient < 0; });
        return m_arrSent;
    }

private:
    static sockaddr_un Address(const std::string& strPath)
    {
        sockaddr_un oAddress{};
        oAddress.sun_family = AF_UNIX;
        strPath.copy(oAddress.sun_path, sizeof oAddress.sun_path - 1);
        return oAddress;
    }
    void Run()
    {
        for (;;) {
            pollfd arrPoll[4] = {{m_nStopFd, POLLIN, 0}, {m_nListen, POLLIN, 0}, {m_nClient, POLLIN, 0},
                                 {m_nKnxd, POLLIN, 0}};
            if (::poll(arrPoll, 4, -1) < 0 || arrPoll[0].revents != 0)
                return;
            if (arrPoll[1].revents != 0)
                Accept();
            else if (arrPoll[2].revents != 0 && !Pass(m_nClient, m_nKnxd, true))
                Hang();
            else if (arrPoll[3].revents != 0 && !Pass(m_nKnxd, m_nClient, false))
                Hang();
        }
    }
    void Accept()
    {
        const int nClient = ::accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (nClient < 0)
            return;
        Hang();
        const sockaddr_un oAddress = Address(m_strKnxd);
        const int nKnxd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (nKnxd < 0 || ::connect(nKnxd, reinterpret_cast<const sockaddr*>(&oAddress), sizeof oAddress) != 0) {
            ::close(nClient);
            if (nKnxd >= 0)
                ::close(nKnxd);
            return;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_nClient = nClient;
        m_nKnxd = nKnxd;
        m_arrPending.clear();
    }
    // Passes what arrived on; false once either end closed.
    bool Pass(int nFrom, int nTo, bool bFromClient)
    {
        BYTE arrBuffer[512];
        const ssize_t nRead = ::read(nFrom, arrBuffer, sizeof arrBuffer);
        if (nRead <= 0)
            return false;
        if (bFromClient) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_arrPending.insert(m_arrPending.end(), arrBuffer, arrBuffer + nRead);
            // 16-bit length, then the 16-bit type and its data.
            while (m_arrPending.size() >= 4 && m_arrPending.size() >= 2u + ((m_arrPending[0] << 8) | m_arrPending[1])) {
                const std::size_t nLength = (m_arrPending[0] << 8) | m_arrPending[1];
                CMessage oMessage;
                oMessage.nType = static_cast<WORD>((m_arrPending[2] << 8) | m_arrPending[3]);
                oMessage.arrData.assign(m_arrPending.begin() + 4, m_arrPending.begin() + 2 + nLength);
                m_arrSent.push_back(std::move(oMessage));
                m_arrPending.erase(m_arrPending.begin(), m_arrPending.begin() + 2 + nLength);
            }
        }
        return ::send(nTo, arrBuffer, static_cast<std::size_t>(nRead), MSG_NOSIGNAL) == nRead;
    }
    // Ends the connection on both sides.
    void Hang()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int* pFd : {&m_nClient, &m_nKnxd}) {
            if (*pFd >= 0)
                ::close(*pFd);
            *pFd = -1;
        }
        m_changed.notify_all();
    }

    std::string m_strKnxd;
    std::string m_strSocket;
    int m_nListen = -1;
    int m_nClient = -1;
    int m_nKnxd = -1;
    int m_nStopFd = ::eventfd(0, EFD_CLOEXEC);
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Bytes m_arrPending;
    std::vector<CMessage> m_arrSent;
};

// The simdevice program; its port once it listens.
class CSimDeviceProcess
{
public:
    bool Start(const std::string& strProgram, const std::string& strState, const std::string& strLog,
               std::vector<std::string> arrMore = {})
    {
        std::vector<std::string> arrArgs = {strProgram, "--state", strState};
        arrArgs.insert(arrArgs.end(), arrMore.begin(), arrMore.end());
        std::string strLine;
        std::smatch match;
        if (!m_process.Start(arrArgs, strLog, true) || !m_process.ReadLine(strLine) ||
            !std::regex_match(strLine, match, std::regex("KNXnet/IP tunnelling on 127\\.0\\.0\\.1:([0-9]+)")))
            return false;
        m_nPort = static_cast<WORD>(std::stoi(match[1]));
        return true;
    }
    WORD GetPort() const { return m_nPort; }
    int Stop(int nSignal) { return m_process.Stop(nSignal); }

private:
    CChildProcess m_process;
    WORD m_nPort = 0;
};

// knxd takes clients before its tunnel is up, and what they send meanwhile
// is lost: the first connection is tried a few times.
inline EDeviceResult ConnectWhenReady(CKnxdLink& link, const std::string& strUrl, WORD nDevice)
{
    EDeviceResult eResult = EDeviceResult::NoDevice;
    for (int nTry = 0; nTry < 10 && eResult != EDeviceResult::Ok; ++nTry) {
        eResult = link.Connect(strUrl, nDevice);
        if (eResult != EDeviceResult::Ok)
            ::usleep(200 * 1000);
    }
    return eResult;
}

}  // namespace knxdtest
