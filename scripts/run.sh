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
# choice and stays, so running this again changes nothing. The file is
# written with awk in the ini engine's own form (sections and keys matched
# without regard to case, the first [SerialCommunication] section counts,
# "key=value" lines, every other line kept), through a temporary file renamed
# over the old one.
ini="$bin/Chronosets2.ini"
guid=$(awk '
  function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
  {
    t = trim($0)
    if (t ~ /^\[.*\]/) {
      h = t; sub(/^\[/, "", h); sub(/\].*$/, "", h)
      if (tolower(trim(h)) == "serialcommunication") { sec = !seen; seen = 1 } else sec = 0
      next
    }
    if (sec && t !~ /^[;#]/ && index(t, "=") > 0 && tolower(trim(substr(t, 1, index(t, "=") - 1))) == "guid") {
      v = trim(substr(t, index(t, "=") + 1))
      if (v ~ /^".*"$/ || v ~ /^\047.*\047$/) v = substr(v, 2, length(v) - 2)
      print v; exit
    }
  }' "$ini" 2>/dev/null || true)
if [ -z "$guid" ] || [ "$guid" = "{00000000-0000-0000-0000-000000000000}" ]; then
  if [ -n "${CHRONO_DEVICE_STATE:-}" ]; then
    state=$(realpath -m -- "$CHRONO_DEVICE_STATE")
  elif xdg=${XDG_DATA_HOME:-} && [ "${xdg:0:1}" = "/" ]; then
    state="$xdg/chronosets2/device.state"
  else
    state="$HOME/.local/share/chronosets2/device.state"
  fi
  mkdir -p -- "$(dirname -- "$state")"
  touch -- "$ini"
  tmp=$(mktemp "$ini.XXXXXX")
  chmod --reference="$ini" -- "$tmp"
  IFSEL_GUID="{98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}" IFSEL_NAME="Simulated KNX device" IFSEL_PARAM="$state" awk '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    function entries() {
      print "Guid=" ENVIRON["IFSEL_GUID"] cr
      print "ConnectionName=" ENVIRON["IFSEL_NAME"] cr
      print "ConnectionParam=" ENVIRON["IFSEL_PARAM"] cr
    }
    {
      if (NR == 1 && $0 ~ /\r$/) cr = "\r"
      t = trim($0)
      if (t ~ /^\[.*\]/) {
        sec = 0
        h = t; sub(/^\[/, "", h); sub(/\].*$/, "", h)
        if (!done && tolower(trim(h)) == "serialcommunication") {
          print; entries(); done = 1; sec = 1; next
        }
      } else if (sec && t !~ /^[;#]/ && index(t, "=") > 0) {
        k = tolower(trim(substr(t, 1, index(t, "=") - 1)))
        if (k == "guid" || k == "connectionname" || k == "connectionparam") next
      }
      print
    }
    END { if (!done) { print "[SerialCommunication]" cr; entries() } }' "$ini" > "$tmp"
  mv -f -- "$tmp" "$ini"
  echo "Bus interface: the simulated device, state file $state" >&2
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the editor." >&2
  exit 1
fi
exec "$bin/Chronosets2"
