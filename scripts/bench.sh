#!/usr/bin/env bash
# Runs the benchmarks of bench/ and writes their table into docs/performance.md
# (between the "bench table" markers): the median CPU time of every benchmark
# over ROUNDS rounds, and the goals' ratios from the same rounds.
#   scripts/bench.sh [--rounds N] [--baseline OTHER_PRISM_BENCH] [--filter REGEX]
# With --baseline, each round runs the other build's benchmark program and
# then this one, so that both columns see the machine in the same state; the
# table then has a "before" column. The peers (OpenCV, libjpeg-turbo) appear
# when OpenCV's development files were installed at configure time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/native
rounds=7
baseline=""
filter='.'
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=$2; shift 2 ;;
        --baseline) baseline=$(realpath "$2"); shift 2 ;;
        --filter) filter=$2; shift 2 ;;
        *) echo "usage: $0 [--rounds N] [--baseline PRISM_BENCH] [--filter REGEX]" >&2; exit 2 ;;
    esac
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target prism_bench >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
run() {  # program, json file
    "$1" --benchmark_filter="$filter" --benchmark_min_time=0.2 --benchmark_format=json \
        --benchmark_out="$2" --benchmark_out_format=json >/dev/null 2>&1
}
for r in $(seq "$rounds"); do
    echo "round $r of $rounds" >&2
    [ -n "$baseline" ] && run "$baseline" "$out/before-$r.json"
    run "$build/bench/prism_bench" "$out/after-$r.json"
done
python3 "$root/scripts/bench_table.py" "$out" "$root/docs/performance.md"
echo "table written to docs/performance.md" >&2
