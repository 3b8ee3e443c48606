#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the editor in build/ (the folder ./test.sh
# builds in, so whatever either has compiled the other reuses), starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target hexcavator
exec ./build/app/hexcavator "$@"
