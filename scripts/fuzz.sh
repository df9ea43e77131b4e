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
    [ -f "$program" ] && [ -x "$program" ] && targets+=("${program##*/fuzz_}")
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
    echo "fuzz $name: $(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no crash"
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
