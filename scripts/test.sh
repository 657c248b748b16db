#!/usr/bin/env bash
# Installs what is needed, builds the sanitizer configuration into
# build-test/ and runs every test there, then builds the tests that run on
# several threads with ThreadSanitizer into build-tsan/ and runs them.
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
(cd build-test && ctest --output-on-failure --timeout 900 -j "$jobs")

# Only the libraries and test programs the thread tests need are built.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANI_TESTS=ON -DTOLVANI_TSAN=ON
cmake --build build-tsan -j "$jobs" --target tolvani_thread_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
(cd build-tsan && ctest --output-on-failure --timeout 900 -j "$jobs" -L threads)
