#!/usr/bin/env bash
# The plugin module must export exactly one dynamic symbol: load_zun_parties.
set -euo pipefail
status=0
for module in "$@"; do
  exported=$(nm -D --defined-only "$module" | awk '{print $3}' | sort)
  if [ "$exported" != "load_zun_parties" ]; then
    echo "$module exports more or other than load_zun_parties:" >&2
    echo "$exported" >&2
    status=1
  else
    echo "$module exports load_zun_parties only"
  fi
done
exit $status
