#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lexorquine with its tests and runs the whole suite.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh" --tests
"$root/tools/build.sh" -DLEXORQUINE_TESTS=ON
cd "$root/build"
ctest --output-on-failure -j2
