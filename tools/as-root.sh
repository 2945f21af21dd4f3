#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one shell command as root: directly when already root, else through sudo, else through su
# (which asks for the root password; Debian has no sudo when a root password was chosen).
#   as-root.sh 'COMMAND'
set -eu
if [ "$(id -u)" -eq 0 ]; then
    exec sh -c "$1"
elif command -v sudo >/dev/null 2>&1; then
    exec sudo sh -c "$1"
else
    echo "(sudo est absent : su demande le mot de passe de root)" >&2
    exec su root -c "$1"
fi
