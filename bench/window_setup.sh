# Shared set-up of the window timings (sourced after `set -euo pipefail` with here= set): a
# scratch folder ($work, removed at exit), a private Xvfb made $DISPLAY by start_xvfb, and
# build_varnix: the Release build of varnix in $build, as $binary.
build_varnix() {
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$build" -j"$(nproc)" --target varnix > /dev/null
    binary="$build/app/varnix"
}

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb() {
    local display="" n
    for n in $(seq 171 199); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || { display=":$n"; break; }
    done
    # -noreset: a server with no client left would start afresh and forget resources set on it.
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset > /dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do xdpyinfo -display "$display" > /dev/null 2>&1 && break; sleep 0.1; done
    export DISPLAY="$display" VARNIX_NO_DIALOGS=1 XDG_CONFIG_HOME="$work/config"
    unset WAYLAND_DISPLAY
}
