# Shared by tools/run and tools/test: make sure the Debian packages the build
# needs are installed, then configure and build incrementally into build/.
# Sourced, not run.

ZENTARA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZENTARA_BUILD="${ZENTARA_BUILD:-$ZENTARA_ROOT/build}"

ZENTARA_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libopenal-dev libopenal1 libpng-dev zlib1g-dev
    fontconfig fonts-dejavu-core
    libgtest-dev libbenchmark-dev
)

die() {
    echo "error: $*" >&2
    exit 1
}

# ensure_packages [extra packages...]
ensure_packages() {
    local wanted=("${ZENTARA_PACKAGES[@]}" "$@") missing=() pkg
    for pkg in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || die "packages ${missing[*]} are missing, and installing them needs root or sudo"
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update ||
        die "apt-get update failed; the packages ${missing[*]} cannot be had"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}" ||
        die "apt-get could not install: ${missing[*]}"
}

# configure_and_build [cmake --build arguments...]
configure_and_build() {
    if [ ! -f "$ZENTARA_BUILD/build.ninja" ]; then
        cmake -S "$ZENTARA_ROOT" -B "$ZENTARA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ||
            die "cmake could not configure the project (see the messages above)"
    fi
    cmake --build "$ZENTARA_BUILD" --parallel "$(nproc)" "$@" ||
        die "the build failed (see the compiler messages above)"
}
