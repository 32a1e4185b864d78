#!/usr/bin/env bash
# Installs what building and testing the toolchain needs, and only what is
# missing, with apt-get (as root, or through sudo). Silent when all is there.
#
#   install-deps.sh [fuzz] [bench] [package]
#
# "fuzz" adds what `make fuzz` needs: clang and its libFuzzer runtime;
# "bench" adds Lua 5.4, which `make bench` measures kivinterp against;
# "package" adds what `make package` and `make package-check` need:
# debhelper, lintian and fakeroot.
set -euo pipefail

# Each line: a package and how to tell it is present (a command, or a file
# pattern that matches when it is installed).
requirements=(
  "g++ command:g++"
  "cmake command:cmake"
  "make command:make"
  "libgtest-dev file:/usr/include/gtest/gtest.h"
  "libgmock-dev file:/usr/include/gmock/gmock.h"
  "libedit-dev file:/usr/include/editline/readline.h"
  "perl command:perl"
  "clang-format command:clang-format"
  "qt6-base-dev file:/usr/include/*/qt6/QtWidgets/QApplication"
  "scdoc command:scdoc"
  "man-db command:lexgrog"
  "desktop-file-utils command:desktop-file-validate"
  "shared-mime-info command:update-mime-database"
  "dpkg-dev command:dpkg-shlibdeps"
)

for extra in "$@"; do
  case $extra in
    fuzz)
      requirements+=(
        "clang command:clang"
        "libclang-rt-dev file:/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a"
      )
      ;;
    bench) requirements+=("lua5.4 command:lua5.4") ;;
    package)
      requirements+=(
        "debhelper command:dh"
        "lintian command:lintian"
        "fakeroot command:fakeroot"
      )
      ;;
    *)
      echo "install-deps.sh: unknown extra '$extra' (known: fuzz, bench, package)" >&2
      exit 2
      ;;
  esac
done

present() {
  local kind=${1%%:*} what=${1#*:}
  case $kind in
    command) command -v "$what" >/dev/null 2>&1 ;;
    file) compgen -G "$what" >/dev/null ;;
  esac
}

missing=()
for requirement in "${requirements[@]}"; do
  package=${requirement%% *}
  present "${requirement#* }" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "Missing: ${missing[*]}. Install them with your system's package manager." >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Missing: ${missing[*]}. Run this script as root to install them." >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
