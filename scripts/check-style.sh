#!/usr/bin/env bash
# Checks the house style: identifier names in every source (clang-tidy with
# .clang-tidy) and the layout of every C++ line changed since the base
# (clang-format with .clang-format). Needs a configured build directory for
# its compile commands: scripts/check-style.sh [build dir] (default build/).
# QV_STYLE_BASE names the base (default: where this branch left main);
# QV_STYLE_FIX=1 only formats those lines in place.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
build=${1:-$root/build}

# The name of a tool, version 14 first; it runs in a subshell, so a missing
# tool makes its caller stop the check.
tool() {
  for name in "$1-14" "$1"; do
    command -v "$name" >/dev/null 2>&1 && { echo "$name"; return 0; }
  done
  echo "check-style: $1 (version 14) is not installed" >&2
  return 2
}
format=$(tool clang-format) || exit 2
tidy_runner=$(tool run-clang-tidy) || exit 2
tidy=$(tool clang-tidy) || exit 2
[ -f "$build/compile_commands.json" ] || { echo "check-style: no $build/compile_commands.json" >&2; exit 2; }

status=0
base=${QV_STYLE_BASE:-$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)}
# The lines each C++ file gained since the base (a moved file counts only
# the lines that changed), formatted where they stand.
declare -A ranges=()
file=""
while IFS= read -r line; do
  case $line in
    "+++ b/"*) file=${line#+++ b/} ;;
    "+++ "*) file="" ;;
    "@@ "*)
      [ -n "$file" ] || continue
      added=$(sed -E 's/^@@ -[0-9,]+ \+([0-9]+)(,([0-9]+))? @@.*/\1 \3/' <<<"$line")
      read -r first count <<<"$added"
      count=${count:-1}
      [ "$count" -gt 0 ] && ranges[$file]+=" --lines=$first:$((first + count - 1))"
      ;;
  esac
done < <(git diff -M -U0 --no-color "$base" -- '*.cpp' '*.h')
for file in "${!ranges[@]}"; do
  [ -f "$file" ] || continue
  if [ "${QV_STYLE_FIX:-0}" = 1 ]; then
    # shellcheck disable=SC2086
    "$format" --style=file -i ${ranges[$file]} "$file"
    continue
  fi
  # shellcheck disable=SC2086
  if ! layout=$("$format" --style=file ${ranges[$file]} "$file" | diff -u "$file" -); then
    [ $status -eq 0 ] && echo "Lines changed since $base need clang-format:"
    echo "$layout"
    status=1
  fi
done
[ "${QV_STYLE_FIX:-0}" = 1 ] && exit 0

sources="^$root/(platform|engine|cards|match|club|infrared|shell|tools|tests|bench|fuzz)/"
if ! names=$("$tidy_runner" -clang-tidy-binary "$(command -v "$tidy")" -p "$build" -quiet \
               -j "$(nproc)" "$sources" 2>&1); then
  echo "Names that do not follow .clang-tidy:"
  sed -E 's/\x1b\[[0-9;]*m//g' <<<"$names" | grep -E "error:|warning:" | sort -u
  status=1
fi
exit $status
