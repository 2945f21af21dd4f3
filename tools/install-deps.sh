#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that Lexorquine needs, when missing.
#   install-deps.sh           to build and run
#   install-deps.sh --tests   also to run the whole test suite (a real X server for end-to-end)
#   install-deps.sh --fuzz    also to fuzz (clang and libFuzzer)
#   install-deps.sh --format  only the formatter
set -eu
packages="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libxcb1-dev
libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 xdg-utils qt6-translations-l10n
qt6-qpa-plugins"
case "${1:-}" in
--tests) packages="$packages xvfb xauth xdotool openbox x11-utils x11-apps" ;;
--fuzz) packages="$packages clang libclang-rt-14-dev" ;;
--format) packages="clang-format" ;;
esac
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installation des paquets :$missing"
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
