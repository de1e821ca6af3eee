#!/usr/bin/env bash
# scripts/bench.sh [extra benchmark flags]: builds the native preset (or QLP_BENCH_BUILD_DIR, a
# RelWithDebInfo build of its own), runs qlp_bench with five repetitions and prints every
# benchmark's median beside its floor's median with the ratio (target: within 1.5x; parsing alone
# in events/s, target 2,000,000). Then measures the peak memory of `qlp convert` on a generated
# 100,000-event EDL against the size of the work file it writes (target: at most 1.5x).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [[ -n "${QLP_BENCH_BUILD_DIR:-}" ]]; then
    build=$QLP_BENCH_BUILD_DIR
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target qlp_bench qlp_gen_edl qlp -j 2 >/dev/null
else
    build="$root/build/native"
    cmake --preset native >/dev/null
    cmake --build --preset native --target qlp_bench qlp_gen_edl qlp -j 2 >/dev/null
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/qlp-bench-run-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

json="$scratch/bench.json"
"$build/bench/qlp_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" --benchmark_out_format=json "$@"

python3 - "$json" <<'EOF'
import json, sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        name = r["run_name"].replace("/real_time", "")
        median[name] = r
print()
print(f"{'benchmark (medians)':<28}{'time ms':>10}{'floor ms':>10}{'ratio':>8}  target")
for name, r in median.items():
    base, _, size = name.partition("/")
    if base.endswith("_floor"):
        continue
    ms = r["real_time"] if r["time_unit"] == "ms" else r["real_time"] / 1e6
    if base == "parse":
        rate = r.get("items_per_second", 0)
        verdict = "ok" if rate >= 2e6 else "MISSED"
        print(f"{name:<28}{ms:>10.2f}{'':>10}{'':>8}  {rate / 1e6:.2f}M events/s (>= 2M: {verdict})")
        continue
    floor = median.get(f"{base}_floor/{size}")
    if not floor:
        continue
    ratio = r["real_time"] / floor["real_time"]
    verdict = "ok" if ratio <= 1.5 else "MISSED"
    print(f"{name:<28}{ms:>10.2f}{floor['real_time']:>10.2f}{ratio:>8.2f}  <= 1.5: {verdict}")
EOF

# Peak memory of one conversion of a 100,000-event EDL.
edl="$scratch/events100000.EDL"
qlp_file="$scratch/events100000.QLP"
"$build/bench/qlp_gen_edl" 100000 "$edl" --seed 9100
if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -v "$build/src/cli/qlp" convert "$edl" "$qlp_file" 2>"$scratch/time.txt" >/dev/null
    peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time.txt")
else
    # Without GNU time: sample the process's high-water mark until it ends.
    "$build/src/cli/qlp" convert "$edl" "$qlp_file" >/dev/null &
    pid=$!
    peak_kb=0
    while kill -0 "$pid" 2>/dev/null; do
        hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        [[ -n "$hwm" ]] && ((hwm > peak_kb)) && peak_kb=$hwm
        sleep 0.005
    done
    wait "$pid"
fi
work_bytes=$(stat -c %s "$qlp_file")
python3 - "$peak_kb" "$work_bytes" <<'EOF'
import sys
peak = int(sys.argv[1]) * 1024
work = int(sys.argv[2])
ratio = peak / work
print(f"\nqlp convert, 100000 events: peak memory {peak / 2**20:.1f} MiB, work file {work / 2**20:.1f} MiB, "
      f"ratio {ratio:.2f} (<= 1.5: {'ok' if ratio <= 1.5 else 'MISSED'})")
EOF
