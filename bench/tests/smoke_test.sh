# tirak-bench on a shipped level for a few frames, on the X server in
# $DISPLAY: the report's form and values that any correct run has. Speed is
# never checked here; the benchmark's own figures are for that.
# Usage: smoke_test.sh TIRAK_BENCH DATA_DIR BENCH_DIR
set -u
BENCH=$1
DATA=$2
BENCH_DIR=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
CHECKS=0
FRAMES=30

fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
check() { # check DESCRIPTION COMMAND...
    local what=$1; shift
    CHECKS=$((CHECKS + 1))
    if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
# holds EXPRESSION: awk's verdict on a comparison of the figures.
holds() { awk "BEGIN { exit !($1) }"; }

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY; run under xvfb-run"; exit 1; }

# run_bench ARGS...: runs the benchmark in the data directory, like the game.
run_bench() {
    (cd "$DATA" && timeout 60 "$BENCH" "$@" > "$WORK/out" 2> "$WORK/err")
    STATUS=$?
}

run_bench levels/2.lev "$FRAMES"
check "a run on levels/2.lev ends with status 0" test "$STATUS" -eq 0
LAST=$(tail -n 1 "$WORK/out")
echo "last line: $LAST"
FORM='^fps_mean=[0-9]+\.[0-9]{2} frame_p50_ms=[0-9]+\.[0-9]{2} frame_p99_ms=[0-9]+\.[0-9]{2} frame_max_ms=[0-9]+\.[0-9]{2} work_p50_ms=[0-9]+\.[0-9]{2} work_p99_ms=[0-9]+\.[0-9]{2} startup_ms=[0-9]+ peak_mib=[0-9]+$'
check "the last line has the machine-readable form" grep -Eq "$FORM" <<< "$LAST"

# The figures by name: fps_mean, frame_p50_ms, ...
for pair in $LAST; do
    printf -v "${pair%%=*}" '%s' "${pair#*=}"
done
: "${fps_mean:=0}" "${frame_p50_ms:=0}" "${frame_p99_ms:=0}" "${frame_max_ms:=0}"
: "${work_p50_ms:=0}" "${work_p99_ms:=0}" "${startup_ms:=0}" "${peak_mib:=0}"

check "the report names the level and the timed frames" \
    grep -q "^tirak-bench: levels/2.lev, $FRAMES timed frames at 1024x768$" "$WORK/out"
check "frame_time p50 <= p99 <= max" holds "$frame_p50_ms <= $frame_p99_ms && $frame_p99_ms <= $frame_max_ms"
check "work_time p50 <= p99" holds "$work_p50_ms <= $work_p99_ms"
# A frame is its work plus its sleep, so no share of the work times can
# exceed the same share of the frame times.
check "work_time never exceeds frame_time" holds "$work_p50_ms <= $frame_p50_ms && $work_p99_ms <= $frame_p99_ms"
# The loop sleeps until the period is up: a frame is never shorter, so the
# rate can never be above 60 and the median frame never below the period.
check "the median frame is at least the period" holds "$frame_p50_ms >= 16.60"
check "the mean rate is at most the paced 60 a second" holds "$fps_mean > 0 && $fps_mean <= 60.25"
check "the mean rate is no lower than the longest frame allows" holds "$fps_mean * $frame_max_ms >= 990"
check "peak memory is a positive number of MiB" holds "$peak_mib >= 1"
cpu_ms=$(sed -n 's/^processor \+\([0-9.]\+\) ms a frame.*/\1/p' "$WORK/out")
check "the processor time a frame is reported and positive" holds "${cpu_ms:-0} > 0"

# The start-up parts add up to the start-up time, and every part is there.
PARTS="libraries, to main|window and context|world|shaders|models|textures|particles|rest of start-up|first frame: sleep|first frame: draw, swap"
part_count=$(grep -Ec "^  ($PARTS) +-?[0-9]+\.[0-9] ms$" "$WORK/out")
check "the start-up breakdown has its ten parts" test "$part_count" -eq 10
part_sum=$(grep -E "^  ($PARTS) +-?[0-9]+\.[0-9] ms$" "$WORK/out" | awk '{ s += $(NF - 1) } END { print s + 0 }')
check "the parts ($part_sum ms) add up to startup_ms ($startup_ms)" holds "$part_sum - $startup_ms < 1.5 && $startup_ms - $part_sum < 1.5"
check "no part of start-up is negative" eval "! grep -Eq '^  ($PARTS) +-[0-9]' '$WORK/out'"
textures_ms=$(awk '/^  textures / { print $(NF - 1) }' "$WORK/out")
check "loading the shipped textures takes measurable time" holds "${textures_ms:-0} > 0"

# Failures are reported the game's way, and produce no figures.
run_bench levels/none.lev 10
check "a missing level file ends with status 1" test "$STATUS" -eq 1
# (The window opens before the level is read; the context report comes first.)
check "a missing level file ends with the game's one line" \
    test "$(tail -n 1 "$WORK/err")" = 'Cannot open "levels/none.lev": the file is missing or unreadable.'
check "a missing level file prints no figures" eval "! grep -q '^fps_mean=' '$WORK/out'"

printf 'size = 3\ncubes = 1\nlevel = 1 1 1 6\n' > "$WORK/no-ship.lev"
run_bench "$WORK/no-ship.lev" 10
check "a level without a ship start ends with status 1" test "$STATUS" -eq 1
check "a level without a ship start is named in the last line" \
    grep -Eqx "Cannot play \"$WORK/no-ship.lev\": .+\." <(tail -n 1 "$WORK/err")

for frames in 0 -5 ten 12x ""; do
    run_bench levels/1.lev $frames
    check "FRAMES '$frames' is refused with status 2" test "$STATUS" -eq 2
    check "FRAMES '$frames' is refused with a usage line" grep -q '^usage: tirak-bench LEVELFILE FRAMES' "$WORK/err"
done

# The committed stress level is what its generator makes.
check "bench/stress16.lev is what make_stress_level.sh 16 writes" \
    cmp -s <(bash "$BENCH_DIR/make_stress_level.sh" 16) "$BENCH_DIR/stress16.lev"

echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
[ "$FAILURES" -eq 0 ]
