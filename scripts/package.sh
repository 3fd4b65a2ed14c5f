#!/usr/bin/env bash
# Builds the Release programs and makes the Debian package velmora_<version>_amd64.deb in the
# project's root; its dependencies are worked out from the libraries the programs link.
# Then lintian looks at it (its findings are printed, they do not stop the script).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
velmora_install_packages
velmora_install_install_packages

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/velmora_*_amd64.deb)
cp "$deb" .
echo "Package: $(basename "$deb")"
lintian --no-tag-display-limit "$(basename "$deb")" || true
