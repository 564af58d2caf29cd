#!/usr/bin/env bash
# simdevice names why it cannot take a state file or write it back: the key
# found wrong in a file it reads, the system's reason of a failed write.
set -uo pipefail
simdevice="$1" devinspect="$2"
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { printf 'FAIL %s\n' "$*"; failures=$((failures + 1)); }

"$devinspect" --new 1.1.5 "$work/device.state" >/dev/null || fail "devinspect --new: status $?"
sed 's/"manufacturer": 2,/"manufacturer": 4294967296,/' "$work/device.state" >"$work/wrong.state"
err=$(timeout 10 "$simdevice" --state "$work/wrong.state" 2>&1 >/dev/null); status=$?
want="simdevice: $work/wrong.state: cannot read the device state: application.manufacturer: expected an integer from 0 to 65535"
[ "$status" = 1 ] && [ "$err" = "$want" ] || fail "a wrong manufacturer: status $status, $err"
err=$(timeout 10 "$simdevice" --state "$work/no/device.state" 2>&1 >/dev/null); status=$?
want="simdevice: $work/no/device.state: cannot create the device state: No such file or directory"
[ "$status" = 1 ] && [ "$err" = "$want" ] || fail "a missing folder: status $status, $err"
err=$(timeout 10 "$simdevice" --state "$work" 2>&1 >/dev/null); status=$?
want="simdevice: $work: cannot read the device state: Is a directory"
[ "$status" = 1 ] && [ "$err" = "$want" ] || fail "a folder: status $status, $err"

# A state file without write permission is refused also for root, when the
# device writes it back on SIGTERM.
"$simdevice" --state "$work/device.state" >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 100); do grep -q 'tunnelling on' "$work/out" && break; sleep 0.1; done
grep -q 'tunnelling on' "$work/out" || fail "simdevice did not start: $(cat "$work/err")"
chmod 0444 "$work/device.state"
kill -TERM "$pid"; wait "$pid"; status=$?; pid=
want="simdevice: $work/device.state: cannot write the device state: Permission denied"
[ "$status" = 1 ] && [ "$(cat "$work/err")" = "$want" ] || fail "a read-only file: status $status, $(cat "$work/err")"
exit $((failures > 0))
