#!/usr/bin/env bash
# Builds everything and starts a second instance of the game in a window, for
# two-machine play on one machine. It has a settings file of its own and an
# installation directory of its own: the built data linked in and a "SAVE"
# folder that the first instance never sees. QV_SECOND_DIR chooses where
# (build/second).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
qv_second=${QV_SECOND_DIR:-$QV_BUILD_DIR/second}
mkdir -p "$qv_second"
qv_second=$(cd "$qv_second" && pwd)
qv_link_installation "$QV_BUILD_DIR/install" "$qv_second/install"
export QUORVANE_REGISTRY=$qv_second/registry.txt
qv_set_install_dir "$QUORVANE_REGISTRY" "$(qv_registry_text "$qv_second/install")"
exec "$QV_BUILD_DIR/quorvane"
