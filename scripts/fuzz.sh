#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset: clang, ASan, UBSan) and runs each
# for SECONDS (default 60) on a copy of its seed corpus. Fails if any crashes.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail

seconds="${1:-60}"
case "$seconds" in
  ''|*[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

cd "$(dirname "$0")/.."
root="$(pwd)"

cmake --preset fuzz >/dev/null
# Only the fuzzers: the rest of the tree needs no fuzzing instrumentation.
cmake --build --preset fuzz --target halyard_fuzzers

# Longer inputs let the reader meet lines beyond its 64 KiB cut.
declare -A max_len=([ColorValueFuzzer]=4096 [OptionsReaderFuzzer]=140000 [DrawClockFuzzer]=1024)

out="${HALYARD_FUZZ_OUT:-$root/build/fuzz/runs}"
# The three run side by side so the test command waits SECONDS, not three times that.
pids=()
for target in ColorValueFuzzer OptionsReaderFuzzer DrawClockFuzzer; do
  corpus="$out/$target/corpus"
  artifacts="$out/$target/artifacts"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp -R "$root/fuzz/corpus/$target/." "$corpus/"
  echo "fuzz: $target for ${seconds}s" >&2
  LSAN_OPTIONS="suppressions=$root/tests/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
    "$root/build/fuzz/fuzz/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" >"$out/$target/log" 2>&1 &
  pids+=("$!")
done

failed=()
i=0
for target in ColorValueFuzzer OptionsReaderFuzzer DrawClockFuzzer; do
  if ! wait "${pids[$i]}"; then
    failed+=("$target")
    tail -n 40 "$out/$target/log" >&2
  else
    echo "fuzz: $target $(grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$out/$target/log" | tr '\n' ' ')" >&2
  fi
  i=$((i + 1))
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: crashes in ${failed[*]}; inputs in $out/<target>/artifacts" >&2
  exit 1
fi
echo "fuzz: no crash" >&2
