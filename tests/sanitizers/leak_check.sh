# The real game under valgrind from start-up to shut-down: it must leak
# nothing and make no invalid access. Allocations of the graphics driver's
# own are named in valgrind.supp beside this script.
# Usage: leak_check.sh TIRAK_BINARY DATA_DIR
source "$(dirname "$0")/../e2e/lib.sh" "$1" "$2"
SUPPRESSIONS=$(cd "$(dirname "$0")" && pwd)/valgrind.supp

fresh_data
(cd "$WORK/data" && exec valgrind --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --num-callers=40 \
    --suppressions="$SUPPRESSIONS" --log-file="$WORK/valgrind.log" \
    "$TIRAK" > "$WORK/out" 2> "$WORK/err") &
GAME_PID=$!
WINDOW=$(timeout 120 xdotool search --sync --pid "$GAME_PID" 2>/dev/null | head -n 1)
check "the game opens its window under valgrind" test -n "$WINDOW"
# drawn_frame: the window shows a drawn frame rather than a blank one.
drawn_frame() {
    import -window "$WINDOW" "$WORK/frame.png" 2>/dev/null &&
        test "$(convert "$WORK/frame.png" -format '%[fx:mean>0.02]' info:)" = 1
}
# Under valgrind a frame takes seconds, so the frame-rate title would take
# minutes: a drawn picture shows that the game got to its loop.
wait_for_frame() {
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do drawn_frame && return 0; sleep 3; done
    return 1
}
check "the game gets to its frames" wait_for_frame 240
send_keys Escape
wait_for_exit 180
check "Escape ends the game with status 0" test "$EXIT_STATUS" -eq 0
summary=$(grep -E 'ERROR SUMMARY' "$WORK/valgrind.log")
echo "$summary"
grep -E 'definitely lost|indirectly lost' "$WORK/valgrind.log"
check "valgrind finds no leak and no invalid access" grep -q 'ERROR SUMMARY: 0 errors' "$WORK/valgrind.log"
[ "$FAILURES" -eq 0 ] || cat "$WORK/valgrind.log"
finish
