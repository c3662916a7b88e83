#!/bin/bash
# Runs the fuzz targets of a CORVALE_FUZZ build: each one first over all its
# seeds (the hand-made ones in corpus/<target>/ and the shipped files the
# build made), then fuzzing for the given number of seconds. Stops at the
# first target that finds a crash, a leak or a sanitizer report, whose input
# is kept in <build>/fuzz-findings/.
#   tests/fuzz/run_fuzz.sh <build dir> [seconds per target, default 30] [target ...]
# New inputs that reach new code collect in <build>/fuzz-corpus/<target>/ and
# are used again by the next run. CORVALE_FUZZ_JOBS targets (default 1) run at
# the same time; with more than one, a finding stops the run once the targets
# already started have ended.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run_fuzz.sh <build dir> [seconds] [target ...]}" && pwd)"
seconds="${2:-30}"
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(level_set level_file saved_game scores settings png playlist sound)
game="$build/corvale"

# The shipped files that seed each format (none ship for the player's own files).
shipped_seeds() {
  local target="$1" dir="$build/fuzz-shipped/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  case "$target" in
    level_set) cp "$game"/level_sets/*.bls "$dir"/ ;;
    png) find "$game/graphics" "$game/paddles" -name '*.png' -size -200k -exec cp {} "$dir"/ \; ;;
    playlist) cp "$game/sounds/songs/corvale.m3u" "$dir"/ ;;
    sound) cp "$game"/sounds/effects/*.wav "$dir"/ ;;
  esac
  echo "$dir"
}

# The sanitizers' options and leak suppressions are built into the programs.
mkdir -p "$build/fuzz-findings"
# One target: its summary on standard output, its status as the exit code.
fuzz_one() {
  local t="$1"
  local bin="$build/tests/fuzz/fuzz_$t"
  local work="$build/fuzz-corpus/$t"
  mkdir -p "$work"
  echo "== fuzz_$t: seeds, then ${seconds} s"
  local start=$(date +%s)
  local log="$build/fuzz-findings/$t.log"
  local status=0
  nice "$bin" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-findings/$t-" \
    "$work" "$here/corpus/$t" "$(shipped_seeds "$t")" > "$log" 2>&1 || status=$?
  grep -E "INITED|DONE|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|runtime error|Test unit written|deadly signal|fuzz target exited" "$log" || true
  echo "== fuzz_$t: exit $status after $(( $(date +%s) - start )) s"
  [ "$status" -eq 0 ] || tail -60 "$log"
  return "$status"
}

jobs_max="${CORVALE_FUZZ_JOBS:-1}"
failed=0
running=()
# Waits for the oldest running target and prints what it said.
reap() {
  local t="${running[0]}"
  running=("${running[@]:1}")
  wait "${pids[$t]}" || failed=$?
  cat "$build/fuzz-findings/$t.out"
}
declare -A pids
for t in "${targets[@]}"; do
  [ "$failed" -eq 0 ] || break
  fuzz_one "$t" > "$build/fuzz-findings/$t.out" 2>&1 &
  pids[$t]=$!
  running+=("$t")
  [ ${#running[@]} -lt "$jobs_max" ] || reap
done
while [ ${#running[@]} -gt 0 ]; do
  reap
done
exit "$failed"
