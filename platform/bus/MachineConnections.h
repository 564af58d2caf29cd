#pragma once
// The connections this machine has, as the interface selection offers them:
// the simulated device, whose parameter is the path of its state file (an
// empty parameter would give a device that lives only in the process, which
// a later run cannot reach, so a file is always offered), and a knxd server
// that reaches a real installation, whose parameter is its URL (knxd's usual
// local socket unless the user gives another).
//
// The default state file: $CHRONO_DEVICE_STATE when set, else
// $XDG_DATA_HOME/chronosets2/device.state, else
// ~/.local/share/chronosets2/device.state.

#include "platform/bus/ConnectionChooser.h"

#include <string>
#include <string_view>
#include <vector>

namespace Falcon {

// The name under which the simulated device is chosen.
inline constexpr char kSimulatedConnectionName[] = "Simulated KNX device";
// The name and the first URL of the knxd connection.
inline constexpr char kKnxdConnectionName[] = "KNX installation through knxd";
inline constexpr char kDefaultKnxdUrl[] = "local:/run/knx";

std::string GetDefaultDeviceStatePath();

std::vector<ConnectionEntry> GetMachineConnections();

// The path as the device will use it: "~" and "~/..." in the user's home,
// relative to the working folder made absolute, "." and ".." taken out.
// Empty stays empty.
std::string NormalizeStateFilePath(std::string_view path);

// Whether the entry can be taken as it stands; a state-file parameter is
// checked in its normalised form. Nothing is created or changed.
EConnectionProblem CheckConnectionEntry(const ConnectionEntry& entry);

// Whether the text is a knxd URL: "local:" and an absolute path, or "ip:",
// a host and an optional port from 1 to 65535.
bool IsKnxdUrl(std::string_view url);

// Makes the folders of a state file's path that are missing. False when
// that fails.
bool MakeStateFileFolder(const std::string& strNormalizedPath);

}  // namespace Falcon
