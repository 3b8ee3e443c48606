#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `cpack -G DEB` need, only those that
# are missing; further package names given as arguments are installed the same way.
# cpack's Debian generator reads the program's libraries with `file`, readelf (binutils) and
# dpkg-shlibdeps (dpkg-dev); build-essential brings the latter two, `file` is asked for here.
set -euo pipefail
packages=(build-essential cmake ninja-build python3 qt6-base-dev libssl-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-ipafont-gothic qt6-translations-l10n poppler-utils file "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails the update of some list; the lists there are may still
# hold the packages, and the install says so if not.
$SUDO apt-get update -q || echo "apt-get update failed; installing from the package lists there are"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
