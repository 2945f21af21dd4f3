#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the text analysis with libFuzzer for SECONDS seconds (default 60), starting from the
# kept inputs in tests/fuzz/corpus. A crash fails; its input is left in build-fuzz/.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/tools/install-deps.sh" --fuzz
CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLEXORQUINE_TESTS=OFF -DLEXORQUINE_FUZZ=ON
cmake --build "$root/build-fuzz" --target analysis_fuzz -j"$(nproc)"
mkdir -p "$root/build-fuzz/found"
cd "$root/build-fuzz"
./tests/fuzz/analysis_fuzz -max_total_time="$seconds" -artifact_prefix="$root/build-fuzz/" \
    "$root/build-fuzz/found" "$root/tests/fuzz/corpus"
