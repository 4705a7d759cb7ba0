#!/usr/bin/env bash
# Sets up a Debian machine for Norvelle, builds it, and runs the program or the tests.
#   ./dev.sh run     install what is missing, build, start Norvelle
#   ./dev.sh test    install what is missing, build, run every test
#   ./dev.sh bench   install what is missing, build, run the benchmarks
#   ./dev.sh package install what is missing, build a Debian package into build-package/
# A second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          libicu-dev desktop-file-utils appstream
          fonts-dejavu-core)
BUILD=build

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
    [ -f "$BUILD/build.ninja" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build
    exec "$BUILD/app/norvelle"
    ;;
test)
    install_missing
    build
    # Window tests need no display: they run on Qt's offscreen platform.
    ctest --test-dir "$BUILD" --output-on-failure --parallel "$(nproc)" --timeout 300
    ;;
bench)
    install_missing
    build
    for b in "$BUILD"/bench/bench_*; do [ -x "$b" ] && "$b"; done
    ;;
package)
    PACKAGES+=(dpkg-dev file)
    install_missing
    cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DNORVELLE_BUILD_TESTS=OFF
    cmake --build build-package --parallel "$(nproc)"
    (cd build-package && cpack -G DEB)
    ls build-package/*.deb
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
