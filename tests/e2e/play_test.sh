# The game as a player sees it, judged from screenshots of its window: the
# render keys F3, F4 and F5, playing level 1 into level 2, turning and
# zooming the camera with the mouse, and Escape.
#
# Every picture check compares shots of the same game and measures the
# frame-to-frame noise first (the goal spins, the beamer's particles move),
# so that a change only counts when it is far above that noise.
# Set PLAY_TEST_SHOTS to a directory to keep the screenshots there.
source "$(dirname "$0")/lib.sh" "$1" "$2"

SHOTS=${PLAY_TEST_SHOTS:-$WORK/shots}
mkdir -p "$SHOTS"
WIDTH=640  # pixels: small enough for a quick software-rendered frame,
HEIGHT=480 # big enough for the texture filters to show
PIXELS=$((WIDTH * HEIGHT))

# settings LEVEL: a windowed game at WIDTH x HEIGHT starting at LEVEL.
settings() {
    printf 'width = %s\nheight = %s\nlevel = %s\nfulscreen = no\nEndConfigFile\n' \
        "$WIDTH" "$HEIGHT" "$1" > "$WORK/data/tirak.inp"
}

# frames N [SECONDS]: waits for N frames at the frame rate in the title, and
# at least SECONDS (half a second if left out), so that a key or mouse event
# has been drawn under load too. The title's rate is that of one recent
# frame and may be higher than the rate now: the lower bound is what counts.
frames() {
    local fps
    fps=$(xdotool getwindowname "$WINDOW" 2>/dev/null | sed -n 's/^fps: \([0-9][0-9]*\),.*/\1/p')
    sleep "$(awk -v n="$1" -v least="${2:-0.5}" -v fps="${fps:-0}" 'BEGIN {
        t = fps > 0 ? n / fps : 2; if (t < least) t = least; if (t > 30) t = 30; print t }')"
}

# shot NAME: a screenshot of the game's window as $SHOTS/NAME.png.
shot() { import -window "$WINDOW" "$SHOTS/$1.png"; }

# changed A B: how many pixels of shots A and B differ by more than 2%.
changed() {
    compare -metric AE -fuzz 2% "$SHOTS/$1.png" "$SHOTS/$2.png" null: 2>&1 |
        awk '{ printf "%d\n", $1 }'
}

# distance A B: root mean square difference, 0 to 1, of shots A and B scaled
# down to 1/8: the layout of the scene, not its texels or sparks.
distance() {
    convert "$SHOTS/$1.png" -scale 12.5% "$WORK/small_a.png"
    convert "$SHOTS/$2.png" -scale 12.5% "$WORK/small_b.png"
    compare -metric RMSE "$WORK/small_a.png" "$WORK/small_b.png" null: 2>&1 |
        sed 's/.*(\(.*\))/\1/'
}

# noise_box A B: "x0,y0 x1,y1", the box round every pixel that changed
# between shots A and B, grown by 8 pixels; none when nothing changed.
noise_box() {
    compare -fuzz 2% "$SHOTS/$1.png" "$SHOTS/$2.png" -compose src \
        -highlight-color white -lowlight-color black png:- 2>/dev/null |
        convert - -format '%@' info: 2>/dev/null |
        awk -F'[x+]' '$1 > 0 { printf "%d,%d %d,%d", $3 - 8, $4 - 8, $3 + $1 + 8, $4 + $2 + 8 }'
}

# changed_outside BOX A B: like changed, with BOX blacked out in both shots.
changed_outside() {
    local draw=${1:+rectangle $1}
    convert "$SHOTS/$2.png" -fill black -draw "${draw:-point -1,-1}" "$WORK/masked_a.png"
    convert "$SHOTS/$3.png" -fill black -draw "${draw:-point -1,-1}" "$WORK/masked_b.png"
    compare -metric AE -fuzz 2% "$WORK/masked_a.png" "$WORK/masked_b.png" null: 2>&1 |
        awk '{ printf "%d\n", $1 }'
}

# brightness NAME: the mean grey level of a shot, 0 to 1.
brightness() { convert "$SHOTS/$1.png" -colorspace gray -format '%[fx:mean]' info:; }

# lit NAME: the share of a shot's pixels brighter than a dim grey.
lit() { convert "$SHOTS/$1.png" -colorspace gray -threshold 15% -format '%[fx:mean]' info:; }

# wall_box NAME: width and height in pixels of the smallest box round the
# bright blue of the level's bounding walls. Stars are white and the nebulae
# dim, so only the walls have much more blue than red.
wall_box() {
    convert "$SHOTS/$1.png" -fx 'b - r > 0.15 && b > 0.25' -trim -format '%w %h' info:
}

# settled_wall_box NAME: shoots NAME until the walls' box stays the same
# from one shot to the next (a second or more apart: the measuring takes
# that long), then prints it. The camera zooms a little every frame until
# it has caught up with the wheel, however slowly the frames come.
settled_wall_box() {
    local box last= deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ]; do
        shot "$1"
        box=$(wall_box "$1")
        [ "$box" = "$last" ] && break
        last=$box
        frames 5
    done
    echo "$box"
}

# holds EXPRESSION NAME=VALUE...: true when the awk expression over the
# values holds; prints the values, so a failure shows what was measured.
holds() {
    local expr=$1; shift
    local args=() pair
    for pair in "$@"; do args+=(-v "$pair"); done
    echo "   measured: $* -> $expr"
    awk "${args[@]}" "BEGIN { exit !($expr) }"
}

# wait_for_output LINE COUNT: true once stdout holds LINE COUNT times.
wait_for_output() {
    local deadline=$((SECONDS + 5))
    while [ "$(grep -cx "$1" "$WORK/out")" -lt "$2" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# --- F3, F4 and F5 on level 1, which has no particles to add noise.
fresh_data
settings 1
start_game
wait_for_title '^fps: ' 10
frames 5
shot base
frames 20
shot base_again
noise=$(changed base base_again)
# A change counts when it is ten times the noise between two shots of the
# same state, and at least 1% of the window.
floor=$((PIXELS / 100))
big_change() { holds 'c > 10 * noise && c > floor' c="$1" noise="$noise" floor="$floor"; }
# A picture is restored when it differs from the baseline by less than a
# tenth of what the switch had changed.
restored() { holds 'back * 10 < c' back="$1" c="$2"; }

send_keys F3
frames 5
shot wire
wire_change=$(changed base wire)
check "F3 wire frame changes the picture far beyond the noise" big_change "$wire_change"
check "F3 wire frame is sparse: under half the lit pixels and the brightness" \
    holds 'wire_lit * 2 < lit && wire_mean * 2 < mean' \
    lit="$(lit base)" wire_lit="$(lit wire)" mean="$(brightness base)" wire_mean="$(brightness wire)"
send_keys F3
frames 5
shot filled
check "F3 again restores filled triangles" restored "$(changed base filled)" "$wire_change"

send_keys F4
check "F4 says TEXTURESAMPLING NEAREST" wait_for_output 'TEXTURESAMPLING NEAREST' 1
frames 5
shot nearest
nearest_change=$(changed base nearest)
check "F4 nearest sampling changes the texels far beyond the noise" big_change "$nearest_change"
send_keys F4
check "F4 again says TEXTURESAMPLING LINEAR" wait_for_output 'TEXTURESAMPLING LINEAR' 1
frames 5
shot linear
check "F4 again restores linear sampling" restored "$(changed base linear)" "$nearest_change"

send_keys F5
check "F5 says MIPMAP NEAREST" wait_for_output 'MIPMAP NEAREST' 1
frames 5
shot mip_nearest
check "F5 mipmaps change the minified textures far beyond the noise" \
    big_change "$(changed linear mip_nearest)"
send_keys F5
check "F5 again says MIPMAP LINEAR" wait_for_output 'MIPMAP LINEAR' 1
frames 5
shot mip_linear
send_keys F5
check "F5 a third time says MIPMAP OFF" wait_for_output 'MIPMAP OFF' 1
frames 5
shot mip_off
# Blending between mipmap levels changes little, and only where the
# textures are small on screen: measured outside the spinning goal, found as
# the box round the baseline's noise. Nearest sampling and mipmaps off are
# one state shot twice, so they show the noise left outside that box.
goal_box=$(noise_box base base_again)
check "F5 blending between mipmap levels changes the picture outside the spinning goal" \
    holds 'c > 10 * noise && c > floor' c="$(changed_outside "$goal_box" mip_nearest mip_linear)" \
    noise="$(changed_outside "$goal_box" nearest mip_off)" floor="$((PIXELS / 1000))"
# Switching mipmaps off from linear blending leaves nearest sampling.
check "MIPMAP OFF samples nearest: the picture matches F4's nearest one" \
    holds 'near * 10 < lin' near="$(changed nearest mip_off)" lin="$(changed linear mip_off)"
check "the texture lines come in the order of the keys" \
    test "$(grep -E '^(TEXTURESAMPLING|MIPMAP) ' "$WORK/out")" = "$(printf '%s\n' \
        'TEXTURESAMPLING NEAREST' 'TEXTURESAMPLING LINEAR' 'MIPMAP NEAREST' 'MIPMAP LINEAR' 'MIPMAP OFF')"

# --- The camera: the mouse turns it, the wheel moves it.
send_keys F4 # back to linear sampling
frames 5
shot view
xdotool windowfocus --sync "$WINDOW" mousemove_relative -- 60 0
frames 5
shot turned
turn_change=$(changed view turned)
check "moving the mouse sideways turns the camera: over a quarter of the picture changes" \
    holds 'c > pixels / 4' c="$turn_change" pixels="$PIXELS"
xdotool windowfocus --sync "$WINDOW" mousemove_relative -- -60 0
frames 5
shot turned_back
check "moving it back turns the camera back" restored "$(changed view turned_back)" "$turn_change"

# Three wheel steps move the camera from 14 to 17 units away, which should
# shrink the walls to about 14/17 of their size; six back bring it to 11.
read -r w0 h0 <<< "$(wall_box view)"
xdotool windowfocus --sync "$WINDOW" click --repeat 3 --delay 100 4
read -r w1 h1 <<< "$(settled_wall_box zoomed_out)"
check "the wheel rolled up moves the camera away: the walls shrink" \
    holds 'w1 < 0.9 * w0 && h1 < 0.9 * h0' w0="$w0" h0="$h0" w1="$w1" h1="$h1"
xdotool windowfocus --sync "$WINDOW" click --repeat 6 --delay 100 5
read -r w2 h2 <<< "$(settled_wall_box zoomed_in)"
check "the wheel rolled down brings it nearer: the walls grow" \
    holds 'w2 > 1.1 * w0 && h2 > 1.1 * h0' w0="$w0" h0="$h0" w2="$w2" h2="$h2"

send_keys Escape
wait_for_exit 5
check "Escape ends the game with status 0" test "$EXIT_STATUS" -eq 0

# --- Level 1 played to its goal with the keys of its solution,
# +x +z -x +z, shows level 2.
fresh_data
settings 1
start_game
wait_for_title '^fps: ' 10
frames 5
shot level1
# Keys are ignored while the ship flies, and a flight takes two frames a
# cell: wait for 30 frames, and at least 1.5 s.
for key in space d space d space a space; do
    send_keys "$key"
    frames 30 1.5
done
shot after_goal
send_keys Escape
wait_for_exit 5
check "the played game still ends with status 0" test "$EXIT_STATUS" -eq 0

fresh_data
settings 2
start_game
wait_for_title '^fps: ' 10
frames 5
shot level2
frames 20
shot level2_again
send_keys Escape
wait_for_exit 5
check "level 2 from the settings ends with status 0" test "$EXIT_STATUS" -eq 0
level_noise=$(distance level2 level2_again)
check "after the goal the window shows level 2, not level 1" \
    holds 'to2 < 3 * noise + 0.01 && to1 > 4 * to2' \
    to2="$(distance after_goal level2)" to1="$(distance after_goal level1)" noise="$level_noise"

finish
