#!/usr/bin/env bash
# Sets up a Debian machine for Norvelle, builds it, and runs the program or the tests.
#   ./dev.sh run     install what is missing, build, start Norvelle
#   ./dev.sh test    install what is missing, build, run every test
#   ./dev.sh bench   install what is missing, build, run the benchmarks
#   ./dev.sh package install what is missing, build a Debian package into build-package/
#   ./dev.sh fuzz [SECONDS]   build the fuzz targets with clang, run each SECONDS (60)
#   ./dev.sh sanitize [KIND]  run every test under ASan+UBSan (address), then TSan (tsan)
# A second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          libicu-dev libsqlite3-dev nlohmann-json3-dev libexpat1-dev libxxhash-dev zlib1g-dev pkg-config desktop-file-utils appstream
          fonts-dejavu-core chromium chromium-driver python3-selenium)
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
    # In CI a warning fails the build, so that none comes in unseen. Optimised without debug
    # information, which costs a quarter of the build's time and is no use to a test run.
    [ -f "$BUILD/build.ninja" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" ${CI:+-DCMAKE_COMPILE_WARNING_AS_ERROR=ON}
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
fuzz)
    PACKAGES+=(clang libclang-rt-14-dev llvm)
    install_missing
    seconds=${2:-60}
    # Line tables are all a finding's stack needs; full debug information and -O2 double the build.
    [ -f build-fuzz/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only -DNDEBUG" -DNORVELLE_FUZZ=ON
    cmake --build build-fuzz --parallel "$(nproc)"
    # The corpus grows outside the tree; the committed seeds start it.
    corpora=${NORVELLE_FUZZ_CORPUS:-$HOME/.cache/norvelle-fuzz}
    # CI repeats the same inputs each time, so that a run fails only for a change of ours.
    seed=()
    [ -n "${CI:-}" ] && seed=(-seed=1)
    status=0
    for target in build-fuzz/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] || continue
        name=${target##*/fuzz_}
        mkdir -p "$corpora/$name" "build-fuzz/crashes/$name"
        log="build-fuzz/crashes/$name/log.txt"
        if "$target" "$corpora/$name" "fuzz/corpus/$name" "${seed[@]}" -max_total_time="$seconds" -malloc_limit_mb=512 \
            -rss_limit_mb=1024 -timeout=10 -artifact_prefix="build-fuzz/crashes/$name/" -print_final_stats=1 \
            > "$log" 2>&1; then
            echo "$name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs," \
                 "$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$') a second"
        else
            echo "$name: FAILED; the input is $(ls -t build-fuzz/crashes/$name/*-* 2>/dev/null | head -1) (log: $log)"
            status=1
        fi
    done
    # The data-safety scenario: random sequences of a person's actions and disk events in
    # the window, about two a second, from a new seed each run outside CI.
    build
    safety_seed=$([ -n "${CI:-}" ] && echo 1 || date +%s)
    if NORVELLE_SAFETY_SEED=$safety_seed NORVELLE_SAFETY_SEQUENCES=$((seconds * 2)) QT_QPA_PLATFORM=offscreen \
        "$BUILD/tests/norvelle_window_tests" --gtest_filter='DataSafety.*' > build-fuzz/safety.log 2>&1; then
        echo "data safety: $(grep -o '[0-9]* sequences, [0-9]* steps checked' build-fuzz/safety.log) (seed $safety_seed)"
    else
        echo "data safety: FAILED with seed $safety_seed (log: build-fuzz/safety.log)"
        status=1
    fi
    exit $status
    ;;
sanitize)
    install_missing
    for kind in ${2:-address tsan}; do
        dir=build-$kind
        flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
        [ "$kind" = tsan ] && flags="-fsanitize=thread -fno-omit-frame-pointer"
        [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DNORVELLE_BUILD_BENCHMARKS=OFF -DNORVELLE_TEST_PCH=ON \
            -DCMAKE_CXX_FLAGS_DEBUG=-g1  # file and line in the reports; full debug information doubles the build
        cmake --build "$dir" --parallel "$(nproc)"
        # Qt is not built with the sanitizers: its own frames are suppressed, with reasons.
        ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1" \
            ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 600 -E 'install_tree|Browser\.' 
    done
    ;;
package)
    PACKAGES+=(dpkg-dev file)
    install_missing
    cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DNORVELLE_BUILD_TESTS=OFF \
        -DNORVELLE_SYSTEM_HOST_MANIFESTS=ON
    cmake --build build-package --parallel "$(nproc)"
    (cd build-package && cpack -G DEB)
    ls build-package/*.deb
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
