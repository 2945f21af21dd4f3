#!/bin/sh
# Builds Lexorquine with its tests and runs the whole suite.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/build.sh" -DLEXORQUINE_TESTS=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
