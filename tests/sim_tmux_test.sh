#!/usr/bin/env bash
# Drives the simulator's interactive screen through tmux as a person would:
# open the menu with Home, hire a random bodyguard with Down and Enter, see the
# hire in the world panel and the event log, find the save file written, quit
# with q and find the terminal given back.
#
# Usage: sim_tmux_test.sh PATH/TO/tavrossimer-sim
# Exit 77 (skipped) when tmux is not installed.
set -u

sim="${1:?usage: sim_tmux_test.sh PATH/TO/tavrossimer-sim}"
if ! command -v tmux >/dev/null 2>&1; then
    echo "SKIPPED: tmux is not installed (Debian: apt-get install tmux)"
    exit 77
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/tavrossimer-sim-tmux-XXXXXX")"
socket="$work/tmux.sock"
session="sim$$"
tmx() { tmux -S "$socket" "$@"; }
cleanup() {
    tmx kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    echo "---- screen ----"
    tmx capture-pane -t "$session" -p 2>/dev/null || true
    echo "---- simulator log ----"
    cat "$work/game/tavrossimer-sim.log" 2>/dev/null || true
    exit 1
}

# Waits until the screen shows the text (a grep pattern), at most 15 s.
wait_for() {
    local pattern="$1" what="$2"
    for _ in $(seq 1 150); do
        if tmx capture-pane -t "$session" -p 2>/dev/null | grep -q -- "$pattern"; then
            return 0
        fi
        sleep 0.1
    done
    fail "$what (no \"$pattern\" on the screen)"
}

tmx -f /dev/null new-session -d -s "$session" -x 132 -y 42 \
    "'$sim' --dir '$work/game' --fresh; echo SIMULATOR-EXITED-\$?; sleep 60" ||
    fail "tmux could not start the simulator"

wait_for "Tavrossimer simulator" "the screen did not come up"
wait_for "Bodyguards 0/7" "the world panel shows no empty roster"

tmx send-keys -t "$session" Home
wait_for "Random Bodyguard" "Home did not open the menu"
wait_for "> Custom Bodyguard" "the highlight is not on the first line"

tmx send-keys -t "$session" Down
wait_for "> Random Bodyguard" "Down did not move the highlight"

tmx send-keys -t "$session" Enter
wait_for "Bodyguards 1/7" "the hire did not show up in the world panel"
wait_for "\\[0\\] .*Bodyguard" "slot 0 does not show the new bodyguard"
wait_for "Hired " "the event log does not show the hire"
wait_for "Saved Tavrossimer.dat: 1 bodyguard" "the event log does not show the save"

save="$work/game/Tavrossimer.dat"
[ -f "$save" ] || fail "the save file was not written"
first="$(awk '{print $1}' "$save")"
count="$(wc -w < "$save")"
[ "$count" -eq 43 ] || fail "the save file holds $count values, not 43: $(cat "$save")"
[ "$first" = "0" ] || fail "slot 0 of the save file is not a male model: $(cat "$save")"

# Target the new bodyguard and open its commands through the prompt.
tmx send-keys -t "$session" t
wait_for "Show Commands" "targeting the bodyguard showed no prompt"
tmx send-keys -t "$session" c
wait_for "Stay Here" "completing Show Commands did not expand the prompts"

# Too small a terminal pauses the game; at 80x24 every slot and the prompts show.
tmx resize-window -t "$session" -x 60 -y 20
wait_for "Paused: make the terminal at least 80x24" "a small terminal did not pause the game"
tmx resize-window -t "$session" -x 80 -y 24
wait_for "\\[6\\] free" "at 80x24 the last slot is not shown"
wait_for "Prompts shown: .*Stay Here" "at 80x24 the prompts are not shown"

tmx send-keys -t "$session" q
wait_for "SIMULATOR-EXITED-0" "q did not end the simulator cleanly"
# The terminal is given back: the screen holds only the shell's lines now.
if tmx capture-pane -t "$session" -p | grep -q "What happened"; then
    fail "the simulator's screen is still shown after it ended"
fi
echo "PASSED: menu, hire, world panel, save file, prompts and quit through tmux"
exit 0
