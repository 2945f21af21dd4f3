#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a Release build of its own (build-package/), with Debian's
# hardening flags, and prints its path.
#   package.sh             build-package/lexorquine_<version>_<arch>.deb
#   package.sh --install   the same, then installs it with apt-get (as root, or through sudo or su)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/tools/install-deps.sh"
# All of Debian's hardening, bind-now included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS 2>/dev/null || true)"
cppflags="$(dpkg-buildflags --get CPPFLAGS 2>/dev/null || true)"
ldflags="$(dpkg-buildflags --get LDFLAGS 2>/dev/null || true)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEXORQUINE_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package="$(ls "$build"/*.deb)"
echo "$package"
if [ "${1:-}" = --install ]; then
    command="DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 '$package'"
    "$root/tools/as-root.sh" "$command"
fi
