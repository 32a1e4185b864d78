#!/bin/sh
# build_packages.sh OUT_DIR
#
# Builds the Debian packages tarnel and tarnel-ide with dpkg-buildpackage
# from a copy of the source tree in OUT_DIR/tarnel-VERSION, so that the
# .deb, .buildinfo and .changes files land in OUT_DIR and nothing is left
# beside the source tree. The environment (DEB_BUILD_OPTIONS,
# DEB_BUILD_PROFILES, TARNEL_MAINTAINER) passes through to the build.
set -eu
out=$1
source=$(cd "$(dirname "$0")/.." && pwd)
version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
rm -rf "$out"
mkdir -p "$out/tarnel-$version"
out=$(cd "$out" && pwd)
tree=$out/tarnel-$version

# The files git knows and those it would add; the whole folder, less the
# build folders, outside a git checkout.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$source" ls-files -z --cached --others --exclude-standard |
    (cd "$source" && tar --null -T - --ignore-failed-read -cf -) | tar -xf - -C "$tree"
else
  (cd "$source" && tar --exclude='./build' --exclude='./build-*' --exclude='./.git' -cf - .) |
    tar -xf - -C "$tree"
fi

cd "$tree"
dpkg-buildpackage -us -uc -b
ls "$out"/*.deb
