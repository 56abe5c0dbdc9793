#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian: build-windows/app/varnix.exe (the console
# program) and varnixw.exe (the same for the GUI subsystem: no console window) with their form
# file, and for pilots build-windows/varnix-windows-x86_64.zip (a portable copy) and
# build-windows/varnix-windows-x86_64.msi (the installer, made with wixl).
#
# GLFW and FreeType for Windows are built once from Debian's own source packages (fetched
# with a private apt list, so the machine's apt set-up is left as it is), GoogleTest from
# /usr/src/googletest; all three are kept in build-windows/deps and reused by later runs.
#
#   scripts/build_windows.sh          the program and the zip
#   VARNIX_WINDOWS_TESTS=ON ...       also the test binaries (run under Wine by test_windows.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/scripts/deps.sh"
install_missing "${WINDOWS_PACKAGES[@]}"

build="${VARNIX_WINDOWS_BUILD:-$here/build-windows}"
deps="$build/deps"
prefix="$deps/prefix"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
jobs=$(nproc)
mkdir -p "$deps"

# --- Debian source packages, through a private apt state ---------------------------------------
# A deb-src line for each suite the machine's own sources name (deb822 or one-line lists).
write_source_list() {
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -r "$f" ] || continue
            awk '
                function flush() {
                    if (types ~ /(^| )deb( |$)/ && uris != "")
                        for (i = 1; i <= nsuites; i++)
                            printf "deb-src%s %s %s %s\n", signed, uris, suites[i], comps
                    types = uris = comps = signed = ""; nsuites = 0
                }
                /^[[:space:]]*$/ { flush(); next }
                /^#/ { next }
                /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
                /^URIs:/ { uris = $2 }
                /^Suites:/ { nsuites = split(substr($0, index($0, ":") + 1), suites, " ") }
                /^Components:/ { sub(/^Components:[[:space:]]*/, ""); comps = $0 }
                /^Signed-By:/ { signed = " [signed-by=" $2 "]" }
                END { flush() }
            ' "$f"
        done
        for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -r "$f" ] || continue
            sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
        done
    } | sort -u
}

fetch_source() {  # fetch_source PACKAGE: unpacks Debian's source of PACKAGE into $deps/src
    local apt="$deps/apt"
    local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=-"
                -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
    if [ ! -f "$apt/updated" ]; then
        mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
        write_source_list > "$apt/sources.list"
        if [ ! -s "$apt/sources.list" ]; then
            echo "build_windows: no Debian sources in /etc/apt to fetch $1 from" >&2
            return 1
        fi
        apt-get "${opts[@]}" update -qq
        touch "$apt/updated"
    fi
    mkdir -p "$deps/src"
    (cd "$deps/src" && apt-get "${opts[@]}" source -qq "$1" > /dev/null)
}

cross_cmake() {  # cross_cmake NAME SOURCE_DIR CMAKE_ARGS...: builds and installs into $prefix
    local name=$1 src=$2
    shift 2
    cmake -S "$src" -B "$deps/build-$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        "$@" > "$deps/build-$name.log" 2>&1 &&
    cmake --build "$deps/build-$name" -j"$jobs" >> "$deps/build-$name.log" 2>&1 &&
    cmake --install "$deps/build-$name" >> "$deps/build-$name.log" 2>&1 || {
        echo "build_windows: building $name for Windows failed:" >&2
        tail -n 30 "$deps/build-$name.log" >&2
        return 1
    }
}

if [ ! -f "$deps/glfw.done" ]; then
    echo "build_windows: GLFW for Windows (once)" >&2
    fetch_source glfw3
    cross_cmake glfw "$(ls -d "$deps"/src/glfw3-*/ | head -n 1)" \
        -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
    cp "$(ls -d "$deps"/src/glfw3-*/ | head -n 1)/LICENSE.md" "$deps/GLFW-LICENSE.txt"
    touch "$deps/glfw.done"
fi
if [ ! -f "$deps/freetype.done" ]; then
    echo "build_windows: FreeType for Windows (once)" >&2
    fetch_source freetype
    ft_src=$(ls -d "$deps"/src/freetype-*/ | head -n 1)
    cross_cmake freetype "$ft_src" -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE \
        -DFT_DISABLE_PNG=TRUE -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE
    cp "$ft_src/docs/FTL.TXT" "$deps/FreeType-FTL.txt"
    touch "$deps/freetype.done"
fi
if [ ! -f "$deps/pugixml.done" ]; then
    echo "build_windows: pugixml for Windows (once)" >&2
    fetch_source pugixml
    px_src=$(ls -d "$deps"/src/pugixml-*/ | head -n 1)
    cross_cmake pugixml "$px_src" -DPUGIXML_BUILD_TESTS=OFF
    cp "$px_src/LICENSE.md" "$deps/pugixml-LICENSE.txt"
    touch "$deps/pugixml.done"
fi
if [ ! -f "$deps/nlohmann-json.done" ]; then  # headers only: the machine's own
    mkdir -p "$prefix/include"
    cp -r /usr/include/nlohmann "$prefix/include/"
    cp /usr/share/doc/nlohmann-json3-dev/copyright "$deps/nlohmann-json-LICENSE.txt"
    touch "$deps/nlohmann-json.done"
fi
if [ "${VARNIX_WINDOWS_TESTS:-OFF}" = ON ] && [ ! -f "$deps/googletest.done" ]; then
    echo "build_windows: GoogleTest for Windows (once)" >&2
    cross_cmake googletest /usr/src/googletest -Dgtest_disable_pthreads=OFF
    touch "$deps/googletest.done"
fi

# --- the program ------------------------------------------------------------------------------
cmake -S "$here" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DVARNIX_TESTS="${VARNIX_WINDOWS_TESTS:-OFF}" \
    ${VARNIX_WINDOWS_EMULATOR:+-DCMAKE_CROSSCOMPILING_EMULATOR="$VARNIX_WINDOWS_EMULATOR"} \
    > "$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j"$jobs"

# --- the zip for pilots -----------------------------------------------------------------------
stage="$build/zip/varnix"
rm -rf "$build/zip"
mkdir -p "$stage/licenses"
cp "$build/app/varnix.exe" "$build/app/varnixw.exe" "$build/app/Varnix_form.frm" \
   "$build/app/Varnix_files.frm" "$stage/"
cp "$here/data/windows/README.txt" "$stage/README.txt"
cp "$here/docs/file-page.png" "$stage/file-page.png"
cp "$deps/FreeType-FTL.txt" "$stage/licenses/FreeType-FTL.txt"
cp "$deps/GLFW-LICENSE.txt" "$stage/licenses/GLFW-zlib.txt"
cp "$deps/pugixml-LICENSE.txt" "$stage/licenses/pugixml-MIT.txt"
cp "$deps/nlohmann-json-LICENSE.txt" "$stage/licenses/nlohmann-json-MIT.txt"
cp "$here/data/windows/THIRD-PARTY.txt" "$stage/licenses/THIRD-PARTY.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime.txt"
x86_64-w64-mingw32-strip "$stage/varnix.exe" "$stage/varnixw.exe"  # symbols: the build's copy
for f in "$stage/README.txt" "$stage/licenses/"*.txt; do  # Notepad-friendly line ends
    sed -i 's/\r*$/\r/' "$f"
done
rm -f "$build/varnix-windows-x86_64.zip"
(cd "$build/zip" && zip -q -r -X "$build/varnix-windows-x86_64.zip" varnix)
echo "build_windows: $build/varnix-windows-x86_64.zip" >&2

# --- the installer ----------------------------------------------------------------------------
msi="$build/varnix-windows-x86_64.msi"
cp "$here/data/varnix.ico" "$build/zip/varnix.ico"
bash "$here/scripts/make_msi.sh" "$build/app/varnix.wxs" "$msi" "$build/zip/varnix"
echo "build_windows: $msi" >&2
