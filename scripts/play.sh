#!/usr/bin/env bash
# Builds everything and starts the game in a window.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
exec "$QV_BUILD_DIR/quorvane"
