#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the build with
# the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
for preset in dev asan; do
  echo "== $preset =="
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset"
done
