#!/usr/bin/env bash
# Installs what building and testing the toolchain needs, and only what is
# missing, with apt-get (as root, or through sudo). Silent when all is there.
#
#   install-deps.sh [fuzz] [bench] [web] [package]
#
# "fuzz" adds what `make fuzz` needs: clang and its libFuzzer runtime;
# "bench" adds Lua 5.4, which `make bench` measures kivinterp against;
# "web" adds what `make web` and its tests need: emscripten with the node
# modules its tools use, node and npm, Chromium for the browser test, and
# then the page's npm packages as web/package-lock.json pins them;
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
  "libfmt-dev file:/usr/include/fmt/format.h"
  "libfast-float-dev file:/usr/include/fast_float/fast_float.h"
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
    web)
      requirements+=(
        "emscripten command:em++"
        "node-acorn file:/usr/share/nodejs/acorn/package.json"
        "nodejs command:node"
        "npm command:npm"
        "chromium command:chromium"
      )
      web_packages=yes
      ;;
    package)
      requirements+=(
        "debhelper command:dh"
        "lintian command:lintian"
        "fakeroot command:fakeroot"
      )
      ;;
    *)
      echo "install-deps.sh: unknown extra '$extra' (known: fuzz, bench, web, package)" >&2
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

# The page's npm packages, installed again whenever the lockfile is newer
# than what web/node_modules holds.
install_web_packages() {
  [ "${web_packages:-}" = yes ] || return 0
  local web
  web="$(cd "$(dirname "$0")/../web" && pwd)"
  if [ ! -f "$web/node_modules/.package-lock.json" ] ||
    [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
    echo "Installing the page's npm packages (npm ci in web/)"
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
  fi
}

missing=()
for requirement in "${requirements[@]}"; do
  package=${requirement%% *}
  present "${requirement#* }" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  install_web_packages
  exit 0
fi

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
install_web_packages
