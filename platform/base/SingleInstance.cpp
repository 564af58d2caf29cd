#include "platform/base/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kSocketName[] = "chronosets2-editor";
// How long the client waits for the editor's answer. The editor answers from
// its window loop; when that is busy (a download) the request still counts.
constexpr int kReplyTimeoutSeconds = 3;

bool FitsSocketAddress(const std::string& strPath) {
    return !strPath.empty() && strPath.size() < sizeof(sockaddr_un{}.sun_path);
}

// A connected stream socket, or -1.
int ConnectTo(const std::string& strPath) {
    if (!FitsSocketAddress(strPath)) {
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, strPath.c_str(), strPath.size() + 1);
    int rc;
    do {
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    // Only an editor of this user counts: in /tmp another user could have
    // put a listener of their own on the path.
    ucred peer{};
    socklen_t nLength = sizeof(peer);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &nLength) != 0 || peer.uid != ::getuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const char* pData, std::size_t nSize) {
    while (nSize > 0) {
        const ssize_t n = ::send(fd, pData, nSize, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        pData += n;
        nSize -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads the answer line, at most a few bytes; gives up after the timeout.
std::string ReadReply(int fd) {
    timeval timeout{};
    timeout.tv_sec = kReplyTimeoutSeconds;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    std::string strReply;
    char c = 0;
    while (strReply.size() < 16) {
        const ssize_t n = ::recv(fd, &c, 1, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || c == '\n') {
            break;
        }
        strReply += c;
    }
    return strReply;
}

}  // namespace

std::string GetSingleInstanceSocketPath() {
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime != nullptr && *pszRuntime != '\0') {
        std::string strPath = pszRuntime;
        if (strPath.back() != '/') {
            strPath += '/';
        }
        strPath += kSocketName;
        strPath += ".sock";
        if (FitsSocketAddress(strPath)) {
            return strPath;
        }
    }
    return "/tmp/" + std::string(kSocketName) + "-" + std::to_string(::getuid()) + ".sock";
}

bool IsEditorListening(const std::string& strPath) {
    const int fd = ConnectTo(strPath);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

bool AskRunningEditorToActivate() {
    return AskRunningEditorToActivate(GetSingleInstanceSocketPath());
}

bool AskRunningEditorToActivate(const std::string& strPath) {
    const int fd = ConnectTo(strPath);
    if (fd < 0) {
        return false;
    }
    static constexpr char kRequest[] = "activate\n";
    const bool bSent = SendAll(fd, kRequest, sizeof(kRequest) - 1);
    if (bSent) {
        // The answer only tells that the window came up; a listening editor
        // took the request either way.
        ReadReply(fd);
    }
    ::close(fd);
    return bSent;
}

}  // namespace platform
