#!/bin/sh
# agreement_test.sh BIN_DIR SOURCE [KEPT_INPUT]
#
# Runs one source program through tarnel (which runs kivinterp on the
# bytecode) and through tarnel_perl (which runs perl on the script), each in
# a fresh directory of its own, and fails unless both print the same program
# output. tarnel's closing line "assembled with (0) errors" is no program
# output and is cut off before comparing.
#
# The program's standard input is the one its comment suggests, on a line
#   ; Try:  printf 'TEXT' | tarnel NAME.tarnel
# (TEXT as printf reads it); without such a line the input is empty. When
# KEPT_INPUT is given, that file (an end-to-end case's input) must hold the
# same bytes, so the documented input and the tested one cannot drift apart.
set -u
bin=$1
source=$2
kept=${3:-}
name=$(basename "$source")

for program in tarnel kivinterp tarnel_perl; do
  if [ ! -x "$bin/$program" ]; then
    echo "$bin/$program has not been built"
    exit 1
  fi
done

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
mkdir "$work/assembled" "$work/translated"
ln -s "$bin/tarnel" "$bin/kivinterp" "$work/assembled/"
ln -s "$bin/tarnel_perl" "$work/translated/"
cp "$source" "$work/assembled/"
cp "$source" "$work/translated/"

suggested=$(sed -n "s/^; Try: *printf '\([^']*\)' | tarnel .*/\1/p" "$source" | head -n 1)
# The format is the comment's own text, as a reader would paste it.
# shellcheck disable=SC2059
printf "$suggested" >"$work/input"
if [ -n "$kept" ]; then
  if [ ! -f "$kept" ] && [ -s "$work/input" ]; then
    echo "$kept is missing; it should hold the input the comment suggests"
    exit 1
  fi
  if [ -f "$kept" ] && ! cmp -s "$kept" "$work/input"; then
    echo "$kept differs from the input the comment of $name suggests"
    exit 1
  fi
fi

(cd "$work/assembled" && ./tarnel "$name" <"$work/input" >output 2>&1) || {
  echo "tarnel failed:"
  cat "$work/assembled/output"
  exit 1
}
(cd "$work/translated" && ./tarnel_perl "$name" <"$work/input" >output 2>&1) || {
  echo "tarnel_perl failed:"
  cat "$work/translated/output"
  exit 1
}

closing="assembled with (0) errors"
size=$(wc -c <"$work/assembled/output")
cut=$((${#closing} + 1))
if [ "$(tail -c "$cut" "$work/assembled/output")" != "$closing" ] || [ "$size" -lt "$cut" ]; then
  echo "tarnel did not end with its closing line:"
  cat "$work/assembled/output"
  exit 1
fi
head -c $((size - cut)) "$work/assembled/output" >"$work/assembled/program-output"
if ! cmp -s "$work/assembled/program-output" "$work/translated/output"; then
  echo "the two translations print differently"
  echo "--- tarnel ---"
  cat "$work/assembled/program-output"
  echo "--- tarnel_perl ---"
  cat "$work/translated/output"
  exit 1
fi
if [ ! -s "$work/translated/output" ]; then
  echo "the program printed nothing"
  exit 1
fi
echo "both print:"
cat "$work/translated/output"
