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
# already started have ended, unless CORVALE_FUZZ_ALL=1 has every target run
# its full time whatever the others find. The run ends with a table of each
# target's executions, coverage, corpus and findings.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run_fuzz.sh <build dir> [seconds] [target ...]}" && pwd)"
seconds="${2:-30}"
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(level_set level_file saved_game scores settings png playlist sound replay)
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

# One row of the closing table: executions, coverage (edges and features) at
# the end, inputs in the target's corpus, peak memory and inputs kept as
# findings in this run.
summary_row() {
  local t="$1" log="$build/fuzz-findings/$1.log"
  [ -f "$log" ] || return 0
  local execs cov ft corp rss found
  execs=$(grep -oE 'stat::number_of_executed_units: +[0-9]+' "$log" | grep -o '[0-9]*$' || echo "-")
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo "-")
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo "-")
  corp=$(find "$build/fuzz-corpus/$t" -type f | wc -l)
  rss=$(grep -oE 'stat::peak_rss_mb: +[0-9]+' "$log" | grep -o '[0-9]*$' || echo "-")
  found=$(grep -c "Test unit written to" "$log" || true)
  printf '%-11s %11s %6s %9s %7s %7s %9s\n' "$t" "$execs" "$cov" "$ft" "$corp" "$rss" "$found"
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
  [ "$failed" -eq 0 ] || [ "${CORVALE_FUZZ_ALL:-0}" = 1 ] || break
  fuzz_one "$t" > "$build/fuzz-findings/$t.out" 2>&1 &
  pids[$t]=$!
  running+=("$t")
  [ ${#running[@]} -lt "$jobs_max" ] || reap
done
while [ ${#running[@]} -gt 0 ]; do
  reap
done
printf '%-11s %11s %6s %9s %7s %7s %9s\n' target executions edges features corpus rss_mb findings
for t in "${targets[@]}"; do
  [ -z "${pids[$t]:-}" ] || summary_row "$t"
done
exit "$failed"
