#!/usr/bin/env bash
# devinspect --new: a new device at the address asked for, in a file that
# devinspect and the simulated device read back; a bad address, 0.0.0 or a
# file already there is refused and leaves nothing behind or changed.
set -uo pipefail
devinspect="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { printf 'FAIL %s\n' "$*"; failures=$((failures + 1)); }

out=$("$devinspect" --no-memory --new 1.1.5 "$work/device.state") || fail "--new 1.1.5: status $?"
grep -qx 'Individual address: 1.1.5' <<<"$out" || fail "--new 1.1.5 printed: $out"
"$devinspect" --no-memory "$work/device.state" | grep -qx 'Individual address: 1.1.5' || fail "the new file does not read back"

before=$(cat "$work/device.state")
err=$("$devinspect" --new 2.3.4 "$work/device.state" 2>&1 >/dev/null); status=$?
[ "$status" = 1 ] && [[ "$err" == *"not overwritten"* ]] || fail "an existing file: status $status, $err"
[ "$(cat "$work/device.state")" = "$before" ] || fail "an existing file was changed"

# A number past 2^32 must not wrap into another device's address.
for bad in 1.1 16.1.1 1.1.256 1.1.5.1 " 1.1.5" +1.1.5 "" 4294967297.1.5 4294967298.4294967297.5 1.1.4294967301; do
  err=$("$devinspect" --new "$bad" "$work/bad.state" 2>&1 >/dev/null); status=$?
  [ "$status" = 2 ] && [[ "$err" == *"not an individual address"* ]] || fail "address '$bad': status $status, $err"
done
err=$("$devinspect" --new 0.0.0 "$work/bad.state" 2>&1 >/dev/null); status=$?
[ "$status" = 2 ] && [[ "$err" == *"no device has this individual address"* ]] || fail "address 0.0.0: status $status, $err"
[ ! -e "$work/bad.state" ] || fail "a bad address left a file"
exit $((failures > 0))
