#!/usr/bin/env bash
# The plug-in's folders include one another downward only:
#
#   script -> menu -> behaviour -> roster -> persist, config, catalog -> game -> host
#
# (persist, config and catalog share a layer; see the README's layout). Each
# '#include "folder/..."' in src/ is an edge from the including file's folder to
# that folder. The check fails on an include into a higher layer or an unknown
# folder, and on any cycle between folders (tsort reports it).
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A layer=([host]=0 [game]=1 [persist]=2 [config]=2 [catalog]=2 [roster]=3 [behaviour]=4 [menu]=5
                  [script]=6)

edges=$(grep -rHoE '^#include "[a-z_]+/' src --include='*.h' --include='*.cpp' |
  sed -E 's#^src/([a-z_]+)/[^:]*:\#include "([a-z_]+)/$#\1 \2#' | sort -u)

status=0
while read -r from to; do
  if [ -z "${layer[$from]+x}" ] || [ -z "${layer[$to]+x}" ]; then
    echo "unknown folder in the edge $from -> $to (add it to tools/check_layers.sh)"
    status=1
  elif ((layer[$to] > layer[$from])); then
    echo "upward include: $from -> $to ($(grep -rlE "^#include \"$to/" "src/$from" | tr '\n' ' '))"
    status=1
  fi
done <<<"$edges"

# tsort prints "tsort: -: input contains a loop:" and the folders of each cycle.
if ! awk '$1 != $2' <<<"$edges" | tsort >/dev/null; then status=1; fi

if ((status == 0)); then
  echo "src/ folders include downward only, no cycle: $(awk '$1 != $2' <<<"$edges" | wc -l) edges"
fi
exit "$status"
