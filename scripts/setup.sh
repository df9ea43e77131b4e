#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: packages, build, asset set, registry.
# Sourced; leaves QV_BUILD_DIR and QUORVANE_REGISTRY set.
set -euo pipefail

QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_BUILD_DIR=${QV_BUILD_DIR:-$QV_ROOT/build}
# Absolute, so that a relative one (QV_BUILD_DIR=build-asan) still names the
# same folder once the scripts and the tests change directory.
mkdir -p "$QV_BUILD_DIR"
QV_BUILD_DIR=$(cd "$QV_BUILD_DIR" && pwd)

source "$QV_ROOT/scripts/packages.sh"
# xvfb, xdotool and libxtst-dev: the window tests run the game on an X
# server of their own and click through XTest; the benchmark uses them too.
qv_ensure_packages cmake ninja-build g++ pkg-config libsdl2-dev libmikmod-dev libspng-dev libturbojpeg0-dev \
  libgtest-dev libcairo2-dev libxxhash-dev xvfb xdotool libxtst-dev

qv_cmake_args=(-G Ninja -S "$QV_ROOT" -B "$QV_BUILD_DIR")
[ "${QV_SANITIZE:-0}" = 1 ] && qv_cmake_args+=(-DQV_SANITIZE=ON)
cmake "${qv_cmake_args[@]}" >/dev/null
cmake --build "$QV_BUILD_DIR"

# The registry stand-in: point Install_Dir at the built installation
# directory unless it already names one that holds the data files.
QUORVANE_REGISTRY=${QUORVANE_REGISTRY:-${XDG_CONFIG_HOME:-$HOME/.config}/quorvane/registry.txt}
export QUORVANE_REGISTRY
mkdir -p "$(dirname "$QUORVANE_REGISTRY")"

source "$QV_ROOT/scripts/install-dir.sh"

qv_install=$QV_BUILD_DIR/install
if [ "${#qv_install}" -gt 99 ]; then
  echo "Warning: $qv_install is longer than 99 characters; the game cannot use it" \
       "(\"Can't find Quorvane Directory\"). Use a shorter QV_BUILD_DIR." >&2
fi
qv_set_install_dir "$QUORVANE_REGISTRY" "$(qv_registry_text "$qv_install")"
