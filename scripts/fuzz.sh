#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset: clang, ASan, UBSan) and runs each
# for SECONDS (default 60) on a copy of its seed corpus. Fails if any crashes.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail

seconds="${1:-60}"
cd "$(dirname "$0")/.."
root="$(pwd)"
me=fuzz
. scripts/lib.sh
[[ "$seconds" =~ ^[0-9]+$ ]] || die "usage: $0 [SECONDS]"

cmake --preset fuzz >/dev/null
# Only the fuzzers: the rest of the tree needs no fuzzing instrumentation.
cmake --build --preset fuzz --target halyard_fuzzers

# Longer inputs let the reader meet lines beyond its 64 KiB cut.
declare -A max_len=([ColorValueFuzzer]=4096 [OptionsReaderFuzzer]=140000 [DrawClockFuzzer]=1024 [SntpReplyFuzzer]=1500)

out="${HALYARD_FUZZ_OUT:-$root/build/fuzz/runs}"
# They run side by side so the test command waits SECONDS, not once per fuzzer.
declare -A pids=()
for target in "${!max_len[@]}"; do
  corpus="$out/$target/corpus" artifacts="$out/$target/artifacts"
  rm -rf "$corpus" && mkdir -p "$corpus" "$artifacts"
  cp -R "$root/fuzz/corpus/$target/." "$corpus/"
  echo "fuzz: $target for ${seconds}s" >&2
  LSAN_OPTIONS="suppressions=$root/tests/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    "$root/build/fuzz/fuzz/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" >"$out/$target/log" 2>&1 &
  pids[$target]=$!
done

for target in "${!pids[@]}"; do
  if wait "${pids[$target]}"; then
    pass "$target: no crash, $(grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$out/$target/log" | tr -s '\n ' '  ')"
  else
    tail -n 40 "$out/$target/log"
    fail "$target crashed; the input is in $out/$target/artifacts"
  fi
done
summary "$me"
