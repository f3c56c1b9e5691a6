# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by tools/run and tools/test: make sure the Debian packages the build
# needs are installed, then configure and build incrementally into build/.
# Sourced, not run.

ZENTARA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
ZENTARA_BUILD="${ZENTARA_BUILD:-$ZENTARA_ROOT/build}"
ZENTARA_ASAN_BUILD="${ZENTARA_ASAN_BUILD:-$ZENTARA_ROOT/build-asan}"

ZENTARA_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libopenal-dev libopenal1 libpng-dev zlib1g-dev
    fontconfig fonts-dejavu-core
    libgtest-dev libbenchmark-dev
)

# Only for checking the installed files and building the Debian package.
ZENTARA_INSTALL_TEST_PACKAGES=(desktop-file-utils appstream man-db strace)
ZENTARA_PACKAGE_PACKAGES=(dpkg-dev lintian)

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

# configure_and_build_sanitized: the whole project once more with AddressSanitizer
# and UndefinedBehaviorSanitizer, in build-asan/ (benchmarks left out).
configure_and_build_sanitized() {
    if [ ! -f "$ZENTARA_ASAN_BUILD/build.ninja" ]; then
        cmake -S "$ZENTARA_ROOT" -B "$ZENTARA_ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DZENTARA_SANITIZE=ON -DZENTARA_BENCH=OFF ||
            die "cmake could not configure the sanitizer build (see the messages above)"
    fi
    cmake --build "$ZENTARA_ASAN_BUILD" --parallel "$(nproc)" "$@" ||
        die "the sanitizer build failed (see the compiler messages above)"
}

# The sanitizers' settings for running the sanitized tests: leaks are errors,
# except the few inside system libraries listed in the suppressions file.
sanitizer_environment() {
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
    export LSAN_OPTIONS="suppressions=$ZENTARA_ROOT/tests/robustness/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}
