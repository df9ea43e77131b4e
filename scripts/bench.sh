#!/usr/bin/env bash
# Builds everything and prints the performance figures: the instructions of
# start-up, of every frame of a tournament match (the worst and the median),
# and per presented frame of a whole headless quick game; the peak memory of
# one and of twelve played tournament rounds; the level-2 computer's move
# time; the headless quick game's wall time and the window's processor use
# on a static screen, in a tap wait and in a match waiting for the player.
# Not part of the test suite.
#
#   scripts/bench.sh               all figures
#   QV_BENCH_CLIMB=60 scripts/bench.sh   also a 60 s hill climb for slow positions
set -euo pipefail
source "$(dirname "$0")/setup.sh"
root=$QV_ROOT
build=$QV_BUILD_DIR
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  return 0
}
trap cleanup EXIT

# An installation of its own (the built asset set linked in, an empty SAVE
# folder) and a registry that points at it, so that no run touches the
# player's settings or characters.
qv_link_installation "$build/install" "$work/install"
qv_set_install_dir "$work/registry.txt" "$(qv_registry_text "$work/install")" >/dev/null

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# A whole quick game through the real program: start-up on an installation
# without characters (the character screen comes first), its quick game, a
# tap that stops the who-starts wheel, then a player without a plan who drags
# every hand slot onto every cell in turn, taps every cell (a target to
# choose), the pile and the places of the end-of-match boxes' "Ok"; the match
# refuses wrong moves.
{
  printf 'on loading waiting for a tap\ntap 120 160\non state main loop\non screen enter 8\nwait 2000\n'
  printf 'tap 100 243\non match wheel spinning\nwait 300\ntap 120 160\n'
  for _ in 1 2 3 4 5 6; do
    for cell in $(seq 0 23); do
      c=$((cell / 4)) r=$((cell % 4))
      for slot in 0 1 2 3 4; do
        printf 'drag %d 270 %d %d 4\nwait 120\n' $((67 + 35 * slot)) $((40 * c + 9)) $((58 * r + 10))
      done
      printf 'tap %d %d\nwait 60\n' $((40 * c + 20)) $((58 * r + 25))
      printf 'tap 25 280\nwait 60\ntap 222 70\nwait 60\ntap 190 190\nwait 60\n'
    done
  done
  echo "quit 0"
} >"$work/full_match.script"

# One headless quick game played by bench/full_match.script; extra
# environment assignments may be given.
quick_game() {
  env QUORVANE_BACKEND=headless QUORVANE_REGISTRY="$work/registry.txt" \
    QUORVANE_SCRIPT="$work/full_match.script" QUORVANE_TIME_LIMIT=3000000 QUORVANE_AUDIO=none \
    QUORVANE_TRACE= "$@"
}

runner=$build/tests/scenario_runner
scenarios=$root/tests/scenarios
mkdir -p "$work/tmp"

# Start-up: from the program's start to its main loop (then it leaves).
if command -v valgrind >/dev/null; then
  echo "== Start-up"
  printf 'on loading waiting for a tap\ntap 120 160\non state main loop\nquit 0\n' >"$work/startup.script"
  env QUORVANE_BACKEND=headless QUORVANE_REGISTRY="$work/registry.txt" QUORVANE_SCRIPT="$work/startup.script" \
    QUORVANE_AUDIO=none QUORVANE_TRACE= valgrind --tool=callgrind --callgrind-out-file="$work/startup.out" \
    "$build/quorvane" >/dev/null 2>&1
  echo "instructions to the main loop (callgrind): $(awk '/^(summary|totals):/ {print $2; exit}' "$work/startup.out")"
  echo

  # Every frame of the player's match in a guest tournament, played by the
  # rooms' scripted player (it sends a whole turn's inputs in one frame).
  # callgrind writes its counts after each present; a first run with a trace
  # tells which presents belong to the match, a second runs without one, as
  # the player's game does.
  echo "== One tournament match, frame by frame"
  match_script=$scenarios/rooms/tournament-lost-at-the-guest-level.script
  (cd "$build" && TMPDIR="$work/tmp" QV_SCENARIO_TRACES="$work/traces" "$runner" "$match_script" >/dev/null 2>&1) || true
  mkdir -p "$work/frames"
  (cd "$build" && TMPDIR="$work/tmp" QV_GAME_WRAPPER="env QUORVANE_TRACE= valgrind --tool=callgrind \
    --callgrind-out-file=$work/frames/cg --dump-after=*HeadlessBackend::Present* --dump-instr=no --dump-line=no" \
    "$runner" "$match_script" >/dev/null 2>&1) || true
  read -r first last < <(awk '$2 == "present" {n++} / room tournament match/ {a = n + 1} / room tournament result/ {b = n}
    END {print a, b}' "$work/traces/$(basename "$match_script").trace")
  for ((i = first; i <= last; i++)); do
    printf '%d %s\n' "$i" "$(awk '/^(summary|totals):/ {print $2; exit}' "$work/frames/cg.$i")"
  done >"$work/match-frames.txt"
  rm -rf "$work/frames"
  read -r worst_frame worst < <(sort -k2 -n "$work/match-frames.txt" | tail -1)
  echo "frames: $(wc -l <"$work/match-frames.txt") (presents $first to $last)"
  echo "median frame: $(awk '{print $2}' "$work/match-frames.txt" | median) instructions"
  echo "worst frame: $worst instructions (present $worst_frame)"
  echo
fi

echo "== Peak memory of played tournament rounds (the headless program's resident memory)"
for script in tournament-lost-at-the-guest-level tournament-twelve-rounds-in-constant-memory; do
  peak=$(cd "$build" && TMPDIR="$work/tmp" "$runner" "$scenarios/rooms/$script.script" | grep -o 'peak memory [0-9]* kB' || true)
  echo "$script: ${peak:-the run failed}"
done
echo

echo "== Whole headless quick game"
quick_game QUORVANE_TRACE="$work/trace.txt" "$build/quorvane"
frames=$(grep -c ' present' "$work/trace.txt" || true)
result=$(grep -oE 'SOUNDS/(gagne|perdu)' "$work/trace.txt" | head -1 || true)
echo "presented frames: $frames (result: ${result:-none})"
if command -v valgrind >/dev/null; then
  quick_game valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$build/quorvane" \
    >/dev/null 2>"$work/callgrind.log"
  instructions=$(awk '/^(summary|totals):/ {print $2; exit}' "$work/callgrind.out")
  echo "instructions per presented frame (callgrind): $((instructions / frames))"
else
  echo "instructions per presented frame: valgrind is not installed; see the wall time below"
fi
times=()
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  quick_game "$build/quorvane"
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
done
wall=$(printf '%s\n' "${times[@]}" | median)
echo "wall time of the whole game (median of 5, no trace): $wall ms ($(awk -v w="$wall" -v f="$frames" 'BEGIN {printf "%.1f", w * 1000 / f}') us a frame)"

echo
echo "== Level-2 computer opponent"
climb=()
[ -n "${QV_BENCH_CLIMB:-}" ] && climb=(--climb "$QV_BENCH_CLIMB")
"$build/bench/quorvane_bench" ai "$root/tests/data/ai-positions" --random 2000 "${climb[@]}"

echo
echo "== Window (processor use of the game over 4 s, under Xvfb)"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "skipped: needs Xvfb and xdotool (apt-get install xvfb xdotool)"
  exit 0
fi
hz=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Processor use of the running game over 4 s, in percent of one core.
measure() {
  local c0 c1 t0 t1
  c0=$(cpu_of "$game_pid"); t0=$(date +%s%N)
  sleep 4
  c1=$(cpu_of "$game_pid"); t1=$(date +%s%N)
  awk -v c="$((c1 - c0))" -v hz="$hz" -v ns="$((t1 - t0))" 'BEGIN {printf "%.1f%%", 100 * c / hz / (ns / 1e9)}'
}
tap() {
  local window
  window=$(xdotool search --name Quorvane | head -1)
  xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)) mousedown 1
  sleep 0.1
  xdotool mouseup 1
}
Xvfb -displayfd 3 -screen 0 1400x1400x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for scale in 1 2 4; do
  cp "$work/registry.txt" "$work/window-registry.txt"
  QUORVANE_REGISTRY="$work/window-registry.txt" QUORVANE_SCALE=$scale SDL_AUDIODRIVER=dummy \
    "$build/quorvane" >/dev/null 2>&1 &
  game_pid=$!
  sleep 9  # logo, loading and its closing scroll: then the loading screen waits for a tap
  waiting=$(measure)
  tap 120 160
  sleep 2  # the main loop on the character screen (no character yet)
  static=$(measure)
  tap 100 243  # its quick game: the Versus intro, then the who-starts wheel
  sleep 5
  tap 120 160  # stops the wheel
  sleep 6      # the computer's first move, if it starts: then the match waits for the player
  match=$(measure)
  echo "scale $scale: static screen $static, loading screen's tap wait $waiting, match waiting for the player $match"
  kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null || true
  game_pid=""
done
