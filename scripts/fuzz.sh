#!/usr/bin/env bash
# Builds the fuzz targets (clang: libFuzzer, ASan, UBSan) and runs each for a fixed time,
# seeded from the generated installation and from files the game writes.
#   scripts/fuzz.sh [seconds per target] [target ...]   (default 10 s, every target)
# Targets are the names in fuzz/CMakeLists.txt (programs build-fuzz/fuzz/fuzz_<name>).
# Corpora grow in build-fuzz/fuzz-work/corpus; a crash leaves its input in
# build-fuzz/fuzz-work/crashes and fails the run (exit 1).
set -euo pipefail

seconds=${1:-10}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The normal build: it makes the installation the seeds come from.
export QUORVANE_REGISTRY=${QUORVANE_REGISTRY:-$root/build/registry.txt}
source "$root/scripts/setup.sh"

source "$root/scripts/packages.sh"
qv_ensure_packages clang libclang-rt-dev

fuzz_dir=${QV_FUZZ_BUILD_DIR:-$root/build-fuzz}
install_dir="$QV_BUILD_DIR/install"
CC=clang CXX=clang++ cmake -G Ninja -S "$root" -B "$fuzz_dir" -DQV_FUZZ=ON \
  -DQV_FUZZ_INSTALL_DIR="$install_dir" >/dev/null
cmake --build "$fuzz_dir" --target fuzz_targets
export QUORVANE_FUZZ_INSTALL="$install_dir"
# The targets save and flush files on every run: memory-backed storage keeps
# them quick.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

work="$fuzz_dir/fuzz-work"
seeds="$work/seeds"
rm -rf "$seeds"
# Also the files that once broke the game; then the scenario scripts.
"$fuzz_dir/fuzz/qv_fuzz_seeds" "$seeds" "$root/tests/data/repro"
for script in "$root"/tests/scenarios/*.script "$root"/tests/scenarios/*/*.script; do
  [ -f "$script" ] && cp "$script" "$seeds/script/"
done

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$fuzz_dir"/fuzz/fuzz_*; do
    name=${program##*/fuzz_}
    # fuzz_replay_<name> replays a target's inputs; it is no target of its own.
    [ -f "$program" ] && [ -x "$program" ] && [ "${name#replay_}" = "$name" ] && targets+=("$name")
  done
fi

failed=()
mkdir -p "$work/crashes" "$work/logs"
for name in "${targets[@]}"; do
  corpus="$work/corpus/$name"
  mkdir -p "$corpus" "$seeds/$name" "$work/run/$name"
  log="$work/logs/$name.txt"
  # Each target runs in a directory of its own; what it writes goes below $TMPDIR.
  if (cd "$work/run/$name" && "$fuzz_dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=20 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/crashes/$name-" \
        "$corpus" "$seeds/$name" >"$log" 2>&1); then
    runs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
    echo "fuzz $name: $runs runs in ${seconds} s, ${coverage:-cov: ?}, no crash"
    # What the corpus reaches, for the targets that note it (fuzz/replay.cpp).
    replay="$fuzz_dir/fuzz/fuzz_replay_$name"
    if [ -x "$replay" ]; then
      (cd "$work/run/$name" && "$replay" "$corpus" "$seeds/$name") >"$work/logs/$name-reached.txt" 2>&1 || true
      echo "  reached (inputs of corpus and seeds; $work/logs/$name-reached.txt):"
      grep -E '^ +[0-9]+ +(screen enter|.*(game|trade) starts|room trade (other|finished|resync)|match state 1[0-3]$)' "$work/logs/$name-reached.txt" | sed 's/^/  /' || true
    fi
  else
    echo "fuzz $name: FAILED (log $log)"
    tail -n 40 "$log"
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that failed: ${failed[*]} (inputs in $work/crashes)"
  exit 1
fi
