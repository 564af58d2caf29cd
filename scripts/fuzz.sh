#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-
# behaviour sanitizers) in build/fuzz and runs each for a bounded time on a
# seed corpus written from the golden cases and the samples. Fails on any
# crash, hang or sanitizer report.
#
#   scripts/fuzz.sh [-j N] [seconds per target, default 20]
#
# -j N fuzzes N targets at a time (default 1) and builds with N jobs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs=1
build_jobs=8
if [ "${1:-}" = "-j" ]; then
  jobs="${2:?-j needs a number}"
  build_jobs="$jobs"
  shift 2
fi
seconds="${1:-20}"
build="$root/build/fuzz"

# The packages of the normal build, and clang with its runtime libraries.
"$root/scripts/install-deps.sh"
need=()
command -v clang++-14 >/dev/null 2>&1 || need+=(clang-14)
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
if ((${#need[@]})); then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}"
fi

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14
cmake --build "$build" -j"$build_jobs"

corpus="$build/corpus"
rm -rf "$corpus"
"$build/bin/fuzz_make_seeds" "$corpus" "$root/samples"
cp "$root/samples/sample.tv2" "$corpus/data_file/sample-file.tv2"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The icon target's offscreen Qt platform.
export QT_QPA_PLATFORM=offscreen

targets=(data_file group_addresses internal_clock day_routines week_routine summertimes special_days quantities
         icon_file ini_file host_project device_state com_registry connection_record tunnelling)

# The largest input of a target: a connection record has 1172 bytes; a user
# keeps the ini file small.
max_len() {
  case "$1" in
    connection_record) echo 1172 ;;
    ini_file) echo 4096 ;;
    *) echo 65536 ;;
  esac
}

run_target() {
  local target="$1" work="$build/run/$1"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$target")"
                 -print_final_stats=1 -artifact_prefix="$work/artifacts/")
  [ -f "$root/fuzz/dict/$target.dict" ] && options+=(-dict="$root/fuzz/dict/$target.dict")
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -n "$corpus/$target"/* "$work/corpus/" 2>/dev/null || true
  if "$build/bin/fuzz_$target" "${options[@]}" "$work/corpus" >"$work/log.txt" 2>&1; then
    echo ok >"$work/result"
  else
    echo failed >"$work/result"
  fi
}

for target in "${targets[@]}"; do
  rm -f "$build/run/$target/result"
  while (($(jobs -rp | wc -l) >= jobs)); do
    wait -n || true
  done
  echo "== fuzz_$target (${seconds}s)"
  run_target "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
  work="$build/run/$target"
  if [ "$(cat "$work/result" 2>/dev/null)" != ok ]; then
    failed+=("$target")
    echo "== fuzz_$target: FAILED"
    tail -40 "$work/log.txt"
  else
    echo "== fuzz_$target: $(grep -E "^stat::number_of_executed_units" "$work/log.txt" | tail -1)"
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing found faults in: ${failed[*]} (artifacts under $build/run/<target>/artifacts)"
  exit 1
fi
echo "fuzzing: no crash, hang or sanitizer report"
