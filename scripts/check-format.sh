#!/usr/bin/env bash
# Fails, naming each file, when a C++ file of the project is not in the
# house style (.clang-format). Fix with: clang-format -i FILE
set -uo pipefail
cd "$(dirname "$0")/.."
bad=0
while IFS= read -r f; do
  if ! clang-format --dry-run --Werror "$f" > /dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done < <(git ls-files '*.h' '*.cpp' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.h' -o -name '*.cpp' \) -print)
exit $bad
