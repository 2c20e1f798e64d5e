#!/usr/bin/env bash
# Dependencies between the framework's folders point one way:
#   platform <- diagnostics <- binding <- builtins, formats <- remoting <- plugin
# A file may include its own folder and folders of a lower rank only
# (builtins and formats are siblings and do not include each other).
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([platform]=0 [diagnostics]=1 [binding]=2 [builtins]=3 [formats]=3 [remoting]=4 [plugin]=5)
status=0
for folder in "${!rank[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file _ include; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$include")
    [ -n "${rank[$target]+set}" ] || continue
    [ "$target" = "$folder" ] && continue
    if [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
      echo "layering: $file includes $target/ (a $folder/ file may not)" >&2
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '#include "' "$folder" || true)
done
[ $status -eq 0 ] && echo "layering: every include points down the chain"
exit $status
