#!/usr/bin/env bash
# Installs what the build needs (Debian 12), then configures and builds.
# Usage: scripts/setup.sh [BUILD_DIR [extra cmake options...] [--target TARGET...]]
# With --target it builds only those targets (and what they need), else all.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true
options=() targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ]; then
    shift
    targets+=("$@")
    break
  fi
  options+=("$1")
  shift
done
set -- "${options[@]}"

# poppler-utils: the printing tests read the PDFs they print back as text.
# dpkg-dev, lintian, mandoc: the Debian package and the manual page.
# fish, zsh: the tests of their completions.
# libxcb1-dev, libfontconfig-dev: the window's own calls to X and fontconfig.
packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libgl-dev libmpfr-dev libgmp-dev locales poppler-utils desktop-file-utils
          libxcb1-dev libfontconfig-dev xvfb openbox xdotool x11-utils trayer dpkg-dev lintian mandoc fish zsh)
# A Windows cross build (cmake/mingw-w64-x86_64.cmake): the compiler, Wine
# to run the tests, and GoogleTest's source to build for Windows.
# A clang build (-DCMAKE_CXX_COMPILER=clang++): clang, which brings GCC's
# development files with quadmath.h.
for option in "$@"; do
  if [[ $option == -DCMAKE_TOOLCHAIN_FILE=*mingw* ]]; then
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest)
  elif [[ $option == -DCMAKE_CXX_COMPILER=clang* ]]; then
    packages+=(clang)
  fi
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
build_args=()
[ ${#targets[@]} -eq 0 ] || build_args=(--target "${targets[@]}")
cmake --build "$build_dir" -j"$(nproc)" "${build_args[@]}"
