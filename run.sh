#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds Release in build-release/, starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release --target hexcavator
exec ./build-release/app/hexcavator "$@"
