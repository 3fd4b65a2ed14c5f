#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build needs, when they are missing.
# Sourced by run.sh and test.sh; safe to run on its own.
set -euo pipefail

VELMORA_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-tools-dev qt6-l10n-tools
    zlib1g-dev
    python3 python3-dbfread
    fonts-liberation fontconfig
    clang-format-14
    # LibreOffice Calc: the export tests open the Romanian CSV files with it.
    libreoffice-calc-nogui
)

# Only for scripts/fuzz.sh: the fuzz targets are built with clang and libFuzzer.
VELMORA_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# Only for the benchmarks and the side-by-side comparison with sqlite3.
VELMORA_BENCH_PACKAGES=(libbenchmark-dev hyperfine sqlite3 time)

# Only for scripts/screenshots.sh: a virtual display, a window manager to frame the windows,
# ImageMagick to check the shots, LibreOffice Writer and poppler to draw the printout's
# pages, and xdotool to type into the program by hand.
VELMORA_SCREENSHOT_PACKAGES=(xvfb openbox imagemagick libreoffice-writer-nogui poppler-utils xdotool)

# Only for the install check and the Debian package: the validators of the menu entry and the
# AppStream file, the package's checker, dpkg-shlibdeps and file (which CPack asks about the
# programs).
VELMORA_INSTALL_PACKAGES=(desktop-file-utils appstream lintian dpkg-dev file)

velmora_missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

# With no arguments installs the build's packages; otherwise the ones named.
velmora_install_packages() {
    local missing
    if [ $# -eq 0 ]; then set -- "${VELMORA_PACKAGES[@]}"; fi
    missing=$(velmora_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
}

velmora_install_bench_packages() {
    velmora_install_packages "${VELMORA_BENCH_PACKAGES[@]}"
}

velmora_install_screenshot_packages() {
    velmora_install_packages "${VELMORA_SCREENSHOT_PACKAGES[@]}"
}

velmora_install_install_packages() {
    velmora_install_packages "${VELMORA_INSTALL_PACKAGES[@]}"
}

velmora_install_fuzz_packages() {
    velmora_install_packages "${VELMORA_FUZZ_PACKAGES[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    velmora_install_packages
    # An if, not "[ ... ] && ...": that list's false test would be the script's exit status.
    if [ "${1:-}" = "--bench" ]; then
        velmora_install_bench_packages
    fi
fi
