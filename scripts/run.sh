#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the Release program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
cmake --preset release
cmake --build --preset release -j "$(nproc)"
exec build/release/bin/velmora "$@"
