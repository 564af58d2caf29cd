#!/usr/bin/env bash
# The standalone road end to end, without a display: register the plug-in,
# start the launcher, see the editor's main window come up (it listens on its
# single-instance socket), start a second launcher that must hand over and
# end at once, then stop the first.
set -euo pipefail
bin="$1"
work=$(mktemp -d)
trap 'kill "${first:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

export CHRONO_REGISTRY_FILE="$work/registry.json"
export XDG_RUNTIME_DIR="$work"
export QT_QPA_PLATFORM=offscreen
socket="$work/chronosets2-editor.sock"

# The launcher writes its log beside itself (its real path): run a copy from a
# folder of ours.
mkdir "$work/bin"
cp "$bin/Chronosets2" "$work/bin/"
for f in Vek_ZR02.so Vek_ZR020409.loc Tavik2.ico; do
  ln -s "$bin/$f" "$work/bin/$f"
done
"$bin/regsvr" "$work/bin/Vek_ZR02.so" >/dev/null

"$work/bin/Chronosets2" >"$work/first.out" 2>&1 &
first=$!
for _ in $(seq 100); do
  [ -S "$socket" ] && break
  kill -0 "$first" 2>/dev/null || { echo "launcher ended early"; cat "$work/first.out"; exit 1; }
  sleep 0.1
done
[ -S "$socket" ] || { echo "the editor never listened"; exit 1; }

timeout 10 "$work/bin/Chronosets2" >"$work/second.out" 2>&1 || { echo "second launcher failed"; exit 1; }
kill -0 "$first" || { echo "first editor ended"; exit 1; }

log="$work/bin/Chronosets2.log"
head -n 1 "$log" | grep -q '^Start logging date: ' || { echo "log does not start with the date line"; exit 1; }
grep -q 'Starting Dialog in standalone mode' "$log" || { echo "no standalone start in the log"; exit 1; }
[ "$(grep -c 'Start logging date: ' "$log")" -eq 1 ] || { echo "the second launcher started an editor"; exit 1; }
echo "launcher smoke test passed"
