#!/usr/bin/env bash
# The set-up's "Install_Dir" writer against the game's own reader: a path with
# a space, '%', a tab and the letters that escape processing eats reaches the
# game byte for byte, a value mangled by an older set-up is mended, and a
# usable one is left alone.
# Arguments: source directory, game executable, built installation directory.
set -euo pipefail
root=$1 game=$2 assets=$3
source "$root/scripts/install-dir.sh"

tmp=$(mktemp -d /tmp/qv-setup-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# An installation of its own below an awkward path: the asset set linked in.
install="$tmp/new tab/100%41 b"$'\t'"x/build-x/install"
mkdir -p "$install/SAVE"
for entry in "$assets"/*; do
  [ "$(basename "$entry")" = SAVE ] || ln -s "$entry" "$install/"
done

registry="$tmp/registry.txt"
qv_set_install_dir "$registry" "$(qv_registry_text "$install")" >/dev/null
grep -qxF 'Install_Dir = sz:\tmp\'"${tmp#/tmp/}"'\new tab\100%2541 b%09x\build-x\install' "$registry" ||
  fail "unexpected value: $(cat -A "$registry")"

# The game finds its data there and reaches the loading screen's tap wait.
printf '%s\n' "on loading waiting for a tap" "close" >"$tmp/script.txt"
status=0
QUORVANE_BACKEND=headless QUORVANE_REGISTRY="$registry" QUORVANE_SCRIPT="$tmp/script.txt" \
  QUORVANE_TRACE="$tmp/trace.txt" QUORVANE_TIME_LIMIT=60000 "$game" 2>"$tmp/stderr.txt" || status=$?
grep -q ' loading waiting for a tap$' "$tmp/trace.txt" || fail "no loading screen: $(cat "$tmp/stderr.txt")"
[ "$status" -eq 0 ] || fail "exit code $status"

# A usable value stays as it is.
cp "$registry" "$tmp/before.txt"
qv_set_install_dir "$registry" '\elsewhere' >/dev/null
cmp -s "$registry" "$tmp/before.txt" || fail "a usable value was replaced"

# The older set-up's mangling: \t and \b turned into control characters, and
# a \n that split the value over two lines. Both are mended; the rest stays.
for mangled in 'Install_Dir = sz:%09mp\x%08uild\install' $'Install_Dir = sz:\\work\nine\\x'; do
  printf '[SOFTWARE\\Quorvane]\n%s\nGamma = dword:0x00000002\n' "$mangled" >"$registry"
  qv_set_install_dir "$registry" '\mended' >/dev/null
  [ "$(cat "$registry")" = $'[SOFTWARE\\Quorvane]\nInstall_Dir = sz:\\mended\nGamma = dword:0x00000002' ] ||
    fail "not mended: $(cat -A "$registry")"
done
echo "passed"
