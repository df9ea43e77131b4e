#!/usr/bin/env bash
# Compares what two builds show: runs every scenario test in each (ctest -R
# '^Scenario\.') with its traces kept, then compares, script by script, the
# frame hashes of the trace's "present" lines and the rest of the trace.
# The other build must have a scenario runner that keeps traces
# (QV_SCENARIO_TRACES).
#
#   scripts/compare-frames.sh OTHER_BUILD_DIR [THIS_BUILD_DIR]   (default: build)
#
# Exit 0 when every script shows the same frames in both, 1 otherwise.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OTHER_BUILD_DIR [THIS_BUILD_DIR]" >&2; exit 2; }
other=$(cd "$1" && pwd)
this=$(cd "${2:-$root/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the scenarios of one build; its traces go to $work/<name>/.
run_scenarios() {
  local build=$1 name=$2
  mkdir -p "$work/$name/tmp"
  (cd "$build" && TMPDIR="$work/$name/tmp" QV_SCENARIO_TRACES="$work/$name/traces" \
    ctest -R '^Scenario\.' -j"$(nproc)" --timeout 600 >"$work/$name/ctest.txt" 2>&1) ||
    echo "note: some scenarios failed in $build (see the counts below)"
  grep -E 'tests passed|tests failed' "$work/$name/ctest.txt" | sed "s|^|$name: |"
}
run_scenarios "$other" other
run_scenarios "$this" this

# The frame hashes of a trace, one a line; the rest of it without times and
# with the run's own directory taken out of paths.
frames() { awk '$2 == "present" {print $3}' "$1"; }
others() {
  awk '$2 != "present" {$1 = ""; print}' "$1" |
    sed -E -e 's|/[^ ]*/quorvane-run-[^/]*/|<run>/|g' -e 's|\\[^ ]*\\quorvane-run-[^\\]*\\|<run>\\|g'
}

same=0
changed=0
for trace in "$work"/other/traces/*.trace; do
  [ -e "$trace" ] || continue
  script=$(basename "$trace" .trace)
  mine="$work/this/traces/$script.trace"
  if [ ! -f "$mine" ]; then
    echo "$script: no trace in $this"
    changed=$((changed + 1))
    continue
  fi
  if cmp -s <(frames "$trace") <(frames "$mine"); then
    same=$((same + 1))
    if ! cmp -s <(others "$trace") <(others "$mine"); then
      echo "$script: the same frames; other trace lines differ:"
      { diff <(others "$trace") <(others "$mine") || true; } | head -6 | sed 's/^/    /'
    fi
  else
    changed=$((changed + 1))
    read -r count_other < <(frames "$trace" | wc -l)
    read -r count_this < <(frames "$mine" | wc -l)
    first=$({ cmp <(frames "$trace") <(frames "$mine") 2>/dev/null || true; } | awk '{print $NF}')
    echo "$script: frames differ ($count_other frames there, $count_this here; first difference at frame ${first:-end})"
  fi
done
added=0
for trace in "$work"/this/traces/*.trace; do
  [ -e "$trace" ] || continue
  [ -f "$work/other/traces/$(basename "$trace")" ] || { echo "$(basename "$trace" .trace): a new script"; added=$((added + 1)); }
done
echo "$same scripts show the same frames, $changed differ, $added are new"
[ "$changed" -eq 0 ]
