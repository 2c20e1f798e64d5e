#!/usr/bin/env bash
# Main job: builds the native flavour and loads the plugin module the way the
# core does, printing the handshake.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/configure.sh native >/dev/null
cmake --build build --target zun-loader
build/bin/zun-loader build/lib/zun-parties.so "$@"
