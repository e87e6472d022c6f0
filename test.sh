#!/bin/sh
# Installs what is missing, builds with the sanitizers and runs every test.
# Extra arguments go to ctest (for example: ./test.sh -R Generator).
set -eu
cd "$(dirname "$0")"

./scripts/install-deps.sh

BUILD_DIR=${KEXORA_TEST_BUILD_DIR:-build/test}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DKEXORA_SANITIZE=ON \
      -DKEXORA_BUILD_TESTS=ON -DKEXORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j2

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 "$@"
