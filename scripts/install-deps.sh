#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need (Debian 12). Safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ cmake ninja-build pkg-config \
  qt6-base-dev libgl-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev libgif-dev libmuparser-dev \
  libqscintilla2-qt6-dev \
  fonts-liberation fonts-dejavu-core \
  qt6-image-formats-plugins libqt6svg6 valgrind \
  clang clang-format libclang-rt-14-dev \
  poppler-utils xvfb xdotool x11-apps x11-utils >/dev/null
