#!/usr/bin/env bash
# Builds the Linux program for installing under /usr and packs it as a Debian package:
# build-linux/varnix_VERSION_ARCH.deb (the Linux sibling of build_windows.sh). The package's
# contents and dependencies are set in cmake/deb.cmake.
#
#   scripts/build_linux.sh            prints the package's path on its last line
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/scripts/deps.sh"
install_missing "${RUN_PACKAGES[@]}" "${DEB_PACKAGES[@]}"

build="${VARNIX_LINUX_BUILD:-$here/build-linux}"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNIX_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/varnix_*.deb
(cd "$build" && cpack -G DEB > /dev/null)
ls "$build"/varnix_*.deb
