#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of tests/fuzz with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, and runs each for SECONDS (default 60) on a working
# copy of its seed corpus. Inputs that break a target are kept in build/fuzz/findings/<target>.
# Exit status 1 when any target found something.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
velmora_install_fuzz_packages

seconds="${1:-60}"
shift || true
build=build/fuzz
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 \
    -DVELMORA_FUZZ=ON -DBUILD_TESTING=OFF -DVELMORA_WERROR=OFF
cmake --build "$build" --target velmora_fuzz -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
# The targets write a file or two per input: a memory file system keeps that cheap.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in "${targets[@]}"; do
    work="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings"
    seeds="tests/fuzz/corpus/$target"
    [ -d "$seeds" ] || seeds=""
    echo "== $target: $seconds s"
    # Findings of earlier runs stay for the developer to look at; only new ones fail this run.
    stamp="$build/$target.started"
    touch "$stamp"
    status=0
    "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 \
        "$work" $seeds >"$build/$target.log" 2>&1 || status=$?
    grep -E "^(#[0-9]+\s+(INITED|DONE)|==[0-9]+==|SUMMARY|stat::|invariant)" "$build/$target.log" |
        tail -n 20 || true
    if [ "$status" -ne 0 ]; then
        echo "!! $target stopped with status $status: $build/$target.log"
        failed=1
    fi
    if [ -n "$(find "$findings" -type f -newer "$stamp" -print -quit)" ]; then
        echo "!! $target found something: $findings"
        failed=1
    fi
done
exit $failed
