#!/usr/bin/env bash
# Builds the fuzzers with clang into build-fuzz/ and runs them on their seeds.
#   scripts/fuzz.sh TARGET|all [SECONDS]     TARGET: jww, csv, object
# The seeds are the files in fuzz/seeds/TARGET, the real drawings beside the
# project when they are there, and drawings and objects made by tolvani-cli
# ($TOLVANI_CLI, else build/bin/tolvani-cli or build-test/bin/tolvani-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
which=${1:-jww}
seconds=${2:-60}
targets=(jww csv object)
[ "$which" = all ] || targets=("$which")

cli=${TOLVANI_CLI:-}
for c in build/bin/tolvani-cli build-test/bin/tolvani-cli; do
  [ -n "$cli" ] || { [ -x "$c" ] && cli=$c; } || true
done

cmake --preset build-fuzz > /dev/null
cmake --build --preset build-fuzz $(printf -- '--target fuzz-%s ' "${targets[@]}")

seed() {  # seed TARGET CORPUS
  local target=$1 corpus=$2
  case $target in
    jww)
      if [ -d ../shared/samples ]; then cp -n ../shared/samples/*.jww "$corpus"/ 2>/dev/null || true; fi
      if [ -n "$cli" ]; then
        for n in 0 1 10 50 200; do
          [ -f "$corpus/gen-$n.jww" ] || "$cli" gen "$corpus/gen-$n.jww" --elements $n --seed $n
        done
      fi
      ;;
    object)
      # Objects in every form, made from small generated drawings and the samples.
      [ -n "$cli" ] || return 0
      for n in 0 10 50; do
        "$cli" gen "$corpus/.gen-$n.jww" --elements $n --seed $n
        for ext in bin ole png svg; do
          [ -f "$corpus/gen-$n.$ext" ] || "$cli" object pack "$corpus/.gen-$n.jww" "$corpus/gen-$n.$ext" --extent 2000,1500
        done
        rm -f "$corpus/.gen-$n.jww"
      done
      if [ -d ../shared/samples ]; then
        for f in ../shared/samples/*.jww; do
          b=$(basename "$f" .jww)
          [ -f "$corpus/$b.bin" ] || "$cli" object pack "$f" "$corpus/$b.bin"
        done
      fi
      ;;
  esac
}

for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus-$target
  mkdir -p "$corpus" "build-fuzz/findings-$target"
  seed "$target" "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$target" ] && seeds+=("fuzz/seeds/$target")
  echo "== fuzz-$target for $seconds s"
  "build-fuzz/bin/fuzz-$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="build-fuzz/findings-$target/" -print_final_stats=1 2>&1 |
    grep -E "^(#[0-9]+ +DONE|stat::|==[0-9]+==|SUMMARY|Done)" || true
  # libFuzzer ends with a non-zero status on a finding; the pipe hides it.
  if ls "build-fuzz/findings-$target"/crash-* "build-fuzz/findings-$target"/leak-* \
        "build-fuzz/findings-$target"/timeout-* "build-fuzz/findings-$target"/oom-* > /dev/null 2>&1; then
    echo "fuzz-$target found inputs that fail; see build-fuzz/findings-$target/" >&2
    exit 1
  fi
done
