#!/usr/bin/env bash
# cmake --install puts the program where a desktop finds it, and the installed varnix finds its
# window's definition in ../share/varnix/.   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
demo=$(cd "$(dirname "$0")/../../data/demo" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
status=0
for f in bin/varnix share/varnix/Varnix_form.frm share/varnix/Varnix_files.frm \
    share/applications/varnix.desktop share/icons/hicolor/128x128/apps/varnix.png \
    share/mime/packages/varnix.xml share/man/man1/varnix.1.gz \
    share/bash-completion/completions/varnix share/doc/varnix/copyright; do
    [ -f "$prefix/$f" ] || { echo "not installed: $f"; status=1; }
done
grep -qx 'Exec=varnix -gui %f' "$prefix/share/applications/varnix.desktop" ||
    { echo "desktop entry does not start the converter"; status=1; }
# Without a display the start goes as far as the window: the definition was found and read.
err=$(cd "$prefix" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$prefix" VARNIX_NO_DIALOGS=1 \
    VARNIX_REGISTRY="$demo/user.reg" "$prefix/bin/varnix" 2>&1 > /dev/null || true)
case "$err" in
    *"STOP frm_create_form: no display"*) ;;
    *) echo "installed varnix did not reach its window: $err"; status=1 ;;
esac
exit $status
