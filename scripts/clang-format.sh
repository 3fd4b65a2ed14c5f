#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The one clang-format the project formats with: Debian 12's clang-format 14. Another version
# lays some lines out differently, so both format.sh and check-format.sh go through this name.
# Sourced; sets VELMORA_CLANG_FORMAT or fails with what to install.
VELMORA_CLANG_FORMAT=$(command -v clang-format-14 || true)
if [ -z "$VELMORA_CLANG_FORMAT" ]; then
    echo "clang-format-14 lipseste: instalati pachetul clang-format-14 (scripts/setup.sh)" >&2
    return 1 2>/dev/null || exit 1
fi
