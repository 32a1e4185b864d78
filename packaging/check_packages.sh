#!/bin/sh
# check_packages.sh OUT_DIR
#
# Checks the packages that build_packages.sh left in OUT_DIR as a Debian
# user would meet them: lintian finds no error and no warning; the console
# package pulls in no Qt, X or terminal; both install into a throw-away
# root with dpkg; the installed console programs run the installed
# examples; and a purge leaves nothing behind.
set -u
out=$(cd "$1" && pwd) || exit 1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

console=$(ls "$out"/tarnel_*.deb 2>/dev/null | head -n 1)
editor=$(ls "$out"/tarnel-ide_*.deb 2>/dev/null | head -n 1)
changes=$(ls "$out"/*.changes 2>/dev/null | head -n 1)
if [ -z "$console" ] || [ -z "$editor" ] || [ -z "$changes" ]; then
  echo "FAIL: no packages in $out; build them with make package"
  exit 1
fi
version=$(dpkg-deb -f "$console" Version)

# Lintian, with every tag shown; an error or a warning fails.
echo "== lintian"
lintian -I -E --pedantic --fail-on error,warning "$changes" || fail "lintian"

echo "== dependencies"
depends=$(dpkg-deb -f "$console" Depends)
echo "tarnel: $depends"
if echo "$depends" | grep -Eiq 'qt|libx|xterm|terminal|wayland|libgl|libegl'; then
  fail "tarnel depends on a window system: $depends"
fi
depends=$(dpkg-deb -f "$editor" Depends)
echo "tarnel-ide: $depends"
for wanted in "tarnel (= $version)" qt6-qpa-plugins x-terminal-emulator; do
  case $depends in
    *"$wanted"*) ;;
    *) fail "tarnel-ide does not depend on $wanted" ;;
  esac
done

# A root of its own with an empty package database. The packages' library
# dependencies are this machine's, so dpkg is told not to insist on them;
# their maintainer scripts (if any) run outside the root.
echo "== install into a throw-away root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
as_root=""
[ "$(id -u)" -eq 0 ] || as_root=fakeroot
dpkg_root() {
  $as_root dpkg --root="$root" --log=/dev/null --force-depends --force-script-chrootless \
    --force-not-root "$@"
}
dpkg_root -i "$console" "$editor" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not install the packages"; }
for package in tarnel tarnel-ide; do
  state=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f '${Status}' $package 2>/dev/null)
  [ "$state" = "install ok installed" ] || fail "$package is [$state] after installing"
done

for path in \
  usr/bin/tarnel usr/bin/kivinterp usr/bin/tarnel_perl usr/bin/tarnel_check usr/bin/kivdebug \
  usr/bin/tarnel_ide usr/share/man/man7/tarnel.7.gz usr/share/man/man1/kivdebug.1.gz \
  usr/share/doc/tarnel/README.md.gz usr/share/doc/tarnel/copyright \
  usr/share/doc/tarnel/changelog.gz usr/share/doc/tarnel/examples/hello.tarnel \
  usr/share/bash-completion/completions/tarnel usr/share/bash-completion/completions/kivdebug \
  usr/share/applications/tarnel_ide.desktop usr/share/mime/packages/tarnel.xml; do
  [ -e "$root/$path" ] || fail "not installed: /$path"
done

# The installed programs, started by their bare names as a user does, on a
# copy of the installed examples.
echo "== run the examples with the installed programs"
mkdir "$work/home"
cp "$root"/usr/share/doc/tarnel/examples/*.tarnel "$work/home/"
cd "$work/home" || exit 1
PATH="$root/usr/bin:$PATH"
export PATH
[ "$(command -v tarnel)" = "$root/usr/bin/tarnel" ] || fail "tarnel is not the installed one"

printf '4\n5\n6\n0\n' | tarnel sum.tarnel >tarnel.out 2>&1 || fail "tarnel sum.tarnel: status $?"
grep -q 'the sum is 15' tarnel.out || fail "tarnel sum.tarnel printed: $(cat tarnel.out)"
grep -q '^assembled with (0) errors' tarnel.out || fail "tarnel did not finish: $(cat tarnel.out)"
[ -f debug.html ] || fail "the installed kivinterp wrote no debug.html"
kiv=$(ls ./*.kiv 2>/dev/null | head -n 1)
if [ -n "$kiv" ]; then
  printf '1\n0\n' | kivinterp "$kiv" >kivinterp.out 2>&1 || fail "kivinterp $kiv: status $?"
  grep -q 'the sum is 1' kivinterp.out || fail "kivinterp $kiv printed: $(cat kivinterp.out)"
else
  fail "tarnel wrote no bytecode file into the current directory"
fi
printf '4\n5\n6\n0\n' | tarnel_perl sum.tarnel >perl.out 2>&1 || fail "tarnel_perl: status $?"
grep -q 'the sum is 15' perl.out || fail "tarnel_perl sum.tarnel printed: $(cat perl.out)"
tarnel_check ./*.tarnel >check.out 2>&1 || fail "tarnel_check on the examples: $(cat check.out)"
printf '2\n3\n0\n' | kivdebug --run sum.tarnel >debug.out 2>&1 || fail "kivdebug --run: status $?"
grep -q 'the sum is 5' debug.out || fail "kivdebug --run sum.tarnel printed: $(cat debug.out)"
for program in tarnel kivinterp tarnel_perl tarnel_check kivdebug tarnel_ide; do
  first=$(env -u DISPLAY -u WAYLAND_DISPLAY $program --version 2>&1 | head -n 1)
  [ "$first" = "$program $version" ] || fail "$program --version said [$first]"
done
cd "$work" || exit 1

echo "== purge"
dpkg_root --purge tarnel-ide tarnel >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not purge the packages"; }
left=$(find "$root" -mindepth 1 ! -path "$root/var" ! -path "$root/var/lib" \
  ! -path "$root/var/lib/dpkg" ! -path "$root/var/lib/dpkg/*" | head -n 20)
[ -z "$left" ] || fail "left after the purge: $left"

if [ $failures -eq 0 ]; then
  echo "packages $version: lintian-clean, installed, run and purged"
  exit 0
fi
exit 1
