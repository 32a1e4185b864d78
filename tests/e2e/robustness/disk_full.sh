# On a full disk the output is written to a temporary file beside the
# target and only renamed over it when complete: the earlier file stays
# whole and the temporary file is removed. The small filesystem is mounted
# in a namespace of the test's own, which needs no privileges.
. "$(dirname "$0")/lib.sh"
mkdir full
unshare -r -m sh -c 'mount -t tmpfs -o size=16k tmpfs full' 2>/dev/null || exit 77

# One long statement line makes a bytecode file far larger than the space.
awk 'BEGIN {
  printf "kiv count {\nvar {\n}\nbegin {\nprint \""
  for (i = 0; i < 40000; i++) printf "x"
  printf "\"\n}\n}\n"
}' >large.tarnel

unshare -r -m sh -c '
  mount -t tmpfs -o size=16k tmpfs full || exit 77
  for program in tarnel tarnel_perl; do ln -s "$0/$program" full/; done
  printf "old bytecode" >full/count.kiv
  printf "old script" >full/count.pl
  cd full
  ./tarnel ../large.tarnel
  echo "status $?"
  ./tarnel_perl ../large.tarnel
  echo "status $?"
  cat count.kiv count.pl
  echo
  ls -A | grep "\.tmp\." || echo "no temporary file"
' "$bin" >full.out 2>&1
[ $? -eq 77 ] && exit 77

check_file "on a full disk" full.out \
  'error(1) cannot write ./count.kiv\n assembled with (1) error(s) \nstatus 1\nerror(1) cannot write ./count.pl\nstatus 1\nold bytecodeold script\nno temporary file\n'

finish
