#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Release programs and makes the Debian package velmora_<version>_amd64.deb in the
# project's root; its dependencies are worked out from the libraries the programs link.
# Then lintian looks at it (its findings are printed, they do not stop the script).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
velmora_install_install_packages

build=build/package
# Debian's hardening flags (fortified functions, stack protector, PIE, read-only relocations
# bound at start).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
    "${launcher[@]}"
cmake --build "$build" -j "${VELMORA_JOBS:-$(nproc)}"
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/velmora_*_amd64.deb)
cp "$deb" .
echo "Package: $(basename "$deb")"
lintian --tag-display-limit 0 "$(basename "$deb")" || true
