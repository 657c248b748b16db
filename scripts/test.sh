#!/usr/bin/env bash
# Installs what is needed, builds the sanitizer configuration into
# build-test/ and runs every test there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANI_TESTS=ON -DTOLVANI_SANITIZE=ON
cmake --build build-test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
cd build-test
ctest --output-on-failure -j "$jobs"
