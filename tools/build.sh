#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds Lexorquine in build/ (extra arguments go to CMake's configure step).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$root/build" -j"$(nproc)"
