# Start-up and shut-down of the real game: the context report, the title,
# the frame rate, Escape, a missing settings file and the window mode.
source "$(dirname "$0")/lib.sh" "$1" "$2"

fresh_data
start_game
check "a window opens" test -n "$WINDOW"
check "the title is TIRAK" wait_for_title '^TIRAK$' 5
# The rate itself depends on the machine: a software renderer draws the
# whole scene well below 60 frames a second at 1024x768.
check "after about a second the title shows the frame rate and the frame's work time" \
    wait_for_title '^fps: [0-9]+, dt: [0-9]+\.[0-9]{6}$' 15
send_keys Escape
wait_for_exit 5
check "Escape ends the game with status 0" test "$EXIT_STATUS" -eq 0
check "the context report names the OpenGL version" grep -Eq '^OpenGL Version: [0-9]+\.[0-9]+' "$WORK/out"
check "the context is a compatibility profile" grep -qx 'Having a compatibility-profile' "$WORK/out"
check "the fixed-function probe is announced" grep -qx 'Doing illegal operation (glTranslate) now...' "$WORK/out"
check "the probe reports no error on stderr" grep -qx 'Illegal operation did NOT cause an error message. :(' "$WORK/err"
# Loading the level and the resources prints more after it.
report_lines() { head -n 3 "$WORK/out" | sed 's/^OpenGL Version: .*/OpenGL Version: V/'; head -n 1 "$WORK/err"; }
check "the report comes first: three lines on stdout, one on stderr" \
    test "$(report_lines)" = "$(printf '%s\n' 'OpenGL Version: V' 'Having a compatibility-profile' \
        'Doing illegal operation (glTranslate) now...' 'Illegal operation did NOT cause an error message. :(')"

# Without its settings file the game says so in one line and opens nothing.
fresh_data
rm "$WORK/data/tirak.inp"
(cd "$WORK/data" && timeout 10 "$TIRAK" > "$WORK/out" 2> "$WORK/err")
status=$?
check "a missing tirak.inp exits with status 1" test "$status" -eq 1
check "a missing tirak.inp gives one line naming the file" \
    test "$(cat "$WORK/err")" = 'Cannot open "tirak.inp": the file is missing or unreadable.'
check "a missing tirak.inp prints nothing else" test ! -s "$WORK/out"

# is_fullscreen: the window covers the screen and bypasses the window manager.
is_fullscreen() { xwininfo -id "$WINDOW" | grep -q 'Override Redirect State: yes'; }
window_size() { xwininfo -id "$WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# try_mode SETTINGS_LINE: starts the game with that line in place of the
# window-mode line, and leaves it running its frames. (Escape is read only
# between frames: a key pressed and released while the game still loads
# would be missed.)
try_mode() {
    fresh_data
    sed -i "s/^fulscreen = no$/$1/" "$WORK/data/tirak.inp"
    sed -i 's/^width = .*/width = 640/; s/^height = .*/height = 480/' "$WORK/data/tirak.inp"
    start_game
    wait_for_title '^fps: ' 10
}

for value in no 0 false False N none; do
    try_mode "fulscreen = $value"
    check "fulscreen = $value gives a 640x480 window" test "$(window_size)" = 640x480
    check "fulscreen = $value is not fullscreen" eval '! is_fullscreen'
    send_keys Escape; wait_for_exit 5
done
for line in "fulscreen = yes" "fulscreen = off" "fullscreen = no" "# no window-mode line"; do
    try_mode "$line"
    check "'$line' gives the whole screen" is_fullscreen
    send_keys Escape; wait_for_exit 5
    check "'$line' still ends with status 0" test "$EXIT_STATUS" -eq 0
done

finish
