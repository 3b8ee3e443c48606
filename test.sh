#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds in build/, runs every test headless.
# With --windows, or in CI (CI=true), also cross-builds for Windows in build-win/, runs the
# tests there under Wine and checks the zip for Windows users (scripts/windows.sh). In CI the
# Linux build treats warnings as errors. CI also builds the suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs it there, and runs every fuzz target
# for 30 seconds (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
windows=0
[ "${CI:-}" = true ] && windows=1
for a in "$@"; do
  [ "$a" = --windows ] && windows=1
done
./scripts/setup.sh
werror=OFF
[ "${CI:-}" = true ] && werror=ON
# ccache, where it is installed, makes a second run cheap; a fresh machine has none.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEXCAVATOR_WERROR=$werror "${launcher[@]}" >/dev/null
cmake --build build
(
  export QT_QPA_PLATFORM=offscreen
  cd build
  ctest --output-on-failure -j"$(nproc)"
)
if [ "${CI:-}" = true ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEXCAVATOR_WERROR=ON \
    -DHEXCAVATOR_SANITIZE=ON "${launcher[@]}" >/dev/null
  cmake --build build-asan
  (
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=detect_leaks=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    cd build-asan
    ctest --output-on-failure -j"$(nproc)"
  )
  ./scripts/fuzz.sh 30
fi
if [ $windows = 1 ]; then
  # In CI the leg is skipped, loudly, only where the prebuilt Qt for Windows is missing.
  [ "${CI:-}" = true ] && export HEXCAVATOR_WINDOWS_OPTIONAL=1
  ./scripts/windows.sh test
  ./scripts/windows.sh package
fi
