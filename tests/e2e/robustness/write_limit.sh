# A file-size limit makes a write fail part way. The failure is reported as
# any failed write, nothing is started, and the earlier file stays whole:
# no truncated output and no temporary file is left behind.
. "$(dirname "$0")/lib.sh"
printf 'old bytecode' >count.kiv.old
cp count.kiv.old count.kiv
printf 'old script' >count.pl
printf 'old report' >debug.html

# The shell's own output goes to a pipe, which the limit does not touch.
(
  ulimit -f 0 || exit 77
  ./tarnel count.tarnel
  echo "status $?"
  ./tarnel_perl count.tarnel
  echo "status $?"
  ./kivinterp count.kiv.old 2>&1
  echo "status $?"
) | cat >limited.out
[ -s limited.out ] || exit 77

check_file "under the limit" limited.out \
  'error(1) cannot write ./count.kiv\n assembled with (1) error(s) \nstatus 1\nerror(1) cannot write ./count.pl\nstatus 1\nkivinterp: cannot write debug.html: File too large\nstatus 1\n'
check_file "the earlier bytecode file" count.kiv 'old bytecode'
check_file "the earlier script" count.pl 'old script'
check_file "the earlier report" debug.html 'old report'
check_no_temporaries

finish
