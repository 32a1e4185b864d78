# Shared by the robustness tests, each run as: sh TEST.sh BIN_DIR
#
# Gives each test a fresh run directory holding links to the programs, a
# small program in source and bytecode form, and checks that report what
# differs. A test that cannot set up what it needs exits 77 (skipped).
set -u
bin=$(cd "$1" && pwd) || exit 1
run=$(mktemp -d) || exit 1
trap 'rm -rf "$run"' EXIT
for program in kivinterp tarnel tarnel_perl; do ln -s "$bin/$program" "$run/$program"; done
cd "$run" || exit 1

# Prints 321.
printf 'kiv count {\nvar {\nvar& n := 3\n}\nbegin {\ntop:\nprint n\ndec n\ncmp n,0\njg top\n}\n}\n' \
  >count.tarnel
printf 'var{n&:3,con0&:0}code{top@,12!n:0,3!n:0,14!n:0,19!top:0,stop@,0!0:0}' >count.kiv

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# check WHAT WANTED GOT: two texts that must be equal.
check() {
  [ "$2" = "$3" ] || fail "$1: wanted [$2], got [$3]"
}

# check_file WHAT FILE BYTES: the file holds exactly BYTES (printf format).
check_file() {
  printf "$3" >"$run/.wanted"
  cmp -s "$run/.wanted" "$2" || fail "$1: $2 holds [$(cat "$2" 2>/dev/null)]"
}

# check_absent FILE...: none of the files exists.
check_absent() {
  for file in "$@"; do
    [ ! -e "$file" ] || fail "$file was left behind"
  done
}

# check_no_temporaries: no half-written file stays in the run directory.
check_no_temporaries() {
  leftovers=$(ls -A "$run" | grep '\.tmp\.' || true)
  check "temporary files" "" "$leftovers"
}

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "all checks passed"
    exit 0
  fi
  exit 1
}
