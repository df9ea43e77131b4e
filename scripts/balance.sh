#!/usr/bin/env bash
# Builds everything and prints the balance of the generated card set as a
# player lives it: what a booster sells back for, the opponents' decks, the
# starter deck's and the opponents' results in whole matches, and how many
# matches simulated careers take to the end credits. Not part of the test
# suite; the matches are shared by a process on every core.
#
#   scripts/balance.sh                          all figures
#   scripts/balance.sh --careers 40 --matches 40   more of each
#   scripts/balance.sh --player-level 0         the player's side played by the weakest computer
set -euo pipefail
source "$(dirname "$0")/setup.sh"
exec "$QV_BUILD_DIR/bench/quorvane_balance" "$@"
