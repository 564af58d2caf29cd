#pragma once
// How the interface selection asks the user: a sink that the window layer
// installs (a dialog) and tests replace with a scripted one. The sink gets
// the connections to offer and the one chosen at first; it lets the user
// pick one and, where the connection's parameter is a state file or a knxd
// URL, edit it. It checks a choice with the given check before it accepts it.
// Without a sink the selection cannot ask and fails.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

namespace Falcon {

struct ConnectionEntry {
    std::string strName;
    GUID guidInterface;
    std::string strParameter;
    // The parameter is the path of a device state file that the user may
    // change; other parameters are shown only, but for a knxd URL.
    bool bParameterIsStateFile = false;
    // The parameter is the URL of a knxd server, which the user may change.
    bool bParameterIsKnxdUrl = false;

    bool operator==(const ConnectionEntry&) const = default;
};

// Why a connection cannot be taken as it stands.
enum class EConnectionProblem {
    None,
    UnknownInterface,
    EmptyParameter,
    // Longer than the connection record holds.
    ParameterTooLong,
    // The path names a folder.
    StateFileIsFolder,
    // The file is there but this user may not read it.
    StateFileUnreadable,
    // The file is there but is no device state file; it is never written over.
    NotAStateFile,
    // Neither the file nor its folder can be made there.
    FolderNotUsable,
    // No knxd URL: "local:/path" or "ip:host[:port]".
    BadKnxdUrl,
};

struct ConnectionChoice {
    HWND hOwner = nullptr;
    // Empty: the chooser's own title.
    std::string strCaption;
    std::vector<ConnectionEntry> vecEntries;
    // The entry chosen at first; on OK the one chosen.
    int nSelected = 0;
    // The check an entry must pass before the chooser accepts it.
    std::function<EConnectionProblem(const ConnectionEntry&)> fnCheck;
};

class IConnectionChooser {
public:
    virtual ~IConnectionChooser() = default;
    // True on OK: choice.nSelected is the chosen entry and vecEntries holds
    // the parameters as the user left them. False on cancel.
    virtual bool ChooseConnection(ConnectionChoice& choice) = 0;
};

// Installs the chooser (null removes it); gives back the one before.
IConnectionChooser* SetConnectionChooser(IConnectionChooser* pChooser);
IConnectionChooser* GetConnectionChooser();

}  // namespace Falcon
