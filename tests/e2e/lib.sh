# Helpers for end-to-end tests: the real game, started in a scratch copy of
# data/, on the X server in $DISPLAY, driven with xdotool.
# Usage: source lib.sh TIRAK_BINARY DATA_DIR

set -u
TIRAK=$1
DATA=$2
WORK=$(mktemp -d)
trap '[ "$GAME_PID" -gt 0 ] && kill "$GAME_PID" 2>/dev/null; rm -rf "$WORK"' EXIT
GAME_PID=0
WINDOW=
FAILURES=0
CHECKS=0

fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok: $*"; }
check() { # check DESCRIPTION COMMAND...
    local what=$1; shift
    CHECKS=$((CHECKS + 1))
    [ $# -gt 0 ] || { fail "$what (no check given)"; return; }
    if "$@"; then pass "$what"; else fail "$what"; fi
}

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY; run under xvfb-run"; exit 1; }

# fresh_data: a new scratch copy of data/ in $WORK/data.
fresh_data() {
    rm -rf "$WORK/data"
    cp -r "$DATA" "$WORK/data"
}

# start_game: runs the game in $WORK/data, output in $WORK/out and $WORK/err,
# and waits for its window.
start_game() {
    (cd "$WORK/data" && exec "$TIRAK" > "$WORK/out" 2> "$WORK/err") &
    GAME_PID=$!
    WINDOW=$(timeout 20 xdotool search --sync --pid "$GAME_PID" 2>/dev/null | head -n 1)
}

# wait_for_title REGEX [SECONDS]: true once the window title matches.
wait_for_title() {
    local deadline=$((SECONDS + ${2:-10}))
    while [ $SECONDS -lt $deadline ]; do
        xdotool getwindowname "$WINDOW" 2>/dev/null | grep -Eq "$1" && return 0
        sleep 0.1
    done
    return 1
}

# send_keys KEY...: focuses the game's window and types the keys.
send_keys() {
    xdotool windowfocus --sync "$WINDOW" key --delay 120 "$@" 2>/dev/null
}

# wait_for_exit [SECONDS]: waits for the game; its exit status in $EXIT_STATUS
# (124 when it did not end in time, and then it is killed).
wait_for_exit() {
    local deadline=$((SECONDS + ${1:-10}))
    while kill -0 "$GAME_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    if kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null; EXIT_STATUS=124
    else
        wait "$GAME_PID"; EXIT_STATUS=$?
    fi
    GAME_PID=0
}

# run_to_end: runs the game in $WORK/data when it is expected to stop by
# itself during start-up; its exit status in $EXIT_STATUS.
run_to_end() {
    (cd "$WORK/data" && timeout 20 "$TIRAK" > "$WORK/out" 2> "$WORK/err")
    EXIT_STATUS=$?
}

# play_briefly: starts the game, waits for its first frame-rate title and
# ends it with Escape; its exit status in $EXIT_STATUS (124: it never got
# to its frames, or did not end).
play_briefly() {
    start_game
    if [ -z "$WINDOW" ] || ! wait_for_title '^fps: ' 15; then
        wait_for_exit 1
        EXIT_STATUS=124
        return
    fi
    send_keys Escape
    wait_for_exit 5
}

# finish: the closing line that CTest and the CI read.
finish() {
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ]
}
