#!/bin/sh
# Installs what is missing, builds and starts the program from the build tree.
# Extra arguments go to the program.
set -eu
cd "$(dirname "$0")"

./scripts/install-deps.sh

BUILD_DIR=${KEXORA_BUILD_DIR:-build/run}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKEXORA_BUILD_TESTS=OFF -DKEXORA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" -j2

BIN="$BUILD_DIR/bin"
if [ -x "$BIN/kexora" ]; then
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "run.sh: no display; starting under a virtual X server (xvfb-run)" >&2
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BIN/kexora" "$@"
    fi
    exec "$BIN/kexora" "$@"
fi

# Until the windows exist: a command-line demonstration of the training model.
exec "$BIN/kexora-demo" "$@"
