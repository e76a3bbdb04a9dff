# The game with its levels: the keys reach the game, a level can be played
# to its end, and a level that cannot be played ends the game with one line
# naming the file, at start-up and when a later level loads.
source "$(dirname "$0")/lib.sh" "$1" "$2"

# stderr_is LINE: the game's stderr is the context report's one line, then
# LINE.
stderr_is() {
    test "$(cat "$WORK/err")" = "Illegal operation did NOT cause an error message. :(
$1"
}

# last_error_is LINE: the game's last line on stderr is LINE, and it is the
# only error line (the start-up before it reports on shaders too).
last_error_is() {
    test "$(tail -n 1 "$WORK/err")" = "$1" && test "$(grep -c '^Cannot' "$WORK/err")" -eq 1
}

fresh_data
start_game
wait_for_title '^TIRAK$' 5
send_keys F5 F4
sleep 0.5
send_keys Escape
wait_for_exit 5
check "F5 reaches the game and says so" grep -qx 'MIPMAP NEAREST' "$WORK/out"
check "F4 after it switches to nearest sampling" grep -qx 'TEXTURESAMPLING NEAREST' "$WORK/out"
check "the game still ends with status 0" test "$EXIT_STATUS" -eq 0

# Level 1 played with the keys: launch, turn, launch ... The next level is
# broken on purpose, so reaching the goal shows as its error.
fresh_data
printf 'size = 3\ncubes = 1\nlevel = 1 1 1 6\n' > "$WORK/data/levels/2.lev"
start_game
# Keys typed while the game still loads all arrive in its first frame, so
# the launches would not wait for each other: play once the frames run.
wait_for_title '^fps: ' 10
for key in space d space d space a space; do
    send_keys "$key"
    sleep 1 # keys are ignored while the ship flies
done
wait_for_exit 5
check "finishing level 1 loads level 2, which ends the game with status 1" test "$EXIT_STATUS" -eq 1
check "the broken level 2 is named in one line" \
    last_error_is 'Cannot play "levels/2.lev": it has no ship start (a cell with the value 5).'


fresh_data
rm "$WORK/data/levels/1.lev"
run_to_end
check "a missing first level exits with status 1" test "$EXIT_STATUS" -eq 1
check "a missing first level is named in one line" \
    stderr_is 'Cannot open "levels/1.lev": the file is missing or unreadable.'

fresh_data
sed -i 's/^level = 1$/level = 3/' "$WORK/data/tirak.inp"
printf 'size = -4\n' > "$WORK/data/levels/3.lev"
run_to_end
check "a broken start level from the settings exits with status 1" test "$EXIT_STATUS" -eq 1
check "a negative size is named in one line" \
    stderr_is 'Cannot play "levels/3.lev": size is -4, which is negative.'

finish
