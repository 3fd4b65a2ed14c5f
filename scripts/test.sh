#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks that every source is clang-formatted and carries its licence
# line, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test; windows
# are drawn on the offscreen platform; first it checks what an installation holds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
scripts/check-format.sh
scripts/spdx.sh --check
cmake --preset test
cmake --build --preset test -j "$(nproc)"
# The same sanitizer options as the test preset gives ctest (CMakePresets.json).
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# What an installation holds, from the binaries about to be tested.
scripts/check-install.sh build/test
ctest --preset test "$@"
