#!/usr/bin/env bash
# The gallery's monkey on both Linux builds at once, each on a display of its own, for SOAK_SECONDS: the
# sanitizer build for memory errors, leaks and X errors, the optimised build for the resident memory,
# which only there is the program's own. Each prints its seed; SOAK_SEED replays both.
#   soak-linux.sh <log dir>
set -u

logs=$1
export SOAK_SECONDS=${SOAK_SECONDS:-600}
mkdir -p "$logs"
seed=${SOAK_SEED:-$(date +%s)}
echo "soak: $((SOAK_SECONDS / 60)) min on both Linux builds; logs in $logs/linux-asan.log, $logs/linux-normal.log"
SOAK_SEED=$seed ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    build/asan/tests/e2e/test_gallery_monkey --gtest_filter='*.Linux' >"$logs/linux-asan.log" 2>&1 &
asan=$!
SOAK_SEED=${SOAK_SEED:-$((seed + 1))} \
    build/normal/tests/e2e/test_gallery_monkey --gtest_filter='*.Linux' >"$logs/linux-normal.log" 2>&1 &
normal=$!
wait $asan
asan_code=$?
wait $normal
normal_code=$?
for build in asan normal; do
    echo "=== the $build build"
    cat "$logs/linux-$build.log"
done
[ $asan_code = 0 ] && [ $normal_code = 0 ]
