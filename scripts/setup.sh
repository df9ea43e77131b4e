#!/usr/bin/env bash
# Shared set-up for play.sh and test.sh: packages, build, asset set, registry.
# Sourced; leaves QV_BUILD_DIR and QUORVANE_REGISTRY set.
set -euo pipefail

QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_BUILD_DIR=${QV_BUILD_DIR:-$QV_ROOT/build}

qv_packages=(cmake ninja-build g++ pkg-config libsdl2-dev libmikmod-dev libstb-dev
             libgtest-dev libcairo2-dev)
qv_missing=()
for p in "${qv_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || qv_missing+=("$p")
done
if [ ${#qv_missing[@]} -gt 0 ]; then
  echo "Installing: ${qv_missing[*]}"
  qv_sudo=""
  [ "$(id -u)" -ne 0 ] && qv_sudo=sudo
  $qv_sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $qv_sudo apt-get install -y -qq "${qv_missing[@]}"
fi

qv_cmake_args=(-G Ninja -S "$QV_ROOT" -B "$QV_BUILD_DIR")
[ "${QV_SANITIZE:-0}" = 1 ] && qv_cmake_args+=(-DQV_SANITIZE=ON)
cmake "${qv_cmake_args[@]}" >/dev/null
cmake --build "$QV_BUILD_DIR"

# The registry stand-in: point Install_Dir at the built installation
# directory unless one is set already.
QUORVANE_REGISTRY=${QUORVANE_REGISTRY:-${XDG_CONFIG_HOME:-$HOME/.config}/quorvane/registry.txt}
export QUORVANE_REGISTRY
mkdir -p "$(dirname "$QUORVANE_REGISTRY")"
if ! grep -q '^Install_Dir = ' "$QUORVANE_REGISTRY" 2>/dev/null; then
  qv_dir=$(echo "$QV_BUILD_DIR/install" | tr '/' '\\')
  grep -q '^\[SOFTWARE\\Quorvane\]$' "$QUORVANE_REGISTRY" 2>/dev/null ||
    printf '[SOFTWARE\\Quorvane]\n' >>"$QUORVANE_REGISTRY"
  # Insert the value right under the key's header line.
  qv_tmp=$(mktemp)
  awk -v v="Install_Dir = sz:$qv_dir" '{print} /^\[SOFTWARE\\Quorvane\]$/ && !done {print v; done=1}' \
    "$QUORVANE_REGISTRY" >"$qv_tmp"
  mv "$qv_tmp" "$QUORVANE_REGISTRY"
  echo "Registry $QUORVANE_REGISTRY: Install_Dir set to $qv_dir"
fi
