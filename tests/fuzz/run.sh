#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each of them for
# a bounded time, starting from the seed corpus in tests/fuzz/corpus. Fails
# when a target crashes, runs out of memory or time on one input, or breaks
# one of its checks; the input is then saved under build-fuzz/artifacts.
#
#   tests/fuzz/run.sh              every target within TIRAK_FUZZ_SECONDS (45)
#   tests/fuzz/run.sh level        one target, all that time
#
# The targets run side by side, one per core; with more targets than cores
# they take turns, each for its share of the time. What they find along the way
# stays in build-fuzz/corpus, not in the repository; a crash worth keeping
# is copied into tests/fuzz/corpus/TARGET by hand, with its fix.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
seconds=${TIRAK_FUZZ_SECONDS:-45}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings level image model sound)
cores=$(nproc)
slots=$(( ${#targets[@]} < cores ? ${#targets[@]} : cores ))
turns=$(( (${#targets[@]} + slots - 1) / slots ))
share=$(( seconds / turns > 1 ? seconds / turns : 1 ))   # 0 would be no limit

# Limits per input: a level file a designer writes is a few kilobytes, the
# texture and model seeds a few tens, the sound seeds a few (the shipped
# sounds, cut short here, stand for the longer ones). None needs more than half a second or
# a few hundred megabytes (the slowest, an image of 1024*1024 pixels, the
# most the image target decodes, takes 0.4 s).
max_len() {
    case $1 in
        image) echo 65536 ;;
        model | sound) echo 16384 ;;
        *) echo 4096 ;;
    esac
}
TIMEOUT=10            # seconds
RSS_LIMIT=2048        # MiB

# Ninja and a unity build, as for the sanitizer build: a third quicker.
grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build/CMakeCache.txt" || rm -rf "$build"
if ! configure_log=$(CXX=clang++ cmake -G Ninja -S "$root" -B "$build" -DTIRAK_FUZZ=ON -DBUILD_TESTING=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON 2>&1); then
    echo "$configure_log"
    echo "fuzz: FAILED to configure the clang build in $build"
    exit 1
fi
build_targets=()
for target in "${targets[@]}"; do build_targets+=("tirak_fuzz_$target"); done
if ! cmake --build "$build" --parallel "$(nproc)" --target "${build_targets[@]}"; then
    echo "fuzz: FAILED to build ${build_targets[*]}"
    exit 1
fi

# Each input is written to a scratch file: keep those in memory, not on
# disk, and in a directory of this run, so that a target that crashed
# leaves nothing behind.
scratch_parent=/tmp
[ -d /dev/shm ] && scratch_parent=/dev/shm
TMPDIR=$(mktemp -d "$scratch_parent/tirak-fuzz-run-XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
# A smaller quarantine than ASan's 256 MiB: memory freed by one input is
# reused sooner, which more than doubles the runs per second here. Frees
# and reuses within one input are still caught.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/fuzz/lsan.supp}

pids=()
statuses=()
for k in "${!targets[@]}"; do
    target=${targets[$k]}
    # A free core first: the target started a turn before this one ends.
    if [ "$k" -ge "$slots" ]; then
        wait "${pids[$k - slots]}"
        statuses[$k - slots]=$?
    fi
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts" "$build/logs"
    "$build/tests/fuzz/tirak_fuzz_$target" \
        -max_total_time="$share" -timeout="$TIMEOUT" -rss_limit_mb="$RSS_LIMIT" \
        -max_len="$(max_len "$target")" -dict="$root/tests/fuzz/$target.dict" \
        -artifact_prefix="$artifacts" -print_final_stats=1 \
        "$corpus" "$root/tests/fuzz/corpus/$target" > "$build/logs/$target.log" 2>&1 &
    pids+=($!)
done

summary=()
failed=0
for k in "${!targets[@]}"; do
    target=${targets[$k]}
    log="$build/logs/$target.log"
    if [ -z "${statuses[$k]:-}" ]; then
        wait "${pids[$k]}"
        statuses[$k]=$?
    fi
    status=${statuses[$k]}
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        summary+=("$target ${runs:-?} runs clean")
    else
        failed=1
        echo "---- $target: the end of $log"
        tail -n 60 "$log"
        summary+=("$target FAILED (status $status, input saved in $build/artifacts/$target/)")
    fi
done

line=$(IFS=';'; echo "${summary[*]}" | sed 's/;/, /g')
if [ "$failed" -eq 0 ]; then
    echo "fuzz: $line (${share} s each)"
else
    echo "fuzz: $line"
fi
exit "$failed"
