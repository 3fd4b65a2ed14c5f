#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when they are missing.
# Sourced by run.sh and test.sh; safe to run on its own.
set -euo pipefail

VELMORA_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    zlib1g-dev libbenchmark-dev
    python3 python3-dbfread
    fonts-liberation fontconfig
)

velmora_missing_packages() {
    local p
    for p in "${VELMORA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

velmora_install_packages() {
    local missing
    missing=$(velmora_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    velmora_install_packages
fi
