#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the tree is not laid out as .clang-format says.
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || "$(pwd)/tools/install-deps.sh" --format
# shellcheck disable=SC2046
clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h')
echo "Mise en forme : conforme."
