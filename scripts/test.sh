#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test, after checking that every source is clang-formatted; windows are
# drawn on the offscreen platform; then checks what an installation holds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
scripts/check-format.sh
cmake --preset test
cmake --build --preset test -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset test "$@"
# What an installation holds, from the binaries just tested.
scripts/check-install.sh build/test
