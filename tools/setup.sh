#!/usr/bin/env bash
# Installs, from Debian 12's own packages, everything Tavrossimer needs to build
# the plug-in (Linux and Windows), run the simulator and pass every test.
# Run as root (or through sudo).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  ca-certificates cmake ninja-build g++ make pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libncurses-dev libcairo2-dev fonts-dejavu-core tmux \
  clang clang-format libclang-rt-14-dev valgrind \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 zip
