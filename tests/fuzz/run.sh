#!/bin/sh
# run.sh FUZZ_DIR SECONDS [TARGET...]
#
# Runs each libFuzzer target built in FUZZ_DIR (default: all of them) for
# SECONDS, on a corpus of its own kept beside FUZZ_DIR that grows from run to
# run, seeded from the kept regression inputs, the examples and the
# end-to-end cases, with the target's dictionary. An input that makes a
# target fail is left in FUZZ_DIR/../findings/TARGET/; copy it into
# tests/fuzz/regressions/TARGET/ so that every test run replays it.
set -u
fuzz_dir=$(cd "$1" && pwd) || exit 1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(dirname "$fuzz_dir")

if [ $# -eq 0 ]; then
  set -- $(cd "$fuzz_dir" && ls *_fuzz | sed 's/_fuzz$//')
fi

failed=""
for target in "$@"; do
  corpus="$work/corpus/$target"
  findings="$work/findings/$target"
  mkdir -p "$corpus" "$findings"
  dictionary=""
  [ -f "$here/$target.dict" ] && dictionary="-dict=$here/$target.dict"
  echo "== $target: $seconds s"
  if ! "$fuzz_dir/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" $dictionary \
    "$corpus" "$here/regressions/$target" "$top/examples" "$top/tests/e2e" \
    >"$work/$target.log" 2>&1; then
    failed="$failed $target"
    tail -n 40 "$work/$target.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$target.log" | sed 's/^/   /'
done

if [ -n "$failed" ]; then
  echo "failing targets:$failed (inputs in $work/findings/)"
  exit 1
fi
echo "no target failed"
