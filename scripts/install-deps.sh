#!/bin/sh
# Installs the Debian packages needed to build, run and test Kexora.
# Only missing packages are installed; the package lists are refreshed once.
set -eu

PACKAGES="
build-essential cmake pkg-config
qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6charts6-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins
libx11-dev libxtst-dev
libopenal-dev libsndfile1-dev
libtinyxml2-dev
libchm-dev
fonts-liberation fonts-wine
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth xdotool x11-utils imagemagick
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "install-deps: missing packages:$missing" >&2
    echo "install-deps: run as root or install sudo" >&2
    exit 1
fi

echo "install-deps: installing$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
