#!/usr/bin/env bash
# A new user's first run: a fresh clone of the current commit in a directory
# whose path holds a space and the letters that escape processing eats
# (\tmp, \new tab, \build-x), then both README commands, each with a settings
# file that does not exist yet. The stored "Install_Dir" must be the path
# byte for byte, and the game, started by the play command on that settings
# file (headless, scripted), must reach its main loop.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
base=$(mktemp -d /tmp/qv-XXXXXX)
trap 'rm -rf "$base"' EXIT
clone="$base/new tab/build-x"
mkdir -p "$base/new tab"

echo "=== fresh clone of $commit in $clone"
git clone -q --no-checkout "$root" "$clone"
git -C "$clone" checkout -q --detach "$commit"

# The whole build runs again; a compiler cache helps when there is one.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
unset QV_BUILD_DIR QV_SANITIZE

# The value the settings file must hold: the path with '\' for '/'.
expected="Install_Dir = sz:$(printf '%s' "$clone/build/install" | tr '/' '\\')"
fail() {
  echo "fresh-clone test: $*" >&2
  exit 1
}
check_registry() {
  [ -f "$1" ] || fail "$1 was not written"
  grep -qxF -- "$expected" "$1" || {
    echo "expected: $expected" >&2
    cat -A "$1" >&2
    fail "$1 does not hold the installation directory byte for byte"
  }
}

echo "=== scripts/test.sh"
(cd "$clone" && QUORVANE_REGISTRY="$base/test-registry.txt" scripts/test.sh)
check_registry "$base/test-registry.txt"

echo "=== scripts/play.sh (headless)"
printf '%s\n' "on loading waiting for a tap" "tap 120 160" "on state main loop" "wait 500" "close" \
  >"$base/play-script.txt"
status=0
(cd "$clone" && QUORVANE_REGISTRY="$base/play-registry.txt" QUORVANE_BACKEND=headless \
  QUORVANE_SCRIPT="$base/play-script.txt" QUORVANE_TRACE="$base/play-trace.txt" \
  QUORVANE_TIME_LIMIT=120000 scripts/play.sh) || status=$?
check_registry "$base/play-registry.txt"
grep -q ' state main loop$' "$base/play-trace.txt" || {
  grep -v ' present ' "$base/play-trace.txt" | tail -n 20 >&2
  fail "the game did not reach its main loop"
}
[ "$status" -eq 0 ] || fail "the game ended with $status after its main loop"
echo "fresh-clone test: passed"
