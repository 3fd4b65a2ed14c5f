#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every C++ source of the project the way check-format.sh checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/clang-format.sh
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r "$VELMORA_CLANG_FORMAT" -i
