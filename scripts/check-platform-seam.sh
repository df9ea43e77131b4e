#!/usr/bin/env bash
# Fails (exit 1, listing the hits) when game code reaches the host around platform/.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
dirs=()
for d in shell engine cards match club infrared; do
  [ -d "$d" ] && dirs+=("$d")
done
[ ${#dirs[@]} -eq 0 ] && exit 0

includes='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(SDL|cstdio>|stdio\.h>|fstream>|iostream>|unistd\.h>|sys/|time\.h>|ctime>)'
# Calls of the host's services; ExitProcess and names that merely end in
# these words (e.g. RandomBelow, SetExitCode) do not match.
calls='(^|[^A-Za-z0-9_:.>])(getenv|fopen|printf|exit)[[:space:]]*\(|std::rand[[:space:]]*\(|::rand[[:space:]]*\(|std::(exit|getenv|fopen|printf)[[:space:]]*\('

hits=$(grep -rnE --include='*.cpp' --include='*.h' -e "$includes" -e "$calls" "${dirs[@]}" |
       grep -vE '^[^:]+:[0-9]+:[[:space:]]*//')
if [ -n "$hits" ]; then
  echo "Game code must talk to the host only through platform/:"
  echo "$hits"
  exit 1
fi
exit 0
