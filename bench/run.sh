#!/usr/bin/env bash
# Runs tirak-bench on every shipped level and on the stress levels, each
# under its own Xvfb server, and prints the figures as tables. Build first:
#   cmake -S . -B build -DCMAKE_BUILD_TYPE=Release && cmake --build build -j2
#   bench/run.sh
# Settings from the environment:
#   FRAMES=600         timed frames per shipped level
#   STRESS_FRAMES=60   timed frames per stress level
#   STRESS_SIZES="4 8 12"  further stress grids, made on the fly, to show how
#                      the cost grows with the cells (the committed 16 is
#                      always run)
#   BUILD=build        the build directory
#   SIZE=1920x1080     the window's size (data/tirak.inp's, 1024x768, unless
#                      given); the Xvfb screen is made to fit it
# The whole output of every run is kept in $BUILD/bench-logs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${BUILD:-build}" && pwd)
frames=${FRAMES:-600}
stress_frames=${STRESS_FRAMES:-60}
stress_sizes=${STRESS_SIZES:-4 8 12}
bench="$build/tirak-bench"
logs="$build/bench-logs"
[ -x "$bench" ] || { echo "no $bench: build the project first" >&2; exit 1; }
rm -rf "$logs"
mkdir -p "$logs"

# The game reads its window's size from the settings in its working
# directory: another size plays in a directory of links to data/ with a
# settings file of its own.
play_in=$root/data
screen=1280x1024
if [ -n "${SIZE:-}" ]; then
    [[ $SIZE =~ ^([0-9]+)x([0-9]+)$ ]] || { echo "SIZE=$SIZE is not WIDTHxHEIGHT, such as 1920x1080" >&2; exit 2; }
    width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
    play_in=$logs/data
    mkdir "$play_in"
    for entry in "$root"/data/*; do
        [ "${entry##*/}" = tirak.inp ] || ln -s "$entry" "$play_in/"
    done
    sed "s/^width = .*/width = $width/; s/^height = .*/height = $height/" "$root/data/tirak.inp" > "$play_in/tirak.inp"
    screen=$((width > 1280 ? width : 1280))x$((height > 1024 ? height : 1024))
fi

# Period in ms, as the game's float constant has it, and the targets.
PERIOD_MS=16.6666
TARGET_FPS_LOW=59.8
TARGET_FPS_HIGH=60.2
TARGET_P99_SLACK_MS=0.5
TARGET_STARTUP_MS=300
TARGET_PEAK_MIB=150

runs=()   # "name|level file (from data/)|frames|cells|shipped"
for level in "$root"/data/levels/*.lev; do
    name=levels/$(basename "$level")
    cells=$(grep -m 1 -E '^ *cubes *=' "$level" | tr -dc '0-9')
    runs+=("$name|$name|$frames|$cells|yes")
done
for size in $stress_sizes; do
    bash "$root/bench/make_stress_level.sh" "$size" > "$logs/stress$size.lev"
    runs+=("stress $size^3|$logs/stress$size.lev|$stress_frames|$((size * size * size))|no")
done
runs+=("stress 16^3|$root/bench/stress16.lev|$stress_frames|4096|no")

echo "load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)   ($(nproc) cores)"
# What the machine gives any program, first: where it misses a target, the
# game's figures cannot be judged by it.
(cd "$play_in" && xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" "$bench" --floor "$frames" > "$logs/floor.log" 2>&1) ||
    echo "  the machine's floor failed: see $logs/floor.log" >&2
for run in "${runs[@]}"; do
    IFS='|' read -r name file count _ _ <<< "$run"
    log="$logs/$(tr ' /^' '__x' <<< "$name").log"
    echo "running $name, $count frames..." >&2
    (cd "$play_in" && xvfb-run -a -s "-screen 0 ${screen}x24 -noreset" "$bench" "$file" "$count" > "$log" 2>&1) ||
        echo "  $name failed: see $log" >&2
done
echo "load average after:  $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo "window: $(grep -h -o -m 1 'timed frames at [0-9]*x[0-9]*' "$logs"/*.log | head -n 1 | cut -d ' ' -f 4)"
if floor=$(grep -m 1 '^floor ' "$logs/floor.log"); then
    floor_field() { tr ' ' '\n' <<< "$floor" | sed -n "s/^$1=//p"; }
    echo "machine floor: a bare window's first frame $(floor_field startup_ms) ms after start; a loop of 2 ms of" \
        "work a frame, $frames frames: $(floor_field fps_mean) fps, p99 $(floor_field frame_p99_ms) ms," \
        "longest $(floor_field frame_max_ms) ms; the first write to a fresh page of memory," \
        "$(floor_field fresh_page_us) µs"
fi
echo

# field LOG NAME: one value of the last line.
field() { tail -n 1 "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }
# cpu LOG: processor time per timed frame, all threads, in ms.
cpu() { sed -n 's/^processor \+\([0-9.]\+\) ms.*/\1/p' "$1"; }
# part LOG NAME: one start-up part in ms.
part() { sed -n "s/^  $2 \+\(-\?[0-9.]\+\) ms$/\1/p" "$1"; }
# view LOG N: the solver view's median (1), 99th percentile (2) or processor time (3) a draw.
view() {
    case $2 in
    1) sed -n 's/^solver_view \+p50 \+\([0-9.]\+\) ms.*/\1/p' "$1" ;;
    2) sed -n 's/^solver_view \+p50 .* p99 \+\([0-9.]\+\) ms.*/\1/p' "$1" ;;
    3) sed -n 's/^solver_view processor \([0-9.]\+\) ms.*/\1/p' "$1" ;;
    esac
}

printf '%-13s %6s %8s %8s %8s %8s %8s %8s %8s %8s %5s  %s\n' level cells fps_mean "frame50" "frame99" \
    "frame_max" "work50" "work99" "cpu" startup peak targets
for run in "${runs[@]}"; do
    IFS='|' read -r name _ _ cells shipped <<< "$run"
    log="$logs/$(tr ' /^' '__x' <<< "$name").log"
    if ! tail -n 1 "$log" | grep -q '^fps_mean='; then
        printf '%-13s %6s  (no figures: see %s)\n' "$name" "$cells" "$log"
        continue
    fi
    fps=$(field "$log" fps_mean); p99=$(field "$log" frame_p99_ms)
    startup=$(field "$log" startup_ms); peak=$(field "$log" peak_mib)
    verdict=-
    if [ "$shipped" = yes ]; then
        verdict=$(awk -v fps="$fps" -v p99="$p99" -v s="$startup" -v m="$peak" \
            -v lo=$TARGET_FPS_LOW -v hi=$TARGET_FPS_HIGH -v period=$PERIOD_MS \
            -v slack=$TARGET_P99_SLACK_MS -v smax=$TARGET_STARTUP_MS -v mmax=$TARGET_PEAK_MIB 'BEGIN {
                v = ""
                if (fps < lo || fps > hi) v = v " fps"
                if (p99 - period > slack || period - p99 > slack) v = v " p99"
                if (s >= smax) v = v " startup"
                if (m >= mmax) v = v " memory"
                print v == "" ? "met" : "missed:" v
            }')
    fi
    printf '%-13s %6s %8s %8s %8s %8s %8s %8s %8s %8s %5s  %s\n' "$name" "$cells" "$fps" \
        "$(field "$log" frame_p50_ms)" "$p99" "$(field "$log" frame_max_ms)" \
        "$(field "$log" work_p50_ms)" "$(field "$log" work_p99_ms)" "$(cpu "$log")" "$startup" "$peak" "$verdict"
done
echo "(times in ms, memory in MiB; cpu: processor time a frame, every thread; targets: $TARGET_FPS_LOW to $TARGET_FPS_HIGH fps, p99 within" \
    "$TARGET_P99_SLACK_MS ms of $PERIOD_MS, start-up under $TARGET_STARTUP_MS ms, peak under $TARGET_PEAK_MIB MiB)"
echo

printf '%-13s %7s %7s %6s %7s %7s %7s %8s %6s %6s %7s %7s %7s %8s %8s\n' "start-up" libs window world shaders \
    waiting models textures parts text rest sleep draw1 r:models r:images
for run in "${runs[@]}"; do
    IFS='|' read -r name _ _ _ _ <<< "$run"
    log="$logs/$(tr ' /^' '__x' <<< "$name").log"
    tail -n 1 "$log" | grep -q '^fps_mean=' || continue
    printf '%-13s %7s %7s %6s %7s %7s %7s %8s %6s %6s %7s %7s %7s %8s %8s\n' "$name" \
        "$(part "$log" 'libraries, to main')" "$(part "$log" 'window and context')" \
        "$(part "$log" world)" "$(part "$log" shaders)" "$(part "$log" 'waiting for the reader')" "$(part "$log" models)" \
        "$(part "$log" textures)" "$(part "$log" particles)" "$(part "$log" 'text, in the first frame')" \
        "$(part "$log" 'rest of start-up')" \
        "$(part "$log" 'first frame: sleep')" "$(part "$log" 'first frame: draw, swap')" \
        "$(part "$log" '  reading models')" "$(part "$log" '  reading images')"
done
echo "(ms; waiting: for the reader thread; models and textures: their upload; parts = particles; text: its programs," \
    "made in the first frame's time; sleep and draw1 are the first frame's pacing sleep and its drawing; r:models and" \
    "r:images: the reader thread's own time, alongside)"
echo

printf '%-13s %8s %8s %8s\n' "solver view" p50 p99 cpu
for run in "${runs[@]}"; do
    IFS='|' read -r name _ _ _ _ <<< "$run"
    log="$logs/$(tr ' /^' '__x' <<< "$name").log"
    tail -n 1 "$log" | grep -q '^fps_mean=' || continue
    printf '%-13s %8s %8s %8s\n' "$name" "$(view "$log" 1)" "$(view "$log" 2)" "$(view "$log" 3)"
done
echo "(ms a draw of the level editor's solver view at the game's camera, over the drawn scene; cpu: processor time," \
    "every thread; it must stay under 0.5 ms on the largest levels)"
