#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that Lexorquine needs, when missing; as root, or as a user
# through sudo or su (tools/as-root.sh).
#   install-deps.sh           to build and run
#   install-deps.sh --tests   also to run the whole test suite (a real X server and four window
#                             managers for end-to-end, a real screen reader and its speech and
#                             accessibility services, the package checkers, Qt's private
#                             headers to pose as a screen reader and to read a window's place
#                             in the screen's pixels)
#   install-deps.sh --bench   also to build the benchmark corpora (bench/corpus/creer-corpus)
#   install-deps.sh --fuzz    also to fuzz (clang and libFuzzer)
#   install-deps.sh --format  the formatter (alone: only the formatter)
# Options may be combined.
set -eu
base="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libxcb1-dev
libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 xdg-utils qt6-translations-l10n
qt6-qpa-plugins"
packages=""
[ $# -eq 0 ] && packages="$base"
for option in "$@"; do
    case "$option" in
    --format) packages="$packages clang-format" ;;
    --tests) packages="$packages xvfb xauth xdotool openbox xfwm4 mutter kwin-x11 dbus-daemon dbus-bin
x11-utils x11-apps lintian appstream desktop-file-utils qt6-base-private-dev orca speech-dispatcher
at-spi2-core bsdutils procps" ;;
    --bench) packages="$packages python3 gimp-help-fr wfrench w3m" ;;
    --fuzz) packages="$packages clang libclang-rt-14-dev" ;;
    *)
        echo "install-deps.sh : option inconnue : $option" >&2
        exit 2
        ;;
    esac
    [ "$option" = --format ] || packages="$base $packages"
done
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installation des paquets :$missing"
# Another apt-get may hold the lock for a while (unattended upgrades, a parallel build).
command="apt-get update -qq -o DPkg::Lock::Timeout=600 && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
-o DPkg::Lock::Timeout=600 --no-install-recommends$missing"
"$(dirname "$0")/as-root.sh" "$command"
