#!/usr/bin/env bash
# Installs what is needed, checks the layers and the format, builds the
# sanitizer configuration into build-test/ (the benchmarks are compiled
# there too) and runs every test, then builds the tests that run on several
# threads with ThreadSanitizer into build-tsan/ and runs them, then builds
# the fuzzers with clang into build-fuzz/ and runs each for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
# Object files are found again in the cache from any clone of the project.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
python3 scripts/check-layers.py .
bash scripts/check-format.sh

cmake --preset build-test
cmake --build --preset build-test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
(cd build-test && ctest --output-on-failure --timeout 900 -j "$jobs")

# Only the libraries and test programs the thread tests need are built.
cmake --preset build-tsan
cmake --build --preset build-tsan -j "$jobs"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
(cd build-tsan && ctest --output-on-failure --timeout 900 -j "$jobs" -L threads)

unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS TSAN_OPTIONS
TOLVANI_CLI=build-test/bin/tolvani-cli bash scripts/fuzz.sh all 30
