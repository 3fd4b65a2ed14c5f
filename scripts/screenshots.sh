#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws every screenshot in docs/screenshots from the real windows, on a virtual display
# with a window manager, so that they can be refreshed whenever a window changes.
#
#   scripts/screenshots.sh              all scenes
#   scripts/screenshots.sh main_menu    only the scenes named (--list names them all)
#
# VELMORA_DISPLAY picks the display number (the first free one from 90 otherwise). The
# scenes live in tests/screenshots/shots_*.cpp; a new window adds its own file there and its
# row in the README's table.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
velmora_install_screenshot_packages

cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target velmora-screenshots
driver=build/dev/bin/velmora-screenshots
out=docs/screenshots

if [ "${1:-}" = "--list" ]; then
    QT_QPA_PLATFORM=offscreen "$driver" --list
    exit 0
fi

display="${VELMORA_DISPLAY:-}"
if [ -z "$display" ]; then
    display=90
    while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
        display=$((display + 1))
    done
fi

# Fonts, settings and runtime files of the run stay out of the user's home.
scratch=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done
DISPLAY=":${display}" openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

started=$(date +%s)
# Under the Romanian locale of the program's users: their date format, and Qt's own dialogs in
# the program's Romanian.
status=0
DISPLAY=":${display}" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch/config" \
    XDG_RUNTIME_DIR="$scratch" HOME="$scratch" LC_ALL=ro_RO.UTF-8 \
    "$driver" --out "$out" "$@" || status=1

# Every shot comes from a scene (the test screenshots/scenelist checks that each file has
# one); a shot that came out of one colour shows nothing: the window was not on screen.
for shot in "$out"/*.png; do
    if [ $# -eq 0 ] && [ "$(stat -c %Y "$shot")" -lt "$started" ]; then
        echo "not redrawn by any scene: $shot" >&2
        status=1
    fi
    colours=$(identify -format '%k' "$shot")
    if [ "$colours" -lt 8 ]; then
        echo "blank shot ($colours colours): $shot" >&2
        status=1
    fi
done
exit $status
