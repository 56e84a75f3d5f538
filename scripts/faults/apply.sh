#!/bin/bash
# usage: apply.sh ID   (run at the top of the tree). Applies one deliberate
# fault; `git checkout -- core app tools` takes it back. The faults are the
# slips the tests must catch: whenever tests are trimmed, run them all before
# and after (run.sh) and compare.
# Sources: older.sh (older code), charts.txt (K.., line mode perl -pi),
# and every other *.txt here: "ID|file|perl-substitution" applied with perl -0pi (whole file).
D=$(cd "$(dirname "$0")" && pwd)
id=$1
line=$(grep -h "^$id|" $D/charts.txt 2>/dev/null | head -1)
if [ -n "$line" ]; then
  IFS='|' read -r _ f re <<< "$line"; perl -i -pe "$re" "$f"
else
  line=$(grep -h "^$id|" $(ls $D/*.txt | grep -v charts.txt) 2>/dev/null | head -1)
  if [ -n "$line" ]; then
    IFS='|' read -r _ f re <<< "$line"; perl -0pi -e "$re" "$f"
  else
    bash $D/older.sh "$id" >/dev/null || exit 1
  fi
fi
if git diff --quiet -- core app tools; then echo "$id: fault did not apply" >&2; exit 1; fi
git diff --stat -- core app tools | tail -1
