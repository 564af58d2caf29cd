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

# Waits are on events, not on the clock: the caps only stop a hung run (a
# sanitizer build on a busy machine may take long to come up).
cap=120
log="$work/bin/Chronosets2.log"

"$work/bin/Chronosets2" >"$work/first.out" 2>&1 &
first=$!
# Ready: the editor listens on its socket and has logged its standalone start.
deadline=$((SECONDS + cap))
until [ -S "$socket" ] && grep -qs 'Starting Dialog in standalone mode' "$log"; do
  kill -0 "$first" 2>/dev/null || { echo "launcher ended early"; cat "$work/first.out"; exit 1; }
  [ "$SECONDS" -lt "$deadline" ] || { echo "the editor was not ready after ${cap} s"; cat "$work/first.out"; exit 1; }
  sleep 0.2
done

timeout "$cap" "$work/bin/Chronosets2" >"$work/second.out" 2>&1 ||
  { echo "second launcher failed or hung (exit $?)"; cat "$work/second.out"; exit 1; }
kill -0 "$first" || { echo "first editor ended"; cat "$work/first.out"; exit 1; }

[[ "$(head -n 1 "$log")" == "Start logging date: "* ]] || { echo "log does not start with the date line"; exit 1; }
[ "$(grep -c 'Start logging date: ' "$log")" -eq 1 ] || { echo "the second launcher started an editor"; exit 1; }
echo "launcher smoke test passed"
