#!/usr/bin/env bash
# Builds the editor and starts it standalone: the launcher Chronosets2 on a
# sample data file with the simulated device on the bus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset dev
cmake --build --preset dev -j "$(nproc)"

launcher=build/dev/bin/Chronosets2
if [ ! -x "$launcher" ]; then
  echo "The editor is not built yet: so far the platform layers and the data model build and are tested."
  echo "Once the launcher exists, this command starts $launcher standalone."
  exit 0
fi
exec "$launcher" "$@"
