#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ source of the project differs from what clang-format makes of it
# (scripts/format.sh applies it).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/clang-format.sh
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r "$VELMORA_CLANG_FORMAT" --dry-run --Werror
