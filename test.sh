#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, and runs every test
# (window tests under a private Xvfb), then the fuzz targets for a short bounded time, then the
# Windows stage: varnix.exe cross-built and proven under Wine (scripts/test_windows.sh).
# VARNIX_SKIP_WINDOWS=1 skips that stage for a quick local run; CI never skips it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" \
    "${DEB_PACKAGES[@]}"

# Includes point down the layers; cheap, so it goes first.
python3 "$here/scripts/check_layers.py"

build="$here/build-asan"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVARNIX_SANITIZE=ON -DVARNIX_TESTS=ON
cmake --build "$build" -j"$(nproc)"

# A private X server for the window and clipboard tests.
display=""
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=":$n"; break; fi
done
# -noreset: a server left without clients starts afresh, and a client connecting meanwhile (a
# test's window, xclip) is refused; with tests in parallel that happens now and then.
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset > /dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" > /dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY="$display"
unset WAYLAND_DISPLAY

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export VARNIX_NO_DIALOGS=1
ctest --test-dir "$build" --output-on-failure --timeout 300 -j"$(nproc)"

# The Debian package installed with dpkg, run and removed: root only (CI runs as root).
if [ "$(id -u)" -eq 0 ] && [ "${VARNIX_SKIP_DEB:-}" != 1 ]; then
    bash "$here/scripts/test_deb.sh"
else
    echo "test.sh: the .deb stage skipped (not root, or VARNIX_SKIP_DEB=1)" >&2
fi

if [ -f "$here/fuzz/run.sh" ]; then
    bash "$here/fuzz/run.sh"
fi

if [ "${VARNIX_SKIP_WINDOWS:-}" = 1 ] && [ "${CI:-}" != true ]; then
    echo "test.sh: the Windows stage skipped (VARNIX_SKIP_WINDOWS=1)" >&2
else
    bash "$here/scripts/test_windows.sh" "$build"
fi
