#!/usr/bin/env bash
# test_windows.sh LINUX_BUILD: the Windows stage of test.sh. Cross-builds varnix.exe, varnixw.exe,
# the installer and the module tests (scripts/build_windows.sh), then, under Wine in a prefix of
# its own inside build-windows (never ~/.wine):
#   1. the module tests, through CTest's cross-compiling emulator;
#   2. one table of command lines on LINUX_BUILD/app/varnix and varnix.exe, compared;
#   3. the converter window on the X server of DISPLAY, when one is set;
#   4. the programs' subsystems, manifests, logs and languages, and the installer: install,
#      repair, upgrade, uninstall (tests/windows/installer.py).
# Artefacts (the window's screenshot) go to build-windows/artefacts.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
linux_build=${1:?usage: test_windows.sh LINUX_BUILD}
build="$here/build-windows"
prefix="$build/wineprefix"
started=$SECONDS

VARNIX_WINDOWS_TESTS=ON VARNIX_WINDOWS_EMULATOR="$here/scripts/wine_run.sh;$prefix" \
    bash "$here/scripts/build_windows.sh"

export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko installer dialogs: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    echo "test_windows: a new Wine prefix in $prefix" >&2
    (unset DISPLAY; wineboot --init) > "$build/wineboot.log" 2>&1
    wineserver -w
fi
# A fresh prefix has no fonts; the forms name Arial and Courier New, whose metric-compatible
# Liberation fonts stand in.
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$fonts/arial.ttf"
cp /usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf "$fonts/cour.ttf"
status=0  # every part runs; any failure fails the stage
# One Wine session for the whole stage: each program then starts in a fraction of a second.
wineserver -p 2>/dev/null || true  # (one may run already)
# Wine's own services start with the session's first program and keep its standard output: let
# them start here, so that they hold no pipe a test reads to its end.
wine cmd /c exit < /dev/null > /dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "test_windows: module tests under Wine (the Linux-only ones left out: tests/CMakeLists.txt)" >&2
# Headless: message boxes answer on standard error.
(unset DISPLAY; VARNIX_NO_DIALOGS=1 ctest --test-dir "$build" --output-on-failure --timeout 120 \
    -j"$(nproc)") || status=1

echo "test_windows: the command line on both builds" >&2
python3 "$here/tests/windows/compare_cli.py" "$linux_build/app/varnix" "$build/app/varnix.exe" \
    "$prefix" || status=1

if [ -n "${DISPLAY:-}" ]; then
    echo "test_windows: the converter window under Wine" >&2
    mkdir -p "$build/artefacts"
    python3 "$here/tests/windows/converter_window.py" "$linux_build/app/varnix" \
        "$build/app/varnix.exe" "$prefix" "$build/artefacts/converter-wine.png" || status=1
    echo "test_windows: a file opened with the program lands on the window's file page" >&2
    python3 "$here/tests/app/file_page_window_test.py" "$linux_build/app/varnix" "$here" \
        "$build/app/varnixw.exe" "$prefix" "$build/artefacts/file-page-wine.png" || status=1
fi
echo "test_windows: the programs and the installer" >&2
python3 "$here/tests/windows/installer.py" "$build" "$prefix" || status=1
echo "test_windows: done in $((SECONDS - started)) s$([ "$status" = 0 ] || echo ', with failures')" >&2
exit "$status"
