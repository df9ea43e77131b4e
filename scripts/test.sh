#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$QV_BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" --timeout 300
