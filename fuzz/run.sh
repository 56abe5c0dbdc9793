#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and runs each for a
# bounded time on the committed seed corpus, as many at a time as there are cores. Exit status 0
# when no target crashed, hung or reported a sanitizer fault, 1 otherwise.
#
#   bash fuzz/run.sh                              # every target, 10 s each
#   VARNIX_FUZZ_SECONDS=600 bash fuzz/run.sh      # longer
#   VARNIX_FUZZ_TARGETS="cup fpl" bash fuzz/run.sh
#   VARNIX_FUZZ_SEED=0 bash fuzz/run.sh           # a new exploration each run (libFuzzer's own)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${VARNIX_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${VARNIX_FUZZ_SECONDS:-10}"
# A fixed seed by default: the short runs of ./test.sh then try the same inputs each time, so a
# build fails for what it changed, not for what a new exploration happened to reach.
seed="${VARNIX_FUZZ_SEED:-1}"
jobs="${VARNIX_FUZZ_JOBS:-$(nproc)}"

# Each target with the longest input it is given: room for what its files hold, no more, as a
# run's time grows with the input's length.
declare -A max_len=(
    [form_def]=1536    # a form of a few dozen boxes (every_kind.frm)
    [form_data]=2048   # a saved-values line per box of a full form
    [coord]=64         # two coordinate fields
    [trn]=512          # headers are 36 and 48 bytes, a text grid header six lines
    [reg_file]=2048    # a few keys of a registry store
    [batch_line]=2048
    [cup]=2048         # waypoints, a header and a task section
    [cup_tasks]=2048
    [fpl]=2048
    [gpx]=2048         # a few waypoints and a route
    [tsk]=2048         # a task of three or four points
    [xctsk]=2048
    [xctsk_qr]=1024    # a QR code's task: five points of about 20 bytes each
    [cup_rules]=2048   # waypoints and a task with its rule lines
)
read -r -a targets <<<"${VARNIX_FUZZ_TARGETS:-form_def form_data coord trn reg_file batch_line cup cup_tasks fpl gpx tsk xctsk xctsk_qr cup_rules}"
for t in "${targets[@]}"; do
    [ -n "${max_len[$t]:-}" ] || { echo "no fuzz target $t (known: ${!max_len[*]})"; exit 1; }
done

mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVARNIX_FUZZ=ON -DVARNIX_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

# The corpus grows by a file for each input that reaches new code. Creating thousands of small
# files on the disk's file system slows a short run noticeably, so the corpus lives in a RAM
# folder while the target runs, when there is one, and is moved beside the run's log after it.
ram="${VARNIX_FUZZ_RAM:-/dev/shm}"
scratch=""
if [ -d "$ram" ] && [ -w "$ram" ]; then
    scratch="$(mktemp -d "$ram/varnix-fuzz.XXXXXX")"
    trap 'rm -rf "$scratch"' EXIT
fi

# One target in its own folder: the run's log, crash inputs and the grown corpus stay there.
run_one() {
    local t="$1" work="$build/work/$1"
    local corpus="${scratch:+$scratch/$1}"
    corpus="${corpus:-$work/corpus}"
    rm -rf "$work"
    mkdir -p "$work" "$corpus"
    cp "$here/corpus/$t"/* "$corpus/"
    # The programs' console lines (stdout) are dropped.
    local rc=0
    (cd "$work" && "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -seed="$seed" \
        -max_len="${max_len[$t]}" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 \
        -print_final_stats=1 "$corpus" >run.log 2>&1) || rc=$?
    if [ -n "$scratch" ]; then mv "$corpus" "$work/corpus"; fi
    return "$rc"
}

status=0
declare -A pid_of=()
report() {
    local t="$1" log="$build/work/$1/run.log"
    if wait "${pid_of[$t]}"; then
        local runs rate
        runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
        rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
        echo "fuzz_$t: $runs runs, $rate/s, no fault"
    else
        status=1
        echo "fuzz_$t: FAULT (inputs and log in $build/work/$t)"
        tail -n 60 "$log"
    fi
}
running=()
for t in "${targets[@]}"; do
    run_one "$t" &
    pid_of[$t]=$!
    running+=("$t")
    if [ "${#running[@]}" -ge "$jobs" ]; then
        report "${running[0]}"
        running=("${running[@]:1}")
    fi
done
for t in "${running[@]}"; do report "$t"; done
exit "$status"
