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
# Under valgrind the first frames take many seconds; the title shows when
# the game has got to its loop.
check "the game gets to its frames" wait_for_title '^fps: ' 300
send_keys Escape
wait_for_exit 120
check "Escape ends the game with status 0" test "$EXIT_STATUS" -eq 0
summary=$(grep -E 'ERROR SUMMARY' "$WORK/valgrind.log")
echo "$summary"
grep -E 'definitely lost|indirectly lost' "$WORK/valgrind.log"
check "valgrind finds no leak and no invalid access" grep -q 'ERROR SUMMARY: 0 errors' "$WORK/valgrind.log"
[ "$FAILURES" -eq 0 ] || cat "$WORK/valgrind.log"
finish
