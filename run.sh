#!/usr/bin/env bash
# Installs what is missing, builds (Release) and runs varnix with the given arguments.
# Without a simulator installation (VARNIX_REGISTRY unset and no Wine prefix holding the
# simulator's key) it uses the demo installation in data/demo.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/scripts/deps.sh"
install_missing "${RUN_PACKAGES[@]}"

build="$here/build"
if ! { cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNIX_TESTS=OFF &&
       cmake --build "$build" -j"$(nproc)" --target varnix; } > "$here/.build.log" 2>&1; then
    cat "$here/.build.log" >&2
    exit 1
fi

has_simulator_key() {
    [ -r "$1" ] && grep -qiE '^\[(HKEY_CURRENT_USER\\+)?Software\\+Volaro[23]\]' "$1"
}
if [ -z "${VARNIX_REGISTRY:-}" ] && ! has_simulator_key "${WINEPREFIX:-$HOME/.wine}/user.reg"; then
    export VARNIX_REGISTRY="$here/data/demo/user.reg"
fi
exec "$build/app/varnix" "$@"
