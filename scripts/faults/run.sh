#!/bin/bash
# usage: run.sh LABEL CTEST_REGEX ID...   (run inside a work tree with a configured build/)
# For each fault: apply, build everything, run the tests matching CTEST_REGEX,
# record the failing tests, restore the code. TARGETS="a b" builds only those
# targets; EXCLUDE=regex leaves tests out. Results and logs: build/faults/.
# The binaries keep the last fault until the next build: rebuild afterwards.
D=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen
label=$1; rx=$2; shift 2
L=$PWD/build/faults; mkdir -p $L
out=$L/results_$label.txt
for id in "$@"; do
  if ! $D/apply.sh "$id" > /dev/null 2>$L/log_${label}_$id.apply; then echo "$id | APPLY-FAILED" >> $out; git checkout -q -- core app tools; continue; fi
  if ! cmake --build build -j2 ${TARGETS:+--target $TARGETS} > $L/log_${label}_$id.build 2>&1; then
     echo "$id | BUILD-FAILED" >> $out; git checkout -q -- core app tools; continue; fi
  (cd build && ctest -R "$rx" ${EXCLUDE:+-E "$EXCLUDE"} -j2 --timeout 120 --output-on-failure > $L/log_${label}_$id.ctest 2>&1)
  failed=$(grep -E "^\s+[0-9]+ - " $L/log_${label}_$id.ctest | sed -E 's/^\s+[0-9]+ - ([a-z0-9_x]+) \((.*)\)/\1(\2)/; s/ /_/g' | tr '\n' ' ')
  fns=$(grep -E "^FAIL!  :" $L/log_${label}_$id.ctest | sed -E 's/FAIL!  : [A-Za-z_]+::([A-Za-z_]+)\(.*/\1/' | sort -u | tr '\n' ' ')
  echo "$id | ${failed:-NOT CAUGHT} | $fns" >> $out
  git checkout -q -- core app tools
done
echo "DONE $(date +%T)" >> $out
