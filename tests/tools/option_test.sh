#!/usr/bin/env bash
# Each tool given an option it does not know prints its usage, ends with
# status 2 and makes no file named after the option.
set -uo pipefail
mksample="$1" inikey="$2" regsvr="$3" devinspect="$4" simdevice="$5" etshost="$6"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
refused() {
  local err status
  err=$("$@" 2>&1 >/dev/null); status=$?
  if [ "$status" != 2 ] || [[ "$err" != usage:* ]] || [ -n "$(ls -A)" ]; then
    printf 'FAIL %s: status %s, %s; left: %s\n' "$*" "$status" "$err" "$(ls -A)"
    failures=$((failures + 1)); rm -rf -- ./* ./.[!.]*
  fi
}
refused "$mksample" --help
refused "$mksample" --largest --help
refused "$inikey" --help Section Key=Value
refused "$regsvr" -u -x
refused "$devinspect" --help
refused "$devinspect" --new --help device.state
refused "$simdevice" --state --help
refused "$etshost" --device-state --log project.json edit
refused "$etshost" -x project.json edit
# A name that only begins oddly is still a path.
"$mksample" ./-sample.tv2 && [ -s ./-sample.tv2 ] || { echo 'FAIL ./-sample.tv2 not written'; failures=1; }
exit $((failures > 0))
