#!/usr/bin/env bash
# Makes docs/converter.png, the picture of the converter window in the README: the real window
# on the demo installation under a private Xvfb, after Convert on a remembered position.
#   scripts/converter_screenshot.sh [BUILD_DIR [LOCALE]]   (default: build, as ./run.sh makes it)
# With a LOCALE (fr_FR.UTF-8, de_DE.UTF-8) the window in that language, as docs/converter-LL.png.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
binary="${1:-$here/build}/app/varnix"
locale="${2:-}"
out="$here/docs/converter${locale:+-${locale:0:2}}.png"
[ -x "$binary" ] || { echo "no $binary: build first (./run.sh builds build/)" >&2; exit 1; }
binary=$(realpath "$binary")

display=""
for n in $(seq 171 199); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
work=$(mktemp -d)
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset > /dev/null 2>&1 &
xvfb=$!
varnix=""
cleanup() {
    [ -n "$varnix" ] && kill "$varnix" 2> /dev/null || true
    kill "$xvfb" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" > /dev/null 2>&1 && break; sleep 0.1; done

export DISPLAY="$display" VARNIX_NO_DIALOGS=1 XDG_CONFIG_HOME="$work/config"
export VARNIX_REGISTRY="$here/data/demo/user.reg"
[ -z "$locale" ] || export LC_ALL="$locale"
unset WAYLAND_DISPLAY
# What the window remembers from a last run: the demo landscape, a position in waypoint notation.
mkdir -p "$work/config/varnix"
printf 'LND=Demo\nIT=1\nOT=1\nIC1=4630.250N\nIC2=00915.500E\n' > "$work/config/varnix/Varnix_form.dat"

(cd "$work" && exec "$binary") > "$work/out.txt" 2>&1 &
varnix=$!
win=""
for _ in $(seq 100); do
    win=$(xdotool search --name '^Varnix$' 2> /dev/null | head -1) && [ -n "$win" ] && break
    sleep 0.05
done
[ -n "$win" ] || { cat "$work/out.txt" >&2; echo "the window did not open" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$win")"
# A slow build (the sanitizers) may show the window before it takes clicks: VARNIX_SHOT_WAIT=3.
sleep "${VARNIX_SHOT_WAIT:-0}"
# Convert: the first button, centred at 20 % of the width, 12 pixels above the bottom edge.
xdotool mousemove --window "$win" $((WIDTH / 5)) $((HEIGHT - 18)) click 1
xdotool mousemove --window "$win" $((WIDTH - 2)) $((HEIGHT / 2))
sleep 0.5
import -window "$win" "$out"
echo "$out: ${WIDTH}x${HEIGHT}"
