#!/usr/bin/env bash
# Builds the editor and starts it standalone: registers the plug-in library
# and runs the launcher Chronosets2 beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset dev
cmake --build --preset dev -j "$(nproc)"

bin=build/dev/bin
"$bin/regsvr" "$PWD/$bin/Vek_ZR02.so"

# A new user can download at once: when the editor's standalone settings hold
# no bus interface yet, the simulated device becomes the chosen one, as the
# interface selection would write it. The standalone editor reads the ini
# file beside the launcher's log (Chronosets2.ini beside Chronosets2). The
# interface id is kSimulatedInterface of platform/bus/FalconInterfaces.h, the
# name kSimulatedConnectionName of platform/bus/MachineConnections.h, the
# state file the selection's default ($CHRONO_DEVICE_STATE, else
# $XDG_DATA_HOME/chronosets2/device.state, else
# ~/.local/share/chronosets2/device.state); its folder is made here, the file
# by the device on first use.
# A Guid already there (anything but empty or the null id) is the user's
# choice and stays, so running this again changes nothing. inikey reads and
# writes the file through the editor's own ini engine; the Guid goes last, so
# that a run broken off half-way is completed by the next one.
ini="$bin/Chronosets2.ini"
guid=$("$bin/inikey" "$ini" SerialCommunication Guid)
if [ -z "$guid" ] || [ "$guid" = "{00000000-0000-0000-0000-000000000000}" ]; then
  if [ -n "${CHRONO_DEVICE_STATE:-}" ]; then
    state=$(realpath -m -- "$CHRONO_DEVICE_STATE")
  elif xdg=${XDG_DATA_HOME:-} && [ "${xdg:0:1}" = "/" ]; then
    state="$xdg/chronosets2/device.state"
  else
    state="$HOME/.local/share/chronosets2/device.state"
  fi
  mkdir -p -- "$(dirname -- "$state")"
  "$bin/inikey" "$ini" SerialCommunication "ConnectionName=Simulated KNX device" "ConnectionParam=$state" \
    "Guid={98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}"
  echo "Bus interface: the simulated device, state file $state" >&2
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the editor." >&2
  exit 1
fi
exec "$bin/Chronosets2"
