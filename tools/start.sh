#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Lexorquine if needed and starts it, with the file named if any.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/build.sh" -DLEXORQUINE_TESTS=OFF
exec "$root/build/src/lexorquine" "$@"
