#!/usr/bin/env bash
# inikey on a settings file a user has edited by hand: it must find and set
# the keys the editor would (any case, the first of two equal sections), keep
# everything else, and refuse what the editor could not read back.
set -euo pipefail
inikey="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ini="$work/Chronosets2.ini"
failures=0
expect() {  # what, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

# No file yet: nothing to read, and the first write makes it.
expect "read from a missing file" "" "$("$inikey" "$ini" SerialCommunication Guid)"
"$inikey" "$ini" SerialCommunication "ConnectionName=Simulated KNX device"
expect "write into a missing file" $'[SerialCommunication]\nConnectionName=Simulated KNX device' "$(cat "$ini")"

cat >"$ini" <<'INI'
; written by hand
[Other]
Guid=other
[serialCOMMUNICATION]
# the interface chosen last
GUID = "{11111111-1111-1111-1111-111111111111}"
not an entry
[SerialCommunication]
Guid=second
ConnectionParam=second
INI
expect "case-insensitive read from the first section" "{11111111-1111-1111-1111-111111111111}" \
  "$("$inikey" "$ini" serialcommunication guid)"
expect "missing key" "" "$("$inikey" "$ini" SerialCommunication ConnectionParam)"

"$inikey" "$ini" SerialCommunication "ConnectionParam=/tmp/a=b.state" "Guid={98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}"
expect "writes into the first section, keeping the rest" "; written by hand
[Other]
Guid=other
[serialCOMMUNICATION]
# the interface chosen last
Guid={98956E5B-B3A6-44B2-BBCF-7A9B7DD66732}
not an entry
ConnectionParam=/tmp/a=b.state
[SerialCommunication]
Guid=second
ConnectionParam=second" "$(cat "$ini")"
expect "a value holding '=' reads back" "/tmp/a=b.state" "$("$inikey" "$ini" SerialCommunication ConnectionParam)"

# What the engine refuses leaves the file as it was, with a status to stop on.
before=$(cat "$ini")
status=0
"$inikey" "$ini" SerialCommunication "[Guid=x" "ConnectionName=ok" 2>/dev/null || status=$?
expect "refused write status" 1 "$status"
expect "nothing written from a refused key on" "$before" "$(cat "$ini")"
status=0
"$inikey" "$ini" SerialCommunication Guid ConnectionName 2>/dev/null || status=$?
expect "two reads are a usage error" 2 "$status"
status=0
"$inikey" "$ini" SerialCommunication "=value" 2>/dev/null || status=$?
expect "an empty key is a usage error" 2 "$status"

# A file far larger than a settings file is neither read nor written, and
# both say so rather than print an empty value or fail without a word.
huge="$work/huge.ini"
{ printf '[SerialCommunication]\nGuid=x\n;'; head -c $((2 * 1024 * 1024)) /dev/zero | tr '\0' 'x'; echo; } >"$huge"
for args in "Guid" "Guid=y"; do
  status=0
  err=$("$inikey" "$huge" SerialCommunication "$args" 2>&1 >/dev/null) || status=$?
  expect "status on a huge file ($args)" 1 "$status"
  case "$err" in *"too large to be a settings file"*) ;; *) expect "message on a huge file ($args)" "... too large to be a settings file" "$err" ;; esac
done

# A file that is there but cannot be read is no missing key: the read fails
# with the reason rather than print an empty value.
mkdir "$work/folder.ini"
status=0
err=$("$inikey" "$work/folder.ini" SerialCommunication Guid 2>&1 >/dev/null) || status=$?
expect "status on a folder" 1 "$status"
expect "message on a folder" "inikey: cannot read $work/folder.ini: Is a directory" "$err"

[ "$failures" -eq 0 ] || exit 1
echo "inikey: all cases passed"
