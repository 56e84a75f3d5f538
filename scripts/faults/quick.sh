#!/bin/bash
# usage: quick.sh OUT HINTS_DIR ID...   (in a work tree of its own whose build/
# is configured with -DKVL_LIBRARY_TYPE=SHARED, as for all.sh)
# Is each fault caught? Applies it, builds, runs first the tests that caught it
# in the results of HINTS_DIR (scripts/faults/results: quick.txt first; else the tests of
# the fault's part of the program), stopping at the first failure; if none
# fails, the whole suite. OUT gets "ID | first failing tests" or
# "ID | NOT CAUGHT". Much faster than all.sh, which names every failing test.
# TARGETS="kvlcore kvlapp ..." builds only those (faults in .cpp files of
# shared libraries and tools: the tests load the libraries afresh).
D=$PWD/scripts/faults
out=$1; H=$2; shift 2
export QT_QPA_PLATFORM=offscreen
L=$PWD/build/quick; mkdir -p $L
hint_of() {
  local id=$1 h=""
  [ -d "$H" ] && h=$(grep -h "^$id |" $H/quick.txt $H/*.txt 2>/dev/null | head -1 | cut -d'|' -f2 | grep -oE "(core|app|e2e)_[a-z0-9_x]+" | paste -sd'|')
  [ -n "$h" ] && { echo "^($h)\$"; return; }
  local f
  if grep -qE "^$id\)" $D/older.sh; then f=$(grep -E "^$id\)" $D/older.sh | grep -oE "(core|app|tools)/[A-Za-z0-9_./-]+" | head -1)
  else f=$(grep -hE "^$id\|" $D/*.txt | cut -d'|' -f2); fi
  case "$f" in
    core/charts/*|app/charts/*) echo "chart|thresholds|statistics|periodrows|dataversion";;
    core/export/*|tools/kvl-report/*) echo "export|report|statistics|csv|compliance";;
    core/files/*) echo "datafile|filewrite|saveprogress|loadercorpus|untrusted|filenames|savefile|files_flow";;
    core/link/*|app/link/*|tools/kvl-sim/*) echo "transfer|decode|imagecheck|link|datatype|chart_download";;
    core/params/*|app/params/*) echo "param";;
    app/shell/*) echo "shell|desktop|dateedit|tables|folders|datatype|printfile|csvexport";;
    core/store/*) echo "store|decode|typeddate|param|datafile|imagecheck";;
    core/tables/*|app/tables/*) echo "table|printfile";;
    app/files/*) echo "datatype|savefile|files_flow|dataversion";;
    app/desktop/*) echo "desktop|install";;
    core/archive/*|app/archive/*) echo "archive";;
    *) echo "NOHINT";;
  esac
}
for id in "$@"; do
  if ! bash $D/apply.sh "$id" > /dev/null 2>$L/$id.apply; then echo "$id | APPLY-FAILED" >> $out; git checkout -q -- core app tools; continue; fi
  if ! cmake --build build -j2 ${TARGETS:+--target $TARGETS} > $L/$id.build 2>&1; then echo "$id | BUILD-FAILED" >> $out; git checkout -q -- core app tools; continue; fi
  hint=$(hint_of $id)
  (cd build && ctest -R "$hint" -E e2e_download -j2 --timeout 120 --stop-on-failure > $L/$id.ctest 2>&1)
  failed=$(grep -E "^\s+[0-9]+ - " $L/$id.ctest | sed -E 's/^\s+[0-9]+ - ([a-z0-9_x]+) .*/\1/' | tr '\n' ' ')
  if [ -z "$failed" ]; then
    (cd build && ctest -j2 --timeout 120 --stop-on-failure > $L/$id.ctest2 2>&1)
    failed=$(grep -E "^\s+[0-9]+ - " $L/$id.ctest2 | sed -E 's/^\s+[0-9]+ - ([a-z0-9_x]+) .*/\1/' | tr '\n' ' ')
  fi
  echo "$id | ${failed:-NOT CAUGHT}" >> $out
  git checkout -q -- core app tools
done
echo "DONE $(date +%T)" >> $out
