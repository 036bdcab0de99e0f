#!/usr/bin/env bash
# The whole test suite, from a fresh Debian machine: installs what is missing,
# then builds and tests every preset.
#   native            the portable logic, unit.*
#   native-sanitize   the same under ASan and UBSan
#   linux-i686        the same built for i686 (x87 machine, SSE2 maths) and run under qemu
#   windows           korumix.scr itself (i686, PE32), checked as a file; where this
#                     machine can run 32-bit processes, also every test under 32-bit Wine
#   windows64         the same sources for x86_64: unit.*, wine.*, e2e.* under Wine in Xvfb
# With CI set, warnings are errors and the sources must match .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/setup.sh

werror=OFF
if [ -n "${CI:-}" ]; then
    werror=ON
    echo "== format"
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
    clang-format --dry-run --Werror "${sources[@]}"
fi

step() {
    local preset=$1
    echo "== $preset"
    cmake --preset "$preset" -DKORUMIX_WERROR=$werror >/dev/null
    cmake --build --preset "$preset"
}

run_tests() {
    ctest --preset "$1" "${@:2}"
}

step native
run_tests native
step native-sanitize
run_tests native-sanitize
step linux-i686
run_tests linux-i686

step windows
bash tools/check-product.sh build/windows/src/korumix.scr

xvfb() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }

if tools/can-run-wine32.sh; then
    xvfb ctest --preset windows
fi
step windows64
xvfb ctest --preset windows64
echo "== all tests passed"
