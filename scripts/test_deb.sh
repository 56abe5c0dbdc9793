#!/usr/bin/env bash
# The Debian package on this machine, as a pilot gets it: built by build_linux.sh, installed
# with dpkg -i, a point and the window run from the installed files, then removed with nothing
# left behind. Needs root (dpkg); a stage of test.sh, which CI runs as root.
#
#   scripts/test_deb.sh               uses $DISPLAY, or a private Xvfb when there is none
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "test_deb.sh: needs root for dpkg" >&2; exit 1; }
if dpkg-query -W -f='${Status}' varnix 2>/dev/null | grep -q "install ok installed"; then
    echo "test_deb.sh: a varnix package is installed already; not touching it" >&2
    exit 1
fi
deb=$(bash "$here/scripts/build_linux.sh" | tail -n 1)
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    dpkg --purge varnix > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test_deb.sh: $*" >&2; exit 1; }

dpkg -i "$deb" > /dev/null
files=(/usr/bin/varnix /usr/lib/varnix/varnix_window.so /usr/share/varnix/Varnix_form.frm
       /usr/share/applications/varnix.desktop /usr/share/icons/hicolor/128x128/apps/varnix.png
       /usr/share/mime/packages/varnix.xml /usr/share/man/man1/varnix.1.gz
       /usr/share/bash-completion/completions/varnix /usr/share/doc/varnix/copyright)
for f in "${files[@]}"; do [ -f "$f" ] || fail "not installed: $f"; done
grep -qx 'Exec=varnix -gui %f' /usr/share/applications/varnix.desktop ||
    fail "the desktop entry does not open files with the window"
# The MIME database was brought up to date by shared-mime-info's trigger.
for ext in cup fpl tsk xctsk gpx; do
    grep -q ":\*\.$ext\$" /usr/share/mime/globs2 || fail "*.$ext is no known file type"
done
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no dependencies declared"
validated=$(desktop-file-validate /usr/share/applications/varnix.desktop 2>&1) ||
    fail "desktop-file-validate: $validated"
[ -z "$validated" ] || fail "desktop-file-validate: $validated"
# Licences: what the programs link in statically is in the copyright file, and each shared
# library comes from a package with its own.
python3 "$here/scripts/check_licences.py" deb /usr/share/doc/varnix/copyright /usr/bin/varnix \
    /usr/lib/varnix/varnix_window.so || fail "the copyright file does not match the programs"
for lib in $(ldd /usr/bin/varnix /usr/lib/varnix/varnix_window.so | awk '$3 ~ /^\// { print $3 }' |
             sort -u); do
    # dpkg knows a file by the path its package gave it: /lib or /usr/lib (merged /usr).
    pkg=$( (dpkg -S "$lib" || dpkg -S "$(realpath "$lib")") 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$pkg" ] || fail "$lib belongs to no package"
    [ -f "/usr/share/doc/$pkg/copyright" ] || fail "$lib: $pkg has no copyright file"
done

# The manual page, as man shows it, without a formatting warning.
man_err=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l /usr/share/man/man1/varnix.1.gz 2>&1 \
          > "$work/man.txt") || fail "man -l failed: $man_err"
[ -z "$man_err" ] || fail "man -l: $man_err"
for text in VARNIX_REGISTRY "EXIT STATUS" --version .xctsk Varnix.log; do
    grep -qF -- "$text" "$work/man.txt" || fail "the manual page does not mention $text"
done
# The completion, sourced in bash: an option, then the input files by extension and folders.
mkdir "$work/completion" "$work/completion/flights"
touch "$work/completion/club.cup" "$work/completion/photo.png"
completed=$(cd "$work/completion" && bash -c '
    source /usr/share/bash-completion/completions/varnix
    complete -p varnix > /dev/null
    COMP_WORDS=(varnix --ver); COMP_CWORD=1; _varnix; echo "${COMPREPLY[*]}"
    COMP_WORDS=(varnix -batch Demo ""); COMP_CWORD=3; _varnix; printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "')
[ "$completed" = $'--version\nclub.cup flights ' ] || fail "bash completion gave: $completed"

# A point, from the installed program with the demo installation.
cd "$work"
out=$(HOME="$work" VARNIX_REGISTRY="$here/data/demo/user.reg" varnix Demo 46.5 9.25)
case "$out" in
    TPPosX=*TPPosY=*) ;;
    *) fail "the installed varnix converted nothing: $out" ;;
esac

# The window, from the installed module and form file.
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 130 160); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || { DISPLAY=":$n"; break; }
    done
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY
    for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
fi
HOME="$work" VARNIX_REGISTRY="$here/data/demo/user.reg" VARNIX_NO_DIALOGS=1 \
    varnix -gui > "$work/gui.out" 2>&1 &
gui=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --pid "$gui" --name Varnix 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
kill "$gui" 2>/dev/null || true
wait "$gui" 2>/dev/null || true
[ -n "$window" ] || fail "the installed varnix showed no window: $(cat "$work/gui.out")"

dpkg --purge varnix > /dev/null
dpkg-query -W varnix > /dev/null 2>&1 && fail "dpkg still knows the package after its purge"
for f in "${files[@]}"; do [ ! -e "$f" ] || fail "left after removal: $f"; done
echo "test_deb.sh: $(basename "$deb") installs, converts, opens its window and goes"
