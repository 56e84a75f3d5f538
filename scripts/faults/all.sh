#!/bin/bash
# usage: all.sh [GROUP...]   (inside a work tree whose build/ is configured with
# -DKVL_LIBRARY_TYPE=SHARED, so a fault relinks one library). Runs every fault
# of each group (default: all) against the whole suite and writes
# build/faults/results_GROUP.txt; copy them to scripts/faults/results/ to
# compare the next change to the tests against. The long download test runs
# for the link faults only.
D=$(cd "$(dirname "$0")" && pwd)
groups=${*:-writes decode files export charts windows link older archive}
for g in $groups; do
  if [ "$g" = older ]; then
    ids=$(grep -oE "^[A-Z][0-9]+\)" $D/older.sh | tr -d ')')
  else
    ids=$(grep -oE "^[A-Z][0-9]+" $D/$g.txt)
  fi
  rm -f build/faults/results_$g.txt
  if [ "$g" = link ]; then
    bash $D/run.sh $g . $ids
  else
    EXCLUDE=e2e_download bash $D/run.sh $g . $ids
  fi
done
