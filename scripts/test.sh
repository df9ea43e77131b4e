#!/usr/bin/env bash
# Builds everything and runs the whole test suite. The tests' temporary
# directories go to a folder of the build, which must be empty afterwards,
# and the player's own saves in the built installation stay as they were.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$QV_BUILD_DIR"
export TMPDIR="$QV_BUILD_DIR/test-tmp"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
qv_player_saves() { (cd "$QV_BUILD_DIR/install" && find SAVE -type f -exec md5sum {} + 2>/dev/null | sort); }
saves_before=$(qv_player_saves)
ctest --output-on-failure -j"$(nproc)" --timeout 300
if [ -n "$(ls -A "$TMPDIR")" ]; then
  echo "The tests left temporary files behind in $TMPDIR:"
  ls -A "$TMPDIR"
  exit 1
fi
if [ "$(qv_player_saves)" != "$saves_before" ]; then
  echo "The tests changed the player's saves in $QV_BUILD_DIR/install/SAVE."
  exit 1
fi
