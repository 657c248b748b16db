#!/usr/bin/env bash
# Installs what is needed, builds Release into build/ and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVANI_BENCH=ON
cmake --build build -j "$jobs"
./build/bin/tolvani-cli info build/demo/demo.jww
