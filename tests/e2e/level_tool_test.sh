# tirak-levels as a level designer runs it: the shipped levels check clean
# and solve to their known answers; broken levels are reported line by line.
# Usage: level_tool_test.sh TIRAK_LEVELS_BINARY DATA_DIR
set -u
TOOL=$(realpath "$1")
DATA=$(realpath "$2")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
CHECKS=0

check() { # check DESCRIPTION COMMAND...
    local what=$1; shift
    CHECKS=$((CHECKS + 1))
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); fi
}
# run ARGS...: the tool's stdout in $OUT, stderr in $ERR, status in $STATUS.
run() {
    "$TOOL" "$@" > "$WORK/out" 2> "$WORK/err"
    STATUS=$?
    OUT=$(cat "$WORK/out")
    ERR=$(cat "$WORK/err")
}
level() { # level NAME TEXT: writes a level file into the scratch directory
    printf '%s\n' "$2" > "$WORK/$1"
}

cd "$DATA"
run check levels/1.lev levels/2.lev levels/3.lev
check "the shipped levels check clean" test "$STATUS" -eq 0
check "a clean check prints nothing" test -z "$OUT$ERR"

run solve levels/1.lev
check "level 1 solves in 4 launches" test "$OUT" = "4 launches: +x +z -x +z"
check "a solved level exits with 0" test "$STATUS" -eq 0
run solve levels/2.lev
check "level 2 solves in 4 launches" test "$OUT" = "4 launches: -x +z +x +z"
run solve levels/3.lev
check "level 3 lists its dead ends, then solves in 6 launches" test "$OUT" = "dead end: 6 3 0
dead end: 6 3 3
dead end: 6 2 4
dead end: 4 3 3
dead end: 4 0 3
6 launches: +z -x +y -x +z -y"

run show levels/2.lev
check "show draws the floor of level 2" test "$(sed -n 2,9p "$WORK/out")" = "y = 0
     x 0 1 2 3 4 5
  z 0  # . . . . S
  z 1  . . . . . B
  z 2  # # # # # #
  z 3  . . . . . .
  z 4  B . . . # .
  z 5  . . . G . ."
check "show draws one layer per y" test "$(grep -c '^y = ' "$WORK/out")" -eq 6

cd "$WORK"
level lost.lev "size = 3
cubes = 2
level = 0 0 0 5 1 1 1 6"
level three.lev "size = 5
cubes = 5
level = 2 0 0 5 1 0 0 2 3 0 0 2 3 4 4 2 2 3 0 6"
level negative.lev "size = -2"
run check lost.lev missing.lev three.lev negative.lev
check "a bad check exits with 1" test "$STATUS" -eq 1
check "every problem is one line naming its file" test "$OUT" = "lost.lev: the goal cannot be reached from the ship start
missing.lev: cannot be opened
three.lev: 3 beamers; beamers come in one pair
three.lev: launching +x from 2 0 0 never ends: the beamers send the ship round for ever
negative.lev: size is -2, which is negative"

run solve lost.lev
check "an unsolvable level ends with 'no solution'" test "$(tail -n 1 "$WORK/out")" = "no solution"
check "an unsolvable level exits with 1" test "$STATUS" -eq 1
run solve three.lev
check "a never-ending flight is only a dead move" test "$OUT" = "1 launches: +y"
run solve negative.lev
check "a level that does not load cannot be solved" test "$OUT" = "no solution"
check "and says why on stderr" test "$ERR" = "negative.lev: size is -2, which is negative"

run
check "no command is a usage error" test "$STATUS" -eq 2
run solve a.lev b.lev
check "solve takes one file" test "$STATUS" -eq 2

echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
[ "$FAILURES" -eq 0 ]
