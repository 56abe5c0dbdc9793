# Installs the Debian packages named in the arguments that are not installed yet.
# Sourced by run.sh and test.sh; uses sudo when not root.
install_missing() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}" >&2
    $sudo apt-get update -qq >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >&2
}

# What building and running the program needs.
RUN_PACKAGES=(cmake g++ make pkg-config libfreetype-dev libfontconfig-dev libglfw3-dev
              libgl-dev libx11-dev libpugixml-dev nlohmann-json3-dev fonts-liberation xclip xsel
              wl-clipboard zenity)
# What the tests and benchmarks need beside that.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils xauth time
               imagemagick proj-bin geographiclib-tools clang libclang-rt-14-dev hyperfine
               x11-xserver-utils
               python3)
# What packing the Debian package needs (dpkg-shlibdeps) and its test uses (desktop entry,
# manual page and licence checks).
DEB_PACKAGES=(dpkg-dev shared-mime-info xvfb xdotool x11-utils desktop-file-utils man-db
              binutils)
# What cross-building the Windows program and testing it under Wine need beside that.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 dpkg-dev
                  nlohmann-json3-dev
                  zip googletest fonts-liberation xvfb xdotool xclip imagemagick wixl msitools)
