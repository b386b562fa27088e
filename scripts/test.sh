#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once as built for users
# (GCC), once with AddressSanitizer and UndefinedBehaviorSanitizer (clang), where the fuzz
# targets also run for a short while each. Between the two, the release build is made into a
# Debian package and checked. Ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

echo "== Build and test (release) =="
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVERBANTA_BENCH=ON >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release -j "$jobs" --timeout 300

# File permissions do not bind the superuser, so the tests of read-only and unreadable files
# skip as root: run the core tests once more as an ordinary user, where they apply.
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/tmp TMPDIR=/tmp)
core_tests="$PWD/build/release/tests/verbanta_core_tests"
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    echo "== Core tests as an ordinary user (permission cases) =="
    # A checkout in a folder only root may enter (such as /root) cannot be run as another user.
    if "${as_nobody[@]}" test -x "$core_tests" -a -r "$PWD/tests/data"; then
        (cd /tmp && "${as_nobody[@]}" "$core_tests" --gtest_brief=1)
    else
        echo "skipped: the checkout is not readable by other users"
    fi
fi

echo "== Debian package (from the release build) =="
rm -f build/release/verbanta_*.deb
(cd build/release && cpack -G DEB >/dev/null)
bash packaging/check_package.sh build/release/verbanta_*.deb build/package-root

echo "== Windows: cross-built core, core tests and CLI under Wine =="
windows_start=$SECONDS
bash scripts/windows_tests.sh "$PWD/build/release/src/cli/verbanta-cli"
echo "Windows stage: $(( (SECONDS - windows_start) / 60 )) min $(( (SECONDS - windows_start) % 60 )) s"

echo "== Build and test (AddressSanitizer + UndefinedBehaviorSanitizer, fuzzing) =="
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++-14 -DVERBANTA_SANITIZE=ON -DVERBANTA_FUZZ=ON \
    -DVERBANTA_FUZZ_SECONDS="${VERBANTA_FUZZ_SECONDS:-15}" >/dev/null
cmake --build build/asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
ctest --test-dir build/asan -j "$jobs" --timeout 600
