# End-to-end cases, one row each at the bottom: the real game, its tools and
# the benchmark, each run in a fresh scratch copy of data/ on an X server of
# this script's own. A row reads
#   name | exit status | change to data/ (shell) | what runs | what must hold after (shell, in the scratch directory)
# Usage: run.sh ROWS DATA_DIR TIRAK TIRAK_LEVELS TIRAK_MAKE_DATA TIRAK_BENCH SOUND_MATCH HIDE_GL
# ROWS: the rows whose names begin so (an extended regex). PLAY_SHOTS=DIR keeps the screenshots.
set -u
ROWS=$1 DATA=$(realpath -m "$2") TIRAK=$(realpath -m "$3") LEVELS=$(realpath -m "$4")
MAKE_DATA=$(realpath -m "$5") BENCH=$(realpath -m "$6") SOUND_MATCH=$(realpath -m "$7") HIDE_GL=$(realpath -m "$8")
HERE=$(cd "$(dirname "$0")" && pwd)
# Tesseract's OpenMP threads spin while they wait for work: on two busy cores
# one thread reads a shot in a fifth of the processor time, and as fast.
export OMP_THREAD_LIMIT=1
W=$(mktemp -d) PID= WIN= ST= FAILED=0 XVFB=
trap '[ -z "$PID" ] || kill "$PID" 2>/dev/null; [ -z "$XVFB" ] || kill "$XVFB"; rm -rf "$W"' EXIT
cd "$W" || exit 1

# An X server of its own lets groups of rows run side by side: keys go to
# the focused window, and two games on one server would take each other's
# focus. -noreset: Xvfb otherwise resets itself whenever its last client
# leaves, and a window opened during that reset fails to connect.
Xvfb -displayfd 3 -screen 0 "${SCREEN:-1280x1024}x24" -nolisten tcp -noreset 3> "$W/display" 2> /dev/null &
XVFB=$!
for _ in $(seq 100); do [ -s "$W/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$W/display")"
# A pipe that never brings a byte: reading it with a timeout is a sleep
# without a process of its own.
exec {NAP}<> <(:)

# What must hold: FILE is out, err, titles (every title seen) or win (the size).
has() { grep -qxF -- "$2" "$1"; }
like() { grep -qxE -- "$2" "$1"; }
last() { [ "$(tail -n 1 "$1")" = "$2" ]; }
is() { [ "$(cat "$1")" = "$(printf '%b' "$2")" ]; }
count() { [ "$(grep -cE -- "$2" "$1")" -eq "$3" ]; }

# run PROGRAM ARGS...: runs to its end in data/, like the game from its directory.
run() { (cd data && timeout 300 "$@" > ../out 2> ../err); ST=$?; }
levels() { run "$LEVELS" "$@"; }
bench() { run "$BENCH" "$@"; }
# xdotool's --sync waits for ever for a window that is gone or never came.
xdt() { timeout 30 xdotool "$@"; }
xdo() { xdt windowfocus --sync "$WIN" "$@" 2> /dev/null; }
keys() { xdo key --delay 60 "$@"; }
fps_title() { xdt getwindowname "$WIN" 2> /dev/null | tee -a titles | grep -q '^fps: '; }
# The game adds a byte to $FRAMES for every frame it shows (a file of its
# own for each game), so that waits count frames; one that cannot write
# there is waited for by its frame-rate title instead.
first_frame() { [ -s "$FRAMES" ] && { xdt getwindowname "$WIN" >> titles 2> /dev/null; :; } || fps_title; }

# game [ACTION...]: starts the game, waits for its frames (READY, by default
# its first frame), does ACTION and presses Escape. $ST is its status:
# 124 when it neither played nor ended in time.
GAMES=0
game() {
    FRAMES=$W/frames.$((GAMES += 1))
    : > "$FRAMES" && chmod 666 "$FRAMES"
    (cd data && export TIRAK_FRAME_TRACE=$FRAMES && exec ${WRAP:-} "${GAME:-$TIRAK}" > ../out 2> ../err) &
    PID=$! WIN=
    # One connection waits for the window: clients that came and went would
    # let Xvfb reset itself, and refuse the game, while it starts.
    timeout "${LIMIT:-60}" xdotool search --sync --pid "$PID" > window 2> /dev/null &
    local finder=$! deadline=$((SECONDS + ${LIMIT:-60})) played=
    while [ -z "$played" ] && kill -0 "$PID" 2> /dev/null && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
        WIN=$(head -n 1 window)
        [ -n "$WIN" ] && ${READY:-first_frame} && played=1
    done
    kill "$finder" 2> /dev/null
    if [ -n "$played" ]; then
        xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}' > win
        "$@"
        keys Escape
    fi
    deadline=$((SECONDS + ${LIMIT:-60}))
    while kill -0 "$PID" 2> /dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    if kill "$PID" 2> /dev/null; then
        # One that ignores the signal as well is killed outright.
        for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$PID" 2> /dev/null && sleep 0.5; done
        kill -KILL "$PID" 2> /dev/null; wait "$PID"; ST=124
    else wait "$PID"; ST=$?; fi
    PID=
    [ "$ST" != 0 ] || [ -n "$played" ] || ST="0 before any frame"
}

# Valgrind makes a frame take seconds: a drawn picture, not the title, shows the frames.
drawn_frame() { [ "$(grab png:- | convert - -format '%[fx:mean>0.02]' info:)" = 1 ] || ! sleep 3; }
valgrind_game() {
    WRAP="valgrind --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
        --num-callers=40 --suppressions=$HERE/valgrind.supp --log-file=$W/valgrind.log" READY=drawn_frame LIMIT=400 game
}

# The context report comes first; every image loads; stderr holds nothing
# but its first LINES (by default the probe's), the absent geometry shader
# and the beamer effect's progress.
started_cleanly() {
    local first=("${@:-Illegal operation did NOT cause an error message. :(}")
    [ "$(head -n 3 out | sed -E 's/^(OpenGL Version: )[0-9]+\.[0-9]+ .*/\1V/')" = "$(printf '%s\n' \
        'OpenGL Version: V' 'Having a compatibility-profile' 'Doing illegal operation (glTranslate) now...')" ] &&
        [ "$(head -n ${#first[@]} err)" = "$(printf '%s\n' "${first[@]}")" ] &&
        count err '^(> [A-Z][a-z]|Geometric shader file Shaders/phong.geom does not exist\.$)' $(($(wc -l < err) - ${#first[@]})) &&
        count out '^Shader linking succesfull\.$' 2 && count out '^The size of the image is: tex/' 47
}
normal_start() { is win 1024x768 && has titles TIRAK && like titles 'fps: [0-9]+, dt: [0-9]+\.[0-9]{6}' && started_cleanly; }
# The window's class, and its icon as the window system holds it: the width,
# the height, then a pixel a number, 0xAARRGGBB, from the top row down.
window_props() { xprop -id "$WIN" -notype WM_CLASS > class; xprop -id "$WIN" -notype 32c _NET_WM_ICON > icon; }
# The class is the menu entry's StartupWMClass, and the icon data/tex/icon.png, pixel for pixel.
class_and_icon() {
    is class 'WM_CLASS = "tirak", "tirak"' && [ "$(cat icon)" = "_NET_WM_ICON = $(identify -format '%w, %h' data/tex/icon.png), $(
        convert data/tex/icon.png -depth 8 rgba:- | od -An -v -tu1 -w4 |
            awk '{ printf "%s%.0f", (NR > 1 ? ", " : ""), $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }')" ]
}

# --- Windows past what llvmpipe draws, 16384 x 16384. There a frame takes
# over a second, too long to wait for a frame-rate title: the game is ready
# once its window is shown, and Escape, read after a frame, ends it with 0.
window_setting() { sed -i "s/^width = .*/width = $1/; s/^height = .*/height = $2/" tirak.inp; }
shown() { xwininfo -id "$WIN" 2> /dev/null | grep -q 'Map State: IsViewable'; }
# cut_down SIDE: the settings' SIDE x SIDE came down to 16384 x 16384, said in one line.
cut_down() {
    is win 16384x16384 && count out 'more than this display can draw' 1 && started_cleanly && has out \
        "tirak.inp: width = $1 and height = $1 are more than this display can draw, 16384 x 16384; the window is 16384 x 16384."
}
# Resized as no window manager would let it be, the window is put back and
# the game plays on: `resized` holds the size it then has.
resize_past_the_driver() {
    xdo windowsize "$WIN" 32767 32767
    sleep 0.5
    xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}' > resized
}

# --- On Wayland: a headless weston, and Debian's Wayland build of GLFW put
# first, so that the window is a Wayland one with an EGL context, as GLFW 3.4
# opens on a Wayland desktop. The benchmark shares the game's start-up and
# ends by itself after its frames.
skip() { echo "    skipped: $1"; SKIPPED=1 ST=0; }
on_wayland() {
    command -v weston > /dev/null || { skip 'weston is not installed'; return; }
    apt-get download libglfw3-wayland > download.log 2>&1 && dpkg-deb -x libglfw3-wayland_*.deb wayland ||
        { skip "libglfw3-wayland cannot be had: $(grep -v '^W:' download.log | tail -n 1)"; return; }
    local lib weston deadline=$((SECONDS + 30))
    lib=$(dirname "$(find "$W/wayland" -name 'libglfw.so.3' | head -n 1)")
    mkdir -m 700 runtime
    XDG_RUNTIME_DIR=$W/runtime weston --backend=headless-backend.so --socket=tirak --width=1280 --height=1024 \
        > weston.log 2>&1 &
    weston=$!
    until [ -S runtime/tirak ] || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
    run env -u DISPLAY XDG_RUNTIME_DIR="$W/runtime" WAYLAND_DISPLAY=tirak LD_LIBRARY_PATH="$lib" "$BENCH" levels/1.lev 180
    kill "$weston"
}
# GLEW's complaint of no GLX display, and otherwise a clean start; the frames played.
wayland_start() {
    [ -n "${SKIPPED:-}" ] && return
    started_cleanly 'Error: Unknown error' 'Illegal operation did NOT cause an error message. :(' &&
        has out 'tirak-bench: levels/1.lev, 180 timed frames at 1024x768' && like out 'fps_mean=[1-9][0-9.]* .*'
}

# new_titles N: waits for N new frame-rate titles, 50 frames apart.
new_titles() {
    local n=0 now last deadline=$((SECONDS + 60))
    last=$(xdt getwindowname "$WIN")
    while [ $n -lt "$1" ] && [ $SECONDS -lt $deadline ] && now=$(xdt getwindowname "$WIN" 2> /dev/null); do
        [ "$now" = "$last" ] || n=$((n + 1))
        last=$now
        sleep 0.1
    done
}

# frames N [SECONDS]: waits until the game has shown N frames more, and at
# least SECONDS; never more than 30 seconds. Without a frame count it waits
# N frames at the title's frame rate, and at least SECONDS or 0.5 s, so that
# an input has been drawn under load too; frame_time says how long that is.
# The wait reads the new bytes and naps in the shell itself: polled with
# stat and sleep, fifty times a second, it cost more than the game it waited for.
frames() {
    [ -s "$FRAMES" ] || { sleep "$(frame_time "$@")"; return; }
    local trace shown=0 chunk start=${EPOCHREALTIME//[.,]/} least waited
    least=$(awk -v s="${2:-0}" 'BEGIN { printf "%d", s * 1000000 }')
    exec {trace}< "$FRAMES"
    read -rN 100000000 -u "$trace" _
    while waited=$((${EPOCHREALTIME//[.,]/} - start)) && [ $waited -lt 30000000 ] && kill -0 "$PID" 2> /dev/null; do
        read -rN 100000 -u "$trace" chunk
        shown=$((shown + ${#chunk}))
        [ $waited -ge "$least" ] && [ $shown -ge "$1" ] && break
        read -rt 0.02 -u "$NAP" _
    done
    exec {trace}<&-
}
frame_time() {
    local fps
    fps=$(xdt getwindowname "$WIN" 2> /dev/null | sed -n 's/^fps: \([0-9]*\),.*/\1/p')
    awk -v n="$1" -v least="${2:-0.5}" -v fps="${fps:-0}" 'BEGIN {
        t = fps > 0 ? n / fps : 2; print (t < least ? least : (t > 30 ? 30 : t)) }'
}
# shows LINE N: stdout holds LINE within N frames, and a second at the least.
shows() {
    local tries
    tries=$(awk -v t="$(frame_time "$2" 1)" 'BEGIN { print int(t * 20) + 1 }')
    until has out "$1"; do [ $((tries -= 1)) -gt 0 ] || return 1; sleep 0.05; done
}

# --- The picture fills the window. black WxH+X+Y: the share of pure black
# pixels there; walls_centre: the middle of the walls' bright blue.
# Shots are PNG files stored without compression: each lives for a row or
# two, and compressing them was the suite's dearest work.
# Told of a window that has gone, import asks for one to be clicked, with the
# server grabbed: every other client, the next game too, would wait on it.
grab() { timeout 20 import -quality 1 -window "$WIN" "$@"; }
window_shot() { grab shot.png; }
black() { convert shot.png -crop "$1" +repage -fill white +opaque black -format '%[fx:1-mean]' info:; }
walls_centre() {
    convert shot.png -color-matrix '-1 0 1 0 0 1 0 0 0' -channel R -threshold 15% -channel G -threshold 25% \
        -channel RG -separate +channel -compose multiply -composite -trim -format '%[fx:page.x+w/2] %[fx:page.y+h/2]' info:
}
fills_screen() { frames 5; window_shot; read -r X Y <<< "$(walls_centre)"; }
resize_to_1200x900() { xdo windowsize "$WIN" 1200 900; frames 10 1; window_shot; }
mostly_lit() { awk -v t="$(black 1280x256+0+0)" -v r="$(black 256x1024+1024+0)" 'BEGIN { exit !(t < 0.05 && r < 0.05) }'; }

# F11 puts the window on the whole screen, filled, and keeps it so in the
# settings; the next start opens there, and F11 again brings the window and
# the settings' bytes back.
win_size() { xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
f11_whole_screen() {
    cp data/tirak.inp before.inp
    game eval 'frames 10; keys F11; fills_screen; win_size > whole_win'
    cp data/tirak.inp whole.inp
    game eval 'frames 10; keys F11; frames 10; win_size > back_win'
}
# The look of levels 1 to 3 as they were made: shots a second into the game,
# against references in e2e/pictures, within three times the difference of
# two runs of one build (the goal spins and the sparks move).
PICTURES=$HERE/pictures CHANGED=
# as_before NAME: a shot a second into the game, an eighth of its size,
# against the reference NAME.png (kept in REFERENCE_OUT when it is set).
as_before() {
    game eval 'frames 60 1; window_shot'
    convert shot.png -scale 12.5% "small$1.png"
    [ -z "${REFERENCE_OUT:-}" ] || cp "small$1.png" "$REFERENCE_OUT/$1.png"
    local d
    d=$(compare -metric RMSE "small$1.png" "$PICTURES/$1.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    echo "    $1: $d from the reference"
    awk -v d="$d" 'BEGIN { exit !(d < 0.012) }' || CHANGED+=" $1"
}
pictures() {
    for n in 1 2 3; do
        cp "$PICTURES/$n.lev" data/levels/1.lev
        as_before "$n"
    done
}
# Shipped levels 2 and 29 at 1920 x 1080 against pictures of the build
# that still drew every frame whole.
hd_pictures() {
    sed -i 's/^width = .*/width = 1920/; s/^height = .*/height = 1080/' data/tirak.inp
    for n in 2 29; do
        sed -i "s/^level = .*/level = $n/" data/tirak.inp
        as_before "hd-$n"
    done
}

# A launch along +x at a cube in x = 15 rests in x = 14 however long a frame
# takes: here the game is stopped for a second mid-flight. The level has no
# goal and no beamer, so only the ship moves.
# PNG files of 68 bytes whose headers claim 65535*65535 pixels, and 0*16.
png_65535() { printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\xff\xff\0\0\xff\xff\x08\x06\0\0\0\xb6\x05\xd9\x50\0\0\0\x0bIDATx\x9cc`\0\x02\0\0\x05\0\x01z^\xab?\0\0\0\0IEND\xaeB`\x82' > "$1"; }
png_zero() { png_65535 "$1"; printf '\0\0\0\0\0\0\0\x10\x08\x06\0\0\0\x38\x5d\x7e\x89' | dd of="$1" bs=1 seek=16 conv=notrunc 2> /dev/null; }
sixteen_wide() { printf 'size = 16\ncubes = 2\nlevel = 0 0 0 5 15 0 0 1\n' > levels/1.lev; }
# stalled_launch SECONDS SHOT: launches, stops the game that long 0.15 s into
# the flight (not at all for ""), and shoots where the ship came to rest.
stall() { [ -z "$1" ] || { sleep 0.15; kill -STOP "$PID"; sleep "$1"; kill -CONT "$PID"; }; }
stalled_launch() {
    game eval "frames 5; window_shot; cp shot.png start.png; keys space; stall '$1'; frames 60 1; window_shot; cp shot.png $2"
}
apart() { compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1; }

# Launched +x, the ship enters the beamer in 4 0 0, leaves from the one in
# 1 0 0 still flying +x, and meets 4 0 0 again. The goal is a turn away.
endless_level() {
    sed -i 's/^level = 1$/level = 2/' tirak.inp
    printf 'size = 6\ncubes = 4\nlevel = 2 0 0 5  1 0 0 2  4 0 0 2  2 0 3 6\n' > levels/2.lev
}
ENDLESS='levels/2.lev: the beamers send the ship round for ever; the level starts again.'
# The endless launch is told within 60 frames; then the ship rests, so F4 answers.
endless_launch() { IN_TIME=; keys space; shows "$ENDLESS" 60 && IN_TIME=1; keys F4; shows 'TEXTURESAMPLING NEAREST' 600; }

broken_levels() {
    printf 'size = 3\ncubes = 2\nlevel = 0 0 0 5 1 1 1 6\n' > lost.lev
    printf 'size = 5\ncubes = 5\nlevel = 2 0 0 5 1 0 0 2 3 0 0 2 3 4 4 2 2 3 0 6\n' > three.lev
    echo 'size = -2' > negative.lev
}

# The figures of a benchmark run of 30 frames hold together; never its speed.
bench_figures() {
    like out 'fps_mean=[0-9]+\.[0-9]{2} frame_p50_ms=[0-9]+\.[0-9]{2} frame_p99_ms=[0-9]+\.[0-9]{2} frame_max_ms=[0-9]+\.[0-9]{2} work_p50_ms=[0-9]+\.[0-9]{2} work_p99_ms=[0-9]+\.[0-9]{2} startup_ms=[0-9]+ peak_mib=[0-9]+' &&
        has out 'tirak-bench: levels/2.lev, 30 timed frames at 1024x768' && awk '
        /^fps_mean=/ { for (i = 1; i <= NF; i++) { split($i, kv, "="); f[kv[1]] = kv[2] } }
        /^  [a-z].* -?[0-9]+\.[0-9] ms$/ { parts++; sum += $(NF - 1); if ($(NF - 1) < 0) negative++
            if ($1 == "textures") textures = $(NF - 1) }
        /^processor / { cpu = $2 }
        # A frame is its work plus a sleep to the 60 Hz period, never shorter.
        END { exit !(f["frame_p50_ms"] <= f["frame_p99_ms"] && f["frame_p99_ms"] <= f["frame_max_ms"] &&
            f["work_p50_ms"] <= f["work_p99_ms"] && f["work_p50_ms"] <= f["frame_p50_ms"] &&
            f["work_p99_ms"] <= f["frame_p99_ms"] && f["frame_p50_ms"] >= 16.60 && f["fps_mean"] > 0 &&
            f["fps_mean"] <= 60.25 && f["fps_mean"] * f["frame_max_ms"] >= 990 && f["peak_mib"] >= 1 &&
            cpu > 0 && textures > 0 && parts == 12 && !negative &&
            sum - f["startup_ms"] < 1.5 && f["startup_ms"] - sum < 1.5) }' out
}

# --- The play-through, judged from screenshots of a 640x480 window. A change
# counts at ten times the noise between two shots of one state (the goal spins).
SHOTS=${PLAY_SHOTS:-$W/shots} PIXELS=$((640 * 480)) MISSED=0 NOISE=0
check() { if "${@:2}"; then echo "  ok: $1"; else echo "  FAIL: $1"; MISSED=$((MISSED + 1)); fi; }
# holds EXPRESSION NAME=VALUE...: awk's verdict, with the values shown.
holds() { local e=$1; shift; echo "    measured: $*"; awk "${@/#/-v}" "BEGIN { exit !($e) }"; }
shot() { grab "$SHOTS/$1.png"; }
# differ METRIC A B [OPTIONS...]: how shots A and B differ, after OPTIONS on both.
differ() { convert "$SHOTS/$2.png" "$SHOTS/$3.png" "${@:4}" -metric "$1" -compare -format '%[distortion]' info:; }
changed() { differ AE "$1" "$2" -fuzz 2% "${@:3}"; }
distance() { differ RMSE "$1" "$2" -scale 12.5%; }
grey() { convert "$SHOTS/$1.png" -colorspace gray "${@:2}" -format '%[fx:mean]' info:; }
big() { holds 'c > 10 * noise && c > pixels / 100' c="$1" noise="$NOISE" pixels=$PIXELS; }
restored() { holds 'back * 10 < c' back="$1" c="$2"; }
# press KEY SHOT [LINE]: the key, its LINE on stdout, then a shot of its effect.
press() {
    keys "$1"
    local deadline=$((SECONDS + 10))
    until [ -z "${3:-}" ] || [ "$(grep -E '^(TEXTURESAMPLING|MIPMAP) ' out | tail -n 1)" = "$3" ]; do
        [ $SECONDS -lt $deadline ] || { check "$1 says $3" false; break; }
        sleep 0.1
    done
    frames 5
    shot "$2"
}
# noise_box A B: "x0,y0 x1,y1" round every pixel that changed from A to B, grown by 8.
noise_box() {
    compare -fuzz 2% "$SHOTS/$1.png" "$SHOTS/$2.png" -compose src -highlight-color white -lowlight-color black png:- |
        convert - -format '%@' info: | awk -F'[x+]' '$1 > 0 { printf "%d,%d %d,%d", $3 - 8, $4 - 8, $3 + $1 + 8, $4 + $2 + 8 }'
}
# wall_box SHOT: the size of the walls' bright blue, where blue - red > 15% and blue > 25%
# (stars are white, nebulae dim), shot until it holds still: the camera catches up
# with the wheel a little each frame.
wall_box() {
    local box last= deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ]; do
        shot "$1"
        box=$(convert "$SHOTS/$1.png" -color-matrix '-1 0 1 0 0 1 0 0 0' -channel R -threshold 15% \
            -channel G -threshold 25% -channel RG -separate +channel -compose multiply -composite -trim -format '%w %h' info:)
        [ "$box" = "$last" ] && break
        last=$box
        frames 5
    done
    echo "$box"
}

render_keys_and_camera() {
    frames 60; shot base; frames 20; shot base_again
    NOISE=$(changed base base_again)
    press F3 wire
    local wire nearest turn box
    wire=$(changed base wire)
    check "F3 draws wire frames" big "$wire"
    check "wire frames are sparse: under half the lit pixels and the brightness" holds 'wl * 2 < l && wm * 2 < m' \
        l="$(grey base -threshold 15%)" wl="$(grey wire -threshold 15%)" m="$(grey base)" wm="$(grey wire)"
    press F3 filled
    check "F3 again fills the triangles" restored "$(changed base filled)" "$wire"
    press F4 nearest 'TEXTURESAMPLING NEAREST'
    nearest=$(changed base nearest)
    check "F4 samples the nearest texel" big "$nearest"
    press F4 linear 'TEXTURESAMPLING LINEAR'
    check "F4 again samples linearly" restored "$(changed base linear)" "$nearest"
    press F5 mip_nearest 'MIPMAP NEAREST'
    check "F5 uses mipmaps" big "$(changed linear mip_nearest)"
    press F5 mip_linear 'MIPMAP LINEAR'
    press F5 mip_off 'MIPMAP OFF'
    # Blending mip levels shows only where textures are small, so it is judged
    # outside the spinning goal; nearest and mipmaps off are one state shot twice.
    box="rectangle $(noise_box base base_again)"
    check "F5 blends between mip levels" holds 'c > 10 * n && c > pixels / 1000' pixels=$PIXELS \
        c="$(changed mip_nearest mip_linear -fill black -draw "$box")" n="$(changed nearest mip_off -fill black -draw "$box")"
    check "mipmaps off sample the nearest texel" holds 'near * 10 < lin' near="$(changed nearest mip_off)" lin="$(changed linear mip_off)"
    check "the lines come in the order of the keys" test "$(grep -E '^(TEXTURESAMPLING|MIPMAP) ' out)" = "$(printf '%s\n' \
        'TEXTURESAMPLING NEAREST' 'TEXTURESAMPLING LINEAR' 'MIPMAP NEAREST' 'MIPMAP LINEAR' 'MIPMAP OFF')"
    press F4 view
    xdo mousemove_relative -- 60 0; frames 5; shot turned
    turn=$(changed view turned)
    check "the mouse turns the camera: over a quarter of the picture changes" holds 'c > pixels / 4' c="$turn" pixels=$PIXELS
    xdo mousemove_relative -- -60 0; frames 5; shot turned_back
    check "moving it back turns the camera back" restored "$(changed view turned_back)" "$turn"
    # Three steps up take the camera from 14 to 17 units away, six down to 11.
    read -r w0 h0 <<< "$(wall_box view)"
    xdo click --repeat 3 --delay 100 4
    read -r w1 h1 <<< "$(wall_box zoomed_out)"
    check "the wheel rolled up moves the camera away" holds 'w1 < 0.9 * w0 && h1 < 0.9 * h0' w0="$w0" h0="$h0" w1="$w1" h1="$h1"
    xdo click --repeat 6 --delay 100 5
    read -r w2 h2 <<< "$(wall_box zoomed_in)"
    check "the wheel rolled down brings it nearer" holds 'w2 > 1.1 * w0 && h2 > 1.1 * h0' w0="$w0" h0="$h0" w2="$w2" h2="$h2"
}

play_through() {
    mkdir -p "$SHOTS"
    game render_keys_and_camera
    check "Escape ends the game with status 0" test "$ST" = 0
    game eval 'solve_level_1; shot after_goal'
    check "the played game ends with status 0" test "$ST" = 0
    sed -i 's/^level = 1$/level = 2/' data/tirak.inp
    game eval 'frames 60; shot level2; frames 20; shot level2_again'
    check "after the goal the window shows level 2, not level 1" holds 'to2 < 3 * noise + 0.01 && to1 > 4 * to2' \
        to2="$(distance after_goal level2)" to1="$(distance after_goal base)" noise="$(distance level2 level2_again)"
}

# H and Space as often as level 4's shortest way has launches: then the window shows level 5.
hint_through_level_4() {
    mkdir -p "$SHOTS"
    game eval 'for _ in 1 2 3 4; do keys h space; new_titles 2; done; shot hinted'
    sed -i 's/^level = 4$/level = 5/' data/tirak.inp
    game eval 'frames 60; shot level5; frames 20; shot level5_again'
    sed -i 's/^level = 5$/level = 4/' data/tirak.inp
    game eval 'frames 60; shot level4'
    check "H and Space four times solve level 4" holds 'to5 < 3 * noise + 0.01 && to4 > 4 * to5' \
        to5="$(distance hinted level5)" to4="$(distance hinted level4)" noise="$(distance level5 level5_again)"
}

# The words on screen, as tesseract reads them off a shot of the window: the
# light text alone, dark on white and twice as large, on one line in `said`.
# PSM=4 reads a column of lines of several sizes, as F1 shows them, whole.
# OCR=deu (fra, spa) reads with that language's letters and words.
read_text() { window_shot; read_shot shot.png; }
read_shot() {
    convert "$1" -colorspace gray -threshold 75% -negate -resize 200% -quality 1 read.png
    timeout 60 tesseract read.png - ${PSM:+--psm $PSM} ${OCR:+-l $OCR} 2> /dev/null | tr '\n' ' ' > said
}
# in_language LANGUAGE OCR WORDS...: level 1's title card, with the status
# line under it, and then F1's panel, read as a player of LANGUAGE (the
# environment's) sees them: the card into card_said, the panel into said.
in_language() {
    local language=$1 ocr=$2
    shift 2
    WRAP="env LANGUAGE=$language" OCR=$ocr READY=shown game eval "read_until $(printf '%q ' "$@"); cp said card_said; frames 10; keys F1; frames 10; read_text"
}
# says TEXT [FILE]: FILE (`said`) holds TEXT; the reader's spaces do not count.
says() { tr -d ' ' < "${2:-said}" | grep -qF -- "${1// /}"; }
# read_until TEXT...: reads the screen again and again, for twenty seconds
# at the most, until it shows every TEXT. A title card holds for 2.5 seconds
# of the clock, from its level's first frame or the solve; on a busy machine
# that is fewer frames than a frame-rate title or a fixed wait takes, and a
# large window's first frame can come later than that.
# On a busy machine reading a shot can take longer than a card holds, so
# the first four seconds are also shot every 0.4 s; should the screen never
# show every TEXT, those shots are read too before it gives up.
read_until() {
    local deadline=$((SECONDS + 20)) shot burst
    # The card's clock starts with the first frame, which on a busy machine
    # comes seconds after the window shows: the burst starts with it.
    until first_frame || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
    rm -rf shots && mkdir shots
    # It is stopped between shots, not killed: a shot it left behind would
    # still be taking the window as the game closes it.
    (for k in 0 1 2 3 4 5 6 7 8 9; do
        grab "shots/$k.png" 2> /dev/null
        for _ in 1 2 3 4; do [ -e shots/enough ] && exit; read -rt 0.1 -u "$NAP" _; done
    done) &
    burst=$!
    while :; do
        read_text
        shows_all "$@" && break
        [ $SECONDS -lt $deadline ] && continue
        wait "$burst"
        for shot in shots/?.png; do
            [ -e "$shot" ] && cp "$shot" shot.png && read_shot shot.png && shows_all "$@" && break 2
        done
        break
    done
    : > shots/enough; wait "$burst" 2> /dev/null
    return 0
}
shows_all() { local text; for text in "$@"; do says "$text" || return 1; done; }
# big_screen COMMAND...: runs it on an X server of its own, 2560 x 1440.
big_screen() {
    local xvfb
    Xvfb -displayfd 3 -screen 0 2560x1440x24 -nolisten tcp 3> "$W/display" 2> /dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$W/display" ] && break; sleep 0.1; done
    DISPLAY=":$(head -n 1 "$W/display")" "$@"
    kill "$xvfb"; wait "$xvfb" 2> /dev/null
}
# read_only COMMAND...: runs it with data/ mounted read-only over itself, as a
# directory the player may not write to (root may write wherever a mode says no).
read_only() {
    mount --bind data data && mount -o remount,ro,bind data || return 1
    "$@"
    umount data
}
# Text on screen: the rows below that look at the design's picture run without it.
text_on() { sed -i 's/^text = no$/text = yes/' tirak.inp; }
# Level 1's shortest way by keys: +x, +z, -x, +z.
solve_level_1() { launch_level_1; frames 20; }
# The keys of level 1's shortest way, up to its last launch.
launch_level_1() {
    frames 10
    local key
    # Keys are ignored while the ship flies. A flight counts frames, and the
    # longest of these crosses four cells in eight: a launch waits 20.
    for key in space D space D space A; do keys "$key"; [ "$key" != space ] || frames 20; done
    keys space
}
# --- What the game sounds like, recorded by OpenAL Soft's own wave writer
# into rec.wav. The game writes a line to `trace` for each sound it plays:
# the output's clock when the frame played it, and the file.
sound_on() { sed -i 's/^sound = no$/sound = yes/' tirak.inp; }
# The sounds and the music, in front or behind.
music_on() { sed -i 's/^sound = no$/sound = yes/; s/^music = no$/music = yes/' tirak.inp; }
# al_conf LINES...: an OpenAL Soft configuration of these lines in al.conf.
al_conf() { printf '%s\n' "$@" > "$W/al.conf"; }
recorded() {
    al_conf '[general]' 'drivers = wave' 'frequency = 44100' '[wave]' "file = $W/rec.wav"
    WRAP="env ALSOFT_CONF=$W/al.conf TIRAK_SOUND_TRACE=$W/trace" "$@"
}
# The recording starts once the reader has opened the output; the sounds
# are read straight after.
recording() {
    local deadline=$((SECONDS + 30))
    until [ "$(stat -c %s rec.wav 2> /dev/null || echo 0)" -gt 44 ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
    frames 10
}
# Level 1's first launch rests against the cube in 4 0 0; under M the next
# one, +z, to the cube in 3 0 4, is silent.
launch_then_muted_launch() { recording; keys space; frames 30 1; keys m; keys d space; frames 30 1; }
# Each sound starts within 50 ms of the frame that played it, the muted ones
# are not heard, and the rest of the recording is silent.
heard_then_silent() {
    [ "$(cut -d' ' -f2- trace | tr '\n' ,)" = \
        'sounds/launch.wav,sounds/stop.wav,sounds/launch.wav muted,sounds/stop.wav muted,' ] || return 1
    read -r launch _ < trace
    read -r stop _ <<< "$(sed -n 2p trace)"
    read -r muted _ <<< "$(sed -n 3p trace)"
    "$SOUND_MATCH" rec.wav data/sounds/launch.wav "$launch" data/sounds/stop.wav "$stop" > heard || return 1
    cat heard trace
    awk -v launch="$launch" -v stop="$stop" -v muted="$muted" '
        function near(at, t) { return at - t <= 0.05 && t - at <= 0.05 }
        /launch.wav at/ { ok_launch = near($3, launch) && $5 > 0.5 }
        /stop.wav at/ { ok_stop = near($3, stop) && $5 > 0.5 }
        /^sounding/ { stretches++; from = $2; to = $3 }
        /^length/ { length_ = $2 }
        END { exit !(ok_launch && ok_stop && stretches == 1 && from >= launch - 0.05 && to < stop + 0.5 &&
                     to < muted && length_ > muted + 0.5) }' heard
}

# --- The music. From level 11, the second piece, a launch, then PageUp to
# level 10, whose piece fades in as the other fades out.
launch_then_level_10() { recording; keys space; frames 30 1; keys Prior; frames 120 2.2; }
# It sounds from the start to the end without a gap over 50 ms and never
# clips; the launch stands out of it, and each piece was asked for in turn.
music_heard() {
    local launch
    read -r launch _ <<< "$(grep ' sounds/launch.wav$' trace)"
    [ "$(grep -o ' music/.*' trace | tr '\n' ,)" = ' music/lattice.ogg, music/drift.ogg,' ] || return 1
    "$SOUND_MATCH" rec.wav data/sounds/launch.wav "$launch" > heard || return 1
    cat heard trace
    awk -v launch="$launch" '
        /launch.wav at/ { ok_launch = $3 - launch <= 0.05 && launch - $3 <= 0.05 && $5 > 0.5 }
        /^sounding/ { stretches++; to = $3 }
        /^length/ { length_ = $2 }
        /^peak/ { peak = $2 }
        END { exit !(ok_launch && stretches == 1 && to > length_ - 0.1 && peak != "" && peak < 0.99) }' heard
}
# In front, then behind a window of another program.
behind_another_window() {
    recording; xdo; frames 60 1
    xmessage -timeout 20 behind > /dev/null 2>&1 & local other=$!
    xdt windowfocus --sync "$(xdt search --sync --class '^Xmessage$' | head -n 1)" 2> /dev/null; frames 90 2
    kill $other 2> /dev/null
}
# The last time it went behind, everything is silent within a second.
faded_behind() {
    local behind
    read -r behind _ <<< "$(grep ' behind$' trace | tail -n 1)"
    "$SOUND_MATCH" rec.wav > heard || return 1
    cat heard trace
    awk -v behind="$behind" '/^sounding/ { stretches++; to = $3 }
        END { exit !(behind > 0 && stretches == 1 && to > behind && to < behind + 1) }' heard
}

# --- The level editor by keys. A new level has its ship in 0 0 0 and its
# goal in 5 0 0; from the first view Right is +x and Down +z. The goal goes,
# cubes go in 3 0 0 and 2 0 4 and the goal in 1 0 3: +x, +z, -x reach it.
# Saved, the level is played by Tab and those launches, back to the editor.
build_by_keys() {
    frames 10
    keys e ctrl+n Right Right Right Right Right Delete; frames 10 1; read_text; cp said no_goal_said
    keys Left Left 1 Left Down Down Down Down 1 Up Left 6; frames 10 1; read_text; cp said solvable_said
    keys ctrl+s Tab
    for key in space d space d space; do keys $key; frames 20; done
    read_text; cp said back_said
}
built_level_plays() {
    game build_by_keys
    levels solve mylevels/1.lev && cp out solved
    sed -i 's/^EndConfigFile$/level_set = mylevels\n&/' data/tirak.inp
    game eval 'frames 10; read_text; cp said restart_said; keys e; frames 10 1; read_text'
}

# A chat line on the clipboard is no code; level 1 copied by Ctrl+C is the
# code tirak-levels gives, and Ctrl+V makes it the player's first level.
copy_and_paste() {
    echo 'see you at eight' | xclip -selection clipboard > /dev/null 2>&1
    game eval 'frames 10; keys e ctrl+v; frames 5; keys ctrl+c; frames 5
        timeout 10 xclip -o -selection clipboard > code; keys ctrl+v; frames 5'
    cp out game_out
    levels code levels/1.lev && cp out shipped_code
    levels decode "$(cat code)" && cp out decoded
}

# --- The pad, from a recorded script that stands in for the device: no key
# is pressed. pad_script WORD...: a number rests that many frames, any
# other word presses and lets go its inputs, "Back+Y" as a chord. Flights
# count frames, so the rests are exact whatever the frame rate.
pad_script() {
    local word
    for word in "$@"; do
        case $word in
            [0-9]*) echo "$word" ;;
            Back+*) printf '2 Back\n2 Back %s\n2\n' "${word#Back+}" ;;
            *) printf '2 %s\n2\n' "$word" ;;
        esac
    done > "$W/pad"
}
# Level 1's shortest way, as launch_level_1 plays it by keys.
by_pad() { WRAP="env TIRAK_PAD_SCRIPT=$W/pad" game eval "$1"; }
# Then the status line names the pad's help button.
pad_plays_level_1() {
    pad_script 20 A 40 DpadRight A 40 DpadRight A 40 DpadLeft A 60
    by_pad 'read_until "Level 2" "Back keys"'
}
# build_by_keys's level, by pad, saved.
pad_builds_a_level() {
    local start=$SECONDS
    pad_script 20 Back+Start 10 Back+Y 10 DpadRight DpadRight DpadRight DpadRight DpadRight B DpadLeft DpadLeft A DpadLeft \
        DpadDown DpadDown DpadDown DpadDown A DpadUp DpadLeft Y 10 Back+A 30
    by_pad 'until grep -q "^Saved mylevels/1\.lev" out || [ $((SECONDS - start)) -gt 30 ]; do sleep 0.1; done; frames 10'
    cp out game_out
    levels solve mylevels/1.lev && cp out solved
}
# Level 1 by the player's keys: Space asks nothing now, Return launches,
# L turns right. Then F1 shows them (its panel hides level 2's card).
rebound_keys() {
    sed -i 's/^EndConfigFile$/key_launch = Return\nkey_right = L\nkey_hint = Return\nkey_jump = J\nkey_undo = Bakspace\n&/' data/tirak.inp
    game eval 'frames 10; for key in space Return L+Return L+Return A+Return; do keys ${key/+/ }; frames 20; done; keys F1; frames 10; PSM=4 read_text'
}
# The menu after level 1 is solved (its progress is written as the goal is
# reached): F2, then Levels, which opens at level 1 again after PageUp;
# level 2 from the list plays it.
menu_levels() {
    solve_level_1
    local tries=200
    until grep -qs '^level_1 = 4$' data/progress.inp || [ $((tries -= 1)) -eq 0 ]; do sleep 0.1; done
    keys Prior; frames 10
    keys F2; read_until Continue Quit; cp said menu_said
    keys Down Return; PSM=4 read_until "First Flight" closed; cp said levels_said
    keys Down Return; read_until "Level 2" "The Wall"
}
# Keys from the menu: launch gets Return (chosen with Return, which is then
# the key pressed), and level 1 is solved by it; the next start, with the
# progress gone, solves it again so.
solve_by_return() {
    frames 10
    local key
    for key in Return D Return D Return A Return; do keys "$key"; [ "$key" != Return ] || frames 20; done
}
launch_by_return() {
    game eval 'frames 10; keys F2 Down Down Down Return Down Down Down Down Return Return F2; solve_by_return'
    mv data/progress.inp first_progress.inp
    game solve_by_return
}
# Options by keys: the text off, on again, then large, each shot with the
# menu closed; then the volume, the mouse's speed and its up and down. The
# next start keeps them all, as its options screen says.
# status_height SHOT: how tall the status line is, where SHOT differs from
# plain.png (no text) in the window's bottom tenth.
options_by_keys() {
    local options='F2 Down Down Return'
    game eval "frames 10; keys $options Down Down Down Down Return F2; frames 10; window_shot; cp shot.png plain.png
        keys $options Down Down Down Down Return F2; frames 10; window_shot; cp shot.png medium.png
        keys $options Down Down Down Down Down Right F2; frames 10; window_shot; cp shot.png large.png
        keys $options Down Left Down Down Down Down Down Left Down Return F2"
    cp data/tirak.inp chosen.inp
    game eval 'frames 10; window_shot; cp shot.png again.png; keys F2 Down Down Return
        PSM=4 read_until "Volume: 70" "Text: on" "Text size: large" "Mouse speed: 75%" "inverted"'
}
status_height() {
    compare -fuzz 10% "$1" plain.png -compose src -highlight-color white -lowlight-color black png:- |
        convert - -gravity south -crop 100%x10%+0+0 +repage -trim -format '%h' info:
}
# A French keyboard: the keys the game calls A and W say Q and Z, and F1
# says so. The layout is this server's, so it is put back.
french_keyboard() {
    setxkbmap -layout fr
    game eval 'frames 10; keys F1; frames 10; PSM=4 read_text'
    local status=$ST
    setxkbmap -layout us
    ST=$status
}

# --- Random keys, the editor's among them, for RANDOM_KEYS_SECONDS (20 by
# default): games of about ten seconds, one in six killed on the way, while
# levels/ is now and then read-only (as root), so that saves fail. No game
# may end with status 1, and every level file must still read. Counts go to
# `random`.
PLAY_KEYS=(a d w s space r u h Prior Next Home End e m F1 F3 F2 Return BackSpace Tab 0 1 2 5 6 Delete plus minus Left Right Up Down
    ctrl+z ctrl+y ctrl+s ctrl+n ctrl+c ctrl+v v)
random_presses() {
    local batch k pick
    for batch in $(seq 12); do
        pick=()
        for k in $(seq 10); do pick+=("${PLAY_KEYS[RANDOM % ${#PLAY_KEYS[@]}]}"); done
        xdo key --delay 40 "${pick[@]}" || return
        [ $((RANDOM % 72)) -ne 0 ] || { kill -KILL "$PID"; return; }
        sleep 0.3
    done
}
levels_now_and_then_read_only() {
    [ "$(id -u)" = 0 ] || return 0
    while sleep 2; do
        mount --bind data/levels data/levels && mount -o remount,ro,bind data/levels data/levels && sleep 1
        umount data/levels 2> /dev/null
    done
}
random_keys() {
    local until=$((SECONDS + ${RANDOM_KEYS_SECONDS:-20})) flipper level
    RANDOM=${RANDOM_KEYS_SEED:-7}
    : > statuses
    : > all_out
    levels_now_and_then_read_only & flipper=$!
    while [ $SECONDS -lt $until ]; do
        game random_presses
        echo "$ST" >> statuses
        cat out >> all_out
        [[ $ST =~ ^(0|137)$ ]] || { echo "    a game ended with status $ST:"; tail -n 5 out err; }
    done
    kill "$flipper"; wait "$flipper" 2> /dev/null
    while umount data/levels 2> /dev/null; do :; done
    ST=0
    for level in data/levels/*.lev data/mylevels/*.lev; do
        [ -e "$level" ] || continue
        "$LEVELS" show "$level" > /dev/null 2>> unreadable || ST=unreadable
    done
    printf 'games %s, killed %s, saves %s, failed saves %s, edits brought back %s\n' "$(wc -l < statuses)" \
        "$(grep -c '^137$' statuses)" "$(grep -cE '^Saved (my)?levels/' all_out)" "$(grep -c '^cannot save' all_out)" \
        "$(grep -c 'edits that were not saved are back' all_out)" | tee random
}
solve_then_page_down() {
    game solve_level_1
    READY=shown game eval 'read_until "End: continue at level 2"; cp said first_said; frames 10; keys Next Next; read_until "The Wall"'
}
# Two games in one directory: while the first waits at level 1, a second,
# started at level 2 (a copy of level 1), solves it and ends; then the first
# solves level 1. The second's out and err take the first's names, so only
# its status and the file are judged.
second_game_solves_level_2() {
    local first=$PID first_window=$WIN first_frames=$FRAMES
    sed -i 's/^level = 1$/level = 2/' data/tirak.inp
    game solve_level_1
    echo "$ST" > second_status
    PID=$first WIN=$first_window FRAMES=$first_frames
}
two_games() { cp data/levels/1.lev data/levels/2.lev; game eval 'frames 10; second_game_solves_level_2; solve_level_1'; }
# as_another_player COMMAND...: runs it as a player who owns data/ but not
# the files in it (as root, nobody; otherwise the modes alone do it).
as_another_player() {
    if [ "$(id -u)" = 0 ]; then
        chown 65534 data && WRAP='setpriv --reuid=65534 --regid=65534 --clear-groups' "$@"
    else "$@"; fi
}
# on_a_full_disk COMMAND...: runs it with data/ on a small file system that
# a filler has filled; the files the game made there are kept.
on_a_full_disk() {
    mv data spare && mkdir data && mount -t tmpfs -o size=32m tmpfs data || return 1
    cp -a spare/. data/ && head -c 32M /dev/zero > data/filler 2> /dev/null
    "$@"
    rm data/filler && cp -a data/. spare/ && umount data && rmdir data && mv spare data
}
KEPT="; this run's progress is not saved, and the file is kept as it is."

# --- Installed. The build is installed into prefix/ and played by its
# launcher as a player whose data home is data_home/: level 1 solved; a
# second start that knows it and saves level 1 with a cube more from the
# editor; a third start, with level 2's link gone and no display. A fourth
# without XDG_DATA_HOME makes its directory under HOME. A working directory
# that cannot be made stops the launcher with one line.
PLAYER=$W/data_home/tirak ENTRY=invalid.tirak.tirak.desktop
as_player() { GAME=$1 WRAP="env HOME=$W/home XDG_DATA_HOME=$W/data_home" game "${@:2}"; }
staged() { cmake --install "$(dirname "$TIRAK")" --prefix "$W/prefix" > install.log; }
installed_and_played() {
    staged || return
    as_player "$W/prefix/games/tirak" solve_level_1; echo "$ST" > statuses
    READY=shown as_player "$W/prefix/games/tirak" eval 'read_until "End: continue at level 2"; cp said first_said; frames 10; keys e Right 1 ctrl+s; frames 10 1'
    echo "$ST" >> statuses
    rm "$PLAYER/levels/2.lev"
    HOME="$W/home" XDG_DATA_HOME=$W/data_home DISPLAY=:4097 "$W/prefix/games/tirak" > third 2>&1; echo $? >> statuses
    (unset XDG_DATA_HOME; HOME="$W/home" DISPLAY=:4097 "$W/prefix/games/tirak" > fourth 2>&1)
    : > not_a_directory
    # Staged for another prefix, the menu entry names that prefix's launcher.
    DESTDIR=$W/stage cmake --install "$(dirname "$TIRAK")" --prefix /opt/tirak > /dev/null
    XDG_DATA_HOME=$W/not_a_directory "$W/prefix/games/tirak" > unmade 2>&1; ST=$?
}
# The player's files are theirs, the installed ones unchanged.
kept_apart() {
    is statuses '0\n0\n1' && has "$PLAYER/progress.inp" 'level_1 = 4' && says 'End: continue at level 2' first_said &&
        [ -f "$PLAYER/levels/1.lev" ] && [ ! -L "$PLAYER/levels/1.lev" ] &&
        cmp -s "$DATA/levels/1.lev" prefix/share/games/tirak/levels/1.lev &&
        ! cmp -s "$PLAYER/levels/1.lev" "$DATA/levels/1.lev" && [ -L "$PLAYER/levels/2.lev" ] &&
        cmp -s "$PLAYER/levels/2.lev" "$DATA/levels/2.lev" && [ -L "$PLAYER/tex" ] && [ ! -L "$PLAYER/tirak.inp" ] &&
        [ -f "$W/home/.local/share/tirak/tirak.inp" ] && has "prefix/share/applications/$ENTRY" "Exec=$W/prefix/games/tirak" &&
        has "stage/opt/tirak/share/applications/$ENTRY" 'Exec=/opt/tirak/games/tirak' &&
        is unmade "Cannot make \"$W/not_a_directory/tirak\", the directory for your settings, progress and levels: Not a directory."
}
# Twenty first starts at once, of an install whose game only checks that the
# settings it finds are the shipped ones, whole. cp takes its time, as on a
# busy machine: between looking for its target and making it (like cp, it
# never writes over one that was not there), and between making and filling it.
at_once() {
    staged || return
    mkdir bin
    printf '#!/bin/sh\n[ -e "$3" ] || set -C\nsleep 0.3\nexec 3> "$3" || exit 1\nsleep 1\nexec cat -- "$2" >&3\n' > bin/cp
    printf '#!/bin/sh\nexec cmp -s tirak.inp %s\n' "$W/prefix/share/games/tirak/tirak.inp" > prefix/lib/games/tirak/tirak
    chmod +x bin/cp prefix/lib/games/tirak/tirak
    local starts=() i
    for i in $(seq 20); do
        (PATH=$W/bin:$PATH XDG_DATA_HOME=$W/data_home prefix/games/tirak 2>> err; echo $? >> statuses) & starts+=($!)
    done
    wait "${starts[@]}"; ST=0
}
# The player's directory made, then the data home mounted read-only: the next
# start plays. With the install moved, the links are stale: on the read-only
# home a start names the first it cannot make; on the writable one it makes them.
read_only_home() {
    staged || return
    XDG_DATA_HOME=$W/data_home DISPLAY=:4097 prefix/games/tirak 2> /dev/null
    mount --bind data_home data_home && mount -o remount,ro,bind data_home || return
    as_player "$W/prefix/games/tirak"
    mv prefix moved
    XDG_DATA_HOME=$W/data_home DISPLAY=:4097 moved/games/tirak > stale 2>&1; echo $? > statuses
    umount data_home
    XDG_DATA_HOME=$W/data_home DISPLAY=:4097 moved/games/tirak 2> /dev/null; echo $? >> statuses
}
# --help and --version answer on standard output, touching nothing; any
# other argument is one line on standard error, before anything is made.
launcher_arguments() {
    staged || return
    HOME=$W/home prefix/games/tirak --help > help; echo $? > statuses
    HOME=$W/home prefix/games/tirak --help --version > two 2>&1; echo $? >> statuses
    XDG_DATA_HOME=$W/data_home prefix/games/tirak --fast > out 2> err; ST=$?
}
# A relative XDG_DATA_HOME, from elsewhere/: nothing is made there, HOME's is used.
relative_data_home() {
    staged && mkdir elsewhere || return
    (cd elsewhere && HOME=$W/home XDG_DATA_HOME=rel DISPLAY=:4097 "$W/prefix/games/tirak" > ../out 2> ../err); ST=$?
}

# --- The package, made by cpack into pkg/ and unpacked into deb/, then
# installed by apt.
PACKAGED=(usr/games/tirak usr/games/tirak-levels usr/lib/games/tirak/tirak usr/share/games/tirak/tirak.inp
    usr/share/games/tirak/levels/30.lev usr/share/games/tirak/Shaders/phong.frag usr/share/games/tirak/obj/cube.obj
    usr/share/games/tirak/tex/0skybox.png usr/share/games/tirak/sounds/goal.wav usr/share/games/tirak/music/drift.ogg
    usr/share/applications/$ENTRY usr/share/metainfo/invalid.tirak.tirak.metainfo.xml
    usr/share/man/man6/tirak.6.gz usr/share/man/man6/tirak-levels.6.gz usr/share/doc/tirak/copyright usr/share/doc/tirak/changelog.gz
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/tirak.png)
packaged() {
    ST=package
    (cd "$(dirname "$TIRAK")" && cpack -G DEB -B "$W/pkg" > "$W/cpack.log" 2>&1) || return
    DEB=$(ls pkg/tirak_*.deb) && dpkg-deb -c "$DEB" > contents && dpkg-deb -x "$DEB" deb && ST=0
}
holds_all() {
    local path
    for path in "${PACKAGED[@]}"; do grep -q " \./$path\$" contents || { echo "not packaged: $path"; return 1; }; done
    dpkg-deb -f "$DEB" Depends | grep -q 'fonts-dejavu-core' && desktop-file-validate "deb/usr/share/applications/$ENTRY" &&
        has "deb/usr/share/applications/$ENTRY" 'Exec=/usr/games/tirak' || return 1
    # The launcher and the level tool say the package's version.
    local version
    version=$(dpkg-deb -f "$DEB" Version)
    [ "$(deb/usr/games/tirak --version)" = "tirak $version" ] &&
        [ "$(deb/usr/games/tirak-levels --version)" = "tirak-levels $version" ] || { echo "not version $version"; return 1; }
    appstreamcli validate-tree --pedantic --no-net deb > appstream.log 2>&1 || { cat appstream.log; return 1; }
    # As Debian judges a package: no error and no warning.
    lintian --fail-on error,warning "$DEB" > lintian.log 2>&1 || { cat lintian.log; return 1; }
}
# The package as a player gets it: installed by apt, started from the menu's
# command, then purged. Only as root, and only where no tirak is installed,
# so that the machine ends as it began.
through_apt() {
    if [ "$(id -u)" != 0 ] || dpkg-query -W tirak > /dev/null 2>&1; then skip 'apt: not root, or tirak already installed'; return; fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$DEB" > apt.log 2>&1 || { ST=apt; return; }
    dpkg-query -L tirak > installed
    as_player /usr/games/tirak
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tirak >> apt.log 2>&1 || ST=purge
}
nothing_left() {
    [ -n "${SKIPPED:-}" ] && return
    local path
    grep -qx /usr/games/tirak installed && has titles TIRAK || return 1
    while read -r path; do [ -d "$path" ] || [ ! -e "$path" ] || { echo "left: $path"; return 1; }; done < installed
    [ ! -e /usr/share/games/tirak ]
}

while IFS='|' read -r name status change what expect; do
    name=$(echo $name)
    [[ $name =~ ^($ROWS) ]] || continue
    rm -rf -- "$W"/* && cp -r "$DATA" data && touch titles win
    SKIPPED= started=$SECONDS
    sed -i 's/^EndConfigFile$/text = no\nsound = no\nmusic = no\nmute_unfocused = no\n\nEndConfigFile/' data/tirak.inp
    if ! (cd data && eval "$change"); then
        echo "FAIL: $name: the change to data/ failed"
    else
        eval "$what"
        if [ "$ST" != "$((status))" ]; then echo "FAIL: $name: exit status $ST, expected $((status))"
        elif ! (eval "$expect"); then echo "FAIL: $name: does not hold:$expect"
        else echo "ok: $name ($((SECONDS - started)) s)"; continue; fi
        tail -n 12 out err
    fi
    FAILED=$((FAILED + 1))
done << 'TABLE'
# name                | status | change to data/                                   | what runs | what must hold
game/start            | 0 |                                                            | READY=fps_title game window_props | normal_start && class_and_icon
game/gl-3.2-context   | 0 |                                                            | WRAP='env MESA_GL_VERSION_OVERRIDE=3.2COMPAT MESA_GLSL_VERSION_OVERRIDE=150' READY=fps_title game | like out '^OpenGL Version: 3\.2 .*' && normal_start
game/fulscreen-absent | 0 | sed -i 's/^fulscreen = no$/fullscreen = no/' tirak.inp     | game | is win 1280x1024
game/inp-missing      | 1 | rm tirak.inp                                               | game | is err 'Cannot open "tirak.inp": the file is missing or unreadable.' && is out ''
game/inp-malformed    | 0 | printf 'no setting\nwidth = wide\nheight = 600\nfulscreen = no\n\n\1\377 =\nmouse_speed = fast\ntext_size = huge\n' > tirak.inp | game | is win 800x600 && has out 'tirak.inp: mouse_speed = fast is not a whole number from 25 to 300; it is 100.' && has out 'tirak.inp: text_size = huge is not small, medium or large; it is medium.'
game/pad-mappings     | 0 | printf '# mine\n0300000034120000cdab000010010000,Test Pad,a:b0,platform:Linux,\n0300000034120000cdab,Short,a:b0,\n' > gamecontrollerdb.txt | game | has out 'gamecontrollerdb.txt: line 3 is not a gamepad mapping; the other lines are used.' && count out gamecontrollerdb 1
game/inp-directory    | 1 | rm tirak.inp; mkdir tirak.inp                              | game | is err 'Cannot open "tirak.inp": it is a directory, not a file.'
game/inp-endless      | 1 | rm tirak.inp; ln -s /dev/zero tirak.inp                    | game | is err 'Cannot open "tirak.inp": it is a device, not a file.'
game/inp-huge         | 1 | truncate -s 3G tirak.inp                                   | game | is err 'Cannot open "tirak.inp": it is 3221225472 bytes; a settings file may have at most 1048576.'
game/level-pipe       | 1 | rm levels/1.lev; mkfifo levels/1.lev                       | game | last err 'Cannot open "levels/1.lev": it is a pipe, not a file.'
game/level-directory  | 1 | sed -i 's/^level = 1$/level = 3/' tirak.inp; rm levels/3.lev; mkdir levels/3.lev | game | last err 'Cannot open "levels/3.lev": it is a directory, not a file.'
game/level-missing    | 1 | rm levels/1.lev                                            | game | last err 'Cannot open "levels/1.lev": the file is missing or unreadable.' && count err ^Cannot 1
game/level-negative   | 1 | sed -i 's/^level = 1$/level = 3/' tirak.inp; echo 'size = -4' > levels/3.lev | game | last err 'Cannot play "levels/3.lev": size is -4, which is negative.'
game/level-too-large  | 1 | echo 'size = 65' > levels/1.lev                            | game | last err 'Cannot play "levels/1.lev": size is 65, larger than the largest grid of 64 cells a side.'
game/level-no-ship    | 0 | printf 'size = 3\ncubes = 1\nlevel = 1 1 1 6\n' > levels/2.lev | game solve_level_1 | has out 'levels/2.lev: it has no ship start (a cell with the value 5); it opens in the editor to be mended.' && has data/progress.inp 'level_1 = 4' && ! grep -q ^Cannot err
game/start-no-ship    | 0 | printf 'size = 3\ncubes = 1\nlevel = 1 1 1 6\n' > levels/1.lev | game eval 'frames 10; keys 5 ctrl+s e; frames 10' | has out 'levels/1.lev: it has no ship start (a cell with the value 5); it opens in the editor to be mended.' && like out '^Saved levels/1\.lev.*' && grep -q ' 5 ' data/levels/1.lev
game/shader-missing   | 1 | rm Shaders/phong.frag                                      | game | has err 'Fragment shader file Shaders/phong.frag does not exist.' && last err 'Could not compile phong shader program.'
game/shader-broken    | 1 | echo 'void main( { }' > Shaders/phong.vert                 | game | grep -q 'syntax error' out && last err 'Could not compile phong shader program.'
game/beamer-broken    | 1 | echo 'void main( { }' > Shaders/particlecalc.geom          | game | has err 'Failed to compile shader: Shaders/particlecalc.geom'
game/beamer-missing   | 0 | rm Shaders/particlerender.frag                             | game | has out 'shader file Shaders/particlerender.frag does not exist.'
game/model-missing    | 1 | rm obj/cone.obj                                            | game | last out 'Unable to open file "obj/cone.obj".'
game/model-not-obj    | 1 | cp tex/0cube.png obj/ship.obj                              | game | last err 'Cannot load "obj/ship.obj": it is missing or not a model the importer can read.'
game/model-no-mesh    | 1 | echo '# no faces, so no mesh' > obj/goal_new.obj           | game | last err 'obj/goal_new.obj: the model has no mesh to draw.'
game/model-no-faces   | 1 | printf 'v 0 0 0\nv 1 0 0\nv 0 1 0\np 1 2 3\n' > obj/ship.obj | game | last err 'obj/ship.obj: the model has no faces to draw.'
game/texture-missing  | 0 | rm tex/0cube.png tex/icon.png                              | game window_props | has out "Couldn't load Image: tex/0cube.png" && has out 'tex/icon.png: the file is missing or not an image; the window has no icon.' && is icon '_NET_WM_ICON:  not found.'
game/texture-unreadable | 0 | rm tex/0cube.png; mkdir tex/0cube.png                    | game | has out "Couldn't load Image: tex/0cube.png"
game/texture-empty    | 0 | : > tex/0cube.png                                          | game | has out "Couldn't load Image: tex/0cube.png"
game/texture-not-image | 0 | echo 'not an image' > tex/0cube.png                       | game | has out "Couldn't load Image: tex/0cube.png"
game/texture-too-large | 0 | png_65535 tex/0skybox.png                                 | game | has out "Couldn't load Image: tex/0skybox.png" && has out "tex/0skybox.png: the image claims 65535*65535 pixels; a texture's sides must be from 1 to 8192."
game/texture-zero-size | 0 | png_zero tex/1ship.png                                    | game | has out "Couldn't load Image: tex/1ship.png" && has out 'tex/1ship.png: the decoder says: Invalid IHDR data.'
game/model-too-large  | 1 | truncate -s 9M obj/beamer.obj                              | game | last err 'Cannot load "obj/beamer.obj": it is 9437184 bytes; a model file may have at most 8388608.'
game/model-face-too-large | 1 | echo "f $(printf '1 2 3 %.0s' $(seq 100))" >> obj/cone.obj | game | last err 'Cannot load "obj/cone.obj": a face has 300 corners; a face may have at most 64.'
game/texture-not-png  | 0 | convert tex/0cube.png tga:tex/0cube.png                    | game | has out "tex/0cube.png: its type (TARGA) is not one the game reads: textures are PNG."
game/material-broken  | 1 | sed -i '1i map_Kd x.png' obj/cone.mtl                      | game | last err 'Cannot load "obj/cone.obj": its material file obj/cone.mtl says something before its first newmtl.'
game/mip-wrong-size   | 0 | cp tex/0cube.png tex/2cube.png                             | game | has out 'tex/2cube.png: mip level 2 must be 128*128; the level made from level 0 is used instead.'
game/wayland          | 0 |                                                            | on_wayland | wayland_start
game/gl-function-missing | 1 |                                                         | WRAP="env LD_PRELOAD=$HIDE_GL TIRAK_HIDDEN_GL_FUNCTIONS=glCreateShader,glTexBuffer ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0" game | has err 'The OpenGL context has no glCreateShader, glTexBuffer.' && last err 'The OpenGL functions the game needs could not be loaded; it cannot start.'
game/no-display       | 1 |                                                            | WRAP='env DISPLAY=:4097' game | has err 'Failed to initialize OpenGL window.' && last err 'The window system said: X11: Failed to open display :4097'
look/window-32767     | 0 | window_setting 32767 32767                                 | READY=shown game | cut_down 32767
look/window-resized   | 0 |                                                            | READY=fps_title game resize_past_the_driver | is resized 16384x16384 && normal_start
look/f11-whole-screen | 0 |                                                            | f11_whole_screen | is whole_win 1280x1024 && mostly_lit && awk -v x="$X" -v y="$Y" 'BEGIN { exit !((x - 640)^2 + (y - 512)^2 < 32^2) }' && has whole.inp 'fulscreen = yes' && is win 1280x1024 && is back_win 1024x768 && cmp -s data/tirak.inp before.inp
look/fullscreen-fills | 0 | sed -i 's/^fulscreen = no$/fulscreen = yes/' tirak.inp | game fills_screen | mostly_lit && awk -v x="$X" -v y="$Y" 'BEGIN { exit !((x - 640)^2 + (y - 512)^2 < 32^2) }'
look/resized-fills    | 0 |                                                            | game resize_to_1200x900 | is win 1024x768 && awk -v t="$(black 1200x132+0+0)" -v r="$(black 176x900+1024+0)" 'BEGIN { exit !(t < 0.05 && r < 0.05) }'
look/stall-mid-flight | 0 | sixteen_wide                                               | stalled_launch '' rest.png; stalled_launch 1 stalled.png | holds 'same < 50 && moved > 200' same="$(apart stalled.png rest.png)" moved="$(apart stalled.png start.png)"
game/largest-level    | 0 | sed -i 's/^level = 1$/level = 2147483647/' tirak.inp; cp levels/1.lev levels/7.lev | game eval 'solve_level_1; frames 10' | has data/progress.inp 'level_7 = 4' && ! grep -q '^Cannot' err
game/endless-flight   | 0 | endless_level | game endless_launch | [ -n "${IN_TIME:-}" ] && [ "$(grep -E 'for ever|^TEXTURESAMPLING' out)" = "$(printf '%s\n' "$ENDLESS" 'TEXTURESAMPLING NEAREST')" ]
look/as-before        | 0 |                                                            | pictures | [ -z "$CHANGED" ]
hd/as-before          | 0 |                                                            | hd_pictures | [ -z "$CHANGED" ] && is win 1920x1080
play/through          | 0 | sed -i 's/^width = .*/width = 640/; s/^height = .*/height = 480/' tirak.inp | play_through | [ "$MISSED" -eq 0 ]
play/hint             | 0 | sed -i 's/^level = 1$/level = 4/; s/^width = .*/width = 640/; s/^height = .*/height = 480/' tirak.inp | hint_through_level_4 | [ "$MISSED" -eq 0 ]
install/staged        | 1 |                      | installed_and_played | kept_apart
install/at-once       | 0 |                      | at_once | count statuses '^0$' 20 && is err '' && cmp -s "$PLAYER/tirak.inp" prefix/share/games/tirak/tirak.inp && [ "$(LC_ALL=C ls -A "$PLAYER" | tr '\n' ' ')" = 'Shaders levels locale music mylevels obj sounds tex tirak.inp ' ]
install/read-only-home | 0 |                     | read_only_home | has titles TIRAK && is statuses '1\n1' && is stale "Cannot make \"$PLAYER/Shaders\", a link to \"$W/moved/share/games/tirak/Shaders\": Read-only file system." && [ "$(readlink "$PLAYER/levels/30.lev")" = "$W/moved/share/games/tirak/levels/30.lev" ]
install/relative-data-home | 1 |                 | relative_data_home | [ -z "$(ls -A elsewhere)" ] && [ -L home/.local/share/tirak/tex ] && [ -f home/.local/share/tirak/tirak.inp ] && last err 'The window system said: X11: Failed to open display :4097'
install/arguments     | 2 |                      | launcher_arguments | is statuses '0\n2' && has help 'usage: tirak [--help | --version]' && has help "Yours is $W/home/.local/share/tirak." && is two 'tirak: "--version" is not understood; tirak takes --help, --version, or nothing to play.' && is err 'tirak: "--fast" is not understood; tirak takes --help, --version, or nothing to play.' && is out '' && [ ! -e home ] && [ ! -e data_home ]
install/package       | 0 |                      | packaged && through_apt | holds_all && nothing_left
tool/check-shipped    | 0 |                      | levels check levels/1.lev levels/2.lev levels/3.lev | is out '' && is err ''
tool/solve-1          | 0 |                      | levels solve levels/1.lev | is out '4 launches: +x +z -x +z'
tool/solve-2          | 0 |                      | levels solve levels/2.lev | is out '4 launches: -x +z +x +z'
tool/solve-3          | 0 |                      | levels solve "$PICTURES/3.lev" | is out 'dead end: 6 3 0\ndead end: 6 3 3\ndead end: 6 2 4\ndead end: 4 3 3\ndead end: 4 0 3\n6 launches: +z -x +y -x +z -y'
tool/show-2           | 0 |                      | levels show levels/2.lev  | count out '^y = ' 6 && [ "$(head -1 out)" = 'name: The Wall' ] && [ "$(sed -n 3,10p out)" = "$(printf 'y = 0\n     x 0 1 2 3 4 5\n  z 0  # . . . . S\n  z 1  . . . . . B\n  z 2  # # # # # #\n  z 3  . . . . . .\n  z 4  B . . . # .\n  z 5  . . . G . .')" ]
tool/check-broken     | 1 | broken_levels        | levels check lost.lev missing.lev three.lev negative.lev | is out 'lost.lev: the goal cannot be reached from the ship start\nmissing.lev: cannot be opened\nthree.lev: 3 beamers; beamers come in one pair\nthree.lev: launching +x from 2 0 0 never ends: the beamers send the ship round for ever\nnegative.lev: size is -2, which is negative'
tool/solve-lost       | 1 | broken_levels        | levels solve lost.lev     | last out 'no solution'
tool/solve-endless    | 0 | broken_levels        | levels solve three.lev    | is out '1 launches: +y'
tool/solve-unloadable | 1 | broken_levels        | levels solve negative.lev | is out '' && is err 'negative.lev: size is -2, which is negative'
tool/stats-unloadable | 1 | broken_levels        | levels stats negative.lev | is out '' && is err 'negative.lev: size is -2, which is negative'
tool/not-a-file       | 1 | mkdir dir.lev; mkfifo pipe.lev | levels check dir.lev pipe.lev /dev/zero | is out 'dir.lev: it is a directory, not a file\npipe.lev: it is a pipe, not a file\n/dev/zero: it is a device, not a file'
tool/no-command       | 2 |                      | levels                    | grep -q usage err && is out ''
tool/help             | 0 |                      | levels --help             | grep -q '^usage: tirak-levels check' out && is err ''
tool/solve-two-files  | 2 |                      | levels solve a.lev b.lev  | grep -q usage err
tool/stats            | 0 |                      | levels stats levels/2.lev | has out '| levels/2.lev | The Wall | 6 | 8 | 2 | 4 | 1 | 0 | 5 | beamers |'
tool/generate-size    | 2 |                      | levels generate --size 17 | grep -q usage err && is out ''
tool/code             | 0 |                      | levels code levels/30.lev; mv out code; levels decode "$(cat code)"; mv out data/pasted.lev; levels check pasted.lev; mv out checked; levels code pasted.lev | is checked '' && cmp -s out code && [ "$(wc -c < code)" -lt 200 ]
bench/report          | 0 |                      | bench levels/2.lev 30     | bench_figures
bench/floor           | 0 |                      | bench --floor 30          | like out 'floor startup_ms=[1-9][0-9]* fps_mean=[0-9.]+ frame_p99_ms=[0-9.]+ frame_max_ms=[0-9.]+ fresh_page_us=[0-9.]+' && awk -F '[ =]' '/^floor / { exit !($5 > 30 && $5 <= 60.01 && $7 >= 16.66 && $11 > 0) }' out
bench/level-missing   | 1 |                      | bench levels/none.lev 10  | last err 'Cannot open "levels/none.lev": the file is missing or unreadable.' && ! grep -q ^fps_mean= out
bench/level-no-ship   | 1 | echo 'size = 3' > levels/9.lev | bench levels/9.lev 10 | last err 'Cannot play "levels/9.lev": it has no ship start (a cell with the value 5).'
bench/frames-zero     | 2 |                      | bench levels/1.lev 0      | grep -q '^usage: tirak-bench LEVELFILE FRAMES' err
bench/frames-negative | 2 |                      | bench levels/1.lev -5     | grep -q '^usage: tirak-bench LEVELFILE FRAMES' err
bench/frames-word     | 2 |                      | bench levels/1.lev ten    | grep -q '^usage: tirak-bench LEVELFILE FRAMES' err
bench/frames-suffix   | 2 |                      | bench levels/1.lev 12x    | grep -q '^usage: tirak-bench LEVELFILE FRAMES' err
bench/frames-absent   | 2 |                      | bench levels/1.lev        | grep -q '^usage: tirak-bench LEVELFILE FRAMES' err
bench/stress-level    | 0 |                      | run bash "$DATA/../bench/make_stress_level.sh" 16 | cmp out "$DATA/../bench/stress16.lev"
data/generated        | 0 |                      | run "$MAKE_DATA" "$W/made" "$W/icons" | diff -r "$DATA/obj" made/obj && diff -r "$DATA/tex" made/tex && diff -r "$DATA/sounds" made/sounds && diff -r "$DATA/music" made/music && diff -r "$DATA/../packaging/icons" icons
data/music-loudness   | 0 |                      | ST=0; for f in data/music/*.ogg; do ffmpeg -nostats -i "$f" -af ebur128=peak=true -f null - < /dev/null 2> "${f##*/}.log"; ST=$((ST + $?)); done | [ "$(ls *.ogg.log | wc -l)" -ge 3 ] && for log in *.ogg.log; do awk -v f="$log" '/I:/ {i = $2} /Peak:/ {p = $2} END {print f ": " i " LUFS, true peak " p " dBTP"; exit !(i >= -23 && i <= -18 && p <= -1)}' "$log" || exit 1; done
text/title-and-help   | 0 | text_on                                                    | READY=shown game eval 'read_until "Level 1" "First Flight" "par 4"; cp said card_said; frames 10; keys F1; frames 10; read_text' | says 'Level 1' card_said && says 'First Flight' card_said && says 'par 4' card_said && says 'PageDown, PageUp' && says 'the furthest open level' && says 'Escape'
text/small-window     | 0 | text_on; sed -i 's/^width = .*/width = 640/; s/^height = .*/height = 480/' tirak.inp | READY=shown game eval 'read_until "Level 1" "First Flight" "par 4"' | says 'Level 1' && says 'First Flight' && says 'par 4'
text/large-window     | 0 | text_on; sed -i 's/^width = .*/width = 2560/; s/^height = .*/height = 1440/' tirak.inp | READY=shown big_screen game eval 'read_until "Level 1" "First Flight" "par 4"' | is win 2560x1440 && says 'Level 1' && says 'First Flight' && says 'par 4'
text/any-level-number | 0 | text_on; sed -i 's/^level = 1$/level = 2000000000/' tirak.inp | READY=shown game eval 'read_until "Level 2000000000"' | says 'Level 2000000000'
text/par-follows-edits | 0 | text_on                                                   | game eval 'frames 10; keys e ctrl+n ctrl+s e; read_until "Your level 1" "par 1"' | says 'Your level 1' && says 'par 1' && ! says 'par 4'
text/long-message-wraps | 0 | text_on                                                  | game eval 'frames 10; keys e 0 ctrl+s e; frames 10 1; read_text' | says 'The saved level cannot be played' && says 'the editor stays.'
progress/solved-card  | 0 | text_on                                                    | game eval 'launch_level_1; read_until "solved in 4 launches"' | says 'solved in 4 launches (par 4)' && says 'Level 2' && says 'The Wall'
text/no-font          | 0 | text_on; echo '<fontconfig></fontconfig>' > ../empty-fonts.conf | WRAP="env FONTCONFIG_FILE=$W/empty-fonts.conf" READY=fps_title game | has err 'No font found: fontconfig has no match for "DejaVu Sans"; playing without text.' && is win 1024x768 && like titles 'fps: [0-9]+, dt: .*'
progress/page-down    | 0 | text_on                                                    | solve_then_page_down | has data/progress.inp 'level_1 = 4' && says 'End: continue at level 2' first_said && says 'Level 2' && says 'The Wall' && ! says 'Level 3' && ! says 'Look Up'
progress/broken       | 0 | printf 'level_1 = 4\nlevel_2 = ' > progress.inp             | game | has out 'progress.inp: it is cut short: it does not end with EndConfigFile; it is kept as progress.inp.bad, playing as a new player.' && [ -f data/progress.inp.bad ] && [ ! -f data/progress.inp ]
progress/two-games    | 0 |                                                            | two_games | is second_status 0 && has data/progress.inp 'level_1 = 4' && has data/progress.inp 'level_2 = 4'
progress/unreadable   | 0 | printf 'level_2 = 4\nlevel_3 = 5\nEndConfigFile\n' > progress.inp; chmod 000 progress.inp | as_another_player game solve_level_1 | has out "progress.inp: it cannot be read (Permission denied)$KEPT" && count out '^progress' 1 && is data/progress.inp 'level_2 = 4\nlevel_3 = 5\nEndConfigFile'
progress/no-room-aside | 0 | printf 'level_2 = 4\nlevel_3 = ' > progress.inp; for n in '' $(seq 2 1000); do : > progress.inp.bad${n:+.$n}; done | game solve_level_1 | has out "progress.inp: it is cut short: it does not end with EndConfigFile; it cannot be moved aside (File exists)$KEPT" && is data/progress.inp 'level_2 = 4\nlevel_3 = '
progress/endless      | 0 | ln -s /dev/zero progress.inp                               | LIMIT=20 game | has out "progress.inp: it is a device, not a file$KEPT" && [ "$(readlink data/progress.inp)" = /dev/zero ]
progress/pipe         | 0 | mkfifo progress.inp                                        | LIMIT=20 game | has out "progress.inp: it is a pipe, not a file$KEPT" && [ -p data/progress.inp ]
progress/directory    | 0 | mkdir progress.inp                                         | game | has out "progress.inp: it is a directory, not a file$KEPT" && [ -d data/progress.inp ] && [ ! -e data/progress.inp.bad ]
progress/disk-full    | 0 | text_on; cp levels/1.lev levels/2.lev                      | on_a_full_disk game eval 'launch_level_1; read_until "your best"; solve_level_1' | has out 'progress.inp: cannot be written (No space left on device); progress is not saved.' && count out 'cannot be written' 1 && says 'No space left on device' && says 'your best' && [ ! -f data/progress.inp ]
progress/read-only    | 0 |                                                            | READY=fps_title read_only game solve_level_1 | has out 'progress.inp: cannot be written (Read-only file system); progress is not saved.' && like titles 'fps: .*' && [ ! -f data/progress.inp ]
sound/heard           | 0 | sound_on                                                   | recorded game launch_then_muted_launch | heard_then_silent
sound/volume-zero     | 0 | sound_on                                                   | recorded game eval 'recording; keys F2 Down Down Return Down Left Left Left Left Left Left Left Left F2 space; frames 30 1' | has data/tirak.inp 'volume = 0' && [ "$(cut -d' ' -f2 trace | tr '\n' ,)" = 'sounds/launch.wav,sounds/stop.wav,' ] && "$SOUND_MATCH" rec.wav > heard && grep -q '^length [1-9]' heard && ! grep -q '^sounding' heard
sound/music           | 0 | music_on; sed -i 's/^level = 1$/level = 11/' tirak.inp   | recorded game launch_then_level_10 | music_heard
sound/music-volume-zero | 0 | music_on; sed -i 's/^EndConfigFile$/music_volume = 0\n&/' tirak.inp | recorded game launch_then_muted_launch | heard_then_silent
sound/music-behind    | 0 | music_on; sed -i 's/^mute_unfocused = no$/mute_unfocused = yes/' tirak.inp | recorded game behind_another_window | faded_behind
sound/music-broken    | 0 | music_on; rm music/drift.ogg; echo 'not music' > music/lattice.ogg | recorded game eval 'recording; keys space; frames 30 1' | has err 'music/drift.ogg: the file is missing or unreadable; this piece stays silent.' && has err "music/lattice.ogg: it is not an Ogg file: the game's music is Ogg Vorbis; this piece stays silent." && grep -q ' sounds/launch.wav$' trace
sound/off             | 0 |                                                            | recorded game eval 'frames 10; keys space; frames 30 1' | [ ! -e rec.wav ] && [ ! -e trace ] && ! grep -qiE 'sound|ALSA|AL lib' err
sound/no-device       | 0 | sound_on                                                   | al_conf '[general]' 'drivers = alsa' '[alsa]' 'device = tirak-no-such-device'; WRAP="env ALSOFT_CONF=$W/al.conf" READY=fps_title game eval 'frames 10; keys space; frames 30 1' | has err 'No sound device: playing without sound.' && count err 'sound|ALSA|AL lib' 1 && like titles 'fps: .*'
sound/broken-file     | 0 | sound_on; echo 'not a sound' > sounds/stop.wav; sed -i 's/^EndConfigFile$/volume = loud\n&/' tirak.inp | recorded game eval 'recording; keys space; frames 30 1' | has err "sounds/stop.wav: it is not a WAV file: the game's sounds are PCM WAV; this sound stays silent." && has out 'tirak.inp: volume = loud is not a whole number from 0 to 100; it is 80.' && [ "$(cut -d' ' -f2 trace | tr '\n' ,)" = 'sounds/launch.wav,sounds/stop.wav,' ]
editor/kept-on-escape | 0 |                                                            | game eval 'frames 10; keys e 1 ctrl+n'; game eval 'frames 10; keys e; frames 10' | has out 'levels/1.lev: the edits that were not saved are back; Ctrl+S saves them.' && [ -f data/levels/1.lev.unsaved ]
editor/kept-for-later | 0 | sed -i 's/^level = 1$/level = 3/' tirak.inp                 | game eval 'frames 10; keys e 1 e Prior e e Next e; frames 10 1; keys ctrl+s; frames 10' | has out 'levels/3.lev: the edits that were not saved are back; Ctrl+S saves them.' && like out '^Saved levels/3\.lev.*' && [ ! -e data/levels/3.lev.unsaved ] && ! cmp -s data/levels/3.lev "$DATA/levels/3.lev"
editor/kept-on-kill   | 0 |                                                            | game eval 'frames 10; keys e 1; frames 90 1.5; kill -KILL $PID; sleep 0.5'; game eval 'frames 10; keys e; frames 10' | has out 'levels/1.lev: the edits that were not saved are back; Ctrl+S saves them.'
editor/kept-unreadable | 0 | echo 'size = 99' > levels/1.lev.unsaved                    | game eval 'frames 10; keys e; frames 10' | has out 'levels/1.lev.unsaved: size is 99, larger than the largest grid of 64 cells a side; the edits in it cannot be brought back, and it is kept as levels/1.lev.unsaved.bad.' && [ -f data/levels/1.lev.unsaved.bad ] && [ ! -e data/levels/1.lev.unsaved ]
editor/codes-by-clipboard | 0 |                                                        | copy_and_paste | has game_out "The clipboard holds no level code to paste: it is not a level code (one begins \"tirak.1.\")." && is code "$(cat shipped_code)" && has game_out 'Saved mylevels/1.lev.' && cmp -s data/mylevels/1.lev decoded && [ ! -e data/mylevels/2.lev ]
editor/save-read-only | 0 |                                                            | read_only game eval 'frames 10; keys e 1 ctrl+s; frames 10' | has out 'cannot save levels/1.lev: Read-only file system'
random/keys           | 0 |                                                            | random_keys | ! grep -qvE '^(0|137)$' statuses
editor/build-by-keys  | 0 | text_on                                                    | built_level_plays | says 'no goal' no_goal_said && says 'solvable: 3 launches' solvable_said && is solved '3 launches: +x +z -x' && says 'Your level 1' restart_said && says 'Editing mylevels/1.lev' back_said && says 'Editing mylevels/1.lev' && says 'solvable: 3 launches'
menu/levels           | 0 | text_on                                                    | game menu_levels | says 'Continue' menu_said && says 'Levels' menu_said && says 'Quit' menu_said && says 'First Flight' levels_said && says 'solved in 4 launches, par 4' levels_said && says 'Look Up' levels_said && says 'closed' levels_said && says 'The Wall' && ! says 'Continue'
menu/keys             | 0 |                                                            | launch_by_return | has first_progress.inp 'level_1 = 4' && has data/progress.inp 'level_1 = 4' && has data/tirak.inp 'key_launch = Return'
menu/options          | 0 | text_on                                                    | options_by_keys | holds 'm > 10 && l > 1.15 * m && a == l' m="$(status_height medium.png)" l="$(status_height large.png)" a="$(status_height again.png)" && has chosen.inp 'text = yes' && has chosen.inp 'text_size = large' && says 'Volume: 70' && says 'Mouse speed: 75%' && says 'Mouse up and down: inverted'
menu/read-only        | 0 |                                                            | read_only game eval 'frames 10; keys F2 Down Down Return Down Left F2 space; frames 30 1' | has out 'tirak.inp: it cannot be written (Read-only file system); the change holds until the game ends.' && count out 'cannot be written' 1
play/by-pad           | 0 | text_on                                                    | pad_plays_level_1 | has data/progress.inp 'level_1 = 4' && says 'Back keys'
editor/build-by-pad   | 0 |                                                            | pad_builds_a_level | like game_out '^Saved mylevels/1\.lev.*' && is solved '3 launches: +x +z -x'
text/german           | 0 | text_on                                                    | in_language de deu Jungfernflug 'Par 4' | says 'Jungfernflug' card_said && says 'Flüge' card_said && says 'Schiff starten' && says 'zurücknehmen' && says 'Menü: Levels, Optionen'
text/french           | 0 | text_on                                                    | in_language fr_FR.UTF-8 fra 'Niveau 1' 'Premier vol' | says 'Niveau 1' card_said && says 'Premier vol' card_said && says 'lancer le vaisseau' && says 'précédent' && says 'plein écran ou fenêtre'
text/spanish          | 0 | text_on                                                    | in_language es spa 'Nivel 1' 'Primer vuelo' | says 'Nivel 1' card_said && says 'Primer vuelo' card_said && says 'lanzar la nave' && says 'girar y mover la cámara' && says 'vista alámbrica'
text/english-setting  | 0 | text_on; sed -i 's/^EndConfigFile$/language = en\n&/' tirak.inp | in_language de eng 'Level 1' 'First Flight' | says 'First Flight' card_said && says 'launch the ship' && ! says 'Schiff'
text/no-catalogue     | 0 | text_on; rm -r locale                                      | in_language de eng 'Level 1' 'First Flight' | says 'First Flight' card_said && says 'launch the ship' && started_cleanly
text/french-keyboard  | 0 | text_on                                                    | french_keyboard | says 'Q, D' && says 'Z, S' && says 'Space launch the ship'
text/rebound-keys     | 0 | text_on                                                    | rebound_keys | has out "tirak.inp: key_hint = Return: Return is launch's already, and launch keeps it." && has out 'tirak.inp: key_jump names no command; the manual page tirak(6) lists them.' && has out 'tirak.inp: key_undo = Bakspace: "Bakspace" is no key name; undo keeps U.' && has data/progress.inp 'level_1 = 4' && says 'Return' && says 'A, L' && says 'launch the ship'
leak/valgrind         | 0 |                      | valgrind_game | grep -q 'ERROR SUMMARY: 0 errors' valgrind.log || ! cat valgrind.log
TABLE
echo "$FAILED failed"
[ "$FAILED" -eq 0 ]
