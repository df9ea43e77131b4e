#!/usr/bin/env bash
# Builds everything and runs the whole test suite. The tests' temporary
# directories go to a folder of the build, which must be empty afterwards.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$QV_BUILD_DIR"
export TMPDIR="$QV_BUILD_DIR/test-tmp"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
ctest --output-on-failure -j"$(nproc)" --timeout 300
if [ -n "$(ls -A "$TMPDIR")" ]; then
  echo "The tests left temporary files behind in $TMPDIR:"
  ls -A "$TMPDIR"
  exit 1
fi
