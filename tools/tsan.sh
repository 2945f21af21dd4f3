#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the tests of the widget-free pieces, the threaded ones among them, with
# ThreadSanitizer in build-tsan/ and runs them; any report fails. Qt's own libraries are not
# instrumented, so the windows' tests stay out of this run.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh" --tests
cibles="analysis_tests analysis_pannes_tests analysis_fuzz_corpus document_tests search_tests"
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLEXORQUINE_TESTS=ON -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
# shellcheck disable=SC2086
cmake --build "$root/build-tsan" -j"$(nproc)" --target $cibles
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
cd "$root/build-tsan"
# Each test carries the name of its program as a label.
ctest --output-on-failure -j2 -L "^($(echo "$cibles" | tr ' ' '|'))\$"
