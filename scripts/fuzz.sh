#!/usr/bin/env bash
# scripts/fuzz.sh TARGET SECONDS: builds the fuzz preset and runs one libFuzzer target for the given
# time over its committed seed corpus and the regression inputs. New interesting inputs go to
# build/fuzz-work/TARGET/corpus and crashes to build/fuzz-work/TARGET/artifacts, never into the
# repository. Prints the executions and the crashes found; exits 1 when there were crashes.
#
# TARGET is fuzz_edl_reader, fuzz_cmx3600_reader, fuzz_project_loader or fuzz_outputs. FUZZ_KEEP_GOING=1 keeps fuzzing
# after a crash (libFuzzer's fork mode) to collect several distinct ones in one run.
set -euo pipefail

if (($# != 2)); then
    echo "usage: scripts/fuzz.sh fuzz_edl_reader|fuzz_cmx3600_reader|fuzz_project_loader|fuzz_outputs SECONDS" >&2
    exit 2
fi
target=$1
seconds=$2
case "$target" in
    fuzz_edl_reader | fuzz_cmx3600_reader | fuzz_outputs) max_len=65536 ;;
    fuzz_project_loader) max_len=1048576 ;;
    *) echo "fuzz.sh: unknown target $target" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "$target" -j 2 >/dev/null

work="$root/build/fuzz-work/$target"
mkdir -p "$work/corpus" "$work/artifacts"
log="$work/run.log"
regressions="$root/tests/data/fuzz-regressions"

options=(
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048
    -dict="$root/fuzz/edl.dict" -artifact_prefix="$work/artifacts/" -print_final_stats=1
)
if [[ "${FUZZ_KEEP_GOING:-0}" == 1 ]]; then
    options+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
fi

known="$work/artifacts.before"
ls -1 "$work/artifacts" | sort >"$known"
echo "fuzz.sh: $target for ${seconds}s, log $log"
status=0
UBSAN_OPTIONS=print_stacktrace=1 "$root/build/fuzz/fuzz/$target" "${options[@]}" \
    "$work/corpus" "$root/fuzz/corpus/$target" "$regressions" >"$log" 2>&1 || status=$?

executions=$( (grep -o 'stat::number_of_executed_units: [0-9]*' "$log" || true) | awk '{s += $2} END {print s + 0}')
if [[ "$executions" == 0 ]]; then
    # Fork mode and interrupted runs print no final stats; the last progress line counts instead.
    executions=$( (grep -o '^#[0-9]*' "$log" || true) | tail -n 1 | tr -d '#')
fi
new_inputs=$(ls -1 "$work/artifacts" | sort | comm -13 "$known" -)
crashes=$(printf '%s' "$new_inputs" | grep -c . || true)
echo "fuzz.sh: $target: ${executions:-0} executions, $crashes new crash input(s) (libFuzzer exit $status)"
if ((crashes > 0)); then
    printf '%s\n' "$new_inputs" | sed "s|^|  $work/artifacts/|"
    (grep -m 5 -E 'ERROR: |runtime error|round trip:|outputs:' "$log" || true) | sed 's/^/  /'
    exit 1
fi
exit 0
