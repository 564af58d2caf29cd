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

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: set DISPLAY (or run under xvfb-run) to see the editor." >&2
  exit 1
fi
exec "$bin/Chronosets2"
