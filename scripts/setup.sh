#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One-stop set-up for a Debian 12 machine: installs what is missing, builds, and then either
#   demo  converts the bundled examples (a CAI and a CUP file) with velquor-convert, or
#   test  runs the whole test suite (the full build, then the engine and command-line tests
#         and the toolkit and widget tests again under AddressSanitizer and
#         UndefinedBehaviorSanitizer), and builds and tests the engine with clang and libc++ and
#         the converter page with Emscripten.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
demo | test) ;;
*)
    echo "usage: scripts/setup.sh demo|test" >&2
    exit 2
    ;;
esac

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools libgl-dev
    desktop-file-utils appstream xvfb xauth locales fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${missing[@]}" </dev/null
fi

# The tests also build the converter page and the engine with clang's own C++ library, and drive
# the page in a browser: Emscripten, libc++ with GoogleTest's sources to build against it,
# Debian's Chromium, and Node.js with npm unless a Node.js is there already. Their recommended
# packages (a desktop's worth for Chromium) are not needed.
if [ "$mode" = test ]; then
    web_packages=(emscripten libc++-14-dev libc++abi-14-dev googletest chromium)
    command -v node >/dev/null || web_packages+=(nodejs)
    command -v npm >/dev/null || web_packages+=(npm)
    missing=()
    for p in "${web_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        export DEBIAN_FRONTEND=noninteractive
        $sudo apt-get update -qq
        $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
    fi
fi

# The tests check that numbers keep their decimal point under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: no German locale; its test is skipped"
fi

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

if [ "$mode" = demo ]; then
    mkdir -p build/example-output
    # The same site as a CAI file and as a SeeYou CUP file.
    convert() {
        local output=build/example-output/$1
        shift
        set +e
        build/cli/velquor-convert --force --variation 2 "$@" "$output"
        local status=$?
        set -e
        echo "---- $output (exit status $status) ----"
        cat "$output"
        echo
    }
    convert alpine-club.ndb examples/alpine-club.dat
    convert alpine-club-cup.ndb --home VALLEY --timezone 1 examples/alpine-club.cup
    exit 0
fi

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELQUOR_GUI=OFF \
    -DVELQUOR_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j "$jobs"
echo "== engine and command line under AddressSanitizer + UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
# The toolkit, the widgets and their tests under the same sanitizers, built alone (no program,
# no Designer plugin). Leaks inside Qt itself are listed in tests/support/lsan.supp; their
# stacks run through Qt's frames, so they are unwound in full.
cmake -S . -B build-sanitize-widgets -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELQUOR_SANITIZE=ON \
    >/dev/null
cmake --build build-sanitize-widgets -j "$jobs" --target velquor_toolkit_tests \
    velquor_components_tests
echo "== toolkit and widgets under AddressSanitizer + UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp \
    ctest --test-dir build-sanitize-widgets -L '^(toolkit|components)$' --output-on-failure \
    -j "$jobs"

# The engine and velquor-convert with clang and libc++ (the C++ library Emscripten uses), against
# a GoogleTest built the same way: Debian's is built for libstdc++.
libcxx=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
    -DCMAKE_CXX_FLAGS=-stdlib=libc++)
cmake -S /usr/src/googletest -B build-libcxx/googletest "${libcxx[@]}" \
    -DCMAKE_INSTALL_PREFIX="$PWD/build-libcxx/googletest/installed" >/dev/null
cmake --build build-libcxx/googletest -j "$jobs" >/dev/null
cmake --install build-libcxx/googletest >/dev/null
cmake -S . -B build-libcxx "${libcxx[@]}" -DVELQUOR_GUI=OFF \
    -DCMAKE_PREFIX_PATH="$PWD/build-libcxx/googletest/installed" >/dev/null
cmake --build build-libcxx -j "$jobs"
echo "== engine and command line built with clang and libc++ =="
ctest --test-dir build-libcxx --output-on-failure -j "$jobs"

# The converter page, built with Emscripten; the whole suite then checks it against
# velquor-convert, under Node.js and in Chromium (puppeteer-core from the lock file).
emcmake cmake -S . -B build-web -G Ninja -DVELQUOR_WEB=ON -DVELQUOR_GUI=OFF \
    -DVELQUOR_TESTS=OFF >/dev/null
cmake --build build-web -j "$jobs"
npm ci --no-audit --no-fund
cmake -S . -B build -DVELQUOR_WEB_BUILD="$PWD/build-web/web" >/dev/null

echo "== whole suite =="
ctest --test-dir build --output-on-failure -j "$jobs"
