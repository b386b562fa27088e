#!/usr/bin/env bash
# Cross-builds the core, its tests and the CLI for Windows (MinGW-w64) into build/windows and
# runs them under Wine: the core tests, then a smoke test of the CLI (resave, convert, export)
# on a folder named in Hangul whose files must come out byte for byte as the Linux CLI writes
# them. Wine runs headless in a prefix of its own under build/windows, made on the first run.
# Usage: scripts/windows_tests.sh [LINUX_CLI]   (the Linux CLI to compare with; optional)
# VERBANTA_WINDOWS_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
build=${VERBANTA_WINDOWS_BUILD:-build/windows}
linux_cli=${1:-}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$build" -j "$jobs"

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine)
wineserver=$(command -v wineserver || true)
[ -n "$wineserver" ] || wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$PWD/$build/wine-prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or HTML engine: asking to download them would wait for a window nobody sees.
export WINEDLLOVERRIDES="mscoree,mshtml="
# No display: console programs need none, and nothing may try to open a window.
unset DISPLAY WAYLAND_DISPLAY
stop_wine() { "$wineserver" -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "-- making the Wine prefix"
    timeout 600 "$wine" wineboot --init >/dev/null 2>&1 || true
fi

echo "-- core tests under Wine"
# Run from the build folder: Wine then works on drive Z:, where every absolute Linux path
# the tests were given (their data, the CLI) is found as it is.
(cd "$build/tests" && timeout 1200 "$wine" verbanta_core_tests.exe --gtest_brief=1 \
    2>&1 | tr -d '\r' | tee test_output.txt | grep -v '^\[  SKIPPED \]' || true)
summary=$(grep -E '^\[  (PASSED|FAILED|SKIPPED) *\] [0-9]+ test' "$build/tests/test_output.txt" || true)
echo "$summary"
grep -q '^\[  PASSED  \] [0-9]' <<<"$summary" || { echo "the core tests did not run"; exit 1; }
if grep -q '^\[  FAILED  \] [0-9]' <<<"$summary"; then
    echo "core tests failed under Wine"
    exit 1
fi

echo "-- CLI smoke test under Wine"
smoke="$build/smoke/자막 폴더"
rm -rf "$build/smoke" && mkdir -p "$smoke/windows" "$smoke/linux"
cp tests/data/sami/two_languages.smi "$smoke/원본 자막.smi"
cp tests/data/formats/italics_korean.srt "$smoke/가져오기.srt"
run_cli() {  # run_cli SIDE ARGS...: the CLI of that side, its files in its own folder
    local side=$1 out="$smoke/$1"
    shift
    if [ "$side" = windows ]; then
        (cd "$smoke" && "$wine" "$OLDPWD/$build/src/cli/verbanta-cli.exe" "${@//@OUT@/$side}")
    else
        (cd "$smoke" && "$linux_cli" "${@//@OUT@/$side}")
    fi
}
sides=(windows)
[ -n "$linux_cli" ] && [ -x "$linux_cli" ] && sides+=(linux)
for side in "${sides[@]}"; do
    run_cli "$side" resave "원본 자막.smi" "@OUT@/다시 저장.smi"
    run_cli "$side" resave --encoding utf-16le "원본 자막.smi" "@OUT@/유니코드.smi"
    run_cli "$side" convert "가져오기.srt" "@OUT@/변환.smi"
    run_cli "$side" convert "원본 자막.smi" "@OUT@/내보내기.vtt"
    run_cli "$side" export-text "원본 자막.smi" "@OUT@/내보내기.txt"
done
for file in "다시 저장.smi" "유니코드.smi" "변환.smi" "내보내기.vtt" "내보내기.txt"; do
    [ -s "$smoke/windows/$file" ] || { echo "the Windows CLI did not write $file"; exit 1; }
    if [ -d "$smoke/linux" ] && [ "${#sides[@]}" -gt 1 ]; then
        cmp "$smoke/windows/$file" "$smoke/linux/$file" ||
            { echo "$file differs between the Windows and the Linux CLI"; exit 1; }
    fi
done
echo "CLI smoke test passed (${#sides[@]} side(s) compared)"
