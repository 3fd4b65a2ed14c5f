#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test, after checking that every source is clang-formatted; windows are
# drawn on the offscreen platform; first it checks what an installation holds.
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
# What an installation holds, from the binaries about to be tested.
scripts/check-install.sh build/test
ctest --preset test "$@"
