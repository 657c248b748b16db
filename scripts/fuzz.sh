#!/usr/bin/env bash
# Builds the fuzzers with clang into build-fuzz/ and runs one of them.
#   scripts/fuzz.sh TARGET [SECONDS]     TARGET: jww, csv, object
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
target=${1:-jww}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVANI_FUZZ=ON -DTOLVANI_GUI=OFF
cmake --build build-fuzz --target "fuzz-$target"
corpus=build-fuzz/corpus-$target
mkdir -p "$corpus"
seeds=()
[ -d "fuzz/seeds/$target" ] && seeds+=("fuzz/seeds/$target")
if [ "$target" = jww ]; then
  if [ -d ../shared/samples ]; then cp -n ../shared/samples/*.jww "$corpus"/ 2>/dev/null || true; fi
  if [ -x build/bin/tolvani-cli ]; then
    for n in 0 1 10 50 200; do
      [ -f "$corpus/gen-$n.jww" ] || build/bin/tolvani-cli gen "$corpus/gen-$n.jww" --elements $n --seed $n
    done
  fi
fi
if [ "$target" = object ] && [ -x build/bin/tolvani-cli ]; then
  # Objects in every form, made from small generated drawings and the samples.
  for n in 0 10 50; do
    build/bin/tolvani-cli gen "$corpus/.gen-$n.jww" --elements $n --seed $n
    for ext in bin ole png svg; do
      [ -f "$corpus/gen-$n.$ext" ] || build/bin/tolvani-cli object pack "$corpus/.gen-$n.jww" "$corpus/gen-$n.$ext" --extent 2000,1500
    done
    rm -f "$corpus/.gen-$n.jww"
  done
  if [ -d ../shared/samples ]; then
    for f in ../shared/samples/*.jww; do
      b=$(basename "$f" .jww)
      [ -f "$corpus/$b.bin" ] || build/bin/tolvani-cli object pack "$f" "$corpus/$b.bin"
    done
  fi
fi
mkdir -p build-fuzz/findings-$target
exec "build-fuzz/bin/fuzz-$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="build-fuzz/findings-$target/" -print_final_stats=1
