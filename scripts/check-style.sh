#!/usr/bin/env bash
# Checks the house style: identifier names in every source (clang-tidy with
# .clang-tidy) and the layout of every C++ line changed since the base
# (clang-format with .clang-format). Needs a configured build directory for
# its compile commands: scripts/check-style.sh [build dir] (default build/).
# QV_STYLE_BASE names the base (default: where this branch left main).
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
build=${1:-$root/build}

tool() {
  for name in "$1-14" "$1"; do
    command -v "$name" >/dev/null 2>&1 && { echo "$name"; return 0; }
  done
  echo "check-style: $1 (version 14) is not installed" >&2
  exit 2
}
format=$(tool clang-format)
tidy_runner=$(tool run-clang-tidy)
tidy=$(tool clang-tidy)
[ -f "$build/compile_commands.json" ] || { echo "check-style: no $build/compile_commands.json" >&2; exit 2; }

status=0
base=${QV_STYLE_BASE:-$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)}
layout=$(git clang-format-14 --binary "$format" --diff --extensions cpp,h "$base" 2>&1 ||
         git clang-format --binary "$format" --diff --extensions cpp,h "$base" 2>&1)
case $layout in
  *"did not modify any files"* | *"no modified files to format"*) ;;
  *)
    echo "Lines changed since $base need clang-format (git clang-format $base):"
    echo "$layout"
    status=1
    ;;
esac

sources="^$root/(platform|engine|cards|match|club|infrared|shell|tools|tests)/"
if ! names=$("$tidy_runner" -clang-tidy-binary "$(command -v "$tidy")" -p "$build" -quiet \
               -j "$(nproc)" "$sources" 2>&1); then
  echo "Names that do not follow .clang-tidy:"
  sed -E 's/\x1b\[[0-9;]*m//g' <<<"$names" | grep -E "error:|warning:" | sort -u
  status=1
fi
exit $status
