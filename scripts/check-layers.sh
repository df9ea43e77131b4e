#!/usr/bin/env bash
# Fails (exit 1, listing the hits) when a lower layer includes a higher one.
# Layers, top to bottom: shell/, club/ and infrared/, match/, cards/, engine/, platform/.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2

layer() {
  case $1 in
    platform) echo 0 ;; engine) echo 1 ;; cards) echo 2 ;; match) echo 3 ;;
    club | infrared) echo 4 ;; shell) echo 5 ;; *) echo -1 ;;
  esac
}

# The only upward reaches: the match launchers start a match, the quick save
# writes and restores the club's and the match's blocks, and a match over the
# link talks through the multiplayer room.
allowed() {
  case "$1 -> $2" in
    "cards/launchers."*" -> "*) return 0 ;;
    "cards/saves.cpp -> club/club.h" | "cards/saves.cpp -> match/match.h") return 0 ;;
    "match/"*" -> infrared/multiplayer_screen.h") return 0 ;;
  esac
  return 1
}

status=0
for dir in platform engine cards match club infrared; do
  [ -d "$dir" ] || continue
  own=$(layer "$dir")
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
    top=${target%%/*}
    [ "$(layer "$top")" -gt "$own" ] || continue
    allowed "$file" "$target" && continue
    [ $status -eq 0 ] && echo "A lower layer includes a higher one:"
    echo "$file:$line: $target"
    status=1
  done < <(grep -rnE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir")
done
exit $status
