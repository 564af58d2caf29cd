#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-
# behaviour sanitizers) in build/fuzz and runs each for a bounded time on a
# seed corpus written from the golden parameter sets. Fails on any crash,
# hang or sanitizer report.
#
#   scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
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
cmake --build "$build" -j8

corpus="$build/corpus"
rm -rf "$corpus"
"$build/bin/fuzz_make_seeds" "$corpus"
cp "$root/samples/sample.tv2" "$corpus/data_file/sample-file.tv2"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for target in data_file group_addresses internal_clock day_routines week_routine summertimes special_days quantities; do
  echo "== fuzz_$target (${seconds}s)"
  work="$build/run/$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -n "$corpus/$target"/* "$work/corpus/" 2>/dev/null || true
  if ! "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" \
      >"$work/log.txt" 2>&1; then
    failed+=("$target")
    tail -40 "$work/log.txt"
  else
    grep -E "^stat::number_of_executed_units|^#[0-9]+ *DONE" "$work/log.txt" | tail -2 || true
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing found faults in: ${failed[*]} (artifacts under $build/run/<target>/artifacts)"
  exit 1
fi
echo "fuzzing: no crash, hang or sanitizer report"
