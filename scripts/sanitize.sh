#!/usr/bin/env bash
# Hostile-input checks: builds the native unit tests and the fuzzers with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer into build/sanitize,
# runs the three unit-test programs, then each fuzzer for a fixed time on the
# generated seed corpus and the committed regression inputs (fuzz/regressions).
# Any sanitizer finding or failed check fails the run.
#   scripts/sanitize.sh [SECONDS_PER_FUZZER]
# (default: 60 s for the BMP and settings fuzzers, 20 s each for the small
# frame-geometry and DIB-import ones; three minutes of fuzzing in all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/sanitize
fuzzers=(bmp settings frame_geometry dib_import)
declare -A seconds=([bmp]=60 [settings]=60 [frame_geometry]=20 [dib_import]=20)
if [ $# -gt 0 ]; then
    for f in "${fuzzers[@]}"; do seconds[$f]=$1; done
fi

# -O1 with line tables: quicker to build than -O2 -g, and every report still
# names file and line.
flags="-O1 -gline-tables-only"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DPRISM_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=(prism_unit_tests vantage_unit_tests pictor_unit_tests fuzz_seeds)
for f in "${fuzzers[@]}"; do targets+=("${f}_fuzzer"); done
log=$build/build.log
if ! cmake --build "$build" -j 2 --target "${targets[@]}" >"$log" 2>&1; then
    grep -E 'error' -A3 "$log" | head -n 60
    echo "sanitize: build failed (full log: $log)" >&2
    exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== sanitized unit tests"
"$build/tests/prism_unit_tests" --gtest_brief=1
"$build/tests/vantage_unit_tests" --gtest_brief=1
"$build/tests/pictor_unit_tests" --gtest_brief=1

# Fresh corpora each run: the seeds, then the regression inputs on top.
corpus=$build/corpus
rm -rf "$corpus"
"$build/fuzz/fuzz_seeds" "$corpus"
for f in "${fuzzers[@]}"; do
    regressions=$root/fuzz/regressions/$f
    [ -d "$regressions" ] && cp "$regressions"/* "$corpus/$f/"
    echo "== fuzz $f (${seconds[$f]} s)"
    (cd "$build" && "$build/fuzz/${f}_fuzzer" "$corpus/$f" -max_total_time="${seconds[$f]}" \
        -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/crash-$f-" 2>"$build/fuzz-$f.log") || {
        tail -n 60 "$build/fuzz-$f.log"
        echo "sanitize: fuzzer $f failed (log: $build/fuzz-$f.log)" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units|cov: ' "$build/fuzz-$f.log" | tail -n 2
done
echo "sanitize: all clean"
