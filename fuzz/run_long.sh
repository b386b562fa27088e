#!/usr/bin/env bash
# Runs fuzz targets for one million executions each, from a copy of their seed corpus, and
# prints libFuzzer's final statistics. Needs a build made with
#   cmake -S . -B <dir> -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DVERBANTA_FUZZ=ON \
#         -DVERBANTA_SANITIZE=ON -DVERBANTA_APP=OFF
# usage: fuzz/run_long.sh BUILD_DIR [TARGET...]   (every target of fuzz/corpus by default)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: fuzz/run_long.sh BUILD_DIR [TARGET...]}"
shift
runs="${FUZZ_RUNS:-1000000}"
if [ "$#" -eq 0 ]; then
    set -- $(ls "$here/corpus")
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for target in "$@"; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "== $target: not built in $build" >&2
        status=1
        continue
    fi
    work="$build/fuzz/long-corpus/$target"
    mkdir -p "$work" "$build/fuzz/artifacts/$target"
    cp -r "$here/corpus/$target/." "$work/" 2>/dev/null || true
    echo "== $target: $runs executions"
    start=$(date +%s)
    if "$binary" -runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz/artifacts/$target/" "$work"; then
        echo "== $target: passed in $(( $(date +%s) - start )) s"
    else
        echo "== $target: FAILED (artifacts in $build/fuzz/artifacts/$target)"
        status=1
    fi
done
exit $status
