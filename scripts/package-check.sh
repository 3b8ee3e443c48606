#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it as Debian would:
#   scripts/package-check.sh BUILD_DIR      (e.g. build, which ./run.sh and ./test.sh make)
# Builds the program there, makes BUILD_DIR/hexcavator_VERSION_ARCH.deb with `cpack -G DEB`,
# then fails when desktop-file-validate has anything to say about the desktop entry or
# lintian reports an error on the package (its warnings are printed, not fatal).
# Installs lintian and desktop-file-utils when they are missing.
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
  echo "usage: $0 BUILD_DIR   (a folder configured by cmake, e.g. build from ./run.sh)" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
./scripts/setup.sh lintian desktop-file-utils

# The Ninja generator gives cpack no step that builds first: the program must be current.
cmake --build "$build" --target hexcavator
rm -f "$build"/hexcavator_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/hexcavator_*.deb)
[ -f "${debs[0]}" ] || { echo "cpack made no package in $build" >&2; exit 1; }
deb=${debs[0]}
echo "Package: $deb"
dpkg-deb --field "$deb" Depends Recommends

# Hints too: the entry is clean, and a menu showing the program twice is worth a failure.
out=$(desktop-file-validate data/hexcavator.desktop 2>&1) || true
if [ -n "$out" ]; then
  echo "$out" >&2
  exit 1
fi

# Errors the project cannot answer from cpack, each with its reason:
#  no-changelog: cpack writes no Debian changelog, and one kept by hand would only repeat
#    the git log;
#  bogus-mail-host: the contact (CPACK_PACKAGE_CONTACT) is a placeholder until the project
#    has a public address.
suppress=no-changelog,bogus-mail-host
lintian --fail-on error --suppress-tags "$suppress" "$deb"
echo "package-check: passed"
